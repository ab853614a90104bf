#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/NameFormatter.h"

namespace kivo {
namespace {

TEST(NameFormatter, LimitsCharactersAndSpaces)
{
  // The length limit, whether spaces are taken, the text and its error (nullptr: accepted).
  const std::tuple<int, bool, const char*, const char*> cases[] = {
      {8, false, "利益準備金", nullptr},
      {8, false, "あいうえおかきく", nullptr},  // 8 characters, 24 bytes
      {8, false, "あいうえおかきくけ", "8文字以内で入力してください。"},
      {8, false, "123456789", "8文字以内で入力してください。"},
      {8, false, "別途 積立金", "空白は入力できません。"},
      {8, false, "別途　積立金", "空白は入力できません。"},  // ideographic space
      {8, true, "別途 積立金", nullptr},
      {8, false, "", nullptr},
  };
  for (const auto& [max, acceptSpace, text, error] : cases) {
    NameFormatter f(max, acceptSpace);
    test::expectRead(f, text, error ? std::nullopt : std::optional(FieldValue::text(text)), error ? error : "");
    EXPECT_EQ(f.isPartialStringValid(text), error == nullptr) << text;
  }
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/NameFormatter.h"

namespace kivo {
namespace {

TEST(NameFormatter, LimitsCharactersAndSpaces)
{
  struct Case {
    int max;
    bool acceptSpace;
    const char* text;
    const char* error;  // nullptr: accepted
  };
  const Case cases[] = {
      {8, false, "利益準備金", nullptr},
      {8, false, "あいうえおかきく", nullptr},  // 8 characters, 24 bytes
      {8, false, "あいうえおかきくけ", "8文字以内で入力してください。"},
      {8, false, "123456789", "8文字以内で入力してください。"},
      {8, false, "別途 積立金", "空白は入力できません。"},
      {8, false, "別途　積立金", "空白は入力できません。"},  // ideographic space
      {8, true, "別途 積立金", nullptr},
      {8, false, "", nullptr},
  };
  for (const Case& c : cases) {
    NameFormatter f(c.max, c.acceptSpace);
    test::expectRead(f, c.text, c.error ? std::nullopt : std::optional(FieldValue::text(c.text)),
                     c.error ? c.error : "");
    EXPECT_EQ(f.isPartialStringValid(c.text), c.error == nullptr) << c.text;
  }
}

}  // namespace
}  // namespace kivo

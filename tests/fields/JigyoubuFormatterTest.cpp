#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/JigyoubuFormatter.h"

namespace kivo {
namespace {

TEST(JigyoubuFormatter, ReadsActiveDivisionsAndShowsExactCodes)
{
  auto doc = test::makeFieldsTestDocument();
  const auto code = [](int32_t c) { return std::optional(FieldValue::code(c)); };
  // Whether the whole company is taken, the text typed and the value read.
  const std::tuple<bool, const char*, std::optional<FieldValue>> cases[] = {
      {false, "", FieldValue::text("")},
      {false, "1", code(1)},  // the code itself, not 10 or 11
      {false, "01", code(1)},
      {false, "0", code(1)},  // else the first code beginning with it
      {false, "10", code(10)},
      {true, "99", code(99)},
      {true, "すべての事業部", code(99)},
      {false, "本社", code(1)},
      {false, "honsya", code(1)},
      {false, "SI", FieldValue::text("SI")},  // SITEN and SISYA
      {false, "SIT", code(10)},
  };
  for (const auto& [acceptAll, typed, value] : cases) {
    JigyoubuFormatter f(*doc, acceptAll);
    test::expectRead(f, typed, value, "一致する事業部がありません。");
  }
  // Refused: an inactive division, and the whole company unless asked for.
  JigyoubuFormatter f(*doc);
  for (const char* bad : {"3", "03", "KYUUEIGYOU", "99", "すべての事業部"})
    test::expectRead(f, bad, std::nullopt, "一致する事業部がありません。");
  // Shown: exact codes only, an inactive division too.
  const std::pair<int32_t, std::optional<std::string>> shown[] = {
      {99, "すべての事業部"}, {1, "本社"}, {3, "旧営業所"}, {4, std::nullopt}, {-1, std::nullopt}};
  for (const auto& [code, name] : shown) EXPECT_EQ(f.stringForObjectValue(FieldValue::code(code)), name) << code;
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/HojyoKamokuFormatter.h"

namespace kivo {
namespace {

TEST(HojyoKamokuFormatter, ReadsAndShowsSubAccountsOfAnActiveParentOnly)
{
  auto doc = test::makeFieldsTestDocument();
  HojyoKamokuFormatter f(*doc);
  const char* noMatch = "一致する補助科目がありません。";
  // No parent: nothing read, nothing shown.
  EXPECT_EQ(f.parentKamoku(), nullptr);
  test::expectRead(f, "", FieldValue::text(""));
  test::expectRead(f, "01", std::nullopt, noMatch);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(1)), std::nullopt);
  // The parent is an active account with active sub-accounts.
  for (std::optional<int32_t> none : std::initializer_list<std::optional<int32_t>>{100, 11, std::nullopt}) {
    f.setParentKamokuFromKamokuCode(120);
    f.setParentKamokuFromKamokuCode(none);  // no sub-accounts; no account 11 (no prefix match); none
    EXPECT_EQ(f.parentKamoku(), nullptr);
  }

  f.setParentKamokuFromKamokuCode(110);
  EXPECT_EQ(f.parentKamoku()->code(), 110);
  const std::pair<const char*, FieldValue> cases[] = {
      {"1", FieldValue::code(1)},  // the code itself before codes beginning with "1"
      {"01", FieldValue::code(1)},   {"10", FieldValue::code(10)},
      {"０２", FieldValue::code(2)}, {"りそな銀行", FieldValue::code(10)},
      {"MIZ", FieldValue::code(1)},  {"mi", FieldValue::text("mi")},  // MIZUHO and MITSUI
  };
  for (const auto& [typed, value] : cases) test::expectRead(f, typed, value);
  // Refused: an inactive sub-account (閉鎖口座, HEISA), a sub-account of another account.
  for (const char* bad : {"3", "03", "HEISA", "ASYOUJI"}) test::expectRead(f, bad, std::nullopt, noMatch);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(2)), "三井銀行");
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(3)), "閉鎖口座");  // inactive, still shown
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(5)), std::nullopt);
  f.setParentKamokuFromKamokuCode(120);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(1)), "A商事");
}

}  // namespace
}  // namespace kivo

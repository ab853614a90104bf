#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/HojyoKamokuFormatter.h"

namespace kivo {
namespace {

TEST(HojyoKamokuFormatter, ParentIsAnActiveAccountWithActiveSubAccounts)
{
  auto doc = test::makeFieldsTestDocument();
  HojyoKamokuFormatter f(*doc);
  EXPECT_EQ(f.parentKamoku(), nullptr);
  f.setParentKamokuFromKamokuCode(110);
  ASSERT_NE(f.parentKamoku(), nullptr);
  EXPECT_EQ(f.parentKamoku()->code(), 110);
  f.setParentKamokuFromKamokuCode(100);  // no sub-accounts
  EXPECT_EQ(f.parentKamoku(), nullptr);
  f.setParentKamokuFromKamokuCode(11);  // no account 11: not the first code beginning with it
  EXPECT_EQ(f.parentKamoku(), nullptr);
  f.setParentKamokuFromKamokuCode(120);
  f.setParentKamokuFromKamokuCode(std::nullopt);
  EXPECT_EQ(f.parentKamoku(), nullptr);
}

TEST(HojyoKamokuFormatter, ReadsSubAccountsOfTheParentOnly)
{
  auto doc = test::makeFieldsTestDocument();
  HojyoKamokuFormatter f(*doc);
  const char* noMatch = "一致する補助科目がありません。";
  test::expectRead(f, "", FieldValue::text(""));
  test::expectRead(f, "01", std::nullopt, noMatch);  // no parent

  f.setParentKamokuFromKamokuCode(110);
  const std::pair<const char*, FieldValue> cases[] = {
      {"1", FieldValue::code(1)},  // the code itself before codes beginning with "1"
      {"01", FieldValue::code(1)},   {"10", FieldValue::code(10)},
      {"０２", FieldValue::code(2)}, {"りそな銀行", FieldValue::code(10)},
      {"MIZ", FieldValue::code(1)},  {"mi", FieldValue::text("mi")},  // MIZUHO and MITSUI
  };
  for (const auto& [typed, value] : cases) test::expectRead(f, typed, value);
  // Refused: an inactive sub-account (閉鎖口座, HEISA), a sub-account of another account.
  for (const char* bad : {"3", "03", "HEISA", "ASYOUJI"}) test::expectRead(f, bad, std::nullopt, noMatch);
}

TEST(HojyoKamokuFormatter, ShowsNamesUnderTheParent)
{
  auto doc = test::makeFieldsTestDocument();
  HojyoKamokuFormatter f(*doc);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(1)), std::nullopt);
  f.setParentKamokuFromKamokuCode(110);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(2)), "三井銀行");
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(3)), "閉鎖口座");  // inactive, still shown
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(5)), std::nullopt);
  f.setParentKamokuFromKamokuCode(120);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::code(1)), "A商事");
}

}  // namespace
}  // namespace kivo

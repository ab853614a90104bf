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
  FieldValue v;
  std::string error;
  EXPECT_TRUE(f.getObjectValue(v, "", nullptr));
  EXPECT_EQ(v, FieldValue::text(""));
  EXPECT_FALSE(f.getObjectValue(v, "01", &error));  // no parent
  EXPECT_EQ(error, "一致する補助科目がありません。");

  f.setParentKamokuFromKamokuCode(110);
  struct Case {
    const char* typed;
    bool ok;
    FieldValue value;
  };
  const Case cases[] = {
      {"1", true, FieldValue::code(1)},  // the code itself before codes beginning with "1"
      {"01", true, FieldValue::code(1)},
      {"10", true, FieldValue::code(10)},
      {"０２", true, FieldValue::code(2)},
      {"3", false, {}},  // inactive
      {"03", false, {}},
      {"HEISA", false, {}},
      {"りそな銀行", true, FieldValue::code(10)},
      {"MIZ", true, FieldValue::code(1)},
      {"mi", true, FieldValue::text("mi")},  // MIZUHO and MITSUI
      {"ASYOUJI", false, {}},                // a sub-account of another account
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    FieldValue got;
    EXPECT_EQ(f.getObjectValue(got, c.typed, nullptr), c.ok);
    if (c.ok) { EXPECT_EQ(got, c.value); }
  }
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

#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/WarekiDateFormatter.h"

namespace kivo {
namespace {

TEST(WarekiDateFormatter, ShowsCommonOrEraForm)
{
  WarekiDateFormatter f;
  EXPECT_EQ(f.stringForObjectValue(FieldValue::date(Date(2024, 4, 1))), "2024/4/1");
  EXPECT_EQ(f.stringForObjectValue(FieldValue::text("2024/4/1")), std::nullopt);
  EXPECT_EQ(f.stringForObjectValue(FieldValue::date(Date())), std::nullopt);
  f.setIsWareki(true);
  const std::pair<Date, const char*> shown[] = {
      {Date(1989, 1, 7), "昭和64/1/7"}, {Date(1989, 1, 8), "平成1/1/8"}, {Date(2019, 4, 30), "平成31/4/30"},
      {Date(2019, 5, 1), "令和1/5/1"},  {Date(2024, 4, 1), "令和6/4/1"},
  };
  for (const auto& [date, text] : shown) {
    EXPECT_EQ(f.stringForObjectValue(FieldValue::date(date)), text);
    test::expectRead(f, text, FieldValue::date(date));
  }
}

TEST(WarekiDateFormatter, ReadsBothForms)
{
  struct Case {
    const char* typed;
    Date common;  // read in the common-era setting (null: refused)
    Date wareki;  // read in the era setting
  };
  const Date apr1(2024, 4, 1);
  const Case cases[] = {
      {"2024/4/1", apr1, apr1},
      {"2024年4月1日", apr1, apr1},
      {"R6/4/1", apr1, apr1},
      {"r6/4/1", apr1, apr1},
      {"Ｒ６／４／１", apr1, apr1},
      {"令和6年4月1日", apr1, apr1},
      {"令和6年 4月 1日", apr1, apr1},
      {"令和元年5月1日", Date(2019, 5, 1), Date(2019, 5, 1)},
      {"6/4/1", Date(), apr1},  // a short year is an era year of the era in force
      {"S64/1/7", Date(1989, 1, 7), Date(1989, 1, 7)},
      {"S64/1/8", Date(), Date()},  // 昭和 ended on 1/7
      {"H1/1/8", Date(1989, 1, 8), Date(1989, 1, 8)},
      {"H1/1/7", Date(), Date()},
      {"H31/4/30", Date(2019, 4, 30), Date(2019, 4, 30)},
      {"H31/5/1", Date(), Date()},
      {"R1/4/30", Date(), Date()},
      {"R1/5/1", Date(2019, 5, 1), Date(2019, 5, 1)},
      {"M1/1/1", Date(), Date()},  // before 明治 began
      {"R0/5/1", Date(), Date()},
      {"R100/5/1", Date(), Date()},
      {"令和/5/1", Date(), Date()},
      {"2024/2/30", Date(), Date()},
      {"2024/4/1x", Date(), Date()},
      {"2024/4", Date(), Date()},
      {"abc", Date(), Date()},
  };
  for (const Case& c : cases) {
    for (bool wareki : {false, true}) {
      SCOPED_TRACE(wareki ? "era" : "common");
      WarekiDateFormatter f;
      f.setIsWareki(wareki);
      const Date expected = wareki ? c.wareki : c.common;
      test::expectRead(f, c.typed, expected.isNull() ? std::nullopt : std::optional(FieldValue::date(expected)),
                       "無効な日付です。");
    }
  }
  WarekiDateFormatter f;
  test::expectRead(f, " ", FieldValue::text(""));
}

}  // namespace
}  // namespace kivo

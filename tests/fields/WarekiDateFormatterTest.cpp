#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/WarekiDateFormatter.h"

namespace kivo {
namespace {

TEST(WarekiDateFormatter, ShowsCommonOrEraFormAndReadsBoth)
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

  // Read in both settings.
  // The text typed and the date read in the common-era setting (null: refused) and in
  // the era setting.
  const Date apr1(2024, 4, 1);
  const std::tuple<const char*, Date, Date> cases[] = {
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
      {"H1/1/8", Date(1989, 1, 8), Date(1989, 1, 8)},
      {"H31/4/30", Date(2019, 4, 30), Date(2019, 4, 30)},
      {"R1/5/1", Date(2019, 5, 1), Date(2019, 5, 1)},
  };
  const auto read = [](const char* typed, bool wareki, Date expected) {
    SCOPED_TRACE(wareki ? "era" : "common");
    WarekiDateFormatter f;
    f.setIsWareki(wareki);
    test::expectRead(f, typed, expected.isNull() ? std::nullopt : std::optional(FieldValue::date(expected)),
                     "無効な日付です。");
  };
  for (const auto& [typed, common, wareki] : cases) {
    read(typed, false, common);
    read(typed, true, wareki);
  }
  // Refused in both settings: days outside their era (昭和 ended on 1/7, 明治 began
  // later than its year 1's first day), years of no era, no dates.
  for (const char* bad : {"S64/1/8", "H1/1/7", "H31/5/1", "R1/4/30", "M1/1/1", "R0/5/1", "R100/5/1", "令和/5/1",
                          "2024/2/30", "2024/4/1x", "2024/4", "abc"})
    for (bool wareki : {false, true}) read(bad, wareki, Date());
  test::expectRead(f, " ", FieldValue::text(""));
}

}  // namespace
}  // namespace kivo

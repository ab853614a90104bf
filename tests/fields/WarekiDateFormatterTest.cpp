#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/WarekiDateFormatter.h"
#include "model/Wareki.h"

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
      {Date(1989, 1, 7), "昭和64/1/7"},   {Date(1989, 1, 8), "平成1/1/8"},        {Date(2019, 4, 30), "平成31/4/30"},
      {Date(2019, 5, 1), "令和1/5/1"},    {Date(2024, 4, 1), "令和6/4/1"},        {Date(2118, 4, 1), "令和100/4/1"},
      {Date(3018, 1, 1), "令和1000/1/1"}, {Date(9999, 12, 31), "令和7981/12/31"}, {Date(1868, 1, 24), "1868/1/24"},
      {Date(999, 12, 31), "0999/12/31"},  // before every era
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
      {"R100/5/1", Date(2118, 5, 1), Date(2118, 5, 1)},
      {"令和7981/12/31", Date(9999, 12, 31), Date(9999, 12, 31)},
      {"令和2024/4/1", Date(4042, 4, 1), Date(4042, 4, 1)},  // an era year, whatever it looks like
      {"100/4/1", Date(), Date(2118, 4, 1)},
      {"0999/1/1", Date(999, 1, 1), Date(999, 1, 1)},
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
  for (const char* bad : {"S64/1/8", "H1/1/7", "H31/5/1", "R1/4/30", "M1/1/1", "R0/5/1", "令和7982/1/1",
                          "令和10000/1/1", "令和/5/1", "2024/2/30", "2024/4/1x", "2024/4", "abc"})
    for (bool wareki : {false, true}) read(bad, wareki, Date());
  test::expectRead(f, " ", FieldValue::text(""));
}

// Every day a term may hold (1984/1/24 to 9999/12/31) is shown in each setting and
// read back from that text in both settings; so are the first and last day of every
// month from the year 1 (an asset's acquisition may lie that far back), and an era
// day from its form with Japanese separators ("令和100年 4月 1日"). Any other reading
// turns a prefilled or re-shown date into a refusal or, worse, another day.
TEST(WarekiDateFormatter, EveryDayShownReadsBackAsTheSameDay)
{
  WarekiDateFormatter common, wareki;
  wareki.setIsWareki(true);
  std::vector<std::string> failures;
  const auto expectReadBack = [&](const std::string& text, Date date) {
    for (const WarekiDateFormatter* reader : {&common, &wareki})
      if (reader->dateOfString(text) != date && failures.size() < 10) failures.push_back(text);
  };
  const auto check = [&](Date d) {
    const FieldValue value = FieldValue::date(d);
    expectReadBack(*common.stringForObjectValue(value), d);
    expectReadBack(*wareki.stringForObjectValue(value), d);
  };
  for (Date d = Date::earliestTermStartDate(); d <= Date::latestSupportedDate(); d = d.addingDays(1)) check(d);
  for (int y = 1; y <= 9999; ++y)
    for (int m = 1; m <= 12; ++m)
      for (const Date d : {Date(y, m, 1), Date(y, m, Date::daysInMonth(y, m))}) {
        check(d);
        if (Wareki::eraOfDate(d)) expectReadBack(Wareki::warekiDateStringWithJapaneseSeparater(d, true), d);
      }
  EXPECT_EQ(failures, std::vector<std::string>{});
}

}  // namespace
}  // namespace kivo

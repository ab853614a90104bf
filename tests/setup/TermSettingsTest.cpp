#include <gtest/gtest.h>

#include "setup/TermSettings.h"

namespace kivo {
namespace {

using Field = TermSettings::Field;

TermSettings corporation(Date start, Date end)
{
  TermSettings t;
  t.name = "テスト商事";
  t.termNoText = "3";
  t.startDate = start;
  t.endDate = end;
  return t;
}

struct TermCase {
  const char* what;
  TermSettings settings;
  Field field;
  const char* message;  // nullptr: no alert (a beep, or accepted)
};

void PrintTo(const TermCase& c, std::ostream* os) { *os << c.what; }

class TermSettingsCheck : public ::testing::TestWithParam<TermCase> {};

TEST_P(TermSettingsCheck, RefusesTheFirstFaultWithItsMessage)
{
  const TermCase& c = GetParam();
  const TermSettings::Refusal r = c.settings.check();
  EXPECT_EQ(r.field, c.field) << c.what;
  if (c.message) {
    EXPECT_EQ(r.title, TermSettings::kInvalidDateTitle) << c.what;
    EXPECT_EQ(r.message, c.message) << c.what;
  } else {
    EXPECT_TRUE(r.message.empty()) << c.what;
  }
}

TermCase with(const char* what, TermSettings t, Field field, const char* message = nullptr)
{
  return {what, std::move(t), field, message};
}

TermSettings kakeibo(Date start, Date end)
{
  TermSettings t = corporation(start, end);
  t.isHoujin = false;
  t.isKakeibo = true;
  t.termNoText = "2024";
  return t;
}

TermSettings edited(TermSettings t, void (*f)(TermSettings&))
{
  f(t);
  return t;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TermSettingsCheck,
    ::testing::Values(
        with("a year from April", corporation(Date(2024, 4, 1), Date(2025, 3, 31)), Field::None),
        with("a short first term", corporation(Date(2024, 10, 15), Date(2025, 3, 31)), Field::None),
        with("start on 29 February, a whole year", corporation(Date(2024, 2, 29), Date(2025, 2, 28)), Field::None),
        with("the earliest start", corporation(Date(1984, 1, 24), Date(1984, 12, 31)), Field::None),
        with("blank name",
             edited(corporation(Date(2024, 4, 1), Date(2025, 3, 31)), [](TermSettings& t) { t.name = "　 "; }),
             Field::Name),
        with("term number not a number",
             edited(corporation(Date(2024, 4, 1), Date(2025, 3, 31)), [](TermSettings& t) { t.termNoText = "3a"; }),
             Field::TermNo),
        with("term number 0",
             edited(corporation(Date(2024, 4, 1), Date(2025, 3, 31)), [](TermSettings& t) { t.termNoText = "0"; }),
             Field::TermNo),
        with("an empty term number is taken",
             edited(corporation(Date(2024, 4, 1), Date(2025, 3, 31)), [](TermSettings& t) { t.termNoText = ""; }),
             Field::None),
        with("a full-width term number is taken",
             edited(corporation(Date(2024, 4, 1), Date(2025, 3, 31)), [](TermSettings& t) { t.termNoText = "１２"; }),
             Field::None),
        with("a sole proprietor's year is free text",
             edited(corporation(Date(2024, 1, 1), Date(2024, 12, 31)),
                    [](TermSettings& t) {
                      t.isHoujin = false;
                      t.termNoText = "令和6";
                    }),
             Field::None),
        with("no start date",
             edited(corporation(Date(2024, 4, 1), Date(2025, 3, 31)), [](TermSettings& t) { t.startDate.reset(); }),
             Field::StartDate),
        with("start before 1984/1/24", corporation(Date(1984, 1, 23), Date(1984, 12, 31)), Field::StartDate,
             TermSettings::kTooEarlyStartMessage),
        with("end before start", corporation(Date(2024, 4, 1), Date(2024, 3, 31)), Field::EndDate),
        with("end not a month end", corporation(Date(2024, 4, 1), Date(2025, 3, 30)), Field::EndDate,
             TermSettings::kEndOfMonthMessage),
        with("a month end more than a year on", corporation(Date(2024, 4, 1), Date(2025, 4, 30)), Field::EndDate,
             TermSettings::kTermTooLongMessage),
        with("household book: any last day", kakeibo(Date(2024, 4, 1), Date(2025, 3, 30)), Field::None),
        with("household book: exactly a year on is too long", kakeibo(Date(2024, 4, 1), Date(2025, 4, 1)),
             Field::EndDate, TermSettings::kTermTooLongMessage),
        with("household book from 29 February: 28 February is still a year",
             kakeibo(Date(2024, 2, 29), Date(2025, 2, 28)), Field::None)),
    [](const ::testing::TestParamInfo<TermCase>& info) { return "Case" + std::to_string(info.index); });

TEST(TermSettings, DefaultEndIsTheDayBeforeTheSameDayAYearOn)
{
  EXPECT_EQ(TermSettings::defaultEndDateForStartDate(Date(2024, 4, 1)), Date(2025, 3, 31));
  EXPECT_EQ(TermSettings::defaultEndDateForStartDate(Date(2024, 1, 1)), Date(2024, 12, 31));
  // A year on from 29 February is 28 February, another day of the month: it stands.
  EXPECT_EQ(TermSettings::defaultEndDateForStartDate(Date(2024, 2, 29)), Date(2025, 2, 28));
  // Defaults pass the checks of a corporation.
  for (Date start : {Date(2024, 4, 1), Date(2024, 1, 1), Date(2023, 10, 1)})
    EXPECT_FALSE(corporation(start, TermSettings::defaultEndDateForStartDate(start)).check().isRefused());
}

TEST(TermSettings, TermNumbersAndYearTexts)
{
  EXPECT_EQ(TermSettings::termNoOfText(" 12 "), 12);
  EXPECT_EQ(TermSettings::termNoOfText("9999"), 9999);
  EXPECT_FALSE(TermSettings::termNoOfText("10000"));
  EXPECT_FALSE(TermSettings::termNoOfText("-1"));
  EXPECT_EQ(TermSettings::trimmedName("　 ＡＢＣ商事\t　"), "ＡＢＣ商事");
  EXPECT_EQ(TermSettings::trimmedName("本店　東京"), "本店　東京");
  EXPECT_EQ(TermSettings::trimmedName("　"), "");
  EXPECT_EQ(TermSettings::yearTextOfDateText("2024/4/1"), "2024");
  EXPECT_EQ(TermSettings::yearTextOfDateText("令和6/4/1"), "令和6");
  EXPECT_EQ(TermSettings::yearTextOfDateText("nonsense"), "");
}

}  // namespace
}  // namespace kivo

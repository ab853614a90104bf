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

enum class Kind { Corporation, SoleProprietor, Household };

TEST(TermSettings, RefusesTheFirstFaultWithItsMessageDefaultsPassAndTextsAreRead)
{
  const std::optional<Date> april(Date(2024, 4, 1)), march(Date(2025, 3, 31));
  struct Case {
    const char* what;
    std::optional<Date> start, end;
    Field field;
    const char* message = nullptr;  // nullptr: no alert (a beep, or accepted)
    Kind kind = Kind::Corporation;
    const char* name = "テスト商事";
    const char* termNo = "3";
  };
  const Case cases[] = {
      {"a year from April", april, march, Field::None},
      {"a short first term", Date(2024, 10, 15), march, Field::None},
      {"start on 29 February, a whole year", Date(2024, 2, 29), Date(2025, 2, 28), Field::None},
      {"the earliest start", Date(1984, 1, 24), Date(1984, 12, 31), Field::None},
      {"blank name", april, march, Field::Name, nullptr, Kind::Corporation, "　 "},
      {"term number not a number", april, march, Field::TermNo, nullptr, Kind::Corporation, "A", "3a"},
      {"term number 0", april, march, Field::TermNo, nullptr, Kind::Corporation, "A", "0"},
      {"an empty term number is taken", april, march, Field::None, nullptr, Kind::Corporation, "A", ""},
      {"a full-width term number is taken", april, march, Field::None, nullptr, Kind::Corporation, "A", "１２"},
      {"a sole proprietor's year is free text", Date(2024, 1, 1), Date(2024, 12, 31), Field::None, nullptr,
       Kind::SoleProprietor, "A", "令和6"},
      {"no start date", std::nullopt, march, Field::StartDate},
      {"start before 1984/1/24", Date(1984, 1, 23), Date(1984, 12, 31), Field::StartDate,
       TermSettings::kTooEarlyStartMessage},
      // The document file holds days up to 9999/12/31 and no later.
      {"the last year", Date(9999, 1, 1), Date(9999, 12, 31), Field::None},
      {"start past 9999/12/31", Date(10000, 1, 1), Date(10000, 12, 31), Field::StartDate,
       TermSettings::kTooLateStartMessage},
      {"end past 9999/12/31", Date(9999, 4, 1), Date(10000, 3, 31), Field::EndDate, TermSettings::kTooLateEndMessage},
      {"end before start", april, Date(2024, 3, 31), Field::EndDate},
      {"end not a month end", april, Date(2025, 3, 30), Field::EndDate, TermSettings::kEndOfMonthMessage},
      {"a month end more than a year on", april, Date(2025, 4, 30), Field::EndDate, TermSettings::kTermTooLongMessage},
      {"household book: any last day", april, Date(2025, 3, 30), Field::None, nullptr, Kind::Household},
      {"household book: exactly a year on is too long", april, Date(2025, 4, 1), Field::EndDate,
       TermSettings::kTermTooLongMessage, Kind::Household},
      {"household book from 29 February: 28 February is still a year", Date(2024, 2, 29), Date(2025, 2, 28),
       Field::None, nullptr, Kind::Household},
  };
  for (const Case& c : cases) {
    TermSettings t;
    t.name = c.name;
    t.isHoujin = c.kind == Kind::Corporation;
    t.isKakeibo = c.kind == Kind::Household;
    t.termNoText = c.termNo;
    t.startDate = c.start;
    t.endDate = c.end;
    const TermSettings::Refusal r = t.check();
    EXPECT_EQ(r.field, c.field) << c.what;
    EXPECT_EQ(r.message, c.message ? c.message : "") << c.what;
    if (c.message) { EXPECT_EQ(r.title, TermSettings::kInvalidDateTitle) << c.what; }
  }

  // The default end is the day before the same day a year on.
  EXPECT_EQ(TermSettings::defaultEndDateForStartDate(Date(2024, 4, 1)), Date(2025, 3, 31));
  EXPECT_EQ(TermSettings::defaultEndDateForStartDate(Date(2024, 1, 1)), Date(2024, 12, 31));
  // A year on from 29 February is 28 February, another day of the month: it stands.
  EXPECT_EQ(TermSettings::defaultEndDateForStartDate(Date(2024, 2, 29)), Date(2025, 2, 28));
  // Defaults pass the checks of a corporation.
  for (Date start : {Date(2024, 4, 1), Date(2024, 1, 1), Date(2023, 10, 1)})
    EXPECT_FALSE(corporation(start, TermSettings::defaultEndDateForStartDate(start)).check().isRefused());

  // Term numbers, names and year texts.
  using T = TermSettings;
  EXPECT_EQ(
      std::tuple(T::termNoOfText(" 12 "), T::termNoOfText("9999"), T::termNoOfText("10000"), T::termNoOfText("-1")),
      std::tuple(12, 9999, std::nullopt, std::nullopt));
  EXPECT_EQ(std::tuple(T::trimmedName("　 ＡＢＣ商事\t　"), T::trimmedName("本店　東京"), T::trimmedName("　")),
            std::tuple("ＡＢＣ商事", "本店　東京", ""));
  EXPECT_EQ(std::tuple(T::yearTextOfDateText("2024/4/1"), T::yearTextOfDateText("令和6/4/1"),
                       T::yearTextOfDateText("nonsense")),
            std::tuple("2024", "令和6", ""));
}

}  // namespace
}  // namespace kivo

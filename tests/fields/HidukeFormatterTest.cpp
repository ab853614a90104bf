#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/HidukeFormatter.h"

namespace kivo {
namespace {

constexpr const char* kInvalid = "無効な日付です。";
constexpr const char* kOutOfTerm = "会計期間外の日付です。";

struct DateCase {
  const char* typed;
  Date expected;  // null: refused
  const char* error = nullptr;
};

void expectReads(HidukeFormatter& f, const DateCase& c)
{
  test::expectRead(f, c.typed, c.expected.isNull() ? std::nullopt : std::optional(FieldValue::date(c.expected)),
                   c.error ? c.error : "");
}

TEST(HidukeFormatter, ReadsAndShowsMonthAndDayInTheTermFromApril)
{
  auto doc = test::makeFieldsTestDocument();  // 2024-04-01 .. 2025-03-31
  HidukeFormatter f(*doc, false);
  const DateCase cases[] = {
      {"4/1", Date(2024, 4, 1)},
      {"04/01", Date(2024, 4, 1)},
      {"0401", Date(2024, 4, 1)},
      {"401", Date(2024, 4, 1)},
      {"４／１", Date(2024, 4, 1)},
      {"12/31", Date(2024, 12, 31)},
      {"1/15", Date(2025, 1, 15)},  // January falls in the next calendar year
      {"115", Date(2025, 1, 15)},
      {"3/31", Date(2025, 3, 31)},
      {"13/00", Date::kessanSeiridukiDate()},
      {"1300", Date::kessanSeiridukiDate()},
  };
  for (const DateCase& c : cases) expectReads(f, c);
  // 00/00 only when asked; February 2025 has 28 days.
  for (const char* bad : {"00/00", "2/29", "4/31", "13/01", "0/5", "4/", "41", "12345", "4/1/2024", "a/b"})
    test::expectRead(f, bad, std::nullopt, kInvalid);

  // Shown as month and day; partial strings while typing.
  HidukeFormatter shows(*doc, false);
  const std::pair<Date, std::optional<std::string>> shown[] = {{Date(2024, 4, 1), "04/01"},
                                                               {Date(2025, 12, 25), "12/25"},
                                                               {Date::kessanSeiridukiDate(), "13/00"},
                                                               {Date::regularTypeDenpyouDate(), "00/00"},
                                                               {Date(), std::nullopt}};
  for (const auto& [date, text] : shown) EXPECT_EQ(shows.stringForObjectValue(FieldValue::date(date)), text);
  EXPECT_EQ(shows.stringForObjectValue(FieldValue::code(4)), std::nullopt);
  HidukeFormatter partial(*doc, true);
  for (const char* ok : {"", "4", "04", "4/", "4/1", "04/01", "0401", "４"})
    EXPECT_TRUE(partial.isPartialStringValid(ok)) << ok;
  for (const char* bad : {"12345", "123/4", "4/123", "4/1/", "a", "4-1", " "})
    EXPECT_FALSE(partial.isPartialStringValid(bad)) << bad;
}

TEST(HidukeFormatter, RefusesDaysOutsideAShortTerm)
{
  auto doc = test::makeFieldsTestDocument();
  doc->kaisya().setMonthOfTermArrayFrom(Date(2024, 6, 15), Date(2024, 12, 31));
  HidukeFormatter f(*doc, true);
  const DateCase cases[] = {
      {"6/15", Date(2024, 6, 15)},
      {"6/14", Date(), kOutOfTerm},  // refused, not moved into the term
      {"1/5", Date(), kOutOfTerm},
      {"00/00", Date::regularTypeDenpyouDate()},
      {"0000", Date::regularTypeDenpyouDate()},
  };
  for (const DateCase& c : cases) expectReads(f, c);

  // A term of a calendar year, and one whose month 4 appears at both ends.
  doc->kaisya().setMonthOfTermArrayFrom(Date(2024, 1, 1), Date(2024, 12, 31));
  expectReads(f, {"1/15", Date(2024, 1, 15)});
  expectReads(f, {"2/29", Date(2024, 2, 29)});
  doc->kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 15), Date(2025, 4, 14));
  expectReads(f, {"4/20", Date(2024, 4, 20)});
  expectReads(f, {"4/10", Date(2025, 4, 10)});
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>

#include "model/Date.h"
#include "model/Wareki.h"

namespace kivo {
namespace {

TEST(Date, CalendarArithmeticIsExactToTheEdgesOfTheDayNumbers)
{
  EXPECT_EQ(Date(2024, 2, 28).addingDays(1), Date(2024, 2, 29));
  EXPECT_EQ(Date(2023, 2, 28).addingDays(1), Date(2023, 3, 1));
  EXPECT_EQ(Date(2024, 3, 31).addingMonths(-1), Date(2024, 2, 29));
  EXPECT_EQ(Date(2024, 12, 15).addingMonths(1), Date(2025, 1, 15));
  EXPECT_EQ(Date(1970, 1, 1).serial(), 0);
  EXPECT_EQ(Date::fromString("2025/3/31"), Date(2025, 3, 31));
  EXPECT_FALSE(Date::fromString("2025/2/29"));
  EXPECT_FALSE(Date::fromString("2025/13/1"));
  EXPECT_FALSE(Date::fromString("2025/1/1x"));
  EXPECT_EQ(Date(2025, 3, 1).toString(), "2025/3/1");
  EXPECT_TRUE(Date().isNull());
  // The sentinels are stored as day numbers: they must stay the days the files mean.
  EXPECT_EQ(Date::kessanSeiridukiDate(), Date(1984, 1, 1));
  EXPECT_EQ(Date::regularTypeDenpyouDate(), Date(1984, 1, 2));
  EXPECT_EQ(Date::earliestTermStartDate(), Date(1984, 1, 24));

  // At the edges of the day numbers.
  // Months before the year 1 stay months 1 to 12; the largest day number has a year.
  EXPECT_EQ(Date(-5, 3, 31).addingMonths(-1), Date(-5, 2, 28));
  EXPECT_EQ(Date(0, 1, 15).addingMonths(-13), Date(-2, 12, 15));
  EXPECT_EQ(Date::fromSerial(INT32_MAX).year(), 5881580);
  EXPECT_TRUE(Date(9999, 12, 31).isInSupportedRange());
  EXPECT_FALSE(Date(10000, 1, 1).isInSupportedRange());
  EXPECT_FALSE(Date(0, 12, 31).isInSupportedRange());
}

// The eras since 平成 and the Japanese separators are the date formatter's and the
// information window's tests'; here the older eras and a date before them.
TEST(Wareki, EraTextFollowsTheEraTable)
{
  const std::pair<Date, const char*> cases[] = {
      {Date(1926, 12, 25), "昭和1/12/25"}, {Date(1912, 7, 30), "大正1/7/30"}, {Date(1800, 1, 1), "1800/1/1"}};
  for (const auto& [date, text] : cases) EXPECT_EQ(Wareki::warekiDateStringWithJapaneseSeparater(date, false), text);
  EXPECT_EQ(Wareki::dateOfGengou("令和", 7, 3, 31), Date(2025, 3, 31));
  EXPECT_FALSE(Wareki::dateOfGengou("令和", 7, 2, 29));
  EXPECT_FALSE(Wareki::dateOfGengou("天保", 1, 1, 1));
}

}  // namespace
}  // namespace kivo

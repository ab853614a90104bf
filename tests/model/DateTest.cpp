#include <gtest/gtest.h>

#include "model/Date.h"
#include "model/Wareki.h"

namespace kivo {
namespace {

TEST(Date, CalendarArithmeticIsExact)
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
}

TEST(Date, ArithmeticHoldsAtTheEdgesOfTheDayNumbers)
{
  // Months before the year 1 stay months 1 to 12; the largest day number has a year.
  EXPECT_EQ(Date(-5, 3, 31).addingMonths(-1), Date(-5, 2, 28));
  EXPECT_EQ(Date(0, 1, 15).addingMonths(-13), Date(-2, 12, 15));
  EXPECT_EQ(Date::fromSerial(INT32_MAX).year(), 5881580);
  EXPECT_TRUE(Date(9999, 12, 31).isInSupportedRange());
  EXPECT_FALSE(Date(10000, 1, 1).isInSupportedRange());
  EXPECT_FALSE(Date(0, 12, 31).isInSupportedRange());
}

TEST(Wareki, EraTextFollowsTheEraTable)
{
  struct Case {
    Date date;
    bool japanese;
    const char* text;
  };
  const Case cases[] = {
      {Date(2019, 4, 30), false, "平成31/4/30"},    {Date(2019, 5, 1), false, "令和1/5/1"},
      {Date(2025, 3, 31), true, "令和7年 3月31日"}, {Date(1989, 1, 7), false, "昭和64/1/7"},
      {Date(1989, 1, 8), false, "平成1/1/8"},       {Date(1926, 12, 25), false, "昭和1/12/25"},
      {Date(1912, 7, 30), false, "大正1/7/30"},     {Date(1800, 1, 1), false, "1800/1/1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Wareki::warekiDateStringWithJapaneseSeparater(c.date, c.japanese), c.text);
  EXPECT_EQ(Wareki::dateOfGengou("令和", 7, 3, 31), Date(2025, 3, 31));
  EXPECT_FALSE(Wareki::dateOfGengou("令和", 7, 2, 29));
  EXPECT_FALSE(Wareki::dateOfGengou("天保", 1, 1, 1));
}

}  // namespace
}  // namespace kivo

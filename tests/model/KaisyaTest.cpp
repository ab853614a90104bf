#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "model/Kaisya.h"

namespace kivo {
namespace {

TEST(KaisyaMonths, TermIsCutIntoMonthsBackwardsFromItsLastDay)
{
  Kaisya k;
  k.setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
  ASSERT_EQ(k.monthArray().size(), 12u);
  EXPECT_EQ(k.monthArray().front().name(), "4月");
  EXPECT_EQ(k.monthArray()[10].name(), "2月");
  EXPECT_EQ(k.monthArray()[10].endDate(), Date(2025, 2, 28));
  EXPECT_EQ(k.monthArray().back().startDate(), Date(2025, 3, 1));

  // Closing on the 20th: every month runs from the 21st, and is named by its range.
  k.setMonthOfTermArrayFrom(Date(2024, 3, 21), Date(2025, 3, 20));
  ASSERT_EQ(k.monthArray().size(), 12u);
  EXPECT_EQ(k.monthArray().front().name(), "03/21 to 04/20");
  EXPECT_EQ(k.monthArray().back().startDate(), Date(2025, 2, 21));

  // A first, short term: the months before the start are cut off.
  k.setMonthOfTermArrayFrom(Date(2024, 6, 15), Date(2024, 12, 31));
  ASSERT_EQ(k.monthArray().size(), 7u);
  EXPECT_EQ(k.monthArray().front().name(), "06/15 to 06/30");
  EXPECT_EQ(k.monthArray()[1].name(), "7月");
  EXPECT_EQ(k.termStartDate(), Date(2024, 6, 15));
}

TEST(KaisyaAmounts, FormatsAndParsingFollowThePrecisionAndOutputBeyondTheLimitShowsAMark)
{
  struct Case {
    int precision;
    int64_t stored;
    const char* shown;
    const char* textFile;
    double display;
  };
  const Case cases[] = {
      {0, 0, "0", "0", 0.0},
      {0, 1234567, "1,234,567", "1234567", 1234567.0},
      {0, -1000, "-1,000", "-1000", -1000.0},
      {1, 12345, "1,234.5", "1234.5", 1234.5},
      {1, -5, "-0.5", "-0.5", -0.5},
      {2, 100, "1.00", "1.00", 1.0},
      {2, -123456789, "-1,234,567.89", "-1234567.89", -1234567.89},
      {2, INT64_MIN, "-92,233,720,368,547,758.08", "-92233720368547758.08", -92233720368547758.08},
  };
  for (const Case& c : cases) {
    Kaisya k;
    k.setDecimalPrecision(c.precision);
    EXPECT_EQ(k.displayStringOfMemoryKingaku(c.stored), c.shown);
    EXPECT_EQ(k.textFileStringOfMemoryKingaku(c.stored), c.textFile);
    EXPECT_DOUBLE_EQ(k.displayKingakuOfMemoryKingaku(c.stored), c.display);
  }

  // Output beyond the limit shows the precision mark.
  Kaisya k;
  EXPECT_EQ(k.outputStringOfMemoryKingaku(999'999'999'999), "999,999,999,999");
  EXPECT_EQ(k.outputStringOfMemoryKingaku(1'000'000'000'000), "#Precision!");
  EXPECT_EQ(k.outputStringOfMemoryKingaku(-1'000'000'000'000), "#Precision!");

  // Typed text is parsed exactly. The amount formatter's test reads commas, letters,
  // decimals at each precision and numbers beyond 64 bits through this; here what it
  // does not.
  const std::tuple<int, const char*, std::optional<int64_t>> typed[] = {
      {0, "-50", -50},       {0, "1.0", 1}, {0, "", std::nullopt}, {1, ".5", 5}, {2, "0.001", std::nullopt},
      {2, "-", std::nullopt}};
  for (const auto& [precision, text, stored] : typed) {
    k.setDecimalPrecision(precision);
    EXPECT_EQ(k.memoryKingakuOfDisplayString(text), stored) << precision << " " << text;
  }
}

}  // namespace
}  // namespace kivo

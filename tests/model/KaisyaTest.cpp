#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
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

// The company record's archive; a decimal precision the setter would not take is
// written over the stored one, as a file made by hand would hold it. The precision
// follows the term year, which then holds a mark to find it by.
std::string archiveOf(const Kaisya& k, std::optional<int32_t> precision = std::nullopt)
{
  ArchiveWriter w;
  k.encodeWithCoder(w);
  std::string bytes = w.takeData();
  const std::string mark = "precision follows";
  if (precision) std::memcpy(bytes.data() + bytes.find(mark) + mark.size(), &*precision, 4);
  return bytes;
}

// The record read back, or nothing when the reader refuses it.
std::optional<Kaisya> readBack(const std::string& bytes)
{
  ArchiveReader r(bytes);
  Kaisya back;
  if (!back.initWithCoder(r)) return std::nullopt;
  return back;
}

TEST(KaisyaArchive, ValuesNeitherTheWindowsNorTheProgramGiveAreRefused)
{
  constexpr int64_t kLimit = Kaisya::kMaxInputAmountValue;
  // What the windows and the program write reads back: the fields' limits, a used-up
  // voucher counter, the last regular-type number. Once read, a counter of 0 or below
  // numbered imported vouchers 0 (gone from every report) or merged them into a
  // regular-type voucher, amounts past the limit overflowed the appropriation's total.
  // Earlier versions left a voucher counter past the used-up mark (a refused 行の複製)
  // and, from a carry-forward with the term number left empty, a term past the last:
  // those files read as every number used and as the last term.
  struct Case {
    const char* what;
    std::function<void(Kaisya&)> set;
    bool readable;
    std::function<void(Kaisya&)> asRead = [](Kaisya&) {};
  };
  const auto usedUp = [](Kaisya& k) { k.setMinAvailableDenpyouNo(Kaisya::kMaxDenpyouNo + 1); };
  const auto lastTerm = [](Kaisya& k) { k.setTermNo(Kaisya::kMaxTermNo); };
  const Case cases[] = {
      {"new company", [](Kaisya&) {}, true},
      {"limits of the fields",
       [](Kaisya& k) {
         k.setTermNo(Kaisya::kMaxTermNo);
         k.setDecimalPrecision(2);
         k.setMinAvailableDenpyouNo(Kaisya::kMaxDenpyouNo + 1);
         k.setMinAvailableRegularTypeDenpyouNo(Kaisya::kMaxRegularTypeDenpyouNo);
         k.setRiekisyobunanKamokuArray({{"配当金", kLimit}, {"積立金", 0}});
       },
       true},
      {"household book", [](Kaisya& k) { k.setIsHoujin(false), k.setIsKakeibo(true); }, true},
      {"voucher counter 0", [](Kaisya& k) { k.setMinAvailableDenpyouNo(0); }, false},
      {"voucher counter -3", [](Kaisya& k) { k.setMinAvailableDenpyouNo(-3); }, false},
      {"voucher counter past the used-up mark", [](Kaisya& k) { k.setMinAvailableDenpyouNo(100001); }, true, usedUp},
      {"voucher counter INT32_MAX", [](Kaisya& k) { k.setMinAvailableDenpyouNo(INT32_MAX); }, true, usedUp},
      {"regular-type counter 0", [](Kaisya& k) { k.setMinAvailableRegularTypeDenpyouNo(0); }, false},
      {"regular-type counter 10000", [](Kaisya& k) { k.setMinAvailableRegularTypeDenpyouNo(10000); }, false},
      {"term 0", [](Kaisya& k) { k.setTermNo(0); }, false},
      {"term 10000", [](Kaisya& k) { k.setTermNo(10000); }, true, lastTerm},
      {"term INT32_MAX", [](Kaisya& k) { k.setTermNo(INT32_MAX); }, true, lastTerm},
      {"appropriation below zero",
       [](Kaisya& k) {
         k.setRiekisyobunanKamokuArray({{"配当金", -1}});
       },
       false},
      {"appropriation beyond the input limit",
       [](Kaisya& k) {
         k.setRiekisyobunanKamokuArray({{"配当金", 1}, {"積立金", kLimit + 1}});
       },
       false},
      {"household book of a corporation", [](Kaisya& k) { k.setIsKakeibo(true); }, false},
      {"household book of a manufacturer",
       [](Kaisya& k) { k.setIsHoujin(false), k.setIsKakeibo(true), k.setIsSeizou(true); }, false},
  };
  for (const Case& c : cases) {
    Kaisya k;
    c.set(k);
    const std::string bytes = archiveOf(k);
    c.asRead(k);
    EXPECT_EQ(readBack(bytes), c.readable ? std::optional(k) : std::nullopt) << c.what;
  }

  // Decimal places the windows do not offer were taken as none without a word.
  Kaisya k;
  k.setTermYear("precision follows");
  EXPECT_EQ(readBack(archiveOf(k, 2)).value_or(Kaisya()).decimalPrecision(), 2);
  for (const int32_t precision : {3, -1}) EXPECT_FALSE(readBack(archiveOf(k, precision))) << precision;
}

}  // namespace
}  // namespace kivo

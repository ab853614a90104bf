#include <gtest/gtest.h>

#include "trial/TrialBooks.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {
namespace {

using test::addShiwake;
using test::ChartKind;
using test::codeOf;
using test::kamokuNamed;
using test::makeTrialBooks;
using test::rowTitled;

int64_t closingOf(const std::vector<Shisan>& rows, const std::string& title)
{
  return rowTitled(rows, title).syuuryouZandaka();
}

// The credit total of the period: what the month's sales were.
int64_t creditOf(const std::vector<Shisan>& rows, const std::string& title)
{
  return rowTitled(rows, title).kashikataGoukei();
}

class ZandakaShisanAssemblyTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc = makeTrialBooks(ChartKind::HoujinKaisyahou);
    kamokuNamed(*doc, "現金")->setStartBalance(1000, 99);
    kamokuNamed(*doc, "資本金")->setStartBalance(1000, 99);
    genkin = codeOf(*doc, "現金");
    uriage = codeOf(*doc, "売上高");
    addShiwake(*doc, Date(2024, 4, 10), genkin, uriage, 100);  // April, month 0
    addShiwake(*doc, Date(2024, 9, 10), genkin, uriage, 20);   // September, month 5
  }
  std::unique_ptr<MyDocument> doc;
  int32_t genkin = 0, uriage = 0;
};

TEST_F(ZandakaShisanAssemblyTest, TheDisplaySumsAreReusedUntilTheDataChange)
{
  ZandakaShisanAssembly a(*doc);
  EXPECT_TRUE(a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, false));
  EXPECT_EQ(closingOf(a.sonekiKeisanShisanArray(), "　　売上高合計"), 120);
  // The same period again: no second walk, the sections rebuilt all the same.
  EXPECT_FALSE(a.setZandakaShisanArrayForJigyoubuCode(99, 0, 12, false));
  EXPECT_EQ(closingOf(a.sonekiKeisanShisanArray(), "　　売上高合計"), 120);
  // Another period walks.
  EXPECT_TRUE(a.setZandakaShisanArrayForJigyoubuCode(99, 5, 5, false));
  EXPECT_EQ(creditOf(a.sonekiKeisanShisanArray(), "　　売上高合計"), 20);
  EXPECT_EQ(rowTitled(a.sonekiKeisanShisanArray(), "　　売上高合計").kaishiZandaka(), 100);
  // A change of the journal makes the same period walk again.
  addShiwake(*doc, Date(2024, 9, 11), genkin, uriage, 3);
  EXPECT_TRUE(a.setZandakaShisanArrayForJigyoubuCode(99, 5, 5, false));
  EXPECT_EQ(creditOf(a.sonekiKeisanShisanArray(), "　　売上高合計"), 23);
  // So does a change of the accounts that the journal's invalidation does not cover.
  kamokuNamed(*doc, "現金")->setStartBalance(2000, 99);
  kamokuNamed(*doc, "資本金")->setStartBalance(2000, 99);
  doc->setSortedKamokuArray();
  EXPECT_TRUE(a.setZandakaShisanArrayForJigyoubuCode(99, 5, 5, false));
  EXPECT_EQ(closingOf(a.taisyakuTaisyouShisanArray(), "　資産合計"), 2123);
}

TEST(ZandakaShisanCellTextTest, CellsByColumn)
{
  Kaisya kaisya;
  Shisan heading;
  heading.setKamokuCode(ShisanHeadingRowCode);
  heading.setTitle("売上高");
  Shisan r;
  r.setKamokuCode(ShisanTotalRowCode);
  r.setTitle("　売上総損益");
  r.setKaishiZandaka(-1234567);
  r.setKarikataGoukei(999'999'999'999LL);
  r.setKashikataGoukei(1'000'000'000'000LL);
  r.setSyuuryouZandaka(0);
  r.setPercent(12.5);
  r.setIsValidPercent(true);
  struct Case {
    const Shisan* row;
    const char* column;
    const char* text;
  };
  const Case cases[] = {
      {&heading, "title", "売上高"},
      {&heading, "kaishiZandaka", ""},
      {&heading, "percent", ""},
      {&r, "title", "　売上総損益"},
      {&r, "kaishiZandaka", "-1,234,567"},
      {&r, "karikataGoukei", "999,999,999,999"},
      {&r, "kashikataGoukei", "#Precision!"},
      {&r, "syuuryouZandaka", "0"},
      {&r, "percent", "12.50"},
      {&r, "other", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ZandakaShisanAssembly::cellText(kaisya, *c.row, c.column), c.text) << c.column;
  r.setIsValidPercent(false);
  EXPECT_EQ(ZandakaShisanAssembly::cellText(kaisya, r, "percent"), "--");
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "trial/ZandakaShisan.h"

namespace kivo {
namespace {

constexpr int64_t kMax = 999'999'999'999LL;
constexpr int32_t kDiv = 99;

using Sums = ZandakaShisanPeriodSums::Sums;

// Account 100's figures in the division, as the posting would return them.
ZandakaShisanPeriodSums sumsOf(const Sums& figures)
{
  ZandakaShisanPeriodSums sums;
  sums.setSumsOfKamoku(100, kDiv, figures);
  return sums;
}

Kamoku account(bool karikata)
{
  Kamoku k;
  k.setCode(100);
  k.setIsKarikataKamoku(karikata);
  return k;
}

Shisan rowWith(int64_t kaishi, int64_t kari, int64_t kashi, int64_t syuuryou, int64_t end = 0)
{
  Shisan r;
  r.setKaishiZandaka(kaishi);
  r.setKarikataGoukei(kari);
  r.setKashikataGoukei(kashi);
  r.setSyuuryouZandaka(syuuryou);
  r.setEndBalance(end);
  return r;
}

TEST(ZandakaShisanTest, WhichAccountsGetARow)
{
  MyDocument doc;
  struct Case {
    const char* name;
    bool active;
    uint32_t type;
    bool hideWithoutAmounts;
    Sums figures;
    bool expected;
  };
  const Sums none{0, 0, 0, 0};
  const Sums opening{5, 0, 0, 5};
  const Sums debitOnly{0, 3, 3, 0};
  const Sums endOnly{0, 0, 0, 0, 9};
  const Case cases[] = {
      {"active, no amounts", true, 0, false, none, true},
      {"active, no amounts, hidden by the setting", true, 0, true, none, false},
      {"shown only with amounts, none", true, Kamoku::kTypeF | Kamoku::kTypeA, false, none, false},
      {"shown only with amounts, has an opening balance", true, Kamoku::kTypeA, false, opening, true},
      {"movements that cancel still count", true, 0, true, debitOnly, true},
      {"a carried-forward balance counts", true, 0, true, endOnly, true},
      {"inactive without amounts", false, 0, false, none, false},
      // An inactive account that still holds amounts keeps its row, so that the
      // totals it enters are explained and the books still balance.
      {"inactive with amounts", false, 0, false, opening, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kamoku k = account(true);
    k.setIsActive(c.active);
    k.setType(c.type);
    const ZandakaShisanPeriodSums sums = sumsOf(c.figures);
    EXPECT_EQ(ZandakaShisan(doc, sums, c.hideWithoutAmounts).canAppearOnZandakaShisan(k, kDiv), c.expected);
  }
}

TEST(ZandakaShisanTest, AddingAnAccountIntoRunningSums)
{
  MyDocument doc;
  struct Case {
    const char* name;
    bool karikata;
    bool section;
    ZandakaShisan::RunningSums before;
    Sums figures;
    ZandakaShisan::RunningSums expected;
  };
  const Case cases[] = {
      {"same side: adds", true, true, {1, 2, 3, 4, 5}, Sums{10, 20, 30, 40, 50}, {11, 22, 33, 44, 55}},
      // The other side subtracts balances; its totals still add.
      {"other side", false, true, {1, 2, 3, 4, 5}, Sums{10, 20, 30, 40, 50}, {-9, 22, 33, -36, -45}},
      // Past the limit a sum holds one beyond it, and stays there.
      {"add past limit", true, true, {kMax - 1, 0, 0, 0, 0}, Sums{5, 0, 0, 0}, {kMax + 1, 0, 0, 0, 0}},
      {"subtract past limit", false, true, {-kMax + 1, 0, 0, 0, 0}, Sums{5, 0, 0, 0}, {-(kMax + 1), 0, 0, 0, 0}},
      {"frozen", true, true, {kMax + 1, 0, 0, -(kMax + 1), 0}, Sums{-7, 0, 0, 7}, {kMax + 1, 0, 0, -(kMax + 1), 0}},
      // A debit total of exactly max is not increased.
      {"debit total at max", true, true, {0, kMax, kMax - 1, 0, 0}, Sums{0, 5, 5, 0}, {0, kMax, kMax + 1, 0, 0}},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ZandakaShisanPeriodSums sums = sumsOf(c.figures);
    const ZandakaShisan b(doc, sums, false);
    ZandakaShisan::RunningSums s = c.before;
    b.addZandakaShisanValueOfKamoku(account(c.karikata), kDiv, c.section, s);
    EXPECT_EQ(s.kaishiZandaka, c.expected.kaishiZandaka);
    EXPECT_EQ(s.karikataGoukei, c.expected.karikataGoukei);
    EXPECT_EQ(s.kashikataGoukei, c.expected.kashikataGoukei);
    EXPECT_EQ(s.syuuryouZandaka, c.expected.syuuryouZandaka);
    EXPECT_EQ(s.endBalance, c.expected.endBalance);
  }
}

TEST(ZandakaShisanTest, SumRowOfOperands)
{
  constexpr Calculate::Sign Add = Calculate::Sign::Add, Subtract = Calculate::Sign::Subtract;
  MyDocument doc;
  const ZandakaShisanPeriodSums none;
  const ZandakaShisan b(doc, none, false);
  std::vector<Shisan> rows = {rowWith(100, 10, 20, 90, 7), rowWith(30, 1, 2, 29, 3), rowWith(kMax, 0, 0, 0)};
  rows[0].setKamokuCode(300);
  Shisan& sum = b.addTotalOfCalculateArray({Calculate(0, Add), Calculate(1, Subtract)}, rows);
  // A subtracting operand still adds its debit and credit totals.
  EXPECT_EQ(sum.kaishiZandaka(), 70);
  EXPECT_EQ(sum.karikataGoukei(), 11);
  EXPECT_EQ(sum.kashikataGoukei(), 22);
  EXPECT_EQ(sum.syuuryouZandaka(), 61);
  EXPECT_EQ(sum.endBalance(), 4);
  EXPECT_EQ(sum.kamokuCode(), 0);
  EXPECT_TRUE(sum.title().empty());
  ASSERT_EQ(rows.size(), 4u);

  // Beyond the limit on either side: one beyond it, and it stays so.
  b.addTotalOfCalculateArray({Calculate(2, Add), Calculate(0, Add), Calculate(1, Subtract), Calculate(1, Subtract)},
                             rows);
  EXPECT_EQ(rows.back().kaishiZandaka(), kMax + 1);
  b.addTotalOfCalculateArray({Calculate(2, Subtract), Calculate(0, Subtract)}, rows);
  EXPECT_EQ(rows.back().kaishiZandaka(), -(kMax + 1));
  // An operand naming no row adds nothing.
  b.addTotalOfCalculateArray({Calculate(99, Add), Calculate(-1, Add)}, rows);
  EXPECT_EQ(rows.back().kaishiZandaka(), 0);
}

TEST(ZandakaShisanTest, PercentPass)
{
  MyDocument doc;
  const ZandakaShisanPeriodSums none;
  const ZandakaShisan b(doc, none, false);
  std::vector<Shisan> rows = {rowWith(0, 0, 0, 1000),     rowWith(0, 0, 0, 125),       rowWith(0, 0, 0, -50),
                              rowWith(0, 0, 0, kMax + 1), rowWith(0, 0, 0, 9'999'990), rowWith(0, 0, 0, 10'000'000),
                              rowWith(0, 0, 0, -999'990), rowWith(0, 0, 0, -1'000'000)};
  Shisan heading;
  heading.setKamokuCode(ShisanHeadingRowCode);
  rows.push_back(heading);
  b.setPercentOfShisanArray(rows, 1000);
  struct Expect {
    bool valid;
    double percent;
  };
  const Expect expected[] = {
      {true, 100.0},    {true, 12.5}, {true, -5.0}, {false, 0.0},  // beyond the limit
      {true, 999999.0},                                            // "999999.00": nine characters, shown
      {false, 0.0},                                                // "1000000.00": ten characters, not shown
      {true, -99999.0},                                            // "-99999.00": the minus sign counts
      {false, 0.0},                                                // "-100000.00"
      {false, 0.0},                                                // a heading never has one
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].isValidPercent(), expected[i].valid);
    EXPECT_DOUBLE_EQ(rows[i].percent(), expected[i].percent);
  }
  for (int64_t base : {int64_t{0}, kMax + 1, -(kMax + 1)}) {
    b.setPercentOfShisanArray(rows, base);
    for (const Shisan& r : rows) EXPECT_FALSE(r.isValidPercent()) << base;
  }
}

}  // namespace
}  // namespace kivo

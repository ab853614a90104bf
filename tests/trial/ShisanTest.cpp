#include <gtest/gtest.h>

#include "model/Kamoku.h"
#include "trial/Shisan.h"

namespace kivo {
namespace {

constexpr int64_t kMax = 999'999'999'999LL;
constexpr int32_t kDiv = 1;

// An account whose monthly caches hold the given movements (and month-end balances
// derived from them) for one division.
Kamoku accountWithMonths(bool karikata, int64_t opening, const std::vector<int64_t>& movements)
{
  Kamoku k;
  k.setIsKarikataKamoku(karikata);
  k.setStartBalance(opening, kDiv);
  int64_t balance = opening;
  for (int64_t v : movements) {
    StartBalanceList m, e;
    m.setBalance(v, kDiv);
    balance += v;
    e.setBalance(balance, kDiv);
    k.suiiShisanMonthlyTaisyakuBalanceArray().push_back(m);
    k.suiiShisanMonthlySyuuryouZandakaArray().push_back(e);
  }
  return k;
}

TEST(ShisanTest, ZeroAmountMonthsHoldOneTotalColumnMore)
{
  EXPECT_EQ(Shisan(0).monthlyAmountArray(), std::vector<int64_t>({0}));
  EXPECT_EQ(Shisan(3).monthlyAmountArray(), std::vector<int64_t>({0, 0, 0, 0}));
  const Shisan plain;
  EXPECT_TRUE(plain.monthlyAmountArray().empty());
  EXPECT_FALSE(plain.isValidPercent());
}

TEST(ShisanTest, MovementModeTotalIncludesOpeningOnlyWhenAsked)
{
  Kamoku k = accountWithMonths(true, 100, {5, -2, 7});
  Shisan row;
  row.setMonthlyAmountFromTaisyakuBalanceOfKamoku(k, kDiv, 3, kMax, -kMax, false);
  EXPECT_EQ(row.monthlyAmountArray(), std::vector<int64_t>({5, -2, 7, 10}));
  row.setMonthlyAmountFromTaisyakuBalanceOfKamoku(k, kDiv, 3, kMax, -kMax, true);
  EXPECT_EQ(row.monthlyAmountArray(), std::vector<int64_t>({5, -2, 7, 110}));
  // A month past the end of the cache reads as no movement.
  row.setMonthlyAmountFromTaisyakuBalanceOfKamoku(k, kDiv, 4, kMax, -kMax, false);
  EXPECT_EQ(row.monthlyAmountArray(), std::vector<int64_t>({5, -2, 7, 0, 10}));
}

TEST(ShisanTest, RunningTotalStopsOnceOutOfRange)
{
  // Bounds of 10: the total passes them in month 2 and never comes back.
  Kamoku k = accountWithMonths(true, 0, {8, 5, -20, 1});
  Shisan row;
  row.setMonthlyAmountFromTaisyakuBalanceOfKamoku(k, kDiv, 4, 10, -10, false);
  EXPECT_EQ(row.monthlyAmountArray(), std::vector<int64_t>({8, 5, -20, 1, 13}));
}

TEST(ShisanTest, AddingMovementsBySideWithPinning)
{
  struct Case {
    const char* name;
    bool accountKarikata;
    bool sectionKarikata;
    int64_t startEntry;
    int64_t movement;
    int64_t expected;
  };
  const int64_t max = 100;
  const int64_t min = -100;
  const Case cases[] = {
      {"same side adds", true, true, 10, 5, 15},
      {"other side subtracts", false, true, 10, 5, 5},
      {"addition past max pins max+1", true, true, 98, 5, 101},
      {"subtraction past min pins min-1", false, true, min + 3, 5, min - 1},
      {"adding a negative past min is not pinned", true, true, min + 3, -5, min - 2},
      {"an entry already beyond max stays", true, true, max + 1, -50, max + 1},
      {"an entry already beyond min stays", false, true, min - 2, -50, min - 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kamoku k = accountWithMonths(c.accountKarikata, 0, {c.movement});
    Shisan row(1);
    row.monthlyAmountArray()[0] = c.startEntry;
    row.addMonthlyAmountFromTaisyakuBalanceOfKamoku(k, kDiv, c.sectionKarikata, 1, max, min, false);
    EXPECT_EQ(row.monthlyAmountArray()[0], c.expected);
  }
}

TEST(ShisanTest, FrozenMonthEntryStillAdvancesTheAccountsTotal)
{
  // Month 0 of the row is frozen beyond the limit; the account's own movement of
  // that month must still reach the total column.
  Kamoku k = accountWithMonths(true, 0, {7, 3});
  Shisan row(2);
  row.monthlyAmountArray()[0] = kMax + 1;
  row.addMonthlyAmountFromTaisyakuBalanceOfKamoku(k, kDiv, true, 2, kMax, -kMax, false);
  EXPECT_EQ(row.monthlyAmountArray(), std::vector<int64_t>({kMax + 1, 3, 10}));
}

TEST(ShisanTest, AddingIntoAnEmptyRowFillsItAndSumsTwoAccounts)
{
  Kamoku sales = accountWithMonths(false, 0, {100, 200});
  Kamoku returns = accountWithMonths(true, 0, {10, 0});
  Shisan row;
  row.addMonthlyAmountFromTaisyakuBalanceOfKamoku(sales, kDiv, false, 2, kMax, -kMax, false);
  row.addMonthlyAmountFromTaisyakuBalanceOfKamoku(returns, kDiv, false, 2, kMax, -kMax, false);
  EXPECT_EQ(row.monthlyAmountArray(), std::vector<int64_t>({90, 200, 290}));
}

TEST(ShisanTest, BalanceModeAndItsAddition)
{
  Kamoku cash = accountWithMonths(true, 1000, {50, -30});
  Kamoku allowance = accountWithMonths(false, 100, {10, 0});
  Shisan row;
  row.setMonthlyAmountFromSyuuryouZandakaOfKamoku(cash, kDiv, 2);
  EXPECT_EQ(row.monthlyAmountArray(), std::vector<int64_t>({1000, 1050, 1020}));
  Shisan total;
  total.addMonthlyAmountFromSyuuryouZandakaOfKamoku(cash, kDiv, true, 2, kMax, -kMax);
  total.addMonthlyAmountFromSyuuryouZandakaOfKamoku(allowance, kDiv, true, 2, kMax, -kMax);
  EXPECT_EQ(total.monthlyAmountArray(), std::vector<int64_t>({900, 940, 910}));
  // Another division has nothing.
  Shisan other;
  other.setMonthlyAmountFromSyuuryouZandakaOfKamoku(cash, 2, 2);
  EXPECT_EQ(other.monthlyAmountArray(), std::vector<int64_t>({0, 0, 0}));
}

TEST(ShisanTest, TintedRowsAreHeadingsAndTotals)
{
  Shisan r;
  for (int32_t code : {ShisanHeadingRowCode, ShisanTotalRowCode}) {
    r.setKamokuCode(code);
    EXPECT_TRUE(r.isTotalRow()) << code;
  }
  for (int32_t code : {ShisanSubtotalRowCode, ToukiSonekiRowCode, 100}) {
    r.setKamokuCode(code);
    EXPECT_FALSE(r.isTotalRow()) << code;
  }
}

}  // namespace
}  // namespace kivo

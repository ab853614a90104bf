// The trial balance's pieces: the sums of a period posted from the journal, which
// accounts get a row, running sums, sum rows and percents.
#include <gtest/gtest.h>
#include <malloc.h>

#include "trial/TrialBooks.h"
#include "trial/ZandakaShisan.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo {
namespace {

using test::addJigyoubu;
using test::addShiwake;
using test::ChartKind;
using test::kamokuNamed;
using test::makeTrialBooks;

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

TEST(ZandakaShisanTest, WhichAccountsGetARowRunningSumsSumRowsAndPercents)
{
  MyDocument doc;
  const std::tuple<const char*, bool, uint32_t, bool, Sums, bool> cases[] = {
      {"active, no amounts", true, 0, false, Sums{}, true},
      {"active, no amounts, hidden by the setting", true, 0, true, Sums{}, false},
      {"shown only with amounts, none", true, Kamoku::kTypeF | Kamoku::kTypeA, false, Sums{}, false},
      {"shown only with amounts, has an opening balance", true, Kamoku::kTypeA, false, Sums{5, 0, 0, 5}, true},
      {"movements that cancel still count", true, 0, true, Sums{0, 3, 3, 0}, true},
      {"a carried-forward balance counts", true, 0, true, Sums{0, 0, 0, 0, 9}, true},
      {"inactive without amounts", false, 0, false, Sums{}, false},
      // An inactive account that still holds amounts keeps its row, so that the
      // totals it enters are explained and the books still balance.
      {"inactive with amounts", false, 0, false, Sums{5, 0, 0, 5}, true}};
  for (const auto& [name, active, type, hideWithoutAmounts, figures, expected] : cases) {
    SCOPED_TRACE(name);
    Kamoku k = account(true);
    k.setIsActive(active);
    k.setType(type);
    const ZandakaShisanPeriodSums sums = sumsOf(figures);
    EXPECT_EQ(ZandakaShisan(doc, sums, hideWithoutAmounts).canAppearOnZandakaShisan(k, kDiv), expected);
  }

  // Adding an account into running sums.
  const std::tuple<const char*, bool, bool, ZandakaShisan::RunningSums, Sums, ZandakaShisan::RunningSums> sumCases[] = {
      {"same side: adds", true, true, {1, 2, 3, 4, 5}, Sums{10, 20, 30, 40, 50}, {11, 22, 33, 44, 55}},
      // The other side subtracts balances; its totals still add.
      {"other side", false, true, {1, 2, 3, 4, 5}, Sums{10, 20, 30, 40, 50}, {-9, 22, 33, -36, -45}},
      // Past the limit a sum holds one beyond it, and stays there.
      {"add past limit", true, true, {kMax - 1, 0, 0, 0, 0}, Sums{5, 0, 0, 0}, {kMax + 1, 0, 0, 0, 0}},
      {"subtract past limit", false, true, {-kMax + 1, 0, 0, 0, 0}, Sums{5, 0, 0, 0}, {-(kMax + 1), 0, 0, 0, 0}},
      {"frozen", true, true, {kMax + 1, 0, 0, -(kMax + 1), 0}, Sums{-7, 0, 0, 7}, {kMax + 1, 0, 0, -(kMax + 1), 0}},
      // A debit total of exactly max is not increased.
      {"debit total at max", true, true, {0, kMax, kMax - 1, 0, 0}, Sums{0, 5, 5, 0}, {0, kMax, kMax + 1, 0, 0}}};

  for (const auto& [name, karikata, section, before, figures, expected] : sumCases) {
    SCOPED_TRACE(name);
    const ZandakaShisanPeriodSums sums = sumsOf(figures);
    const ZandakaShisan b(doc, sums, false);
    ZandakaShisan::RunningSums s = before;
    b.addZandakaShisanValueOfKamoku(account(karikata), kDiv, section, s);
    const auto fields = [](const ZandakaShisan::RunningSums& r) {
      return std::tuple(r.kaishiZandaka, r.karikataGoukei, r.kashikataGoukei, r.syuuryouZandaka, r.endBalance);
    };
    EXPECT_EQ(fields(s), fields(expected));
  }

  // Sum rows of operands, and percents.
  constexpr Calculate::Sign Add = Calculate::Sign::Add, Subtract = Calculate::Sign::Subtract;
  const ZandakaShisanPeriodSums none;
  const ZandakaShisan b(doc, none, false);
  std::vector<Shisan> rows = {rowWith(100, 10, 20, 90, 7), rowWith(30, 1, 2, 29, 3), rowWith(kMax, 0, 0, 0)};
  rows[0].setKamokuCode(300);
  Shisan& sum = b.addTotalOfCalculateArray({Calculate(0, Add), Calculate(1, Subtract)}, rows);
  // A subtracting operand still adds its debit and credit totals.
  EXPECT_EQ(std::tuple(sum.kaishiZandaka(), sum.karikataGoukei(), sum.kashikataGoukei(), sum.syuuryouZandaka(),
                       sum.endBalance(), sum.kamokuCode(), sum.title()),
            std::tuple(70, 11, 22, 61, 4, 0, ""));
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

  // Percents of a base of 1,000.
  rows = {rowWith(0, 0, 0, 1000),     rowWith(0, 0, 0, 125),       rowWith(0, 0, 0, -50),
          rowWith(0, 0, 0, kMax + 1), rowWith(0, 0, 0, 9'999'990), rowWith(0, 0, 0, 10'000'000),
          rowWith(0, 0, 0, -999'990), rowWith(0, 0, 0, -1'000'000)};
  Shisan heading;
  heading.setKamokuCode(ShisanHeadingRowCode);
  rows.push_back(heading);
  b.setPercentOfShisanArray(rows, 1000);
  // Valid, and the percent: beyond the limit none; "999999.00" has nine characters and
  // is shown, "1000000.00" ten and is not; in "-99999.00" the minus sign counts and
  // "-100000.00" is not shown; a heading never has one.
  const std::pair<bool, double> expected[] = {{true, 100.0},    {true, 12.5},     {true, -5.0},
                                              {false, 0.0},     {true, 999999.0}, {false, 0.0},
                                              {true, -99999.0}, {false, 0.0},     {false, 0.0}};
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].isValidPercent(), expected[i].first);
    EXPECT_DOUBLE_EQ(rows[i].percent(), expected[i].second);
  }
  for (int64_t base : {int64_t{0}, kMax + 1, -(kMax + 1)}) {
    b.setPercentOfShisanArray(rows, base);
    for (const Shisan& r : rows) EXPECT_FALSE(r.isValidPercent()) << base;
  }
}

// Opening, debit, credit, closing.
using Figures = std::tuple<int64_t, int64_t, int64_t, int64_t>;

Figures figuresOf(const ZandakaShisanPeriodSums::Sums& s)
{
  return {s.kaishiZandaka, s.karikataGoukei, s.kashikataGoukei, s.syuuryouZandaka};
}

class PeriodSumsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc = makeTrialBooks(ChartKind::HoujinKaisyahou);
    genkin = kamokuNamed(*doc, "現金");
    uriage = kamokuNamed(*doc, "売上高");
    genkin->setStartBalance(1000, 99);
  }
  void post(int32_t from, int32_t to)
  {
    sums = ZandakaShisanPeriodSums::post(*doc, ZandakaShisanPeriodSums::periodOfMonthIndexes(doc->kaisya(), from, to));
  }
  Figures figures(const Kamoku& k, int32_t j) const { return figuresOf(sums.ofKamoku(k.code(), j)); }

  std::unique_ptr<MyDocument> doc;
  KamokuPtr genkin, uriage;
  ZandakaShisanPeriodSums sums;
};

TEST_F(PeriodSumsTest, PeriodBoundsAreInclusiveAndTheWalkStopsAfterTheEnd)
{
  // Months of the term start in April: index 1 is May, 2 is June.
  addShiwake(*doc, Date(2024, 4, 30), genkin->code(), uriage->code(), 1);    // before: opening
  addShiwake(*doc, Date(2024, 5, 1), genkin->code(), uriage->code(), 10);    // first day
  addShiwake(*doc, Date(2024, 6, 30), genkin->code(), uriage->code(), 100);  // last day
  addShiwake(*doc, Date(2024, 7, 1), genkin->code(), uriage->code(), 1000);  // after: not counted
  addShiwake(*doc, Date::kessanSeiridukiDate(), genkin->code(), uriage->code(), 5000);
  post(1, 2);
  EXPECT_EQ(std::tuple(figures(*genkin, 99), figures(*uriage, 99), figures(*genkin, -1)),
            std::tuple(Figures{1001, 110, 0, 1111}, Figures{1, 0, 110, 111}, Figures{1001, 110, 0, 1111}));

  // The closing-adjustment month alone: the whole term is the opening balance.
  const int32_t n = static_cast<int32_t>(doc->kaisya().monthArray().size());
  post(n, n);
  EXPECT_EQ(figures(*genkin, 99), (Figures{2111, 5000, 0, 7111}));
  // The whole term.
  post(0, n);
  EXPECT_EQ(figures(*genkin, 99), (Figures{1000, 6111, 0, 7111}));
}

TEST_F(PeriodSumsTest, WhatCountsAndWhatNever)
{
  // Neither an unregistered cash-book row nor a regular-type voucher counts.
  addShiwake(*doc, Date(2024, 5, 1), genkin->code(), uriage->code(), 10, -1, 0)->setDenpyouNo(0);
  addShiwake(*doc, Date::regularTypeDenpyouDate(), genkin->code(), uriage->code(), 20, -1, -3);
  // Code 10 begins account 100's code but is no account: the side is passed over.
  ASSERT_EQ(genkin->code(), 100);
  addShiwake(*doc, Date(2024, 5, 2), 10, uriage->code(), 40);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), 999, 7);
  // 通知預金 is inactive in the chart; entries made while it was in use still count.
  const KamokuPtr tsuuchi = kamokuNamed(*doc, "通知預金");
  ASSERT_FALSE(tsuuchi->isActive());
  tsuuchi->setStartBalance(300, 99);
  addShiwake(*doc, Date(2024, 5, 2), tsuuchi->code(), uriage->code(), 50);
  post(0, 12);
  EXPECT_EQ(std::tuple(figures(*genkin, 99), figures(*uriage, 99), figures(*tsuuchi, 99)),
            std::tuple(Figures{1000, 7, 0, 1007}, Figures{0, 0, 90, 90}, Figures{300, 50, 0, 350}));
}

TEST_F(PeriodSumsTest, DivisionsAndTheCompanyColumn)
{
  addJigyoubu(*doc, 1);
  addJigyoubu(*doc, 2);
  addJigyoubu(*doc, 3, false);
  genkin->setStartBalance(100, 1);
  genkin->setStartBalance(20, 2);
  genkin->setStartBalance(3, 3);  // a division made inactive
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), 40, 1);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), 5, 3);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), 7, -1);
  post(0, 12);
  EXPECT_EQ(std::tuple(figures(*genkin, 1), figures(*genkin, 2), figures(*genkin, 3), figures(*genkin, -1)),
            std::tuple(Figures{100, 40, 0, 140}, Figures{20, 0, 0, 20}, Figures{3, 5, 0, 8}, Figures{0, 7, 0, 7}));
  // The company column sums every division, the inactive one included; the
  // opening balance stored for 99 itself is not used while divisions are.
  EXPECT_EQ(figures(*genkin, 99), (Figures{123, 52, 0, 175}));
  EXPECT_EQ(figures(*uriage, 99), (Figures{0, 0, 52, 52}));
}

// Bytes the heap holds (glibc's count; a sanitizer's allocator shows none).
size_t heapInUse()
{
  const struct mallinfo2 m = ::mallinfo2();
  return m.uordblks + m.hblkhd;
}

TEST_F(PeriodSumsTest, DivisionsTheDocumentLacksCountAndCostOnlyTheirFigures)
{
  // Every account with sub-accounts up to code 99: over 10,000 sub-account lines.
  for (const KamokuPtr& k : doc->codeSortedKamokuArray()) test::addHojyoKamoku(*k, 99, "補助");
  doc->setRootKamokuKubun(doc->rootKamokuKubun());
  addJigyoubu(*doc, 1);
  genkin->setStartBalance(100, 1);
  // Opening balances and an entry of divisions 2 to 98, which the document lacks.
  for (int32_t d = 2; d <= 98; ++d) genkin->setStartBalance(d, d);
  genkin->hojyoKamokuOfCode(99)->setStartBalance(7, 50);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), 40, 50);
  const size_t before = heapInUse();
  post(0, 12);
  // A copy of the chart for each of the 97 codes was 60 MB; their figures are kilobytes.
  EXPECT_LT(heapInUse() - before, size_t{8} << 20);
  // Their figures still count: in their own code and in the company's.
  EXPECT_EQ(std::tuple(figures(*genkin, 50), figures(*genkin, 98), figures(*genkin, 99),
                       figuresOf(sums.ofHojyoKamoku(genkin->code(), 99, 50)), sums.jigyoubuCodes().size()),
            std::tuple(Figures{50, 40, 0, 90}, Figures{98, 0, 0, 98}, Figures{100 + 4850, 40, 0, 100 + 4850 + 40},
                       Figures{7, 0, 0, 7}, size_t{99}));
}

TEST_F(PeriodSumsTest, WithoutActiveDivisionsTheCompanyOpeningGoesUnderNoDivision)
{
  addJigyoubu(*doc, 1, false);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), 40, -1);
  post(0, 12);
  EXPECT_EQ(std::tuple(figures(*genkin, -1), figures(*genkin, 99)),
            std::tuple(Figures{1000, 40, 0, 1040}, Figures{1000, 40, 0, 1040}));
}

TEST_F(PeriodSumsTest, SumsStopChangingBeyondTheLimit)
{
  genkin->setStartBalance(0, 99);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), kMax - 1);
  addShiwake(*doc, Date(2024, 5, 3), genkin->code(), uriage->code(), 5);  // passes the limit once
  addShiwake(*doc, Date(2024, 5, 4), genkin->code(), uriage->code(), 5);  // then nothing changes
  addShiwake(*doc, Date(2024, 5, 5), uriage->code(), genkin->code(), 1000);
  post(0, 12);
  EXPECT_EQ(figures(*genkin, 99), (Figures{0, kMax + 4, 1000, kMax + 4}));
  EXPECT_EQ(std::get<2>(figures(*uriage, 99)), kMax + 4);
}

TEST_F(PeriodSumsTest, ASumThatStandsOnTheLimitStillTakesTheNextAmount)
{
  // A debit total of exactly the limit is a true figure; the next amount takes it past
  // the limit, where it reads as overflow, as the ledger of the same account does.
  genkin->setStartBalance(0, 99);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), kMax);
  addShiwake(*doc, Date(2024, 5, 3), genkin->code(), uriage->code(), 1);
  post(0, 12);
  EXPECT_EQ(std::tuple(std::get<1>(figures(*genkin, 99)), std::get<2>(figures(*uriage, 99))),
            std::tuple(kMax + 1, kMax + 1));
}

TEST_F(PeriodSumsTest, SubAccountsHaveSumsOfTheirOwn)
{
  test::addHojyoKamoku(*genkin, 2, "銀行")->setStartBalance(300, 99);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), 40)->setKarikataHojyoKamokuCode(2);
  addShiwake(*doc, Date(2024, 5, 3), uriage->code(), genkin->code(), 5)->setKashikataHojyoKamokuCode(2);
  addShiwake(*doc, Date(2024, 5, 4), genkin->code(), uriage->code(), 7)->setKarikataHojyoKamokuCode(1);  // none such
  post(0, 12);
  const auto hojyo = [&](int32_t code, int32_t j) { return figuresOf(sums.ofHojyoKamoku(genkin->code(), code, j)); };
  EXPECT_EQ(std::tuple(hojyo(2, 99), hojyo(2, -1), hojyo(1, 99)),
            std::tuple(Figures{300, 40, 5, 335}, Figures{300, 40, 5, 335}, Figures{0, 0, 0, 0}));
  EXPECT_EQ(figures(*genkin, 99), (Figures{1000, 47, 5, 1042}));
}

}  // namespace
}  // namespace kivo

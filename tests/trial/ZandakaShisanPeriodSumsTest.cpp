#include <gtest/gtest.h>

#include "trial/TrialBooks.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo {
namespace {

using test::addJigyoubu;
using test::addShiwake;
using test::ChartKind;
using test::codeOf;
using test::kamokuNamed;
using test::makeTrialBooks;

constexpr int64_t kMax = 999'999'999'999LL;

struct Figures {
  int64_t kaishi, kari, kashi, syuuryou;
  friend bool operator==(const Figures&, const Figures&) = default;
};

std::ostream& operator<<(std::ostream& os, const Figures& f)
{
  return os << "{" << f.kaishi << ", " << f.kari << ", " << f.kashi << ", " << f.syuuryou << "}";
}

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
  EXPECT_EQ(figures(*genkin, 99), (Figures{1001, 110, 0, 1111}));
  EXPECT_EQ(figures(*uriage, 99), (Figures{1, 0, 110, 111}));
  EXPECT_EQ(figures(*genkin, -1), (Figures{1001, 110, 0, 1111}));

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
  EXPECT_EQ(figures(*genkin, 99), (Figures{1000, 7, 0, 1007}));
  EXPECT_EQ(figures(*uriage, 99), (Figures{0, 0, 90, 90}));
  EXPECT_EQ(figures(*tsuuchi, 99), (Figures{300, 50, 0, 350}));
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
  EXPECT_EQ(figures(*genkin, 1), (Figures{100, 40, 0, 140}));
  EXPECT_EQ(figures(*genkin, 2), (Figures{20, 0, 0, 20}));
  EXPECT_EQ(figures(*genkin, 3), (Figures{3, 5, 0, 8}));
  EXPECT_EQ(figures(*genkin, -1), (Figures{0, 7, 0, 7}));
  // The company column sums every division, the inactive one included; the
  // opening balance stored for 99 itself is not used while divisions are.
  EXPECT_EQ(figures(*genkin, 99), (Figures{123, 52, 0, 175}));
  EXPECT_EQ(figures(*uriage, 99), (Figures{0, 0, 52, 52}));
}

TEST_F(PeriodSumsTest, WithoutActiveDivisionsTheCompanyOpeningGoesUnderNoDivision)
{
  addJigyoubu(*doc, 1, false);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), 40, -1);
  post(0, 12);
  EXPECT_EQ(figures(*genkin, -1), (Figures{1000, 40, 0, 1040}));
  EXPECT_EQ(figures(*genkin, 99), (Figures{1000, 40, 0, 1040}));
}

TEST_F(PeriodSumsTest, SumsStopChangingBeyondTheLimit)
{
  genkin->setStartBalance(0, 99);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), kMax - 1);
  addShiwake(*doc, Date(2024, 5, 3), genkin->code(), uriage->code(), 5);  // passes the limit once
  addShiwake(*doc, Date(2024, 5, 4), genkin->code(), uriage->code(), 5);  // then nothing changes
  addShiwake(*doc, Date(2024, 5, 5), uriage->code(), genkin->code(), 1000);
  post(0, 12);
  EXPECT_EQ(figures(*genkin, 99).kari, kMax + 4);
  EXPECT_EQ(figures(*genkin, 99).syuuryou, kMax + 4);
  EXPECT_EQ(figures(*genkin, 99).kashi, 1000);
  EXPECT_EQ(figures(*uriage, 99).kashi, kMax + 4);
}

TEST_F(PeriodSumsTest, SubAccountsHaveSumsOfTheirOwn)
{
  auto bank = std::make_shared<HojyoKamoku>();
  bank->setCode(2);
  bank->setStartBalance(300, 99);
  genkin->hojyoKamokuArray().push_back(bank);
  addShiwake(*doc, Date(2024, 5, 2), genkin->code(), uriage->code(), 40)->setKarikataHojyoKamokuCode(2);
  addShiwake(*doc, Date(2024, 5, 3), uriage->code(), genkin->code(), 5)->setKashikataHojyoKamokuCode(2);
  addShiwake(*doc, Date(2024, 5, 4), genkin->code(), uriage->code(), 7)->setKarikataHojyoKamokuCode(1);  // none such
  post(0, 12);
  EXPECT_EQ(figuresOf(sums.ofHojyoKamoku(genkin->code(), 2, 99)), (Figures{300, 40, 5, 335}));
  EXPECT_EQ(figuresOf(sums.ofHojyoKamoku(genkin->code(), 2, -1)), (Figures{300, 40, 5, 335}));
  EXPECT_EQ(figuresOf(sums.ofHojyoKamoku(genkin->code(), 1, 99)), (Figures{0, 0, 0, 0}));
  EXPECT_EQ(figures(*genkin, 99), (Figures{1000, 47, 5, 1042}));
}

}  // namespace
}  // namespace kivo

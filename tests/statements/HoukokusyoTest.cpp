// The older-form statements (決算報告書) on small books whose figures are known, the
// appropriation of profit, and the agreement of every statement with the trial
// balance over generated journals.
#include <gtest/gtest.h>

#include "model/CappedAmount.h"
#include "statements/Houkokusyo.h"
#include "statements/KaisyahouBooks.h"
#include "statements/RiekiSyobunan.h"

namespace kivo {
namespace {

using test::book;
using test::ChartKind;
using test::kamokuNamed;
using test::Line;
using test::linesOf;

constexpr int64_t kMax = 999'999'999'999LL;

HoukokusyoStatements statementsOf(const MyDocument& doc, Date start = Date(2024, 4, 1),
                                  Date end = Date::kessanSeiridukiDate(), int32_t jigyoubu = 99,
                                  bool addStartBalance = false)
{
  return Houkokusyo::build(doc, KaisyahouHoukokusyoBalances::postShiwakeArray(doc, {start, end, addStartBalance}),
                           jigyoubu);
}

// The amounts of the rows with the captions.
std::vector<int64_t> amountsTitled(const std::vector<Shisan>& rows, std::initializer_list<const char*> titles)
{
  std::vector<int64_t> out;
  for (const char* title : titles) {
    const auto r = std::find_if(rows.begin(), rows.end(), [&](const Shisan& s) { return s.title() == title; });
    if (r == rows.end()) ADD_FAILURE() << "no row " << title;
    out.push_back(r == rows.end() ? 0 : r->houkokusyoAmount());
  }
  return out;
}
using Amounts = std::vector<int64_t>;

void expectBalanced(const HoukokusyoStatements& st)
{
  const auto& left = st.taisyakuTaisyouShisannobuShisanArray;
  const auto& right = st.taisyakuTaisyouFusainobuShisanArray;
  ASSERT_FALSE(left.empty());
  ASSERT_EQ(left.size(), right.size());
  EXPECT_EQ(std::tuple(left.back().title(), right.back().title(), left.back().houkokusyoAmount()),
            std::tuple("　　　資産の部合計", "　　　負債・資本の部合計", right.back().houkokusyoAmount()));
}

TEST(HoukokusyoTest, CorporationOnTheOlderChartWithMergedAccounts)
{
  auto doc = test::makeSmallTrialBooks(ChartKind::HoujinOlder);
  const HoukokusyoStatements st = statementsOf(*doc);
  const int32_t uriage = test::codeOf(*doc, "売上高");
  EXPECT_EQ(linesOf(st.taisyakuBalanceSonekiKeisanShisanArray),
            (std::vector<Line>{Line{-405, "経常損益の部", 0}, Line{-402, "[営業損益の部]", 0},
                               Line{-402, "　[営業収益]", 0}, Line{-402, "　　[売上高]", 0},
                               Line{uriage, "　　　売上高", 500}, Line{-403, "　　　　売上高合計", 500},
                               Line{-402, "　[営業費用]", 0}, Line{-402, "　　[売上原価]", 0},
                               Line{-1, "　　　当期商品仕入高", 200}, Line{-403, "　　　　売上原価", 200},
                               Line{-404, "　　　　売上総利益", 300}, Line{-402, "　　[販売費及び一般管理費]", 0},
                               Line{-403, "　　　販売費及び一般管理費合計", 100}, Line{-404, "　　　　営業利益", 200},
                               Line{-404, "　　　　経常利益", 200}, Line{-404, "　　　税引前当期利益", 200},
                               Line{-404, "　　　当期利益", 200}, Line{-404, "　　　当期未処分利益", 200}}));
  EXPECT_EQ(linesOf(st.taisyakuBalanceHanbaihiShisanArray),
            (std::vector<Line>{Line{test::codeOf(*doc, "給料手当"), "給料手当", 100},
                               Line{-403, "　販売費及び一般管理費合計", 100}}));
  EXPECT_TRUE(st.taisyakuBalanceSeizouGenkaShisanArray.empty());
  EXPECT_EQ(Amounts({st.toukiSonekiOfSyuuryouZandaka, st.toukiMisyobunSonekiOfSyuuryouZandaka}), Amounts({200, 200}));

  expectBalanced(st);
  const auto& right = st.taisyakuTaisyouFusainobuShisanArray;
  EXPECT_EQ(amountsTitled(right, {"[剰余金(欠損金)]", "　当期未処分利益", "　（内 当期利益）", "　　　資本の部合計",
                                  "　　　負債・資本の部合計"}),
            Amounts({200, 200, 200, 1200, 1200}));
  for (const Shisan& r : right) EXPECT_NE(r.title(), "負債の部");  // no liabilities at all

  // From June the period column leaves out the sale before it; the closing one keeps it.
  const HoukokusyoStatements june = statementsOf(*doc, Date(2024, 6, 1));
  EXPECT_EQ(Amounts({june.toukiSonekiOfTaisyakuBalance, june.toukiSonekiOfSyuuryouZandaka,
                     june.taisyakuTaisyouShisannobuShisanArray.back().houkokusyoAmount()}),
            Amounts({-300, 200, 1200}));

  // Merged accounts print as one row under the merged name.
  book(*doc, Date(2024, 9, 1), "普通預金", "現金", 300);
  const KamokuPtr rep = kamokuNamed(*doc, "現金");
  const KamokuPtr member = kamokuNamed(*doc, "普通預金");
  rep->setGassanRepresentKamokuCode(rep->code());
  rep->setGassanKamokuName("現金及び預金");
  member->setGassanRepresentKamokuCode(rep->code());
  const auto merged = statementsOf(*doc).taisyakuTaisyouShisannobuShisanArray;
  EXPECT_EQ(amountsTitled(merged, {"　現金及び預金"}), Amounts({1200}));
  for (const Shisan& r : merged) EXPECT_NE(r.kamokuCode(), member->code()) << r.title();
}

TEST(HoukokusyoTest, ALossTakesTheLossTitlesAndIsBroughtForwardIntoTheUndisposedLoss)
{
  auto doc = test::makeSmallTrialBooks(ChartKind::HoujinOlder, 900);
  kamokuNamed(*doc, "前期繰越利益")->setStartBalance(50, 99);
  kamokuNamed(*doc, "資本金")->setStartBalance(950, 99);
  const HoukokusyoStatements st = statementsOf(*doc);
  const auto& pl = st.taisyakuBalanceSonekiKeisanShisanArray;
  EXPECT_EQ(amountsTitled(pl, {"　　　　売上総利益", "　　　　営業損失", "　　　当期損失"}), Amounts({300, 600, 600}));
  // The brought-forward profit is the balance sheet's, in the printed column too.
  EXPECT_EQ(amountsTitled(pl, {"　　　前期繰越利益"}), Amounts({50}));
  EXPECT_EQ(linesOf({pl.back()}), (std::vector<Line>{Line{-404, "　　　当期未処理損失", 550}}));
  const auto& closing = st.syuuryouZandakaSonekiKeisanShisanArray;
  EXPECT_EQ(amountsTitled(closing, {"　　　前期繰越利益"}), Amounts({50}));
  EXPECT_EQ(linesOf({closing.back()}), (std::vector<Line>{Line{-404, "　　　当期未処理損失", 550}}));
  EXPECT_EQ(Amounts({st.toukiSonekiOfSyuuryouZandaka, st.toukiMisyobunSonekiOfSyuuryouZandaka}), Amounts({-600, -550}));

  expectBalanced(st);
  const auto& right = st.taisyakuTaisyouFusainobuShisanArray;
  EXPECT_EQ(
      amountsTitled(right, {"　当期未処理損失", "　（内 当期損失）", "[剰余金(欠損金)]", "　　　負債・資本の部合計"}),
      Amounts({550, 600, -550, 400}));
}

// A profit brought forward of 1,000 of which 300 was paid out as a dividend, and the
// term's profit of 200: over the whole term the income statement, the balance sheet
// and the appropriation all stand on 900, with or without the opening balances.
TEST(HoukokusyoTest, IncomeStatementBalanceSheetAndAppropriationAgreeWhateverTheOpeningOption)
{
  auto doc = test::makeSmallTrialBooks(ChartKind::HoujinOlder);
  kamokuNamed(*doc, "前期繰越利益")->setStartBalance(1000, 99);
  kamokuNamed(*doc, "現金")->setStartBalance(2000, 99);
  book(*doc, Date(2024, 6, 30), "前期繰越利益", "現金", 300);
  for (const bool addStartBalance : {false, true}) {
    SCOPED_TRACE(addStartBalance);
    const HoukokusyoStatements st =
        statementsOf(*doc, Date(2024, 4, 1), Date::kessanSeiridukiDate(), 99, addStartBalance);
    const auto& pl = st.taisyakuBalanceSonekiKeisanShisanArray;
    EXPECT_EQ(amountsTitled(pl, {"　　　当期利益", "　　　前期繰越利益", "　　　当期未処分利益"}),
              Amounts({200, 700, 900}));
    EXPECT_EQ(
        Amounts({st.toukiMisyobunSonekiOfTaisyakuBalance, st.toukiMisyobunSonekiOfSyuuryouZandaka,
                 amountsTitled(st.taisyakuTaisyouFusainobuShisanArray, {"　当期未処分利益"}).front(),
                 RiekiSyobunan(st.toukiMisyobunSonekiOfSyuuryouZandaka, {}, kMax).rows().front().houkokusyoAmount()}),
        Amounts({900, 900, 900, 900}));
    expectBalanced(st);
  }
}

TEST(HoukokusyoTest, SoleProprietorOnTheShippedChart)
{
  auto doc = test::makeSmallTrialBooks(ChartKind::Kojin);
  const HoukokusyoStatements st = statementsOf(*doc);
  const auto& pl = st.taisyakuBalanceSonekiKeisanShisanArray;
  EXPECT_EQ(amountsTitled(pl, {"　　　　売上総利益", "　　　　営業利益", "　　　当期利益"}), Amounts({300, 200, 200}));
  expectBalanced(st);
  EXPECT_EQ(amountsTitled(st.taisyakuTaisyouFusainobuShisanArray, {"[資本金]"}), Amounts({1000}));
  EXPECT_EQ(st.taisyakuTaisyouShisannobuShisanArray.back().houkokusyoAmount(), 1200);
}

TEST(HoukokusyoTest, ColumnsEndOnOneLineWhicheverIsLonger)
{
  auto doc = test::makeSmallTrialBooks(ChartKind::HoujinOlder);
  // Many liabilities: the right column grows past the left.
  for (const char* k : {"買掛金", "未払金", "預り金", "長期借入金"}) book(*doc, Date(2024, 9, 1), "現金", k, 10);
  expectBalanced(statementsOf(*doc));
  // Many assets: the left column grows past the right.
  auto doc2 = test::makeSmallTrialBooks(ChartKind::HoujinOlder);
  for (const char* k : {"普通預金", "売掛金", "商品", "建物", "車両運搬具", "土地", "電話加入権"})
    book(*doc2, Date(2024, 9, 1), k, "現金", 10);
  expectBalanced(statementsOf(*doc2));
}

TEST(HoukokusyoTest, Appropriation)
{
  using Items = std::vector<RiekiSyobunanItem>;
  using Lines = std::vector<Line>;
  const Items items{{"配当金", 50}, {"利益準備金", 20}};
  const std::vector<std::tuple<const char*, int64_t, Items, bool, Lines>> cases{
      {"profit", 200, items, true,
       Lines{Line{-410, "当期未処分利益", 200}, Line{-1, "配当金", 50}, Line{-1, "利益準備金", 20},
             Line{-404, "　利益処分合計", 70}, Line{-411, "次期繰越利益", 130}}},
      {"loss", -300, Items{{"任意積立金取崩", 100}, {"資本準備金取崩", 50}}, true,
       Lines{Line{-410, "当期未処理損失", 300}, Line{-1, "任意積立金取崩", 100}, Line{-1, "資本準備金取崩", 50},
             Line{-404, "　損失処理合計", 150}, Line{-411, "次期繰越損失", 150}}},
      {"no items", 200, {}, true, {Line{-403, "当期未処分利益", 200}, Line{-411, "次期繰越利益", 200}}},
      // Nothing to appropriate: the items take no part anywhere.
      {"zero", 0, items, true, {Line{-403, "当期未処分利益", 0}, Line{-411, "次期繰越利益", 0}}},
      {"items above the profit", 60, items, false, {}},
      {"items above the loss", -60, items, false, {}},
      {"items beyond the limit", 200, {{"a", kMax}, {"b", kMax}}, false, {}}};
  for (const auto& [name, u, items, accepted, rows] : cases) {
    SCOPED_TRACE(name);
    const RiekiSyobunan r(u, items, kMax);
    EXPECT_EQ(r.check().empty(), accepted) << r.check();
    if (accepted) { EXPECT_EQ(linesOf(r.rows()), rows); }
    for (const Shisan& row : r.rows()) EXPECT_EQ(row.jigyoubuCode(), 99);
  }
  // Totals stop one beyond the limit whatever the amounts: at the int64 limits they
  // once overflowed into 利益処分合計 -9,223,372,036,854,775,808.
  const std::tuple<int64_t, Items, int64_t> totals[] = {{200, {{"a", kMax}, {"b", kMax}}, kMax + 1},
                                                        {200, {{"a", INT64_MAX}, {"b", INT64_MAX}}, kMax + 1},
                                                        {INT64_MIN, {{"a", 5}, {"b", INT64_MAX}}, kMax + 1},
                                                        {200, {{"a", INT64_MIN}, {"b", INT64_MIN}}, -kMax - 1}};
  for (const auto& [u, items, goukei] : totals) {
    const RiekiSyobunan r(u, items, kMax);
    EXPECT_EQ(std::tuple(r.riekiSyobunGoukei(), r.jikiKurikoshiRieki()), std::tuple(goukei, -kMax - 1));
    EXPECT_FALSE(r.check().empty());
    for (const Shisan& row : r.rows()) {  // the sums, not the items as given
      if (row.kamokuCode() != -1) { EXPECT_TRUE(capped::inRange(row.houkokusyoAmount(), kMax + 1)) << row.title(); }
    }
  }
  EXPECT_EQ(RiekiSyobunan(60, items, kMax).check(),
            "利益処分合計が当期未処分利益を超えています。利益処分案の金額を見直してください。");
}

// The profit of every statement is the trial balance's, for each kind of company.

TEST(HoukokusyoTest, ProfitEqualsTheTrialBalancesOnGeneratedBooks)
{
  for (const auto& [chart, seizou, profitTitle] :
       {std::tuple(ChartKind::HoujinOlder, false, "　当期損益"), std::tuple(ChartKind::HoujinOlder, true, "　当期損益"),
        std::tuple(ChartKind::Kojin, false, "　青色申告控除前所得")}) {
    SCOPED_TRACE(static_cast<int>(chart) * 2 + seizou);
    auto doc = test::makeGeneratedTrialBooks(chart, seizou, {.shiwakeCount = 1500, .jigyoubuCount = 2}, 11);
    const Kaisya& k = doc->kaisya();
    const auto months = static_cast<int32_t>(k.monthArray().size());
    for (int32_t j : {99, 2})
      for (int32_t to : {7, months}) {
        const Date end = to == months ? Date::kessanSeiridukiDate() : k.monthArray()[static_cast<size_t>(to)].endDate();
        const HoukokusyoStatements st = statementsOf(*doc, k.termStartDate(), end, j);
        const int64_t profit = test::trialBalanceProfit(*doc, profitTitle, j, to);
        EXPECT_EQ(st.toukiSonekiOfSyuuryouZandaka, profit);
        EXPECT_EQ(st.toukiSonekiOfTaisyakuBalance, profit);
        expectBalanced(st);
      }
  }
}

}  // namespace
}  // namespace kivo

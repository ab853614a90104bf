// Invariants of the trial balance over generated journals on every chart, and the
// monthly trial balance's agreement with it.
#include <gtest/gtest.h>

#include "trial/SuiiShisan.h"
#include "trial/TrialBooks.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {
namespace {

using test::ChartKind;
using test::makeGeneratedTrialBooks;
using test::rowTitled;

struct Books {
  const char* name;
  ChartKind kind;
  bool seizou;
  int jigyoubuCount;
};

void PrintTo(const Books& b, std::ostream* os) { *os << b.name; }

class ZandakaShisanInvariantsTest : public ::testing::TestWithParam<Books> {};

// The divisions shown in the window, and the company.
std::vector<int32_t> columnsOf(const MyDocument& doc)
{
  std::vector<int32_t> out;
  for (const JigyoubuPtr& j : doc.jigyoubuArray())
    if (j->isActive()) out.push_back(j->code());
  if (out.empty()) out.push_back(-1);
  out.push_back(99);
  return out;
}

void checkInvariants(MyDocument& doc, int32_t from, int32_t to, const std::vector<int32_t>& columns)
{
  const int64_t max = doc.kaisya().maxOutputAmountValue();
  ZandakaShisanAssembly a(doc);
  for (int32_t j : columns) {
    SCOPED_TRACE("division " + std::to_string(j));
    a.setZandakaShisanArrayForJigyoubuCode(j, from, to, false);
    int64_t debit = 0, credit = 0;
    for (const KamokuPtr& k : doc.codeSortedKamokuArray()) {
      const ZandakaShisanPeriodSums::Sums& s = a.displaySums().ofKamoku(k->code(), j);
      const int64_t kaishi = s.kaishiZandaka, kari = s.karikataGoukei, kashi = s.kashikataGoukei;
      const int64_t syuuryou = s.syuuryouZandaka;
      ASSERT_LE(std::abs(syuuryou), max);
      // The closing balance is the opening balance moved by the period, by nature.
      EXPECT_EQ(syuuryou, k->isKarikataKamoku() ? kaishi + kari - kashi : kaishi - kari + kashi) << k->name();
      debit += kari;
      credit += kashi;
    }
    EXPECT_EQ(debit, credit);
    const auto& bs = a.taisyakuTaisyouShisanArray();
    const bool netAssets = doc.kaisya().isHoujin() && doc.rootKamokuKubun()->pListResource() != "Kamoku";
    const std::string assetsTitle = netAssets ? "　資産合計" : "　資産の部合計";
    const Shisan& assets = rowTitled(bs, assetsTitle);
    // The balance sheet balances, at the start of the period and at its end.
    EXPECT_EQ(std::pair(assets.syuuryouZandaka(), assets.kaishiZandaka()),
              std::pair(bs.back().syuuryouZandaka(), bs.back().kaishiZandaka()));
    EXPECT_NE(assets.syuuryouZandaka(), 0);
    for (const auto* rows : {&a.seizouGenkaShisanArray(), &a.sonekiKeisanShisanArray(), &bs})
      for (const Shisan& r : *rows) {
        EXPECT_EQ(r.jigyoubuCode(), j);
        EXPECT_TRUE(r.kamokuCode() >= 0 || r.kamokuCode() == ShisanSubtotalRowCode ||
                    r.kamokuCode() == ShisanHeadingRowCode || r.kamokuCode() == ShisanTotalRowCode)
            << r.title() << " " << r.kamokuCode();
      }
  }
  // The company column is the sum of the division columns.
  if (doc.numberOfActiveJigyoubu() > 0) {
    std::vector<int32_t> divisions = {-1};
    for (const JigyoubuPtr& d : doc.jigyoubuArray()) divisions.push_back(d->code());
    for (const KamokuPtr& k : doc.codeSortedKamokuArray()) {
      int64_t sum = 0;
      for (int32_t d : divisions) sum += a.displaySums().ofKamoku(k->code(), d).syuuryouZandaka;
      EXPECT_EQ(sum, a.displaySums().ofKamoku(k->code(), 99).syuuryouZandaka) << k->name();
    }
  }
}

TEST_P(ZandakaShisanInvariantsTest, TotalsAgreeAndTheBalanceSheetBalances)
{
  const Books& b = GetParam();
  auto doc = makeGeneratedTrialBooks(b.kind, b.seizou, {.shiwakeCount = 3000, .jigyoubuCount = b.jigyoubuCount}, 11);
  const int32_t n = static_cast<int32_t>(doc->kaisya().monthArray().size());
  for (auto [from, to] : {std::pair{0, n}, std::pair{3, 7}, std::pair{n, n}, std::pair{0, 0}}) {
    SCOPED_TRACE("months " + std::to_string(from) + " to " + std::to_string(to));
    checkInvariants(*doc, from, to, columnsOf(*doc));
  }
}

// Every row of the trial balance has its monthly row, in the same order.
std::vector<std::pair<const Shisan*, const Shisan*>> matchRows(const std::vector<Shisan>& yearly,
                                                               const std::vector<Shisan>& monthly)
{
  std::vector<std::pair<const Shisan*, const Shisan*>> out;
  size_t from = 0;
  for (const Shisan& y : yearly) {
    size_t i = from;
    while (i < monthly.size() && (monthly[i].title() != y.title() || monthly[i].kamokuCode() != y.kamokuCode())) ++i;
    if (i == monthly.size()) continue;  // an account the two filters see differently
    out.emplace_back(&y, &monthly[i]);
    from = i + 1;
  }
  return out;
}

TEST_P(ZandakaShisanInvariantsTest, MonthlyFiguresAddUpToTheTrialBalance)
{
  const Books& p = GetParam();
  auto doc = makeGeneratedTrialBooks(p.kind, p.seizou, {.shiwakeCount = 3000, .jigyoubuCount = p.jigyoubuCount});
  const int32_t n = static_cast<int32_t>(doc->kaisya().monthArray().size());
  std::vector<int32_t> columns;
  for (int d = 1; d <= p.jigyoubuCount; ++d) columns.push_back(d);
  columns.push_back(99);
  SuiiShisan monthly(*doc);
  ZandakaShisanAssembly yearly(*doc);
  for (int32_t j : columns) {
    SCOPED_TRACE("division " + std::to_string(j));
    monthly.setSuiiShisanArryForJigyoubuCode(j, true);
    // The whole term: every section.
    yearly.setZandakaShisanArrayForJigyoubuCode(j, 0, n, false);
    const auto bs = matchRows(yearly.taisyakuTaisyouShisanArray(), monthly.taisyakuTaisyouShisanArray());
    const auto pl = matchRows(yearly.sonekiKeisanShisanArray(), monthly.sonekiKeisanShisanArray());
    const auto mc = matchRows(yearly.seizouGenkaShisanArray(), monthly.seizouGenkaShisanArray());
    EXPECT_GT(bs.size(), yearly.taisyakuTaisyouShisanArray().size() * 9 / 10);
    EXPECT_EQ(std::tuple(pl.size(), mc.size(), !monthly.seizouGenkaShisanArray().empty()),
              std::tuple(yearly.sonekiKeisanShisanArray().size(), yearly.seizouGenkaShisanArray().size(), p.seizou));
    for (auto [y, m] : bs) {
      if (y->isHeadingRow()) continue;
      EXPECT_EQ(std::pair(m->monthlyAmountArray().front(), m->monthlyAmountArray().back()),
                std::pair(y->kaishiZandaka(), y->syuuryouZandaka()))
          << y->title();
    }
    for (const auto& section : {pl, mc}) {
      for (auto [y, m] : section) {
        if (y->isHeadingRow()) continue;
        // The total: the opening balance and every month's movement.
        EXPECT_EQ(m->monthlyAmountArray().back(), y->syuuryouZandaka()) << y->title();
      }
    }
    // Part of the term: the month-end balance of its last month.
    for (int32_t last : {0, 6, n - 1}) {
      yearly.setZandakaShisanArrayForJigyoubuCode(j, 0, last, false);
      for (auto [y, m] : matchRows(yearly.taisyakuTaisyouShisanArray(), monthly.taisyakuTaisyouShisanArray())) {
        if (!y->isHeadingRow()) {
          EXPECT_EQ(m->monthlyAmountArray()[static_cast<size_t>(last) + 1], y->syuuryouZandaka()) << y->title();
        }
      }
    }
  }
  // The sections of each kind of company.
  const auto& pl = monthly.sonekiKeisanShisanArray();
  const auto& bs = monthly.taisyakuTaisyouShisanArray();
  if (p.kind == ChartKind::Kojin) {
    EXPECT_EQ(rowTitled(bs, "青色申告控除前所得").monthlyAmountArray().back(),
              rowTitled(pl, "　青色申告控除前所得").monthlyAmountArray().back());
  }
  if (p.seizou) {
    EXPECT_EQ(rowTitled(pl, "　　当期製品製造原価").monthlyAmountArray(),
              rowTitled(monthly.seizouGenkaShisanArray(), "当期製品製造原価").monthlyAmountArray());
    EXPECT_EQ(rowTitled(monthly.seizouGenkaShisanArray(), "当期製品製造原価").kamokuCode(), ShisanTotalRowCode);
  }
}

INSTANTIATE_TEST_SUITE_P(GeneratedBooks, ZandakaShisanInvariantsTest,
                         ::testing::Values(Books{"older", ChartKind::HoujinOlder, false, 3},
                                           Books{"olderSeizou", ChartKind::HoujinOlder, true, 0},
                                           Books{"kaisyahou", ChartKind::HoujinKaisyahou, false, 0},
                                           Books{"kaisyahouSeizou", ChartKind::HoujinKaisyahou, true, 4},
                                           Books{"kojin", ChartKind::Kojin, false, 2},
                                           Books{"kojinSeizou", ChartKind::Kojin, true, 3}),
                         [](const ::testing::TestParamInfo<Books>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kivo

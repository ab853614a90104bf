// Invariants of the trial balance over generated journals on every chart.
#include <gtest/gtest.h>

#include "trial/TrialBooks.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {
namespace {

using test::ChartKind;
using test::GeneratedTrialBooksSize;
using test::makeGeneratedTrialBooks;

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
    const Shisan* assets = nullptr;
    for (const Shisan& r : bs)
      if (r.title() == assetsTitle) assets = &r;
    ASSERT_NE(assets, nullptr);
    // The balance sheet balances, at the start of the period and at its end.
    EXPECT_EQ(assets->syuuryouZandaka(), bs.back().syuuryouZandaka());
    EXPECT_EQ(assets->kaishiZandaka(), bs.back().kaishiZandaka());
    EXPECT_NE(assets->syuuryouZandaka(), 0);
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
  GeneratedTrialBooksSize size;
  size.shiwakeCount = 3000;
  size.jigyoubuCount = b.jigyoubuCount;
  auto doc = makeGeneratedTrialBooks(b.kind, b.seizou, size, 11);
  const int32_t n = static_cast<int32_t>(doc->kaisya().monthArray().size());
  for (auto [from, to] : {std::pair{0, n}, std::pair{3, 7}, std::pair{n, n}, std::pair{0, 0}}) {
    SCOPED_TRACE("months " + std::to_string(from) + " to " + std::to_string(to));
    checkInvariants(*doc, from, to, columnsOf(*doc));
  }
}

TEST(ZandakaShisanInvariantsTest, ADivisionMadeInactiveStillCountsInTheCompany)
{
  for (ChartKind kind : {ChartKind::HoujinOlder, ChartKind::HoujinKaisyahou, ChartKind::Kojin}) {
    SCOPED_TRACE(static_cast<int>(kind));
    GeneratedTrialBooksSize size;
    size.shiwakeCount = 1500;
    size.jigyoubuCount = 3;
    auto doc = makeGeneratedTrialBooks(kind, false, size, 5);
    // Opening balances that balance only for the company: the asset in division 1,
    // the capital in division 2. Then division 1 is no longer used.
    const KamokuPtr genkin = test::kamokuNamed(*doc, "現金");
    const KamokuPtr capital = test::kamokuNamed(*doc, kind == ChartKind::Kojin ? "元入金" : "資本金");
    genkin->setStartBalance(genkin->startBalanceOfJigyoubuCode(1) + 777, 1);
    capital->setStartBalance(capital->startBalanceOfJigyoubuCode(2) + 777, 2);
    doc->jigyoubuArray().front()->setIsActive(false);
    doc->makeAllOutputWindowDisplayArrayVoid();
    checkInvariants(*doc, 0, static_cast<int32_t>(doc->kaisya().monthArray().size()), {99});
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

// Invariants of the Companies-Act statements over generated journals: the balance
// sheet balances, the net profit is the trial balance's, and the statement of
// changes foots and closes on the balance sheet.
#include <gtest/gtest.h>

#include "statements/KaisyahouBooks.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {
namespace {

struct Books {
  const char* name;
  bool seizou;
  int jigyoubuCount;
  bool withReasons;
};

void PrintTo(const Books& b, std::ostream* os) { *os << b.name; }

class KaisyahouHoukokusyoInvariantsTest : public ::testing::TestWithParam<Books> {};

// The trial balance's profit for a run of months (the last index is the closing month).
int64_t trialBalanceProfit(MyDocument& doc, int32_t jigyoubu, int32_t from, int32_t to)
{
  ZandakaShisanAssembly a(doc);
  a.setZandakaShisanArrayForJigyoubuCode(jigyoubu, from, to, false);
  return test::rowTitled(a.sonekiKeisanShisanArray(), "　当期純損益").syuuryouZandaka();
}

TEST_P(KaisyahouHoukokusyoInvariantsTest, StatementsAgreeWithEachOtherAndTheTrialBalance)
{
  const Books& b = GetParam();
  test::GeneratedTrialBooksSize size;
  size.shiwakeCount = 3000;
  size.jigyoubuCount = b.jigyoubuCount;
  auto doc = test::makeGeneratedTrialBooks(test::ChartKind::HoujinKaisyahou, b.seizou, size, 7);
  if (b.withReasons) {
    // Equity entries spread over reasons of the user's, some left without one.
    doc->updateHendouReasonArray();
    const char* names[] = {"剰余金の配当", "新株の発行", ""};
    for (const char* n : names)
      if (*n) doc->hendouReasonArray().push_back(std::make_shared<HendouReason>(n));
    for (const HendouReasonPtr& r : doc->hendouReasonArray()) r->shiwakeArray().clear();  // assigned by name below
    int i = 0;
    for (const ShiwakePtr& s : doc->journal().sortedByDate()) s->setHendouReasonStr(names[i++ % 3]);
    doc->hendouReasonArrayDidChange();
    doc->updateHendouReasonArray();
  }
  const int64_t max = doc->kaisya().maxOutputAmountValue();
  const Kaisya& k = doc->kaisya();
  const int32_t months = static_cast<int32_t>(k.monthArray().size());
  struct Period {
    int32_t from, to;
  };
  std::vector<int32_t> divisions{99};
  if (b.jigyoubuCount > 0) divisions.push_back(b.jigyoubuCount);
  for (int32_t j : divisions)
    for (Period p : {Period{0, months}, Period{3, 7}, Period{5, months}, Period{months, months}}) {
      SCOPED_TRACE("division " + std::to_string(j) + ", months " + std::to_string(p.from) + " to " +
                   std::to_string(p.to));
      KaisyahouHoukokusyoOptions o;
      o.period.startDate =
          p.from == months ? Date::kessanSeiridukiDate() : k.monthArray()[static_cast<size_t>(p.from)].startDate();
      o.period.endDate =
          p.to == months ? Date::kessanSeiridukiDate() : k.monthArray()[static_cast<size_t>(p.to)].endDate();
      const KaisyahouHoukokusyoStatements st = test::statementsOf(*doc, o, j);
      test::expectStatementsAgree(st, max);
      EXPECT_EQ(st.kabunushiShihon.rowLabels.size(), b.withReasons ? 8u : 6u);
      ASSERT_FALSE(st.taisyakuTaisyouShisannobuShisanArray.empty());
      // The trial balance's profit is the closing one, earned since the term's start:
      // the closing column's; the period column's is what it grew by in the period.
      const int64_t closing = trialBalanceProfit(*doc, j, 0, p.to);
      EXPECT_EQ(st.toukiSonekiOfSyuuryouZandaka, closing);
      EXPECT_EQ(st.toukiSonekiOfTaisyakuBalance,
                p.from == 0 ? closing : closing - trialBalanceProfit(*doc, j, 0, p.from - 1));
      for (const auto* rows : {&st.taisyakuBalanceSonekiKeisanShisanArray, &st.taisyakuTaisyouShisannobuShisanArray,
                               &st.taisyakuTaisyouFusainobuShisanArray, &st.taisyakuBalanceSeizouGenkaShisanArray})
        for (const Shisan& r : *rows) {
          EXPECT_EQ(r.jigyoubuCode(), j);
          EXPECT_TRUE(r.kamokuCode() > 0 || (r.kamokuCode() <= -401 && r.kamokuCode() >= -405) || r.kamokuCode() == -1)
              << r.title() << " " << r.kamokuCode();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(GeneratedBooks, KaisyahouHoukokusyoInvariantsTest,
                         ::testing::Values(Books{"plain", false, 0, false}, Books{"seizouDivisions", true, 3, false},
                                           Books{"reasons", false, 2, true}, Books{"seizouReasons", true, 0, true}),
                         [](const ::testing::TestParamInfo<Books>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kivo

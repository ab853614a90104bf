// The register printout's figures: every asset row and every total foots (opening
// book value + increase - decrease - charges = closing book value), earlier decreases
// and removals included.
#include <gtest/gtest.h>

#include "assets/GenkasyoukyakuShisanListPrintLines.h"
#include "document/MyDocument.h"
#include "model/KamokuKubun.h"

namespace kivo::test {
namespace {

using G = GenkasyoukyakuShisan;
using Lines = GenkasyoukyakuShisanListPrintLines;

TEST(GenkasyoukyakuShisanListPrintLinesTest, RowsAndTotalsFootWithEarlierDecreasesAndRemovals)
{
  MyDocument doc;
  doc.kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
  doc.setRootKamokuKubun(KamokuKubun::rootKamokuKubunForKaisya(doc.kaisya()));
  doc.setSortedKamokuArray();
  const auto add = [&](const char* name, int64_t cost, int64_t ruikei, Date removed, int64_t futsuu) {
    auto a = std::make_shared<G>(G::kTeigakuHou);
    a->setName(name);
    a->setKamokuCode(155);
    a->setDateOfAdded(Date(2020, 4, 1));
    a->setSyutokuKagaku(cost);
    a->setKisyuSyoukyakugakuRuikei(ruikei);
    a->setTaiyouYears(6);
    a->setDateOfRemoved(removed);
    a->setFutsuuSyoukyakuhi(futsuu);
    doc.genkasyoukyakuShisanArray().push_back(a);
    return a;
  };
  // Decreased by 100,000 in an earlier term; removed in an earlier term; removed in
  // this term.
  add("減少済", 1'000'000, 400'000, Date(), 90'000)->decreaseArray().emplace_back(Date(2023, 10, 1), 100'000);
  add("除却済", 600'000, 200'000, Date(2023, 6, 30), 0);
  // Three years: half a year's charge of 50,100 takes the 50,000 entered.
  add("当期除却", 300'000, 100'000, Date(2024, 9, 30), 50'000)->setTaiyouYears(3);

  // Opening book value, decrease, charges, closing book value.
  using Figures = std::tuple<std::string, int64_t, int64_t, int64_t, int64_t>;
  std::vector<Figures> printed;
  for (const Lines::Line& l : Lines::linesOfDocument(doc, SyoukyakuKikan(doc.kaisya(), 0), 40)) {
    if (l.kind == Lines::Kind::Empty || l.kind == Lines::Kind::Title) continue;
    const Lines::Amounts& m = l.amounts;
    printed.emplace_back(l.name, m.kisyuCyoubokagaku, m.toukiGensyougaku, m.toukiSyoukyakuhiGoukei,
                         m.kimatsuCyoubokagaku);
    EXPECT_EQ(
        std::max<int64_t>(m.kisyuCyoubokagaku, 0) + m.toukiZoukagaku - m.toukiGensyougaku - m.toukiSyoukyakuhiGoukei,
        m.kimatsuCyoubokagaku)
        << l.name;
  }
  EXPECT_EQ(printed, (std::vector<Figures>{{"減少済", 500'000, 0, 90'000, 410'000},
                                           {"除却済", 0, 0, 0, 0},
                                           {"当期除却", 200'000, 150'000, 50'000, 0},
                                           {"小計", 700'000, 150'000, 140'000, 410'000},
                                           {"有形固定資産合計", 700'000, 150'000, 140'000, 410'000},
                                           {"合計", 700'000, 150'000, 140'000, 410'000}}));
}

}  // namespace
}  // namespace kivo::test

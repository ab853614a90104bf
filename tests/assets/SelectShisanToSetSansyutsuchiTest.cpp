#include <gtest/gtest.h>

#include "assets/SelectShisanToSetSansyutsuchi.h"

namespace kivo {
namespace {

using G = GenkasyoukyakuShisan;

TEST(SelectShisanToSetSansyutsuchiTest, OnlyOlderRuleStraightLineAndDecliningAssetsAreSet)
{
  const SyoukyakuKikan year(Date(2006, 4, 1), Date(2007, 3, 31), true, 0);
  auto asset = [](const char* method, bool olderRule, int64_t futsuu) {
    auto a = std::make_shared<G>(method);
    if (olderRule) a->setPListResource(GenkasyoukyakuShisan::kKyuuTableName);
    a->setSyutokuKagaku(1'000'000);
    a->setTaiyouYears(10);
    a->setDateOfAdded(Date(2005, 1, 1));
    a->setFutsuuSyoukyakuhi(futsuu);
    return a;
  };
  struct Case {
    GenkasyoukyakuShisanPtr asset;
    int64_t onlyZero, all;  // the ordinary charge after the command
  } cases[] = {
      {asset(G::kTeigakuHou, true, 0), 90'000, 90'000}, {asset(G::kTeigakuHou, true, 5'000), 5'000, 90'000},
      {asset(G::kTeiritsuHou, true, -1), -1, 206'000},  {asset(G::kTeigakuHou, false, 0), 0, 0},
      {asset(G::kKintouSyoukyaku, true, 0), 0, 0},
  };
  for (bool onlyZero : {true, false}) {
    std::vector<GenkasyoukyakuShisanPtr> assets;
    for (const Case& c : cases) { assets.push_back(std::make_shared<G>(*c.asset)); }
    const int changed = SelectShisanToSetSansyutsuchi::setSansyutsuchi(assets, year, onlyZero);
    EXPECT_EQ(changed, onlyZero ? 1 : 3);
    for (size_t i = 0; i < assets.size(); ++i)
      EXPECT_EQ(assets[i]->futsuuSyoukyakuhi(), onlyZero ? cases[i].onlyZero : cases[i].all) << i << onlyZero;
  }
}

}  // namespace
}  // namespace kivo

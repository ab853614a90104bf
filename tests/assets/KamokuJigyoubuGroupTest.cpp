// The register's grouping (no asset out of sight) and the move of assets by drag and
// drop (the objects themselves, in their new order, nothing duplicated).
#include <gtest/gtest.h>

#include "assets/KamokuJigyoubuGroup.h"
#include "trial/TrialBooks.h"

namespace kivo::test {
namespace {

using G = GenkasyoukyakuShisan;
using Ptr = GenkasyoukyakuShisanPtr;

class KamokuJigyoubuGroupTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc.kaisya().setIsHoujin(true);
    doc.setRootKamokuKubun(KamokuKubun::rootKamokuKubunForKaisya(doc.kaisya()));
    doc.setSortedKamokuArray();
  }
  Ptr add(const std::string& name, int32_t kamoku, int32_t hojyo, int32_t jigyoubu)
  {
    auto a = std::make_shared<G>(G::kTeigakuHou);
    a->setName(name);
    a->setKamokuCode(kamoku);
    a->setHojyoKamokuCode(hojyo);
    a->setJigyoubuCode(jigyoubu);
    doc.genkasyoukyakuShisanArray().push_back(a);
    return a;
  }
  // Groups as "kamoku/hojyo/jigyoubu:names" in outline order.
  std::vector<std::string> outline()
  {
    std::vector<std::string> rows;
    const auto row = [&](const KamokuJigyoubuGroup& g) {
      std::string s = std::to_string(g.kamokuCode()) + "/" + std::to_string(g.hojyoKamokuCode()) + "/" +
                      std::to_string(g.jigyoubuCode()) + ":";
      for (const Ptr& a : g.childrenAssets()) s += a->name();
      return s;
    };
    for (const KamokuJigyoubuGroup& g : KamokuJigyoubuGroup::groupsOfDocument(doc)) {
      rows.push_back(row(g));
      for (const KamokuJigyoubuGroup& d : g.childrenGroups()) rows.push_back(" " + row(d));
    }
    return rows;
  }
  std::string order()
  {
    std::string s;
    for (const Ptr& a : doc.genkasyoukyakuShisanArray()) s += a->name();
    return s;
  }

  MyDocument doc;
};

TEST_F(KamokuJigyoubuGroupTest, EveryAssetAppearsOnceEvenWhenItsSubAccountOrDivisionDoesNotFit)
{
  addHojyoKamoku(*doc.rootKamokuKubun()->matchKamokuCode("156"), 1, "本社");
  add("A", 156, 1, -1);
  add("B", 156, -1, -1);  // the account gained a sub-account after B was entered
  add("C", 155, -1, 3);
  add("D", 150, -1, -1);
  EXPECT_EQ(outline(), (std::vector<std::string>{"150/-1/-1:D", "155/-1/-1:C", "156/1/-1:A", "156/-2/-1:B"}));

  addJigyoubu(doc, 1);
  addJigyoubu(doc, 3, false);
  add("E", 155, -1, 1);
  // With a division in use, C (inactive division) and D (none) are unassigned.
  EXPECT_EQ(outline(),
            (std::vector<std::string>{"150/-2/-1:D", "155/-1/-1:", " 155/-1/1:E", "155/-2/-1:C", "156/-2/-1:AB"}));
  const auto groups = KamokuJigyoubuGroup::groupsOfDocument(doc);
  const KamokuJigyoubuGroup& division = groups[1].childrenGroups()[0];
  EXPECT_EQ(std::tuple(groups[0].title(doc), groups[0].acceptsDrop(doc), groups[1].acceptsDrop(doc),
                       division.acceptsDrop(doc), division.title(doc)),
            std::tuple("建物／未分類", false, false, true, "事業部1"));
}

TEST_F(KamokuJigyoubuGroupTest, MoveKeepsTheObjectsAndTheirDraggedOrder)
{
  // dragged: indexes into the initial assets A..E
  const std::tuple<const char*, std::vector<int>, size_t, const char*> cases[] = {
      // Group 155 holds C and D; A, B, E are of 150.
      {"two of another group to the top", {4, 0}, 0, "BEACD"},
      {"one to the end", {1}, 9, "AECDB"},
      {"within the group, down past its neighbour", {2}, 2, "ABEDC"},
      {"within the group, onto itself", {3}, 1, "ABECD"}};
  for (const auto& [name, draggedIndexes, index, expectedOrder] : cases) {
    doc.genkasyoukyakuShisanArray().clear();
    std::vector<Ptr> assets = {add("A", 150, -1, -1), add("B", 150, -1, -1), add("C", 155, -1, -1),
                               add("D", 155, -1, -1), add("E", 150, -1, 7)};
    std::vector<Ptr> dragged;
    for (int i : draggedIndexes) dragged.push_back(assets[i]);
    const KamokuJigyoubuGroup target(155, -1, -1);
    KamokuJigyoubuGroup::moveGenkasyoukyakuShisan(doc.genkasyoukyakuShisanArray(), {assets[2], assets[3]}, target,
                                                  index, dragged);
    EXPECT_EQ(order(), expectedOrder) << name;
    const auto& all = doc.genkasyoukyakuShisanArray();
    for (const Ptr& a : dragged)
      EXPECT_EQ(std::tuple(a->kamokuCode(), a->jigyoubuCode(), std::count(all.begin(), all.end(), a)),
                std::tuple(155, -1, 1))
          << name;
  }
}

}  // namespace
}  // namespace kivo::test

// The declaration's lines: only the assets of the year, the four totals by their
// rules, and no group heading on a page's last lines.
#include <gtest/gtest.h>

#include "assets/SyoukyakushisanShinkokusyoPrintLines.h"
#include "document/MyDocument.h"
#include "model/KamokuKubun.h"

namespace kivo::test {
namespace {

using G = GenkasyoukyakuShisan;
using Lines = SyoukyakushisanShinkokusyoPrintLines;

class SyoukyakushisanShinkokusyoPrintLinesTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc.setRootKamokuKubun(KamokuKubun::rootKamokuKubunForKaisya(doc.kaisya()));
    doc.setSortedKamokuArray();
  }
  void add(const std::string& name, int32_t kamoku, Date added, Date removed, int64_t cost, int32_t quantity = 1,
           const char* method = G::kTeigakuHou)
  {
    auto a = std::make_shared<G>(method);
    a->setName(name);
    a->setKamokuCode(kamoku);
    a->setDateOfAdded(added);
    a->setDateOfRemoved(removed);
    a->setSyutokuKagaku(cost);
    a->setQuantity(quantity);
    doc.genkasyoukyakuShisanArray().push_back(a);
  }
  MyDocument doc;
};

TEST_F(SyoukyakushisanShinkokusyoPrintLinesTest, YearListsItsAssetsWithTheFourTotals)
{
  add("A", 151, Date(2020, 5, 1), Date(), 100);
  add("B", 151, Date(2024, 6, 15), Date(2025, 3, 1), 200);
  add("C", 151, Date(2025, 2, 1), Date(), 400);                            // acquired after 2024
  add("D", 151, Date(2018, 4, 1), Date(2023, 12, 31), 800);                // removed before 2024
  add("E", 151, Date(2024, 4, 1), Date(), 1600, 1, G::kIkkatsuSyoukyaku);  // lump sum: never declared
  add("F", 151, Date(2024, 4, 1), Date(), 3200, 0);                        // printed, counted nowhere
  add("G", 155, Date(2024, 4, 1), Date(), 6400);                           // an account not declared
  const std::tuple<int, std::string, std::vector<int64_t>> cases[] = {
      {2024, "ABF", {100, 0, 200, 100}}, {2025, "ABCF", {300, 200, 400, 500}}, {2017, "", {}}};
  for (const auto& [year, expectedListed, expectedTotals] : cases) {
    const auto lines = Lines::linesOfDocument(doc, year, 40);
    std::string listed;
    std::vector<int64_t> totals;
    for (const auto& l : lines) {
      if (l.kind == Lines::Kind::Asset) listed += l.name;
      if (l.kind == Lines::Kind::Total) totals.push_back(l.syutokuKagaku);
    }
    // A year without assets prints nothing at all, not even a heading.
    EXPECT_EQ(std::tuple(listed, totals, lines.empty() ? std::string() : lines.front().name),
              std::tuple(expectedListed, expectedTotals, expectedListed.empty() ? "" : "建物附属設備"))
        << year;
  }
}

TEST_F(SyoukyakushisanShinkokusyoPrintLinesTest, GroupHeadingNeverStandsOnAPageFoot)
{
  add("A", 151, Date(2020, 5, 1), Date(), 100);
  add("B", 151, Date(2020, 5, 1), Date(), 100);
  add("C", 152, Date(2020, 5, 1), Date(), 100);
  // The first group takes lines 0 to 6 (heading, two assets, four totals); line 7 is
  // a blank, and 8 and 9 are too near the foot of a 10-line page for the next heading.
  const auto lines = Lines::linesOfDocument(doc, 2024, 10);
  ASSERT_EQ(lines.size(), 16u);
  for (size_t i : {7u, 8u, 9u}) EXPECT_EQ(lines[i].kind, Lines::Kind::Empty) << i;
  EXPECT_EQ(std::tuple(lines[10].kind, lines[10].name), std::tuple(Lines::Kind::Heading, "構築物"));
  // On a 20-line page the blank alone separates the groups.
  EXPECT_EQ(Lines::linesOfDocument(doc, 2024, 20)[8].kind, Lines::Kind::Heading);
}

}  // namespace
}  // namespace kivo::test

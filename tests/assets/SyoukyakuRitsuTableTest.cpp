#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/ShisanSyoukyaku.h"

namespace kivo {
namespace {

// The reference rates, read here with the plain library instead of the program's
// own reader, so that a misread cell shows up as a difference.
struct CsvRow {
  int life = 0;
  std::vector<double> cells;  // NAN for an empty cell
};

std::vector<CsvRow> readReferenceCsv()
{
  std::ifstream in(std::string(KIVO_RESOURCES_DIR) + "/depreciation-rates.csv");
  std::vector<CsvRow> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::stringstream ss(line);
    std::string cell;
    CsvRow row;
    std::getline(ss, cell, ',');
    row.life = std::stoi(cell);
    while (std::getline(ss, cell, ',')) row.cells.push_back(cell.empty() || cell == "\r" ? NAN : std::stod(cell));
    row.cells.resize(9, NAN);
    rows.push_back(row);
  }
  return rows;
}

int perThousand(double rate) { return std::isnan(rate) ? 0 : static_cast<int>(std::lround(rate * 1000)); }
int perHundredThousand(double rate) { return std::isnan(rate) ? -1 : static_cast<int>(std::lround(rate * 100000)); }

GenkasyoukyakuShisan assetOf(const char* method, bool olderRule, Date dateOfAdded, int life)
{
  GenkasyoukyakuShisan a(method);
  a.setPListResource(olderRule ? GenkasyoukyakuShisan::kKyuuTableName : GenkasyoukyakuShisan::kShin250TableName);
  a.setDateOfAdded(dateOfAdded);
  a.setTaiyouYears(life);
  return a;
}

TEST(SyoukyakuRitsuTableTest, EveryLifeAndMethodMatchesTheReferenceRatesAndTheRatesOutsideTheTables)
{
  const std::vector<CsvRow> rows = readReferenceCsv();
  ASSERT_EQ(rows.size(), 99u);
  const SyoukyakuKikan year(Date(2020, 1, 1), Date(2020, 12, 31), true, 0);
  const Date old(2006, 1, 1), in250(2010, 1, 1), in200(2015, 1, 1);
  using G = GenkasyoukyakuShisan;
  for (const CsvRow& r : rows) {
    const int n = r.life;
    SCOPED_TRACE(n);
    EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(assetOf(G::kTeigakuHou, true, old, n), year),
              perThousand(r.cells[0]));
    EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(assetOf(G::kTeiritsuHou, true, old, n), year),
              perThousand(r.cells[1]));
    EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(assetOf(G::kTeigakuHou, false, in250, n), year),
              perThousand(r.cells[2]));
    EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(assetOf(G::kTeigakuHou, false, in200, n), year),
              perThousand(r.cells[2]));
    for (const auto& [date, first] : {std::pair{in250, 3}, std::pair{in200, 6}}) {
      const GenkasyoukyakuShisan a = assetOf(G::kTeiritsuHou, false, date, n);
      EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(a, year), perThousand(r.cells[first]));
      EXPECT_EQ(ShisanSyoukyaku::kaiteiSyoukyakuRitsuPerThousand20070401ForKaisya(a, year),
                perThousand(r.cells[first + 1]));
      EXPECT_EQ(ShisanSyoukyaku::hosyouRitsuPerHundredThousand(a), perHundredThousand(r.cells[first + 2]));
    }
  }

  // The rates the tables do not hold; those of short terms are pinned by the charges
  // they give.
  const SyoukyakuKikan fiscal(Date(2020, 4, 1), Date(2021, 3, 31), true, 0);
  const Date newer(2013, 5, 1), older(2005, 5, 1);
  EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(assetOf(G::kTeigakuHou, false, newer, 1), fiscal), 0);
  EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(assetOf(G::kTeigakuHou, true, older, 1), fiscal), 1000);
  EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(assetOf(G::kIkkatsuSyoukyaku, false, newer, 3), fiscal),
            -1);
  // Older declining balance at a residual ratio the table does not hold: the law's
  // formula, 1 − 0.05^(1/10) = 0.2589 → 259 ‰.
  GenkasyoukyakuShisan residual5 = assetOf(G::kTeiritsuHou, true, older, 10);
  residual5.setZanzonWariai(5.0);
  EXPECT_EQ(ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(residual5, fiscal), 259);
  // The guarantee rate of an older-rule asset still comes from the newer tables.
  EXPECT_EQ(ShisanSyoukyaku::hosyouRitsuPerHundredThousand(assetOf(G::kTeiritsuHou, true, older, 10)), 4448);
  EXPECT_EQ(ShisanSyoukyaku::hosyouRitsuPerHundredThousand(assetOf(G::kTeigakuHou, false, newer, 10)), -1);
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/GenkasyoukyakuShisan.h"

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
  a.setPListResource(olderRule ? SyoukyakuRitsuTable::kKyuuTableName : SyoukyakuRitsuTable::kShin250TableName);
  a.setDateOfAdded(dateOfAdded);
  a.setTaiyouYears(life);
  return a;
}

TEST(SyoukyakuRitsuTableTest, EveryLifeAndMethodMatchesTheReferenceRates)
{
  const std::vector<CsvRow> rows = readReferenceCsv();
  ASSERT_EQ(rows.size(), 99u);
  const SyoukyakuKikan year(Date(2020, 1, 1), Date(2020, 12, 31), true, 0);
  const Date old(2006, 1, 1), in250(2010, 1, 1), in200(2015, 1, 1);
  using G = GenkasyoukyakuShisan;
  for (const CsvRow& r : rows) {
    const int n = r.life;
    SCOPED_TRACE(n);
    EXPECT_EQ(assetOf(G::kTeigakuHou, true, old, n).syoukyakuRitsuPerThousandForKaisya(year), perThousand(r.cells[0]));
    EXPECT_EQ(assetOf(G::kTeiritsuHou, true, old, n).syoukyakuRitsuPerThousandForKaisya(year), perThousand(r.cells[1]));
    EXPECT_EQ(assetOf(G::kTeigakuHou, false, in250, n).syoukyakuRitsuPerThousandForKaisya(year),
              perThousand(r.cells[2]));
    EXPECT_EQ(assetOf(G::kTeigakuHou, false, in200, n).syoukyakuRitsuPerThousandForKaisya(year),
              perThousand(r.cells[2]));
    for (const auto& [date, first] : {std::pair{in250, 3}, std::pair{in200, 6}}) {
      const GenkasyoukyakuShisan a = assetOf(G::kTeiritsuHou, false, date, n);
      EXPECT_EQ(a.syoukyakuRitsuPerThousandForKaisya(year), perThousand(r.cells[first]));
      EXPECT_EQ(a.kaiteiSyoukyakuRitsuPerThousand20070401ForKaisya(year), perThousand(r.cells[first + 1]));
      EXPECT_EQ(a.hosyouRitsuPerHundredThousand(), perHundredThousand(r.cells[first + 2]));
    }
  }
}

TEST(SyoukyakuRitsuTableTest, RatesOfTheTermAndTheirLimits)
{
  using G = GenkasyoukyakuShisan;
  const SyoukyakuKikan year(Date(2020, 4, 1), Date(2021, 3, 31), true, 0);
  const SyoukyakuKikan seven(Date(2020, 9, 1), Date(2021, 3, 31), true, 0);
  const SyoukyakuKikan six(Date(2006, 4, 1), Date(2006, 9, 30), true, 0);
  struct Case {
    const char* what;
    GenkasyoukyakuShisan asset;
    const SyoukyakuKikan& kikan;
    int32_t rate;
  } cases[] = {
      {"200 % life 10", assetOf(G::kTeiritsuHou, false, Date(2013, 5, 1), 10), year, 200},
      {"250 % life 10", assetOf(G::kTeiritsuHou, false, Date(2008, 5, 1), 10), year, 250},
      {"newer straight line, 7 months: 5833 raised to 59", assetOf(G::kTeigakuHou, false, Date(2013, 5, 1), 10), seven,
       59},
      {"older declining, 6 months: life 5 stretched to 10", assetOf(G::kTeiritsuHou, true, Date(2005, 5, 1), 5), six,
       206},
      {"older straight line, 6 months", assetOf(G::kTeigakuHou, true, Date(2005, 5, 1), 10), six, 50},
      {"newer 均等償却 uses the older straight-line rate", assetOf(G::kKintouSyoukyaku, false, Date(2013, 5, 1), 3),
       seven, 333},
      {"newer straight line life 1 has no rate", assetOf(G::kTeigakuHou, false, Date(2013, 5, 1), 1), year, 0},
      {"older straight line life 1 by the formula", assetOf(G::kTeigakuHou, true, Date(2005, 5, 1), 1), year, 1000},
      {"life 0 refused", assetOf(G::kTeigakuHou, false, Date(2013, 5, 1), 0), year, -1},
      {"life 101 refused", assetOf(G::kTeiritsuHou, true, Date(2005, 5, 1), 101), year, -1},
      {"一括償却 has no rate", assetOf(G::kIkkatsuSyoukyaku, false, Date(2013, 5, 1), 3), year, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.asset.syoukyakuRitsuPerThousandForKaisya(c.kikan), c.rate) << c.what;

  // Older declining balance at a residual ratio the table does not hold: the law's
  // formula, 1 − 0.05^(1/10) = 0.2589 → 259 ‰.
  GenkasyoukyakuShisan residual5 = assetOf(G::kTeiritsuHou, true, Date(2005, 5, 1), 10);
  residual5.setZanzonWariai(5.0);
  EXPECT_EQ(residual5.syoukyakuRitsuPerThousandForKaisya(year), 259);
  // The guarantee rate of an older-rule asset still comes from the newer tables.
  EXPECT_EQ(assetOf(G::kTeiritsuHou, true, Date(2005, 5, 1), 10).hosyouRitsuPerHundredThousand(), 4448);
  EXPECT_EQ(assetOf(G::kTeigakuHou, false, Date(2013, 5, 1), 10).hosyouRitsuPerHundredThousand(), -1);
}

}  // namespace
}  // namespace kivo

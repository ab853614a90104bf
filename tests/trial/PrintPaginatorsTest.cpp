// The page lines of the two trial-balance printouts.
#include <gtest/gtest.h>

#include "trial/SuiiShisanPrintPaginator.h"
#include "trial/ZandakaShisanPrintPaginator.h"

namespace kivo {
namespace {

// Rows from a pattern: 'h' heading, 't' total, 'r' account row.
std::vector<Shisan> rowsOf(const std::string& pattern)
{
  std::vector<Shisan> rows;
  for (char c : pattern) {
    Shisan s;
    s.setKamokuCode(c == 'h' ? ShisanHeadingRowCode : c == 't' ? ShisanTotalRowCode : 100);
    s.setTitle(std::string(1, c) + std::to_string(rows.size()));
    rows.push_back(s);
  }
  return rows;
}

// The lines as a pattern: 'p' period, '.' blank, else the row's title.
std::string linesOf(const ZandakaShisanPrintPaginator& p)
{
  std::string out;
  for (const auto& l : p.lines())
    out += l.kind == ZandakaShisanPrintPaginator::Line::Kind::Period  ? "p"
           : l.kind == ZandakaShisanPrintPaginator::Line::Kind::Empty ? "."
                                                                      : l.row->title();
  return out;
}

std::string linesOf(const SuiiShisanPrintPaginator& p)
{
  std::string out;
  for (const Shisan* l : p.lines()) out += l ? l->title() : ".";
  return out;
}

TEST(PrintPaginatorsTest, TrialBalancePages)
{
  const std::vector<Shisan> none;
  // lines: five a page
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"a period line opens every page", "rrrrrr", "pr0r1r2r3pr4r5.."},
      {"a heading does not stand on the last three lines", "rh", "pr0...ph1..."},
      {"a heading that would be fourth moves on", "rrrh", "pr0r1r2.ph3..."},
      {"a total that would open a page takes its row along", "rrrrt", "pr0r1r2.pr3t4.."},
      {"a total after a total opens the page alone", "rrrtt", "pr0r1r2t3pt4..."},
      // The first row of the section is a total: nothing before it is read.
      {"a total as the first row", "tr", "pt0r1.."}};
  for (const auto& [name, pattern, lines] : cases) {
    SCOPED_TRACE(name);
    const std::vector<Shisan> rows = rowsOf(pattern);
    const ZandakaShisanPrintPaginator p(rows, none, none, 5);
    EXPECT_EQ(std::tuple(linesOf(p), p.lines().size() % 5), std::tuple(lines, 0u));
  }
}

TEST(PrintPaginatorsTest, MonthlyColumnGroupsAndPageLines)
{
  const std::tuple<int64_t, int, std::vector<std::pair<int, int>>> cases[] = {
      {0, 1, {{0, 14}}},
      {-3, 1, {{0, 14}}},
      {99, 1, {{0, 14}}},
      {5, 3, {{0, 5}, {5, 10}, {10, 14}}},
      {3, 5, {{0, 3}, {3, 6}, {6, 9}, {9, 12}, {12, 14}}}};
  const std::vector<Shisan> bs = rowsOf("rrrrrrr"), none;
  for (const auto& [setting, groups, columns] : cases) {
    SCOPED_TRACE(setting);
    const SuiiShisanPrintPaginator p(bs, none, none, 5, 14, static_cast<int>(std::clamp<int64_t>(setting, -99, 99)));
    EXPECT_EQ(p.pagePerLine(), groups);
    for (int g = 0; g < groups; ++g) EXPECT_EQ(p.columnsOfGroup(g), columns[static_cast<size_t>(g)]);
    // Two blocks of rows, each printed once per group in turn.
    ASSERT_EQ(p.pageCount(), 2 * groups);
    for (int page = 0; page < p.pageCount(); ++page)
      EXPECT_EQ(p.pages()[static_cast<size_t>(page)].columnGroup, page % groups);
  }

  // The page lines.
  const std::tuple<std::string, std::string> lineCases[] = {
      {"rrh", "r0r1...h2...."}, {"rrrrrt", "r0r1r2r3.r4t5..."}, {"rrrrtt", "r0r1r2r3t4t5...."}, {"t", "t0...."}};
  for (const auto& [pattern, lines] : lineCases) {
    SCOPED_TRACE(pattern);
    const std::vector<Shisan> rows = rowsOf(pattern);
    const SuiiShisanPrintPaginator p(rows, none, none, 5, 14, 0);
    EXPECT_EQ(linesOf(p), lines);
  }
}

}  // namespace
}  // namespace kivo

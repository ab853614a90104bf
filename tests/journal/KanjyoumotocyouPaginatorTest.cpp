#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "journal/KanjyoumotocyouPaginator.h"
#include "journal/ShiwakenikkiPaginator.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

Motocyou row(int32_t kamoku, int32_t hojyo, int32_t index, int64_t zandaka = 0, const std::string& title = {})
{
  Motocyou m;
  m.setMotocyouKamokuCode(kamoku);
  m.setMotocyouHojyoKamokuCode(hojyo);
  m.setIndexOfSortedShiwakeArray(index);
  m.setZandaka(zandaka);
  m.setTitle(title);
  return m;
}

// A ledger written compactly: "O" opening, "E<balance>" an entry row, "T" a total.
std::vector<Motocyou> ledger(int32_t kamoku, int32_t hojyo, const std::string& shape)
{
  std::vector<Motocyou> rows;
  int index = 0;
  for (size_t i = 0; i < shape.size(); ++i) {
    const char c = shape[i];
    if (c == 'O') rows.push_back(row(kamoku, hojyo, Motocyou::kBalanceRow, 1000, "開始残高"));
    if (c == 'T') rows.push_back(row(kamoku, hojyo, Motocyou::kTotalRow, 0, "　合計"));
    if (c == 'E') {
      ++index;
      rows.push_back(row(kamoku, hojyo, index - 1, 1000 + 10 * index));
    }
  }
  return rows;
}

// The printout list in the same letters: "H" heading, "C<balance>" carried forward,
// "-" an empty line, "|" between pages.
std::string shapeOf(const KanjyoumotocyouPaginator& p)
{
  std::string s;
  const auto& rows = p.printingMotocyouArray();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0 && i % static_cast<size_t>(p.rowsPerPage()) == 0) s += '|';
    const auto& r = rows[i];
    const Motocyou& m = r.motocyou;
    if (r.isEmptyLine)
      s += '-';
    else if (m.indexOfSortedShiwakeArray() == Motocyou::kHeadingRow)
      s += 'H';
    else if (m.indexOfSortedShiwakeArray() == Motocyou::kTotalRow)
      s += 'T';
    else if (m.indexOfSortedShiwakeArray() == Motocyou::kBalanceRow)
      s += m.title() == KanjyoumotocyouPaginator::kKurikoshiTitle ? "C" + std::to_string(m.zandaka()) : "O";
    else
      s += 'E';
  }
  return s;
}

// 現金 (100) and the sub-account みずほ銀行 (1) of 普通預金 (103).
class LedgerPrintout : public ::testing::Test {
protected:
  std::unique_ptr<MyDocument> books = test::makeBooks({.hojyoKamoku = true});
  MyDocument& doc = *books;
};

TEST_F(LedgerPrintout, PagesRepeatTheHeadingCarryTheBalanceForwardAndAreNumbered)
{
  // What, the cash ledger, a second ledger or nothing, rows per page, the pages.
  // Entry n (1-based) carries the balance 1000 + 10n.
  const std::tuple<const char*, std::string, std::string, int, std::string> cases[] = {
      {"fits on one page", "OEET", "", 5, "HOEET"},
      {"a second ledger starts a new page", "OET", "OET", 5, "HOET-|HOET"},
      {"an entry opens the next page after the balance before it", "OEEEEET", "", 5, "HOEEE|HC1030EET"},
      {"the balance passes over a month's total", "OEETEET", "", 5, "HOEET|HC1020EET"},
      {"a total on a full page takes the entry before it along", "OEEETT", "", 5, "HOEE-|HC1020ETT"},
      {"a moved total row carries the entry before it", "OEEETTT", "", 6, "HOEEE-|HC1030TTT"},
      {"an empty ledger", "OT", "OT", 5, "HOT--|HOT"},
  };
  for (const auto& [what, genkin, yokin, rowsPerPage, pages] : cases) {
    std::vector<Motocyou> rows = ledger(100, -1, genkin);
    const std::vector<Motocyou> second = ledger(103, 1, yokin);
    rows.insert(rows.end(), second.begin(), second.end());
    EXPECT_EQ(shapeOf(KanjyoumotocyouPaginator(doc, rows, rowsPerPage)), pages) << what;
  }

  // Headings name the ledger and the title follows the first ledger; the printed page
  // carries the heading and the carried balance as well: tried on paper.
  const KanjyoumotocyouPaginator sub(doc, ledger(103, 1, "OET"), 5);
  EXPECT_EQ(sub.printingMotocyouArray()[0].motocyou.title(), "勘定科目：　普通預金 ／ みずほ銀行");
  EXPECT_TRUE(sub.isHojyomotocyou());
  EXPECT_FALSE(KanjyoumotocyouPaginator(doc, ledger(100, -1, "OET"), 5).isHojyomotocyou());
  // The period text of the balance rows.
  EXPECT_EQ(KanjyoumotocyouPaginator::periodText(doc.kaisya(), 2, 2), "6月");
  EXPECT_EQ(KanjyoumotocyouPaginator::periodText(doc.kaisya(), 0, 12), "4月 〜 決算整理月");
  EXPECT_EQ(KanjyoumotocyouPaginator::periodText(doc.kaisya(), 12, 12), "決算整理月");

  // Page numbers per ledger or continuous from the start number.
  // Two ledgers of three and two pages.
  std::vector<Motocyou> rows = ledger(100, -1, "OEEEEEEEET");
  const std::vector<Motocyou> second = ledger(103, 1, "OEEEET");
  rows.insert(rows.end(), second.begin(), second.end());
  const KanjyoumotocyouPaginator p(doc, rows, 5);
  ASSERT_EQ(p.pageCount(), 5);
  // A start that would pass 99999 is ignored.
  const std::tuple<bool, int, std::vector<int>> numberings[] = {
      {false, 1, {1, 2, 3, 1, 2}},
      {false, 10, {10, 11, 12, 10, 11}},
      {true, 10, {10, 11, 12, 13, 14}},
      {true, 99996, {1, 2, 3, 4, 5}},
      {true, 99995, {99995, 99996, 99997, 99998, 99999}},
  };
  for (const auto& [continuous, start, expected] : numberings) {
    std::vector<int> numbers;
    for (int page = 0; page < p.pageCount(); ++page) numbers.push_back(p.pageNumber(page, continuous, start));
    EXPECT_EQ(numbers, expected) << continuous << " " << start;
  }

  // The rows of a page never run past the last row: 5 + 4 rows.
  const KanjyoumotocyouPaginator two(doc, ledger(100, -1, "OEEEET"), 5);
  ASSERT_EQ(two.pageCount(), 2);
  EXPECT_EQ(two.rowsOfPage(0), (PrintPaginator::RowRange{0, 5}));
  EXPECT_EQ(two.rowsOfPage(1), (PrintPaginator::RowRange{5, 9}));
  EXPECT_EQ(std::pair(two.rowsOfPage(2).size(), two.rowsOfPage(-1).size()), std::pair(size_t{0}, size_t{0}));
  // Heading and balance rows on lines 1 and 2, the column titles on 3, then the rows.
  EXPECT_EQ((std::vector{two.lineOfRow(0), two.lineOfRow(1), two.lineOfRow(2), two.lineOfRow(9), two.pageNumberLine()}),
            (std::vector{1, 2, 4, 6, 7}));
}

TEST(PrintPages, LinesThatFitTheBandsDecideRowsAndRefusalAndJournalEntriesNeverSplit)
{
  // 10 points of title and lines of 10 points under a 10-point margin at each edge.
  // Paper height, ledger rows, journal entries. 100: 7 lines below the title, 5
  // ledger rows fit exactly; 99.9: 6 lines, a ledger refuses; 150: 12 lines, 5 journal
  // entries fit exactly; 149: 11 lines, the journal refuses; 20: nothing fits.
  const std::tuple<double, int, int> cases[] = {
      {100.0, 5, 2}, {99.9, 4, 2}, {150.0, 10, 5}, {149.0, 9, 4}, {20.0, -2, 0}};
  for (const auto& [paperHeight, ledgerRows, journalEntries] : cases) {
    PrintBands bands;
    bands.geometry = {300.0, paperHeight, 10.0, 10.0, 10.0, 10.0};
    bands.titleHeight = 10.0;
    bands.lineHeight = 10.0;
    EXPECT_EQ(KanjyoumotocyouPaginator::rowsPerPageOfBands(bands), ledgerRows) << paperHeight;
    EXPECT_EQ(ShiwakenikkiPaginator::entriesPerPageOfBands(bands), journalEntries) << paperHeight;
  }

  // Journal entries take two lines and never split.
  const ShiwakenikkiPaginator p(11, 5);
  EXPECT_EQ(p.pageCount(), 3);
  EXPECT_EQ(p.rowsOfPage(2), (PrintPaginator::RowRange{10, 11}));
  // Below the two heading lines: entry 0 on lines 3 and 4, entry 4 on 11 and 12, and
  // entry 5 starts the next page on line 3 again.
  EXPECT_EQ((std::vector{p.firstLineOfEntry(0), p.firstLineOfEntry(4), p.firstLineOfEntry(5)}),
            (std::vector{3, 11, 3}));
  EXPECT_TRUE(ShiwakenikkiPaginator(3, 4).isTooSmall());
  EXPECT_EQ(ShiwakenikkiPaginator(0, 5).pageCount(), 0);
}

}  // namespace
}  // namespace kivo

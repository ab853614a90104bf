// The pages of a ledger printout (総勘定元帳／補助元帳): the builder's rows of one or
// several ledgers cut into pages of a fixed number of rows.
//
// Every ledger starts a new page; every page begins with a heading row
// ("勘定科目：　" and the account's name, " ／ " and the sub-account's name for a sub
// ledger) followed by the opening row or a carried-forward row ("繰越金額" with the
// balance of the last entry row before the page). A total row never opens a page by
// itself: when it would, the row before it moves to the next page with it. A page
// ended early (by a new ledger or a moved row) is filled with empty lines.
//
// On the page, the first two rows take lines 1 and 2 below the title, line 3 holds the
// column titles, the other rows lines 4 onwards and the page number the line after
// the last row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "journal/Motocyou.h"
#include "print/PrintPaginator.h"

namespace kivo {

class Kaisya;
class MyDocument;

class KanjyoumotocyouPaginator : public PrintPaginator {
public:
  static constexpr const char* kHeadingTitlePrefix = "勘定科目：　";
  static constexpr const char* kKurikoshiTitle = "繰越金額";

  // One row of the printout list: a ledger row, or an empty line that fills a page.
  struct Row {
    Motocyou motocyou;
    bool isEmptyLine = false;
    int ledger = 0;  // which ledger of the printout (0-based)
  };

  // rowsPerPage: the rows below the title that fit on a page besides the column-title
  // and page-number lines (see rowsPerPageOfBands).
  KanjyoumotocyouPaginator(const MyDocument& document, const std::vector<Motocyou>& motocyouArray, int rowsPerPage);

  static int rowsPerPageOfBands(const PrintBands& bands) { return bands.linesBelowTitle() - 2; }

  const std::vector<Row>& printingMotocyouArray() const { return rows_; }
  // "補助元帳" rather than "総勘定元帳": the printout's first row is of a sub ledger.
  bool isHojyomotocyou() const;
  // The line below the title band that list row r takes on its page.
  int lineOfRow(size_t r) const;
  int columnTitleLine() const { return 3; }
  int pageNumberLine() const { return rowsPerPage() + 2; }

  // The period as the opening and carried-forward rows print it: the first month's
  // name, and " 〜 " and the last month's name when they differ; the index equal to
  // the month count reads "決算整理月".
  static std::string periodText(const Kaisya& kaisya, int32_t periodFrom, int32_t periodTo);

protected:
  int firstPageOfSection(int page) const override;

private:
  bool isPageFull() const;
  Row headingRow(const MyDocument& document, const Motocyou& of, int ledger) const;
  // The balance of the nearest entry row of the ledger before list position at; false
  // when the ledger has none there.
  bool kurikoshiBalance(size_t at, int ledger, int64_t& balance) const;

  std::vector<Row> rows_;
  std::vector<int> firstPageOfLedgerOfPage_;
};

}  // namespace kivo

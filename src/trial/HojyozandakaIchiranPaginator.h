// The pages of the sub-account balance list printout (補助残高一覧表): the rows of one
// or several accounts' lists (HojyoZandaka) cut into pages of a fixed number of lines.
//
// Every account starts a new page, and every page begins with a heading line
// ("勘定科目：　" and the account's name, with the division's name in full-width
// brackets unless it is the whole company) and a line naming the period. A total row
// never opens a page by itself: when it would, the row before it moves to the next
// page with it. A page ended early is filled with empty lines.
//
// On the page, the heading and the period take lines 1 and 2 below the title, line 3
// holds the column titles, the other rows lines 4 onwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "print/PrintPaginator.h"
#include "trial/Shisan.h"

namespace kivo {

class MyDocument;

class HojyozandakaIchiranPaginator : public PrintPaginator {
public:
  static constexpr const char* kHeadingTitlePrefix = "勘定科目：　";

  struct Row {
    enum class Kind { Heading, Period, Shisan, Empty };
    Kind kind = Kind::Empty;
    Shisan shisan;  // Heading and Period: its title is the line's text
  };

  // rowsPerPage: the rows below the title that fit on a page besides the column-title
  // line (see rowsPerPageOfBands).
  HojyozandakaIchiranPaginator(const MyDocument& document, const std::vector<Shisan>& shisanArray, int32_t periodFrom,
                               int32_t periodTo, int rowsPerPage);

  static int rowsPerPageOfBands(const PrintBands& bands) { return bands.linesBelowTitle() - 1; }

  const std::vector<Row>& printingShisanArray() const { return rows_; }
  // The line below the title band that list row r takes on its page.
  int lineOfRow(size_t r) const;
  int columnTitleLine() const { return 3; }

  // "勘定科目：　売掛金", and "（営業部）" after it for a division.
  static std::string headingTitle(const MyDocument& document, int32_t jigyoubuCode, int32_t kamokuCode);

private:
  bool isPageFull() const;
  void startPage(const Shisan& of);

  const MyDocument& document_;
  std::string periodText_;
  std::vector<Row> rows_;
};

}  // namespace kivo

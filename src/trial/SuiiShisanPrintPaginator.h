// The pages of the monthly trial-balance printout. A row has n + 2 amount columns;
// they are printed in column groups of monthPerPage ("SuiiShisan Print Month Per
// Page"; 0, or more than there are columns, puts all of them in one group), and
// every page of rows is printed once per group, one group after the other, so page
// p of a section shows column group p modulo the number of groups. Each section
// (balance sheet, income statement, manufacturing cost) has pages of its own; a
// heading never stands on the last three lines of a page and a total row never
// opens a page alone. Which sections are printed is chosen in the print panel,
// after the layout.
#pragma once

#include <cstdint>
#include <vector>

#include "print/PrintPaginator.h"
#include "trial/Shisan.h"

namespace kivo {

class SuiiShisanPrintPaginator : public PrintPaginator {
public:
  enum class Section { TaisyakuTaisyou, SonekiKeisan, SeizouGenka };
  struct Page {
    Section section;
    int columnGroup;
    size_t firstLine;  // into lines(): linesPerPage lines
  };

  // The columns per page group as used: the stored setting held to 0..columnCount,
  // 0 meaning all of them.
  static int monthPerPageOfSetting(int64_t setting, int columnCount);

  // The rows must outlive the paginator.
  SuiiShisanPrintPaginator(const std::vector<Shisan>& taisyakuTaisyou, const std::vector<Shisan>& sonekiKeisan,
                           const std::vector<Shisan>& seizouGenka, int linesPerPage, int columnCount, int monthPerPage);

  int monthPerPage() const { return monthPerPage_; }
  int pagePerLine() const { return pagePerLine_; }
  // Each page's lines: a row, or nullptr for a blank line.
  const std::vector<const Shisan*>& lines() const { return lines_; }
  const std::vector<Page>& pages() const { return pages_; }
  // The amount columns of a group: [first, end).
  std::pair<int, int> columnsOfGroup(int columnGroup) const;
  std::vector<int> chosenPages(bool taisyakuTaisyou, bool sonekiKeisan, bool seizouGenka) const;

private:
  void layoutSection(const std::vector<Shisan>& rows, Section section);

  int columnCount_;
  int monthPerPage_;
  int pagePerLine_;
  std::vector<const Shisan*> lines_;
  std::vector<Page> pages_;
};

}  // namespace kivo

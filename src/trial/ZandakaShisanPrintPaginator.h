// The pages of the trial-balance printout: the balance sheet, the income statement
// and the manufacturing cost, each on pages of its own. Every page opens with a
// period line (the months printed); a heading never stands on the last three lines
// of a page, and a total row never opens a page alone: the row before it comes
// along, leaving a blank line behind. Which sections are printed is chosen in the
// print panel, after the layout: chosenPages answers the pages of the sections
// ticked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "print/PrintPaginator.h"
#include "trial/Shisan.h"

namespace kivo {

class Kaisya;

class ZandakaShisanPrintPaginator : public PrintPaginator {
public:
  enum class Section { TaisyakuTaisyou, SonekiKeisan, SeizouGenka };
  struct Line {
    enum class Kind { Row, Period, Empty };
    Kind kind = Kind::Empty;
    const Shisan* row = nullptr;
  };

  // The rows must outlive the paginator.
  ZandakaShisanPrintPaginator(const std::vector<Shisan>& taisyakuTaisyou, const std::vector<Shisan>& sonekiKeisan,
                              const std::vector<Shisan>& seizouGenka, int linesPerPage);

  const std::vector<Line>& lines() const { return lines_; }
  Section sectionOfPage(int page) const { return sectionOfPage_[static_cast<size_t>(page)]; }
  // The pages of the ticked sections, in order.
  std::vector<int> chosenPages(bool taisyakuTaisyou, bool sonekiKeisan, bool seizouGenka) const;

  // The period line: the first month's name (決算整理月 for the closing-adjustment
  // month), and " 〜 " and the last month's when they differ.
  static std::string periodTitle(const Kaisya& kaisya, int32_t periodFrom, int32_t periodTo);
  // The lines below the title band: the period line and the rows, less the
  // column-title line.
  static int linesPerPageOfBands(const PrintBands& bands);

private:
  void layoutSection(const std::vector<Shisan>& rows, Section section);

  std::vector<Line> lines_;
  std::vector<Section> sectionOfPage_;
};

}  // namespace kivo

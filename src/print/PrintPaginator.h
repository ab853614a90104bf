// The layout every printout shares, as plain numbers: the paper and its margins in
// points, a title band and lines of equal height below it, and a list of rows cut
// into pages of a fixed number of rows. A printout derives its own paginator, fills
// the row list (adding the heading, carried-forward and empty rows its pages need)
// and the window layer draws each page from the rows the paginator gives it.
//
// Coordinates are in points with y growing downwards from the top edge of the paper.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kivo {

// The paper and its margins, in points.
struct PrintPageGeometry {
  double paperWidth = 595.0;  // A4
  double paperHeight = 842.0;
  double leftMargin = 0.0;
  double rightMargin = 0.0;
  double topMargin = 0.0;
  double bottomMargin = 0.0;

  double printableWidth() const { return paperWidth - leftMargin - rightMargin; }
  double printableHeight() const { return paperHeight - topMargin - bottomMargin; }
};

// A rectangle on the page, in points.
struct PrintRect {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;

  double bottom() const { return y + height; }
  double right() const { return x + width; }
  bool operator==(const PrintRect&) const = default;
};

class PrintPaginator {
public:
  // Fewer rows than this on a page and the printout is refused ("印刷できません").
  static constexpr int kMinimumRowsPerPage = 5;
  // The highest page number that is printed; a start number that would pass it is
  // ignored.
  static constexpr int kMaxPageNumber = 99999;

  virtual ~PrintPaginator() = default;

  int rowsPerPage() const { return rowsPerPage_; }
  size_t rowCount() const { return rowCount_; }
  // The row count divided by the rows per page, rounded up (0 for no rows).
  int pageCount() const;
  bool isTooSmall() const { return rowsPerPage_ < kMinimumRowsPerPage; }

  // The rows of the 0-based page: [first, end). Never past the last row, so a short
  // last page (or a page asked for beyond the end) draws only the rows that exist.
  struct RowRange {
    size_t first = 0;
    size_t end = 0;
    size_t size() const { return end - first; }
    bool operator==(const RowRange&) const = default;
  };
  RowRange rowsOfPage(int page) const;

  // The printed number of the 0-based page: continuous numbering counts every page,
  // otherwise each section (a ledger) is numbered from 1. The start number moves the
  // first number of each count to it, unless the printout's highest number would then
  // pass kMaxPageNumber.
  int pageNumber(int page, bool continuous, int startNumber) const;

  // The whole lines of lineHeight that fit in the height (0 when none does).
  static int linesThatFit(double height, double lineHeight);

protected:
  explicit PrintPaginator(int rowsPerPage) : rowsPerPage_(rowsPerPage) {}
  void setRowCount(size_t n) { rowCount_ = n; }
  // The first page of the section (a ledger) the page belongs to; the pages of a
  // section stand together. The whole printout is one section by default.
  virtual int firstPageOfSection(int /*page*/) const { return 0; }

private:
  int rowsPerPage_;
  size_t rowCount_ = 0;
};

}  // namespace kivo

namespace kivo {

// The bands of a page: a title band below the top margin, then lines of equal height,
// all starting at the left margin and as wide as the table.
struct PrintBands {
  PrintPageGeometry geometry;
  double titleHeight = 0.0;
  double lineHeight = 0.0;
  double tableWidth = 0.0;

  PrintRect titleRect() const { return {geometry.leftMargin, geometry.topMargin, tableWidth, titleHeight}; }
  // Line n (1-based) below the title band.
  PrintRect lineRect(int n) const
  {
    return {geometry.leftMargin, geometry.topMargin + titleHeight + (n - 1) * lineHeight, tableWidth, lineHeight};
  }
  // The lines below the title band that fit above the bottom margin.
  int linesBelowTitle() const;
  // Whether the table lies between the side margins, its frame's right rule too: the
  // rule is a point wide and centred on the table's edge. A table that does not fit
  // is refused rather than printed with its right columns cut off at the paper's edge.
  bool fitsAcross() const { return tableWidth + kFrameOverhang <= geometry.printableWidth(); }
  static constexpr double kFrameOverhang = 0.5;
};

}  // namespace kivo

// A table printout laid out in bands (PrintBands): a title band below the top margin,
// then lines of one height, the table as wide as its columns. The fonts shrink until
// the table fits between the margins (TablePrintLayout), and paper on which it does
// not fit even at the smallest fonts is refused; the title band and the lines are
// their text's height and 8 points.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <functional>

#include "platform/PrintOperation.h"
#include "print/PrintPaginator.h"

class QFontMetricsF;

namespace kivo {

class BandedTablePrintView : public Printout {
public:
  const PrintBands& bands() const { return bands_; }
  int titleTextSize() const { return titleTextSize_; }
  int dataTextSize() const { return dataTextSize_; }

protected:
  explicit BandedTablePrintView(const QPageLayout& layout);

  // Shrinks the fonts, down to the smallest data size, until the table the measure
  // lays out at the data font (it answers the table's width) fits.
  void fitTable(int smallestDataSize, const std::function<double(const QFontMetricsF& data)>& measure);
  // Whether the paper cannot hold the printout: the table still wider than the margins
  // leave at the smallest fonts, or fewer than PrintPaginator::kMinimumRowsPerPage
  // lines a page. A refusal shows the alert "印刷できません" first.
  bool refusesPaper(int linesPerPage) const;

  PrintBands bands_;
  int titleTextSize_ = 0;
  int dataTextSize_ = 0;
  QFont titleFont_;
  QFont dataFont_;
};

}  // namespace kivo

#include "journal/gui/BandedTablePrintView.h"

#include <QFontMetricsF>

#include "platform/PrintInfo.h"
#include "platform/TablePrintLayout.h"

namespace kivo {

BandedTablePrintView::BandedTablePrintView(const QPageLayout& layout)
{
  bands_.geometry = PrintInfo::geometryOfPageLayout(layout);
}

void BandedTablePrintView::fitTable(int smallestDataSize,
                                    const std::function<double(const QFontMetricsF& data)>& measure)
{
  const TablePrintLayout::Fonts fonts = TablePrintLayout::shrinkToFit(
      bands_.geometry.printableWidth(), smallestDataSize, [&](const QFontMetricsF& tm, const QFontMetricsF& dm) {
        bands_.titleHeight = tm.height() + 8.0;
        bands_.lineHeight = dm.height() + 8.0;
        return bands_.tableWidth = measure(dm);
      });
  titleFont_ = fonts.title;
  dataFont_ = fonts.data;
  titleTextSize_ = fonts.titleSize;
  dataTextSize_ = fonts.dataSize;
}

bool BandedTablePrintView::refusesPaper(int linesPerPage) const
{
  if (bands_.fitsAcross() && linesPerPage >= PrintPaginator::kMinimumRowsPerPage) return false;
  TablePrintLayout::alertCannotPrint(TablePrintLayout::kTooSmallMessage);
  return true;
}

}  // namespace kivo

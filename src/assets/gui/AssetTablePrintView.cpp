#include "assets/gui/AssetTablePrintView.h"

#include <QPainter>
#include <algorithm>

#include "document/MyDocument.h"
#include "fields/WarekiDateFormatter.h"
#include "platform/PrintInfo.h"
#include "platform/QtStrings.h"
#include "platform/StringDrawing.h"

namespace kivo {

AssetTablePrintView::AssetTablePrintView(const MyDocument& document, const QPageLayout& layout)
    : document_(document), geometry_(PrintInfo::geometryOfPageLayout(layout))
{
  dateFormatter_ = std::make_unique<WarekiDateFormatter>();
  dateFormatter_->setIsWareki(document.kaisya().doUseWareki());
}

AssetTablePrintView::~AssetTablePrintView() = default;

void AssetTablePrintView::fitTable(const TablePrintLayout::Measure& measure)
{
  const TablePrintLayout::Fonts fonts = TablePrintLayout::shrinkToFit(
      geometry_.printableWidth(), 5,
      [&](const QFontMetricsF& tm, const QFontMetricsF& dm) { return totalWidth_ = measure(tm, dm); });
  titleFont_ = fonts.title;
  dataFont_ = fonts.data;
  scale_ = std::min(1.0, geometry_.printableWidth() / (totalWidth_ + 0.5));
}

bool AssetTablePrintView::fitEntriesPerPage(int headingLines, int entryLines, int minimumEntries)
{
  const double h = geometry_.printableHeight() / scale_ - titleHeight_ - headingLines * lineHeight_;
  linesPerPage_ = static_cast<int>(h / (entryLines * lineHeight_));
  if (linesPerPage_ > minimumEntries) return true;
  TablePrintLayout::alertCannotPrint(TablePrintLayout::kTooSmallMessage);
  return false;
}

void AssetTablePrintView::countPages(size_t lines)
{
  pages_ = static_cast<int>((lines + linesPerPage_ - 1) / linesPerPage_);
}

double AssetTablePrintView::beginPage(QPainter& painter, int page, const char* title, const QString& periodText) const
{
  const double X = geometry_.leftMargin;
  const double W = totalWidth_;
  const double L = lineHeight_;
  const double T = geometry_.topMargin;
  painter.save();
  painter.translate(X, T);
  painter.scale(scale_, scale_);
  painter.translate(-X, -T);
  TablePrintLayout::drawTitleBand(painter, titleFont_, qs(title), QRectF(X, T, W, titleHeight_), dataFont_);
  const double companyY = T + titleHeight_;
  StringDrawing::drawStringLeftedIn(painter, qs(document_.kaisya().name()), QRectF(X, companyY, W, L));
  StringDrawing::drawStringRightedIn(painter, periodText + QString::asprintf("　　　%d / %d ページ", page + 1, pages_),
                                     QRectF(X, companyY, W, L));
  return companyY + L;
}

}  // namespace kivo

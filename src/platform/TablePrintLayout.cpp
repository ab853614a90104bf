#include "platform/TablePrintLayout.h"

#include <QFontMetricsF>
#include <QPainter>

#include "platform/AlertSheet.h"
#include "platform/PrintFonts.h"
#include "platform/StringDrawing.h"

namespace kivo {

TablePrintLayout::Fonts TablePrintLayout::shrinkToFit(double printableWidth, int smallestDataSize,
                                                      const Measure& measure)
{
  const QString helvetica = QString::fromUtf8(PrintFonts::kHelvetica);
  Fonts fonts;
  int title = 19;
  int data = 17;
  double width = 0.0;
  do {
    --title;
    --data;
    fonts.title = PrintFonts::printFont(helvetica, title);
    fonts.data = PrintFonts::printFont(helvetica, data);
    width = measure(QFontMetricsF(fonts.title), QFontMetricsF(fonts.data));
  } while (width + 0.5 > printableWidth && data > smallestDataSize);
  fonts.titleSize = title;
  fonts.dataSize = data;
  return fonts;
}

void TablePrintLayout::drawTitleBand(QPainter& painter, const QFont& titleFont, const QString& title,
                                     const QRectF& band, const QFont& dataFont)
{
  painter.setPen(Qt::black);
  painter.setFont(titleFont);
  StringDrawing::drawStringCenteredIn(painter, title, band);
  painter.setFont(dataFont);
}

void TablePrintLayout::alertCannotPrint(const char* message)
{
  AlertSheet::runAlert(QString::fromUtf8(AlertSheet::kCannotPrintTitle), QString::fromUtf8(message));
}

void TablePrintLayout::strokeFrameAndRules(QPainter& painter, const std::vector<QLineF>& frame,
                                           const std::vector<QLineF>& rules)
{
  QPen pen(Qt::black);
  pen.setWidthF(1.0);
  painter.setPen(pen);
  painter.drawLines(frame.data(), static_cast<int>(frame.size()));
  pen.setWidthF(0.5);
  painter.setPen(pen);
  painter.drawLines(rules.data(), static_cast<int>(rules.size()));
}

}  // namespace kivo

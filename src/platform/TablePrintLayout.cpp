#include "platform/TablePrintLayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "platform/AlertSheet.h"
#include "platform/PrintFonts.h"
#include "platform/StringDrawing.h"
#include "print/PrintPaginator.h"

namespace kivo {
namespace {

// The lines with the pieces of one rule that meet or overlap joined: a table strokes
// the same rules row after row. One stroke of several lines covers their union, so
// the page looks the same and holds a few long lines rather than many short ones.
std::vector<QLineF> joined(const std::vector<QLineF>& lines)
{
  struct Piece {
    bool vertical;
    double at;
    double from;
    double to;
  };
  std::vector<Piece> pieces;
  std::vector<QLineF> out;
  for (const QLineF& l : lines) {
    if (l.x1() == l.x2() && l.y1() != l.y2())
      pieces.push_back({true, l.x1(), std::min(l.y1(), l.y2()), std::max(l.y1(), l.y2())});
    else if (l.y1() == l.y2() && l.x1() != l.x2())
      pieces.push_back({false, l.y1(), std::min(l.x1(), l.x2()), std::max(l.x1(), l.x2())});
    else
      out.push_back(l);
  }
  std::sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) {
    if (a.vertical != b.vertical) return a.vertical < b.vertical;
    return a.at != b.at ? a.at < b.at : a.from < b.from;
  });
  for (size_t i = 0; i < pieces.size();) {
    Piece p = pieces[i];
    for (++i; i < pieces.size() && pieces[i].vertical == p.vertical && pieces[i].at == p.at && pieces[i].from <= p.to;
         ++i)
      p.to = std::max(p.to, pieces[i].to);
    out.push_back(p.vertical ? QLineF(p.at, p.from, p.at, p.to) : QLineF(p.from, p.at, p.to, p.at));
  }
  return out;
}

}  // namespace

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
  } while (width + PrintBands::kFrameOverhang > printableWidth && data > smallestDataSize);
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
  const std::vector<QLineF> frameLines = joined(frame);
  painter.drawLines(frameLines.data(), static_cast<int>(frameLines.size()));
  pen.setWidthF(0.5);
  painter.setPen(pen);
  const std::vector<QLineF> ruleLines = joined(rules);
  painter.drawLines(ruleLines.data(), static_cast<int>(ruleLines.size()));
}

}  // namespace kivo

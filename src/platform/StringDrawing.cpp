#include "platform/StringDrawing.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kivo {
namespace {

// Draws with the text's box (not its baseline) at the given top-left corner.
void drawAt(QPainter& painter, const QString& string, qreal x, qreal top)
{
  const QFontMetricsF metrics(painter.font());
  painter.drawText(QPointF(x, top + metrics.ascent()), string);
}

qreal verticallyCentredTop(const QPainter& painter, const QRectF& rect)
{
  const QFontMetricsF metrics(painter.font());
  return rect.y() + (rect.height() - metrics.height()) / 2.0;
}

}  // namespace

void StringDrawing::drawStringCenteredIn(QPainter& painter, const QString& string, const QRectF& rect)
{
  const QFontMetricsF metrics(painter.font());
  const qreal x = rect.x() + (rect.width() - metrics.horizontalAdvance(string)) / 2.0;
  drawAt(painter, string, x, verticallyCentredTop(painter, rect));
}

QString StringDrawing::leftedString(const QPainter& painter, const QString& string, qreal width)
{
  const QFontMetricsF metrics(painter.font());
  QString s = string;
  while (!s.isEmpty() && metrics.horizontalAdvance(s) >= width - kInset) {
    // Never leave half of a surrogate pair behind.
    const bool pair = s.size() >= 2 && s.back().isLowSurrogate() && s.at(s.size() - 2).isHighSurrogate();
    s.chop(pair ? 2 : 1);
  }
  return s;
}

void StringDrawing::drawStringLeftedIn(QPainter& painter, const QString& string, const QRectF& rect)
{
  const QString s = leftedString(painter, string, rect.width());
  drawAt(painter, s, rect.x() + kInset, verticallyCentredTop(painter, rect));
}

void StringDrawing::drawStringRightedIn(QPainter& painter, const QString& string, const QRectF& rect)
{
  const QFontMetricsF metrics(painter.font());
  const qreal x = rect.x() + rect.width() - metrics.horizontalAdvance(string) - kInset;
  drawAt(painter, string, x, verticallyCentredTop(painter, rect));
}

}  // namespace kivo

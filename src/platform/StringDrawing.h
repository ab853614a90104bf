// Drawing one line of text into a cell rectangle of a report: centred, left-aligned
// with truncation, or right-aligned. The painter's font and pen are the attributes.
#pragma once

#include <QRectF>
#include <QString>

class QPainter;

namespace kivo {

class StringDrawing {
public:
  // Centred both ways in the rectangle; no clipping.
  static void drawStringCenteredIn(QPainter& painter, const QString& string, const QRectF& rect);
  // 3 points in from the left edge, centred vertically; characters are dropped from
  // the end while the text is not narrower than the width less 3.
  static void drawStringLeftedIn(QPainter& painter, const QString& string, const QRectF& rect);
  // Ending 3 points in from the right edge, centred vertically; never shortened.
  static void drawStringRightedIn(QPainter& painter, const QString& string, const QRectF& rect);

  // The text drawStringLeftedIn draws for the painter's font and the rectangle's width.
  static QString leftedString(const QPainter& painter, const QString& string, qreal width);

  static constexpr qreal kInset = 3.0;
};

}  // namespace kivo

// Drawing text into a cell rectangle of a report: one line centred, left-aligned with
// truncation or right-aligned, or centred and made to fit whole. The painter's font
// and pen are the attributes.
//
// The static functions draw at once. An object of the class holds a page's strings
// back and draws them when flushed (or destroyed), as one glyph run per font, pen and
// transformation: a PDF page then holds a text object per font rather than one per
// string, which is most of its size and of the time to write and compress it. Text
// held back comes out after whatever the page draws before the flush, so a page
// flushes before drawing over its text. The text is the same either way: each string
// is shaped as QPainter::drawText shapes it (TextShapeCache) and its glyphs placed
// where drawText places them. Painters other than PDF ones (the preview on screen),
// right-to-left painters, clipping painters and strings that are not plain draw with
// drawText at once.
#pragma once

#include <QPen>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <vector>

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
  // Centred both ways and whole within the rectangle less the insets at either side:
  // as drawStringCenteredIn when it fits, else drawn smaller, on one line or broken
  // into two of about the same width, whichever leaves the text larger.
  static void drawStringFittedIn(QPainter& painter, const QString& string, const QRectF& rect);

  // The text drawStringLeftedIn draws for the painter's font and the rectangle's width.
  static QString leftedString(const QPainter& painter, const QString& string, qreal width);

  static constexpr qreal kInset = 3.0;

  // Strings on the painter held back until flush.
  explicit StringDrawing(QPainter& painter);
  ~StringDrawing();
  StringDrawing(const StringDrawing&) = delete;
  StringDrawing& operator=(const StringDrawing&) = delete;

  void centeredIn(const QString& string, const QRectF& rect);
  void leftedIn(const QString& string, const QRectF& rect);
  void rightedIn(const QString& string, const QRectF& rect);
  void fittedIn(const QString& string, const QRectF& rect);
  // Draws what is held back.
  void flush();

  QPainter& painter() { return painter_; }

private:
  enum class Align { Centered, Lefted, Righted };
  struct Run {
    int font = 0;
    int state = 0;
    std::vector<quint32> indexes;
    std::vector<QPointF> positions;
  };
  struct State {
    QPen pen;
    QTransform transform;
  };

  void draw(const QString& string, const QRectF& rect, Align align);
  void drawUncached(const QString& string, const QRectF& rect, Align align);
  bool holdsBack() const;
  int currentState();
  Run& runOf(int font, int state);

  QPainter& painter_;
  bool pdf_ = false;
  std::vector<State> states_;
  std::vector<Run> runs_;
};

}  // namespace kivo

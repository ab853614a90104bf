// What the table printouts share: the title and data fonts that shrink a point at a
// time until the table fits between the margins, the refusal of paper too small to
// print on, the title band of a page, and the lines of a page stroked at its end (the
// frame at one point, the rules at half a point).
#pragma once

#include <QFont>
#include <QLineF>
#include <functional>
#include <vector>

class QFontMetricsF;
class QPainter;
class QRectF;
class QString;

namespace kivo {

class TablePrintLayout {
public:
  struct Fonts {
    QFont title;
    QFont data;
    int titleSize = 0;
    int dataSize = 0;
  };

  // Lays the table out at the fonts (the caller keeps its column widths and band
  // heights) and answers its width.
  using Measure = std::function<double(const QFontMetricsF& title, const QFontMetricsF& data)>;

  // Helvetica from 18 (title) and 16 (data) points, a point smaller each time the
  // table measured is wider than the printable width, until the data size reaches the
  // smallest. The fonts last measured are answered.
  static Fonts shrinkToFit(double printableWidth, int smallestDataSize, const Measure& measure);

  // The page's title centred in its band, in black; the data font is left set for
  // the rest of the page.
  static void drawTitleBand(QPainter& painter, const QFont& titleFont, const QString& title, const QRectF& band,
                            const QFont& dataFont);

  // The "印刷できません" alert with the sentence saying why.
  // The refusal of a printout the paper cannot hold.
  static constexpr const char* kTooSmallMessage = "設定している用紙の印刷できる範囲が小さすぎます。";
  static void alertCannotPrint(const char* message);

  // Strokes the frame at one point and the rules at half a point, in black.
  static void strokeFrameAndRules(QPainter& painter, const std::vector<QLineF>& frame,
                                  const std::vector<QLineF>& rules);
};

}  // namespace kivo

// The three cell-drawing helpers, checked on the pixels they paint.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "platform/StringDrawing.h"

namespace kivo {
namespace {

// The box of every non-white pixel.
QRect inkBounds(const QImage& image)
{
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 160) box |= QRect(x, y, 1, 1);
  return box;
}

struct Drawn {
  QRect ink;
  QString shown;
};

enum class Align { Centered, Lefted, Righted };

QFont cellFont()
{
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(16);
  return font;
}

Drawn draw(Align align, const QString& text, const QRectF& cell)
{
  QImage image(400, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setFont(cellFont());
  p.setPen(Qt::black);
  QString shown = text;
  switch (align) {
  case Align::Centered: StringDrawing::drawStringCenteredIn(p, text, cell); break;
  case Align::Lefted:
    StringDrawing::drawStringLeftedIn(p, text, cell);
    shown = StringDrawing::leftedString(p, text, cell.width());
    break;
  case Align::Righted: StringDrawing::drawStringRightedIn(p, text, cell); break;
  }
  p.end();
  return {inkBounds(image), shown};
}

TEST(StringDrawingTest, EachHelperPlacesTheTextInTheCellAsItsNameSaysAndOnlyLeftedShortens)
{
  const QRectF cell(50, 20, 200, 40);
  const QString text = QStringLiteral("HHHH");

  const Drawn centred = draw(Align::Centered, text, cell);
  ASSERT_FALSE(centred.ink.isNull());
  // Gaps left and right, top and bottom.
  EXPECT_NEAR(centred.ink.left() - cell.left(), cell.right() - centred.ink.right(), 3.0);
  EXPECT_NEAR(centred.ink.top() - cell.top(), cell.bottom() - centred.ink.bottom(), 4.0);

  const Drawn lefted = draw(Align::Lefted, text, cell);
  EXPECT_EQ(lefted.shown, text);
  // The text box starts 3 in; the ink starts a side bearing later.
  EXPECT_GE(lefted.ink.left(), cell.left() + 3);
  EXPECT_LE(lefted.ink.left(), cell.left() + 3 + 4);
  EXPECT_EQ(lefted.ink.top(), centred.ink.top());

  const Drawn righted = draw(Align::Righted, text, cell);
  EXPECT_LE(righted.ink.right() + 1, cell.right() - 3);
  EXPECT_GE(righted.ink.right() + 1, cell.right() - 3 - 4);
  EXPECT_EQ(righted.ink.top(), centred.ink.top());

  // Lefted drops characters until the longText fits; righted never shortens.
  const QString longText = QStringLiteral("現金預金普通預金定期預金");
  for (const qreal width : {400.0, 120.0, 60.0, 20.0, 3.0}) {
    SCOPED_TRACE(width);
    const QRectF cell(10, 10, width, 40);
    const Drawn lefted = draw(Align::Lefted, longText, cell);
    EXPECT_TRUE(longText.startsWith(lefted.shown));
    const QFontMetricsF metrics(cellFont());
    if (!lefted.shown.isEmpty()) { EXPECT_LT(metrics.horizontalAdvance(lefted.shown), width - 3); }
    // One more character would not have fitted.
    if (lefted.shown.size() < longText.size()) {
      EXPECT_GE(metrics.horizontalAdvance(longText.left(lefted.shown.size() + 1)), width - 3);
    }
    if (!lefted.ink.isNull()) { EXPECT_LE(lefted.ink.right(), cell.right()); }
  }
  // A character outside the basic plane is dropped whole.
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter p(&image);
  const QString astral = QStringLiteral("a") + QString::fromUcs4(U"\U00020B9F");
  const QString cut = StringDrawing::leftedString(p, astral, QFontMetricsF(p.font()).horizontalAdvance(astral) + 2);
  EXPECT_EQ(cut, QStringLiteral("a"));
  p.end();

  const Drawn overflowing = draw(Align::Righted, longText, QRectF(300, 10, 60, 40));
  EXPECT_LT(overflowing.ink.left(), 300);  // runs out of the cell on the left, whole
}

}  // namespace
}  // namespace kivo

// The three cell-drawing helpers, checked on the pixels they paint, and on a PDF page
// against the glyphs QPainter::drawText puts there.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTransform>
#include <algorithm>
#include <tuple>

#include "platform/PrintFonts.h"
#include "platform/StringDrawing.h"
#include "platform/TextShapeCache.h"
#include "support/PdfText.h"

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

// --- on a PDF page

// A glyph as a page's content stream shows it: font resource, size, glyph and its
// place on the page.
struct PlacedGlyph {
  QString font;
  double size;
  QString glyph;
  double x;
  double y;
};

// The glyphs of each page of a PDF file written by Qt, its text operators followed
// (q Q cm BT Tf Tm Td Tj ET).
std::vector<std::vector<PlacedGlyph>> glyphsOfPages(const QString& path)
{
  std::vector<std::vector<PlacedGlyph>> pages;
  for (const QList<QByteArray>& tokens : test::pdfPageContents(path)) {
    std::vector<PlacedGlyph> glyphs;
    std::vector<QTransform> saved;
    QTransform ctm, line, text;
    QString font;
    double size = 0;
    std::vector<double> operands;
    for (const QByteArray& t : tokens) {
      const auto operand = [&](size_t i) { return operands[operands.size() - 6 + i]; };
      if (t == "q") {
        saved.push_back(ctm);
      } else if (t == "Q" && !saved.empty()) {
        ctm = saved.back();
        saved.pop_back();
      } else if (t == "cm" && operands.size() >= 6) {
        ctm = QTransform(operand(0), operand(1), operand(2), operand(3), operand(4), operand(5)) * ctm;
      } else if (t == "Tm" && operands.size() >= 6) {
        line = text = QTransform(operand(0), operand(1), operand(2), operand(3), operand(4), operand(5));
      } else if (t == "Td" && operands.size() >= 2) {
        line = text = QTransform::fromTranslate(operands[operands.size() - 2], operands.back()) * line;
      } else if (t == "Tf" && !operands.empty()) {
        size = operands.back();
      } else if (t.startsWith("/F")) {
        font = QString::fromLatin1(t);
      } else if (t.startsWith('<') && t.endsWith('>')) {
        const QPointF at = (text * ctm).map(QPointF(0, 0));
        glyphs.push_back({font, size, QString::fromLatin1(t), at.x(), at.y()});
      }
      bool number = false;
      const double v = t.toDouble(&number);
      if (number)
        operands.push_back(v);
      else if (!t.startsWith('/'))
        operands.clear();
    }
    std::sort(glyphs.begin(), glyphs.end(), [](const PlacedGlyph& a, const PlacedGlyph& b) {
      return std::tie(a.y, a.x, a.font, a.glyph) < std::tie(b.y, b.x, b.font, b.glyph);
    });
    pages.push_back(std::move(glyphs));
  }
  return pages;
}

// The cell drawing as it was first written: measured with QFontMetricsF, drawn with
// drawText, a character dropped at a time until the text fits.
void drawAsFirstWritten(QPainter& painter, const QString& string, const QRectF& rect, int align)
{
  const QFontMetricsF metrics(painter.font());
  QString s = string;
  if (align == 0)
    while (!s.isEmpty() && metrics.horizontalAdvance(s) >= rect.width() - StringDrawing::kInset) {
      const bool pair = s.size() >= 2 && s.back().isLowSurrogate() && s.at(s.size() - 2).isHighSurrogate();
      s.chop(pair ? 2 : 1);
    }
  const qreal x = align == 0   ? rect.x() + StringDrawing::kInset
                  : align == 1 ? rect.x() + rect.width() - metrics.horizontalAdvance(s) - StringDrawing::kInset
                               : rect.x() + (rect.width() - metrics.horizontalAdvance(s)) / 2.0;
  const qreal top = rect.y() + (rect.height() - metrics.height()) / 2.0;
  painter.drawText(QPointF(x, top + metrics.ascent()), s);
}

TEST(StringDrawingTest, APdfPageGetsTheGlyphsDrawTextPutsThereWhetherHeldBackOrDrawnAtOnce)
{
  // Plain strings the cache shapes (names, amounts and dates, ligatures, trailing
  // spaces, a character outside the basic plane) and others drawn as before (a tab,
  // a soft hyphen, right-to-left letters, a combining mark).
  const QStringList strings = {QStringLiteral("現金預金普通預金定期預金"),
                               QStringLiteral("売上高 2024年4月分"),
                               QStringLiteral("office ffi fl"),
                               QStringLiteral("  spaced  "),
                               QStringLiteral("-1,234,567"),
                               QStringLiteral("04/01"),
                               QStringLiteral("12.5"),
                               QStringLiteral("㈱髙橋商店 ①123"),
                               QStringLiteral("a") + QString::fromUcs4(U"\U00020B9F") + QStringLiteral("b"),
                               QStringLiteral("tab\there"),
                               QStringLiteral("soft\u00ADhyphen"),
                               QStringLiteral("שלום abc"),
                               QStringLiteral("か\u3099き"),
                               QString()};
  const QList<qreal> widths = {400.0, 60.0, 25.0, 4.0};
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("cells.pdf"));
  {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    QPainter painter(&writer);
    painter.scale(1200 / 72.0, 1200 / 72.0);
    const auto page = [&](const std::function<void(const QString&, const QRectF&, int)>& draw) {
      for (const QFont& font : {PrintFonts::printFont(QString::fromUtf8(PrintFonts::kHelvetica), 8),
                                PrintFonts::printFont(QString::fromUtf8(PrintFonts::kHelvetica), 13)}) {
        painter.setFont(font);
        qreal y = font.pixelSize() == 8 ? 20.0 : 400.0;
        for (const QString& s : strings) {
          for (int align = 0; align < 3; ++align)
            for (int w = 0; w < widths.size(); ++w)
              draw(s, QRectF(20 + w * 130 + align * 2.3, y, widths[w], 17.0), align);
          y += 21.3;
        }
      }
    };
    page([&](const QString& s, const QRectF& r, int align) { drawAsFirstWritten(painter, s, r, align); });
    writer.newPage();
    {
      StringDrawing held(painter);
      page([&](const QString& s, const QRectF& r, int align) {
        if (align == 0) held.leftedIn(s, r);
        if (align == 1) held.rightedIn(s, r);
        if (align == 2) held.centeredIn(s, r);
      });
    }
    writer.newPage();
    page([&](const QString& s, const QRectF& r, int align) {
      if (align == 0) StringDrawing::drawStringLeftedIn(painter, s, r);
      if (align == 1) StringDrawing::drawStringRightedIn(painter, s, r);
      if (align == 2) StringDrawing::drawStringCenteredIn(painter, s, r);
    });
  }
  const std::vector<std::vector<PlacedGlyph>> pages = glyphsOfPages(path);
  ASSERT_EQ(pages.size(), 3u);
  ASSERT_GT(pages[0].size(), 500u);
  for (size_t p = 1; p < pages.size(); ++p) {
    SCOPED_TRACE(p);
    ASSERT_EQ(pages[p].size(), pages[0].size());
    for (size_t i = 0; i < pages[0].size(); ++i) {
      const PlacedGlyph& a = pages[0][i];
      const PlacedGlyph& b = pages[p][i];
      ASSERT_EQ(std::tie(a.font, a.size, a.glyph), std::tie(b.font, b.size, b.glyph)) << i;
      ASSERT_NEAR(a.x, b.x, 1e-6) << i;
      ASSERT_NEAR(a.y, b.y, 1e-6) << i;
    }
  }
}

TEST(StringDrawingTest, CachedMeasuresAreThoseOfQFontMetricsAndDigitsArePutTogether)
{
  const QFont font = PrintFonts::printFont(QString::fromUtf8(PrintFonts::kHelvetica), 9);
  const QFontMetricsF metrics(font);
  TextShapeCache& cache = TextShapeCache::shared();
  for (const QString& s :
       {QStringLiteral("現金"), QStringLiteral("摘要 "), QStringLiteral("office"), QStringLiteral("-98,765,432"),
        QStringLiteral("2024/03/31"), QStringLiteral("0.25"), QStringLiteral("科目100"), QString()}) {
    SCOPED_TRACE(s.toStdString());
    ASSERT_TRUE(TextShapeCache::isPlain(s));
    EXPECT_EQ(cache.shaped(font, s).advance, metrics.horizontalAdvance(s));
    EXPECT_EQ(cache.shaped(font, s).advance, metrics.horizontalAdvance(s));  // from the cache
  }
  EXPECT_TRUE(cache.composesDigits(font));
  for (const QString& s : {QStringLiteral("tab\t"), QStringLiteral("x\u200By"), QStringLiteral("عربي")})
    EXPECT_FALSE(TextShapeCache::isPlain(s)) << s.toStdString();
  cache.clear();
  EXPECT_EQ(cache.stringCount(), 0u);
}

}  // namespace
}  // namespace kivo

#include "statements/gui/StatementPageDrawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "model/Kaisya.h"
#include "model/Wareki.h"
#include "platform/PrintFonts.h"
#include "platform/StringDrawing.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Codes of the appropriation of profit: its head row when it has items, and the
// carried-forward row.
constexpr int32_t kRiekiSyobunanHeadRowCode = -410;
constexpr int32_t kJikiKurikoshiRowCode = -411;

// Lines collected while a page is drawn, stroked once at its end: the frame at one
// point, the rules at half a point.
struct Strokes {
  std::vector<QLineF> frame, rule;
  void stroke(QPainter& painter) const
  {
    QPen pen(Qt::black);
    pen.setWidthF(1.0);
    painter.setPen(pen);
    painter.drawLines(frame.data(), static_cast<int>(frame.size()));
    pen.setWidthF(0.5);
    painter.setPen(pen);
    painter.drawLines(rule.data(), static_cast<int>(rule.size()));
    painter.setPen(Qt::black);
  }
};

}  // namespace

QFont StatementPageDrawing::helvetica(int size)
{
  return PrintFonts::printFont(QString::fromUtf8(PrintFonts::kHelvetica), size);
}

QFont StatementPageDrawing::helveticaBold(int size)
{
  QFont f = helvetica(size);
  f.setBold(true);
  return f;
}

QFont StatementPageDrawing::courier(int size, bool bold)
{
  QFont f = PrintFonts::printFont(QString::fromUtf8(PrintFonts::kCourier), size);
  f.setBold(bold);
  return f;
}

double StatementPageDrawing::widthOf(const QFont& font, const QString& text)
{
  const QFontMetricsF m(font);
  double w = 0;
  for (const QString& line : text.split('\n')) w = std::max(w, m.horizontalAdvance(line));
  return w;
}

QString StatementPageDrawing::amountText(const Kaisya& kaisya, int64_t amount)
{
  if (kaisya.isOutputOverflow(amount)) return QString::fromUtf8(kOverflowText);
  return q(kaisya.displayStringOfMemoryKingaku(amount));
}

QString StatementPageDrawing::dateText(Date date, bool wareki)
{
  if (wareki) return q(Wareki::warekiDateStringWithJapaneseSeparater(date, true));
  return QString::asprintf("%d年%2d月%2d日", date.year(), date.month(), date.day());
}

QString StatementPageDrawing::printKikanString(const Kaisya& k)
{
  return QStringLiteral("自　") +
         dateText(k.termStartDateOfHoukokusyoCover(), k.doUseWarekiForTermStartDateOfHoukokusyoCover()) +
         QStringLiteral("  至　") +
         dateText(k.termEndDateOfHoukokusyoCover(), k.doUseWarekiForTermEndDateOfHoukokusyoCover());
}

QString StatementPageDrawing::dateLineOfTaisyakuTaisyou(const Kaisya& k)
{
  return dateText(k.termEndDateOfHoukokusyoCover(), k.doUseWarekiForTermEndDateOfHoukokusyoCover()) +
         QStringLiteral("現在");
}

void StatementPageDrawing::drawCoversheet(QPainter& painter, const Kaisya& k, const PrintPageGeometry& geometry)
{
  const double x0 = geometry.leftMargin + 1.0;
  const double y0 = geometry.topMargin + 1.0;
  const double w0 = geometry.printableWidth() - 2.0;
  const double h0 = geometry.printableHeight() - 2.0;
  const QRectF frame(x0, y0, w0, h0);
  QPen pen(Qt::black);
  pen.setWidthF(0.5);
  painter.setPen(pen);
  painter.drawRect(frame);
  painter.drawRect(frame.adjusted(2, 2, -2, -2));
  painter.setPen(Qt::black);
  const auto line = [&](const QString& text, const QFont& font, double top) {
    const double h = QFontMetricsF(font).height();
    const QRectF r(x0, top, w0, h);
    if (frame.contains(r)) {
      painter.setFont(font);
      StringDrawing::drawStringCenteredIn(painter, text, r);
    }
    return top + h;
  };
  double y = line(q(k.titleOfHoukokusyo()), helveticaBold(18), y0 + 150);
  y = line(QStringLiteral("第　%1　期").arg(k.termNo()), courier(13, true), y + 80);
  y = line(QStringLiteral("自　") +
               dateText(k.termStartDateOfHoukokusyoCover(), k.doUseWarekiForTermStartDateOfHoukokusyoCover()),
           courier(10), y + 20);
  y = line(QStringLiteral("至　") +
               dateText(k.termEndDateOfHoukokusyoCover(), k.doUseWarekiForTermEndDateOfHoukokusyoCover()),
           courier(10), y);
  line(q(k.address()), helvetica(8), y + 100);
  const QFont nameFont = helvetica(11);
  line(q(k.name()), nameFont, y0 + h0 - 80 - QFontMetricsF(nameFont).height());
}

void StatementPageDrawing::drawTwoColumns(QPainter& painter, const Kaisya& kaisya, const std::vector<Shisan>& rows,
                                          size_t first, size_t end, const RowRect& rowRect, int firstLine,
                                          const StatementTableGeometry& t)
{
  const double X = t.x, KW = t.kamokuWidth, TW = t.totalWidth, AW = t.kingakuWidth;
  Strokes s;
  for (size_t i = first; i < end; ++i) {
    const Shisan& row = rows[i];
    const QRectF r0 = rowRect(firstLine + static_cast<int>(i - first));
    const QRectF R(X, r0.top(), TW, r0.height());
    if (i == first) s.frame.emplace_back(X, R.top(), X + TW + 0.5, R.top());
    s.frame.emplace_back(X + 0.5, R.top(), X + 0.5, R.bottom());
    const int32_t code = row.kamokuCode();
    if (code == KaisyahouSectionRowCode) {
      painter.setFont(helveticaBold(11));
      StringDrawing::drawStringCenteredIn(painter, q(row.title()), QRectF(X, R.top(), KW, R.height()));
    } else {
      painter.setFont(helvetica(10));
      StringDrawing::drawStringLeftedIn(painter, q(row.title()), QRectF(X, R.top(), KW, R.height()));
    }
    painter.setFont(helvetica(10));
    s.rule.emplace_back(X + KW, R.top(), X + KW, R.bottom());
    if (code > 0 || code == KaisyahouComputedRowCode || code == KaisyahouBlockTotalRowCode) {
      if (code == KaisyahouBlockTotalRowCode) s.rule.emplace_back(X + KW + 0.5, R.top(), X + KW + 0.5 + AW, R.top());
      StringDrawing::drawStringRightedIn(painter, amountText(kaisya, row.houkokusyoAmount()),
                                         QRectF(X + KW, R.top(), AW, R.height()));
    }
    s.rule.emplace_back(X + KW + AW, R.top(), X + KW + AW, R.bottom());
    if (code == KaisyahouSubtotalRowCode || code == KaisyahouTotalRowCode || code == kRiekiSyobunanHeadRowCode ||
        code == kJikiKurikoshiRowCode) {
      if (code == KaisyahouSubtotalRowCode && i > 0 &&
          (rows[i - 1].kamokuCode() > 0 || rows[i - 1].kamokuCode() == KaisyahouComputedRowCode))
        s.rule.emplace_back(X + KW + 0.5, R.top(), X + KW + 0.5 + AW, R.top());
      if (code == KaisyahouTotalRowCode)
        s.rule.emplace_back(X + KW + AW + 0.5, R.top(), X + KW + 2 * AW + 0.5, R.top());
      if (code == kRiekiSyobunanHeadRowCode) s.rule.emplace_back(X + 0.5, R.bottom(), X + TW, R.bottom());
      if (code == kJikiKurikoshiRowCode) s.rule.emplace_back(X + 0.5, R.top(), X + TW, R.top());
      StringDrawing::drawStringRightedIn(painter, amountText(kaisya, row.houkokusyoAmount()),
                                         QRectF(X + KW + AW, R.top(), AW, R.height()));
    }
    s.frame.emplace_back(X + TW, R.top(), X + TW, R.bottom());
    if (i + 1 == end) s.frame.emplace_back(X, R.bottom(), X + TW + 0.5, R.bottom());
  }
  s.stroke(painter);
}

void StatementPageDrawing::drawHanbaihi(QPainter& painter, const Kaisya& kaisya, const std::vector<Shisan>& rows,
                                        size_t first, size_t end, const RowRect& rowRect, int firstLine,
                                        const StatementTableGeometry& t)
{
  const double X = t.x, KW = t.kamokuWidth, TW = t.totalWidth, AW = t.kingakuWidth;
  Strokes s;
  painter.setFont(helvetica(10));
  for (size_t i = first; i < end; ++i) {
    const Shisan& row = rows[i];
    const QRectF r0 = rowRect(firstLine + static_cast<int>(i - first));
    const QRectF R(X, r0.top(), TW, r0.height());
    if (i == first) s.frame.emplace_back(X, R.top(), X + TW + 0.5, R.top());
    s.frame.emplace_back(X + 0.5, R.top(), X + 0.5, R.bottom());
    StringDrawing::drawStringLeftedIn(painter, q(row.title()), QRectF(X, R.top(), KW, R.height()));
    s.rule.emplace_back(X + KW, R.top(), X + KW, R.bottom());
    if (row.kamokuCode() == KaisyahouSubtotalRowCode)
      s.rule.emplace_back(X + KW + 0.5, R.top(), X + KW + 0.5 + AW, R.top());
    StringDrawing::drawStringRightedIn(painter, amountText(kaisya, row.houkokusyoAmount()),
                                       QRectF(X + KW, R.top(), AW, R.height()));
    s.frame.emplace_back(X + TW, R.top(), X + TW, R.bottom());
    if (i + 1 == end) s.frame.emplace_back(X, R.bottom(), X + TW + 0.5, R.bottom());
  }
  s.stroke(painter);
}

void StatementPageDrawing::drawTaisyakuTaisyou(QPainter& painter, const Kaisya& kaisya, const std::vector<Shisan>& left,
                                               const std::vector<Shisan>& right, size_t first, size_t end,
                                               const RowRect& rowRect, int firstLine, const StatementTableGeometry& t)
{
  const double X = t.x, KW = t.kamokuWidth, TW = t.totalWidth, AW = t.kingakuWidth;
  const double MX = X + KW + AW;
  Strokes s;
  for (size_t i = first; i < end; ++i) {
    const QRectF r0 = rowRect(firstLine + static_cast<int>(i - first));
    const QRectF R(X, r0.top(), TW, r0.height());
    if (i == first) s.frame.emplace_back(X, R.top(), X + TW + 0.5, R.top());
    s.frame.emplace_back(X + 0.5, R.top(), X + 0.5, R.bottom());
    for (const auto* side : {&left, &right}) {
      const double S = side == &left ? X : MX;
      if (i < side->size()) {
        const Shisan& row = (*side)[i];
        if (row.kamokuCode() == KaisyahouSectionRowCode) {
          s.rule.emplace_back(S + 0.5, R.bottom(), S + 0.5 + KW + AW, R.bottom());
          if (i > first) s.rule.emplace_back(S + 0.5, R.top(), S + 0.5 + KW + AW, R.top());
          painter.setFont(helvetica(11));
          StringDrawing::drawStringCenteredIn(painter, q(row.title()), QRectF(S, R.top(), KW + AW, R.height()));
        } else {
          if (row.kamokuCode() == KaisyahouTotalRowCode) {
            s.rule.emplace_back(S + 0.5, R.top(), S + 0.5 + KW + AW, R.top());
            painter.fillRect(QRectF(S, R.top(), KW + AW + 0.5, R.height()), QColor(240, 240, 240));
          }
          painter.setFont(helvetica(10));
          StringDrawing::drawStringLeftedIn(painter, q(row.title()), QRectF(S, R.top(), KW, R.height()));
          if (!row.title().empty())
            StringDrawing::drawStringRightedIn(painter, amountText(kaisya, row.houkokusyoAmount()),
                                               QRectF(S + KW, R.top(), AW, R.height()));
        }
      }
      // The sides are parted by a rule; the frame goes round the whole table only.
      if (side == &left) s.rule.emplace_back(MX, R.top(), MX, R.bottom());
    }
    s.frame.emplace_back(X + TW, R.top(), X + TW, R.bottom());
    if (i + 1 == end) s.frame.emplace_back(X, R.bottom(), X + TW + 0.5, R.bottom());
  }
  s.stroke(painter);
}

}  // namespace kivo

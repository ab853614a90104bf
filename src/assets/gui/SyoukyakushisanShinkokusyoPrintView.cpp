#include "assets/gui/SyoukyakushisanShinkokusyoPrintView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <numeric>

#include "document/MyDocument.h"
#include "fields/FieldValue.h"
#include "fields/WarekiDateFormatter.h"
#include "model/Wareki.h"
#include "platform/QtStrings.h"
#include "platform/StringDrawing.h"
#include "platform/TablePrintLayout.h"

namespace kivo {
namespace {

using Kind = SyoukyakushisanShinkokusyoPrintLines::Kind;

}  // namespace

std::unique_ptr<SyoukyakushisanShinkokusyoPrintView> SyoukyakushisanShinkokusyoPrintView::create(
    const MyDocument& document, const QPageLayout& layout, int year)
{
  std::unique_ptr<SyoukyakushisanShinkokusyoPrintView> view(
      new SyoukyakushisanShinkokusyoPrintView(document, layout, year));
  if (!view->fitEntriesPerPage(2, 1, 9)) return nullptr;
  view->lines_ = SyoukyakushisanShinkokusyoPrintLines::linesOfDocument(document, year, view->linesPerPage_);
  view->countPages(view->lines_.size());
  return view;
}

SyoukyakushisanShinkokusyoPrintView::SyoukyakushisanShinkokusyoPrintView(const MyDocument& document,
                                                                         const QPageLayout& layout, int year)
    : AssetTablePrintView(document, layout), year_(year)
{
  setRectSize();
}

SyoukyakushisanShinkokusyoPrintView::~SyoukyakushisanShinkokusyoPrintView() = default;

void SyoukyakushisanShinkokusyoPrintView::setRectSize()
{
  const Kaisya& kaisya = document_.kaisya();
  const QString maxAmount = qs(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
  fitTable([&](const QFontMetricsF& tm, const QFontMetricsF& dm) {
    const double w = dm.horizontalAdvance(QStringLiteral("林"));
    const double z = dm.horizontalAdvance(QStringLiteral("0"));
    titleHeight_ = tm.height() + 8;
    lineHeight_ = dm.height() + 8;
    const double widths[kColumnCount] = {
        3 * w + 6, 20 * w + 6, 2 * w + 6, 10 * z + 6, dm.horizontalAdvance(maxAmount) + 6,
        4 * w + 6, 4 * w + 6,  4 * w + 6};
    std::copy(std::begin(widths), std::end(widths), widths_);
    return std::accumulate(std::begin(widths_), std::end(widths_), 0.0);
  });
}

QString SyoukyakushisanShinkokusyoPrintView::periodText() const
{
  if (document_.kaisya().doUseWareki())
    return qs("自 " + Wareki::warekiDateStringWithJapaneseSeparater(Date(year_, 1, 1), true) + "　至 " +
              Wareki::warekiDateStringWithJapaneseSeparater(Date(year_, 12, 31), true));
  return QString::asprintf("自 %d年%2d月%2d日　至 %d年%2d月%2d日", year_, 1, 1, year_, 12, 31);
}

void SyoukyakushisanShinkokusyoPrintView::drawPage(QPainter& painter, int page)
{
  if (page < 0 || page >= pages_) return;
  const double X = geometry_.leftMargin;
  const double W = totalWidth_;
  const double L = lineHeight_;
  std::vector<QLineF> frame, inner;
  const auto columnX = [&](int c) { return X + std::accumulate(widths_, widths_ + c, 0.0); };
  const auto cell = [&](int c, double y) { return QRectF(columnX(c), y, widths_[c], L); };
  const double h0 = beginPage(painter, page, kTitle, periodText());
  const char* const headings[kColumnCount] = {"コード",   "資産名",   "数量",     "取得日",
                                              "取得価額", "耐用年数", "償却方法", "取得方法"};
  for (int c = 0; c < kColumnCount; ++c) {
    StringDrawing::drawStringLeftedIn(painter, qs(headings[c]), cell(c, h0));
    if (c + 1 < kColumnCount) inner.emplace_back(columnX(c + 1), h0, columnX(c + 1), h0 + L);
  }
  frame.emplace_back(X, h0, X + W + 0.5, h0);
  frame.emplace_back(X + 0.5, h0 + L, X + 0.5 + W, h0 + L);
  frame.emplace_back(X + 0.5, h0, X + 0.5, h0 + L);
  frame.emplace_back(X + W, h0, X + W, h0 + L);

  const Kaisya& kaisya = document_.kaisya();
  const size_t first = static_cast<size_t>(page) * linesPerPage_;
  const size_t end = std::min(lines_.size(), first + linesPerPage_);
  double lastBottom = -1;
  for (size_t i = first; i < end; ++i) {
    const SyoukyakushisanShinkokusyoPrintLines::Line& line = lines_[i];
    const double y = h0 + L + L * static_cast<double>(i - first);
    if (line.kind != Kind::Empty && line.kind != Kind::Asset) painter.fillRect(QRectF(X, y, W + 0.5, L), shadeColor());
    inner.emplace_back(X + 0.5, y + L, X + 0.5 + W, y + L);
    frame.emplace_back(X + 0.5, y, X + 0.5, y + L);
    frame.emplace_back(X + W, y, X + W, y + L);
    for (int c = 1; c < kColumnCount; ++c) inner.emplace_back(columnX(c), y, columnX(c), y + L);
    lastBottom = y + L;
    switch (line.kind) {
    case Kind::Empty: break;
    case Kind::Heading:
    case Kind::Jigyoubu: StringDrawing::drawStringCenteredIn(painter, qs(line.name), cell(1, y)); break;
    case Kind::Total:
      StringDrawing::drawStringRightedIn(painter, qs(line.name), cell(1, y));
      StringDrawing::drawStringRightedIn(painter, qs(kaisya.outputStringOfMemoryKingaku(line.syutokuKagaku)),
                                         cell(4, y));
      break;
    case Kind::Asset: {
      const GenkasyoukyakuShisan& a = *line.asset;
      StringDrawing::drawStringFittedIn(painter, qs(a.kanriCode()), cell(0, y));
      StringDrawing::drawStringLeftedIn(painter, qs(a.name()), cell(1, y));
      if (a.quantity() >= 0) StringDrawing::drawStringRightedIn(painter, QString::number(a.quantity()), cell(2, y));
      if (!a.dateOfAdded().isNull())
        StringDrawing::drawStringLeftedIn(
            painter, qs(dateFormatter_->stringForObjectValue(FieldValue::date(a.dateOfAdded())).value_or("")),
            cell(3, y));
      if (a.syutokuKagaku() >= 0)
        StringDrawing::drawStringRightedIn(painter, qs(kaisya.outputStringOfMemoryKingaku(a.syutokuKagaku())),
                                           cell(4, y));
      if (a.taiyouYears() > 0)
        StringDrawing::drawStringCenteredIn(painter, QString::number(a.taiyouYears()), cell(5, y));
      StringDrawing::drawStringCenteredIn(painter, qs(a.syoukyakuTypeStr()), cell(6, y));
      StringDrawing::drawStringCenteredIn(painter, qs(a.addedTypeStr()), cell(7, y));
      break;
    }
    }
  }
  if (lastBottom >= 0) frame.emplace_back(X, lastBottom, X + W, lastBottom);
  TablePrintLayout::strokeFrameAndRules(painter, frame, inner);
  painter.restore();
}

}  // namespace kivo

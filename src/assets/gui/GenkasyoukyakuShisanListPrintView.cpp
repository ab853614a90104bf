#include "assets/gui/GenkasyoukyakuShisanListPrintView.h"

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

using Kind = GenkasyoukyakuShisanListPrintLines::Kind;

}  // namespace

std::unique_ptr<GenkasyoukyakuShisanListPrintView> GenkasyoukyakuShisanListPrintView::create(const MyDocument& document,
                                                                                             const QPageLayout& layout,
                                                                                             int32_t roundingType)
{
  std::unique_ptr<GenkasyoukyakuShisanListPrintView> view(new GenkasyoukyakuShisanListPrintView(document, layout));
  if (!view->fitEntriesPerPage(3, 2, 6)) return nullptr;
  view->lines_ = GenkasyoukyakuShisanListPrintLines::linesOfDocument(
      document, SyoukyakuKikan(document.kaisya(), roundingType), view->linesPerPage_);
  view->countPages(view->lines_.size());
  return view;
}

GenkasyoukyakuShisanListPrintView::GenkasyoukyakuShisanListPrintView(const MyDocument& document,
                                                                     const QPageLayout& layout)
    : AssetTablePrintView(document, layout)
{
  setRectSize();
}

GenkasyoukyakuShisanListPrintView::~GenkasyoukyakuShisanListPrintView() = default;

void GenkasyoukyakuShisanListPrintView::setRectSize()
{
  const Kaisya& kaisya = document_.kaisya();
  const QString maxAmount = qs(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
  fitTable([&](const QFontMetricsF& tm, const QFontMetricsF& dm) {
    const double w = dm.horizontalAdvance(QStringLiteral("林"));
    const double d = dm.horizontalAdvance(QStringLiteral("0"));
    titleHeight_ = tm.height() + 8;
    lineHeight_ = dm.height();
    const double a = dm.horizontalAdvance(maxAmount) + 6;
    const double widths[kColumnCount] = {3 * w + 6, 17 * w + 6, 2 * w + 6, 10 * d + 6, 4 * w + 6, 4 * w + 6, a, a, a,
                                         a,         a,          a,         a,          a,         8 * w + 6};
    std::copy(std::begin(widths), std::end(widths), widths_);
    return std::accumulate(std::begin(widths_), std::end(widths_), 0.0);
  });
}

QString GenkasyoukyakuShisanListPrintView::amount(int64_t v) const
{
  return qs(document_.kaisya().outputStringOfMemoryKingaku(v));
}

QString GenkasyoukyakuShisanListPrintView::periodText() const
{
  const Kaisya& k = document_.kaisya();
  const Date s = k.termStartDate();
  const Date e = k.termEndDate();
  if (s.isNull() || e.isNull()) return {};
  if (k.doUseWareki())
    return qs("計算期間　　自 " + Wareki::warekiDateStringWithJapaneseSeparater(s, true) + "　至 " +
              Wareki::warekiDateStringWithJapaneseSeparater(e, true));
  return QString::asprintf("計算期間　　自 %d年%2d月%2d日　至 %d年%2d月%2d日", s.year(), s.month(), s.day(), e.year(),
                           e.month(), e.day());
}

void GenkasyoukyakuShisanListPrintView::drawPage(QPainter& painter, int page)
{
  if (page < 0 || page >= pages_) return;
  const double X = geometry_.leftMargin;
  const double W = totalWidth_;
  const double L = lineHeight_;
  std::vector<QLineF> frame, inner;
  const auto columnX = [&](int c) { return X + std::accumulate(widths_, widths_ + c, 0.0); };
  const auto cell = [&](int c, double y) { return QRectF(columnX(c), y, widths_[c], L); };
  const double h0 = beginPage(painter, page, kTitle, periodText());
  // Column headings: one text in the middle of the two rows, or one per row.
  const char* const upper[kColumnCount] = {nullptr,        nullptr, nullptr, "除却日",     nullptr,
                                           "耐用年数",     nullptr, nullptr, "当期増加額", nullptr,
                                           "特別（割増）", nullptr, nullptr, nullptr,      nullptr};
  const char* const lower[kColumnCount] = {nullptr,      nullptr, nullptr, "取得日",     nullptr,
                                           "償却率",     nullptr, nullptr, "当期減少額", nullptr,
                                           "償　却　額", nullptr, nullptr, nullptr,      nullptr};
  const char* const middle[kColumnCount] = {"コード", "資産名",     "数量",         nullptr,      "償却方法",
                                            nullptr,  "取得価額",   "期首帳簿価額", nullptr,      "普通償却額",
                                            nullptr,  "当期償却額", "期末帳簿価額", "償却累計額", "備考"};
  for (int c = 0; c < kColumnCount; ++c) {
    if (middle[c]) {
      StringDrawing::drawStringLeftedIn(painter, qs(middle[c]), cell(c, h0 + L / 2));
    } else if (c == 5) {
      StringDrawing::drawStringCenteredIn(painter, qs(upper[c]), cell(c, h0));
      StringDrawing::drawStringCenteredIn(painter, qs(lower[c]), cell(c, h0 + L));
    } else {
      StringDrawing::drawStringLeftedIn(painter, qs(upper[c]), cell(c, h0));
      StringDrawing::drawStringLeftedIn(painter, qs(lower[c]), cell(c, h0 + L));
    }
    if (c + 1 < kColumnCount) inner.emplace_back(columnX(c + 1), h0, columnX(c + 1), h0 + 2 * L);
  }
  frame.emplace_back(X, h0, X + W + 0.5, h0);
  frame.emplace_back(X + 0.5, h0 + 2 * L, X + 0.5 + W, h0 + 2 * L);
  frame.emplace_back(X + 0.5, h0, X + 0.5, h0 + 2 * L);
  frame.emplace_back(X + W, h0, X + W, h0 + 2 * L);

  const size_t first = static_cast<size_t>(page) * linesPerPage_;
  const size_t end = std::min(lines_.size(), first + linesPerPage_);
  double lastBottom = -1;
  for (size_t i = first; i < end; ++i) {
    const GenkasyoukyakuShisanListPrintLines::Line& line = lines_[i];
    const double y = h0 + 2 * L + 2 * L * static_cast<double>(i - first);
    const double mid = y + L / 2;
    const double low = y + L;
    if (line.kind == Kind::Title || line.kind == Kind::Jigyoubu || line.kind == Kind::SubTotal ||
        line.kind == Kind::GrandTotal)
      painter.fillRect(QRectF(X, y, W + 0.5, 2 * L), shadeColor());
    inner.emplace_back(X + 0.5, y + 2 * L, X + 0.5 + W, y + 2 * L);
    frame.emplace_back(X + 0.5, y, X + 0.5, y + 2 * L);
    frame.emplace_back(X + W, y, X + W, y + 2 * L);
    for (int c = 1; c < kColumnCount; ++c) inner.emplace_back(columnX(c), y, columnX(c), y + 2 * L);
    lastBottom = y + 2 * L;
    const auto& m = line.amounts;
    switch (line.kind) {
    case Kind::Empty: continue;
    case Kind::Title: StringDrawing::drawStringCenteredIn(painter, qs(line.name), cell(1, mid)); continue;
    case Kind::Jigyoubu: StringDrawing::drawStringCenteredIn(painter, qs(line.name), cell(1, mid)); break;
    case Kind::SubTotal:
    case Kind::KubunTotal:
    case Kind::GrandTotal: StringDrawing::drawStringRightedIn(painter, qs(line.name), cell(1, low)); break;
    case Kind::Asset: {
      const GenkasyoukyakuShisan& a = *line.asset;
      StringDrawing::drawStringFittedIn(painter, qs(a.kanriCode()), QRectF(columnX(0), y, widths_[0], 2 * L));
      StringDrawing::drawStringLeftedIn(painter, qs(a.name()), cell(1, mid));
      StringDrawing::drawStringRightedIn(painter, QString::number(a.quantity()), cell(2, low));
      const auto date = [&](Date d) {
        return qs(dateFormatter_->stringForObjectValue(FieldValue::date(d)).value_or(""));
      };
      if (!a.dateOfRemoved().isNull()) StringDrawing::drawStringLeftedIn(painter, date(a.dateOfRemoved()), cell(3, y));
      if (!a.dateOfAdded().isNull()) StringDrawing::drawStringLeftedIn(painter, date(a.dateOfAdded()), cell(3, low));
      StringDrawing::drawStringCenteredIn(painter, qs(a.syoukyakuTypeStr()), cell(4, mid));
      if (a.taiyouYears() > 0)
        StringDrawing::drawStringCenteredIn(painter, QString::number(a.taiyouYears()), cell(5, y));
      StringDrawing::drawStringCenteredIn(
          painter,
          line.ritsuPerThousand > 0 ? QString::asprintf("%0.3f", line.ritsuPerThousand / 1000.0) : QStringLiteral("--"),
          cell(5, low));
      StringDrawing::drawStringLeftedIn(painter, qs(a.reference()), cell(14, mid));
      break;
    }
    }
    const bool asset = line.kind == Kind::Asset;
    if (!asset || m.syutokuKagaku >= 0)
      StringDrawing::drawStringRightedIn(painter, amount(m.syutokuKagaku), cell(6, low));
    if (m.kisyuCyoubokagaku >= 0)
      StringDrawing::drawStringRightedIn(painter, amount(m.kisyuCyoubokagaku), cell(7, low));
    if (m.toukiZoukagaku != 0) StringDrawing::drawStringRightedIn(painter, amount(m.toukiZoukagaku), cell(8, y));
    if (m.toukiGensyougaku != 0) StringDrawing::drawStringRightedIn(painter, amount(m.toukiGensyougaku), cell(8, low));
    if (!asset || m.futsuuSyoukyakuhi >= 0)
      StringDrawing::drawStringRightedIn(painter, amount(m.futsuuSyoukyakuhi), cell(9, low));
    if (m.tokubetsuSyoukyakuhi != 0)
      StringDrawing::drawStringRightedIn(painter, amount(m.tokubetsuSyoukyakuhi), cell(10, low));
    StringDrawing::drawStringRightedIn(painter, amount(m.toukiSyoukyakuhiGoukei), cell(11, low));
    StringDrawing::drawStringRightedIn(painter, amount(m.kimatsuCyoubokagaku), cell(12, low));
    StringDrawing::drawStringRightedIn(painter, amount(m.kimatsuSyoukyakugakuRuikei), cell(13, low));
  }
  if (lastBottom >= 0) frame.emplace_back(X, lastBottom, X + W, lastBottom);
  TablePrintLayout::strokeFrameAndRules(painter, frame, inner);
  painter.restore();
}

}  // namespace kivo

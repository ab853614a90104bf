#include "journal/gui/ShiwakenikkiPrintView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <numeric>

#include "document/MyDocument.h"
#include "fields/HidukeFormatter.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "platform/PrintInfo.h"
#include "platform/StringDrawing.h"
#include "platform/TablePrintLayout.h"

namespace kivo {
namespace {

QString text(const std::optional<std::string>& s) { return s ? QString::fromStdString(*s) : QString(); }

const QColor kShadeColor(240, 240, 240);

}  // namespace

std::unique_ptr<ShiwakenikkiPrintView> ShiwakenikkiPrintView::create(const MyDocument& document,
                                                                     const QPageLayout& layout,
                                                                     std::vector<ShiwakePtr> entries)
{
  std::unique_ptr<ShiwakenikkiPrintView> view(new ShiwakenikkiPrintView(document, layout, std::move(entries)));
  const int perPage = ShiwakenikkiPaginator::entriesPerPageOfBands(view->bands_);
  if (view->refusesPaper(perPage)) return nullptr;
  view->paginator_ = std::make_unique<ShiwakenikkiPaginator>(view->entries_.size(), perPage);
  return view;
}

ShiwakenikkiPrintView::ShiwakenikkiPrintView(const MyDocument& document, const QPageLayout& layout,
                                             std::vector<ShiwakePtr> entries)
    : BandedTablePrintView(layout), document_(document), entries_(std::move(entries))
{
  showsHojyoKamoku_ = document.doesHaveKamokuWhichHasActiveHojyoKamoku();
  showsJigyoubu_ = document.numberOfActiveJigyoubu() > 0;
  hidukeFormatter_ = std::make_unique<HidukeFormatter>(document, true);
  kamokuFormatter_ = std::make_unique<KamokuFormatter>(document, true);
  hojyoKamokuFormatter_ = std::make_unique<HojyoKamokuFormatter>(document);
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(document);
  setRectSizeWithPrintInfo();
}

ShiwakenikkiPrintView::~ShiwakenikkiPrintView() = default;

void ShiwakenikkiPrintView::setRectSizeWithPrintInfo()
{
  const Kaisya& kaisya = document_.kaisya();
  const QString maxAmount = QString::fromStdString(kaisya.displayStringOfMemoryKingaku(kaisya.maxInputAmountValue()));
  fitTable(5, [&](const QFontMetricsF& dm) {
    const double w = dm.horizontalAdvance(QStringLiteral("林"));
    widths_[Date] = 5 * dm.horizontalAdvance(QStringLiteral("0")) + 6;
    widths_[KarikataKamoku] = widths_[KashikataKamoku] = 8 * w + 6;
    widths_[KarikataKingaku] = widths_[KashikataKingaku] =
        std::max(dm.horizontalAdvance(maxAmount) + 6, widths_[KarikataKamoku]);
    widths_[Tekiyou] = 20 * w + 6;
    return std::accumulate(std::begin(widths_), std::end(widths_), 0.0);
  });
}

double ShiwakenikkiPrintView::columnX(Column c) const
{
  return bands_.geometry.leftMargin + std::accumulate(widths_, widths_ + c, 0.0);
}

void ShiwakenikkiPrintView::drawPage(QPainter& painter, int page)
{
  if (!paginator_ || page < 0 || page >= pageCount()) return;
  const double x = bands_.geometry.leftMargin;
  const double total = bands_.tableWidth;
  std::vector<QLineF> solid, thin, dashed;
  painter.save();
  TablePrintLayout::drawTitleBand(painter, titleFont_, QString::fromUtf8(kTitle), PrintInfo::rectF(bands_.titleRect()),
                                  dataFont_);
  // The page's text goes out together, before the rules.
  StringDrawing strings(painter);
  const QRectF h1 = PrintInfo::rectF(bands_.lineRect(1));
  const QRectF h2 = PrintInfo::rectF(bands_.lineRect(2));
  solid.emplace_back(x, h1.top(), x + total, h1.top());
  dashed.emplace_back(x, h1.bottom(), x + total, h1.bottom());
  solid.emplace_back(x, h2.bottom(), x + total, h2.bottom());
  solid.emplace_back(x, h1.top(), x, h2.bottom());
  const char* const line1[ColumnCount] = {"日付", "借方科目", "借方金額", "貸方科目", "貸方金額", "摘要"};
  const char* const line2[ColumnCount] = {"番号",
                                          showsHojyoKamoku_ ? "補助科目" : "",
                                          showsJigyoubu_ ? "借方事業部" : "",
                                          showsHojyoKamoku_ ? "補助科目" : "",
                                          showsJigyoubu_ ? "貸方事業部" : "",
                                          ""};
  for (int c = 0; c < ColumnCount; ++c) {
    const double cx = columnX(static_cast<Column>(c));
    strings.leftedIn(QString::fromUtf8(line1[c]), QRectF(cx, h1.top(), widths_[c], h1.height()));
    strings.leftedIn(QString::fromUtf8(line2[c]), QRectF(cx, h2.top(), widths_[c], h2.height()));
    if (c + 1 < ColumnCount) thin.emplace_back(cx + widths_[c], h1.top(), cx + widths_[c], h2.bottom());
  }
  solid.emplace_back(x + total, h1.top(), x + total, h2.bottom());

  const Kaisya& kaisya = document_.kaisya();
  const PrintPaginator::RowRange range = paginator_->rowsOfPage(page);
  double lastBottom = -1.0;
  int drawn = 0;
  for (size_t i = range.first; i < range.end; ++i, ++drawn) {
    const Shiwake& e = *entries_[i];
    const int first = paginator_->firstLineOfEntry(i);
    const QRectF l1 = PrintInfo::rectF(bands_.lineRect(first));
    const QRectF l2 = PrintInfo::rectF(bands_.lineRect(first + 1));
    if (drawn % 2 == 0) painter.fillRect(QRectF(x, l1.top(), total + 0.5, l1.height() + l2.height()), kShadeColor);
    dashed.emplace_back(x, l1.bottom(), x + total, l1.bottom());
    thin.emplace_back(x, l2.bottom(), x + total, l2.bottom());
    solid.emplace_back(x, l1.top(), x, l2.bottom());
    const auto cell = [&](Column c, const QRectF& line) {
      return QRectF(columnX(c), line.top(), widths_[c], line.height());
    };
    strings.leftedIn(text(hidukeFormatter_->stringForObjectValue(FieldValue::date(e.date()))), cell(Date, l1));
    strings.rightedIn(QString::number(e.denpyouNo()), cell(Date, l2));
    const auto side = [&](int32_t kamoku, int32_t hojyo, int32_t jigyoubu, int64_t kingaku, Column kamokuColumn,
                          Column kingakuColumn) {
      if (kamoku == -1) return;
      strings.leftedIn(text(kamokuFormatter_->stringForObjectValue(FieldValue::code(kamoku))), cell(kamokuColumn, l1));
      if (hojyo != -1) {
        hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(kamoku);
        strings.leftedIn(text(hojyoKamokuFormatter_->stringForObjectValue(FieldValue::code(hojyo))),
                         cell(kamokuColumn, l2));
      }
      strings.rightedIn(QString::fromStdString(kaisya.displayStringOfMemoryKingaku(kingaku)), cell(kingakuColumn, l1));
      if (jigyoubu != -1)
        strings.leftedIn(text(jigyoubuFormatter_->stringForObjectValue(FieldValue::code(jigyoubu))),
                         cell(kingakuColumn, l2));
    };
    side(e.karikataKamokuCode(), e.karikataHojyoKamokuCode(), e.karikataJigyoubuCode(), e.karikataKingaku(),
         KarikataKamoku, KarikataKingaku);
    side(e.kashikataKamokuCode(), e.kashikataHojyoKamokuCode(), e.kashikataJigyoubuCode(), e.kashikataKingaku(),
         KashikataKamoku, KashikataKingaku);
    for (int c = 0; c + 1 < ColumnCount; ++c) {
      const double cx = columnX(static_cast<Column>(c)) + widths_[c];
      thin.emplace_back(cx, l1.top(), cx, l2.bottom());
    }
    strings.leftedIn(QString::fromStdString(e.tekiyou()), cell(Tekiyou, l1));
    solid.emplace_back(x + total, l1.top(), x + total, l2.bottom());
    lastBottom = l2.bottom();
  }
  if (lastBottom >= 0.0) solid.emplace_back(x, lastBottom, x + total, lastBottom);

  strings.flush();
  TablePrintLayout::strokeFrameAndRules(painter, solid, thin);
  QPen pen(Qt::black);
  pen.setWidthF(0.5);
  pen.setDashPattern({5.0 / 0.5, 2.0 / 0.5});
  painter.setPen(pen);
  painter.drawLines(dashed.data(), static_cast<int>(dashed.size()));
  painter.restore();
}

}  // namespace kivo

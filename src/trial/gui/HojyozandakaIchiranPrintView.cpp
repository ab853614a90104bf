#include "trial/gui/HojyozandakaIchiranPrintView.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <cstdio>
#include <numeric>

#include "document/MyDocument.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "platform/PrintInfo.h"
#include "platform/StringDrawing.h"
#include "platform/TablePrintLayout.h"
#include "platform/UserDefaultsKeys.h"
#include "trial/HojyoZandaka.h"

namespace kivo {
namespace {

const QColor kTotalRowColor(240, 240, 240);

const char* const kColumnTitles[HojyozandakaIchiranPrintView::ColumnCount] = {"補助科目", "開始残高", "借方合計",
                                                                              "貸方合計", "終了残高", "比率"};

}  // namespace

std::unique_ptr<HojyozandakaIchiranPrintView> HojyozandakaIchiranPrintView::create(
    const MyDocument& document, const QPageLayout& layout, const std::vector<Shisan>& shisanArray, int32_t periodFrom,
    int32_t periodTo)
{
  std::unique_ptr<HojyozandakaIchiranPrintView> view(new HojyozandakaIchiranPrintView(document, layout));
  const int rowsPerPage = HojyozandakaIchiranPaginator::rowsPerPageOfBands(view->bands_);
  if (view->refusesPaper(rowsPerPage)) return nullptr;
  view->paginator_ =
      std::make_unique<HojyozandakaIchiranPaginator>(document, shisanArray, periodFrom, periodTo, rowsPerPage);
  return view;
}

void HojyozandakaIchiranPrintView::print(OpenDocument* document, QWidget* window,
                                         const std::vector<Shisan>& shisanArray, int32_t periodFrom, int32_t periodTo)
{
  const MyDocument& books = document->document();
  PrintProgressSheet::runPrintPanel(
      document, window, PrintInfo::pageLayoutForKey(KIVOHojyozandakaIchiranPrintInfoKey),
      [&](const QPageLayout& paper) { return create(books, paper, shisanArray, periodFrom, periodTo); });
}

HojyozandakaIchiranPrintView::HojyozandakaIchiranPrintView(const MyDocument& document, const QPageLayout& layout)
    : BandedTablePrintView(layout), document_(document)
{
  setRectSizeWithPrintInfo();
}

void HojyozandakaIchiranPrintView::setRectSizeWithPrintInfo()
{
  const Kaisya& kaisya = document_.kaisya();
  const QString maxAmount = QString::fromStdString(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
  fitTable(5, [&](const QFontMetricsF& dm) {
    // Eight full-width characters of a sub-account's name.
    widths_[HojyoKamoku] = dm.horizontalAdvance(QStringLiteral("林")) * 8.0 + 6.0;
    widths_[KaishiZandaka] = widths_[KarikataGoukei] = widths_[KashikataGoukei] = widths_[SyuuryouZandaka] =
        dm.horizontalAdvance(maxAmount) + 6.0;
    widths_[Percent] = dm.horizontalAdvance(QStringLiteral("0")) * 9.0 + 6.0;
    return std::accumulate(std::begin(widths_), std::end(widths_), 0.0);
  });
}

double HojyozandakaIchiranPrintView::columnX(Column c) const
{
  return bands_.geometry.leftMargin + std::accumulate(widths_, widths_ + c, 0.0);
}

void HojyozandakaIchiranPrintView::drawPage(QPainter& painter, int page)
{
  if (!paginator_ || page < 0 || page >= pageCount()) return;
  const HojyozandakaIchiranPaginator& p = *paginator_;
  const double x = bands_.geometry.leftMargin;
  const double total = bands_.tableWidth;
  std::vector<QLineF> frame;
  std::vector<QLineF> rules;
  painter.save();
  TablePrintLayout::drawTitleBand(painter, titleFont_, QString::fromUtf8(kTitle), PrintInfo::rectF(bands_.titleRect()),
                                  dataFont_);
  const QRectF head = PrintInfo::rectF(bands_.lineRect(p.columnTitleLine()));
  frame.emplace_back(x, head.top(), x + total + 0.5, head.top());
  frame.emplace_back(x, head.bottom(), x + total + 0.5, head.bottom());
  frame.emplace_back(x + 0.5, head.top(), x + 0.5, head.bottom());
  for (int c = 0; c < ColumnCount; ++c) {
    const double cx = columnX(static_cast<Column>(c));
    StringDrawing::drawStringLeftedIn(painter, QString::fromUtf8(kColumnTitles[c]),
                                      QRectF(cx, head.top(), widths_[c], head.height()));
    rules.emplace_back(cx + widths_[c] + 0.5, head.top(), cx + widths_[c] + 0.5, head.bottom());
  }

  const PrintPaginator::RowRange range = p.rowsOfPage(page);
  const auto& rows = p.printingShisanArray();
  QRectF last;
  for (size_t r = range.first; r < range.end; ++r) {
    using Kind = HojyozandakaIchiranPaginator::Row::Kind;
    const HojyozandakaIchiranPaginator::Row& row = rows[r];
    if (row.kind == Kind::Empty) continue;
    const QRectF band = PrintInfo::rectF(bands_.lineRect(p.lineOfRow(r)));
    if (row.kind == Kind::Heading || row.kind == Kind::Period) {
      StringDrawing::drawStringLeftedIn(painter, QString::fromStdString(row.shisan.title()),
                                        QRectF(x, band.top(), total, band.height()));
      continue;
    }
    drawShisanRow(painter, row.shisan, band, frame, rules);
    last = band;
  }
  // The table is closed below its last row.
  if (!last.isNull()) frame.emplace_back(x, last.bottom(), x + total + 0.5, last.bottom());

  TablePrintLayout::strokeFrameAndRules(painter, frame, rules);
  painter.restore();
}

void HojyozandakaIchiranPrintView::drawShisanRow(QPainter& painter, const Shisan& row, const QRectF& band,
                                                 std::vector<QLineF>& frame, std::vector<QLineF>& rules) const
{
  const double x = bands_.geometry.leftMargin;
  const double total = bands_.tableWidth;
  const Kaisya& kaisya = document_.kaisya();
  const auto cell = [&](Column c) { return QRectF(columnX(c), band.top(), widths_[c], band.height()); };
  if (HojyoZandaka::isGoukeiRow(row))
    painter.fillRect(QRectF(x, band.top(), total + 0.5, band.height()), kTotalRowColor);
  rules.emplace_back(x, band.bottom(), x + total + 0.5, band.bottom());
  frame.emplace_back(x + 0.5, band.top(), x + 0.5, band.bottom());
  for (int c = 0; c < ColumnCount; ++c) {
    const double right = columnX(static_cast<Column>(c)) + widths_[c] + 0.5;
    rules.emplace_back(right, band.top(), right, band.bottom());
  }
  StringDrawing::drawStringLeftedIn(painter, QString::fromStdString(row.title()), cell(HojyoKamoku));
  const std::pair<Column, int64_t> amounts[] = {{KaishiZandaka, row.kaishiZandaka()},
                                                {KarikataGoukei, row.karikataGoukei()},
                                                {KashikataGoukei, row.kashikataGoukei()},
                                                {SyuuryouZandaka, row.syuuryouZandaka()}};
  for (const auto& [c, amount] : amounts)
    StringDrawing::drawStringRightedIn(painter, QString::fromStdString(kaisya.outputStringOfMemoryKingaku(amount)),
                                       cell(c));
  QString percent = QStringLiteral("--");
  if (row.isValidPercent()) {
    char text[32];
    std::snprintf(text, sizeof text, "%0.2f", row.percent());
    percent = QString::fromLatin1(text);
  }
  StringDrawing::drawStringRightedIn(painter, percent, cell(Percent));
}

}  // namespace kivo

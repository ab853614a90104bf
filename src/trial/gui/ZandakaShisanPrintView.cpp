#include "trial/gui/ZandakaShisanPrintView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cstdio>
#include <numeric>

#include "document/MyDocument.h"
#include "platform/PrintInfo.h"
#include "platform/StringDrawing.h"
#include "platform/TablePrintLayout.h"

namespace kivo {
namespace {

const QColor kTotalRowColor(240, 240, 240);
const char* const kColumnTitles[ZandakaShisanPrintView::ColumnCount] = {"勘定科目", "開始残高", "借方合計",
                                                                        "貸方合計", "終了残高", "比率"};

}  // namespace

std::unique_ptr<ZandakaShisanPrintView> ZandakaShisanPrintView::create(
    const MyDocument& document, const QPageLayout& layout, std::vector<Shisan> taisyakuTaisyou,
    std::vector<Shisan> sonekiKeisan, std::vector<Shisan> seizouGenka, int32_t periodFrom, int32_t periodTo,
    SectionChoiceSource sections)
{
  std::unique_ptr<ZandakaShisanPrintView> view(new ZandakaShisanPrintView(document, layout, std::move(taisyakuTaisyou),
                                                                          std::move(sonekiKeisan),
                                                                          std::move(seizouGenka), std::move(sections)));
  view->periodText_ =
      QString::fromStdString(ZandakaShisanPrintPaginator::periodTitle(document.kaisya(), periodFrom, periodTo));
  view->setRectSize();
  const int lines = ZandakaShisanPrintPaginator::linesPerPageOfBands(view->bands_);
  if (view->refusesPaper(lines)) return nullptr;
  view->paginator_ = std::make_unique<ZandakaShisanPrintPaginator>(view->taisyakuTaisyou_, view->sonekiKeisan_,
                                                                   view->seizouGenka_, lines);
  return view;
}

ZandakaShisanPrintView::ZandakaShisanPrintView(const MyDocument& document, const QPageLayout& layout,
                                               std::vector<Shisan> taisyakuTaisyou, std::vector<Shisan> sonekiKeisan,
                                               std::vector<Shisan> seizouGenka, SectionChoiceSource sections)
    : ShisanSectionsPrintView(document, layout, std::move(taisyakuTaisyou), std::move(sonekiKeisan),
                              std::move(seizouGenka), std::move(sections))
{
}

ZandakaShisanPrintView::~ZandakaShisanPrintView() = default;

void ZandakaShisanPrintView::setRectSize()
{
  const QString widest = widestTitle();
  const Kaisya& kaisya = document_.kaisya();
  const QString maxAmount = QString::fromStdString(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
  fitTable(5, [&](const QFontMetricsF& dm) {
    widths_[Kamoku] = dm.horizontalAdvance(widest) + 6.0;
    const double amount = dm.horizontalAdvance(maxAmount) + 6.0;
    widths_[KaishiZandaka] = widths_[KarikataGoukei] = widths_[KashikataGoukei] = widths_[SyuuryouZandaka] = amount;
    widths_[Percent] = 9 * dm.horizontalAdvance(QStringLiteral("0")) + 6.0;
    return std::accumulate(std::begin(widths_), std::end(widths_), 0.0);
  });
}

double ZandakaShisanPrintView::columnX(int c) const
{
  return bands_.geometry.leftMargin + std::accumulate(widths_, widths_ + c, 0.0);
}

int ZandakaShisanPrintView::pageCountOf(const SectionChoice& c) const
{
  if (!paginator_) return 0;
  return static_cast<int>(paginator_->chosenPages(c.taisyakuTaisyou, c.sonekiKeisan, c.seizouGenka).size());
}

QString ZandakaShisanPrintView::pageTitle(ZandakaShisanPrintPaginator::Section section) const
{
  return sectionTitle(static_cast<int>(section), kTaisyakuTaisyouTitle, kSonekiKeisanTitle, kSeizouGenkaTitle,
                      kKanseiKoujiGenkaTitle);
}

void ZandakaShisanPrintView::drawPage(QPainter& painter, int page)
{
  if (!paginator_) return;
  const SectionChoice c = sectionChoice();
  const std::vector<int> chosen = paginator_->chosenPages(c.taisyakuTaisyou, c.sonekiKeisan, c.seizouGenka);
  if (page < 0 || page >= static_cast<int>(chosen.size())) return;
  const int p = chosen[static_cast<size_t>(page)];
  const double x = bands_.geometry.leftMargin;
  const double total = bands_.tableWidth;
  const Kaisya& kaisya = document_.kaisya();
  std::vector<QLineF> frame, rules;
  painter.save();
  TablePrintLayout::drawTitleBand(painter, titleFont_, pageTitle(paginator_->sectionOfPage(p)),
                                  PrintInfo::rectF(bands_.titleRect()), dataFont_);

  // The column titles stand between the period line and the first row.
  const QRectF head = PrintInfo::rectF(bands_.lineRect(2));
  frame.emplace_back(x, head.top(), x + total, head.top());
  frame.emplace_back(x, head.bottom(), x + total, head.bottom());
  frame.emplace_back(x + 0.5, head.top(), x + 0.5, head.bottom());
  for (int col = 0; col < ColumnCount; ++col) {
    StringDrawing::drawStringLeftedIn(painter, QString::fromUtf8(kColumnTitles[col]),
                                      QRectF(columnX(col), head.top(), widths_[col], head.height()));
    if (col > 0) rules.emplace_back(columnX(col), head.top(), columnX(col), head.bottom());
  }
  frame.emplace_back(x + total, head.top(), x + total, head.bottom());

  const PrintPaginator::RowRange range = paginator_->rowsOfPage(p);
  QRectF last;
  for (size_t i = range.first; i < range.end; ++i) {
    const ZandakaShisanPrintPaginator::Line& line = paginator_->lines()[i];
    const int k = static_cast<int>(i - range.first);
    const QRectF band = PrintInfo::rectF(bands_.lineRect(k == 0 ? 1 : k + 2));
    if (line.kind == ZandakaShisanPrintPaginator::Line::Kind::Period) {
      StringDrawing::drawStringLeftedIn(painter, periodText_, band);
      continue;
    }
    if (line.kind != ZandakaShisanPrintPaginator::Line::Kind::Row) continue;
    const Shisan& r = *line.row;
    rules.emplace_back(x, band.bottom(), x + total, band.bottom());
    if (r.isTotalRow()) painter.fillRect(QRectF(x, band.top(), total + 0.5, band.height()), kTotalRowColor);
    frame.emplace_back(x + 0.5, band.top(), x + 0.5, band.bottom());
    const auto cell = [&](int col) { return QRectF(columnX(col), band.top(), widths_[col], band.height()); };
    StringDrawing::drawStringLeftedIn(painter, QString::fromStdString(r.title()), cell(Kamoku));
    if (!r.isHeadingRow()) {
      const int64_t amounts[] = {r.kaishiZandaka(), r.karikataGoukei(), r.kashikataGoukei(), r.syuuryouZandaka()};
      for (int col = KaishiZandaka; col <= SyuuryouZandaka; ++col)
        StringDrawing::drawStringRightedIn(
            painter, QString::fromStdString(kaisya.outputStringOfMemoryKingaku(amounts[col - KaishiZandaka])),
            cell(col));
      char percent[64] = "--";
      if (r.isValidPercent()) std::snprintf(percent, sizeof percent, "%0.2f", r.percent());
      StringDrawing::drawStringRightedIn(painter, QString::fromUtf8(percent), cell(Percent));
    }
    for (int col = 1; col < ColumnCount; ++col)
      rules.emplace_back(columnX(col), band.top(), columnX(col), band.bottom());
    frame.emplace_back(x + total, band.top(), x + total, band.bottom());
    last = band;
  }
  if (!last.isNull()) frame.emplace_back(x, last.bottom(), x + total, last.bottom());

  TablePrintLayout::strokeFrameAndRules(painter, frame, rules);
  painter.restore();
}

}  // namespace kivo

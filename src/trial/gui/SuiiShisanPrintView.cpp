#include "trial/gui/SuiiShisanPrintView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "document/MyDocument.h"
#include "platform/PrintInfo.h"
#include "platform/StringDrawing.h"
#include "platform/TablePrintLayout.h"
#include "trial/SuiiShisan.h"

namespace kivo {
namespace {

const QColor kTotalRowColor(240, 240, 240);

}  // namespace

std::unique_ptr<SuiiShisanPrintView> SuiiShisanPrintView::create(const MyDocument& document, const QPageLayout& layout,
                                                                 std::vector<Shisan> taisyakuTaisyou,
                                                                 std::vector<Shisan> sonekiKeisan,
                                                                 std::vector<Shisan> seizouGenka, int64_t monthPerPage,
                                                                 SectionChoiceSource sections)
{
  std::unique_ptr<SuiiShisanPrintView> view(new SuiiShisanPrintView(document, layout, std::move(taisyakuTaisyou),
                                                                    std::move(sonekiKeisan), std::move(seizouGenka),
                                                                    monthPerPage, std::move(sections)));
  if (const char* refusal = view->layOut()) {
    TablePrintLayout::alertCannotPrint(refusal);
    return nullptr;
  }
  return view;
}

SuiiShisanPrintView::SuiiShisanPrintView(const MyDocument& document, const QPageLayout& layout,
                                         std::vector<Shisan> taisyakuTaisyou, std::vector<Shisan> sonekiKeisan,
                                         std::vector<Shisan> seizouGenka, int64_t monthPerPage,
                                         SectionChoiceSource sections)
    : ShisanSectionsPrintView(document, layout, std::move(taisyakuTaisyou), std::move(sonekiKeisan),
                              std::move(seizouGenka), std::move(sections)),
      layout_(layout),
      columns_(static_cast<int>(document.kaisya().monthArray().size()) + 2),
      monthPerPage_(SuiiShisanPrintPaginator::monthPerPageOfSetting(monthPerPage, columns_))
{
}

const char* SuiiShisanPrintView::layOut()
{
  const QMarginsF outsidePrintableArea = PrintInfo::marginsOutsidePrintableArea(layout_);
  // The table's side margins: the layout's, as every table printout has them, or
  // wider where the printable area of the printer chosen in the panel leaves less.
  bands_.geometry.leftMargin = std::max(bands_.geometry.leftMargin, outsidePrintableArea.left());
  bands_.geometry.rightMargin = std::max(bands_.geometry.rightMargin, outsidePrintableArea.right());
  if (!setRectSize(monthPerPage_)) return kTooManyMonthsMessage;
  const int lines = PrintPaginator::linesThatFit(
      bands_.geometry.printableHeight() - bands_.titleHeight - bands_.lineHeight, bands_.lineHeight);
  if (lines < PrintPaginator::kMinimumRowsPerPage) return TablePrintLayout::kTooSmallMessage;
  paginator_ = std::make_unique<SuiiShisanPrintPaginator>(taisyakuTaisyou_, sonekiKeisan_, seizouGenka_, lines,
                                                          columns_, monthPerPage_);
  return nullptr;
}

SuiiShisanPrintView::~SuiiShisanPrintView() = default;

bool SuiiShisanPrintView::setRectSize(int monthPerPage)
{
  const QString widest = widestTitle();
  const Kaisya& kaisya = document_.kaisya();
  const QString maxAmount = QString::fromStdString(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
  fitTable(4, [&](const QFontMetricsF& dm) {
    kamokuWidth_ = dm.horizontalAdvance(widest) + 6.0;
    monthlyAmountWidth_ = dm.horizontalAdvance(maxAmount) + 6.0;
    return kamokuWidth_ + monthlyAmountWidth_ * monthPerPage;
  });
  return dataTextSize_ > 4;
}

int SuiiShisanPrintView::pageCountOf(const SectionChoice& c) const
{
  if (!paginator_) return 0;
  return static_cast<int>(paginator_->chosenPages(c.taisyakuTaisyou, c.sonekiKeisan, c.seizouGenka).size());
}

QString SuiiShisanPrintView::pageTitle(SuiiShisanPrintPaginator::Section section) const
{
  return sectionTitle(static_cast<int>(section), kTaisyakuTaisyouTitle, kSonekiKeisanTitle, kSeizouGenkaTitle,
                      kKanseiKoujiGenkaTitle);
}

void SuiiShisanPrintView::drawPage(QPainter& painter, int page)
{
  if (!paginator_) return;
  const SectionChoice c = sectionChoice();
  const std::vector<int> chosen = paginator_->chosenPages(c.taisyakuTaisyou, c.sonekiKeisan, c.seizouGenka);
  if (page < 0 || page >= static_cast<int>(chosen.size())) return;
  const SuiiShisanPrintPaginator::Page& p = paginator_->pages()[static_cast<size_t>(chosen[static_cast<size_t>(page)])];
  const bool closing = p.section == SuiiShisanPrintPaginator::Section::TaisyakuTaisyou;
  const auto [firstColumn, endColumn] = paginator_->columnsOfGroup(p.columnGroup);
  const double x = bands_.geometry.leftMargin;
  const double width = kamokuWidth_ + monthlyAmountWidth_ * (endColumn - firstColumn);
  const Kaisya& kaisya = document_.kaisya();
  std::vector<QLineF> frame, rules;
  painter.save();
  TablePrintLayout::drawTitleBand(painter, titleFont_, pageTitle(p.section), PrintInfo::rectF(bands_.titleRect()),
                                  dataFont_);
  auto cellX = [&](int k) { return x + kamokuWidth_ + monthlyAmountWidth_ * (k - firstColumn); };
  const QRectF head = PrintInfo::rectF(bands_.lineRect(1));
  StringDrawing::drawStringLeftedIn(painter, QStringLiteral("勘定科目"),
                                    QRectF(x, head.top(), kamokuWidth_, head.height()));
  for (int k = firstColumn; k < endColumn; ++k) {
    rules.emplace_back(cellX(k), head.top(), cellX(k), head.bottom());
    StringDrawing::drawStringLeftedIn(painter, QString::fromStdString(SuiiShisan::columnTitle(kaisya, k, closing)),
                                      QRectF(cellX(k), head.top(), monthlyAmountWidth_, head.height()));
  }
  frame.emplace_back(x + width, head.top(), x + width, head.bottom());
  frame.emplace_back(x, head.top(), x + width, head.top());
  frame.emplace_back(x, head.bottom(), x + width, head.bottom());
  frame.emplace_back(x + 0.5, head.top(), x + 0.5, head.bottom());

  const int L = paginator_->rowsPerPage();
  QRectF last;
  for (int j = 0; j < L; ++j) {
    const Shisan* row = paginator_->lines()[p.firstLine + static_cast<size_t>(j)];
    if (!row) continue;
    const QRectF band = PrintInfo::rectF(bands_.lineRect(j + 2));
    const bool tinted = row->isTotalRow();
    frame.emplace_back(x + 0.5, band.top(), x + 0.5, band.bottom());
    if (tinted) painter.fillRect(QRectF(x, band.top(), width, band.height()), kTotalRowColor);
    StringDrawing::drawStringLeftedIn(painter, QString::fromStdString(row->title()),
                                      QRectF(x, band.top(), kamokuWidth_, band.height()));
    for (int k = firstColumn; k < endColumn; ++k) {
      rules.emplace_back(cellX(k), band.top(), cellX(k), band.bottom());
      const auto& amounts = row->monthlyAmountArray();
      if (row->isHeadingRow() || static_cast<size_t>(k) >= amounts.size()) continue;
      StringDrawing::drawStringRightedIn(
          painter, QString::fromStdString(SuiiShisan::amountText(kaisya, amounts[static_cast<size_t>(k)])),
          QRectF(cellX(k), band.top(), monthlyAmountWidth_, band.height()));
    }
    frame.emplace_back(x + width, band.top(), x + width, band.bottom());
    rules.emplace_back(x, band.bottom(), x + width, band.bottom());
    last = band;
  }
  if (!last.isNull()) frame.emplace_back(x, last.bottom(), x + width, last.bottom());

  TablePrintLayout::strokeFrameAndRules(painter, frame, rules);
  painter.restore();
}

}  // namespace kivo

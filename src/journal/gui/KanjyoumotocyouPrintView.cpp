#include "journal/gui/KanjyoumotocyouPrintView.h"

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
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

QString text(const std::optional<std::string>& s) { return s ? QString::fromStdString(*s) : QString(); }

const QColor kTotalRowColor(240, 240, 240);

const char* const kColumnTitles[KanjyoumotocyouPrintView::ColumnCount] = {
    "日付", "生成", "相手勘定", "相手補助", "相手事業部", "摘要", "事業部", "借方金額", "貸方金額", "残高"};

}  // namespace

std::unique_ptr<KanjyoumotocyouPrintView> KanjyoumotocyouPrintView::create(const MyDocument& document,
                                                                           const QPageLayout& layout,
                                                                           const std::vector<Motocyou>& motocyouArray,
                                                                           int32_t periodFrom, int32_t periodTo,
                                                                           NumberingSource numbering)
{
  std::unique_ptr<KanjyoumotocyouPrintView> view(
      new KanjyoumotocyouPrintView(document, layout, periodFrom, periodTo, std::move(numbering)));
  const int rowsPerPage = KanjyoumotocyouPaginator::rowsPerPageOfBands(view->bands_);
  if (view->refusesPaper(rowsPerPage)) return nullptr;
  view->paginator_ = std::make_unique<KanjyoumotocyouPaginator>(document, motocyouArray, rowsPerPage);
  return view;
}

KanjyoumotocyouPrintView::KanjyoumotocyouPrintView(const MyDocument& document, const QPageLayout& layout,
                                                   int32_t periodFrom, int32_t periodTo, NumberingSource numbering)
    : BandedTablePrintView(layout),
      document_(document),
      periodFrom_(periodFrom),
      periodTo_(periodTo),
      numbering_(std::move(numbering))
{
  hidukeFormatter_ = std::make_unique<HidukeFormatter>(document, true);
  kamokuFormatter_ = std::make_unique<KamokuFormatter>(document, true);
  hojyoKamokuFormatter_ = std::make_unique<HojyoKamokuFormatter>(document);
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(document);
  periodText_ = QString::fromStdString(KanjyoumotocyouPaginator::periodText(document.kaisya(), periodFrom, periodTo));
  setRectSizeWithPrintInfo();
}

KanjyoumotocyouPrintView::~KanjyoumotocyouPrintView() = default;

void KanjyoumotocyouPrintView::setRectSizeWithPrintInfo()
{
  const bool createdType =
      UserDefaults::standardUserDefaults().boolForKey(QString::fromUtf8(KIVOKanjyoumotocyouShowCreatedTypeKey));
  const bool hojyo = document_.doesHaveKamokuWhichHasActiveHojyoKamoku();
  const bool jigyoubu = document_.numberOfActiveJigyoubu() > 0;
  const Kaisya& kaisya = document_.kaisya();
  const QString maxAmount = QString::fromStdString(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
  fitTable(5, [&](const QFontMetricsF& dm) {
    const double w = dm.horizontalAdvance(QStringLiteral("林"));
    const double z = dm.horizontalAdvance(QStringLiteral("0"));
    const double amount = dm.horizontalAdvance(maxAmount) + 6.0;
    widths_[Date] = 5 * z + 6;
    widths_[CreatedType] = createdType ? 2 * w + 6 : 0;
    widths_[AiteKamoku] = 8 * w + 6;
    widths_[AiteHojyoKamoku] = hojyo ? 8 * w + 6 : 0;
    widths_[AiteJigyoubu] = jigyoubu ? 8 * w + 6 : 0;
    widths_[Tekiyou] = 20 * w + 6;
    widths_[Jigyoubu] = jigyoubu ? 8 * w + 6 : 0;
    widths_[Karikata] = widths_[Kashikata] = widths_[Zandaka] = amount;
    return std::accumulate(std::begin(widths_), std::end(widths_), 0.0);
  });
}

double KanjyoumotocyouPrintView::columnX(Column c) const
{
  return bands_.geometry.leftMargin + std::accumulate(widths_, widths_ + c, 0.0);
}

QString KanjyoumotocyouPrintView::amountText(int64_t amount, bool capped) const
{
  const Kaisya& kaisya = document_.kaisya();
  return QString::fromStdString(capped ? kaisya.outputStringOfMemoryKingaku(amount)
                                       : kaisya.displayStringOfMemoryKingaku(amount));
}

void KanjyoumotocyouPrintView::drawCellLines(const QRectF& band, std::vector<QLineF>& frame,
                                             std::vector<QLineF>& rules) const
{
  const double x = bands_.geometry.leftMargin;
  frame.emplace_back(x + 0.5, band.top(), x + 0.5, band.bottom());
  for (int c = CreatedType; c < ColumnCount; ++c) {
    if (widths_[c] <= 0.0) continue;
    const double cx = columnX(static_cast<Column>(c));
    rules.emplace_back(cx, band.top(), cx, band.bottom());
  }
  frame.emplace_back(x + bands_.tableWidth, band.top(), x + bands_.tableWidth, band.bottom());
}

void KanjyoumotocyouPrintView::drawPage(QPainter& painter, int page)
{
  if (!paginator_ || page < 0 || page >= pageCount()) return;
  const KanjyoumotocyouPaginator& p = *paginator_;
  const double x = bands_.geometry.leftMargin;
  const double total = bands_.tableWidth;
  std::vector<QLineF> frame;
  std::vector<QLineF> rules;
  painter.save();
  TablePrintLayout::drawTitleBand(painter, titleFont_,
                                  QString::fromUtf8(p.isHojyomotocyou() ? kHojyoTitle : kSoukanjyouTitle),
                                  PrintInfo::rectF(bands_.titleRect()), dataFont_);
  // The page's text goes out together, before the rules.
  StringDrawing strings(painter);
  const QRectF head = PrintInfo::rectF(bands_.lineRect(p.columnTitleLine()));
  frame.emplace_back(x, head.top(), x + total + 0.5, head.top());
  frame.emplace_back(x + 0.5, head.bottom(), x + 0.5 + total, head.bottom());
  frame.emplace_back(x + 0.5, head.top(), x + 0.5, head.bottom());
  for (int c = 0; c < ColumnCount; ++c) {
    if (widths_[c] <= 0.0) continue;
    const double cx = columnX(static_cast<Column>(c));
    strings.leftedIn(QString::fromUtf8(kColumnTitles[c]), QRectF(cx, head.top(), widths_[c], head.height()));
    if (c > Date) rules.emplace_back(cx, head.top(), cx, head.bottom());
  }
  frame.emplace_back(x + total, head.top(), x + total, head.bottom());

  const PageNumbering numbering = numbering_ ? numbering_() : PageNumbering();
  strings.centeredIn(QString::number(p.pageNumber(page, numbering.continuous, numbering.startNumber)),
                     PrintInfo::rectF(bands_.lineRect(p.pageNumberLine())));

  // Never past the last row: a short last page draws what it has.
  const PrintPaginator::RowRange range = p.rowsOfPage(page);
  const auto& rows = p.printingMotocyouArray();
  QRectF lastOfRun;
  bool run = true;
  for (size_t r = range.first; r < range.end; ++r) {
    const KanjyoumotocyouPaginator::Row& row = rows[r];
    if (row.isEmptyLine) {
      run = false;
      continue;
    }
    const QRectF band = PrintInfo::rectF(bands_.lineRect(p.lineOfRow(r)));
    drawRow(strings, row, band, frame, rules);
    if (run) lastOfRun = band;
  }
  if (!lastOfRun.isNull()) frame.emplace_back(x, lastOfRun.bottom(), x + total, lastOfRun.bottom());

  strings.flush();
  TablePrintLayout::strokeFrameAndRules(painter, frame, rules);
  painter.restore();
}

void KanjyoumotocyouPrintView::drawRow(StringDrawing& strings, const KanjyoumotocyouPaginator::Row& row,
                                       const QRectF& band, std::vector<QLineF>& frame, std::vector<QLineF>& rules)
{
  const Motocyou& m = row.motocyou;
  const double x = bands_.geometry.leftMargin;
  const double total = bands_.tableWidth;
  const auto cell = [&](Column c) { return QRectF(columnX(c), band.top(), widths_[c], band.height()); };
  const int32_t kind = m.indexOfSortedShiwakeArray();
  if (kind == Motocyou::kHeadingRow) {
    strings.leftedIn(QString::fromStdString(m.title()), QRectF(x, band.top(), total, band.height()));
    return;
  }
  if (kind == Motocyou::kBalanceRow) {
    const double periodEnd = columnX(Karikata) + widths_[Karikata];
    strings.leftedIn(periodText_, QRectF(x, band.top(), periodEnd - x, band.height()));
    strings.leftedIn(QString::fromStdString(m.title()), cell(Kashikata));
    strings.rightedIn(amountText(m.zandaka(), true), cell(Zandaka));
    return;
  }
  rules.emplace_back(x + 0.5, band.bottom(), x + 0.5 + total, band.bottom());
  drawCellLines(band, frame, rules);
  if (kind == Motocyou::kTotalRow) {
    strings.painter().fillRect(QRectF(x, band.top(), total + 0.5, band.height()), kTotalRowColor);
    // A sum beyond the output limit reads "#Precision!", as the window shows it.
    strings.rightedIn(QString::fromStdString(m.title()), cell(Tekiyou));
    strings.rightedIn(amountText(m.karikataKingaku(), true), cell(Karikata));
    strings.rightedIn(amountText(m.kashikataKingaku(), true), cell(Kashikata));
    return;
  }
  const auto& sorted = document_.journal().sortedByDate();
  if (kind < 0 || static_cast<size_t>(kind) >= sorted.size()) return;
  const Shiwake& e = *sorted[static_cast<size_t>(kind)];
  const int32_t kamoku = m.motocyouKamokuCode();
  const int32_t hojyo = m.motocyouHojyoKamokuCode();
  const bool karikata = e.karikataKamokuCode() == kamoku && (hojyo == -1 || e.karikataHojyoKamokuCode() == hojyo);
  const bool kashikata = e.kashikataKamokuCode() == kamoku && (hojyo == -1 || e.kashikataHojyoKamokuCode() == hojyo);
  const int32_t aiteKamoku = karikata ? e.aiteKashikataKamokuCode() : e.aiteKarikataKamokuCode();
  const int32_t aiteHojyo = karikata ? e.aiteKashikataHojyoKamokuCode() : e.aiteKarikataHojyoKamokuCode();
  const int32_t aiteJigyoubu = karikata ? e.aiteKashikataJigyoubuCode() : e.aiteKarikataJigyoubuCode();
  const int32_t ownJigyoubu = karikata ? e.karikataJigyoubuCode() : e.kashikataJigyoubuCode();

  const QString date = e.date() == Date::kessanSeiridukiDate()
                           ? QStringLiteral("決算")
                           : text(hidukeFormatter_->stringForObjectValue(FieldValue::date(e.date())));
  strings.leftedIn(date, cell(Date));
  if (widths_[CreatedType] > 0 && e.kindOfShiwake() == ShiwakeKind::Furikaedenpyou)
    strings.leftedIn(QStringLiteral("振伝"), cell(CreatedType));
  strings.leftedIn(text(kamokuFormatter_->stringForObjectValue(FieldValue::code(aiteKamoku))), cell(AiteKamoku));
  if (widths_[AiteHojyoKamoku] > 0 && aiteHojyo != -1) {
    hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(aiteKamoku);
    strings.leftedIn(text(hojyoKamokuFormatter_->stringForObjectValue(FieldValue::code(aiteHojyo))),
                     cell(AiteHojyoKamoku));
  }
  if (widths_[AiteJigyoubu] > 0 && aiteJigyoubu != -1)
    strings.leftedIn(text(jigyoubuFormatter_->stringForObjectValue(FieldValue::code(aiteJigyoubu))),
                     cell(AiteJigyoubu));
  strings.leftedIn(QString::fromStdString(e.tekiyou()), cell(Tekiyou));
  if (widths_[Jigyoubu] > 0 && ownJigyoubu != -1)
    strings.leftedIn(text(jigyoubuFormatter_->stringForObjectValue(FieldValue::code(ownJigyoubu))), cell(Jigyoubu));
  if (karikata) strings.rightedIn(amountText(e.karikataKingaku(), false), cell(Karikata));
  if (kashikata) strings.rightedIn(amountText(e.kashikataKingaku(), false), cell(Kashikata));
  strings.rightedIn(amountText(m.zandaka(), true), cell(Zandaka));
}

}  // namespace kivo

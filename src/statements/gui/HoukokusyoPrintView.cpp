#include "statements/gui/HoukokusyoPrintView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "document/MyDocument.h"
#include "platform/AlertSheet.h"
#include "platform/PrintInfo.h"
#include "platform/StringDrawing.h"
#include "platform/TablePrintLayout.h"

namespace kivo {
namespace {

using D = StatementPageDrawing;

QString q(const std::string& s) { return QString::fromStdString(s); }

constexpr int kNoteFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;

}  // namespace

std::unique_ptr<HoukokusyoPrintView> HoukokusyoPrintView::make(const MyDocument& document,
                                                               const HoukokusyoStatements& statements,
                                                               const std::vector<Shisan>& riekiSyobunanRows,
                                                               const HoukokusyoPrintChoice& choice,
                                                               const QPageLayout& layout, QString& reason)
{
  std::unique_ptr<HoukokusyoPrintView> view(
      new HoukokusyoPrintView(document, statements, riekiSyobunanRows, choice, layout));
  if (!view->measure()) {
    reason = QString::fromUtf8(TablePrintLayout::kTooSmallMessage);
    return nullptr;
  }
  reason = view->initPageList();
  if (!reason.isEmpty()) return nullptr;
  return view;
}

std::unique_ptr<HoukokusyoPrintView> HoukokusyoPrintView::create(const MyDocument& document,
                                                                 const HoukokusyoStatements& statements,
                                                                 const std::vector<Shisan>& riekiSyobunanRows,
                                                                 const HoukokusyoPrintChoice& choice,
                                                                 const QPageLayout& layout)
{
  QString reason;
  auto view = make(document, statements, riekiSyobunanRows, choice, layout, reason);
  if (!view) AlertSheet::runAlert(QString::fromUtf8(AlertSheet::kCannotPrintTitle), reason);
  return view;
}

HoukokusyoPrintView::HoukokusyoPrintView(const MyDocument& document, const HoukokusyoStatements& statements,
                                         const std::vector<Shisan>& riekiSyobunanRows,
                                         const HoukokusyoPrintChoice& choice, const QPageLayout& layout)
    : StatementsPrintView(document, statements,
                          {choice.taisyakuTaisyouhyou, choice.sonekiKeisansyo, choice.hanbaihi, choice.seizougenka},
                          layout),
      statements_(statements)
{
  coversheet_ = choice.coversheet;
  riekiSyobunan_ = chosen(choice.riekisyobunan, riekiSyobunanRows);
}

bool HoukokusyoPrintView::measure()
{
  const QFont row = D::helvetica(10);
  const Kaisya& kaisya = document_.kaisya();
  titleHeight_ = QFontMetricsF(D::helveticaBold(13)).height() + 8.0;
  lineHeight_ = QFontMetricsF(row).height();
  const double amountWidth = D::widthOf(row, q(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue())));
  const double available = geometry_.printableWidth();
  const double space = D::widthOf(row, QStringLiteral("　"));
  const auto widest = [&](std::initializer_list<const std::vector<Shisan>*> arrays) {
    double w = 0;
    for (const auto* rows : arrays)
      if (rows)
        for (const Shisan& s : *rows) w = std::max(w, D::widthOf(row, q(s.title())));
    return w;
  };
  const double A = amountWidth + 6.0;
  taisyaku_ = {geometry_.leftMargin + 1.0, 0, available - 2.0, A};
  taisyaku_.kamokuWidth = (taisyaku_.totalWidth - 2 * A) / 2;
  if (taisyakuLeft_ && taisyaku_.kamokuWidth < widest({taisyakuLeft_, taisyakuRight_})) return false;
  soneki_.kingakuWidth = A;
  soneki_.kamokuWidth = widest({sonekiKeisan_, seizouGenka_, riekiSyobunan_}) + space + 6.0;
  soneki_.totalWidth = soneki_.kamokuWidth + 2 * A;
  soneki_.x = geometry_.leftMargin + (available - soneki_.totalWidth) / 2;
  hanbaihiTable_.kingakuWidth = A;
  hanbaihiTable_.kamokuWidth = widest({hanbaihi_}) + space + 6.0;
  hanbaihiTable_.totalWidth = hanbaihiTable_.kamokuWidth + A;
  hanbaihiTable_.x = geometry_.leftMargin + (available - hanbaihiTable_.totalWidth) / 2;
  if (soneki_.totalWidth > available || hanbaihiTable_.totalWidth > available) return false;
  linesPerPage_ = PrintPaginator::linesThatFit(geometry_.printableHeight() - titleHeight_, lineHeight_);
  return linesPerPage_ >= PrintPaginator::kMinimumRowsPerPage;
}

QString HoukokusyoPrintView::noteOf(PageKind kind) const
{
  const Kaisya& k = document_.kaisya();
  switch (kind) {
  case PageKind::TaisyakuTaisyou: return q(k.noteOfTaisyakuTaisyouhyouOfHoukokusyo());
  case PageKind::SonekiKeisan: return q(k.noteOfSonekiKeisansyoOfHoukokusyo());
  case PageKind::Hanbaihi: return q(k.noteOfHanbaihiOfHoukokusyo());
  case PageKind::SeizouGenka: return q(k.noteOfSeizougenkaOfHoukokusyo());
  case PageKind::RiekiSyobunan: return q(k.noteOfRiekisyobunanOfHoukokusyo());
  case PageKind::Cover: break;
  }
  return {};
}

double HoukokusyoPrintView::noteWidth(PageKind kind) const
{
  const StatementTableGeometry& t = kind == PageKind::TaisyakuTaisyou ? taisyaku_ : soneki_;
  return geometry_.printableWidth() - (t.x - geometry_.leftMargin);
}

double HoukokusyoPrintView::noteHeight(PageKind kind) const
{
  const QString note = noteOf(kind);
  if (note.trimmed().isEmpty()) return 0;
  const QFontMetricsF m(D::helvetica(8));
  return m.boundingRect(QRectF(0, 0, noteWidth(kind), 1e6), kNoteFlags, note).height();
}

QString HoukokusyoPrintView::initPageList()
{
  pages_.clear();
  if (coversheet_) pages_.push_back({PageKind::Cover, QString::fromUtf8(kCoverTitle)});
  const auto statement = [&](PageKind kind, const QString& title, size_t rows) -> QString {
    const size_t perPage = static_cast<size_t>(linesPerPage_ - headerLines(kind));
    for (size_t first = 0; first < rows; first += perPage)
      pages_.push_back({kind, title, first, std::min(rows, first + perPage)});
    const double h = noteHeight(kind);
    if (h <= 0) return {};
    // The note starts 4 points under the table; it needs whole lines of room.
    const auto noteLines = static_cast<size_t>(std::ceil((h + 4.0) / lineHeight_));
    if (noteLines > perPage) return QStringLiteral("「%1」の注記が長すぎて1ページに収まりません。").arg(title);
    const Page& last = pages_.back();
    if (last.end - last.first + noteLines > perPage) pages_.push_back({kind, title, rows, rows});
    pages_.back().withNote = true;
    return {};
  };
  QString reason;
  if (taisyakuLeft_)
    reason = statement(PageKind::TaisyakuTaisyou, QString::fromUtf8(kTaisyakuTaisyouTitle),
                       std::max(taisyakuLeft_->size(), taisyakuRight_->size()));
  if (reason.isEmpty() && sonekiKeisan_)
    reason = statement(PageKind::SonekiKeisan, QString::fromUtf8(kSonekiKeisanTitle), sonekiKeisan_->size());
  if (reason.isEmpty() && hanbaihi_)
    reason = statement(PageKind::Hanbaihi, QString::fromUtf8(kHanbaihiTitle), hanbaihi_->size());
  if (reason.isEmpty() && seizouGenka_)
    reason = statement(PageKind::SeizouGenka, QString::fromUtf8(seizouGenkaTitle()), seizouGenka_->size());
  if (reason.isEmpty() && riekiSyobunan_)
    reason = statement(PageKind::RiekiSyobunan, QString::fromUtf8(kRiekiSyobunanTitle), riekiSyobunan_->size());
  return reason;
}

QString HoukokusyoPrintView::drawnTitle(const Page& page) const
{
  if (page.kind != PageKind::RiekiSyobunan) return page.title;
  // The appropriation is titled as the company record keeps it; a loss without a
  // title of its own is a 損失処理案.
  const std::string& t = document_.kaisya().titleOfRiekisyobunanOfHoukokusyo();
  if (!t.empty()) return q(t);
  const bool loss = !riekiSyobunan_->empty() && riekiSyobunan_->front().title() == "当期未処理損失";
  return loss ? QStringLiteral("損失処理案") : page.title;
}

void HoukokusyoPrintView::drawHeader(QPainter& painter, const Page& page, const StatementTableGeometry& table)
{
  const Kaisya& kaisya = document_.kaisya();
  painter.setFont(D::helveticaBold(13));
  StringDrawing::drawStringCenteredIn(painter, drawnTitle(page), titleRect());
  int unitLine = 0;
  if (page.kind != PageKind::RiekiSyobunan) {
    painter.setFont(D::helvetica(11));
    QRectF r = rowRect(0);
    r.moveLeft(table.x);
    StringDrawing::drawStringLeftedIn(painter, q(kaisya.name()), r);
    painter.setFont(D::courier(10));
    StringDrawing::drawStringCenteredIn(
        painter,
        page.kind == PageKind::TaisyakuTaisyou ? D::dateLineOfTaisyakuTaisyou(kaisya) : D::printKikanString(kaisya),
        rowRect(1));
    unitLine = 2;
  }
  painter.setFont(D::helvetica(10));
  const QRectF unit = rowRect(unitLine);
  StringDrawing::drawStringRightedIn(painter, QStringLiteral("(単位：") + q(kaisya.currencyUnitOfHoukokusyo()) + ")",
                                     QRectF(table.x, unit.top(), table.totalWidth, unit.height()));
}

void HoukokusyoPrintView::drawPage(QPainter& painter, int index)
{
  if (index < 0 || index >= pageCount()) return;
  const Page& p = pages_[static_cast<size_t>(index)];
  const Kaisya& kaisya = document_.kaisya();
  painter.save();
  painter.setPen(Qt::black);
  const auto rect = [this](int line) { return rowRect(line); };
  const int firstLine = headerLines(p.kind);
  // The header and note of the SG&A schedule stand on the income statement's table.
  const StatementTableGeometry& header = p.kind == PageKind::TaisyakuTaisyou ? taisyaku_ : soneki_;
  switch (p.kind) {
  case PageKind::Cover: D::drawCoversheet(painter, kaisya, geometry_); break;
  case PageKind::TaisyakuTaisyou:
    drawHeader(painter, p, header);
    D::drawTaisyakuTaisyou(painter, kaisya, *taisyakuLeft_, *taisyakuRight_, p.first, p.end, rect, firstLine,
                           taisyaku_);
    break;
  case PageKind::SonekiKeisan:
    drawHeader(painter, p, header);
    D::drawTwoColumns(painter, kaisya, *sonekiKeisan_, p.first, p.end, rect, firstLine, soneki_);
    break;
  case PageKind::Hanbaihi:
    drawHeader(painter, p, header);
    D::drawHanbaihi(painter, kaisya, *hanbaihi_, p.first, p.end, rect, firstLine, hanbaihiTable_);
    break;
  case PageKind::SeizouGenka:
    drawHeader(painter, p, header);
    D::drawTwoColumns(painter, kaisya, *seizouGenka_, p.first, p.end, rect, firstLine, soneki_);
    break;
  case PageKind::RiekiSyobunan:
    drawHeader(painter, p, header);
    D::drawTwoColumns(painter, kaisya, *riekiSyobunan_, p.first, p.end, rect, firstLine, soneki_);
    break;
  }
  if (p.withNote) {
    const double top = rowRect(firstLine + static_cast<int>(p.end - p.first)).top() + 4.0;
    painter.setFont(D::helvetica(8));
    painter.drawText(QRectF(header.x, top, noteWidth(p.kind), geometry_.paperHeight - top), kNoteFlags, noteOf(p.kind));
  }
  painter.restore();
}

}  // namespace kivo

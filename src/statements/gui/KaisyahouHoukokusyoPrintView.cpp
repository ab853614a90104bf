#include "statements/gui/KaisyahouHoukokusyoPrintView.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "document/MyDocument.h"
#include "model/Wareki.h"
#include "platform/PrintFonts.h"
#include "platform/PrintInfo.h"
#include "platform/StringDrawing.h"
#include "platform/TablePrintLayout.h"
#include "statements/KaisyahouRowCodes.h"
#include "statements/gui/StatementPageDrawing.h"

namespace kivo {
namespace {

using Kind = KabunushiShihonHendouBuilder::RowLabel::Kind;

const char* const kToukiSoneki = "当期純損益";
const char* const kJungaku = "株主資本以外の項目の当期変動額(純額)";
const char* const kJungakuTwoLines = "　株主資本以外の項目の\n　当期変動額(純額)";

QString q(const std::string& s) { return QString::fromStdString(s); }
QFont helvetica(int size) { return StatementPageDrawing::helvetica(size); }
QFont helveticaBold(int size) { return StatementPageDrawing::helveticaBold(size); }
QFont courier(int size, bool bold = false) { return StatementPageDrawing::courier(size, bold); }
double widthOf(const QFont& font, const QString& s) { return StatementPageDrawing::widthOf(font, s); }

// Lines collected while a page is drawn, stroked once at its end: the frame at one
// point, the rules at half a point.
struct Strokes {
  std::vector<QLineF> frame, rule;
  void stroke(QPainter& painter) const
  {
    TablePrintLayout::strokeFrameAndRules(painter, frame, rule);
    painter.setPen(Qt::black);
  }
};

// A 72-dpi device: the notes are laid out in points, the painter's units.
QPaintDevice* pointDevice()
{
  static QImage image = [] {
    QImage i(1, 1, QImage::Format_ARGB32);
    const int dotsPerMeter = qRound(72.0 / 0.0254);
    i.setDotsPerMeterX(dotsPerMeter);
    i.setDotsPerMeterY(dotsPerMeter);
    return i;
  }();
  return &image;
}

}  // namespace

std::unique_ptr<KaisyahouHoukokusyoPrintView> KaisyahouHoukokusyoPrintView::create(
    const MyDocument& document, const KaisyahouHoukokusyoStatements& statements,
    const KaisyahouHoukokusyoPrintChoice& choice, const QPageLayout& layout)
{
  std::unique_ptr<KaisyahouHoukokusyoPrintView> view(
      new KaisyahouHoukokusyoPrintView(document, statements, choice, layout));
  if (!view->measure()) {
    TablePrintLayout::alertCannotPrint(TablePrintLayout::kTooSmallMessage);
    return nullptr;
  }
  view->initNotes();
  view->initPageList();
  return view;
}

KaisyahouHoukokusyoPrintView::KaisyahouHoukokusyoPrintView(const MyDocument& document,
                                                           const KaisyahouHoukokusyoStatements& statements,
                                                           const KaisyahouHoukokusyoPrintChoice& choice,
                                                           const QPageLayout& layout)
    : StatementsPrintView(document, statements,
                          {choice.taisyakuTaisyouhyou, choice.sonekiKeisansyo, choice.hanbaihi, choice.seizougenka},
                          layout),
      statements_(statements),
      choice_(choice)
{
  isPortrait_ = geometry_.paperWidth <= geometry_.paperHeight;
  if (choice.kabunushiShihon && !statements.kabunushiShihon.columns.empty())
    kabunushiShihon_ = &statements.kabunushiShihon;
}

KaisyahouHoukokusyoPrintView::~KaisyahouHoukokusyoPrintView() = default;

bool KaisyahouHoukokusyoPrintView::measure()
{
  if (!setRectSizeOfTaisyakuTaisyou() || !setRectSizeOfTwoColumns()) return false;
  linesPerPage_ = PrintPaginator::linesThatFit(geometry_.printableHeight() - titleHeight_, lineHeight_);
  if (linesPerPage_ < PrintPaginator::kMinimumRowsPerPage) return false;
  if (!kabunushiShihon_) return true;
  return choice_.tateKabunushiShihon ? setRectSizeOfTateKabunushiShihon() : setRectSizeOfKabunushiShihon();
}

bool KaisyahouHoukokusyoPrintView::setRectSizeOfTaisyakuTaisyou()
{
  const QFont title = helveticaBold(13);
  const QFont row = helvetica(10);
  const Kaisya& kaisya = document_.kaisya();
  titleHeight_ = QFontMetricsF(title).height() + 8.0;
  kingakuWidth_ = widthOf(row, q(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()))) + 6.0;
  lineHeight_ = QFontMetricsF(row).height();
  taisyakuTotalWidth_ = geometry_.printableWidth() - 2.0;
  taisyakuKamokuWidth_ = (taisyakuTotalWidth_ - 2 * kingakuWidth_) / 2;
  taisyakuX_ = geometry_.leftMargin + 1.0;
  if (!taisyakuLeft_) return true;
  double widest = 0;
  for (const auto* rows : {taisyakuLeft_, taisyakuRight_})
    for (const Shisan& s : *rows) widest = std::max(widest, widthOf(row, q(s.title())));
  return taisyakuKamokuWidth_ >= widest;
}

bool KaisyahouHoukokusyoPrintView::setRectSizeOfTwoColumns()
{
  const QFont row = helvetica(10);
  const double space = widthOf(row, QStringLiteral("　"));
  const double available = geometry_.printableWidth();
  double widest = 0;
  for (const auto* rows : {sonekiKeisan_, seizouGenka_})
    if (rows)
      for (const Shisan& s : *rows) widest = std::max(widest, widthOf(row, q(s.title())));
  sonekiKamokuWidth_ = widest + space + 6.0;
  sonekiTotalWidth_ = sonekiKamokuWidth_ + 2 * kingakuWidth_;
  sonekiX_ = geometry_.leftMargin + (available - sonekiTotalWidth_) * 0.5;
  widest = 0;
  if (hanbaihi_)
    for (const Shisan& s : *hanbaihi_) widest = std::max(widest, widthOf(row, q(s.title())));
  hanbaihiKamokuWidth_ = widest + space + 6.0;
  hanbaihiTotalWidth_ = hanbaihiKamokuWidth_ + kingakuWidth_;
  hanbaihiX_ = geometry_.leftMargin + (available - hanbaihiTotalWidth_) * 0.5;
  return sonekiTotalWidth_ <= available && hanbaihiTotalWidth_ <= available;
}

namespace {

double widestReason(const KabunushiShihonHendouBuilder::Statement& st, const QFont& font)
{
  double w = 0;
  for (const auto& label : st.rowLabels) {
    const bool jungaku = label.kind == Kind::Reason && label.title == kJungaku;
    w = std::max(w, widthOf(font, jungaku ? QString::fromUtf8(kJungakuTwoLines) : q(label.title)));
  }
  return w;
}

}  // namespace

bool KaisyahouHoukokusyoPrintView::setRectSizeOfTateKabunushiShihon()
{
  const QFont f = helvetica(10);
  const double cw = widthOf(f, QStringLiteral("林"));
  double maxT = 0;
  for (const Shisan& s : kabunushiShihon_->columns)
    for (const std::string* t : {&s.title(), &s.title2(), &s.title3(), &s.title4()})
      maxT = std::max(maxT, widthOf(f, q(*t)));
  tateKamokuWidth_ = maxT + widthOf(f, QStringLiteral("　　")) + 2 * cw + 6.0;
  tateLabelWidth_ = 2 * cw + widthOf(f, QStringLiteral("当期変動額(純額)")) + 6.0;
  tateReasonWidth_ = 2 * cw + widestReason(*kabunushiShihon_, f) + widthOf(f, QStringLiteral("　")) + 6.0;
  const double both = 2 * cw + widthOf(f, QStringLiteral("前期末残高及び当期末残高")) + 6.0;
  if (both > tateLabelWidth_ + tateReasonWidth_) tateReasonWidth_ = both - tateLabelWidth_;
  tateTotalWidth_ = tateKamokuWidth_ + tateLabelWidth_ + tateReasonWidth_ + kingakuWidth_;
  const double available = geometry_.printableWidth();
  tateX_ = geometry_.leftMargin + (available - tateTotalWidth_) * 0.5;
  if (tateTotalWidth_ > available) return false;
  buildTateLines();
  return true;
}

bool KaisyahouHoukokusyoPrintView::setRectSizeOfKabunushiShihon()
{
  // The table runs along the long side of a portrait sheet: the turned page is as
  // wide as the paper is tall; its side margins are the paper's bottom and top ones.
  yokoGeometry_ = geometry_;
  if (isPortrait_) {
    yokoGeometry_.paperWidth = geometry_.paperHeight;
    yokoGeometry_.paperHeight = geometry_.paperWidth;
    yokoGeometry_.leftMargin = geometry_.bottomMargin;
    yokoGeometry_.rightMargin = geometry_.topMargin;
    yokoGeometry_.topMargin = geometry_.leftMargin;
    yokoGeometry_.bottomMargin = geometry_.rightMargin;
  }
  yokoGeometry_.leftMargin = std::max(yokoGeometry_.leftMargin, 18.0);
  yokoGeometry_.rightMargin = std::max(yokoGeometry_.rightMargin, 18.0);
  const Kaisya& kaisya = document_.kaisya();
  const QString maxAmount = q(kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
  const double available = yokoGeometry_.printableWidth();
  const size_t columns = kabunushiShihon_->columns.size();
  for (const Shisan& c : kabunushiShihon_->columns) {
    int level = 0;
    for (const std::string* t : {&c.title(), &c.title2(), &c.title3(), &c.title4()}) {
      const int lines = static_cast<int>(std::count(t->begin(), t->end(), '\n')) + 1;
      yokoHeadingLines_[level] = std::max(yokoHeadingLines_[level], lines);
      ++level;
    }
  }
  for (int title = 13, data = 10; data >= 4; --title, --data) {
    const QFont tf = helvetica(title);
    const QFont df = helvetica(data);
    yokoTitleHeight_ = QFontMetricsF(tf).height() + 8.0;
    yokoLineHeight_ = QFontMetricsF(df).height() + 8.0;
    yokoReasonWidth_ = widestReason(*kabunushiShihon_, df) + widthOf(df, QStringLiteral("　")) + 6.0;
    yokoKingakuWidth_ = std::max(widthOf(df, maxAmount) + 6.0, 8 * widthOf(df, QStringLiteral("林")) + 6.0);
    yokoTotalWidth_ = yokoReasonWidth_ + yokoKingakuWidth_ * static_cast<double>(columns);
    yokoX_ = yokoGeometry_.leftMargin + (available - yokoTotalWidth_) / 2;
    yokoLinesPerPage_ =
        PrintPaginator::linesThatFit(yokoGeometry_.printableHeight() - yokoTitleHeight_, yokoLineHeight_);
    if (yokoTotalWidth_ + 0.5 <= available) {
      yokoTitleSize_ = title;
      yokoDataSize_ = data;
      // The lines of title and headings, and room for the tallest row under them.
      if (yokoLinesPerPage_ < 3 + yokoHeadingLineCount() + 2) return false;
      buildYokoRows();
      return true;
    }
  }
  return false;
}

QString KaisyahouHoukokusyoPrintView::amountText(int64_t v) const
{
  return StatementPageDrawing::amountText(document_.kaisya(), v);
}

QString KaisyahouHoukokusyoPrintView::dateText(Date date, bool wareki) const
{
  return StatementPageDrawing::dateText(date, wareki);
}

QString KaisyahouHoukokusyoPrintView::printKikanString() const
{
  return StatementPageDrawing::printKikanString(document_.kaisya());
}

void KaisyahouHoukokusyoPrintView::buildTateLines()
{
  const auto& st = *kabunushiShihon_;
  const int64_t M = document_.kaisya().maxOutputAmountValue();
  int zenki = -1, goukei = -1, touki = -1;
  for (size_t j = 0; j < st.rowLabels.size(); ++j) {
    if (st.rowLabels[j].kind == Kind::Zenkimatsu) zenki = static_cast<int>(j);
    if (st.rowLabels[j].kind == Kind::ToukiHendouGoukei) goukei = static_cast<int>(j);
    if (st.rowLabels[j].kind == Kind::Toukimatsu) touki = static_cast<int>(j);
  }
  if (zenki < 0 || goukei < 0 || touki < 0) return;
  const auto line = [&](size_t i) -> TateLine& {
    while (tateLines_.size() <= i) tateLines_.emplace_back();
    return tateLines_[i];
  };
  std::string last[3];
  for (size_t n = 0; n < st.columns.size(); ++n) {
    const Shisan& s = st.columns[n];
    const auto& cells = s.monthlyAmountArray();
    if (cells.size() < st.rowLabels.size()) continue;
    const std::string* titles[4] = {&s.title(), &s.title2(), &s.title3(), &s.title4()};
    // Each heading level prints when it differs from the last one printed on its
    // level (the fourth always); the item's figures start on the line of its last
    // printed heading, or on a line of their own when every heading repeats.
    bool onHeadingLine = false;
    for (int k = 0; k < 4 && !titles[k]->empty(); ++k) {
      const bool deepest = k == 3 || titles[k + 1]->empty();
      if (k < 3 && *titles[k] == last[k]) {
        onHeadingLine = false;
        continue;
      }
      if (k < 3) last[k] = *titles[k];
      tateLines_.emplace_back();
      tateLines_.back().heading = q(*titles[k]);
      onHeadingLine = deepest;
    }
    if (!onHeadingLine) tateLines_.emplace_back();
    const size_t L = tateLines_.size() - 1;
    const bool isTotal = s.kamokuCode() == KaisyahouBlockTotalRowCode;
    if (cells[goukei] == 0 && !isTotal && cells[zenki] == cells[touki]) {
      TateLine& l = line(L);
      l.label = QStringLiteral("前期末残高及び当期末残高");
      l.labelSpans = true;
      l.amount = amountText(cells[zenki]);
      l.doubleRuleBelow = true;
      continue;
    }
    line(L).label = QStringLiteral("前期末残高");
    line(L).amount = amountText(cells[zenki]);
    size_t cur = L + 1;
    int64_t sum = 0;
    bool overflow = false;
    for (size_t j = 0; j < st.rowLabels.size(); ++j) {
      const auto& label = st.rowLabels[j];
      const int64_t v = cells[j];
      if (label.kind != Kind::Reason || v == 0) continue;
      if (isTotal) {
        const int64_t shown = KabunushiShihonHendouBuilder::amountOfCell(v, M);
        if (overflow || std::abs(shown) > M || std::abs(sum + shown) > M)
          overflow = true;
        else
          sum += shown;
        continue;
      }
      const bool jungaku = label.title == kJungaku;
      TateLine& l = line(cur);
      if (cur == L + 1 || jungaku)
        l.label = jungaku ? QStringLiteral("当期変動額(純額)") : QStringLiteral("当期変動額");
      if (!jungaku) l.reason = q(label.title);
      l.amount = amountText(label.title == kToukiSoneki ? KabunushiShihonHendouBuilder::amountOfCell(v, M) : v);
      ++cur;
    }
    if (isTotal) {
      TateLine& l = line(cur++);
      l.label = QStringLiteral("当期変動額");
      l.amount = overflow ? QString::fromUtf8(kOverflowText) : amountText(sum);
    }
    TateLine& l = line(cur);
    l.label = QStringLiteral("当期末残高");
    l.amount = amountText(cells[touki]);
    l.ruleAbove = true;
    l.doubleRuleBelow = true;
  }
}

void KaisyahouHoukokusyoPrintView::buildYokoRows()
{
  for (size_t j = 0; j < kabunushiShihon_->rowLabels.size(); ++j) {
    const auto& label = kabunushiShihon_->rowLabels[j];
    yokoRows_.push_back({j, label.kind == Kind::Reason && label.title == kJungaku ? 2 : 1});
  }
}

void KaisyahouHoukokusyoPrintView::initNotes()
{
  const std::string& html = document_.kaisya().noteOfKaisyahouHoukokusyo();
  if (!choice_.note || html.empty()) return;
  note_ = std::make_unique<QTextDocument>();
  note_->documentLayout()->setPaintDevice(pointDevice());
  note_->setDefaultFont(helvetica(10));
  QTextOption option = note_->defaultTextOption();
  // A line breaks between words, or between any two characters where a word is
  // wider than the page; a line always takes at least one character.
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  note_->setDefaultTextOption(option);
  note_->setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
  note_->setDocumentMargin(0);
  noteHeight_ = geometry_.printableHeight();
  note_->setPageSize(QSizeF(geometry_.printableWidth(), noteHeight_));
  if (note_->toPlainText().trimmed().isEmpty()) note_.reset();
}

void KaisyahouHoukokusyoPrintView::initPageList()
{
  pages_.clear();
  if (choice_.coversheet) pages_.push_back({PageKind::Cover, QString::fromUtf8(kCoverTitle)});
  const int rowsPerPage = linesPerPage_ - 3;
  const auto statement = [&](PageKind kind, const char* title, size_t rows, size_t perPage) {
    for (size_t first = 0; first < rows || first == 0; first += perPage)
      pages_.push_back({kind, QString::fromUtf8(title), first, std::min(rows, first + perPage)});
  };
  if (taisyakuLeft_)
    statement(PageKind::TaisyakuTaisyou, kTaisyakuTaisyouTitle, std::max(taisyakuLeft_->size(), taisyakuRight_->size()),
              rowsPerPage);
  if (sonekiKeisan_) statement(PageKind::SonekiKeisan, kSonekiKeisanTitle, sonekiKeisan_->size(), rowsPerPage);
  if (hanbaihi_) statement(PageKind::Hanbaihi, kHanbaihiTitle, hanbaihi_->size(), rowsPerPage);
  if (seizouGenka_) statement(PageKind::SeizouGenka, seizouGenkaTitle(), seizouGenka_->size(), rowsPerPage);
  if (kabunushiShihon_) {
    if (choice_.tateKabunushiShihon) {
      statement(PageKind::KabunushiShihon, kKabunushiShihonTitle, tateLines_.size(), linesPerPage_ - 4);
    } else {
      // Rows are cut so that a two-line row never straddles a page.
      const int perPage = yokoLinesPerPage_ - 3 - yokoHeadingLineCount();
      size_t first = 0;
      while (first < yokoRows_.size() || first == 0) {
        size_t end = first;
        int used = 0;
        while (end < yokoRows_.size() && used + yokoRows_[end].lines <= perPage) used += yokoRows_[end++].lines;
        pages_.push_back({PageKind::KabunushiShihon, QString::fromUtf8(kKabunushiShihonTitle), first, end});
        if (end == first) break;
        first = end;
      }
    }
  }
  if (note_)
    for (int j = 0; j < note_->pageCount(); ++j) {
      Page p{PageKind::Note, QString()};
      p.noteIndex = j;
      pages_.push_back(p);
    }
}

void KaisyahouHoukokusyoPrintView::drawPage(QPainter& painter, int page)
{
  if (page < 0 || page >= pageCount()) return;
  const Page& p = pages_[page];
  painter.save();
  painter.setPen(Qt::black);
  switch (p.kind) {
  case PageKind::Cover: drawCoversheet(painter); break;
  case PageKind::TaisyakuTaisyou: drawTaisyakuTaisyou(painter, p); break;
  case PageKind::SonekiKeisan: drawTwoColumns(painter, p, *sonekiKeisan_); break;
  case PageKind::Hanbaihi: drawHanbaihi(painter, p); break;
  case PageKind::SeizouGenka: drawTwoColumns(painter, p, *seizouGenka_); break;
  case PageKind::KabunushiShihon:
    if (choice_.tateKabunushiShihon)
      drawTateKabunushiShihon(painter, p);
    else
      drawYokoKabunushiShihon(painter, p);
    break;
  case PageKind::Note: drawNote(painter, p); break;
  }
  painter.restore();
}

void KaisyahouHoukokusyoPrintView::drawHeader(QPainter& painter, const Page& page, double x, double width,
                                              const QString& periodLine)
{
  const Kaisya& kaisya = document_.kaisya();
  painter.setFont(helveticaBold(13));
  StringDrawing::drawStringCenteredIn(painter, page.title, titleRect());
  painter.setFont(helvetica(11));
  QRectF r = rowRect(0);
  r.moveLeft(x);
  StringDrawing::drawStringLeftedIn(painter, q(kaisya.name()), r);
  painter.setFont(courier(10));
  StringDrawing::drawStringCenteredIn(painter, periodLine, rowRect(1));
  painter.setFont(helvetica(10));
  const QRectF unit = rowRect(2);
  StringDrawing::drawStringRightedIn(painter, QStringLiteral("(単位：") + q(kaisya.currencyUnitOfHoukokusyo()) + ")",
                                     QRectF(x, unit.top(), width, unit.height()));
}

void KaisyahouHoukokusyoPrintView::drawCoversheet(QPainter& painter)
{
  StatementPageDrawing::drawCoversheet(painter, document_.kaisya(), geometry_);
}

void KaisyahouHoukokusyoPrintView::drawTwoColumns(QPainter& painter, const Page& page, const std::vector<Shisan>& rows)
{
  drawHeader(painter, page, sonekiX_, sonekiTotalWidth_, printKikanString());
  StatementPageDrawing::drawTwoColumns(painter, document_.kaisya(), rows, page.first, page.end,
                                       [this](int line) { return rowRect(line); }, 3,
                                       {sonekiX_, sonekiKamokuWidth_, sonekiTotalWidth_, kingakuWidth_});
}

void KaisyahouHoukokusyoPrintView::drawHanbaihi(QPainter& painter, const Page& page)
{
  drawHeader(painter, page, sonekiX_, sonekiTotalWidth_, printKikanString());
  StatementPageDrawing::drawHanbaihi(painter, document_.kaisya(), *hanbaihi_, page.first, page.end,
                                     [this](int line) { return rowRect(line); }, 3,
                                     {hanbaihiX_, hanbaihiKamokuWidth_, hanbaihiTotalWidth_, kingakuWidth_});
}

void KaisyahouHoukokusyoPrintView::drawTaisyakuTaisyou(QPainter& painter, const Page& page)
{
  drawHeader(painter, page, taisyakuX_, taisyakuTotalWidth_,
             StatementPageDrawing::dateLineOfTaisyakuTaisyou(document_.kaisya()));
  StatementPageDrawing::drawTaisyakuTaisyou(painter, document_.kaisya(), *taisyakuLeft_, *taisyakuRight_, page.first,
                                            page.end, [this](int line) { return rowRect(line); }, 3,
                                            {taisyakuX_, taisyakuKamokuWidth_, taisyakuTotalWidth_, kingakuWidth_});
}

void KaisyahouHoukokusyoPrintView::drawTateKabunushiShihon(QPainter& painter, const Page& page)
{
  const Kaisya& k = document_.kaisya();
  const double X = tateX_, KW = tateKamokuWidth_, HW = tateLabelWidth_, RW = tateReasonWidth_;
  const double AW = kingakuWidth_, A = X + KW + HW + RW;
  painter.setFont(helveticaBold(13));
  StringDrawing::drawStringCenteredIn(painter, page.title, titleRect());
  painter.setFont(helvetica(11));
  QRectF r = rowRect(0);
  r.moveLeft(X);
  StringDrawing::drawStringLeftedIn(painter, q(k.name()), r);
  painter.setFont(courier(10));
  StringDrawing::drawStringCenteredIn(painter, printKikanString(), rowRect(1));
  painter.setFont(helvetica(10));
  const QRectF unit = rowRect(3);
  StringDrawing::drawStringRightedIn(painter, QStringLiteral("(単位：") + q(k.currencyUnitOfHoukokusyo()) + ")",
                                     QRectF(X, unit.top(), tateTotalWidth_, unit.height()));
  Strokes s;
  for (size_t i = page.first; i < page.end; ++i) {
    const TateLine& l = tateLines_[i];
    const QRectF R = rowRect(4 + static_cast<int>(i - page.first));
    const double y = R.top(), h = R.height();
    if (!l.heading.isEmpty()) StringDrawing::drawStringLeftedIn(painter, l.heading, QRectF(X, y, KW, h));
    StringDrawing::drawStringLeftedIn(painter, l.label, QRectF(X + KW, y, l.labelSpans ? HW + RW : HW, h));
    if (!l.reason.isEmpty()) StringDrawing::drawStringLeftedIn(painter, l.reason, QRectF(X + KW + HW, y, RW, h));
    if (!l.amount.isEmpty()) StringDrawing::drawStringRightedIn(painter, l.amount, QRectF(A, y, AW, h));
    if (l.ruleAbove) s.rule.emplace_back(A + 0.5, y, A + 0.5 + AW, y);
    if (l.doubleRuleBelow) {
      s.rule.emplace_back(A + 0.5, y + h, A + 0.5 + AW, y + h);
      s.rule.emplace_back(A + 0.5, y + h + 1.5, A + 0.5 + AW, y + h + 1.5);
    }
  }
  s.stroke(painter);
}

int KaisyahouHoukokusyoPrintView::yokoHeadingLineCount() const
{
  return yokoHeadingLines_[0] + yokoHeadingLines_[1] + yokoHeadingLines_[2] + yokoHeadingLines_[3];
}

void KaisyahouHoukokusyoPrintView::drawYokoKabunushiShihon(QPainter& painter, const Page& page)
{
  const auto& st = *kabunushiShihon_;
  const Kaisya& k = document_.kaisya();
  const int64_t M = k.maxOutputAmountValue();
  if (isPortrait_) {
    // The table along the long side: the turned page's top edge lies on the sheet's
    // left edge.
    painter.translate(0, geometry_.paperHeight);
    painter.rotate(-90);
  }
  const PrintPageGeometry& g = yokoGeometry_;
  const double X = yokoX_, RW = yokoReasonWidth_, KW = yokoKingakuWidth_, TW = yokoTotalWidth_;
  const double h = yokoLineHeight_;
  const auto lineTop = [&](int n) { return g.topMargin + yokoTitleHeight_ + n * h; };
  double headingTop[5] = {lineTop(3)};
  for (int level = 0; level < 4; ++level) headingTop[level + 1] = headingTop[level] + yokoHeadingLines_[level] * h;
  const QFont data = helvetica(yokoDataSize_);
  painter.setFont(helveticaBold(yokoTitleSize_));
  StringDrawing::drawStringCenteredIn(painter, page.title,
                                      QRectF(g.leftMargin, g.topMargin, g.printableWidth(), yokoTitleHeight_));
  painter.setFont(helvetica(std::max(yokoTitleSize_ - 2, 1)));
  StringDrawing::drawStringLeftedIn(painter, q(k.name()), QRectF(X, lineTop(0), g.printableWidth(), h));
  painter.setFont(courier(yokoDataSize_));
  StringDrawing::drawStringCenteredIn(painter, printKikanString(),
                                      QRectF(g.leftMargin, lineTop(1), g.printableWidth(), h));
  painter.setFont(data);
  StringDrawing::drawStringRightedIn(painter, QStringLiteral("(単位：") + q(k.currencyUnitOfHoukokusyo()) + ")",
                                     QRectF(X, lineTop(2), TW, h));
  Strokes s;
  // Headings, four levels: a run of columns with the same title at a level is one
  // cell; a cell whose column has no title below reaches down over those lines.
  const size_t columns = st.columns.size();
  s.frame.emplace_back(X, headingTop[0], X + RW + 0.5, headingTop[0]);
  s.frame.emplace_back(X + 0.5, headingTop[0], X + 0.5, headingTop[4]);
  const auto titleAt = [&](const Shisan& c, int level) -> const std::string& {
    return level == 0 ? c.title() : level == 1 ? c.title2() : level == 2 ? c.title3() : c.title4();
  };
  for (int level = 0; level < 4; ++level) {
    double x = X + RW;
    const double top = headingTop[level];
    const double lh = headingTop[level + 1] - top;
    for (size_t c = 0; c < columns;) {
      const std::string& t = titleAt(st.columns[c], level);
      size_t run = 1;
      if (!t.empty())
        while (c + run < columns && titleAt(st.columns[c + run], level) == t &&
               (level == 0 || titleAt(st.columns[c + run], level - 1) == titleAt(st.columns[c], level - 1)))
          ++run;
      const double w = KW * static_cast<double>(run);
      s.rule.emplace_back(x + 0.5, top, x + 0.5, top + lh);
      // A cell hanging down from a level above draws nothing here.
      const bool covered = level > 0 && titleAt(st.columns[c], level - 1).empty() && t.empty();
      if (!t.empty()) (level == 0 ? s.frame : s.rule).emplace_back(x + 0.5, top, x + 0.5 + w, top);
      if (!t.empty()) {
        int span = 1;
        while (level + span < 4 && titleAt(st.columns[c], level + span).empty()) ++span;
        const double bottom = headingTop[level + span];
        painter.drawText(QRectF(x, top, w, bottom - top), Qt::AlignCenter, q(t));
        if (span > 1) s.rule.emplace_back(x + 0.5, top, x + 0.5, bottom);
      } else if (!covered && level == 0) {
        s.frame.emplace_back(x + 0.5, top, x + 0.5 + w, top);
      }
      x += w;
      c += run;
    }
    s.frame.emplace_back(X + TW, top, X + TW, top + lh);
  }
  // The grid: the row labels, then each column's cells.
  double top = headingTop[4];
  for (size_t i = page.first; i < page.end; ++i) {
    const auto& label = st.rowLabels[yokoRows_[i].labelIndex];
    const double rh = h * yokoRows_[i].lines;
    QString text = q(label.title);
    if (label.kind == Kind::Reason)
      text = label.title == kJungaku ? QString::fromUtf8(kJungakuTwoLines) : QStringLiteral("　") + text;
    painter.drawText(QRectF(X + StringDrawing::kInset, top, RW - StringDrawing::kInset, rh),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    s.frame.emplace_back(X + 0.5, top, X + 0.5, top + rh);
    s.rule.emplace_back(X + 0.5, top, X + 0.5 + RW, top);
    double x = X + RW;
    for (size_t c = 0; c < columns; ++c) {
      const auto& cells = st.columns[c].monthlyAmountArray();
      const size_t j = yokoRows_[i].labelIndex;
      const int64_t v = j < cells.size() ? cells[j] : 0;
      QString amount;
      switch (label.kind) {
      case Kind::Reason:
        if (v != 0)
          amount = amountText(label.title == kToukiSoneki ? KabunushiShihonHendouBuilder::amountOfCell(v, M) : v);
        break;
      case Kind::Zenkimatsu:
      case Kind::Toukimatsu: amount = amountText(v); break;
      case Kind::ToukiHendouGoukei: amount = v == 0 ? QStringLiteral("---") : amountText(v); break;
      case Kind::ToukiHendouHeading: break;
      }
      if (!amount.isEmpty()) StringDrawing::drawStringRightedIn(painter, amount, QRectF(x, top, KW, rh));
      s.rule.emplace_back(x + 0.5, top, x + 0.5, top + rh);
      s.rule.emplace_back(x + 0.5, top, x + 0.5 + KW, top);
      x += KW;
    }
    s.frame.emplace_back(X + TW, top, X + TW, top + rh);
    top += rh;
  }
  s.frame.emplace_back(X, top, X + TW + 0.5, top);
  s.stroke(painter);
}

void KaisyahouHoukokusyoPrintView::drawNote(QPainter& painter, const Page& page)
{
  if (!note_) return;
  painter.translate(geometry_.leftMargin, geometry_.topMargin - page.noteIndex * noteHeight_);
  note_->drawContents(&painter, QRectF(0, page.noteIndex * noteHeight_, geometry_.printableWidth(), noteHeight_));
}

}  // namespace kivo

// The printed Companies-Act statements (決算報告書): a cover, the chosen statements in
// a fixed order (balance sheet, income statement, SG&A, cost report, statement of
// changes in net assets) and the pages of the user's notes.
//
// Before anything prints, every chosen statement is measured against the paper; a
// paper too narrow for a statement's columns, or too short for five rows under the
// title, is refused with "印刷できません". A statement longer than its page continues
// on further pages under its repeated title and heading, so no row is ever cut off.
// The statement of changes prints vertically (items down the page) or as one wide
// table, turned along the long side of a portrait sheet; the user default
// "Tate Kabunushi Shihonnado Keisansyo" chooses.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QString>
#include <memory>
#include <vector>

#include "statements/KaisyahouHoukokusyo.h"
#include "statements/gui/StatementsPrintView.h"

class QTextDocument;

namespace kivo {

class MyDocument;

// What the statements sheet chose to print, over the statements it computed. A
// statement not chosen, or without rows, is left out.
struct KaisyahouHoukokusyoPrintChoice {
  bool coversheet = true;
  bool taisyakuTaisyouhyou = true;
  bool sonekiKeisansyo = true;
  bool hanbaihi = true;
  bool seizougenka = true;
  bool kabunushiShihon = true;
  bool note = true;
  // Vertical statement of changes (else horizontal); must match the titles the
  // statement was computed with.
  bool tateKabunushiShihon = true;
};

class KaisyahouHoukokusyoPrintView : public StatementsPrintView {
public:
  static constexpr const char* kKabunushiShihonTitle = "株主資本等変動計算書";
  static constexpr const char* kOverflowText = "#Precision!";

  enum class PageKind { Cover, TaisyakuTaisyou, SonekiKeisan, Hanbaihi, SeizouGenka, KabunushiShihon, Note };
  struct Page {
    PageKind kind = PageKind::Cover;
    QString title;
    // Rows (or printed lines) of the statement on this page: [first, end).
    size_t first = 0;
    size_t end = 0;
    int noteIndex = -1;
  };

  // The printout, or nullptr after the alert "印刷できません" when the paper is too
  // small. The document and the statements must outlive the view.
  static std::unique_ptr<KaisyahouHoukokusyoPrintView> create(const MyDocument& document,
                                                              const KaisyahouHoukokusyoStatements& statements,
                                                              const KaisyahouHoukokusyoPrintChoice& choice,
                                                              const QPageLayout& layout);
  ~KaisyahouHoukokusyoPrintView() override;

  int pageCount() const override { return static_cast<int>(pages_.size()); }
  void drawPage(QPainter& painter, int page) override;

  const std::vector<Page>& pages() const { return pages_; }
  // "自　2024年 4月 1日  至　2025年 3月31日" from the cover dates (era form when chosen).
  QString printKikanString() const;

private:
  KaisyahouHoukokusyoPrintView(const MyDocument& document, const KaisyahouHoukokusyoStatements& statements,
                               const KaisyahouHoukokusyoPrintChoice& choice, const QPageLayout& layout);
  bool measure();
  bool setRectSizeOfTaisyakuTaisyou();
  bool setRectSizeOfTwoColumns();
  bool setRectSizeOfTateKabunushiShihon();
  bool setRectSizeOfKabunushiShihon();
  void buildTateLines();
  void buildYokoRows();
  void initPageList();
  void initNotes();

  QString amountText(int64_t v) const;
  QString dateText(Date date, bool wareki) const;

  void drawHeader(QPainter& painter, const Page& page, double x, double width, const QString& periodLine);
  void drawCoversheet(QPainter& painter);
  void drawTwoColumns(QPainter& painter, const Page& page, const std::vector<Shisan>& rows);
  void drawHanbaihi(QPainter& painter, const Page& page);
  void drawTaisyakuTaisyou(QPainter& painter, const Page& page);
  void drawTateKabunushiShihon(QPainter& painter, const Page& page);
  void drawYokoKabunushiShihon(QPainter& painter, const Page& page);
  void drawNote(QPainter& painter, const Page& page);

  const KaisyahouHoukokusyoStatements& statements_;
  KaisyahouHoukokusyoPrintChoice choice_;
  bool isPortrait_ = true;
  std::vector<Page> pages_;

  const KabunushiShihonHendouBuilder::Statement* kabunushiShihon_ = nullptr;
  double kingakuWidth_ = 0;
  double taisyakuX_ = 0, taisyakuKamokuWidth_ = 0, taisyakuTotalWidth_ = 0;
  double sonekiX_ = 0, sonekiKamokuWidth_ = 0, sonekiTotalWidth_ = 0;
  double hanbaihiX_ = 0, hanbaihiKamokuWidth_ = 0, hanbaihiTotalWidth_ = 0;

  // Vertical statement of changes: its printed lines, laid out once.
  struct TateLine {
    QString heading;
    QString label;
    bool labelSpans = false;  // the label runs over the reason column too
    QString reason;
    QString amount;
    bool ruleAbove = false;
    bool doubleRuleBelow = false;
  };
  std::vector<TateLine> tateLines_;
  double tateX_ = 0, tateKamokuWidth_ = 0, tateLabelWidth_ = 0, tateReasonWidth_ = 0, tateTotalWidth_ = 0;

  // Horizontal statement of changes: the grid rows with their height in lines.
  struct YokoRow {
    size_t labelIndex = 0;
    int lines = 1;
  };
  std::vector<YokoRow> yokoRows_;
  PrintPageGeometry yokoGeometry_;  // the turned page
  double yokoX_ = 0, yokoReasonWidth_ = 0, yokoKingakuWidth_ = 0, yokoTotalWidth_ = 0;
  double yokoTitleHeight_ = 0, yokoLineHeight_ = 0;
  int yokoTitleSize_ = 0, yokoDataSize_ = 0;
  int yokoLinesPerPage_ = 0;
  // Lines each heading level takes: a title may hold a line break.
  int yokoHeadingLines_[4] = {1, 1, 1, 1};
  int yokoHeadingLineCount() const;

  std::unique_ptr<QTextDocument> note_;
  double noteHeight_ = 0;
};

}  // namespace kivo

// The printed older-form statements (決算報告書): a cover, then the chosen statements
// in a fixed order (balance sheet, income statement, SG&A schedule, cost report,
// appropriation of profit), each with the user's note under it.
//
// Before anything prints, every chosen statement is measured against the paper; a
// paper too narrow for a statement's columns, or too short for five rows under the
// title, is refused with "印刷できません". A statement longer than its page
// continues on further pages under its repeated title and header, so no row is ever
// cut off; a note that does not fit under the last rows goes on a page of its own.
#pragma once

#include <QPageLayout>
#include <QString>
#include <memory>
#include <vector>

#include "statements/Houkokusyo.h"
#include "statements/gui/StatementPageDrawing.h"
#include "statements/gui/StatementsPrintView.h"

namespace kivo {

class MyDocument;

// What the settings sheet chose to print. A statement not chosen, or without rows,
// is left out.
struct HoukokusyoPrintChoice {
  bool coversheet = true;
  bool taisyakuTaisyouhyou = true;
  bool sonekiKeisansyo = true;
  bool hanbaihi = true;
  bool seizougenka = true;
  bool riekisyobunan = true;
};

class HoukokusyoPrintView : public StatementsPrintView {
public:
  static constexpr const char* kRiekiSyobunanTitle = "利益処分案";

  enum class PageKind { Cover, TaisyakuTaisyou, SonekiKeisan, Hanbaihi, SeizouGenka, RiekiSyobunan };
  struct Page {
    PageKind kind = PageKind::Cover;
    QString title;
    size_t first = 0;  // rows of the statement on this page: [first, end)
    size_t end = 0;
    bool withNote = false;
  };

  // The printout, or nullptr after the alert "印刷できません". The document, the
  // statements and the appropriation rows must outlive the view.
  static std::unique_ptr<HoukokusyoPrintView> create(const MyDocument& document, const HoukokusyoStatements& statements,
                                                     const std::vector<Shisan>& riekiSyobunanRows,
                                                     const HoukokusyoPrintChoice& choice, const QPageLayout& layout);
  // The same without alerts: the reason it cannot print, or an empty string.
  static std::unique_ptr<HoukokusyoPrintView> make(const MyDocument& document, const HoukokusyoStatements& statements,
                                                   const std::vector<Shisan>& riekiSyobunanRows,
                                                   const HoukokusyoPrintChoice& choice, const QPageLayout& layout,
                                                   QString& reason);

  int pageCount() const override { return static_cast<int>(pages_.size()); }
  void drawPage(QPainter& painter, int page) override;

  const std::vector<Page>& pages() const { return pages_; }

private:
  HoukokusyoPrintView(const MyDocument& document, const HoukokusyoStatements& statements,
                      const std::vector<Shisan>& riekiSyobunanRows, const HoukokusyoPrintChoice& choice,
                      const QPageLayout& layout);
  bool measure();
  QString initPageList();
  QString noteOf(PageKind kind) const;
  double noteWidth(PageKind kind) const;
  double noteHeight(PageKind kind) const;
  int headerLines(PageKind kind) const { return kind == PageKind::RiekiSyobunan ? 1 : 3; }
  QString drawnTitle(const Page& page) const;
  void drawHeader(QPainter& painter, const Page& page, const StatementTableGeometry& table);

  const HoukokusyoStatements& statements_;
  std::vector<Page> pages_;
  bool coversheet_ = false;

  const std::vector<Shisan>* riekiSyobunan_ = nullptr;
  StatementTableGeometry taisyaku_, soneki_, hanbaihiTable_;
};

}  // namespace kivo

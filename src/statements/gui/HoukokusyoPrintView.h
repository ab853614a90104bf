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

#include "platform/PrintOperation.h"
#include "print/PrintPaginator.h"
#include "statements/Houkokusyo.h"
#include "statements/gui/StatementPageDrawing.h"

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

class HoukokusyoPrintView : public Printout {
public:
  static constexpr const char* kCoverTitle = "決算報告書";
  static constexpr const char* kTaisyakuTaisyouTitle = "貸借対照表";
  static constexpr const char* kSonekiKeisanTitle = "損益計算書";
  static constexpr const char* kHanbaihiTitle = "販売費及び一般管理費";
  static constexpr const char* kSeizouGenkaTitle = "製造原価報告書";
  static constexpr const char* kKanseiKoujiGenkaTitle = "完成工事原価報告書";
  static constexpr const char* kRiekiSyobunanTitle = "利益処分案";
  static constexpr const char* kTooSmallMessage = "設定している用紙の印刷できる範囲が小さすぎます。";

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
  int linesPerPage() const { return linesPerPage_; }

private:
  HoukokusyoPrintView(const MyDocument& document, const HoukokusyoStatements& statements,
                      const std::vector<Shisan>& riekiSyobunanRows, const HoukokusyoPrintChoice& choice,
                      const QPageLayout& layout);
  bool measure();
  QString initPageList();
  QString noteOf(PageKind kind) const;
  double noteWidth(PageKind kind) const;
  double noteHeight(PageKind kind) const;
  QRectF titleRect() const;
  QRectF rowRect(int line) const;
  int headerLines(PageKind kind) const { return kind == PageKind::RiekiSyobunan ? 1 : 3; }
  QString drawnTitle(const Page& page) const;
  void drawHeader(QPainter& painter, const Page& page, const StatementTableGeometry& table);

  const MyDocument& document_;
  const HoukokusyoStatements& statements_;
  PrintPageGeometry geometry_;
  std::vector<Page> pages_;
  bool coversheet_ = false;

  const std::vector<Shisan>* taisyakuLeft_ = nullptr;
  const std::vector<Shisan>* taisyakuRight_ = nullptr;
  const std::vector<Shisan>* sonekiKeisan_ = nullptr;
  const std::vector<Shisan>* hanbaihi_ = nullptr;
  const std::vector<Shisan>* seizouGenka_ = nullptr;
  const std::vector<Shisan>* riekiSyobunan_ = nullptr;

  int linesPerPage_ = 0;
  double titleHeight_ = 0;
  double lineHeight_ = 0;
  StatementTableGeometry taisyaku_, soneki_, hanbaihiTable_;
};

}  // namespace kivo

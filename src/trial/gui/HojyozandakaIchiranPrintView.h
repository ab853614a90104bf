// The printout of the sub-account balance list (補助残高一覧表): the rows of one or
// several accounts' lists over a period, laid out on the user's paper
// (HojyozandakaIchiranPaginator) and drawn a page at a time, for the print panel or
// a PDF file. Both the list window and the information window's sheet print through
// it, on the page setup stored under "HojyozandakaIchiran Print Info".
//
// Fonts and column widths are chosen once: both fonts shrink a point at a time from
// 18 (title) and 16 (data) points until the table fits between the margins, down to a
// data size of 5; paper too narrow for it even then is refused. Amounts beyond the output limit print "#Precision!", as
// the window shows them. No page number is printed.
#pragma once

#include <QPageLayout>
#include <QString>
#include <memory>
#include <vector>

#include "journal/gui/BandedTablePrintView.h"
#include "print/PrintPaginator.h"
#include "trial/HojyozandakaIchiranPaginator.h"

class QLineF;
class QRectF;
class QWidget;

namespace kivo {

class MyDocument;
class OpenDocument;

class HojyozandakaIchiranPrintView : public BandedTablePrintView {
public:
  static constexpr const char* kTitle = "補助残高一覧表";

  enum Column { HojyoKamoku, KaishiZandaka, KarikataGoukei, KashikataGoukei, SyuuryouZandaka, Percent, ColumnCount };

  // The printout of the rows, or nullptr after the alert "印刷できません" when fewer
  // than five lines fit on a page or the table is wider than the margins leave at the
  // smallest fonts. The document must outlive the view; the rows are
  // copied.
  static std::unique_ptr<HojyozandakaIchiranPrintView> create(const MyDocument& document, const QPageLayout& layout,
                                                              const std::vector<Shisan>& shisanArray,
                                                              int32_t periodFrom, int32_t periodTo);
  // Prints the rows of the document from its window through the print panel, on the
  // stored page setup of this printout.
  static void print(OpenDocument* document, QWidget* window, const std::vector<Shisan>& shisanArray, int32_t periodFrom,
                    int32_t periodTo);

  int pageCount() const override { return paginator_->pageCount(); }
  void drawPage(QPainter& painter, int page) override;

  const HojyozandakaIchiranPaginator& paginator() const { return *paginator_; }
  double columnWidth(Column c) const { return widths_[c]; }

private:
  HojyozandakaIchiranPrintView(const MyDocument& document, const QPageLayout& layout);
  void setRectSizeWithPrintInfo();
  double columnX(Column c) const;
  void drawShisanRow(QPainter& painter, const Shisan& row, const QRectF& band, std::vector<QLineF>& frame,
                     std::vector<QLineF>& rules) const;

  const MyDocument& document_;
  double widths_[ColumnCount] = {};
  std::unique_ptr<HojyozandakaIchiranPaginator> paginator_;
};

}  // namespace kivo

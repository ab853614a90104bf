// The journal printout (仕訳日記帳): the entries the journal window shows, in its order,
// two printed lines per entry under the title and a two-line column heading on every
// page (ShiwakenikkiPaginator), every second entry of a page shaded.
#pragma once

#include <QPageLayout>
#include <memory>
#include <vector>

#include "journal/ShiwakenikkiPaginator.h"
#include "journal/gui/BandedTablePrintView.h"
#include "model/Shiwake.h"

namespace kivo {

class HidukeFormatter;
class HojyoKamokuFormatter;
class JigyoubuFormatter;
class KamokuFormatter;
class MyDocument;

class ShiwakenikkiPrintView : public BandedTablePrintView {
public:
  static constexpr const char* kTitle = "仕訳日記帳";

  enum Column { Date, KarikataKamoku, KarikataKingaku, KashikataKamoku, KashikataKingaku, Tekiyou, ColumnCount };

  // The printout of the entries, or nullptr after the alert "印刷できません" when fewer
  // than five entries fit on a page or the table is wider than the margins leave at
  // the smallest fonts. The document must outlive the view.
  static std::unique_ptr<ShiwakenikkiPrintView> create(const MyDocument& document, const QPageLayout& layout,
                                                       std::vector<ShiwakePtr> entries);
  ~ShiwakenikkiPrintView() override;

  int pageCount() const override { return paginator_->pageCount(); }
  void drawPage(QPainter& painter, int page) override;

  const ShiwakenikkiPaginator& paginator() const { return *paginator_; }
  double columnWidth(Column c) const { return widths_[c]; }

private:
  ShiwakenikkiPrintView(const MyDocument& document, const QPageLayout& layout, std::vector<ShiwakePtr> entries);
  void setRectSizeWithPrintInfo();
  double columnX(Column c) const;

  const MyDocument& document_;
  std::vector<ShiwakePtr> entries_;
  double widths_[ColumnCount] = {};
  bool showsHojyoKamoku_ = false;
  bool showsJigyoubu_ = false;
  std::unique_ptr<ShiwakenikkiPaginator> paginator_;
  std::unique_ptr<HidukeFormatter> hidukeFormatter_;
  std::unique_ptr<KamokuFormatter> kamokuFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> hojyoKamokuFormatter_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;
};

}  // namespace kivo

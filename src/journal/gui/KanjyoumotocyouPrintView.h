// The printout of general and sub ledgers (総勘定元帳／補助元帳): the builder's rows of
// one or several ledgers over a period, laid out on the user's paper
// (KanjyoumotocyouPaginator) and drawn a page at a time, for the print panel, a PDF
// file or the preview.
//
// Fonts and column widths are chosen once: both fonts shrink a point at a time from
// 18 (title) and 16 (data) points until the table fits between the margins, down to 7
// and 5; paper too narrow for it even then is refused. The page numbering (per ledger
// or continuous, and the start number) is read each time a page is drawn, so the
// preview shows a change at once.
#pragma once

#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "journal/KanjyoumotocyouPaginator.h"
#include "journal/Motocyou.h"
#include "journal/gui/BandedTablePrintView.h"

namespace kivo {

class HidukeFormatter;
class HojyoKamokuFormatter;
class JigyoubuFormatter;
class KamokuFormatter;
class MyDocument;
class StringDrawing;

class KanjyoumotocyouPrintView : public BandedTablePrintView {
public:
  static constexpr const char* kSoukanjyouTitle = "総勘定元帳";
  static constexpr const char* kHojyoTitle = "補助元帳";

  struct PageNumbering {
    bool continuous = false;
    int startNumber = 1;
  };
  using NumberingSource = std::function<PageNumbering()>;

  // The columns, left to right; a column the books do not use is not printed.
  enum Column {
    Date,
    CreatedType,
    AiteKamoku,
    AiteHojyoKamoku,
    AiteJigyoubu,
    Tekiyou,
    Jigyoubu,
    Karikata,
    Kashikata,
    Zandaka,
    ColumnCount
  };

  // The printout of the rows, or nullptr after the alert "印刷できません" when fewer
  // than five rows fit on a page or the table is wider than the margins leave at the
  // smallest fonts (divisions and sub-accounts widen it). The document must outlive
  // the view; the rows are copied.
  static std::unique_ptr<KanjyoumotocyouPrintView> create(const MyDocument& document, const QPageLayout& layout,
                                                          const std::vector<Motocyou>& motocyouArray,
                                                          int32_t periodFrom, int32_t periodTo,
                                                          NumberingSource numbering);
  ~KanjyoumotocyouPrintView() override;

  int pageCount() const override { return paginator_->pageCount(); }
  void drawPage(QPainter& painter, int page) override;

  const KanjyoumotocyouPaginator& paginator() const { return *paginator_; }
  double columnWidth(Column c) const { return widths_[c]; }
  QSizeF paperSize() const { return QSizeF(bands_.geometry.paperWidth, bands_.geometry.paperHeight); }

private:
  KanjyoumotocyouPrintView(const MyDocument& document, const QPageLayout& layout, int32_t periodFrom, int32_t periodTo,
                           NumberingSource numbering);
  void setRectSizeWithPrintInfo();
  double columnX(Column c) const;
  QString amountText(int64_t amount, bool capped) const;
  void drawRow(StringDrawing& strings, const KanjyoumotocyouPaginator::Row& row, const QRectF& band,
               std::vector<QLineF>& frame, std::vector<QLineF>& rules);
  void drawCellLines(const QRectF& band, std::vector<QLineF>& frame, std::vector<QLineF>& rules) const;

  const MyDocument& document_;
  int32_t periodFrom_;
  int32_t periodTo_;
  NumberingSource numbering_;
  double widths_[ColumnCount] = {};
  QString periodText_;
  std::unique_ptr<KanjyoumotocyouPaginator> paginator_;
  std::unique_ptr<HidukeFormatter> hidukeFormatter_;
  std::unique_ptr<KamokuFormatter> kamokuFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> hojyoKamokuFormatter_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;
};

}  // namespace kivo

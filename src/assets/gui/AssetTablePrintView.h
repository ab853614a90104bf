// What the asset printouts (資産管理台帳 and 償却資産申告書) share: the fonts shrink
// until the columns fit between the margins (TablePrintLayout), and a table still too
// wide at the smallest size is drawn smaller rather than cut at the paper's edge;
// every page starts with the title, then the company on the left and the period with
// the page number on the right.
#pragma once

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QString>
#include <memory>
#include <vector>

#include "platform/PrintOperation.h"
#include "platform/TablePrintLayout.h"
#include "print/PrintPaginator.h"

namespace kivo {

class MyDocument;
class WarekiDateFormatter;

class AssetTablePrintView : public Printout {
public:
  ~AssetTablePrintView() override;

  int pageCount() const override { return pages_; }
  int linesPerPage() const { return linesPerPage_; }

protected:
  AssetTablePrintView(const MyDocument& document, const QPageLayout& layout);

  // The fonts and the scale for the table the measure lays out (it sets the line
  // heights and the column widths and answers the table's width).
  void fitTable(const TablePrintLayout::Measure& measure);
  // How many entries a page holds below the title and headingLines lines of heading,
  // an entry taking entryLines lines; false after the alert "印刷できません" when no
  // more than minimumEntries would fit.
  bool fitEntriesPerPage(int headingLines, int entryLines, int minimumEntries);
  // Pages for the lines at linesPerPage_ a page.
  void countPages(size_t lines);
  // The shade of titles, sub-totals and totals.
  static QColor shadeColor() { return QColor(240, 240, 240); }
  // Saves the painter, scales it and draws the page's head; answers the top of the
  // column heading. The caller restores the painter at the end of the page.
  double beginPage(QPainter& painter, int page, const char* title, const QString& periodText) const;

  const MyDocument& document_;
  PrintPageGeometry geometry_;
  int linesPerPage_ = 0;
  int pages_ = 0;
  QFont titleFont_;
  QFont dataFont_;
  double titleHeight_ = 0;
  double lineHeight_ = 0;
  double totalWidth_ = 0;
  double scale_ = 1.0;
  std::unique_ptr<WarekiDateFormatter> dateFormatter_;
};

}  // namespace kivo

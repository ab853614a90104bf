// The depreciable-asset declaration printout (償却資産申告書) of one calendar year:
// under the title, the company and the year with the page number, a column heading
// and the lines of SyoukyakushisanShinkokusyoPrintLines, one row each; headings and
// totals shaded.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <memory>
#include <vector>

#include "assets/SyoukyakushisanShinkokusyoPrintLines.h"
#include "platform/PrintOperation.h"
#include "print/PrintPaginator.h"

namespace kivo {

class MyDocument;
class WarekiDateFormatter;

class SyoukyakushisanShinkokusyoPrintView : public Printout {
public:
  static constexpr const char* kTitle = "償却資産申告書";
  static constexpr const char* kTooSmallMessage = "設定している用紙の印刷できる範囲が小さすぎます。";
  static constexpr int kColumnCount = 8;

  // The printout, or nullptr after the alert "印刷できません" when fewer than ten lines
  // fit on a page. The document must outlive the view.
  static std::unique_ptr<SyoukyakushisanShinkokusyoPrintView> create(const MyDocument& document,
                                                                     const QPageLayout& layout, int year);
  ~SyoukyakushisanShinkokusyoPrintView() override;

  int pageCount() const override { return pages_; }
  void drawPage(QPainter& painter, int page) override;
  int linesPerPage() const { return linesPerPage_; }

private:
  SyoukyakushisanShinkokusyoPrintView(const MyDocument& document, const QPageLayout& layout, int year);
  void setRectSize();
  QString periodText() const;

  const MyDocument& document_;
  int year_;
  PrintPageGeometry geometry_;
  std::vector<SyoukyakushisanShinkokusyoPrintLines::Line> lines_;
  int linesPerPage_ = 0;
  int pages_ = 0;
  QFont titleFont_;
  QFont dataFont_;
  double titleHeight_ = 0;
  double lineHeight_ = 0;
  double widths_[kColumnCount] = {};
  double totalWidth_ = 0;
  double scale_ = 1.0;
  std::unique_ptr<WarekiDateFormatter> dateFormatter_;
};

}  // namespace kivo

// The depreciable-asset declaration printout (償却資産申告書) of one calendar year:
// under the title, the company and the year with the page number, a column heading
// and the lines of SyoukyakushisanShinkokusyoPrintLines, one row each; headings and
// totals shaded.
#pragma once

#include <QPageLayout>
#include <memory>
#include <vector>

#include "assets/SyoukyakushisanShinkokusyoPrintLines.h"
#include "assets/gui/AssetTablePrintView.h"

namespace kivo {

class MyDocument;

class SyoukyakushisanShinkokusyoPrintView : public AssetTablePrintView {
public:
  static constexpr const char* kTitle = "償却資産申告書";
  static constexpr int kColumnCount = 8;

  // The printout, or nullptr after the alert "印刷できません" when fewer than ten lines
  // fit on a page. The document must outlive the view.
  static std::unique_ptr<SyoukyakushisanShinkokusyoPrintView> create(const MyDocument& document,
                                                                     const QPageLayout& layout, int year);
  ~SyoukyakushisanShinkokusyoPrintView() override;

  void drawPage(QPainter& painter, int page) override;

private:
  SyoukyakushisanShinkokusyoPrintView(const MyDocument& document, const QPageLayout& layout, int year);
  void setRectSize();
  QString periodText() const;

  int year_;
  std::vector<SyoukyakushisanShinkokusyoPrintLines::Line> lines_;
  double widths_[kColumnCount] = {};
};

}  // namespace kivo

// The asset register printout (資産管理台帳): under the title, the company and the
// term with the page number, a two-row column heading and the register's entries
// (GenkasyoukyakuShisanListPrintLines), two rows each; titles, division entries,
// sub-totals and the grand total shaded. The fonts shrink until the fifteen columns
// fit between the margins.
#pragma once

#include <QPageLayout>
#include <memory>
#include <vector>

#include "assets/GenkasyoukyakuShisanListPrintLines.h"
#include "assets/gui/AssetTablePrintView.h"

namespace kivo {

class MyDocument;

class GenkasyoukyakuShisanListPrintView : public AssetTablePrintView {
public:
  static constexpr const char* kTitle = "資産管理台帳";
  static constexpr int kColumnCount = 15;

  // The printout, or nullptr after the alert "印刷できません" when fewer than seven
  // entries fit on a page. The document must outlive the view.
  static std::unique_ptr<GenkasyoukyakuShisanListPrintView> create(const MyDocument& document,
                                                                   const QPageLayout& layout, int32_t roundingType);
  ~GenkasyoukyakuShisanListPrintView() override;

  void drawPage(QPainter& painter, int page) override;
  const std::vector<GenkasyoukyakuShisanListPrintLines::Line>& lines() const { return lines_; }

private:
  GenkasyoukyakuShisanListPrintView(const MyDocument& document, const QPageLayout& layout);
  void setRectSize();
  QString amount(int64_t v) const;
  QString periodText() const;

  std::vector<GenkasyoukyakuShisanListPrintLines::Line> lines_;
  double widths_[kColumnCount] = {};
};

}  // namespace kivo

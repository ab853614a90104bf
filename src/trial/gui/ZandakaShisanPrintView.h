// The printout of the trial balance (合計残高試算表): the balance sheet, the income
// statement and the manufacturing cost as the window shows them or as computed for
// a division and months chosen in the period-to-print sheet, on pages of their own
// (ZandakaShisanPrintPaginator): a title naming the section, the period line, the
// column titles and the rows.
//
// Fonts shrink a point at a time from 18 (title) and 16 (data) points until the table
// fits between the margins, down to 7 and 5; paper too narrow for it even then, or with
// room for fewer than five lines, is refused ("印刷できません"). An amount beyond the output limit prints
// "#Precision!", as the window shows it. The sections printed are those ticked in
// the print panel, asked each time the pages are counted.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <functional>
#include <memory>
#include <vector>

#include "trial/ZandakaShisanPrintPaginator.h"
#include "trial/gui/ShisanSectionsPrintView.h"

namespace kivo {

class MyDocument;

class ZandakaShisanPrintView : public ShisanSectionsPrintView {
public:
  static constexpr const char* kTaisyakuTaisyouTitle = "合計残高試算表 - 貸借対照表";
  static constexpr const char* kSonekiKeisanTitle = "合計残高試算表 - 損益計算書";
  static constexpr const char* kSeizouGenkaTitle = "合計残高試算表 - 製造原価報告書";
  static constexpr const char* kKanseiKoujiGenkaTitle = "合計残高試算表 - 完成工事原価報告書";

  // The printout of the sections (copied) over the months, or nullptr after the
  // refusal.
  static std::unique_ptr<ZandakaShisanPrintView> create(const MyDocument& document, const QPageLayout& layout,
                                                        std::vector<Shisan> taisyakuTaisyou,
                                                        std::vector<Shisan> sonekiKeisan,
                                                        std::vector<Shisan> seizouGenka, int32_t periodFrom,
                                                        int32_t periodTo, SectionChoiceSource sections);
  ~ZandakaShisanPrintView() override;

  void drawPage(QPainter& painter, int page) override;

  const ZandakaShisanPrintPaginator& paginator() const { return *paginator_; }

  enum Column { Kamoku, KaishiZandaka, KarikataGoukei, KashikataGoukei, SyuuryouZandaka, Percent, ColumnCount };

private:
  int pageCountOf(const SectionChoice& choice) const override;
  ZandakaShisanPrintView(const MyDocument& document, const QPageLayout& layout, std::vector<Shisan> taisyakuTaisyou,
                         std::vector<Shisan> sonekiKeisan, std::vector<Shisan> seizouGenka,
                         SectionChoiceSource sections);
  void setRectSize();
  double columnX(int c) const;
  QString pageTitle(ZandakaShisanPrintPaginator::Section section) const;

  QString periodText_;
  double widths_[ColumnCount] = {};
  std::unique_ptr<ZandakaShisanPrintPaginator> paginator_;
};

}  // namespace kivo

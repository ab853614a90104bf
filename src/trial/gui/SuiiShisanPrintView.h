// The printout of the monthly trial balance (年間推移試算表): the three sections the
// window shows, as a table of the caption and the amount columns of the term, in
// column groups of "SuiiShisan Print Month Per Page" columns (0: all of them), every
// page of rows printed once per group (SuiiShisanPrintPaginator).
//
// The table keeps within the layout's margins, as every table printout does, and
// within the printable area of the printer chosen in the print panel where that is
// narrower. Fonts shrink a point at a time from 18 (title) and 16 (data) points until
// one group fits between them; a group that does not fit at 5 points is refused
// ("印刷できません"), as is paper with room for fewer than five lines. An amount
// beyond the output limit prints "#Precision!", as the window shows it. The sections
// printed are those ticked in the print panel, asked each time the pages are counted.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <functional>
#include <memory>
#include <vector>

#include "trial/SuiiShisanPrintPaginator.h"
#include "trial/gui/ShisanSectionsPrintView.h"

namespace kivo {

class MyDocument;

class SuiiShisanPrintView : public ShisanSectionsPrintView {
public:
  static constexpr const char* kTaisyakuTaisyouTitle = "年間推移試算表 - 貸借対照表";
  static constexpr const char* kSonekiKeisanTitle = "年間推移試算表 - 損益計算書";
  static constexpr const char* kSeizouGenkaTitle = "年間推移試算表 - 製造原価報告書";
  static constexpr const char* kKanseiKoujiGenkaTitle = "年間推移試算表 - 完成工事原価報告書";
  static constexpr const char* kTooManyMonthsMessage = "環境設定で指定した１ページに印刷する月数が多すぎます。";

  // The printout of the sections (copied), or nullptr after the refusal. monthPerPage
  // is the stored setting; it is held to the columns there are.
  static std::unique_ptr<SuiiShisanPrintView> create(const MyDocument& document, const QPageLayout& layout,
                                                     std::vector<Shisan> taisyakuTaisyou,
                                                     std::vector<Shisan> sonekiKeisan, std::vector<Shisan> seizouGenka,
                                                     int64_t monthPerPage, SectionChoiceSource sections);
  ~SuiiShisanPrintView() override;

  void drawPage(QPainter& painter, int page) override;

  const SuiiShisanPrintPaginator& paginator() const { return *paginator_; }

private:
  int pageCountOf(const SectionChoice& choice) const override;
  SuiiShisanPrintView(const MyDocument& document, const QPageLayout& layout, std::vector<Shisan> taisyakuTaisyou,
                      std::vector<Shisan> sonekiKeisan, std::vector<Shisan> seizouGenka, int64_t monthPerPage,
                      SectionChoiceSource sections);
  // Lays the pages out within the layout's margins and the printable area it knows
  // (the paper outside it is its minimum margins); the refusal's sentence when they do
  // not fit (no pages then), else nullptr.
  const char* layOut();
  bool setRectSize(int monthPerPage);
  QString pageTitle(SuiiShisanPrintPaginator::Section section) const;

  QPageLayout layout_;
  int columns_ = 0;
  int monthPerPage_ = 0;
  double kamokuWidth_ = 0.0;
  double monthlyAmountWidth_ = 0.0;
  std::unique_ptr<SuiiShisanPrintPaginator> paginator_;
};

}  // namespace kivo

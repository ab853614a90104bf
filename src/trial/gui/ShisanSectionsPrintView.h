// What the two trial-balance printouts (合計残高試算表 and 年間推移試算表) share: the
// three sections they print (copied), the sections ticked in the print panel (asked
// each time the pages are counted), the widest caption the caption column must hold,
// and the page title of each section.
#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>
#include <vector>

#include "journal/gui/BandedTablePrintView.h"
#include "trial/Shisan.h"

namespace kivo {

class MyDocument;

class ShisanSectionsPrintView : public BandedTablePrintView {
public:
  struct SectionChoice {
    bool taisyakuTaisyou = true;
    bool sonekiKeisan = true;
    bool seizouGenka = true;
  };
  using SectionChoiceSource = std::function<SectionChoice()>;

  // The pages of the sections ticked now; at most, those of every section.
  int pageCount() const override { return pageCountOf(sectionChoice()); }
  int pageCountAtMost() const override { return pageCountOf(SectionChoice()); }

protected:
  ShisanSectionsPrintView(const MyDocument& document, const QPageLayout& layout, std::vector<Shisan> taisyakuTaisyou,
                          std::vector<Shisan> sonekiKeisan, std::vector<Shisan> seizouGenka,
                          SectionChoiceSource sections);

  // The sections ticked now (all of them without a source).
  SectionChoice sectionChoice() const { return sections_ ? sections_() : SectionChoice(); }
  // The pages of the sections chosen.
  virtual int pageCountOf(const SectionChoice& choice) const = 0;
  // The caption of the three sections that is widest at 16 points.
  QString widestTitle() const;
  // The title of a page of the section (0 the balance sheet, 1 the income statement,
  // else the cost report, which a construction company calls the cost of completed
  // works).
  QString sectionTitle(int section, const char* taisyakuTaisyou, const char* sonekiKeisan, const char* seizouGenka,
                       const char* kanseiKoujiGenka) const;

  const MyDocument& document_;
  std::vector<Shisan> taisyakuTaisyou_, sonekiKeisan_, seizouGenka_;
  SectionChoiceSource sections_;
};

}  // namespace kivo

// The monthly trial balance (年間推移試算表) of one document for one division or the
// whole company: the monthly sums brought up to date, then the three sections
// built in order, manufacturing cost, income statement, balance sheet, each
// handing its result on to the next as month-end figures.
//
// The monthly window owns one. The monthly sums are posted once per change of the
// books: they are kept with the document's report-data generation and its sorted
// journal's state, so building another division reuses them and a build after an
// edit never shows sums from before it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/MyDocument.h"
#include "model/Date.h"
#include "trial/Shisan.h"
#include "trial/SuiiShisanMonthlySums.h"

namespace kivo {

class Kaisya;
class MyDocument;
class ShisanTextFields;

class SuiiShisan {
public:
  // The three sections of one division.
  struct Sections {
    std::vector<Shisan> taisyakuTaisyou;  // closing form: opening, n + 1 month-end balances
    std::vector<Shisan> sonekiKeisan;     // movement form: n + 1 movements, total
    std::vector<Shisan> seizouGenka;      // movement form
  };

  explicit SuiiShisan(MyDocument& document);

  // Posts the journal when the books changed since the last posting, then builds
  // the sections of the division (99: the whole company). addKaishiZandakaToGoukei
  // is the user's setting "SuiiShisan Add Kaishizandka To Goukei". Answers whether
  // it posted the journal.
  bool setSuiiShisanArryForJigyoubuCode(int32_t jigyoubuCode, bool addKaishiZandakaToGoukei);

  const std::vector<Shisan>& taisyakuTaisyouShisanArray() const { return sections_.taisyakuTaisyou; }
  const std::vector<Shisan>& sonekiKeisanShisanArray() const { return sections_.sonekiKeisan; }
  const std::vector<Shisan>& seizouGenkaShisanArray() const { return sections_.seizouGenka; }
  const Sections& sections() const { return sections_; }

  // The sections of a division from monthly sums: the manufacturing cost's result
  // re-coded a total row once handed on, the income statement of the company's
  // kind, the balance sheet with the profit rows.
  static Sections buildSections(const MyDocument& document, const SuiiShisanMonthlySums& sums, int32_t jigyoubuCode,
                                bool addKaishiZandakaToGoukei);

  // The text of a table cell by the column's identifier: "title", "month" and the
  // month's index, "kessanSeiriduki", "kaishiZandaka", "goukei". The balance sheet
  // (closing form) reads month i at index i + 1 and the closing-adjustment month
  // last; the others read month i at i, the closing-adjustment month second last
  // and the total last. A heading row shows only its caption; an amount beyond the
  // output limit shows "#Precision!".
  static std::string cellText(const Kaisya& kaisya, const Shisan& row, std::string_view columnIdentifier,
                              bool isTaisyakuTaisyou);
  // The amount as the window and the printout show it.
  static std::string amountText(const Kaisya& kaisya, int64_t amount);

  // The caption of amount column k (0..n + 1): for the balance sheet "開始残高",
  // the months, "決算整理月"; for the others the months, "決算整理月", "合計".
  static std::string columnTitle(const Kaisya& kaisya, int32_t k, bool isTaisyakuTaisyou);

  // The export's lines: the caption, then one amount field per amount of the row.
  static std::vector<std::vector<std::string>> textLines(const ShisanTextFields& textFields,
                                                         const std::vector<Shisan>& rows, int32_t numberOfMonth);

private:
  bool areSumsCurrent() const;

  MyDocument& document_;
  std::unique_ptr<SuiiShisanMonthlySums> sums_;
  MyDocument::DataGeneration sumsGeneration_;
  // The term the sums were posted for: a change of the term's months posts again.
  size_t sumsMonthCount_ = 0;
  Date sumsTermStart_;
  Sections sections_;
};

}  // namespace kivo

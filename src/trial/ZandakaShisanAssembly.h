// The trial balance (合計残高試算表) of one document as its window shows it: the
// period sums brought up to date, then the three sections built in order,
// manufacturing cost, income statement, balance sheet, each handing its result row
// to the next.
//
// The window owns one of these. The period sums are a value kept here (the
// accounts are only read), reused only while they were made for the same period and
// the document's data have not changed since (reportDataGeneration). A printout of
// another period keeps a second set the same way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/MyDocument.h"
#include "model/Date.h"
#include "trial/Shisan.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo {

class Kaisya;
class ZandakaShisan;

class ZandakaShisanAssembly {
public:
  explicit ZandakaShisanAssembly(const MyDocument& document);

  // Periods are month indexes into the company's monthArray, first <= last; the
  // index equal to the number of months is the closing-adjustment month. 99 is the
  // whole company. kamokuDoNotShowIfNoTorihiki is the user's setting that hides
  // accounts without amounts. Returns whether it walked the journal.
  bool setZandakaShisanArrayForJigyoubuCode(int32_t jigyoubuCode, int32_t periodFrom, int32_t periodTo,
                                            bool kamokuDoNotShowIfNoTorihiki);

  // The sections as shown.
  const std::vector<Shisan>& taisyakuTaisyouShisanArray() const { return taisyakuTaisyou_; }
  const std::vector<Shisan>& sonekiKeisanShisanArray() const { return sonekiKeisan_; }
  const std::vector<Shisan>& seizouGenkaShisanArray() const { return seizouGenka_; }
  // The sums the shown sections were built from: a window that reads a figure of an
  // account answers it from these.
  const ZandakaShisanPeriodSums& displaySums() const { return display_.sums; }

  // Builds the three sections from the builder's sums: manufacturing cost,
  // then the income statement of the company's kind with the cost of goods
  // manufactured, then the balance sheet with the profit rows. Each handed-on row
  // is re-coded ShisanTotalRowCode once found, so the finished arrays hold no
  // ToukiSeihinSeizouGenkaRowCode, ToukiSonekiRowCode or ToukiMisyobunSonekiRowCode.
  static void buildSections(const ZandakaShisan& builder, int32_t jigyoubuCode, std::vector<Shisan>& seizouGenka,
                            std::vector<Shisan>& sonekiKeisan, std::vector<Shisan>& taisyakuTaisyou);

  // The text of a cell of the trial-balance table, by the column's identifier
  // ("title", "kaishiZandaka", "karikataGoukei", "kashikataGoukei",
  // "syuuryouZandaka", "percent"): a heading row shows its caption alone; an amount
  // beyond the output limit shows "#Precision!", any other the company's grouped
  // format; a percent "%0.2f" while valid, else "--". Other identifiers: empty.
  static std::string cellText(const Kaisya& kaisya, const Shisan& row, std::string_view columnIdentifier);

private:
  // A set of sums with the period and the data generation it was made for.
  struct KeptSums {
    ZandakaShisanPeriodSums sums;
    ZandakaShisanPeriodSums::Period period;
    MyDocument::DataGeneration generation;
    bool valid = false;
    bool isCurrent(const ZandakaShisanPeriodSums::Period& p, const MyDocument& document) const
    {
      return valid && period == p && generation == document.reportDataGeneration();
    }
  };
  // Makes the set current for the period; true when it walked the journal.
  bool update(KeptSums& kept, const ZandakaShisanPeriodSums::Period& period) const;

  const MyDocument& document_;
  std::vector<Shisan> taisyakuTaisyou_, sonekiKeisan_, seizouGenka_;
  KeptSums display_;
};

}  // namespace kivo

// The trial-balance builder: turns the period sums it is given
// (ZandakaShisanPeriodSums) into the rows of the trial balance's sections, the
// manufacturing-cost report, the income statement (corporation or sole proprietor)
// and the balance sheet.
//
// It holds nothing but the document and the sums it reads and the display rule's
// setting, so a caller makes one for every computation. The sections share the rules here: an
// account's figures added into a block's running sums, a sum row of Calculate
// operands, the percent pass, and whether an account gets a row at all. Every sum
// is capped at the company's maxOutputAmountValue: once beyond it, it holds one
// beyond it and is not changed again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Kamoku.h"
#include "trial/Calculate.h"
#include "trial/Shisan.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo {

class MyDocument;
class Kaisya;

class ZandakaShisan {
public:
  // Five running sums of a block.
  struct RunningSums {
    int64_t kaishiZandaka = 0;
    int64_t karikataGoukei = 0;
    int64_t kashikataGoukei = 0;
    int64_t syuuryouZandaka = 0;
    int64_t endBalance = 0;
  };

  // kamokuDoNotShowIfNoTorihiki: the user's setting that hides every account
  // without amounts in the division.
  ZandakaShisan(const MyDocument& document, const ZandakaShisanPeriodSums& sums, bool kamokuDoNotShowIfNoTorihiki);

  const MyDocument& theDocument() const { return document_; }
  // The figures of an account in a division.
  const ZandakaShisanPeriodSums::Sums& sumsOf(const Kamoku& kamoku, int32_t jigyoubuCode) const
  {
    return sums_.ofKamoku(kamoku.code(), jigyoubuCode);
  }
  const Kaisya& kaisya() const;
  int64_t maxOutputAmountValue() const { return max_; }
  // The older chart (its root's pListResource is "Kamoku"): chooses titles and the
  // capital layout of the balance sheet.
  bool isOlderChart() const;

  // --- the sections. Each empties the array and fills it; every row carries the
  // division. The link rows are those the earlier sections handed on (nullptr when
  // that section produced none).
  void setSeizouGenkaShisanArray(std::vector<Shisan>& rows, int32_t jigyoubuCode) const;
  void setSonekiKeisanShisanArray(std::vector<Shisan>& rows, int32_t jigyoubuCode,
                                  const Shisan* toukiSeihinSeizouGenkaShisan) const;
  void setKojinSonekiKeisanShisanArray(std::vector<Shisan>& rows, int32_t jigyoubuCode,
                                       const Shisan* toukiSeihinSeizouGenkaShisan) const;
  void setTaisyakuTaisyouShisanArray(std::vector<Shisan>& rows, int32_t jigyoubuCode, const Shisan* toukiSonekiShisan,
                                     const Shisan* toukiMisyobunSonekiShisan) const;

  // --- the shared rules
  // Whether the account gets a row for the division. An account with any amount
  // in the division always does, also one that was made inactive, so that no
  // amount of the books drops out of a total. Without amounts: never when it is
  // inactive or the setting hides such accounts, else unless its type marks it as
  // shown only with amounts.
  bool canAppearOnZandakaShisan(const Kamoku& kamoku, int32_t jigyoubuCode) const;
  // Adds the account's five figures into the running sums: the balances added when
  // the account's nature is the section's side, subtracted otherwise; the debit and
  // credit totals always added.
  void addZandakaShisanValueOfKamoku(const Kamoku& kamoku, int32_t jigyoubuCode, bool isKarikataKamokuKubun,
                                     RunningSums& sums) const;
  // Appends a row holding the signed sum of the rows the operands name (the debit
  // and credit totals are added also for a subtracting operand) and returns it; code
  // 0, no title, no division: the caller sets them.
  Shisan& addTotalOfCalculateArray(const std::vector<Calculate>& calculateArray, std::vector<Shisan>& rows) const;
  // The percent pass that ends a section: every row's closing balance as a share of
  // the base, shown only while the base is a non-zero amount within the limit.
  void setPercentOfShisanArray(std::vector<Shisan>& rows, int64_t baseSyuuryouZandaka) const;

  // --- helpers of the section builders
  // The accounts of a group that can appear, in code order.
  std::vector<const Kamoku*> kamokuOfGroup(int32_t group, int32_t jigyoubuCode) const;
  // The own accounts of the category of that name that can appear, in its order;
  // none when the chart has no such category.
  std::vector<const Kamoku*> kamokuOfKubun(const std::string& kubunName, int32_t jigyoubuCode) const;
  // Every own account of the category, whether it can appear or not.
  std::vector<const Kamoku*> allKamokuOfKubun(const std::string& kubunName) const;
  // Appends rows of each kind and returns the new row's index.
  static size_t appendHeadingRow(std::vector<Shisan>& rows, int32_t jigyoubuCode, const std::string& title);
  size_t appendKamokuRow(std::vector<Shisan>& rows, const Kamoku& kamoku, int32_t jigyoubuCode,
                         const std::string& title, bool withEndBalance) const;
  static size_t appendSumsRow(std::vector<Shisan>& rows, int32_t jigyoubuCode, int32_t kamokuCode,
                              const std::string& title, const RunningSums& sums, bool withEndBalance);
  size_t appendTotalRow(const std::vector<Calculate>& calculateArray, std::vector<Shisan>& rows, int32_t jigyoubuCode,
                        int32_t kamokuCode, const std::string& title) const;
  // A copy of a handed-on row's amounts (zeros for none) under a new code and title.
  static size_t appendLinkRow(std::vector<Shisan>& rows, int32_t jigyoubuCode, const std::string& title,
                              const Shisan* link, bool withEndBalance);
  // An operand naming the last row of the array.
  static void addOperand(std::vector<Calculate>& calculateArray, const std::vector<Shisan>& rows, bool subtract);
  // A row for each account and its figures added into the sums; returns how many rows
  // it appended. The statements of income indent the account's name and show its end
  // balance; the balance sheet does neither.
  size_t appendKamokuRowsAndSums(std::vector<Shisan>& rows, const std::vector<const Kamoku*>& accounts,
                                 int32_t jigyoubuCode, bool isKarikataKamokuKubun, RunningSums& sums,
                                 bool indentedWithEndBalance) const;
  // The block of a group shown only when it has accounts: their rows, then the
  // block's subtotal row, an operand of the list.
  void appendGroupBlock(std::vector<Shisan>& rows, std::vector<Calculate>& calculateArray, int32_t group,
                        int32_t jigyoubuCode, bool isKarikataKamokuKubun, const std::string& title,
                        bool subtract) const;
  // A block shown always: its heading, the accounts' rows, its subtotal row, an
  // operand of the list.
  void appendHeadedBlock(std::vector<Shisan>& rows, std::vector<Calculate>& calculateArray, const std::string& heading,
                         const std::vector<const Kamoku*>& accounts, int32_t jigyoubuCode, bool isKarikataKamokuKubun,
                         const std::string& title, bool subtract) const;
  // The cost of sales of a statement of income (opening stock, purchases, the
  // manufactured goods handed on, closing stock) and the gross profit over the row
  // at baseRow; afterwards the list holds the operands of the gross profit, for the
  // rows below it to go on from.
  void appendUriageGenkaAndSoueki(std::vector<Shisan>& rows, std::vector<Calculate>& calculateArray,
                                  int32_t jigyoubuCode, size_t baseRow,
                                  const Shisan* toukiSeihinSeizouGenkaShisan) const;

private:
  const MyDocument& document_;
  const ZandakaShisanPeriodSums& sums_;
  bool kamokuDoNotShowIfNoTorihiki_;
  int64_t max_;
};

}  // namespace kivo

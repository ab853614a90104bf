// The shared rules of the monthly trial balance's sections (年間推移試算表): the rows
// of the trial balance's sections, with month columns in place of the period
// figures.
//
// Every amount-bearing row carries n + 2 amounts (n months of the term):
//   - movement form (income statement, manufacturing cost): the n + 1 monthly
//     movements, the closing-adjustment month last, then the total;
//   - closing form (balance sheet): the opening balance, then the n + 1 month-end
//     balances.
// The movement sections build every row twice, in step: the movement row that is
// shown and its closing twin, which hands the cost of goods manufactured and the
// profit on to the balance sheet as month-end figures (TwinRows).
//
// Sums are capped as the trial balance's are: a sum beyond the company's
// maxOutputAmountValue holds one beyond it on its own side and is not changed
// again. No monthly row carries a percent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "trial/Calculate.h"
#include "trial/Shisan.h"

namespace kivo {

class Kaisya;
class Kamoku;
class MyDocument;
class SuiiShisanMonthlySums;

class SuiiShisanBuilder {
public:
  using Amounts = std::vector<int64_t>;

  // The rows of a movement section and their closing twins, index by index (a
  // heading row stands in both).
  struct TwinRows {
    std::vector<Shisan> movement;
    std::vector<Shisan> closing;
  };
  // A block's running sums in both forms.
  struct TwinAmounts {
    Amounts movement;
    Amounts closing;
  };

  // addKaishiZandakaToGoukei: the user's setting "SuiiShisan Add Kaishizandka To
  // Goukei": a movement row's total starts at the opening balance.
  SuiiShisanBuilder(const MyDocument& document, const SuiiShisanMonthlySums& sums, bool addKaishiZandakaToGoukei);

  const MyDocument& theDocument() const { return document_; }
  const Kaisya& kaisya() const;
  int64_t maxOutputAmountValue() const { return max_; }
  int32_t numberOfMonth() const { return numberOfMonth_; }
  bool isOlderChart() const;

  // --- which accounts get rows. An account with figures in the division always
  // does, inactive or not, so no amount drops out of a total; one without figures
  // only when it is active and its type does not mark it as shown only with
  // amounts. The movement sections count the opening balance as a figure only
  // while the total includes it; the balance sheet always does.
  bool canAppearOnTaisyakuBalance(const Kamoku& kamoku, int32_t jigyoubuCode) const;
  bool canAppearOnSyuuryouZandaka(const Kamoku& kamoku, int32_t jigyoubuCode) const;
  bool canAppear(const Kamoku& kamoku, int32_t jigyoubuCode, bool closing) const
  {
    return closing ? canAppearOnSyuuryouZandaka(kamoku, jigyoubuCode)
                   : canAppearOnTaisyakuBalance(kamoku, jigyoubuCode);
  }
  // The accounts of a group in code order, of a category in its order, that can
  // appear; every own account of a category.
  std::vector<const Kamoku*> kamokuOfGroup(int32_t group, int32_t jigyoubuCode, bool closing) const;
  std::vector<const Kamoku*> kamokuOfKubun(const std::string& kubunName, int32_t jigyoubuCode, bool closing) const;
  std::vector<const Kamoku*> allKamokuOfKubun(const std::string& kubunName) const;

  // --- amounts
  Amounts zeroAmounts() const { return Amounts(static_cast<size_t>(numberOfMonth_) + 2, 0); }
  // The account's movements and total; its opening and month-end balances.
  Amounts taisyakuBalanceAmounts(const Kamoku& kamoku, int32_t jigyoubuCode) const;
  Amounts syuuryouZandakaAmounts(const Kamoku& kamoku, int32_t jigyoubuCode) const;
  // Adds the amounts into a block's sums, position by position: added when the
  // account's nature is the block's side, subtracted otherwise.
  void addAmounts(Amounts& sums, const Amounts& amounts, bool sameSide) const;
  void addKamoku(TwinAmounts& sums, const Kamoku& kamoku, int32_t jigyoubuCode, bool isKarikataKamokuKubun) const;
  void addSyuuryouZandakaOfKamoku(Amounts& sums, const Kamoku& kamoku, int32_t jigyoubuCode,
                                  bool isKarikataKamokuKubun) const;
  // The signed sum of the rows the operands name.
  Amounts sumOfCalculateArray(const std::vector<Calculate>& calculateArray, const std::vector<Shisan>& rows) const;
  // A handed-on row added into a block's sums where they are within the limit; a
  // result beyond it holds one beyond it on its own side.
  void addLinkAmounts(Amounts& sums, const Shisan* link) const;

  // --- rows
  static Shisan makeRow(int32_t jigyoubuCode, int32_t kamokuCode, const std::string& title, Amounts amounts);
  static size_t append(std::vector<Shisan>& rows, Shisan row);
  static void addOperand(std::vector<Calculate>& calculateArray, const std::vector<Shisan>& rows, bool subtract);

  // Twin rows of a movement section.
  static size_t appendHeading(TwinRows& rows, int32_t jigyoubuCode, const std::string& title);
  size_t appendKamoku(TwinRows& rows, const Kamoku& kamoku, int32_t jigyoubuCode, const std::string& title) const;
  static size_t appendSums(TwinRows& rows, int32_t jigyoubuCode, int32_t kamokuCode, const std::string& title,
                           const TwinAmounts& sums);
  size_t appendTotal(TwinRows& rows, const std::vector<Calculate>& calculateArray, int32_t jigyoubuCode,
                     int32_t kamokuCode, const std::string& title) const;
  // Account rows titled "　" and the name, each added into the sums; returns how many.
  size_t appendKamokuRowsAndSums(TwinRows& rows, const std::vector<const Kamoku*>& accounts, int32_t jigyoubuCode,
                                 bool isKarikataKamokuKubun, TwinAmounts& sums) const;
  TwinAmounts zeroTwinAmounts() const { return {zeroAmounts(), zeroAmounts()}; }
  // A block of a group shown only when it has accounts, and a block shown always
  // under a heading: their rows and subtotal, an operand of the list.
  void appendGroupBlock(TwinRows& rows, std::vector<Calculate>& calculateArray, int32_t group, int32_t jigyoubuCode,
                        bool isKarikataKamokuKubun, const std::string& title, bool subtract) const;
  void appendHeadedBlock(TwinRows& rows, std::vector<Calculate>& calculateArray, const std::string& heading,
                         const std::vector<const Kamoku*>& accounts, int32_t jigyoubuCode, bool isKarikataKamokuKubun,
                         const std::string& title, bool subtract) const;
  // The cost of sales and the gross profit over the row at baseRow, as the trial
  // balance builds them; afterwards the list holds the gross profit's operands.
  void appendUriageGenkaAndSoueki(TwinRows& rows, std::vector<Calculate>& calculateArray, int32_t jigyoubuCode,
                                  size_t baseRow, const Shisan* toukiSeihinSeizouGenkaOfTaisyakuBalance,
                                  const Shisan* toukiSeihinSeizouGenkaOfSyuuryouZandaka) const;

private:
  const MyDocument& document_;
  const SuiiShisanMonthlySums& sums_;
  bool addKaishiZandakaToGoukei_;
  int64_t max_;
  int32_t numberOfMonth_;
};

}  // namespace kivo

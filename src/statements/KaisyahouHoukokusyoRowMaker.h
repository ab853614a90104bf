// The row-making rules that the Companies-Act statement builders share, bound to one
// column of one division: the amount of an account (or of its merged group), capped
// accumulation into a section total, the signed total row of a list of operands,
// and the group rows of the balance sheet.
//
// Every sum stops changing once it has left plus or minus the company's output limit
// M and is then held at M + 1 or -(M + 1), which the windows show as the overflow mark.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "trial/Calculate.h"
#include "trial/Shisan.h"

namespace kivo {

class Kamoku;
class MyDocument;
class KaisyahouHoukokusyoBalances;

class KaisyahouHoukokusyoRowMaker {
public:
  // Which of an account's amounts a statement column is built from.
  enum class Column { TaisyakuBalance, SyuuryouZandaka, KaishiZandaka };

  KaisyahouHoukokusyoRowMaker(const MyDocument& document, const KaisyahouHoukokusyoBalances& balances,
                              int32_t jigyoubuCode, Column column);

  const MyDocument& document() const { return document_; }
  int32_t jigyoubuCode() const { return jigyoubuCode_; }
  int64_t max() const { return max_; }

  // The account's own amount in this column.
  int64_t amountOf(const Kamoku& kamoku) const;
  // The account's amount, or for the representative of a merged group the group's:
  // members of the representative's nature added, the others subtracted.
  int64_t gassanAmountOf(const Kamoku& kamoku) const;
  // Not a member of another account's merged group (such a member never has a row).
  static bool isRepresentOrSingle(const Kamoku& kamoku);
  // A member of no other group that is active or has an amount in this column: an
  // account made inactive while it holds amounts still counts, so no amount of the
  // books drops out of a statement.
  bool isEligible(const Kamoku& kamoku) const;
  // The merged name for a representative, else the name without its non-printing mark.
  static std::string rowName(const Kamoku& kamoku);

  // The category's own accounts in its order; none when the chart has no such category.
  std::vector<const Kamoku*> kamokuOfKubun(const std::string& kubunName) const;
  // Every account of the statement group, in code order.
  std::vector<const Kamoku*> kamokuOfGroup(int32_t group) const;
  // The first eligible account of the group in code order, or nullptr.
  const Kamoku* firstEligibleKamokuOfGroup(int32_t group) const;

  // Appends one row with these values and returns its index.
  size_t addRow(std::vector<Shisan>& rows, int32_t kamokuCode, const std::string& title, int64_t amount) const;
  // Adds an amount into a section total: added when the account's nature is the
  // section's side (isKarikataKamokuKubun), subtracted otherwise.
  void addAmount(int64_t amount, const Kamoku& kamoku, bool isKarikataKamokuKubun, int64_t& total) const;
  // Appends the signed, capped total of the rows the operands name (and, for rows
  // with monthly cells, of those cells) with code 0 and no title; returns its index.
  size_t addTotalOfCalculateArray(const std::vector<Calculate>& calculateArray, std::vector<Shisan>& rows) const;
  // The same with the code and the title set.
  size_t addTotalRow(const std::vector<Calculate>& calculateArray, std::vector<Shisan>& rows, int32_t kamokuCode,
                     const std::string& title) const;
  // A heading titled groupName carrying the total of the rows that follow it: one per
  // eligible account of the category with a non-zero amount, limited to the groups
  // kamokuGroup or kamokuGroup2 when kamokuGroup is not 0. Returns the heading's
  // index, or -1 (and no heading) when no account had an amount.
  int32_t addGroupKamoku(const std::string& kubunName, int32_t kamokuGroup, int32_t kamokuGroup2,
                         const std::string& groupName, bool isKarikataKamokuKubun, const std::string& indent,
                         std::vector<Shisan>& rows) const;

  // Capped arithmetic of the statements.
  int64_t pinned(int64_t v) const { return v > max_ ? max_ + 1 : v < -max_ ? -(max_ + 1) : v; }
  bool inRange(int64_t v) const { return v >= -max_ && v <= max_; }
  // sum +/- amount while sum lies within the limit, pinned once it leaves it.
  void accumulate(int64_t& sum, int64_t amount, bool add) const;

private:
  const MyDocument& document_;
  const KaisyahouHoukokusyoBalances& balances_;
  int32_t jigyoubuCode_;
  Column column_;
  int64_t max_;
  std::unordered_map<int32_t, std::vector<const Kamoku*>> membersOfRepresent_;
};

}  // namespace kivo

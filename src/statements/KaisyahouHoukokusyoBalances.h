// The balance pass of the Companies-Act statements: the date-sorted journal posted,
// per account and division, into three amounts for the statement period: the
// opening at the period's start, the closing at its end and the period's movement.
// All three are signed by the account's nature (positive on the account's own side).
//
// The pass reads the document and returns the sums as a value; it writes nothing
// into the accounts. Conventions shared with the trial balance: an entry side finds
// its account by the whole code (active or not), entries numbered 0 or below never
// count, a division made inactive keeps its amounts in the company column (99),
// and a sum that leaves the output limit is pinned one beyond it and never changes
// again.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "statements/KaisyahouHoukokusyoPeriod.h"

namespace kivo {

class Kamoku;
class KaisyahouShiwakeOrder;
class MyDocument;

class KaisyahouHoukokusyoBalances {
public:
  struct Amounts {
    int64_t kaishiZandaka = 0;    // opening at the period's start
    int64_t syuuryouZandaka = 0;  // closing at the period's end
    int64_t taisyakuBalance = 0;  // the period's movement (plus the opening when the option is on)
  };

  static KaisyahouHoukokusyoBalances postShiwakeArray(const MyDocument& document,
                                                      const KaisyahouHoukokusyoPeriod& period);
  // The same over a journal order already made for the document.
  static KaisyahouHoukokusyoBalances postShiwakeArray(const MyDocument& document,
                                                      const KaisyahouHoukokusyoPeriod& period,
                                                      const KaisyahouShiwakeOrder& order);

  const KaisyahouHoukokusyoPeriod& period() const { return period_; }
  // The amounts of an account of the chart in a division column; 99 is the whole
  // company. Zeros for an account or a division the pass never met.
  Amounts amountsOf(const Kamoku& kamoku, int32_t jigyoubuCode) const;

private:
  KaisyahouHoukokusyoPeriod period_;
  std::unordered_map<const Kamoku*, size_t> indexOfKamoku_;
  std::vector<int32_t> jigyoubuCodes_;
  std::vector<std::vector<Amounts>> columns_;  // one per division code, over the accounts
};

}  // namespace kivo

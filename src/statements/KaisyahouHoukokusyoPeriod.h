// The statement period of the Companies-Act statements and the option that adds the
// term's opening balances to the period column.
#pragma once

#include "model/Date.h"

namespace kivo {

class Kaisya;

struct KaisyahouHoukokusyoPeriod {
  Date startDate;
  Date endDate;
  // The period column starts at the term's opening balances instead of 0.
  bool doAddStartBalanceToHoukokusyo = false;

  // The period chosen on the statements sheet, as the company record keeps it. A date
  // never chosen stands for the term's first day, or for the closing-adjustment
  // month at the end, so that an untouched sheet reports the whole term.
  static KaisyahouHoukokusyoPeriod ofKaisya(const Kaisya& kaisya);

  friend bool operator==(const KaisyahouHoukokusyoPeriod&, const KaisyahouHoukokusyoPeriod&) = default;
};

}  // namespace kivo

// The statement period of both forms of statements and the option that adds the
// term's opening balances to the period column, with the rules by which the
// statements sheets keep the period inside the term.
#pragma once

#include <string>

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

  // What a statements sheet stores each time it is filled, without marking the
  // document changed. A company shown the sheet for the first time (it has no cover
  // start date or no title yet) gets the cover dates of its term in its own era form,
  // the period from the term's first day to the closing-adjustment month, and
  // coverTitle when it has no title. Then a period start outside the term (or none)
  // becomes the term's first day, an end never chosen the closing-adjustment month,
  // and an end outside the term or before the start the term's last day; the
  // closing-adjustment month stays wherever it stands. Answers the period shown.
  static KaisyahouHoukokusyoPeriod settleKaisya(Kaisya& kaisya, const std::string& coverTitle);
  // A day from the term's first to its last, both included.
  static bool isDateOfTerm(const Kaisya& kaisya, Date date);

  friend bool operator==(const KaisyahouHoukokusyoPeriod&, const KaisyahouHoukokusyoPeriod&) = default;
};

}  // namespace kivo

#include "statements/KaisyahouHoukokusyoPeriod.h"

#include "document/Journal.h"
#include "model/Kaisya.h"

namespace kivo {

KaisyahouHoukokusyoPeriod KaisyahouHoukokusyoPeriod::ofKaisya(const Kaisya& kaisya)
{
  KaisyahouHoukokusyoPeriod p;
  p.startDate =
      kaisya.termStartDateOfHoukokusyo().isNull() ? kaisya.termStartDate() : kaisya.termStartDateOfHoukokusyo();
  p.endDate =
      kaisya.termEndDateOfHoukokusyo().isNull() ? Date::kessanSeiridukiDate() : kaisya.termEndDateOfHoukokusyo();
  p.doAddStartBalanceToHoukokusyo = kaisya.doAddStartBalanceToHoukokusyo();
  return p;
}

bool KaisyahouHoukokusyoPeriod::isDateOfTerm(const Kaisya& kaisya, Date date)
{
  return !date.isNull() && Journal::compareDate(date, kaisya.termStartDate()) >= 0 &&
         Journal::compareDate(date, kaisya.termEndDate()) <= 0;
}

KaisyahouHoukokusyoPeriod KaisyahouHoukokusyoPeriod::settleKaisya(Kaisya& k, const std::string& coverTitle)
{
  const Date kessan = Date::kessanSeiridukiDate();
  // The sheet never stores an empty title, so a company without one has not had its
  // settings stored either: a next term carried forward before its sheet was ever
  // shown has its cover dates but nothing else of the sheet's.
  if (k.termStartDateOfHoukokusyoCover().isNull() || k.titleOfHoukokusyo().empty()) {
    k.setDoUseWarekiForTermStartDateOfHoukokusyoCover(k.doUseWareki());
    k.setDoUseWarekiForTermEndDateOfHoukokusyoCover(k.doUseWareki());
    k.setTermStartDateOfHoukokusyoCover(k.termStartDate());
    k.setTermEndDateOfHoukokusyoCover(k.termEndDate());
    k.setTermStartDateOfHoukokusyo(k.termStartDate());
    k.setTermEndDateOfHoukokusyo(kessan);
    if (k.titleOfHoukokusyo().empty()) k.setTitleOfHoukokusyo(coverTitle);
  }
  const Date start = k.termStartDateOfHoukokusyo();
  if (start != kessan && !isDateOfTerm(k, start)) k.setTermStartDateOfHoukokusyo(k.termStartDate());
  // An end never chosen stands for the closing month, as ofKaisya reads it.
  if (k.termEndDateOfHoukokusyo().isNull()) k.setTermEndDateOfHoukokusyo(kessan);
  const Date end = k.termEndDateOfHoukokusyo();
  if (end != kessan && (!isDateOfTerm(k, end) || Journal::compareDate(end, k.termStartDateOfHoukokusyo()) < 0))
    k.setTermEndDateOfHoukokusyo(k.termEndDate());
  return ofKaisya(k);
}

}  // namespace kivo

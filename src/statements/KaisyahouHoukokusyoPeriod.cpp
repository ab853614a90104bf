#include "statements/KaisyahouHoukokusyoPeriod.h"

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

}  // namespace kivo

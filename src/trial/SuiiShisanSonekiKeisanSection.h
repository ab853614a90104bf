// The monthly trial balance's income statement of a corporation: the trial
// balance's rows of that section in month columns, movement rows and their closing
// twins. The profit row is a total row among the movement rows and
// ToukiSonekiRowCode among the twins; on the older chart the 当期未処分損益 row is
// likewise ToukiMisyobunSonekiRowCode among the twins. The 前期繰越損益等 row of
// each form stands only when some account was summed into it for that form, so
// the two lists may differ in length from there.
#pragma once

#include <cstdint>

#include "trial/SuiiShisanBuilder.h"

namespace kivo {

class SuiiShisanSonekiKeisanSection {
public:
  // The cost of goods manufactured as a movement row and its closing twin, or none.
  static SuiiShisanBuilder::TwinRows build(const SuiiShisanBuilder& builder, int32_t jigyoubuCode,
                                           const Shisan* toukiSeihinSeizouGenkaShisanOfTaisyakuBalance,
                                           const Shisan* toukiSeihinSeizouGenkaShisanOfSyuuryouZandaka);
};

}  // namespace kivo

// The monthly trial balance's income statement of a sole proprietor: the trial
// balance's rows of that section in month columns, movement rows and their closing
// twins. Its last row, 青色申告控除前所得, is a total row among the movement rows and
// ToukiSonekiRowCode among the twins.
#pragma once

#include <cstdint>

#include "trial/SuiiShisanBuilder.h"

namespace kivo {

class SuiiShisanKojinSonekiKeisanSection {
public:
  static SuiiShisanBuilder::TwinRows build(const SuiiShisanBuilder& builder, int32_t jigyoubuCode,
                                           const Shisan* toukiSeihinSeizouGenkaShisanOfTaisyakuBalance,
                                           const Shisan* toukiSeihinSeizouGenkaShisanOfSyuuryouZandaka);
};

}  // namespace kivo

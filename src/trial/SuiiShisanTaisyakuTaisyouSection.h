// The monthly trial balance's balance sheet: the trial balance's rows of that
// section in closing form (opening balance, then the month-end balances). The
// profit rows copy the closing twins the income statement hands on, and the block
// that takes the profit in adds it month by month.
#pragma once

#include <cstdint>
#include <vector>

#include "trial/SuiiShisanBuilder.h"

namespace kivo {

class SuiiShisanTaisyakuTaisyouSection {
public:
  // The closing twins of the profit row and of the 当期未処分損益 row, or none.
  static std::vector<Shisan> build(const SuiiShisanBuilder& builder, int32_t jigyoubuCode,
                                   const Shisan* toukiSonekiShisanOfSyuuryouZandaka,
                                   const Shisan* toukiMisyobunSonekiShisanOfSyuuryouZandaka);
};

}  // namespace kivo

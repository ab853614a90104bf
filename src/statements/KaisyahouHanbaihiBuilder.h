// The statement of selling, general and administrative expenses (販売費及び一般管理費):
// a row per account of the category with an amount, then the total, which it hands
// to the income statement. Empty when no account has an amount.
#pragma once

#include "statements/KaisyahouStatementRows.h"

namespace kivo {

class KaisyahouHoukokusyoRowMaker;

class KaisyahouHanbaihiBuilder {
public:
  static KaisyahouStatementRows build(const KaisyahouHoukokusyoRowMaker& maker);
};

}  // namespace kivo

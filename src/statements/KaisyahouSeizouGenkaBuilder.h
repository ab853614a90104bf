// The cost report (製造原価報告書; 完成工事原価報告書 in a construction company's
// printout) of a manufacturer: materials, labour, expenses and outsourced processing,
// the total manufacturing cost, work in process, and the cost of products
// manufactured, which it hands to the income statement. Empty for a company that is
// not a manufacturer.
#pragma once

#include "statements/KaisyahouStatementRows.h"

namespace kivo {

class KaisyahouHoukokusyoRowMaker;

class KaisyahouSeizouGenkaBuilder {
public:
  static KaisyahouStatementRows build(const KaisyahouHoukokusyoRowMaker& maker);
};

}  // namespace kivo

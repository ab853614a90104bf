// The monthly trial balance's manufacturing-cost report: the trial balance's rows
// of that section in month columns, movement rows and their closing twins. Empty
// for a company that is not a manufacturer. Its last row is the cost of goods
// manufactured (ToukiSeihinSeizouGenkaRowCode), which the income statement takes in.
#pragma once

#include <cstdint>

#include "trial/SuiiShisanBuilder.h"

namespace kivo {

class SuiiShisanSeizouGenkaSection {
public:
  static SuiiShisanBuilder::TwinRows build(const SuiiShisanBuilder& builder, int32_t jigyoubuCode);
};

}  // namespace kivo

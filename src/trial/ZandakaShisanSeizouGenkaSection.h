// The trial balance's manufacturing-cost report (製造原価報告書): material,
// labour, expense and outsourcing blocks, the total manufacturing cost and, last,
// the cost of goods manufactured (当期製品製造原価), which the income statement
// takes in. Empty for a company that is not a manufacturer.
#pragma once

#include <cstdint>
#include <vector>

#include "trial/Shisan.h"

namespace kivo {

class ZandakaShisan;

class ZandakaShisanSeizouGenkaSection {
public:
  explicit ZandakaShisanSeizouGenkaSection(const ZandakaShisan& builder) : builder_(builder) {}
  void build(std::vector<Shisan>& rows, int32_t jigyoubuCode) const;

private:
  const ZandakaShisan& builder_;
};

}  // namespace kivo

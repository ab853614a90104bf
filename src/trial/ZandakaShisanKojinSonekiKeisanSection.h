// The trial balance's income statement of a sole proprietor: income, cost of
// sales, expenses, amounts reversed and set aside, and last the income before the
// blue-return deduction (青色申告控除前所得, row code ToukiSonekiRowCode), which
// the balance sheet takes in.
#pragma once

#include <cstdint>
#include <vector>

#include "trial/Shisan.h"

namespace kivo {

class ZandakaShisan;

class ZandakaShisanKojinSonekiKeisanSection {
public:
  explicit ZandakaShisanKojinSonekiKeisanSection(const ZandakaShisan& builder) : builder_(builder) {}
  void build(std::vector<Shisan>& rows, int32_t jigyoubuCode, const Shisan* toukiSeihinSeizouGenkaShisan) const;

private:
  const ZandakaShisan& builder_;
};

}  // namespace kivo

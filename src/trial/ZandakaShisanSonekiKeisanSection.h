// The trial balance's income statement of a corporation (損益計算書): sales, cost
// of sales, gross profit, operating, ordinary and pre-tax profit, taxes and the
// profit of the period (row code ToukiSonekiRowCode); on the older chart also the
// unappropriated profit (ToukiMisyobunSonekiRowCode). Both are handed to the
// balance sheet.
#pragma once

#include <cstdint>
#include <vector>

#include "trial/Shisan.h"

namespace kivo {

class ZandakaShisan;

class ZandakaShisanSonekiKeisanSection {
public:
  explicit ZandakaShisanSonekiKeisanSection(const ZandakaShisan& builder) : builder_(builder) {}
  void build(std::vector<Shisan>& rows, int32_t jigyoubuCode, const Shisan* toukiSeihinSeizouGenkaShisan) const;

private:
  const ZandakaShisan& builder_;
};

}  // namespace kivo

// The trial balance's balance sheet (貸借対照表): assets, liabilities, and the
// capital part, either in the older capital layout (資本の部; also every sole
// proprietor) or in the net-assets layout of the Companies-Act chart (純資産の部).
// The profit rows that the income statement hands on enter the capital part.
#pragma once

#include <cstdint>
#include <vector>

#include "trial/Shisan.h"

namespace kivo {

class ZandakaShisan;

class ZandakaShisanTaisyakuTaisyouSection {
public:
  explicit ZandakaShisanTaisyakuTaisyouSection(const ZandakaShisan& builder) : builder_(builder) {}
  // toukiSonekiShisan: the profit of the period; toukiMisyobunSonekiShisan: the
  // unappropriated profit of the older corporate chart (nullptr for none).
  void build(std::vector<Shisan>& rows, int32_t jigyoubuCode, const Shisan* toukiSonekiShisan,
             const Shisan* toukiMisyobunSonekiShisan) const;

private:
  const ZandakaShisan& builder_;
};

}  // namespace kivo

// One item of the appropriation of profit (利益処分案) that the company record keeps:
// a short name (配当金, 利益準備金 ...) and its amount in stored units.
#pragma once

#include <cstdint>
#include <string>

namespace kivo {

struct RiekiSyobunanItem {
  std::string name;
  int64_t kingaku = 0;
  friend bool operator==(const RiekiSyobunanItem&, const RiekiSyobunanItem&) = default;
};

}  // namespace kivo

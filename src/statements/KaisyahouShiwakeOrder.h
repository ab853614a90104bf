// The journal as the Companies-Act statements read it: the counted entries (numbered
// above 0) in the one date order, and the accounts of the chart by whole code.
//
#pragma once

#include <cstdint>
#include <vector>

namespace kivo {

class MyDocument;
class Shiwake;

class KaisyahouShiwakeOrder {
public:
  explicit KaisyahouShiwakeOrder(const MyDocument& document);

  // Every counted entry in date order (equal dates in journal order).
  const std::vector<const Shiwake*>& sortedShiwake() const { return sorted_; }
  // The index in the document's code-sorted account list of the account with exactly
  // this code (active or not); -1 when none.
  int32_t indexOfKamokuCode(int32_t code) const;

private:
  std::vector<const Shiwake*> sorted_;
  std::vector<int32_t> indexOfCode_;
  std::vector<int32_t> codes_;
};

}  // namespace kivo

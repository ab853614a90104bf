// One signed operand of a subtotal row: a row of the same array, added or
// subtracted. A builder collects operands while it appends rows, then appends the
// row that sums them.
#pragma once

#include <cstdint>

namespace kivo {

class Calculate {
public:
  static constexpr int32_t kAdd = 0;
  static constexpr int32_t kSubtract = 1;

  Calculate() = default;
  Calculate(int32_t indexOfArray, int32_t calculateState) : indexOfArray_(indexOfArray), calculateState_(calculateState)
  {
  }

  // Index, in the array that the subtotal row is appended to, of the row named.
  int32_t indexOfArray() const { return indexOfArray_; }
  void setIndexOfArray(int32_t v) { indexOfArray_ = v; }
  // 0 adds the row's amounts; any other value subtracts them.
  int32_t calculateState() const { return calculateState_; }
  void setCalculateState(int32_t v) { calculateState_ = v; }
  bool isSubtract() const { return calculateState_ != 0; }

private:
  int32_t indexOfArray_ = 0;
  int32_t calculateState_ = kAdd;
};

}  // namespace kivo

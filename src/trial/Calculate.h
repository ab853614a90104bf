// One signed operand of a subtotal row: a row of the same array, added or
// subtracted. A builder collects operands while it appends rows, then appends the
// row that sums them.
#pragma once

#include <cstdint>

namespace kivo {

class Calculate {
public:
  enum class Sign { Add, Subtract };

  Calculate(int32_t indexOfArray, Sign sign) : indexOfArray_(indexOfArray), sign_(sign) {}

  // Index, in the array that the subtotal row is appended to, of the row named.
  int32_t indexOfArray() const { return indexOfArray_; }
  bool isSubtract() const { return sign_ == Sign::Subtract; }

private:
  int32_t indexOfArray_;
  Sign sign_;
};

}  // namespace kivo

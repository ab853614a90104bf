// The codes of a list met so far, one flag for each code from -1 to kMax: a code
// given twice is found in one pass over the list, however long it is.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>

namespace kivo {

template <int32_t kMax>
class SeenCodes {
public:
  // Marks the code met; false when it was met before or lies outside -1 to kMax.
  bool insert(int32_t code)
  {
    if (code < -1 || code > kMax) return false;
    const auto at = static_cast<size_t>(code + 1);
    if (seen_.test(at)) return false;
    seen_.set(at);
    return true;
  }

private:
  std::bitset<static_cast<size_t>(kMax) + 2> seen_;
};

}  // namespace kivo

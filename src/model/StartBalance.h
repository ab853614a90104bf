// One (division, amount) pair of a per-division balance list.
#pragma once

#include <cstdint>

namespace kivo {

struct StartBalance {
  int32_t jigyoubuCode = 0;
  int64_t balance = 0;
  friend bool operator==(const StartBalance&, const StartBalance&) = default;
};

}  // namespace kivo

// Arithmetic of amounts that are capped: report sums at the output limit, running
// balances at the int64_t range.
//
// A report sum that leaves plus or minus the limit is marked by a value one beyond it
// and is then no longer changed, so every window, printout and export shows the
// overflow text for it. The additions here saturate at the int64_t range, so that
// no input, however large, makes the arithmetic itself overflow.
#pragma once

#include <cstdint>
#include <limits>

namespace kivo::capped {

inline int64_t add(int64_t a, int64_t b)
{
  int64_t r;
  if (__builtin_add_overflow(a, b, &r))
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  return r;
}

inline int64_t sub(int64_t a, int64_t b)
{
  int64_t r;
  if (__builtin_sub_overflow(a, b, &r))
    return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  return r;
}

inline bool inRange(int64_t v, int64_t max) { return v >= -max && v <= max; }

// A report sum of amounts (a month's or a period's debit or credit sum, a total of
// rows) takes an amount while it has not passed the limit, and then stays at the first
// value beyond it. A sum that stands exactly on the limit is still a true figure and
// takes the next amount, so that it reads as overflow rather than as the limit once it
// grows. Only the limit above stops it: such a sum falls below minus the limit only
// through negative amounts, and it stays a true figure while it does. The ledger, the
// trial balance and the sub-account list all add by this one rule, so they agree on
// every figure near the limit.
inline int64_t addToSum(int64_t sum, int64_t amount, int64_t max) { return sum <= max ? add(sum, amount) : sum; }

}  // namespace kivo::capped

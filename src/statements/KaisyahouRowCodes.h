// Row codes (Shisan::kamokuCode) of the Companies-Act statements. An account row
// carries the account's code (for a merged group its representative's); computed
// rows carry one of these.
#pragma once

#include <cstdint>

namespace kivo {

inline constexpr int32_t KaisyahouComputedRowCode = -1;      // a line that is no total; a blank spacer
inline constexpr int32_t KaisyahouBlockTotalRowCode = -401;  // "合計" inside an inventory block; a total column
inline constexpr int32_t KaisyahouGroupRowCode = -402;       // bracketed heading, or a group carrying its total
inline constexpr int32_t KaisyahouSubtotalRowCode = -403;    // a section subtotal
inline constexpr int32_t KaisyahouTotalRowCode = -404;       // a main total or a profit line
inline constexpr int32_t KaisyahouSectionRowCode = -405;     // a section heading without amount

}  // namespace kivo

// The keys that close a picker or an input panel, as 16-bit characters. A value is
// accepted only by one of the four; anything else (0 here) means cancelled.
#pragma once

#include <cstdint>

namespace kivo::StopChar {

constexpr uint16_t kNone = 0;
constexpr uint16_t kEnter = 3;
constexpr uint16_t kTab = 9;
constexpr uint16_t kReturn = 13;
constexpr uint16_t kBacktab = 25;

}  // namespace kivo::StopChar

// The character a typed key stands for, for the windows that act on typed characters
// (the report tables, the vouchers' and cash books' grids).
//
// The named keys are read by their keys, whatever is held with them: 3 Enter, 13
// Return, 127 Delete and Backspace, 27 Escape, 9 Tab, 25 Back-tab (Tab with Shift too),
// 0xF700 Up, 0xF701 Down. Any other key is the first UTF-16 unit of its text, but never
// while Ctrl, Alt or Meta is held: such a key's text is the control character it makes
// (Ctrl+Y carries 25, the back-tab; Ctrl+I 9, Ctrl+M 13, Ctrl+[ 27, Ctrl+C 3) or the
// letter of a menu's key, never a character the user typed, and it stands for none (0).
#pragma once

#include <cstdint>

class QKeyEvent;

namespace kivo {

class KeyCharacter {
public:
  static constexpr uint16_t kEnter = 3;
  static constexpr uint16_t kTab = 9;
  static constexpr uint16_t kReturn = 13;
  static constexpr uint16_t kBacktab = 25;
  static constexpr uint16_t kEscape = 27;
  static constexpr uint16_t kDelete = 127;
  static constexpr uint16_t kUpArrow = 0xF700;
  static constexpr uint16_t kDownArrow = 0xF701;

  // The key's character; 0 when it stands for none.
  static uint16_t of(const QKeyEvent& event);
};

}  // namespace kivo

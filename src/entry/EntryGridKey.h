// What a key typed on an entry grid does while no cell is being edited: the first
// character of the key decides. Tab, Back-tab and the Up and Down arrows move the
// selection; Enter, Return, Delete and the ASCII letters and digits hand the
// selected cell to its column's panel or picker (in a column filled from them);
// every other key, Escape and "/" among them, does nothing.
#pragma once

#include <cstdint>

namespace kivo {

class EntryGridKey {
public:
  static constexpr uint16_t kEnter = 3;
  static constexpr uint16_t kTab = 9;
  static constexpr uint16_t kReturn = 13;
  static constexpr uint16_t kBacktab = 25;
  static constexpr uint16_t kDelete = 0x7F;
  static constexpr uint16_t kUpArrow = 0xF700;
  static constexpr uint16_t kDownArrow = 0xF701;

  enum class Action { None, InsertTab, InsertBacktab, MoveUp, MoveDown, HandOff };

  static Action actionOfCharacter(uint16_t c);
  // Enter and Return hand a cell over with nothing typed: its panel or picker starts
  // empty. A letter or a digit is its start.
  static bool handOffStartsEmpty(uint16_t c) { return c == kEnter || c == kReturn; }
};

}  // namespace kivo

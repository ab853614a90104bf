#include "entry/EntryGridKey.h"

namespace kivo {

EntryGridKey::Action EntryGridKey::actionOfCharacter(uint16_t c)
{
  switch (c) {
  case kTab: return Action::InsertTab;
  case kBacktab: return Action::InsertBacktab;
  case kUpArrow: return Action::MoveUp;
  case kDownArrow: return Action::MoveDown;
  case kEnter:
  case kReturn:
  case kDelete: return Action::HandOff;
  default: break;
  }
  const bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return letterOrDigit ? Action::HandOff : Action::None;
}

}  // namespace kivo

// The keys typed on an entry grid while no cell is being edited.
#include <gtest/gtest.h>

#include <tuple>

#include "entry/EntryGridKey.h"

namespace kivo {
namespace {

using Action = EntryGridKey::Action;

TEST(EntryGridKeyTest, MovesHandsOverOrDoesNothingByTheFirstCharacter)
{
  // The character, what it does, and whether a hand-off by it starts empty.
  const std::tuple<uint16_t, Action, bool> cases[] = {
      {9, Action::InsertTab, false},     {25, Action::InsertBacktab, false}, {0xF700, Action::MoveUp, false},
      {0xF701, Action::MoveDown, false}, {3, Action::HandOff, true},         {13, Action::HandOff, true},
      {0x7F, Action::HandOff, false},    {'0', Action::HandOff, false},      {'9', Action::HandOff, false},
      {'A', Action::HandOff, false},     {'z', Action::HandOff, false},      {'/', Action::None, false},
      {'-', Action::None, false},        {' ', Action::None, false},         {27, Action::None, false},
      {'@', Action::None, false},        {'[', Action::None, false},         {'`', Action::None, false},
      {'{', Action::None, false},        {0xFF11, Action::None, false},      {0x3042, Action::None, false},
      {0, Action::None, false},
  };
  for (const auto& [c, action, empty] : cases) {
    EXPECT_EQ(EntryGridKey::actionOfCharacter(c), action) << c;
    EXPECT_EQ(EntryGridKey::handOffStartsEmpty(c), empty) << c;
  }
}

}  // namespace
}  // namespace kivo

// The keys typed on an entry grid while no cell is being edited.
#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "entry/EntryGridKey.h"

namespace kivo {
namespace {

using namespace std::string_view_literals;
using Action = EntryGridKey::Action;

TEST(EntryGridKeyTest, MovesHandsOverOrDoesNothingByTheFirstCharacter)
{
  // Characters, and what each does: the letters and digits at the ends of their runs,
  // the characters beside those runs, full-width and kana among the rest.
  const std::pair<std::u16string_view, Action> cases[] = {
      {u"\t"sv, Action::InsertTab},
      {u"\x19"sv, Action::InsertBacktab},
      {u"\uF700"sv, Action::MoveUp},
      {u"\uF701"sv, Action::MoveDown},
      {u"09AZaz\x03\r\x7F"sv, Action::HandOff},
      {u"/:@[`{ -\x1B\uFF11\u3042\0"sv, Action::None},
  };
  for (const auto& [characters, action] : cases)
    for (char16_t c : characters) {
      EXPECT_EQ(EntryGridKey::actionOfCharacter(c), action) << int(c);
      // Enter and Return start the panel or picker empty.
      EXPECT_EQ(EntryGridKey::handOffStartsEmpty(c), c == 3 || c == 13) << int(c);
    }
}

}  // namespace
}  // namespace kivo

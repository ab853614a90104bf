// The character a typed key stands for: the named keys by their keys, other keys by
// their text, and a key held with Ctrl, Alt or Meta never by the control character or
// letter its text carries.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "platform/KeyCharacter.h"

namespace kivo::test {
namespace {

uint16_t characterOf(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
  const QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
  return KeyCharacter::of(event);
}

TEST(KeyCharacterTest, NamedKeysAreReadByTheirKeysAndOthersByTheirTextOnlyWithoutCtrlAltOrMeta)
{
  struct Case {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    uint16_t expected;
  };
  const QString none;
  const Case cases[] = {
      // The named keys, with the text the window system gives them or none.
      {"Enter", Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"), KeyCharacter::kEnter},
      {"Return", Qt::Key_Return, {}, QStringLiteral("\r"), KeyCharacter::kReturn},
      {"Tab", Qt::Key_Tab, {}, QStringLiteral("\t"), KeyCharacter::kTab},
      {"Shift+Tab", Qt::Key_Tab, Qt::ShiftModifier, none, KeyCharacter::kBacktab},
      {"Back-tab", Qt::Key_Backtab, Qt::ShiftModifier, none, KeyCharacter::kBacktab},
      {"Escape", Qt::Key_Escape, {}, QString(QChar(27)), KeyCharacter::kEscape},
      {"Backspace", Qt::Key_Backspace, {}, QStringLiteral("\b"), KeyCharacter::kDelete},
      {"Delete", Qt::Key_Delete, {}, QString(QChar(127)), KeyCharacter::kDelete},
      {"Up", Qt::Key_Up, {}, none, KeyCharacter::kUpArrow},
      {"Down", Qt::Key_Down, {}, none, KeyCharacter::kDownArrow},
      // Letters, digits and other characters as typed.
      {"a", Qt::Key_A, {}, QStringLiteral("a"), 'a'},
      {"Shift+a", Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"), 'A'},
      {"keypad 5", Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5"), '5'},
      {"AltGr+q (another group, not Alt)", Qt::Key_At, Qt::GroupSwitchModifier, QStringLiteral("@"), '@'},
      {"a key without text", Qt::Key_F5, {}, none, 0},
      // Held with Ctrl: the control character the text carries stands for nothing.
      {"Ctrl+Y (the back-tab character)", Qt::Key_Y, Qt::ControlModifier, QString(QChar(25)), 0},
      {"Ctrl+I (the tab character)", Qt::Key_I, Qt::ControlModifier, QString(QChar(9)), 0},
      {"Ctrl+M (the return character)", Qt::Key_M, Qt::ControlModifier, QString(QChar(13)), 0},
      {"Ctrl+[ (the escape character)", Qt::Key_BracketLeft, Qt::ControlModifier, QString(QChar(27)), 0},
      {"Ctrl+C (the enter character)", Qt::Key_C, Qt::ControlModifier, QString(QChar(3)), 0},
      {"Ctrl+Shift+Y", Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(25)), 0},
      // Held with Alt or Meta: the letter is a menu's key, not typed.
      {"Alt+k", Qt::Key_K, Qt::AltModifier, QStringLiteral("k"), 0},
      {"Meta+5", Qt::Key_5, Qt::MetaModifier, QStringLiteral("5"), 0},
      // A named key held with Ctrl is still that key.
      {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier, QStringLiteral("\r"), KeyCharacter::kReturn},
      {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, QStringLiteral("\t"), KeyCharacter::kTab},
  };
  for (const Case& c : cases) EXPECT_EQ(characterOf(c.key, c.modifiers, c.text), c.expected) << c.what;
}

}  // namespace
}  // namespace kivo::test

#include "platform/KeyCharacter.h"

#include <QKeyEvent>

namespace kivo {

uint16_t KeyCharacter::of(const QKeyEvent& event)
{
  switch (event.key()) {
  case Qt::Key_Enter: return kEnter;
  case Qt::Key_Return: return kReturn;
  case Qt::Key_Backspace:
  case Qt::Key_Delete: return kDelete;
  case Qt::Key_Escape: return kEscape;
  case Qt::Key_Backtab: return kBacktab;
  case Qt::Key_Tab: return (event.modifiers() & Qt::ShiftModifier) ? kBacktab : kTab;
  case Qt::Key_Up: return kUpArrow;
  case Qt::Key_Down: return kDownArrow;
  default: break;
  }
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
  const QString text = event.text();
  return text.isEmpty() ? 0 : text.at(0).unicode();
}

}  // namespace kivo

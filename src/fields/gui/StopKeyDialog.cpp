#include "fields/gui/StopKeyDialog.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "fields/StopChar.h"

namespace kivo {

StopKeyDialog::StopKeyDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void StopKeyDialog::watchTextField(QLineEdit* field)
{
  textField_ = field;
  field->installEventFilter(this);
}

bool StopKeyDialog::handleKey(QKeyEvent* event)
{
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  switch (event->key()) {
  case Qt::Key_Enter: closeWithStopChar(StopChar::kEnter); return true;
  case Qt::Key_Return: closeWithStopChar(StopChar::kReturn); return true;
  case Qt::Key_Tab: closeWithStopChar(mods & Qt::ShiftModifier ? StopChar::kBacktab : StopChar::kTab); return true;
  case Qt::Key_Backtab: closeWithStopChar(StopChar::kBacktab); return true;
  case Qt::Key_Escape: reject(); return true;
  case Qt::Key_W:
    if (mods == Qt::ControlModifier) {
      reject();
      return true;
    }
    return false;
  default: return handleOtherKey(event);
  }
}

bool StopKeyDialog::eventFilter(QObject* watched, QEvent* event)
{
  if (textField_ && watched == textField_ && event->type() == QEvent::FocusIn) {
    static_cast<QObject*>(textField_)->event(event);
    textField_->deselect();
    textField_->end(false);
    return true;
  }
  if (textField_ && watched == textField_ && event->type() == QEvent::KeyPress &&
      handleKey(static_cast<QKeyEvent*>(event)))
    return true;
  return QDialog::eventFilter(watched, event);
}

void StopKeyDialog::keyPressEvent(QKeyEvent* event)
{
  if (!handleKey(event)) QDialog::keyPressEvent(event);
}

}  // namespace kivo

#include "fields/gui/StopKeyDialog.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QWindow>

#include "fields/StopChar.h"

namespace kivo {

StopKeyDialog::StopKeyDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

// While the dialog runs: keys meant for the program's other windows go to the
// dialog's text field, and the input a modal window refuses (clicks, the wheel,
// closing) is dropped there.
class StopKeyDialog::KeyForwarder : public QObject {
public:
  explicit KeyForwarder(StopKeyDialog* dialog) : dialog_(dialog) { qApp->installEventFilter(this); }
  ~KeyForwarder() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (isInDialog(watched)) return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:  // no menu command of the window behind runs
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      if (QLineEdit* field = dialog_->textField_) {
        auto* key = static_cast<QKeyEvent*>(event);
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                       static_cast<ushort>(key->count()));
        QCoreApplication::sendEvent(field, &copy);
      }
      return true;
    }
    case QEvent::InputMethod:
      if (QLineEdit* field = dialog_->textField_) {
        auto* im = static_cast<QInputMethodEvent*>(event);
        QInputMethodEvent copy(im->preeditString(), im->attributes());
        copy.setCommitString(im->commitString(), im->replacementStart(), im->replacementLength());
        QCoreApplication::sendEvent(field, &copy);
      }
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu: return true;
    case QEvent::Close: event->ignore(); return true;
    default: return false;
    }
  }

private:
  bool isInDialog(QObject* watched) const
  {
    if (!dialog_) return true;
    if (auto* w = qobject_cast<QWidget*>(watched)) return w->window() == dialog_ || dialog_->isAncestorOf(w);
    if (auto* window = qobject_cast<QWindow*>(watched)) return window == dialog_->windowHandle();
    return true;  // the application and other objects
  }

  QPointer<StopKeyDialog> dialog_;
};

int StopKeyDialog::runModalKeepingKeys()
{
  // Window-modal without a parent window blocks no window: the keys still reach the
  // window behind, and the forwarder hands them on.
  QWidget* owner = parentWidget();
  const QPoint position = pos();
  if (owner) setParent(nullptr, windowFlags());
  move(position);
  setWindowModality(Qt::WindowModal);
  int result = 0;
  {
    KeyForwarder forwarder(this);
    result = exec();
  }
  if (owner) setParent(owner, windowFlags());
  return result;
}

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

#include "fields/gui/StopKeyDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QHideEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include "fields/StopChar.h"
#include "platform/SheetController.h"

namespace kivo {
namespace {

QPointer<StopKeyDialog> runningStopKeyDialog;

}  // namespace

StopKeyDialog::StopKeyDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
  // The window system's focus stays on the window it serves (KeyRouting::lendKeyboard).
  setWindowFlag(Qt::WindowDoesNotAcceptFocus);
}

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
    case QEvent::WindowActivate:
      // A window of the program's brought forward by a click (on the window it serves,
      // its title bar): the window manager keeps the dialog above the window it serves,
      // which gets the window system's focus again, and the dialog takes its keys again.
      if (dialog_ && dialog_->isVisible() && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
        dialog_->raise();
        const QPointer<StopKeyDialog> dialog = dialog_;
        QTimer::singleShot(0, dialog, [dialog] {
          if (dialog->isVisible()) KeyRouting::lendKeyboard(dialog, dialog->served_);
        });
      }
      return false;
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

StopKeyDialog* StopKeyDialog::runningDialog() { return runningStopKeyDialog; }

int StopKeyDialog::runModalKeepingKeys(QWidget* owner)
{
  // A window of the window it serves, so that the window manager keeps it above that
  // window; but not modal in Qt's sense, which would drop the keys still on their way
  // to that window (the forwarder hands them on and drops the rest of its input).
  QWidget* const formerParent = parentWidget();
  QWidget* const served = owner ? owner->window() : nullptr;
  served_ = formerParent ? formerParent->window() : served;
  // Opened by a Return typed in a sheet's field: that Return is the field's.
  SheetController::takeReturnKey(formerParent ? formerParent : served);
  const bool lent = !formerParent && served;
  if (lent) {
    const QPoint position = pos();
    setParent(served, windowFlags());
    move(position);
  }
  setWindowModality(Qt::NonModal);
  setResult(QDialog::Rejected);
  QEventLoop loop;
  loop_ = &loop;
  outerRunning_ = runningStopKeyDialog;
  runningStopKeyDialog = this;
  {
    KeyForwarder forwarder(this);
    // Always on the screen. Minimized with the window it served last time (the window
    // manager minimizes a window's dialogs with it), it would come up minimized: its
    // window is made anew, in the normal state (made normal while it stands, it would be
    // mapped at once, and a window manager could take it as minimized still).
    if (windowState() & Qt::WindowMinimized) {
      destroy();
      setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    // It takes the keys of the window it serves, which keeps the window system's focus:
    // no key typed as it opens or closes falls between the two windows.
    KeyRouting::lendKeyboard(this, served_);
    if (isVisible()) loop.exec(QEventLoop::DialogExec);
  }
  runningStopKeyDialog = outerRunning_;
  loop_ = nullptr;
  // The keys typed after the one that closed it go on once the window it served has
  // taken what was chosen (the caller does, before the next event).
  const std::unique_ptr<KeyRouting::Hold> closing = std::move(closing_);
  // Opened by a press on a control of a sheet (the focus it took ended the field's
  // editing): that press was spent here.
  SheetController::spendMousePress(formerParent ? formerParent : served);
  if (lent) {
    const QPoint position = pos();
    setParent(nullptr, windowFlags());
    move(position);
  }
  return result();
}

void StopKeyDialog::hideEvent(QHideEvent* event)
{
  QDialog::hideEvent(event);
  // Closed (not the window manager hiding it with the window it serves): the run ends.
  if (loop_ && !event->spontaneous()) {
    if (!closing_) closing_ = std::make_unique<KeyRouting::Hold>(KeyRouting::Hold::Keys::Every);
    loop_->quit();
  }
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

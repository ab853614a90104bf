#include "platform/KeyboardReturn.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

namespace kivo {
namespace {

// How many times the window is asked for again when the window system gives the
// keyboard elsewhere meanwhile.
constexpr int kRequestsAtMost = 4;

// Asks for the window to be activated and handles every event but the user's input
// until it has the keyboard, it is hidden or the limit has passed. A window system
// that settles the keyboard elsewhere after the request (its own choice as a panel
// and the confirmation over it go, made after it took the request) is asked again.
bool activateAndWait(QWindow* window)
{
  const QPointer<QWindow> target = window;
  const auto has = [&target] { return target && QGuiApplication::focusWindow() == target; };
  const auto over = [&target, &has] { return !target || !target->isVisible() || has(); };
  if (over()) return has();
  int requests = 1;
  target->requestActivate();
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &loop, [&](QWindow* now) {
    if (over()) {
      loop.quit();
    } else if (now && requests < kRequestsAtMost) {
      ++requests;
      target->requestActivate();
    }
  });
  // A window hidden meanwhile is waited for no longer.
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
    if (over()) loop.quit();
  });
  watch.start(20);
  limit.start(KeyboardReturn::kWaitLimit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return has();
}

}  // namespace

// An alert that a panel raises over itself, closing while the user has it: the
// keyboard goes back to the panel, if it is still shown once its work goes on.
class KeyboardReturn::AlertWatch : public QObject {
public:
  AlertWatch() { qApp->installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    auto* alert = qobject_cast<QMessageBox*>(watched);
    if (!alert || !alert->isWindow()) return false;
    switch (event->type()) {
    case QEvent::WindowActivate: withKeyboard_ = alert; break;
    case QEvent::WindowDeactivate:
      // To another window, which the user went to; as the alert closes, to none.
      if (QApplication::activeWindow() && alert == withKeyboard_) withKeyboard_ = nullptr;
      break;
    case QEvent::Hide: {
      if (alert != withKeyboard_) break;
      withKeyboard_ = nullptr;
      // Once the panel's own work goes on: a panel the answer closes (a confirmation to
      // replace a file, answered yes) is gone by then, and what the user typed at once
      // goes on to the window the command was given in, not into the closing panel.
      QWidget* under = alert->parentWidget() ? alert->parentWidget()->window() : nullptr;
      if (under) QTimer::singleShot(0, under, [under] { giveKeyboardTo(under); });
      break;
    }
    default: break;
    }
    return false;
  }

private:
  QPointer<QMessageBox> withKeyboard_;  // the alert that has the keyboard
};

KeyboardReturn::KeyboardReturn(QWidget* commandWindow)
    : window_(commandWindow ? commandWindow->window() : QApplication::activeWindow()),
      alertWatch_(std::make_unique<AlertWatch>())
{
}

KeyboardReturn::~KeyboardReturn()
{
  alertWatch_.reset();
  giveKeyboardTo(window_.data());
}

bool KeyboardReturn::giveKeyboardTo(QWidget* window)
{
  // What the window system has already said (the window it activated as the panel
  // closed) comes first.
  const QPointer<QWidget> shown = window;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (!shown || !shown->isVisible() || !shown->window()->windowHandle()) return false;
  return activateAndWait(shown->window()->windowHandle());
}

void KeyboardReturn::afterAnswer(QWidget* keyboardTo, QObject* actsOn, std::function<void()> then)
{
  const QPointer<QWidget> window = keyboardTo;
  const QPointer<QObject> subject = actsOn;
  const bool hasSubject = actsOn != nullptr;
  // Posted to the application, not to a window or sheet that may go meanwhile; posted
  // events run before the window system's input that follows.
  QMetaObject::invokeMethod(
      qApp,
      [window, subject, hasSubject, then = std::move(then)] {
        const auto gone = [&] { return hasSubject && !subject; };
        if (gone()) return;
        if (window) giveKeyboardTo(window.data());
        if (gone()) return;
        if (then) then();
      },
      Qt::QueuedConnection);
}

bool KeyboardReturn::giveKeyboardTo(QWindow* window)
{
  const QPointer<QWindow> shown = window;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (!shown || !shown->isVisible()) return false;
  return activateAndWait(shown);
}

}  // namespace kivo

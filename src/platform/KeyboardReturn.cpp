#include "platform/KeyboardReturn.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <utility>

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
// keyboard goes back to the panel, if it is still shown once its work goes on. The
// keys typed at once after its answer go there too.
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
      if (!under) break;
      QTimer::singleShot(0, under, [under] { giveKeyboardTo(under); });
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
  hold_.reset();
}

int KeyboardReturn::exec(QDialog& panel, TypedAhead typedAhead)
{
  const int level = QThread::currentThread()->loopLevel();
  std::function<void()> whenRunning;
  if (typedAhead == TypedAhead::IsDropped) {
    // A question: only what is typed once it shows answers it.
    KeyRouting::watchQuestion(&panel);
  } else {
    // The keys typed ahead go to the panel once its own loop runs: given while it shows,
    // before the loop starts (a platform that delivers queued input as a window shows),
    // a Return would answer it and leave the loop waiting on a hidden panel.
    KeyRouting::setTypeAheadPanel(&panel);
    whenRunning = [&panel, level, &whenRunning] {
      if (KeyRouting::typeAheadPanel() != &panel) return;
      if (QThread::currentThread()->loopLevel() > level)
        KeyRouting::setTypeAheadPanelRunning();
      else
        QTimer::singleShot(0, &panel, whenRunning);
    };
    QTimer::singleShot(0, &panel, whenRunning);
  }
  // Answered within the panel's own handling of the key or click, before the keys that
  // follow it are read: from then on, what the panel held is no longer typed ahead, and
  // the keys it was sent wait until the keyboard is back.
  const QMetaObject::Connection answered = QObject::connect(&panel, &QDialog::finished, &panel, [this, &panel] {
    if (KeyRouting::typeAheadPanel() == &panel) KeyRouting::setTypeAheadPanel(nullptr);
    if (!hold_) hold_ = std::make_unique<KeyRouting::Hold>();
  });
  const int result = panel.exec();
  QObject::disconnect(answered);
  if (KeyRouting::typeAheadPanel() == &panel) KeyRouting::setTypeAheadPanel(nullptr);
  return result;
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

void KeyboardReturn::afterAnswer(QWidget* keyboardTo, QWidget* actsOn, std::function<void()> then)
{
  const QPointer<QWidget> window = keyboardTo;
  const QPointer<QWidget> subject = actsOn;
  const bool hasSubject = actsOn != nullptr;
  // A window shown as it was answered and closed since has gone for the answer, even
  // before the program deletes it.
  const bool subjectShown = actsOn && actsOn->isVisible();
  auto hold = std::make_shared<KeyRouting::Hold>();
  // Posted to the application, not to a window or sheet that may go meanwhile; posted
  // events run before the window system's input that follows.
  QMetaObject::invokeMethod(
      qApp,
      [window, subject, hasSubject, subjectShown, then = std::move(then), hold]() mutable {
        std::shared_ptr<KeyRouting::Hold> held = std::move(hold);
        const auto gone = [&] { return hasSubject && (!subject || (subjectShown && !subject->isVisible())); };
        if (gone()) return;
        if (window) giveKeyboardTo(window.data());
        // The keys held go on to the window that has the keyboard, read once the answer
        // has acted.
        held.reset();
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

#include "platform/KeyboardReturn.h"

#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

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

// Keys the window system sent to a window that has left the screen since: those typed
// at once after the Return that answered an alert, a sheet or a question, which the
// window system routed while that one still had the keyboard (on a busy machine, every
// key typed before the program read the Return). They would reach the hidden window
// and be lost. While the keyboard goes back after an answer (an answer's wait and
// handler, a panel or question run to its answer), they are held, and once it is back
// they go on as they came, to the window that has the keyboard.
class KeyboardReturn::HeldKeys : public QObject {
public:
  static HeldKeys& instance()
  {
    static HeldKeys* keys = [] {
      auto* k = new HeldKeys;
      qApp->installEventFilter(k);
      return k;
    }();
    return *keys;
  }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (returning == 0 || !event->spontaneous() || !watched->isWidgetType()) return false;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    if (static_cast<QWidget*>(watched)->window()->isVisible()) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    // A release goes with its press: the release of the Return that answered stays.
    if (event->type() == QEvent::KeyPress)
      pressed_.insert(key->key());
    else if (!pressed_.remove(key->key()))
      return false;
    Key k{event->type(),          key->key(),           key->modifiers(),      key->text(),
          key->isAutoRepeat(),    ushort(key->count()), key->nativeScanCode(), key->nativeVirtualKey(),
          key->nativeModifiers(), key->timestamp()};
    // One that went astray again once it was handed on is dropped, not held again.
    if (std::find(released_.begin(), released_.end(), k) == released_.end()) held_.push_back(k);
    return true;
  }

  // Back in the window system's queue, in the order typed, for whichever window has
  // the keyboard when the program reads them.
  void release()
  {
    pressed_.clear();
    released_ = std::exchange(held_, {});
    for (const Key& k : released_) {
      // Shortcuts are matched as each is delivered, in its turn.
      QWindowSystemInterface::handleExtendedKeyEvent(nullptr, k.timestamp, k.type, k.key, k.modifiers, k.nativeScanCode,
                                                     k.nativeVirtualKey, k.nativeModifiers, k.text, k.autoRepeat,
                                                     k.count, false);
    }
  }

  // How many keyboard returns are under way.
  int returning = 0;

private:
  struct Key {
    QEvent::Type type;
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    bool autoRepeat;
    ushort count;
    quint32 nativeScanCode;
    quint32 nativeVirtualKey;
    quint32 nativeModifiers;
    quint64 timestamp;
    bool operator==(const Key&) const = default;
  };

  std::vector<Key> held_;
  std::vector<Key> released_;
  QSet<int> pressed_;
};

// While the keyboard goes back: keys that reach a hidden window are held, and go on
// once the last return under way has ended.
class KeyboardReturn::Returning {
public:
  Returning() { ++HeldKeys::instance().returning; }
  ~Returning()
  {
    HeldKeys& keys = HeldKeys::instance();
    if (--keys.returning == 0) keys.release();
  }
  Returning(const Returning&) = delete;
  Returning& operator=(const Returning&) = delete;
};

KeyboardReturn::KeyboardReturn(QWidget* commandWindow)
    : window_(commandWindow ? commandWindow->window() : QApplication::activeWindow()),
      alertWatch_(std::make_unique<AlertWatch>()),
      returning_(std::make_unique<Returning>())
{
}

KeyboardReturn::~KeyboardReturn()
{
  alertWatch_.reset();
  giveKeyboardTo(window_.data());
  returning_.reset();
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
  // Keys typed at once after the answer are held until it has acted.
  auto returning = std::make_shared<Returning>();
  // Posted to the application, not to a window or sheet that may go meanwhile; posted
  // events run before the window system's input that follows.
  QMetaObject::invokeMethod(
      qApp,
      [window, subject, hasSubject, then = std::move(then), returning]() mutable {
        const auto done = qScopeGuard([&returning] { returning.reset(); });
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

#include "platform/KeyboardReturn.h"

#include <private/qguiapplication_p.h>
#include <qpa/qwindowsysteminterface.h>
#include <qpa/qwindowsysteminterface_p.h>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <deque>
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

// The keys typed at once after the key or click that answered a panel, a question, an
// alert or a sheet. The window system sends every key to the window that has the
// keyboard, and the answered window keeps it until the window system has seen it go:
// on a busy machine, every key typed before the program read the answer goes to it.
// Those keys belong to the window that gets the keyboard next, and go on to it in
// order:
//   - a key that reaches the answered window after its answer, while the keyboard goes
//     back, is held, and goes into the window system's queue again, in order, once
//     the keyboard is back (the last hold under way ends), for the window that has it;
//   - a key the window system addressed to an answered window that is hidden, or gone
//     with the answer (an alert box, a question, a panel: the window system's window
//     goes as it closes), and that the program reads only after that, would be dropped
//     before anything of the program sees it (Qt's X11 support drops keys for a
//     window it no longer knows). It is addressed again to the window that has the
//     keyboard as it is read (the one the keyboard went back to, when none has). So is
//     a key sent to any other window of the program's that has gone by then: a menu
//     whose item ran a command, or a panel's completion list, which take the keyboard
//     while they show and whose window system's windows go as they hide (with no
//     window that has the keyboard, to the modal window shown, if any).
// Only the windows that can be answered are watched, from their showing (expect: the
// window system's window is noted then, since it may go with the answer), each only
// for the keys sent to it once it was answered. No new key reaches a window the window
// system has seen go, so the last few answered are all that is remembered. A key typed
// into a panel, its completion list or any other window goes where the window system
// sent it.
class KeyboardReturn::Answered : public QObject, public QAbstractNativeEventFilter {
public:
  static Answered& instance()
  {
    static Answered* answered = [] {
      auto* a = new Answered;
      qApp->installEventFilter(a);
      qApp->installNativeEventFilter(a);
      // A hand-over lasts until the program hears where the keyboard went.
      QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, a, [a] { a->handedTo_ = nullptr; });
      return a;
    }();
    return *answered;
  }

  // The window can be answered: an alert, a question, a sheet or a panel, shown now or
  // about to be; the keyboard goes back to keyboardTo once it is (nullptr: where the
  // window system puts it).
  void expect(QWidget* window, QWidget* keyboardTo)
  {
    if (!window) return;
    Watched& w = watched(window);
    w.answered = false;
    if (keyboardTo || !w.goesBackTo) w.goesBackTo = keyboardTo;
    note(w);
  }

  // The watched window is about to hide: the keyboard it has goes to the window it goes
  // back to first, straight from the window system, so that the window system never
  // gives it to another window, or to none, in between.
  void beforeHiding(QWidget* window)
  {
    const auto w =
        std::find_if(watched_.begin(), watched_.end(), [window](const Watched& e) { return e.widget == window; });
    // It has the keyboard, or was just given it by the window that hid over it (a
    // confirmation answered yes, closing its panel with it).
    const bool hasKeyboard =
        w != watched_.end() && w->handle && (QGuiApplication::focusWindow() == w->handle || handedTo_ == w->handle);
    if (!hasKeyboard || !w->goesBackTo) return;
    QWidget* to = w->goesBackTo->window();
    if (!to->isVisible() || !to->windowHandle() || !to->windowHandle()->handle()) return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    xcb_set_input_focus(x11->connection(), XCB_INPUT_FOCUS_PARENT,
                        static_cast<xcb_window_t>(to->windowHandle()->winId()), XCB_CURRENT_TIME);
    xcb_flush(x11->connection());
    handedTo_ = to->windowHandle();
  }

  // The window was answered, and the keyboard goes back to keyboardTo (nullptr: left
  // where the window system puts it).
  void answer(QWidget* window, QWidget* keyboardTo)
  {
    if (!window) return;
    if (std::find(holding_.begin(), holding_.end(), window) == holding_.end()) holding_.emplace_back(window);
    Watched& w = watched(window);
    note(w);
    w.answered = true;
    QWidget* to = keyboardTo ? keyboardTo->window() : nullptr;
    w.keyboardTo = to ? to->windowHandle() : nullptr;
  }

  bool eventFilter(QObject* object, QEvent* event) override
  {
    if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange) {
      for (Watched& w : watched_)
        if (w.widget == object) note(w);
      return false;
    }
    // A dialog ending (answered, or ended by the program) is closed before it hides.
    if (event->type() == QEvent::Close && object->isWidgetType()) {
      beforeHiding(static_cast<QWidget*>(object));
      return false;
    }
    if (holds == 0 || !event->spontaneous() || !object->isWidgetType()) return false;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    QWidget* window = static_cast<QWidget*>(object)->window();
    if (window->isVisible() || std::find(holding_.begin(), holding_.end(), window) == holding_.end()) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    // A release goes with its press: the release of the key that answered stays.
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

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
  {
    if (eventType != "xcb_generic_event_t") return false;
    const uint8_t type = static_cast<xcb_generic_event_t*>(message)->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    // A press and a release have the same layout.
    auto* key = static_cast<xcb_key_press_event_t*>(message);
    // Most keys go to the window that has the keyboard, which was not answered.
    if (isReceiving(QGuiApplication::focusWindow()) && QGuiApplication::focusWindow()->winId() == key->event)
      return false;
    const auto w = std::find_if(watched_.begin(), watched_.end(),
                                [key](const Watched& e) { return e.answered && e.id == key->event; });
    const QWindow* shown = w != watched_.end() && w->handle && w->handle->handle() && w->handle->winId() == key->event
                               ? w->handle
                               : nullptr;
    if (shown && shown->isVisible()) return false;
    // A window of the program's that the window system still has (the id of one that
    // has gone may belong to a new one).
    const QWindowList windows = QGuiApplication::allWindows();
    const bool known = !shown && std::any_of(windows.begin(), windows.end(), [key](const QWindow* other) {
      return other->handle() && other->winId() == key->event;
    });
    if (known) return false;
    // An answered window that is hidden or gone, or any other window that has gone: the
    // window system sends a client only the keys of its own windows, so it was the
    // program's (a menu, a completion list), and the key would be dropped.
    QWindow* to = QGuiApplication::focusWindow();
    if (!isReceiving(to)) to = w != watched_.end() ? w->keyboardTo.data() : QGuiApplication::modalWindow();
    if (!isReceiving(to)) return false;
    key->event = static_cast<xcb_window_t>(to->winId());
    return false;
  }

  // Back in the window system's queue, in the order typed, for whichever window has
  // the keyboard when the program reads them.
  void release()
  {
    pressed_.clear();
    holding_.clear();
    released_ = std::exchange(held_, {});
    for (const Key& k : released_) {
      // Shortcuts are matched as each is delivered, in its turn.
      QWindowSystemInterface::handleExtendedKeyEvent(nullptr, k.timestamp, k.type, k.key, k.modifiers, k.nativeScanCode,
                                                     k.nativeVirtualKey, k.nativeModifiers, k.text, k.autoRepeat,
                                                     k.count, false);
    }
  }

  // How many holds are under way.
  int holds = 0;

private:
  // How many windows that can be answered are remembered.
  static constexpr size_t kWatchedAtMost = 32;

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
  struct Watched {
    QPointer<QWidget> widget;
    WId id = 0;                // the window system's window, as last noted
    QPointer<QWindow> handle;  // Qt's window for it
    bool answered = false;
    QPointer<QWindow> keyboardTo;
    QPointer<QWidget> goesBackTo;  // as expected when shown
  };

  // The entry of the window, made (the oldest forgotten) when there is none.
  Watched& watched(QWidget* window)
  {
    const auto w =
        std::find_if(watched_.begin(), watched_.end(), [window](const Watched& e) { return e.widget == window; });
    if (w != watched_.end()) return *w;
    if (watched_.size() >= kWatchedAtMost) watched_.pop_front();
    watched_.emplace_back().widget = window;
    return watched_.back();
  }

  // Notes the window system's window while there is one.
  static void note(Watched& w)
  {
    QWindow* handle = w.widget ? w.widget->windowHandle() : nullptr;
    if (!handle || !handle->handle()) return;
    w.id = handle->winId();
    w.handle = handle;
  }

  // A shown window of the program's that takes keys: not one answered since.
  bool isReceiving(const QWindow* window) const
  {
    return window && window->handle() && window->isVisible() &&
           std::none_of(watched_.begin(), watched_.end(),
                        [window](const Watched& w) { return w.answered && w.handle == window; });
  }

  std::deque<Watched> watched_;
  // The window the keyboard was last handed to before an answered window hid.
  QPointer<QWindow> handedTo_;
  // The answered windows whose keys are held while a hold is under way.
  std::vector<QPointer<QWidget>> holding_;
  std::vector<Key> held_;
  std::vector<Key> released_;
  QSet<int> pressed_;
};

// From an answer until the keyboard is back: the keys that reach the answered window
// are held, and go on once the last hold under way has ended.
class KeyboardReturn::Hold {
public:
  Hold() { ++Answered::instance().holds; }
  ~Hold()
  {
    Answered& answered = Answered::instance();
    if (--answered.holds == 0) answered.release();
  }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;
};

// The keys typed ahead of a panel, while it is shown and not yet answered: those the
// window system addressed to a window the panel holds (the command's window, which had
// the keyboard until the panel took it) or to a window that has closed (the menu whose
// item ran the command) go to the panel instead of being dropped, in their turn among
// the keys typed into the panel.
class KeyboardReturn::TypeAhead : public QWindowSystemEventHandler {
public:
  explicit TypeAhead(QDialog& panel) : panel_(&panel)
  {
    QWindowSystemInterfacePrivate::installWindowSystemEventHandler(this);
  }
  ~TypeAhead() override { QWindowSystemInterfacePrivate::removeWindowSystemEventhandler(this); }
  TypeAhead(const TypeAhead&) = delete;
  TypeAhead& operator=(const TypeAhead&) = delete;

  bool sendEvent(QWindowSystemInterfacePrivate::WindowSystemEvent* event) override
  {
    if (event->type == QWindowSystemInterfacePrivate::Key && panel_ && panel_->isVisible()) {
      auto* key = static_cast<QWindowSystemInterfacePrivate::KeyEvent*>(event);
      QWindow* panel = panel_->windowHandle();
      QWindow* holder = nullptr;
      // Sent to a window the panel holds, or to one that has closed since (the menu
      // whose item ran the command, which had the keyboard until then).
      const auto typedAhead = [&] {
        return !key->window->isVisible() ||
               (QGuiApplicationPrivate::instance()->isWindowBlocked(key->window, &holder) && holder == panel);
      };
      if (panel && key->window && key->window != panel && typedAhead()) {
        // The panel takes the keyboard now, as the window system is about to give it:
        // a panel typed into before it has it takes its field for unused (a file panel
        // puts the name of the file its list selects over what was typed).
        if (QGuiApplication::focusWindow() != panel)
          QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
              panel, Qt::ActiveWindowFocusReason);
        key->window = panel;
      }
    }
    return QWindowSystemEventHandler::sendEvent(event);
  }

private:
  QPointer<QDialog> panel_;
};

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
    case QEvent::WindowActivate:
      withKeyboard_ = alert;
      Answered::instance().expect(alert, alert->parentWidget());
      break;
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
      Answered::instance().answer(alert, under);
      auto hold = std::make_shared<Hold>();
      QTimer::singleShot(0, under, [under, hold] { giveKeyboardTo(under); });
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
  Answered::instance().expect(&panel, window_.data());
  std::unique_ptr<TypeAhead> typeAhead;
  if (typedAhead == TypedAhead::GoesToThePanel) typeAhead = std::make_unique<TypeAhead>(panel);
  // Answered within the panel's own handling of the key or click, before the keys that
  // follow it are read: from then on, what the panel held is no longer typed ahead.
  const QMetaObject::Connection answered =
      QObject::connect(&panel, &QDialog::finished, &panel, [this, &panel, &typeAhead] {
        typeAhead.reset();
        if (!hold_) hold_ = std::make_unique<Hold>();
        Answered::instance().answer(&panel, window_.data());
      });
  const int result = panel.exec();
  QObject::disconnect(answered);
  return result;
}

void KeyboardReturn::expectAnswer(QWidget* window, QWidget* keyboardTo)
{
  Answered::instance().expect(window, keyboardTo);
}

void KeyboardReturn::beforeHiding(QWidget* answered) { Answered::instance().beforeHiding(answered); }

bool KeyboardReturn::giveKeyboardTo(QWidget* window)
{
  // What the window system has already said (the window it activated as the panel
  // closed) comes first.
  const QPointer<QWidget> shown = window;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (!shown || !shown->isVisible() || !shown->window()->windowHandle()) return false;
  return activateAndWait(shown->window()->windowHandle());
}

void KeyboardReturn::afterAnswer(QWidget* answered, QWidget* keyboardTo, QWidget* actsOn, std::function<void()> then)
{
  const QPointer<QWidget> window = keyboardTo;
  const QPointer<QWidget> subject = actsOn;
  const bool hasSubject = actsOn != nullptr;
  // A window shown as it was answered and closed since has gone for the answer, even
  // before the program deletes it.
  const bool subjectShown = actsOn && actsOn->isVisible();
  Answered::instance().answer(answered, keyboardTo);
  auto hold = std::make_shared<Hold>();
  // Posted to the application, not to a window or sheet that may go meanwhile; posted
  // events run before the window system's input that follows.
  QMetaObject::invokeMethod(
      qApp,
      [window, subject, hasSubject, subjectShown, then = std::move(then), hold]() mutable {
        std::shared_ptr<Hold> held = std::move(hold);
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

#include "platform/KeyRouting.h"

#include <private/qguiapplication_p.h>
#include <qpa/qwindowsysteminterface.h>
#include <qpa/qwindowsysteminterface_p.h>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/SheetController.h"

namespace kivo {

using KeyEvent = QWindowSystemInterfacePrivate::KeyEvent;
using MouseEvent = QWindowSystemInterfacePrivate::MouseEvent;
using WheelEvent = QWindowSystemInterfacePrivate::WheelEvent;
using UserEvent = QWindowSystemInterfacePrivate::UserEvent;
using WindowSystemEvent = QWindowSystemInterfacePrivate::WindowSystemEvent;

namespace {

xcb_connection_t* xConnection()
{
  auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

// A window the keyboard can be given to: not a menu, a list or a tooltip.
bool isKeyboardWindow(const QWindow* window)
{
  if (!window) return false;
  const Qt::WindowType type = window->type();
  return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet || type == Qt::Drawer;
}

// Shown, and not asked to be minimized: a window that can have the keyboard.
bool isUp(const QWindow* window)
{
  return window && window->isVisible() && window->handle() && !(window->windowStates() & Qt::WindowMinimized);
}

// A picker or an input panel, which borrows the keyboard of the window it was shown
// over (KeyRouting::lendKeyboard): it never takes the window system's focus.
bool isBorrower(const QWindow* window)
{
  return window && (window->flags() & Qt::WindowDoesNotAcceptFocus) && isKeyboardWindow(window);
}

// The modal window that holds the window, nullptr when none does.
QWindow* blockerOf(QWindow* window)
{
  QWindow* blocker = nullptr;
  if (!window || !QGuiApplicationPrivate::instance()->isWindowBlocked(window, &blocker)) return nullptr;
  return blocker;
}

// The window system's times are milliseconds that wrap: whether `a` is at or before `b`.
bool isAtOrBefore(ulong a, ulong b) { return static_cast<int32_t>(static_cast<uint32_t>(a - b)) <= 0; }

xcb_window_t idOf(const QWindow* window) { return static_cast<xcb_window_t>(window->winId()); }

// The window of the program's that the X server knows by the id, nullptr when none.
QWindow* windowOfId(xcb_window_t id)
{
  const QWindowList windows = QGuiApplication::allWindows();
  const auto w =
      std::find_if(windows.begin(), windows.end(), [id](const QWindow* w) { return w->handle() && idOf(w) == id; });
  return w == windows.end() ? nullptr : *w;
}

// The picker or input panel shown now, nullptr when none.
QWindow* shownBorrower()
{
  for (QWindow* w : QGuiApplication::topLevelWindows())
    if (isBorrower(w) && w->isVisible()) return w;
  return nullptr;
}

// Whether `window` was shown over `under`, or over a window shown over it.
bool isShownOver(const QWindow* window, const QWindow* under)
{
  for (int depth = 0; window && depth < 16; ++depth, window = window->transientParent())
    if (window->transientParent() == under) return true;
  return false;
}

// The events of the X input extension through which Qt reads the pointer (its device,
// enter and leave events share their first fields): the kind, the time and the window
// the event is reported to, read off the wire layout.
struct PointerEvent {
  enum Kind : uint16_t { KeyPress = 2, ButtonPress = 4, ButtonRelease = 5, Leave = 8 };
  uint16_t kind = 0;
  xcb_timestamp_t time = XCB_CURRENT_TIME;
  xcb_window_t window = XCB_NONE;

  static PointerEvent of(const void* message)
  {
    const auto* bytes = static_cast<const uint8_t*>(message);
    PointerEvent e;
    std::memcpy(&e.kind, bytes + 8, sizeof e.kind);
    std::memcpy(&e.time, bytes + 12, sizeof e.time);
    std::memcpy(&e.window, bytes + 24, sizeof e.window);
    return e;
  }
  bool hasTime() const { return kind >= KeyPress && kind <= Leave; }
  bool isButton() const { return kind == ButtonPress || kind == ButtonRelease; }
};

}  // namespace

class KeyRouting::Router : public QObject, public QWindowSystemEventHandler, public QAbstractNativeEventFilter {
public:
  static Router& instance()
  {
    static Router* router = new Router;
    return *router;
  }

  int holds = 0;
  int everyKeyHolds = 0;  // of those, the holds that hold every key
  QPointer<QDialog> panel;
  bool panelRunning = false;
  bool panelTyped = false;  // a key has gone to the panel

  // --- the window system's events, one by one as the program reads them

  bool sendEvent(WindowSystemEvent* event) override
  {
    switch (event->type) {
    case QWindowSystemInterfacePrivate::Key: return takeKey(static_cast<KeyEvent*>(event));
    case QWindowSystemInterfacePrivate::Mouse:
    case QWindowSystemInterfacePrivate::Wheel:
      // A press, a move or the wheel keeps its place behind the keys typed before it.
      if (!waiting_.empty()) {
        Waiting w;
        if (event->type == QWindowSystemInterfacePrivate::Mouse)
          w.event = std::make_unique<MouseEvent>(*static_cast<MouseEvent*>(event));
        else
          w.event = std::make_unique<WheelEvent>(*static_cast<WheelEvent*>(event));
        queue(std::move(w));
        return true;
      }
      return QWindowSystemEventHandler::sendEvent(event);
    default: {
      const bool sent = QWindowSystemEventHandler::sendEvent(event);
      // A window that got the keyboard meanwhile takes the keys waiting.
      if (!waiting_.empty()) flush();
      return sent;
    }
    }
  }

  // A key addressed to a window of the program's that the window system no longer has (a
  // menu, a completion list, an answered box): Qt's X11 support drops it before anything
  // of the program sees it. It is addressed to a window that is never shown instead, so
  // that Qt keeps it: Qt's X11 support gives it to the window it last heard had the
  // keyboard, or, when none, to that never-shown window, which the rule takes for a
  // closed one. The times of the events are kept too (see lastTime_), and the answers
  // to the marks of questions shown (markShown).
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
  {
    if (eventType != "xcb_generic_event_t" || !sink_) return false;
    auto* generic = static_cast<xcb_generic_event_t*>(message);
    switch (generic->response_type & 0x7f) {
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
      // A press and a release have the same layout.
      auto* key = static_cast<xcb_key_press_event_t*>(message);
      noteTime(key->time);
      if (!windowOfId(key->event)) key->event = idOf(sink_);
      break;
    }
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE: {
      auto* button = static_cast<xcb_button_press_event_t*>(message);
      noteTime(button->time);
      return isIgnoredClick(button->event, button->time, (generic->response_type & 0x7f) == XCB_BUTTON_PRESS);
    }
    case XCB_MOTION_NOTIFY: noteTime(static_cast<xcb_motion_notify_event_t*>(message)->time); break;
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY: noteTime(static_cast<xcb_enter_notify_event_t*>(message)->time); break;
    case XCB_PROPERTY_NOTIFY: {
      auto* property = static_cast<xcb_property_notify_event_t*>(message);
      noteTime(property->time);
      if (property->window == idOf(sink_) && property->atom == markAtom_) markAnswered(property->time);
      break;
    }
    case XCB_CLIENT_MESSAGE: {
      // The window manager offering the focus to a window that takes none itself (a
      // picker or panel clicked, its title bar or its inside).
      auto* client = static_cast<xcb_client_message_event_t*>(message);
      if (client->format != 32 || client->type != protocolsAtom_ || client->data.data32[0] != takeFocusAtom_) break;
      noteTime(client->data.data32[1]);
      if (QWindow* window = windowOfId(client->window); isBorrower(window) && window->isVisible())
        giveBackKeyboard(window, client->data.data32[1]);
      break;
    }
    case XCB_GE_GENERIC: {
      if (inputExtension_ == 0 || reinterpret_cast<xcb_ge_generic_event_t*>(generic)->extension != inputExtension_)
        break;
      const PointerEvent pointer = PointerEvent::of(message);
      if (!pointer.hasTime()) break;
      noteTime(pointer.time);
      if (pointer.isButton())
        return isIgnoredClick(pointer.window, pointer.time, pointer.kind == PointerEvent::ButtonPress);
      break;
    }
    default: break;
    }
    return false;
  }

  // A click while a picker or panel is up. On the picker or panel, it gives back the
  // keyboard it borrows, wherever the window system's focus went meanwhile (a click on
  // the desktop, another application). On another window of the program's than the one
  // it serves it is ignored, and changes nothing: dropped before Qt activates the window
  // for it (which, without a window manager, would make that window the one to get the
  // keyboard later). A click on the window served brings the keyboard back as that
  // window is activated. Answers whether the button's event is dropped.
  bool isIgnoredClick(xcb_window_t id, xcb_timestamp_t time, bool press)
  {
    QWindow* borrower = shownBorrower();
    QWindow* window = borrower ? windowOfId(id) : nullptr;
    if (!window) return false;
    if (window == borrower) {
      if (press) giveBackKeyboard(borrower, time);
      return false;
    }
    return isKeyboardWindow(window) && window != borrower->transientParent() && !isShownOver(window, borrower);
  }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    switch (event->type()) {
    case QEvent::Show:
      // Every window shown is watched for hiding and minimizing.
      if (watched->isWindowType()) watchWindow(static_cast<QWindow*>(watched));
      break;
    case QEvent::Paint:
      // A question's first frame: it has shown on the screen once that frame is there.
      // Only the questions not drawn yet are looked for, most often none.
      if (!undrawn_.empty() && watched->isWidgetType()) {
        undrawn_.erase(std::remove(undrawn_.begin(), undrawn_.end(), nullptr), undrawn_.end());
        const auto q = std::find(undrawn_.begin(), undrawn_.end(), static_cast<QWidget*>(watched));
        if (q != undrawn_.end()) {
          const QPointer<QWidget> shown = *q;
          undrawn_.erase(q);
          QMetaObject::invokeMethod(
              this, [this, shown] { markShown(shown); }, Qt::QueuedConnection);
        }
      }
      break;
    default: break;
    }
    return false;
  }

  // The keys waiting go on, in order, while a window that is up has the keyboard. Each
  // is taken from the queue before it is delivered: a key that opens a window with a
  // loop of its own (an alert) leaves the rest to that loop, which reads them here
  // first.
  void flush()
  {
    while (!waiting_.empty() && holds == 0) {
      const Verdict v = verdictOf(waiting_.front(), waiting_.front().event.get());
      if (v.fate == Fate::WaitForKeyboard || v.fate == Fate::WaitForQuestion || v.fate == Fate::WaitForChoice ||
          v.fate == Fate::WaitForKeyboardOffQuestion) {
        armWaitLimit();
        return;
      }
      if (v.fate == Fate::WaitForPanel) return;
      Waiting w = take();
      if (v.fate == Fate::Drop)
        noteDropped(w.event.get());
      else
        deliver(std::move(w.event), v);
    }
    if (waiting_.empty()) waitLimit_.stop();
  }

  // The window that is up and had the keyboard last, other than `but`; the window it
  // serves for a window that borrows a keyboard.
  QWindow* mostRecent(const QWindow* but = nullptr) const
  {
    for (const QPointer<QWindow>& w : recent_) {
      QWindow* window = isBorrower(w) && w->transientParent() ? w->transientParent() : w.data();
      if (window && window != but && isUp(window) && isKeyboardWindow(window)) return window;
    }
    for (QWindow* w : QGuiApplication::topLevelWindows())
      if (w != sink_ && w != but && isUp(w) && w->type() == Qt::Window) return w;
    return nullptr;
  }

  // --- the program giving the keyboard

  void choose(QWindow* window)
  {
    chosen_ = QGuiApplication::focusWindow() == window ? nullptr : window;
    requestKeyboard(window);
  }

  // --- borrowed keyboards

  void lend(QWindow* borrower, QWindow* lender)
  {
    // Only while the window served has the window system's focus does the borrower have
    // the keyboard; the focus goes there if it is elsewhere.
    if (!lender || !xConnection() || QGuiApplication::focusWindow() == lender ||
        QGuiApplication::focusWindow() == borrower) {
      // Once the event that opened it is over, as the window system would activate it.
      const QPointer<QWindow> b = borrower;
      QMetaObject::invokeMethod(
          this,
          [b] {
            if (b && b->isVisible()) activate(b);
          },
          Qt::QueuedConnection);
    } else if (isUp(lender)) {
      requestKeyboard(lender);
    }
  }

  // The user clicked the borrower (or the window manager offered it the focus for
  // such a click) at the time: the window it serves gets the window system's focus back
  // if it has gone, and the borrower its keys as that window is activated (lend again).
  void giveBackKeyboard(QWindow* borrower, xcb_timestamp_t time)
  {
    QWindow* lender = borrower->transientParent();
    xcb_connection_t* c = xConnection();
    if (!isUp(lender) || focusNow(c) == idOf(lender)) return;
    giveFocus(lender, time);
  }

  // --- questions

  void watchQuestion(QWidget* question)
  {
    // Shown again: it has not shown this time yet.
    if (Question* known = questionOfWidget(question)) {
      known->shown = false;
      known->shownAt = 0;
    } else {
      if (questions_.size() >= kRememberedAtMost) questions_.pop_front();
      questions_.push_back(Question{question});
    }
    if (std::find(undrawn_.begin(), undrawn_.end(), question) != undrawn_.end()) return;
    if (undrawn_.size() >= kRememberedAtMost) undrawn_.erase(undrawn_.begin());
    undrawn_.push_back(question);
  }

private:
  enum class Fate {
    Deliver,
    Drop,
    WaitForKeyboard,
    WaitForPanel,
    WaitForQuestion,
    WaitForChoice,
    WaitForKeyboardOffQuestion  // a key for a closed window while a question has the keyboard
  };
  struct Verdict {
    Fate fate;
    QWindow* to = nullptr;
    bool activates = false;  // `to` is a panel taking keys typed ahead: made the active window first
    bool free = true;        // goes whatever holds there are but one that holds every key
  };

  struct Waiting {
    std::unique_ptr<WindowSystemEvent> event;  // a key, a mouse or a wheel event
    bool astray = false;                       // addressed to a window hidden or gone when read
    QPointer<QWindow> chosen;                  // the window the program was giving the keyboard to
    qint64 readAt = 0;
    ulong typedAt = 0;  // on the clock questions are marked on (see keyClock_)
  };

  struct Question {
    QPointer<QWidget> widget;
    bool shown = false;  // known to be on the screen since `shownAt`
    ulong shownAt = 0;
  };

  Router()
  {
    const QString platform = QGuiApplication::platformName();
    keyClock_ = xConnection() ? KeyClock::WindowSystem
                : platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ? KeyClock::Program
                                                                                                 : KeyClock::Read;
    if (xConnection()) {
      sink_ = new QWindow;
      sink_->setObjectName(QStringLiteral("kivo-closed-window"));
      sink_->create();
      markAtom_ = atomNamed("_KIVO_SHOWN");
      protocolsAtom_ = atomNamed("WM_PROTOCOLS");
      takeFocusAtom_ = atomNamed("WM_TAKE_FOCUS");
      inputExtension_ = majorOpcodeOf("XInputExtension");
    }
    clock_.start();
    QWindowSystemInterfacePrivate::installWindowSystemEventHandler(this);
    qApp->installNativeEventFilter(this);
    qApp->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) { focusWindowChanged(now); });
    waitLimit_.setSingleShot(true);
    connect(&waitLimit_, &QTimer::timeout, this, [this] { waitedLongEnough(); });
  }

  static xcb_atom_t atomNamed(const char* name, bool onlyIfExists = false)
  {
    xcb_connection_t* c = xConnection();
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, onlyIfExists, static_cast<uint16_t>(strlen(name)), name), nullptr),
        &free);
    return atom ? atom->atom : XCB_NONE;
  }

  // The events of the X server's extension of that name carry this code; 0 when it has
  // none.
  static uint8_t majorOpcodeOf(const char* extension)
  {
    xcb_connection_t* c = xConnection();
    std::unique_ptr<xcb_query_extension_reply_t, decltype(&free)> reply(
        xcb_query_extension_reply(c, xcb_query_extension(c, static_cast<uint16_t>(strlen(extension)), extension),
                                  nullptr),
        &free);
    return reply && reply->present ? reply->major_opcode : 0;
  }

  // Whether a window manager runs on the display: the window it names on the root
  // window names itself too.
  static bool hasWindowManager()
  {
    xcb_connection_t* c = xConnection();
    if (!c) return false;
    const xcb_atom_t check = atomNamed("_NET_SUPPORTING_WM_CHECK", true);
    if (check == XCB_NONE) return false;
    const auto named = [c, check](xcb_window_t on) -> xcb_window_t {
      std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
          xcb_get_property_reply(c, xcb_get_property(c, 0, on, check, XCB_ATOM_WINDOW, 0, 1), nullptr), &free);
      if (!reply || xcb_get_property_value_length(reply.get()) < 4) return XCB_NONE;
      return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    };
    const xcb_window_t window = named(xcb_setup_roots_iterator(xcb_get_setup(c)).data->root);
    return window != XCB_NONE && named(window) == window;
  }

  // The window system's focus to the window, at the time of the event that asks for it
  // (0: the last event read, as Qt's own requests for the focus are made, so that none
  // is refused as older than another). Without a window manager the window comes to the
  // front as well, as one brings the window it gives the focus: the user sees where the
  // keys go.
  void giveFocus(QWindow* window, xcb_timestamp_t time)
  {
    xcb_connection_t* c = xConnection();
    if (!time) time = lastTime_ ? lastTime_ : XCB_CURRENT_TIME;
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, idOf(window), time);
    if (!hasWindowManager()) raiseWithWindowsOver(window);
    xcb_flush(c);
  }

  // The program asks for the keyboard for the window, as Qt asks for it; without a window
  // manager the window comes to the front as well (see giveFocus).
  static void requestKeyboard(QWindow* window)
  {
    window->requestActivate();
    if (xConnection() && !hasWindowManager()) raiseWithWindowsOver(window);
  }

  // The window to the front, with its sheet and the alert on that sheet above it (a
  // picker it serves comes up again as the window is activated).
  static void raiseWithWindowsOver(QWindow* window)
  {
    const QWidgetList widgets = QApplication::topLevelWidgets();
    const auto w = std::find_if(widgets.begin(), widgets.end(),
                                [window](const QWidget* w) { return w->windowHandle() == window; });
    if (w != widgets.end())
      SheetController::bringToFrontWithModals(*w);
    else
      window->raise();
  }

  void focusWindowChanged(QWindow* now)
  {
    if (now && now == chosen_) chosen_ = nullptr;
    if (isKeyboardWindow(now)) {
      recent_.erase(std::remove(recent_.begin(), recent_.end(), now), recent_.end());
      recent_.insert(recent_.begin(), now);
    }
    recent_.erase(std::remove(recent_.begin(), recent_.end(), nullptr), recent_.end());
    if (recent_.size() > kRecentAtMost) recent_.resize(kRecentAtMost);
    // Read once the window system's event that brought it is over.
    if (!waiting_.empty())
      QMetaObject::invokeMethod(
          this, [this] { flush(); }, Qt::QueuedConnection);
  }

  // Within the program only: the window system's focus stays where it is.
  static void activate(QWindow* window)
  {
    if (!window || QGuiApplication::focusWindow() == window || !window->isVisible()) return;
    QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
        window, Qt::ActiveWindowFocusReason);
  }

  // --- hiding and minimizing

  void watchWindow(QWindow* window)
  {
    if (window == sink_) return;
    connect(window, &QWindow::visibleChanged, this, &Router::visibilityChanged, Qt::UniqueConnection);
    connect(window, &QWindow::windowStateChanged, this, &Router::windowStateChanged, Qt::UniqueConnection);
  }

  // Emitted before the window system is told: the window is still on the screen.
  void visibilityChanged(bool visible)
  {
    if (!visible)
      if (auto* window = qobject_cast<QWindow*>(sender())) handOver(window);
  }

  // Emitted once the window system has been told, too late to hand the keyboard on:
  // the program's しまう has done it before (KeyRouting::minimize), and a window manager
  // that minimizes a window itself moves its focus itself.
  void windowStateChanged(Qt::WindowState state)
  {
    auto* window = qobject_cast<QWindow*>(sender());
    if (state != Qt::WindowMinimized || !window) return;
    // No key goes into a window the user cannot see: a picker or panel minimized, or the
    // window it serves, is cancelled (closed as the window manager's close button closes
    // it), by the window manager or the program alike.
    std::vector<QPointer<QWindow>> cancelled;
    for (QWindow* w : QGuiApplication::topLevelWindows())
      if (isBorrower(w) && w->isVisible() && (w == window || w->transientParent() == window)) cancelled.emplace_back(w);
    for (const QPointer<QWindow>& w : cancelled)
      if (w) w->close();
    // Where no window manager minimizes windows, the window goes from the screen as one
    // would take it away; made normal again (the ウインドウ menu), it comes back.
    xcb_connection_t* c = xConnection();
    if (c && window->handle() && window->isVisible() && !hasWindowManager()) {
      xcb_unmap_window(c, idOf(window));
      xcb_flush(c);
    }
  }

public:
  // The window is going from the screen: the keyboard it has goes to the window that
  // gets it next, before the window system sees it go.
  void handOver(QWindow* going)
  {
    if (isBorrower(going)) {
      // A borrower gives the keyboard back to the window it served, which has kept the
      // window system's focus all along.
      const QPointer<QWindow> lender = windowAfter(going);
      // Once the event that closed it is over (its caller takes what was chosen first),
      // and only if nothing has been given the keyboard meanwhile.
      const QPointer<QWindow> borrower = going;
      QMetaObject::invokeMethod(
          this,
          [lender, borrower] {
            QWindow* focus = QGuiApplication::focusWindow();
            if (isUp(lender) && (!focus || focus == borrower || !focus->isVisible())) activate(lender);
          },
          Qt::QueuedConnection);
      return;
    }
    xcb_connection_t* c = xConnection();
    if (!c || going == sink_ || !going->handle() || !isKeyboardWindow(going)) return;
    // Only the window the window system has given its focus, as it has it now.
    if (focusNow(c) != idOf(going)) return;
    if (QWindow* next = windowAfter(going)) giveFocus(next, 0);
  }

private:
  // The window that gets the keyboard as `going` hides: the window it was shown over, if
  // that is up (the window a picker serves, an alert's or a sheet's window, a panel's
  // command window, the panel under its alert), else the window that had the keyboard
  // before it (the window before a closed one).
  QWindow* windowAfter(QWindow* going) const
  {
    QWindow* over = going->transientParent();
    return over && isUp(over) && isKeyboardWindow(over) ? over : mostRecent(going);
  }

  static xcb_window_t focusNow(xcb_connection_t* c)
  {
    std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&free)> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &free);
    return focus ? focus->focus : XCB_NONE;
  }

  // --- keys

  bool takeKey(KeyEvent* key)
  {
    Waiting w;
    w.astray = isAstray(key);
    w.typedAt = keyClock_ == KeyClock::Read ? static_cast<ulong>(QWindowSystemInterfacePrivate::eventTime.elapsed())
                                            : key->timestamp;
    if (chosen_ && QGuiApplication::focusWindow() != chosen_) w.chosen = chosen_;
    if (waiting_.empty()) {
      const Verdict v = verdictOf(w, key);
      if (v.fate == Fate::Drop) {
        noteDropped(key);
        return true;
      }
      // A hold keeps the keys for closed windows, and every key while it holds them all.
      if (v.fate == Fate::Deliver && (holds == 0 || (everyKeyHolds == 0 && v.free))) {
        if (v.activates && !activateFor(v.to)) return true;
        route(key, v.to);
        return QWindowSystemEventHandler::sendEvent(key);
      }
    }
    w.event = std::make_unique<KeyEvent>(*key);
    queue(std::move(w));
    return true;
  }

  void queue(Waiting w)
  {
    w.readAt = clock_.elapsed();
    waiting_.push_back(std::move(w));
    flush();
  }

  // What becomes of a key or a press waiting or read now. orElse: the window the keys
  // go to when none has the keyboard (their wait is over).
  Verdict verdictOf(const Waiting& w, const WindowSystemEvent* event, QWindow* orElse = nullptr) const
  {
    const auto* user = static_cast<const UserEvent*>(event);
    QWindow* addressed = user->window.data();
    if (event->type != QWindowSystemInterfacePrivate::Key)
      return addressed && addressed->isVisible() ? Verdict{Fate::Deliver, addressed} : Verdict{Fate::Drop};
    const auto* key = static_cast<const KeyEvent*>(event);
    // A release goes with its press; one whose press was not seen here went, as
    // addressed, into the window that has closed since.
    if (key->keyType == QEvent::KeyRelease) {
      const auto press = pressedInto_.find(key->key);
      if (press != pressedInto_.end())
        return isUp(press->second) ? Verdict{Fate::Deliver, press->second.data()} : Verdict{Fate::Drop};
      if (w.astray) return {Fate::Drop};
    }
    // Read once the program had given the keyboard to a window: the key is that
    // window's, once it has the keyboard, wherever the window system addressed it.
    bool astray = w.astray;
    if (w.chosen && isUp(w.chosen)) {
      if (QGuiApplication::focusWindow() == w.chosen) {
        addressed = w.chosen;
        astray = false;
      } else if (chosen_ == w.chosen) {
        return {Fate::WaitForChoice};
      }
    }
    // A question shown decides about the keys addressed to it or to a window it holds.
    if (const Question* q = questionFor(key, astray ? nullptr : addressed)) {
      if (const std::optional<Fate> fate = fateBeforeShowing(w, *q)) return {*fate};
      return {Fate::Deliver, q->widget->windowHandle(), false, false};
    }
    // A panel running takes the keys typed ahead of it, once its loop runs.
    if (QWindow* p = typeAheadPanelFor(key, addressed, astray))
      return panelRunning ? Verdict{Fate::Deliver, p, true, false} : Verdict{Fate::WaitForPanel};
    QWindow* to = nullptr;
    bool free = false;
    if (!astray && isUp(addressed)) {
      to = addressed;
      free = true;
    } else {
      to = receiving();
      if (!to) to = orElse;
    }
    if (!to) return {Fate::WaitForKeyboard};
    // A key for a window that has gone never answers a question or alert of another
    // window: it waits for the keyboard to go on to a window no question holds, and is
    // dropped if it stays.
    if (astray) {
      if (const Question* q = questionFor(key, to)) {
        if (const std::optional<Fate> fate = fateBeforeShowing(w, *q)) return {*fate};
        return {orElse ? Fate::Drop : Fate::WaitForKeyboardOffQuestion};
      }
    }
    if (panel && to == panel->windowHandle() && !panelRunning) return {Fate::WaitForPanel};
    return {Fate::Deliver, to, false, free};
  }

  // What becomes of a key for the question before it is known to have shown, and of one
  // typed before it showed (nothing: the key was typed after).
  static std::optional<Fate> fateBeforeShowing(const Waiting& w, const Question& q)
  {
    if (!q.shown) return Fate::WaitForQuestion;
    if (w.typedAt != 0 && isAtOrBefore(w.typedAt, q.shownAt)) return Fate::Drop;
    return std::nullopt;
  }

  // The window that has the keyboard, up; nullptr while none has.
  static QWindow* receiving()
  {
    QWindow* focus = QGuiApplication::focusWindow();
    return isUp(focus) ? focus : nullptr;
  }

  bool isAstray(const KeyEvent* key) const
  {
    const QWindow* window = key->window.data();
    if (!window) return !key->nullWindow();  // addressed to a window deleted since
    return window == sink_ || !isUp(window);
  }

  // The panel taking keys typed ahead that this key is for, if any.
  QWindow* typeAheadPanelFor(const KeyEvent* key, QWindow* window, bool astray) const
  {
    if (!panel || !panel->isVisible() || !panel->windowHandle()) return nullptr;
    QWindow* p = panel->windowHandle();
    if (window == p || (!window && key->nullWindow())) return nullptr;
    return astray || (window && blockerOf(window) == p) ? p : nullptr;
  }

  // The question shown that holds the window (or is that window), for a key press;
  // nullptr when none does.
  const Question* questionFor(const KeyEvent* key, QWindow* window) const
  {
    if (key->keyType != QEvent::KeyPress || !window) return nullptr;
    QWindow* blocker = blockerOf(window);
    for (auto q = questions_.rbegin(); q != questions_.rend(); ++q) {
      if (!q->widget || !q->widget->isVisible() || !q->widget->windowHandle()) continue;
      QWindow* handle = q->widget->windowHandle();
      if (window == handle || blocker == handle) return &*q;
    }
    return nullptr;
  }

  Question* questionOfWidget(const QWidget* widget)
  {
    const auto q =
        std::find_if(questions_.begin(), questions_.end(), [widget](const Question& e) { return e.widget == widget; });
    return q == questions_.end() ? nullptr : &*q;
  }
  const Question* questionOfWidget(const QWidget* widget) const
  {
    return const_cast<Router*>(this)->questionOfWidget(widget);
  }

  // The question's first frame is drawn: the time it showed is asked of the window
  // system, which answers in the order of the keys typed (markAnswered). Without one,
  // the time is the program's own clock, which stamps the keys it is given.
  void markShown(const QPointer<QWidget>& shown)
  {
    Question* q = shown ? questionOfWidget(shown) : nullptr;
    if (!q) return;
    xcb_connection_t* c = xConnection();
    if (c && sink_ && markAtom_ != XCB_NONE) {
      marksAsked_.push_back(shown);
      xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(sink_->winId()), markAtom_,
                          XCB_ATOM_INTEGER, 32, 0, nullptr);
      xcb_flush(c);
      return;
    }
    q->shown = true;
    q->shownAt = static_cast<ulong>(QWindowSystemInterfacePrivate::eventTime.elapsed());
    flushSoon();
  }

  void markAnswered(xcb_timestamp_t time)
  {
    if (marksAsked_.empty()) return;
    const QPointer<QWidget> shown = marksAsked_.front();
    marksAsked_.pop_front();
    if (Question* q = shown ? questionOfWidget(shown) : nullptr) {
      q->shown = true;
      q->shownAt = time;
    }
    flushSoon();
  }

  void flushSoon()
  {
    if (!waiting_.empty())
      QMetaObject::invokeMethod(
          this, [this] { flush(); }, Qt::QueuedConnection);
  }

  // A press that is dropped takes its release with it.
  void noteDropped(const WindowSystemEvent* event)
  {
    if (event->type != QWindowSystemInterfacePrivate::Key) return;
    const auto* key = static_cast<const KeyEvent*>(event);
    if (key->keyType == QEvent::KeyPress)
      pressedInto_[key->key] = nullptr;
    else
      pressedInto_.erase(key->key);
  }

  // The key goes to `to`; where a press goes, its release follows.
  void route(KeyEvent* key, QWindow* to)
  {
    if (panel && to == panel->windowHandle()) panelTyped = true;
    if (key->keyType == QEvent::KeyPress)
      pressedInto_[key->key] = to;
    else
      pressedInto_.erase(key->key);
    if (key->window != to) {
      key->window = to;
      key->flags &= ~WindowSystemEvent::NullWindow;
    }
  }

  // A panel typed into before it has the keyboard takes its field for unused: it is
  // made the active window first. The first key typed ahead finds the panel as it opens
  // with the keyboard, its field's suggestion selected (a platform that activates a
  // window as it shows leaves it unselected), so that the name typed replaces it.
  // Answers whether the panel is still there to take the key (the activation runs the
  // program's code, which may close it).
  bool activateFor(QWindow* to)
  {
    const QPointer<QWindow> target = to;
    activate(to);
    if (!target || !target->isVisible()) return false;
    if (panel && target == panel->windowHandle() && !panelTyped) {
      auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      if (field && field->window() == panel && !field->hasSelectedText()) field->selectAll();
    }
    return true;
  }

  Waiting take()
  {
    Waiting w = std::move(waiting_.front());
    waiting_.pop_front();
    return w;
  }

  void deliver(std::unique_ptr<WindowSystemEvent> event, const Verdict& v)
  {
    if (event->type == QWindowSystemInterfacePrivate::Key) {
      if (v.activates && !activateFor(v.to)) return;
      route(static_cast<KeyEvent*>(event.get()), v.to);
    }
    QGuiApplicationPrivate::processWindowSystemEvent(event.get());
  }

  // The first key waiting waits for the keyboard until kWaitForKeyboard after it was read.
  void armWaitLimit()
  {
    const qint64 waited = clock_.elapsed() - waiting_.front().readAt;
    waitLimit_.start(static_cast<int>(std::max<qint64>(0, KeyRouting::kWaitForKeyboard - waited)));
  }

  // No window that is up has had the keyboard for a while: the keys go to the window the
  // program makes main, which gets the keyboard too.
  void waitedLongEnough()
  {
    if (holds > 0 || waiting_.empty()) return;
    // A question not known to have shown by now takes nothing typed so far, and a key
    // for a closed window that a question would have taken goes nowhere.
    while (!waiting_.empty()) {
      const Fate fate = verdictOf(waiting_.front(), waiting_.front().event.get()).fate;
      if (fate != Fate::WaitForQuestion && fate != Fate::WaitForKeyboardOffQuestion) break;
      noteDropped(take().event.get());
    }
    // A window the program gave the keyboard to that has not got it by now does not
    // hold the keys any longer.
    if (!waiting_.empty() && verdictOf(waiting_.front(), waiting_.front().event.get()).fate == Fate::WaitForChoice) {
      chosen_ = nullptr;
      return flush();
    }
    if (waiting_.empty() || verdictOf(waiting_.front(), waiting_.front().event.get()).fate != Fate::WaitForKeyboard)
      return flush();
    QWindow* main = mostRecent();
    if (!main) {
      while (!waiting_.empty()) noteDropped(take().event.get());
      return;
    }
    requestKeyboard(main);
    const QPointer<QWindow> guarded = main;
    while (!waiting_.empty() && holds == 0) {
      if (receiving() || !isUp(guarded)) return flush();
      const Verdict v = verdictOf(waiting_.front(), waiting_.front().event.get(), guarded.data());
      if (v.fate != Fate::Deliver && v.fate != Fate::Drop) return flush();
      Waiting w = take();
      if (v.fate == Fate::Drop)
        noteDropped(w.event.get());
      else
        deliver(std::move(w.event), v);
    }
  }

  void noteTime(xcb_timestamp_t time)
  {
    if (time != XCB_CURRENT_TIME && (lastTime_ == 0 || isAtOrBefore(lastTime_, time))) lastTime_ = time;
  }

  static constexpr size_t kRecentAtMost = 32;
  static constexpr size_t kRememberedAtMost = 32;

  std::deque<Waiting> waiting_;
  std::unordered_map<int, QPointer<QWindow>> pressedInto_;  // the window each key's press went to
  QWindow* sink_ = nullptr;
  xcb_atom_t markAtom_ = XCB_NONE;  // marks the time a question showed
  xcb_atom_t protocolsAtom_ = XCB_NONE;
  xcb_atom_t takeFocusAtom_ = XCB_NONE;  // the window manager's offer of the focus
  uint8_t inputExtension_ = 0;           // the code of the X input extension's events
  std::deque<QPointer<QWidget>> marksAsked_;
  xcb_timestamp_t lastTime_ = 0;  // of the last event read that carries one
  QElapsedTimer clock_;
  QTimer waitLimit_;
  std::vector<QPointer<QWindow>> recent_;
  QPointer<QWindow> chosen_;  // given the keyboard by the program, until it has it
  // The clock the keys' times and the questions' first frames are compared on: the X
  // server's; Qt's own event clock, with which Qt's own platforms stamp the keys; else
  // the time the program reads a key, a platform's own key times being on a clock of
  // its own.
  enum class KeyClock { WindowSystem, Program, Read } keyClock_ = KeyClock::Program;
  std::deque<Question> questions_;
  std::vector<QPointer<QWidget>> undrawn_;  // questions whose first frame is still to come
};

void KeyRouting::install() { Router::instance(); }

KeyRouting::Hold::Hold(Keys keys) : everyKey_(keys == Keys::Every)
{
  Router& router = Router::instance();
  ++router.holds;
  if (everyKey_) ++router.everyKeyHolds;
}

KeyRouting::Hold::~Hold()
{
  // The keys go on once what the hold was for has acted (an answer runs right after).
  Router& router = Router::instance();
  if (everyKey_) --router.everyKeyHolds;
  if (--router.holds == 0)
    QMetaObject::invokeMethod(
        &router, [&router] { router.flush(); }, Qt::QueuedConnection);
}

void KeyRouting::lendKeyboard(QWidget* borrower, QWidget* served)
{
  QWindow* b = borrower ? borrower->windowHandle() : nullptr;
  if (!b) return;
  Router& router = Router::instance();
  QWindow* lender = served && served->window()->windowHandle() != b ? served->window()->windowHandle() : nullptr;
  if (!lender) {
    // Serving no window of its own: the window that has the keyboard now.
    QWindow* focus = QGuiApplication::focusWindow();
    lender = focus && focus != b ? focus : router.mostRecent(b);
  }
  router.lend(b, lender);
}

void KeyRouting::minimize(QWidget* window)
{
  if (!window) return;
  if (QWindow* handle = window->window()->windowHandle(); handle && handle->isVisible())
    Router::instance().handOver(handle);
  window->showMinimized();
}

void KeyRouting::activate(QWidget* window)
{
  QWindow* handle = window ? window->window()->windowHandle() : nullptr;
  if (!handle || !handle->isVisible()) {
    if (window) window->activateWindow();
    return;
  }
  Router::instance().choose(handle);
}

void KeyRouting::watchQuestion(QWidget* question)
{
  if (question) Router::instance().watchQuestion(question);
}

void KeyRouting::setTypeAheadPanel(QDialog* panel)
{
  Router& router = Router::instance();
  router.panel = panel;
  router.panelRunning = false;
  router.panelTyped = false;
  if (!panel) router.flush();
}

void KeyRouting::setTypeAheadPanelRunning()
{
  Router& router = Router::instance();
  router.panelRunning = true;
  router.flush();
}

QDialog* KeyRouting::typeAheadPanel() { return Router::instance().panel; }

}  // namespace kivo

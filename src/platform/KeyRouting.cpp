#include "platform/KeyRouting.h"

#include <private/qguiapplication_p.h>
#include <qpa/qwindowsysteminterface.h>
#include <qpa/qwindowsysteminterface_p.h>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

namespace kivo {

using KeyEvent = QWindowSystemInterfacePrivate::KeyEvent;
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
  bool panelTakesKeys = false;
  bool panelRunning = false;

  // The window system's events, one by one as the program reads them.
  bool sendEvent(WindowSystemEvent* event) override
  {
    if (event->type != QWindowSystemInterfacePrivate::Key) {
      const bool sent = QWindowSystemEventHandler::sendEvent(event);
      // A window that got the keyboard meanwhile takes the keys waiting.
      if (!waiting_.empty()) flush();
      return sent;
    }
    auto* key = static_cast<KeyEvent*>(event);
    const bool astray = isAstray(key);
    QWindow* to = nullptr;
    if (QWindow* p = typeAheadPanelFor(key, astray)) {
      if (!panelTakesKeys) return true;  // a question takes nothing typed before it showed
      to = p;
    }
    if (!astray && !to && waiting_.empty() && everyKeyHolds == 0) return QWindowSystemEventHandler::sendEvent(event);
    if (astray && !to) {
      // A release goes with its press: the release of a key that went into the window
      // now closed (the Tab that closed a picker) stays there.
      if (key->keyType == QEvent::KeyPress) {
        rerouted_.insert(key->key);
      } else if (!rerouted_.remove(key->key)) {
        return true;
      }
    }
    waiting_.push_back(Waiting{std::make_unique<KeyEvent>(*key), to, astray});
    flush();
    return true;
  }

  // A key addressed to a window of the program's that the window system no longer has (a
  // menu, a completion list, an answered box): Qt's X11 support drops it before anything
  // of the program sees it. It is addressed to a window that is never shown instead,
  // which the rule takes for a closed one.
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
  {
    if (eventType != "xcb_generic_event_t" || !sink_) return false;
    const uint8_t type = static_cast<xcb_generic_event_t*>(message)->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    // A press and a release have the same layout.
    auto* key = static_cast<xcb_key_press_event_t*>(message);
    const QWindowList windows = QGuiApplication::allWindows();
    const bool known = std::any_of(windows.begin(), windows.end(), [key](const QWindow* w) {
      return w->handle() && static_cast<xcb_window_t>(w->winId()) == key->event;
    });
    if (!known) key->event = static_cast<xcb_window_t>(sink_->winId());
    return false;
  }

  // A window that had the keyboard hides: without a window manager none gives it on.
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() != QEvent::Hide || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow() || !widget->windowHandle() || widget->windowHandle() != QGuiApplication::focusWindow() ||
        !xConnection())
      return false;
    QTimer::singleShot(0, this, [this] {
      if (receiving() || KeyRouting::hasWindowManager()) return;
      if (QWindow* main = KeyRouting::windowToMakeMain()) main->requestActivate();
    });
    return false;
  }

  // The keys waiting go on, in order, while a shown window has the keyboard. Each is
  // taken from the queue before it is delivered: a key that opens a window with a loop
  // of its own (an alert) leaves the rest to that loop, which reads them here first.
  void flush()
  {
    while (!waiting_.empty() && holds == 0) {
      Waiting& front = waiting_.front();
      if (front.to && panel && front.to == panel->windowHandle() && !panelRunning) return;
      QWindow* to = destinationOf(front);
      if (!to) {
        if (!waitLimit_.isActive()) waitLimit_.start();
        return;
      }
      deliver(take(), to);
    }
    if (waiting_.empty()) waitLimit_.stop();
  }

  // The shown window that had the keyboard last, other than `but`.
  QWindow* mostRecent(const QWindow* but = nullptr) const
  {
    for (const QPointer<QWindow>& w : recent_)
      if (w && w != but && w->isVisible() && w->handle() && isKeyboardWindow(w)) return w;
    for (QWindow* w : QGuiApplication::topLevelWindows())
      if (w != sink_ && w != but && w->isVisible() && w->handle() && w->type() == Qt::Window) return w;
    return nullptr;
  }

private:
  struct Waiting {
    std::unique_ptr<KeyEvent> key;
    QPointer<QWindow> to;  // where it goes, when not to the window with the keyboard
    bool astray = false;
  };

  Router()
  {
    if (xConnection()) {
      sink_ = new QWindow;
      sink_->setObjectName(QStringLiteral("kivo-closed-window"));
      sink_->create();
    }
    QWindowSystemInterfacePrivate::installWindowSystemEventHandler(this);
    qApp->installNativeEventFilter(this);
    qApp->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
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
    });
    waitLimit_.setSingleShot(true);
    waitLimit_.setInterval(KeyRouting::kWaitForKeyboard);
    connect(&waitLimit_, &QTimer::timeout, this, [this] { waitedLongEnough(); });
  }

  // The window that has the keyboard, shown; nullptr while none has.
  static QWindow* receiving()
  {
    QWindow* focus = QGuiApplication::focusWindow();
    return focus && focus->isVisible() && focus->handle() ? focus : nullptr;
  }

  bool isAstray(const KeyEvent* key) const
  {
    const QWindow* window = key->window.data();
    if (!window) return !key->nullWindow();  // addressed to a window deleted since
    return window == sink_ || !window->isVisible();
  }

  // The panel taking keys typed ahead that this key is for, if any.
  QWindow* typeAheadPanelFor(const KeyEvent* key, bool astray) const
  {
    if (!panel || !panel->isVisible() || !panel->windowHandle()) return nullptr;
    QWindow* p = panel->windowHandle();
    QWindow* window = key->window.data();
    if (window == p || (!window && key->nullWindow())) return nullptr;
    QWindow* holder = nullptr;
    const bool held = window && QGuiApplicationPrivate::instance()->isWindowBlocked(window, &holder) && holder == p;
    return astray || held ? p : nullptr;
  }

  QWindow* destinationOf(const Waiting& w) const
  {
    if (w.to) return w.to->isVisible() ? w.to.data() : receiving();
    QWindow* own = w.key->window.data();
    if (!w.astray && own && own->isVisible()) return own;
    return receiving();
  }

  Waiting take()
  {
    Waiting w = std::move(waiting_.front());
    waiting_.pop_front();
    return w;
  }

  void deliver(Waiting w, QWindow* to)
  {
    const QPointer<QWindow> target = to;
    if (w.to && to == w.to && QGuiApplication::focusWindow() != to) {
      // A panel typed into before it has the keyboard takes its field for unused.
      QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
          to, Qt::ActiveWindowFocusReason);
      // The activation runs the program's code, which may close the panel.
      if (!target) return;
    }
    w.key->window = target;
    w.key->flags &= ~WindowSystemEvent::NullWindow;
    QGuiApplicationPrivate::processWindowSystemEvent(w.key.get());
  }

  // No shown window has had the keyboard for a while: the keys go to the window the
  // program makes main, which gets the keyboard too.
  void waitedLongEnough()
  {
    if (holds > 0 || waiting_.empty()) return;
    QWindow* main = mostRecent();
    if (!main) {
      waiting_.clear();
      rerouted_.clear();
      return;
    }
    main->requestActivate();
    const QPointer<QWindow> guarded = main;
    while (!waiting_.empty() && holds == 0) {
      if (receiving()) {
        flush();
        return;
      }
      if (!guarded || !guarded->isVisible()) return flush();
      deliver(take(), guarded);
    }
  }

  static constexpr size_t kRecentAtMost = 32;

  std::deque<Waiting> waiting_;
  QSet<int> rerouted_;
  QWindow* sink_ = nullptr;
  QTimer waitLimit_;
  std::vector<QPointer<QWindow>> recent_;
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

void KeyRouting::setTypeAheadPanel(QDialog* panel, bool takesKeys)
{
  Router& router = Router::instance();
  router.panel = panel;
  router.panelTakesKeys = takesKeys;
  router.panelRunning = false;
  if (!panel) router.flush();
}

void KeyRouting::setTypeAheadPanelRunning()
{
  Router& router = Router::instance();
  router.panelRunning = true;
  router.flush();
}

QDialog* KeyRouting::typeAheadPanel() { return Router::instance().panel; }

QWindow* KeyRouting::windowToMakeMain() { return Router::instance().mostRecent(); }

void KeyRouting::beforeClosing(QWidget* window)
{
  xcb_connection_t* c = xConnection();
  QWindow* closing = window ? window->windowHandle() : nullptr;
  if (!c || !closing || !closing->handle() || hasWindowManager()) return;
  std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&free)> focus(
      xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &free);
  if (!focus || focus->focus != static_cast<xcb_window_t>(closing->winId())) return;
  QWindow* next = Router::instance().mostRecent(closing);
  if (!next) return;
  xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, static_cast<xcb_window_t>(next->winId()), XCB_CURRENT_TIME);
  xcb_flush(c);
  next->requestActivate();
}

bool KeyRouting::hasWindowManager()
{
  xcb_connection_t* c = xConnection();
  if (!c) return false;
  static const char kCheck[] = "_NET_SUPPORTING_WM_CHECK";
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof kCheck - 1, kCheck), nullptr), &free);
  if (!atom || atom->atom == XCB_NONE) return false;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  // The window the window manager names on the root window, and names again on itself.
  const auto named = [c, &atom](xcb_window_t on) -> xcb_window_t {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, on, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr), &free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4) return XCB_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
  };
  const xcb_window_t check = named(root);
  return check != XCB_NONE && named(check) == check;
}

}  // namespace kivo

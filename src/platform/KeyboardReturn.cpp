#include "platform/KeyboardReturn.h"

#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <deque>
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

// The windows that can be answered (an alert, a question, a sheet or a panel), each with
// the window the keyboard goes back to once it is: an answered window that has the
// keyboard hands it to that window straight from the window system before it hides.
// The keys typed meanwhile, which the window system sent to the answered window, go on
// by KeyRouting's rule to the window that has the keyboard once it is back.
class KeyboardReturn::Answered : public QObject {
public:
  static Answered& instance()
  {
    static Answered* answered = [] {
      auto* a = new Answered;
      qApp->installEventFilter(a);
      // A hand-over lasts until the program hears where the keyboard went.
      QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, a, [a] { a->handedTo_ = nullptr; });
      return a;
    }();
    return *answered;
  }

  // The window can be answered, shown now or about to be; the keyboard goes back to
  // keyboardTo once it is (nullptr: where the window system puts it).
  void expect(QWidget* window, QWidget* keyboardTo)
  {
    if (!window) return;
    Watched& w = watched(window);
    if (keyboardTo || !w.goesBackTo) w.goesBackTo = keyboardTo;
  }

  // The watched window is about to hide: the keyboard it has goes to the window it goes
  // back to first, straight from the window system, so that the window system never
  // gives it to another window, or to none, in between.
  void beforeHiding(QWidget* window)
  {
    const auto w =
        std::find_if(watched_.begin(), watched_.end(), [window](const Watched& e) { return e.widget == window; });
    if (w == watched_.end() || !w->goesBackTo) return;
    // It has the keyboard, or was just given it by the window that hid over it (a
    // confirmation answered yes, closing its panel with it).
    QWindow* handle = window->windowHandle();
    const bool hasKeyboard = handle && (QGuiApplication::focusWindow() == handle || handedTo_ == handle);
    if (!hasKeyboard) return;
    QWidget* to = w->goesBackTo->window();
    if (!to->isVisible() || !to->windowHandle() || !to->windowHandle()->handle()) return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    xcb_set_input_focus(x11->connection(), XCB_INPUT_FOCUS_PARENT,
                        static_cast<xcb_window_t>(to->windowHandle()->winId()), XCB_CURRENT_TIME);
    xcb_flush(x11->connection());
    handedTo_ = to->windowHandle();
  }

  bool eventFilter(QObject* object, QEvent* event) override
  {
    // A dialog ending (answered, or ended by the program) is closed before it hides.
    if (event->type() == QEvent::Close && object->isWidgetType()) beforeHiding(static_cast<QWidget*>(object));
    return false;
  }

private:
  // How many windows that can be answered are remembered.
  static constexpr size_t kWatchedAtMost = 32;

  struct Watched {
    QPointer<QWidget> widget;
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

  std::deque<Watched> watched_;
  // The window the keyboard was last handed to before an answered window hid.
  QPointer<QWindow> handedTo_;
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
      auto hold = std::make_shared<KeyRouting::Hold>();
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
  KeyRouting::setTypeAheadPanel(&panel, typedAhead == TypedAhead::GoesToThePanel);
  // The keys typed ahead go to the panel once its own loop runs: given while it shows,
  // before the loop starts (a platform that delivers queued input as a window shows),
  // a Return would answer it and leave the loop waiting on a hidden panel.
  const int level = QThread::currentThread()->loopLevel();
  std::function<void()> whenRunning;
  whenRunning = [&panel, level, &whenRunning] {
    if (KeyRouting::typeAheadPanel() != &panel) return;
    if (QThread::currentThread()->loopLevel() > level)
      KeyRouting::setTypeAheadPanelRunning();
    else
      QTimer::singleShot(0, &panel, whenRunning);
  };
  QTimer::singleShot(0, &panel, whenRunning);
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

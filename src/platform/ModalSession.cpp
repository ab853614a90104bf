#include "platform/ModalSession.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QThread>
#include <QWindow>

namespace kivo {
namespace {

// Whether the window shows without being activated.
void setShownWithoutActivating(QWidget* window, bool on)
{
  window->setAttribute(Qt::WA_ShowWithoutActivating, on);
  // The attribute reaches a native window only when it is set, never when it is
  // cleared: a window reused for a session that activates would otherwise keep
  // showing without activating.
  if (QWindow* handle = window->windowHandle()) handle->setProperty("_q_showWithoutActivating", on);
}

// How long a session waits, at most, for the window system to give the keyboard back
// to the user's window once the session's window is gone.
constexpr qint64 kKeyboardHandBackMs = 250;

// Whether the widget is the window or lies within it (a sheet or panel over it).
bool isWithin(const QWidget* widget, const QWidget* window)
{
  for (const QWidget* w = widget; w; w = w->parentWidget())
    if (w == window) return true;
  return false;
}

}  // namespace

int ModalSession::sessionsForAnotherWindow_ = 0;

ModalSession::ModalSession(QWidget* window, Activation activation)
    : window_(window),
      activate_(activation == Activation::Activate),
      formerModality_(window->windowModality()),
      formerWithoutActivating_(window->testAttribute(Qt::WA_ShowWithoutActivating))
{
  // The user's window is the one the window is shown over, never the active window of
  // the moment: between two sessions no window may be active at all.
  if (!activate_) {
    userWindow_ = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    ++sessionsForAnotherWindow_;
  }
  window->setWindowModality(Qt::ApplicationModal);
  setShownWithoutActivating(window, !activate_);
  window->show();
  window->installEventFilter(this);
  if (activate_) {
    window->raise();
    window->activateWindow();
  }
  QCoreApplication::processEvents();
}

ModalSession::~ModalSession()
{
  if (loop_.isRunning()) loop_.exit(-1);
  if (!activate_) --sessionsForAnotherWindow_;
  if (!window_) return;
  window_->removeEventFilter(this);
  const QWindow* handle = window_->windowHandle();
  window_->hide();
  window_->setWindowModality(formerModality_);
  setShownWithoutActivating(window_, formerWithoutActivating_);
  if (!userWindow_ || !userWindow_->isVisible()) return;
  // The window system gives the keyboard back to the window the session's window was
  // shown over; one that leaves no window active, or gave another window the
  // keyboard, has the user's window brought back and activated.
  const QWidget* active = QApplication::activeWindow();
  if (active == window_ || !isWithin(active, userWindow_)) {
    userWindow_->raise();
    userWindow_->activateWindow();
  }
  // A window system may have given the session's window the keyboard after all (a
  // window manager focuses a dialog over the focused window). Until it has handed the
  // keyboard back, the keys would still go to the window now hidden, and a session
  // begun meanwhile would catch the hand-back and leave them there: the session waits
  // for it, a moment at most, taking no input meanwhile.
  QElapsedTimer waited;
  waited.start();
  while (handle && QGuiApplication::focusWindow() == handle && waited.elapsed() < kKeyboardHandBackMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(1);
  }
}

ModalSession::Response ModalSession::poll()
{
  if (response_ == Response::Continue) QCoreApplication::processEvents();
  if (response_ == Response::Continue && !window_) response_ = Response::Aborted;
  return response_;
}

int ModalSession::run()
{
  if (response_ == Response::Continue && window_ && window_->isVisible()) loop_.exec();
  if (response_ == Response::Continue) response_ = Response::Aborted;
  return response_ == Response::Stopped ? code_ : -1;
}

void ModalSession::stop(int code)
{
  if (response_ != Response::Continue) return;
  response_ = Response::Stopped;
  code_ = code;
  loop_.exit(0);
}

void ModalSession::abort()
{
  if (response_ != Response::Continue) return;
  response_ = Response::Aborted;
  loop_.exit(0);
}

}  // namespace kivo

namespace kivo {

bool ModalSession::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == window_ && event->type() == QEvent::Hide) abort();
  return false;
}

}  // namespace kivo

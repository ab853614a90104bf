#include "platform/ModalSession.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <utility>
#include <vector>

#include "platform/KeyboardReturn.h"

namespace kivo {
namespace {

struct PutOff {
  QPointer<QObject> context;
  std::function<void()> action;
};

// What waits for the end of the work going on, in the order put off.
std::vector<PutOff>& putOff()
{
  static std::vector<PutOff> actions;
  return actions;
}

void deliverPutOff()
{
  // Work begun since waits again for its own end.
  if (ModalSession::isWorkRunning()) return;
  std::vector<PutOff> actions = std::exchange(putOff(), {});
  for (PutOff& p : actions)
    if (p.context) p.action();
}

}  // namespace

int ModalSession::workRunning_ = 0;

ModalSession::ModalSession(QWidget* window, Showing showing)
    : window_(window),
      formerModality_(window->windowModality()),
      formerShowWithoutActivating_(window->testAttribute(Qt::WA_ShowWithoutActivating))
{
  since_.start();
  if (showing == Showing::AtOnce) showWindow();
}

void ModalSession::showWindow()
{
  if (shown_ || !window_) return;
  shown_ = true;
  // A window that holds the input has nothing for the keyboard: the keys stay with
  // the user's window, where they go once the work ends, and nothing is blocked that
  // would drop them.
  keyboardBefore_ = QGuiApplication::focusWindow();
  if (holdsInput_) {
    window_->setAttribute(Qt::WA_ShowWithoutActivating, true);
  } else {
    window_->setWindowModality(Qt::ApplicationModal);
  }
  window_->show();
  window_->installEventFilter(this);
  window_->raise();
  // The work goes on once the window system has given the window the keyboard, so that
  // the next poll hands it what was typed before it showed (Escape to cancel) even
  // when that poll is the work's last.
  if (!holdsInput_) KeyboardReturn::giveKeyboardTo(window_.data());
  // Shown and drawn; the input waits for the window to have the keyboard.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

ModalSession::~ModalSession()
{
  if (loop_.isRunning()) loop_.exit(-1);
  if (window_ && shown_) {
    window_->removeEventFilter(this);
    // The keyboard goes back to the window that had it when the window showed: the
    // one the user was in, or went to in the work's first moments (a click on another
    // window), where the input held goes on. A window that holds the input should
    // never have had it, but a window system may give it all the same.
    const bool tookKeyboard = window_->windowHandle() && QGuiApplication::focusWindow() == window_->windowHandle();
    window_->hide();
    // Waited for, so that an alert the work's end raises is over that window again.
    if (tookKeyboard && keyboardBefore_) KeyboardReturn::giveKeyboardTo(keyboardBefore_.data());
    // The wait runs the program's own events, which may have closed the window.
    if (window_) {
      window_->setWindowModality(formerModality_);
      window_->setAttribute(Qt::WA_ShowWithoutActivating, formerShowWithoutActivating_);
    }
  }
  if (polled_ && --workRunning_ == 0 && !putOff().empty())
    QMetaObject::invokeMethod(QCoreApplication::instance(), &deliverPutOff, Qt::QueuedConnection);
  // Input held by the polls waits in the window system's queue, which the event loop
  // reads again only when woken.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

void ModalSession::afterWork(QObject* context, std::function<void()> action)
{
  if (!isWorkRunning()) {
    action();
    return;
  }
  putOff().push_back({context, std::move(action)});
}

bool ModalSession::takesInput() const
{
  return shown_ && !holdsInput_ && window_ && window_->windowHandle() &&
         QGuiApplication::focusWindow() == window_->windowHandle();
}

ModalSession::Response ModalSession::poll()
{
  if (response_ == Response::Continue) {
    if (!polled_) {
      polled_ = true;
      ++workRunning_;
    }
    if (!shown_ && since_.elapsed() >= kShowDelay) showWindow();
    if (takesInput()) {
      // The input the earlier polls held waits in the window system's queue, which the
      // event loop reads again only when woken.
      if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    } else {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
  }
  if (response_ == Response::Continue && !window_) response_ = Response::Aborted;
  return response_;
}

int ModalSession::run()
{
  showWindow();
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

bool ModalSession::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == window_ && event->type() == QEvent::Hide) abort();
  return false;
}

}  // namespace kivo

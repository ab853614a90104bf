#include "platform/ModalSession.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>

namespace kivo {

ModalSession::ModalSession(QWidget* window, Showing showing)
    : window_(window), formerModality_(window->windowModality())
{
  since_.start();
  if (showing == Showing::AtOnce) showWindow();
}

void ModalSession::showWindow()
{
  if (shown_ || !window_) return;
  shown_ = true;
  window_->setWindowModality(Qt::ApplicationModal);
  window_->show();
  window_->installEventFilter(this);
  window_->raise();
  window_->activateWindow();
  QCoreApplication::processEvents();
}

ModalSession::~ModalSession()
{
  if (loop_.isRunning()) loop_.exit(-1);
  if (window_ && shown_) {
    window_->removeEventFilter(this);
    window_->hide();
    window_->setWindowModality(formerModality_);
  }
  // Input held by the polls waits in the window system's queue, which the event loop
  // reads again only when woken.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

ModalSession::Response ModalSession::poll()
{
  if (response_ == Response::Continue) {
    if (!shown_ && since_.elapsed() >= kShowDelay) showWindow();
    QCoreApplication::processEvents(shown_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
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

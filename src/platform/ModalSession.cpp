#include "platform/ModalSession.h"

#include <QCoreApplication>
#include <QEvent>

namespace kivo {

ModalSession::ModalSession(QWidget* window) : window_(window), formerModality_(window->windowModality())
{
  window->setWindowModality(Qt::ApplicationModal);
  window->show();
  window->installEventFilter(this);
  window->raise();
  window->activateWindow();
  QCoreApplication::processEvents();
}

ModalSession::~ModalSession()
{
  if (loop_.isRunning()) loop_.exit(-1);
  if (window_) {
    window_->removeEventFilter(this);
    window_->hide();
    window_->setWindowModality(formerModality_);
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

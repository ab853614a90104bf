// An application-modal session for one window: while it lasts only that window takes
// input. The window's owner either runs the session until the window stops it
// (run / stop), or, for long work on the main thread, polls it between steps
// (poll answers Continue until the session was stopped or aborted). A window that is
// hidden or closed aborts its session.
//
// A session begun without activating is for work in a window the user is not in: its
// window, shown over the user's window (its parent), shows without being raised or
// activated. A window system may still give a modal window, or another window, the
// keyboard while the session lasts; when it ends, the user's window has it again, and
// the session waits (a moment at most) until the window system has handed it back.
// While such a session runs, a window that becomes active was not chosen by the user
// (isRunningForAnotherWindow).
#pragma once

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace kivo {

class ModalSession : public QObject {
public:
  enum class Response { Continue, Stopped, Aborted };
  enum class Activation { Activate, WithoutActivating };

  // Begins the session: the window is shown application-modally, brought to the front
  // and made active unless asked not to be.
  explicit ModalSession(QWidget* window, Activation activation = Activation::Activate);
  // Ends the session: the window is hidden and gets its former modality back.
  ~ModalSession() override;
  ModalSession(const ModalSession&) = delete;
  ModalSession& operator=(const ModalSession&) = delete;

  // Lets the application handle pending events; Continue while the session goes on.
  Response poll();
  // Handles events until stop or abort is called (or the window is closed); answers
  // the code given to stop, or -1 when aborted.
  int run();
  void stop(int code = 0);
  void abort();
  bool isRunning() const { return response_ == Response::Continue; }
  // Whether a session begun without activating is running.
  static bool isRunningForAnotherWindow() { return sessionsForAnotherWindow_ > 0; }

protected:
  // The window hidden or closed by other means aborts the session.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QPointer<QWidget> window_;
  bool activate_;
  Qt::WindowModality formerModality_;
  bool formerWithoutActivating_;
  QPointer<QWidget> userWindow_;  // the window shown over, when not activating
  static int sessionsForAnotherWindow_;
  Response response_ = Response::Continue;
  int code_ = 0;
  QEventLoop loop_;
};

}  // namespace kivo

// An application-modal session for one window: while it lasts only that window takes
// input. The window's owner either runs the session until the window stops it
// (run / stop), or, for long work on the main thread, polls it between steps
// (poll answers Continue until the session was stopped or aborted). A window that is
// hidden or closed aborts its session.
//
// A session for polled work may show its window only once the work has lasted
// kShowDelay (AfterDelay), as a progress window waits out its minimum duration: work
// that ends sooner shows no window at all, so the keyboard never leaves the window the
// user is in. Until the window shows, the polls handle every event but the user's
// input, which is held in order and delivered once the session ends, to the windows
// and fields it was typed into. The user cannot act while the work runs either way.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace kivo {

class ModalSession : public QObject {
public:
  enum class Response { Continue, Stopped, Aborted };
  enum class Showing { AtOnce, AfterDelay };
  static constexpr qint64 kShowDelay = 500;  // milliseconds

  // Begins the session: the window is shown application-modally (at once, or at the
  // first poll after kShowDelay), brought to the front and made active.
  explicit ModalSession(QWidget* window, Showing showing = Showing::AtOnce);
  // Ends the session: the window is hidden and gets its former modality back; input
  // held meanwhile goes on to where it was typed.
  ~ModalSession() override;
  ModalSession(const ModalSession&) = delete;
  ModalSession& operator=(const ModalSession&) = delete;

  // Lets the application handle pending events; Continue while the session goes on.
  Response poll();
  // Shows the window if it is not yet shown and handles events until stop or abort is
  // called (or the window is closed); answers the code given to stop, or -1 when
  // aborted.
  int run();
  void stop(int code = 0);
  void abort();
  bool isRunning() const { return response_ == Response::Continue; }
  bool isWindowShown() const { return shown_; }

protected:
  // The window hidden or closed by other means aborts the session.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void showWindow();

  QPointer<QWidget> window_;
  Qt::WindowModality formerModality_;
  bool shown_ = false;
  QElapsedTimer since_;
  Response response_ = Response::Continue;
  int code_ = 0;
  QEventLoop loop_;
};

}  // namespace kivo

// A modal session for one window. The window's owner either runs the session until
// the window stops it (run / stop), or, for long work on the main thread, polls it
// between steps (poll answers Continue until the session was stopped or aborted). A
// window that is hidden or closed aborts its session.
//
// Shown, the window is application-modal and takes the keyboard, so that it alone
// takes the user's input, unless the work holds the input (below): then it is
// neither modal nor given the keyboard, and no input is handled until the work ends.
//
// Polled work: nothing the user does acts in the middle of it.
//   - The window may show only once the work has lasted kShowDelay (AfterDelay), as a
//     progress window waits out its minimum duration: work that ends sooner shows no
//     window at all, so the keyboard never leaves the window the user is in.
//   - The polls handle every event but the user's input, which waits in order in the
//     window system's queue. It reaches the session's window only once that window
//     has the keyboard, so that a key typed before the window showed (Escape to
//     cancel) acts there and not on a window the session blocks, which would drop it.
//   - Work that offers the user nothing (holdsInput) holds the input to its end: its
//     window shows without taking the keyboard or blocking the user's window, and
//     what was typed goes on, once the work ends, to the window and field it was
//     typed in.
//   - A window the window system activates meanwhile (a click on another window,
//     Alt+Tab) is told so only after the work (afterWork), as the click itself is.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace kivo {

class ModalSession : public QObject {
public:
  enum class Response { Continue, Stopped, Aborted };
  enum class Showing { AtOnce, AfterDelay };
  static constexpr qint64 kShowDelay = 500;  // milliseconds

  // Begins the session: the window is shown (at once, or at the first poll after
  // kShowDelay), brought to the front and, unless it holds the input, made
  // application-modal and active.
  explicit ModalSession(QWidget* window, Showing showing = Showing::AtOnce);
  // Ends the session: the window is hidden and gets its former modality back, and the
  // keyboard goes back to the window that had it when the window showed; input held
  // meanwhile goes on to where it was typed, after what afterWork put off.
  ~ModalSession() override;
  ModalSession(const ModalSession&) = delete;
  ModalSession& operator=(const ModalSession&) = delete;

  // Lets the application handle pending events; Continue while the session goes on.
  // The user's input is handled only while the session's window is shown, has the
  // keyboard and does not hold the input.
  Response poll();
  // Whether the user's input waits for the end of the work; read at each poll, and
  // when the window shows, which then neither takes the keyboard nor blocks.
  void setHoldsInput(bool holds) { holdsInput_ = holds; }
  // Shows the window if it is not yet shown and handles events until stop or abort is
  // called (or the window is closed); answers the code given to stop, or -1 when
  // aborted.
  int run();
  void stop(int code = 0);
  void abort();
  bool isRunning() const { return response_ == Response::Continue; }
  bool isWindowShown() const { return shown_; }

  // Whether polled work is going on (a session that has been polled and not ended).
  static bool isWorkRunning() { return workRunning_ > 0; }
  // Calls `action` once the work going on has ended, from the event loop and before
  // the input held meanwhile (at once when no work is going on); not at all when
  // `context` is gone by then.
  static void afterWork(QObject* context, std::function<void()> action);

protected:
  // The window hidden or closed by other means aborts the session.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void showWindow();
  bool takesInput() const;

  QPointer<QWidget> window_;
  Qt::WindowModality formerModality_;
  bool formerShowWithoutActivating_;
  bool shown_ = false;
  bool holdsInput_ = false;
  QPointer<QWindow> keyboardBefore_;  // the window that had the keyboard when the window showed
  bool polled_ = false;
  QElapsedTimer since_;
  Response response_ = Response::Continue;
  int code_ = 0;
  QEventLoop loop_;

  static int workRunning_;
};

}  // namespace kivo

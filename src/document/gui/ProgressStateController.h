// The shared progress sheet of a document: a main text, a sub text, a bar that is
// determinate or indeterminate, and a cancel button.
//
// Long work runs on the main thread. The job begins the sheet's session
// (ModalSession), sets the sheet, then polls it between its steps:
//
//   progress->beginModalSession(window);
//   progress->setProgressFieldStringValue(...);  // the texts, the cancel button, the bar
//   for (...) {
//     if (progress->runModalSession() != ProgressStateController::ModalResponse::Continue) break;
//     ... one step ...
//     progress->incrementProgressIndicator();
//   }
//   progress->endModalSession();
//
// The sheet shows only once the job has lasted half a second: a shorter job shows no
// window, and what the user types meanwhile is held and then goes on to the field it
// was typed in (ModalSession). A job that can be cancelled (its cancel button enabled)
// makes its sheet application-modal: the keys held go to the sheet once it has the
// keyboard, so that Escape typed at once cancels once the sheet shows (a job that ends
// sooner cannot be cancelled). A job whose cancel button is disabled
// holds the input to its end, its sheet showing without the keyboard and blocking
// nothing. Each poll lets the application handle its events but the user's input
// held; the cancel button orders the sheet out and aborts the session, so that the
// job's next poll stops it.
//
// Work begun in the middle of a job (a book brought up to date while a print runs)
// joins it: its polls are the job's, and answer Aborted once the job was cancelled,
// but the sheet stays the job's. Until the joined work ends, the texts, the cancel
// button and the bar it sets are let go, so that the sheet goes on showing the job,
// the job stays as cancellable as it was (and its input as held or not), and the
// joined work's end leaves them as they were. A job therefore sets its sheet after it
// has begun its session. A job of many short steps updates and polls the sheet only
// when isDueForUpdate() says so, and spends its time on its work rather than on
// repainting.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <memory>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kivo {

class ModalSession;

class ProgressStateController : public QDialog {
  Q_OBJECT
public:
  enum class ModalResponse { Continue, Aborted };

  explicit ProgressStateController(QWidget* parent = nullptr);
  ~ProgressStateController() override;

  // The sheet as the running job sets it; left as it is while work joining the job runs.
  void setProgressFieldStringValue(const QString& text);
  void setSubProgressFieldStringValue(const QString& text);
  void setCancelButtonEnabled(bool enabled);
  // The indeterminate bar.
  void startProgressIndicatorAnimation();
  void stopProgressIndicatorAnimation();
  // The bar becomes determinate, from 0 to the maximum.
  void setProgressIndicatorMaxValue(double maxValue);
  void incrementProgressIndicator();
  void setProgressIndicatorValue(double value);

  // The session of the sheet over the window (or the screen), or work joining the
  // running one; the sheet shows at the first poll once the job has lasted
  // ModalSession::kShowDelay.
  void beginModalSession(QWidget* window);
  ModalResponse runModalSession();
  // Whether the sheet should be brought up to date and polled now: true at most every
  // kUpdateInterval, counted from the session's beginning and then from the last
  // time it answered true.
  bool isDueForUpdate();
  static constexpr qint64 kUpdateInterval = 100;  // milliseconds
  void endModalSession();
  bool isRunningModalSession() const { return session_ != nullptr; }
  // Whether the session was aborted (by the cancel button), without handling events.
  bool isModalSessionAborted() const;

  // A job of named steps (the ledgers or lists of several accounts): "計算中", cancel
  // enabled and a bar to steps + 1, then per step its name below and the bar one on.
  // nextNamedStep answers false once the user cancelled.
  void beginNamedSteps(QWidget* window, size_t steps);
  bool nextNamedStep(const std::string& name);

  // The cancel button's action.
  void abortProgressStateWindow();

  QString progressFieldStringValue() const;
  QPushButton* cancelButton() const { return cancelButton_; }
  QProgressBar* progressIndicator() const { return progressBar_; }
  double progressIndicatorValue() const { return value_; }

protected:
  void reject() override;  // escape and the close box act as the cancel button
  void closeEvent(QCloseEvent* event) override;

private:
  void showValue();

  QLabel* progressField_;
  QLabel* subProgressField_;
  QProgressBar* progressBar_;
  QPushButton* cancelButton_;
  double maxValue_ = 0.0;
  double value_ = 0.0;
  bool indeterminate_ = false;
  std::unique_ptr<ModalSession> session_;
  int joined_ = 0;  // jobs begun within the running one, not yet ended: the sheet is not theirs to set
  QElapsedTimer sinceUpdate_;
};

}  // namespace kivo

// A small modal window over a typed field that a stop key closes: Enter, Return, Tab
// and Back-tab accept with that key (Shift+Tab is Back-tab); Escape and Ctrl+W
// cancel. Its text field keeps what was typed when the focus arrives, so that typing
// goes on after it. The pickers and the input panels are such windows.
//
// Such a window opens on the first key typed in a field, and the keys typed after it
// are on their way to the window of the field. So it never takes the window system's
// focus from that window: it borrows its keyboard (KeyRouting::lendKeyboard), and no
// key typed as it opens or closes falls between the two windows. Within the program it
// has the keyboard, and the input method writes into its field. It runs modally
// without blocking the window it serves: while it runs, every key sent to another
// window of the program goes to its text field, in order, and clicks and close
// requests elsewhere are ignored. It stays a window of the window it serves (the
// window manager keeps it above that window), and that window, once activated again
// (a click on it, or on this window), lends it the keyboard again. Minimized, or the
// window it serves minimized, it closes as if cancelled; it always opens on the
// screen.
#pragma once

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <memory>

#include "platform/KeyRouting.h"

class QEventLoop;
class QKeyEvent;
class QLineEdit;

namespace kivo {

class StopKeyDialog : public QDialog {
  Q_OBJECT
public:
  // The innermost window of this kind running now, nullptr when none.
  static StopKeyDialog* runningDialog();

protected:
  StopKeyDialog(QWidget* parent, Qt::WindowFlags flags = {});

  // Runs the window modally (see above) until it closes; answers its result
  // (QDialog::Accepted or Rejected). owner: the window it serves when it has no parent
  // of its own (a panel kept by the document); it is that window's for the run.
  int runModalKeepingKeys(QWidget* owner = nullptr);

  // The field whose focus and keys the window watches.
  void watchTextField(QLineEdit* field);
  // A stop key that accepts: the window closes with it, or stays when it cannot.
  virtual void closeWithStopChar(uint16_t stopChar) = 0;
  // A key that is no stop key; false when not handled.
  virtual bool handleOtherKey(QKeyEvent*) { return false; }

  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  class KeyForwarder;

  bool handleKey(QKeyEvent* event);

  QLineEdit* textField_ = nullptr;
  // The window it serves while it runs.
  QPointer<QWidget> served_;
  // The run's own event loop while the window runs.
  QEventLoop* loop_ = nullptr;
  QPointer<StopKeyDialog> outerRunning_;
  // From its closing until its run has ended: the keys typed after the key that closed
  // it wait until the window it served has taken what was chosen.
  std::unique_ptr<KeyRouting::Hold> closing_;
};

}  // namespace kivo

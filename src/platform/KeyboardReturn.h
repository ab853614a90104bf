// The keyboard around a modal panel or alert that a command runs over the window it
// was given in: a file panel, the print or page-setup panel, an alert they raise.
//
// As a panel closes, the window system activates a window of its own choosing, which
// is not always the window the command was given in (a confirmation over the panel
// and the panel itself close a few milliseconds apart, and the window system may
// settle on another document window). So the window the command was given in is
// activated again as the panel closes, and the command goes on only once the window
// system has given it the keyboard: the work the command then runs (an export, a
// print, an import) starts there, its progress sheet gives the keyboard back there,
// and what the user types at once goes there too. Until then the application handles
// its events but the user's input, which waits in the window system's queue.
//
//   {
//     KeyboardReturn back(window);  // the window the command was given in
//     back.exec(panel);             // the panel run to its answer
//   }  // the window has the keyboard again
//
// Meanwhile an alert the panel raises over itself (the print panel's warning that a
// file cannot be written) gives the keyboard back to the panel as it closes, when the
// panel stays. The program's own alerts and sheets do the same for their windows
// through afterAnswer (AlertSheet, SheetController).
//
// The keys typed at once after the key or click that answers a panel, a question, an
// alert or a sheet: the window system sends them to the answered window for as long
// as it has the keyboard, which on a busy machine lasts until the program has read the
// answer. From the answer until the keyboard is back they wait (a KeyRouting::Hold),
// and then go, in order, to the window that has it, by KeyRouting's rule for every key
// addressed to a window that has closed. The keys typed ahead of a panel run by exec go
// into it once its own loop runs.
#pragma once

#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>

#include "platform/KeyRouting.h"

class QDialog;

namespace kivo {

class KeyboardReturn {
public:
  // How long the window system is waited for, in milliseconds: it takes a few.
  static constexpr int kWaitLimit = 1000;

  // The window the command was given in; nullptr: the window that is active now.
  explicit KeyboardReturn(QWidget* commandWindow);
  // Gives the keyboard back to that window (giveKeyboardTo), if it is still shown;
  // then the keys sent to the panel run by exec after its answer go on.
  ~KeyboardReturn();
  KeyboardReturn(const KeyboardReturn&) = delete;
  KeyboardReturn& operator=(const KeyboardReturn&) = delete;

  // What becomes of the keys typed ahead of a panel: typed after the key of the command
  // that runs it, but sent by the window system to the command's window, which the
  // panel holds, or to the menu the command was chosen in, before the panel had the
  // keyboard (at once, or on a busy machine, even once the panel shows). A panel's field
  // takes them once its loop runs; a question takes no key typed before it showed on
  // the screen (KeyRouting::watchQuestion), and those are dropped.
  enum class TypedAhead { GoesToThePanel, IsDropped };
  // Runs the panel or question to its answer (QDialog::exec) and answers its result.
  // The keys the window system sends it once it is answered are held until the
  // keyboard is back, and go there.
  int exec(QDialog& panel, TypedAhead typedAhead = TypedAhead::GoesToThePanel);

  // Activates the window and handles the application's events but the user's input
  // until the window system has given it the keyboard, at most kWaitLimit. Answers
  // whether it has the keyboard. The user's input waits, a close asked by the window
  // manager too (the window system counts it as input), but the program's own events
  // run: a window the program closes meanwhile (its document closing) may be gone when
  // the wait returns, which the caller checks before it acts on it.
  static bool giveKeyboardTo(QWidget* window);
  static bool giveKeyboardTo(QWindow* window);

  // What an alert or sheet the user answered does next, called from within its own
  // handling (its button's click, a key, its close box). That handling runs no events:
  // Qt is still inside the box or sheet, which the events could delete under it. So
  // once the handling is over, the keyboard is given to keyboardTo (giveKeyboardTo;
  // nullptr: left where it is), the keys sent to the answered window since its answer
  // go on there, and then `then` runs, before the user's next input is read.
  // `then` does not run when actsOn was given and is gone or closed by then, before
  // the wait or after it (its window closed by the program meanwhile): an answer acts
  // on nothing whose window has gone.
  static void afterAnswer(QWidget* keyboardTo, QWidget* actsOn, std::function<void()> then);

private:
  class AlertWatch;

  QPointer<QWidget> window_;
  std::unique_ptr<AlertWatch> alertWatch_;
  // From the answer of a panel run by exec until the keyboard is back.
  std::unique_ptr<KeyRouting::Hold> hold_;
};

}  // namespace kivo

// Where every key the window system sends comes in, once, before any window of the
// program sees it, and how the window system's keyboard focus moves between the
// program's windows.
//
// The keyboard between windows. The window system gives its keyboard focus to a window
// by itself when a window opens, closes or is minimized, and for a few milliseconds it
// may rest on none of the program's windows (the root window, the window manager's own
// window): a key typed then never reaches the program. So the program moves the focus
// between its own windows itself, at the window system:
//   - A picker or input panel borrows the keyboard of the window it serves
//     (lendKeyboard): the window system's focus stays on the window served, the keys
//     it sends there go to the borrower (StopKeyDialog hands them to its field), and
//     within the program the borrower has the keyboard (its field has the focus, the
//     input method writes into it). Opening or closing it moves no focus at the window
//     system. A click on the borrower (its press, or the window manager's offer of the
//     focus for a window that takes none, as for a click on its title bar) gives the
//     window served the focus back, at the click's time, wherever it went meanwhile.
//     While a borrower is up, a click on another window of the program's, but the one
//     served, is ignored and changes nothing. A borrower whose window, or the window
//     it serves, is minimized is closed as if cancelled: no key goes into a window
//     the user cannot see.
//   - Before a window that has the window system's focus hides or is minimized, the
//     program gives the focus to the window that gets the keyboard next: the window it
//     was shown over, if that is up (an alert's or a sheet's window, a panel's command
//     window), else the shown window that had the keyboard last (the window before a
//     closed one). The focus then goes straight from one of the program's windows to
//     another, with or without a window manager. It is asked at the time of the last
//     event read (keys, the pointer, property changes), as Qt asks. Without a window
//     manager, a window minimized is taken from the screen as one would take it, and a
//     window the program gives the keyboard comes to the front.
//   - A window the program gives the keyboard (activate) keeps the keys read after it.
//
// The keys. The window system addresses a key to the window that has the keyboard when
// the key is typed. On a busy machine the program reads it later, and by then that
// window may have closed: a window closed by the key before it, a menu closed by
// Escape, a question answered by the Return before it. The rule, for every window
// alike: a key is for the window that has the keyboard when the key is read.
//   - A key addressed to a window that is up (shown, and not asked to be minimized) goes
//     to it, as addressed.
//   - A key addressed to a window that is hidden, gone or minimized by then goes on, in
//     order and once, to the window that has the keyboard. Until a window that is up
//     has it, the key waits, and every key and mouse button read after it waits behind
//     it. A key waits at most kWaitForKeyboard from when it was read (once no Hold
//     keeps it); then the keys go to the window the program makes main (the window
//     that is up and had the keyboard last), which is activated. Such a key never
//     answers a question or an alert: it waits while one (or a window it holds) has the
//     keyboard, and is dropped if it still does when the wait is over.
//   - While a Hold lives (from an answer until the keyboard is back where the program
//     gives it), such keys wait whoever has the keyboard.
//   - A release goes with its press: to the window its press went to, or nowhere once
//     that window has closed (the release of the Tab that closed a picker).
//   - A panel run by KeyboardReturn::exec takes the keys typed ahead of it once its own
//     loop runs (setTypeAheadPanel).
//   - A question takes no key typed before it showed on the screen (watchQuestion), and
//     a window-modal alert only the keys addressed to it or to the window it holds.
#pragma once

#include <QPointer>

class QDialog;
class QWidget;
class QWindow;

namespace kivo {

class KeyRouting {
public:
  // How long a key addressed to a closed window waits for a shown window to have the
  // keyboard, in milliseconds.
  static constexpr int kWaitForKeyboard = 400;

  // Puts the rule in place for the application; once is enough, again does nothing.
  static void install();

  // While one lives, the keys addressed to hidden or gone windows wait, and go on once
  // the last one has gone. One that holds every key also holds those addressed to a
  // window that is up: a picker or panel closed while its run is still ending, before
  // the window it served has taken what was chosen.
  class Hold {
  public:
    enum class Keys { ForClosedWindows, Every };
    explicit Hold(Keys keys = Keys::ForClosedWindows);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

  private:
    bool everyKey_;
  };

  // The program gives the keyboard to the window (shown): it is activated, and the keys
  // read from now on are its own once it has the keyboard, wherever the window system
  // addressed them (typed before the window system moved its focus: Ctrl+W right after
  // the ウインドウ menu's choice). They wait for that at most kWaitForKeyboard.
  static void activate(QWidget* window);

  // The program minimizes the window (しまう). The window system's focus, if the window
  // has it, goes first to the window that gets the keyboard, and only then is the window
  // system told: a window manager told first moves its focus by itself, through a
  // window of its own, and a key typed then reaches no window of the program's.
  static void minimize(QWidget* window);

  // The window (shown, made with Qt::WindowDoesNotAcceptFocus) takes the keyboard of
  // the window it serves for as long as it is shown; as it hides, the window served has
  // the keyboard again. The window system's focus goes to the window served if it is
  // elsewhere. Called again once the window served is activated again (brought back by
  // a click), the borrower takes its keyboard again.
  static void lendKeyboard(QWidget* borrower, QWidget* served);

  // The window is a question or an alert, about to show (again): no key typed before it
  // showed on the screen (its first frame drawn) answers it, whether the window system
  // addressed the key to it or to a window it holds. Such keys are dropped; those typed
  // after it showed go into it. The times compared are the X server's, Qt's event
  // clock on Qt's own platforms, and elsewhere the times the keys are read.
  static void watchQuestion(QWidget* question);

  // The panel that takes the keys typed ahead of it: those the window system addressed
  // to a window the panel holds (the command's window, which had the keyboard until the
  // panel took it) or to one that has closed since (the menu whose item ran the
  // command). No key reaches the panel before its own event loop runs, however the key
  // came (given before, a Return typed ahead would answer it before its loop starts,
  // which would then wait on a hidden panel); the panel is made the active window
  // first, since a file panel typed into before it has the keyboard takes its field for
  // unused. nullptr: none. The caller tells when the panel's loop runs
  // (setTypeAheadPanelRunning).
  static void setTypeAheadPanel(QDialog* panel);
  static void setTypeAheadPanelRunning();
  static QDialog* typeAheadPanel();

private:
  class Router;
};

}  // namespace kivo

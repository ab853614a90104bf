// Where every key the window system sends comes in, once, before any window of the
// program sees it.
//
// The window system addresses a key to the window that has the keyboard when the key is
// typed. On a busy machine the program reads it later, and by then that window may have
// closed: a picker or an input panel closed by the Tab before it, a menu closed by
// Escape, a window closed by Ctrl+W, an alert or a question answered by the Return
// before it. Left alone, such a key went into the hidden window (the picker's search
// field) or was dropped (its window system's window gone). The rule here, for every
// window alike: a key is for the window that has the keyboard when the key is read.
//   - A key addressed to a shown window goes to it, as addressed.
//   - A key addressed to a window that is hidden or gone by then goes on, in order and
//     once, to the window that has the keyboard. Until a shown window has it, the key
//     waits, and every key read after it waits behind it. A wait lasts at most
//     kWaitForKeyboard; then the keys go to the window the program makes main (the
//     shown window that had the keyboard last), which is activated.
//   - While a Hold lives (from an answer until the keyboard is back where the program
//     gives it), such keys wait whoever has the keyboard.
//   - The release of a key whose press went into the window that has since closed (the
//     Tab that closed the picker) goes with its press and is dropped.
//   - A panel run by KeyboardReturn::exec takes the keys typed ahead of it (see
//     setTypeAheadPanel).
//
// And as a window manager would, when a window that had the keyboard closes and no
// window manager gives the keyboard to another, the window the program makes main gets
// it.
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
  // shown window: a picker or panel closed while its run is still ending, before the
  // window it served has taken what was chosen.
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

  // The panel that takes the keys typed ahead of it: those the window system addressed
  // to a window the panel holds (the command's window, which had the keyboard until the
  // panel took it) or to one that has closed since (the menu whose item ran the
  // command). They go to it in their turn, once its own event loop runs (given before,
  // a Return typed ahead would answer it before its loop starts, which would then wait
  // on a hidden panel); the panel is made the active window first, since a file panel
  // typed into before it has the keyboard takes its field for unused. nullptr: none.
  // The caller tells when the panel's loop runs (setTypeAheadPanelRunning). A question
  // (takesKeys false) takes none of them: a key typed before it showed never answers
  // it, and is dropped.
  static void setTypeAheadPanel(QDialog* panel, bool takesKeys = true);
  static void setTypeAheadPanelRunning();
  static QDialog* typeAheadPanel();

  // The window the program makes main when the one with the keyboard closes: the shown
  // window that had the keyboard last, nullptr when none.
  static QWindow* windowToMakeMain();

  // The window is about to close (its close accepted). Without a window manager, if it
  // has the keyboard, the window the program makes main next gets it straight from the
  // window system before the window goes, so that no key typed meanwhile falls to the
  // root window and whatever lies under the pointer.
  static void beforeClosing(QWidget* window);

  // Whether a window manager runs on the display (false on a platform without one).
  static bool hasWindowManager();

private:
  class Router;
};

}  // namespace kivo

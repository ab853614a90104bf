// The one base of every window of the program's documents (DocumentWindowController
// adds the document).
//
// A window controller is the window itself, owned through a WindowControllerHost
// (the application and the document the window belongs to). The base gives every
// window of the program the same life:
//   - loading: windowDidLoad runs once, before the window is first shown; the window
//     then adds its own item to the Window menu (windowMenuTitle);
//   - becoming key or main and resigning it: the application's main window is the
//     last document window that became active; a panel or sheet in front of it leaves
//     it main. A window activated while work runs (ModalSession) becomes key and main
//     only once the work has ended. Becoming main rebuilds the "機能" menu with the window's own commands,
//     lets the document rebuild its menus, and lets output windows that wait for an
//     update recompute;
//   - the refresh rule (updateUI): recompute at once when forced, when main, or when
//     "Auto Update All Output Windows" is on; otherwise remember that an update is due;
//   - placement: the first position cascades from the host's origin window by the
//     window's position in the "伝票・帳票" menu; the host remembers the frame of
//     windows like this one, and the user defaults keep each kind's size;
//   - closing: the host is asked first (the document settles the rows being edited);
//     the windows that stand for the document close the document with them;
//   - the changed mark of the document in the title.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QString>

class QMenu;

namespace kivo {

class MainMenu;
class SheetController;
class WindowControllerHost;

class WindowController : public QMainWindow {
  Q_OBJECT
public:
  explicit WindowController(WindowControllerHost* host, QWidget* parent = nullptr);
  ~WindowController() override;

  WindowControllerHost* host() const { return host_; }
  MainMenu* mainMenu() const { return mainMenu_; }

  // --- life
  // Loads the window when needed, shows it, brings it to the front and makes it key.
  void showWindow();
  bool isWindowLoaded() const { return loaded_; }
  void loadWindowIfNeeded();
  // Closing this window closes the document (information, new-document and password
  // windows).
  virtual bool shouldCloseDocument() const { return false; }
  // Closes without asking the document (the document closes its windows this way).
  void closeWithoutAsking();

  // --- main and key
  bool isMainWindow() const;

  // --- refresh rule
  virtual void updateUI(bool force);
  virtual bool doNeedUpdate() const { return doNeedUpdate_; }
  void updateUI() { updateUI(false); }

  // --- the document's hooks
  // Settles the row or record being edited into the document (registers a typed row,
  // commits an asset, ends a cell edit). False keeps a save or a close from going on;
  // the window has then shown why.
  virtual bool settleEditing() { return true; }
  // Settles without a word, for a save while the window is not the user's: what is
  // finished is registered, what is not stays as typed.
  virtual void settleFinishedEditing() {}
  // Ends the editing of a table cell the window edits in place; false when the edit
  // is invalid and stays.
  virtual bool deselectEditingCell() { return true; }
  // A table cell of the window is being edited.
  virtual bool isEditingCell() const { return false; }

  // --- printing, through the application's print commands
  virtual bool validatePrintMenuItem() const { return false; }
  virtual void printDocument() {}
  virtual void pageSetup() {}

  // --- sheets
  // A sheet (or an alert sheet) is attached to this window.
  bool hasAttachedSheet() const;
  SheetController* attachedSheetController() const;
  // Ends a sheet attached to this window before another opens on it; a sheet that
  // blocks the document's commands (a master-list editor) stays.
  virtual void closeAttachedSheet();

  // --- placement
  // The step of the cascade: a window stands this far right and down of the origin
  // window per position of its item in "伝票・帳票".
  static constexpr int kCascadeRight = 21;
  static constexpr int kCascadeDown = 23;
  // Places the window for its first showing: the frame the document remembers for this
  // kind, else a cascade from the document information window by the window's position
  // in "伝票・帳票", sized from the user defaults; fitted within the screen, title bar and
  // borders included, and fitted again once the window system has framed it.
  virtual void moveWindowToInitialPositionWithDisplay(bool display);
  // The frame (outer top-left, inner size) moved, and made smaller where needed, so
  // that the window with its title bar and borders lies within the available area.
  QRect frameOnScreen(const QRect& frame, const QRect& available) const;
  // The available area of the screen the window is on (the primary one before it is
  // shown).
  QRect availableScreenGeometry() const;
  // The origin the window had when it was first loaded.
  QPoint windowFrameOriginWhenLoaded() const { return originWhenLoaded_; }
  // The window's frame as the host remembers it: outer top-left, inner size.
  QRect windowFrame() const;
  void setWindowFrame(const QRect& frame);

  // --- titles
  // The title for the document's display name; the changed mark follows it.
  virtual QString windowTitleForDocumentDisplayName(const QString& displayName) const { return displayName; }
  void synchronizeWindowTitleWithDocumentName();
  // Gives the window's Window-menu item its current title.
  void updateWindowMenuItemTitle();

  // Becoming main and key: called by the application as windows are activated.
  void becomeMain();
  void resignMain();

protected:
  // Builds the window's contents; called once before the first showing.
  virtual void windowDidLoad() {}
  // The title of the window's item in the Window menu (empty: none).
  virtual QString windowMenuTitle() const { return {}; }
  // The title of the window's item in "伝票・帳票", which decides its cascade (empty: the
  // window is not placed by the cascade).
  virtual QString denpyouAndCyouhyouItemTitle() const { return {}; }
  // The user-defaults keys of the window's size (null: none kept).
  virtual const char* windowWidthDefaultsKey() const { return nullptr; }
  virtual const char* windowHeightDefaultsKey() const { return nullptr; }
  // Recomputes and shows the window's rows.
  virtual void recomputeUI() {}
  // Fills the "機能" menu with the window's commands when it becomes main.
  virtual void fillFunctionMenu(QMenu* menu) {}
  // A "機能" item carries the window's command for it (the window's own enum class) in
  // its data; the window enables its items by their commands, never by their titles.
  template <class FunctionCommand>
  static void setFunctionCommand(QAction* item, FunctionCommand command)
  {
    item->setData(static_cast<int>(command));
  }
  template <class FunctionCommand>
  static FunctionCommand functionCommandOf(const QAction* item)
  {
    return static_cast<FunctionCommand>(item->data().toInt());
  }

  virtual void windowDidBecomeMain() {}
  virtual void windowDidResignMain() {}
  virtual void windowDidBecomeKey() {}
  virtual void windowDidResignKey() {}
  virtual void windowWillCloseHook() {}

  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Return and Enter that no field took press the window's default button, as they
  // would in a dialog.
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  class ClickWatch;
  class ModalActivationWatch;

  void rememberFrame();
  // Becoming key (and main) or resigning it, told to the host and the window.
  void activationDidChange();
  // A press on the window while it is neither active nor main: it becomes main before
  // the press acts (see ClickWatch).
  void clickedWhileInactive();
  // Becoming key at the user's hand (activated, or pressed while inactive), told to the
  // host. When that brings another window forward with an alert or sheet to answer
  // first (a ledger cell that cannot end its edit), this window was refused: no press
  // acts on it while that alert or sheet is shown.
  void becomeKeyForUser();
  bool isRefusedForModal() const { return refusedBy_ && refusedBy_->isVisible(); }
  // Raises the window, and above it the sheet shown on it and the alert shown on that:
  // without a window manager nothing else keeps them over their window.
  void bringToFront();
  // The alert or sheet shown on the window, the last one shown when several are.
  QWidget* shownModalChild() const;

  WindowControllerHost* host_;
  MainMenu* mainMenu_ = nullptr;
  bool loaded_ = false;
  bool placed_ = false;
  bool closing_ = false;
  bool closeWithoutAsking_ = false;
  bool doNeedUpdate_ = false;
  bool activationPutOff_ = false;
  QPoint originWhenLoaded_;
  QPointer<QWidget> refusedBy_;  // the alert or sheet that refused the window (becomeKeyForUser)
};

}  // namespace kivo

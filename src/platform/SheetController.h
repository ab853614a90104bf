// The base of every sheet: a dialog attached, window-modally, to one window.
//
// A sheet ends through one action (endSheetWithSender) whose sender is compared with
// the OK button: OK first stores the sheet's choice (storeChoice) and ends the sheet
// with return code 1; any other sender ends it with 0. abortSheet ends it as Cancel
// would. The end handler given to beginSheet receives the code and acts only on 1.
//
// Return and Enter press the sheet's default button only when nothing took them: a
// field that acts on the key (opens a picker or a panel, searches, refuses its text)
// says so with takeReturnKey while the key is on its way.
//
// A click likewise: a press on OK, Cancel or any control of the sheet that takes the
// focus from a field whose text opens a picker reaches that control only after the
// picker has closed, the mouse long released over the picker. The picker says so with
// spendMousePress as it closes, and the press ends there: nothing is left drawn
// pressed, waiting for a release that never comes.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QKeyEvent;

namespace kivo {

class SheetController : public QDialog {
  Q_OBJECT
public:
  static constexpr int kOK = 1;
  static constexpr int kCancel = 0;

  explicit SheetController(QWidget* parent = nullptr);

  // Attaches the sheet to the window and shows it, centred on the window and wholly on
  // its screen; the window stays open for other applications' input but not for its
  // own until the sheet ends. The end handler runs once the sheet has ended (for a
  // sheet the user answered, once the window has the keyboard again), and never once
  // the program has closed the window meanwhile.
  void beginSheet(QWidget* window, std::function<void(int returnCode)> endHandler);
  bool isSheetAttached() const { return attached_; }
  QWidget* sheetWindow() const { return window_; }

  // The sheet's one ending action.
  void endSheetWithSender(QObject* sender);
  // Ends the sheet as Cancel would (before another sheet opens on the window).
  void abortSheet();

  // A sheet that edits the document's settings or master lists (company properties,
  // accounts, divisions): while it is attached, the guards refuse commands that would
  // show other windows of the document.
  virtual bool blocksDocumentCommands() const { return false; }

  // The sheet attached to the window, or nullptr.
  static SheetController* attachedSheet(const QWidget* window);

  // Called by whatever acts on a Return or Enter typed in a widget of a sheet (from:
  // that widget, or an object whose parents lead to it): the sheet's default button
  // leaves that key alone. Nothing happens when no such key is on its way.
  static void takeReturnKey(QObject* from);
  // Called by a picker or panel of a sheet's field as it closes (from: the field, the
  // sheet, or an object whose parents lead to it): a mouse press on its way to the
  // sheet's controls now was the one that opened it, and goes no further.
  static void spendMousePress(QObject* from);

  // Called as a window becomes active: when the window system activated it while its
  // alert or sheet, or an application-modal window, blocks it (the second click of the
  // double-click that opened the alert, a click on the window), that modal window takes
  // the keyboard, which the blocked window could not use (and, activated, comes to the
  // front with the window it is shown on).
  static void giveKeyboardToModalOver(QWidget* window);
  // Raises the window, then the sheet or alert shown on it, then the alert shown on
  // that: without a window manager nothing else keeps them above their window, or
  // brings a window with its sheet forward when the user presses on either.
  static void bringToFrontWithModals(QWidget* window);
  // The window a sheet or alert is shown on, through the alerts shown on sheets (the
  // window itself when it is no sheet or alert).
  static QWidget* windowUnderModals(QWidget* window);
  // The sheet or alert shown on the window, the last one shown when several are.
  static QWidget* shownModalChild(const QWidget* window);
  // Whether the modal window holds the window's input: an application-modal one holds
  // every window, a window-modal one (a sheet, an alert sheet, an alert on a sheet)
  // only the window it is shown on.
  static bool holdsWindow(const QWidget* modal, const QWidget* window);

  // Where a dialog of the size goes over the window: centred on it, then moved (and
  // made smaller when it must) to lie wholly within the screen's available area with
  // room for its title bar. Alerts use it too.
  static QRect placementOnWindow(const QSize& size, const QRect& windowFrame, const QRect& available);
  static void placeOnWindow(QWidget* dialog, const QWidget* window);

protected:
  // The button whose action means OK.
  virtual QAbstractButton* okButton() const = 0;
  // Keeps what the user chose; called before the sheet ends with OK.
  virtual void storeChoice() {}

  void reject() override;  // escape and the close box: as Cancel
  void done(int r) override;
  // Placed again once the window manager has framed the sheet, so that its frame, not
  // a guess of it, lies within the screen.
  void moveEvent(QMoveEvent* event) override;
  // The default button answers a Return or Enter that no field took.
  void keyPressEvent(QKeyEvent* event) override;
  // An alert over the sheet takes the keyboard the sheet is given.
  void changeEvent(QEvent* event) override;

private:
  class InputWatcher;

  // answered: by the user (a button, Escape, the close box), not ended by the program.
  void finish(int returnCode, bool answered);
  // Back to the parent the sheet had before it was attached.
  void goHome();
  // Follows each Return and Enter typed in the sheet's widgets on its way to the sheet.
  void watchKeyPress(QWidget* receiver, const QKeyEvent* key);
  void forgetReturnKey();
  // Whether a mouse press reaching the widget is one a picker has spent.
  bool takeSpentMousePress(const QWidget* receiver);

  QPointer<QWidget> window_;
  // The sheet's own parent while it is attached to a window that is not that parent.
  QPointer<QWidget> home_;
  bool hasHome_ = false;
  bool homeIsWidget_ = false;
  // The Return or Enter on its way from returnReceiver_ up to the sheet, and whether
  // a field took it.
  QPointer<InputWatcher> inputWatcher_;
  const QKeyEvent* returnKey_ = nullptr;
  QPointer<QWidget> returnReceiver_;
  bool returnTaken_ = false;
  // Set as a picker closes, until events run again: a press arriving now is the one
  // that opened it.
  bool mousePressSpent_ = false;
  std::function<void(int)> endHandler_;
  bool attached_ = false;
  bool placeWhenFramed_ = false;
};

}  // namespace kivo

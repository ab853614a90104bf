// The application side of one open document: the books (MyDocument), the file they
// come from and its lock, the undo stack, and every window controller of the document
// with the controllers the document keeps for its life.
//
// It implements the document's refresh protocol towards the windows, the hooks that
// settle the rows being edited before a save or a close, the "save changes?" question,
// and the document's part of the main menu (the cash-book submenu and the user's
// shortcut items).
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "document/DocumentWindow.h"
#include "document/MyDocument.h"
#include "journal/ShiwakenikkiCondition.h"

class QUndoStack;
class QWidget;

namespace kivo {

class DocumentLock;
class ProgressStateController;
class WindowController;

class DocumentSession : public QObject, public DocumentHost {
  Q_OBJECT
public:
  using Kind = DocumentWindow::Kind;

  // The controllers a document keeps once made: each absent until first stored, then
  // kept (and owned) until the document closes.
  enum class OwnedController {
    InputHiduke,
    InputKingaku,
    ProgressState,
    ShiwakenikkiDisplayCondition,
    Period,
    PeriodToPrintZandakaShisan,
    KanjyoumotocyouPreview,
    SelectPluralKamoku,
    SelectPluralHojyoKamoku,
    SelectPluralKamokuWithHojyo,
    KaisyahouHoukokusyo,
    FurikaedenpyouBookmark,
    FurikaedenpyouSelect,
    Houkokusyo,
  };

  // An untitled document (filePath empty) or one read from filePath.
  explicit DocumentSession(std::unique_ptr<MyDocument> document, const QString& filePath = QString(),
                           QObject* parent = nullptr);
  ~DocumentSession() override;

  MyDocument& document() { return *document_; }
  const MyDocument& document() const { return *document_; }

  // --- file
  const QString& filePath() const { return filePath_; }
  bool isUntitled() const { return filePath_.isEmpty(); }
  // The name in window titles: the file's name, or "名称未設定" (numbered from the
  // second untitled document on).
  QString displayName() const;
  void setUntitledNumber(int n) { untitledNumber_ = n; }
  bool isDocumentEdited() const { return document_->isDocumentEdited(); }
  void updateChangeCount(MyDocument::ChangeType type) { document_->updateChangeCount(type); }
  QUndoStack* undoManager() const { return undoStack_.get(); }

  // --- the lock of the file
  // Takes the lock of the file; when another running program holds it, tells the user
  // that this copy cannot save there. Called once the document is opened.
  void acquireLockAfterOpening();
  bool holdsLock() const;

  // --- window controllers
  const std::vector<WindowController*>& windowControllers() const { return windowControllers_; }
  // The document takes the controller and keeps it until it closes.
  void addWindowController(WindowController* controller);
  // Called by a controller whose window closed; the controller is deleted later.
  void removeWindowController(WindowController* controller);
  // The document's first window: the new-document window when the company has no
  // name, the password prompt when it has a password, else the information window.
  void makeWindowControllers();
  void showWindows();
  // Opens the document information window, the document's hub (after the new-document
  // window or the password prompt).
  WindowController* showDocumentInfoWindow();

  WindowController* firstWindowControllerOfKind(Kind kind) const;
  WindowController* furikaedenpyouController() const { return firstWindowControllerOfKind(Kind::Furikaedenpyou); }
  WindowController* shiwakenikkiController() const { return firstWindowControllerOfKind(Kind::Shiwakenikki); }
  WindowController* documentInfoController() const { return firstWindowControllerOfKind(Kind::DocumentInfo); }
  WindowController* zandakaShisanController() const { return firstWindowControllerOfKind(Kind::ZandakaShisan); }
  WindowController* suiiShisanController() const { return firstWindowControllerOfKind(Kind::SuiiShisan); }
  WindowController* genkasyoukyakuShisanListController() const
  {
    return firstWindowControllerOfKind(Kind::GenkasyoukyakuShisanList);
  }
  // The cash book of the account and sub-account (-1: a book without sub-account).
  WindowController* suitoucyouControllerOfKamokuCode(int kamokuCode, int hojyoKamokuCode) const;
  // The window of this document that is in front, or nullptr.
  WindowController* frontWindowController() const;

  // --- remembered frames: one per window kind (all cash books share one, all ledgers
  // share one); width 0 until a window of the kind was placed; not stored in the file.
  QRect windowFrame(Kind kind) const;
  void setWindowFrame(Kind kind, const QRect& frame);

  // --- owned controllers
  QObject* ownedController(OwnedController which) const;
  // Stores the controller; the document owns it from now on.
  void setOwnedController(OwnedController which, QObject* controller);
  template <class T>
  T* ownedControllerAs(OwnedController which) const
  {
    return qobject_cast<T*>(ownedController(which));
  }
  // The shared progress sheet, made on first use.
  ProgressStateController* progressStateController();

  // --- refresh protocol
  // The fixed order after a change of the journal (see MyDocument).
  void shiwakeArrayDidChange(bool removeAllUndoActions) { document_->shiwakeArrayDidChange(removeAllUndoActions); }
  void updateAllOutputWindowControllersUI() { document_->updateAllOutputWindowControllersUI(); }
  // With "Auto Update All Output Windows" off, recomputes every output window that
  // waits for an update, main or not; with it on, nothing. The setting is only read.
  void updateAllOutputWindowControllersUIIfNeedUpdate();
  void updateAllWindowControllersUI() { document_->updateAllWindowControllersUI(); }
  // Asks every ledger window to end its cell editing; false as soon as one refuses.
  bool deselectKanjyoumotocyouCellsOfAllShiwake();
  // A window of the document became main: the document's menus are rebuilt into it;
  // unless a ledger row cannot end its editing, an output window catches up with the
  // changes it missed in the background, and so do the others that wait.
  void windowControllerDidBecomeMain(WindowController* controller);

  // --- save and close hooks
  // Before saving: every window that edits the books settles its row or record (the
  // voucher, every cash book, the ledgers, the asset register); false stops the save.
  bool setEditingShiwakeToShiwakeArrayToSave();
  // Before a window closes: the same; a window that closes the document then asks
  // whether to save the changes. False keeps the window open.
  bool shouldCloseWindowController(WindowController* controller);
  // Asks "save changes?" when the document has changes; false when the user cancels
  // or the save fails.
  bool canCloseDocument();

  // --- saving
  // Saves to the document's file (asks for one when untitled). A failed save says so
  // and leaves the document marked as changed.
  bool saveDocument();
  bool saveDocumentAs();
  bool saveToPath(const QString& path);

  // Closes every window of the document and the document itself, without asking.
  void close();
  bool isClosing() const { return closing_; }

  // --- menus
  void setSubmenuOfShowSuitoucyouWindow();
  void setSubmenuOfDenpyouAndCyouhyouMenuItem();
  // Both of the above, as a window loads or becomes main.
  void rebuildDocumentMenus();
  void removeWindowMenuItemOfWindowController(WindowController* controller);

  // The journal window's display condition: one per open document, every stage off
  // at first, never written to the file.
  ShiwakenikkiCondition& shiwakenikkiCondition() { return shiwakenikkiCondition_; }

  // --- password
  bool wasOpenedByLimitedUserPassword() const { return document_->wasOpenedByLimitedUserPassword(); }
  void setWasOpenedByLimitedUserPassword(bool v) { document_->setWasOpenedByLimitedUserPassword(v); }
  bool hasPassword() const;

  // --- DocumentHost
  void documentEditedChanged(bool edited) override;
  void removeAllUndoActions() override;

  static constexpr const char* kUntitledName = "名称未設定";
  static constexpr const char* kCannotSaveTitle = "保存できません";
  static constexpr const char* kSaveButton = "保存";
  static constexpr const char* kDontSaveButton = "保存しない";

private:
  bool ensureLockForSaving(const QString& path, DocumentLock* lock);
  QWidget* alertWindow() const;
  void synchronizeWindowTitles();

  std::unique_ptr<MyDocument> document_;
  ShiwakenikkiCondition shiwakenikkiCondition_;
  QString filePath_;
  int untitledNumber_ = 1;
  std::unique_ptr<DocumentLock> lock_;
  std::unique_ptr<QUndoStack> undoStack_;
  std::vector<WindowController*> windowControllers_;
  // Closed controllers waiting for their deferred deletion; they must not outlive the
  // document they point to.
  std::vector<QPointer<WindowController>> closedControllers_;
  std::map<Kind, QRect> windowFrames_;
  // A controller's window may be parented to one of the document's windows for a
  // while; the pointers notice when Qt deletes it with that window.
  std::map<OwnedController, QPointer<QObject>> ownedControllers_;
  bool closing_ = false;
};

}  // namespace kivo

// One open document as its windows see it: the books (MyDocument), the undo stack,
// every window controller of the document and the controllers the document keeps
// for its life, the frames it remembers, the refresh protocol towards the windows,
// the hooks that settle the rows being edited, and the document's part of the main
// menu (the cash-book submenu and the user's shortcut items).
//
// What only the application can do (the file and its lock, saving and closing, the
// main window, the Window menu, the guards that refuse a command while a sheet or
// the preferences are in the way) is left to the application's DocumentSession,
// which derives from this class; windows reach it through the virtual members below.
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
#include "platform/WindowControllerHost.h"

class QUndoStack;
class QWidget;

namespace kivo {

class DocumentWindowController;
class ProgressStateController;

class OpenDocument : public QObject, public WindowControllerHost, public DocumentHost {
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
    KanjyoumotocyouPrintAccessory,
  };

  explicit OpenDocument(std::unique_ptr<MyDocument> document, QObject* parent = nullptr);
  ~OpenDocument() override;

  MyDocument& document() { return *document_; }
  const MyDocument& document() const { return *document_; }
  QUndoStack* undoManager() const { return undoStack_.get(); }
  bool isDocumentEdited() const override { return document_->isDocumentEdited(); }
  void updateChangeCount(MyDocument::ChangeType type) { document_->updateChangeCount(type); }
  bool wasOpenedByLimitedUserPassword() const { return document_->wasOpenedByLimitedUserPassword(); }

  // --- window controllers
  const std::vector<DocumentWindowController*>& windowControllers() const { return windowControllers_; }
  // The document takes the controller and keeps it until it closes.
  void addWindowController(DocumentWindowController* controller);
  // Called by a controller whose window closed; the controller is deleted later.
  void removeWindowController(DocumentWindowController* controller);
  void showWindows();

  DocumentWindowController* firstWindowControllerOfKind(Kind kind) const;
  DocumentWindowController* furikaedenpyouController() const
  {
    return firstWindowControllerOfKind(Kind::Furikaedenpyou);
  }
  DocumentWindowController* shiwakenikkiController() const { return firstWindowControllerOfKind(Kind::Shiwakenikki); }
  DocumentWindowController* documentInfoController() const { return firstWindowControllerOfKind(Kind::DocumentInfo); }
  DocumentWindowController* zandakaShisanController() const { return firstWindowControllerOfKind(Kind::ZandakaShisan); }
  DocumentWindowController* suiiShisanController() const { return firstWindowControllerOfKind(Kind::SuiiShisan); }
  DocumentWindowController* genkasyoukyakuShisanListController() const
  {
    return firstWindowControllerOfKind(Kind::GenkasyoukyakuShisanList);
  }
  // The cash book of the account and sub-account (-1: a book without sub-account).
  DocumentWindowController* suitoucyouControllerOfKamokuCode(int kamokuCode, int hojyoKamokuCode) const;
  // The window of this document that is in front, or nullptr.
  DocumentWindowController* frontWindowController() const;

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
  // Asks every ledger window to end its cell editing and to pass on the entries it
  // changed, so that the cash books and reports show them before another window
  // shows an entry or comes forward; false as soon as one refuses.
  bool deselectKanjyoumotocyouCellsOfAllShiwake();

  // --- save and close hooks
  // Before saving: every window that edits the books settles its row or record (the
  // voucher, the cash books, the ledgers, the asset register); false stops the save.
  // Only the cash book in front may stop it: one in the background registers a
  // finished row without a word and keeps an unfinished one as typed.
  bool setEditingShiwakeToShiwakeArrayToSave();
  // Before the document closes or the application quits: every window that edits the
  // books settles its row or record, each with its sheet; false keeps the document
  // open.
  bool settleEditingBeforeClose();

  // --- menus
  void setSubmenuOfShowSuitoucyouWindow();
  void setSubmenuOfDenpyouAndCyouhyouMenuItem();
  // Both of the above, as a window loads or becomes main.
  void rebuildDocumentMenus();

  // --- what the application does for the document
  // Asks "save changes?" when the document has changes; false when the user cancels
  // or the save fails.
  virtual bool canCloseDocument() = 0;
  // Closes every window of the document and the document itself, without asking.
  virtual void close() = 0;
  // Opens the document information window, the document's hub (after the new-document
  // window or the password prompt).
  virtual DocumentWindowController* showDocumentInfoWindow() = 0;
  // The application's main window, when it is one of this document's.
  virtual DocumentWindowController* mainWindowController() const = 0;
  // How many documents the application has open (this one included).
  virtual int numberOfOpenDocuments() const = 0;
  // The guards of the commands that open windows: each refuses with its own alert
  // (a sheet in the way, the preferences open, no fonts to print with).
  virtual bool canShowFurikaedenpyouWindow() = 0;
  virtual bool canPrintKanjyoumotocyouOfPluralKamoku() = 0;
  // When a window of the document holds a sheet that blocks document commands: says
  // so on the main window (or on fallbackParent when there is none), its OK bringing
  // that window to the front, and answers that window; else nullptr.
  virtual DocumentWindowController* refuseForBlockingSheet(QWidget* fallbackParent = nullptr) = 0;

  // --- WindowControllerHost, the document's part
  // Before one window closes the voucher, the ledgers, the asset register, the cash
  // book in front and the closing window settle, each with its sheet, false keeping
  // the window open; another cash book keeps its row as typed in its window, which
  // stays open, and stays behind. A window that closes the document settles every one
  // and asks about saving.
  bool shouldCloseWindowController(WindowController* controller) override;
  void windowControllerDidClose(WindowController* controller, bool closesDocument) override;
  void windowControllerDidBecomeMain(WindowController* controller) override;
  const WindowController* cascadeOriginWindowController() const override;
  // Nothing of the document's own: the application's side overrides it.
  void windowControllerWillClose(WindowController* controller) override {}
  QRect rememberedWindowFrame(const WindowController* controller) const override;
  void rememberWindowFrame(const WindowController* controller, const QRect& frame) override;

  // --- DocumentHost
  void documentEditedChanged(bool edited) override;
  void removeAllUndoActions() override;

protected:
  void synchronizeWindowTitles();
  // Deletes every window controller, the closed ones waiting for deletion too. The
  // derived class calls it from its destructor, while the windows can still tell it
  // that they go.
  void deleteWindowControllers();

private:
  // What the rows are settled for, which decides the cash books that settle with their
  // sheets: for a save and before a window closes the main window's and the closing
  // window's; before the document closes every one. For a save the other books settle
  // without a word; before a window closes they are left as typed.
  enum class Settling { Save, WindowClose, DocumentClose };
  // Every window that edits the books settles its row or record, in the order of their
  // kinds, each with its sheet but for the cash books the settling leaves aside; false
  // when one could not.
  bool settleEditingWindows(Settling settling, const DocumentWindowController* closing = nullptr);

  std::unique_ptr<MyDocument> document_;
  std::unique_ptr<QUndoStack> undoStack_;
  std::vector<DocumentWindowController*> windowControllers_;
  // Closed controllers waiting for their deferred deletion; they must not outlive the
  // document they point to.
  std::vector<QPointer<DocumentWindowController>> closedControllers_;
  std::map<Kind, QRect> windowFrames_;
  // A controller's window may be parented to one of the document's windows for a
  // while; the pointers notice when Qt deletes it with that window.
  std::map<OwnedController, QPointer<QObject>> ownedControllers_;
};

}  // namespace kivo

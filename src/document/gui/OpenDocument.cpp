#include "document/gui/OpenDocument.h"

#include <QUndoStack>
#include <algorithm>

#include "document/gui/DocumentWindowController.h"
#include "document/gui/ProgressStateController.h"
#include "model/Kamoku.h"
#include "platform/MainMenu.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

// The windows that edit the books, in the order they settle their rows before a save
// or a close.
constexpr DocumentWindow::Kind kEditingKinds[] = {
    DocumentWindow::Kind::Furikaedenpyou,
    DocumentWindow::Kind::Suitoucyou,
    DocumentWindow::Kind::Kanjyoumotocyou,
    DocumentWindow::Kind::GenkasyoukyakuShisanList,
};

constexpr const char* kKanjyoumotocyouParentTitle = MainMenu::kKanjyoumotocyouItemTitle;

}  // namespace

OpenDocument::OpenDocument(std::unique_ptr<MyDocument> document, QObject* parent)
    : QObject(parent), document_(std::move(document)), undoStack_(std::make_unique<QUndoStack>())
{
  document_->setHost(this);
}

OpenDocument::~OpenDocument()
{
  deleteWindowControllers();
  document_->setHost(nullptr);
  for (auto& [which, controller] : ownedControllers_) delete controller.data();
}

void OpenDocument::deleteWindowControllers()
{
  const std::vector<DocumentWindowController*> controllers = windowControllers_;
  windowControllers_.clear();
  for (DocumentWindowController* wc : controllers) {
    document_->removeWindow(wc);
    delete wc;
  }
  for (const QPointer<DocumentWindowController>& wc : closedControllers_) delete wc.data();
  closedControllers_.clear();
}

// --- window controllers

void OpenDocument::addWindowController(DocumentWindowController* controller)
{
  if (!controller ||
      std::find(windowControllers_.begin(), windowControllers_.end(), controller) != windowControllers_.end())
    return;
  windowControllers_.push_back(controller);
  document_->addWindow(controller);
}

void OpenDocument::removeWindowController(DocumentWindowController* controller)
{
  auto it = std::find(windowControllers_.begin(), windowControllers_.end(), controller);
  if (it == windowControllers_.end()) return;
  windowControllers_.erase(it);
  document_->removeWindow(controller);
  windowControllerWillClose(controller);
  closedControllers_.emplace_back(controller);
  controller->deleteLater();
}

void OpenDocument::showWindows()
{
  const std::vector<DocumentWindowController*> controllers = windowControllers_;
  for (DocumentWindowController* wc : controllers) wc->showWindow();
}

DocumentWindowController* OpenDocument::firstWindowControllerOfKind(Kind kind) const
{
  for (DocumentWindowController* wc : windowControllers_)
    if (wc->windowKind() == kind) return wc;
  return nullptr;
}

DocumentWindowController* OpenDocument::suitoucyouControllerOfKamokuCode(int kamokuCode, int hojyoKamokuCode) const
{
  for (DocumentWindowController* wc : windowControllers_)
    if (wc->isSuitoucyouOf(kamokuCode, hojyoKamokuCode)) return wc;
  return nullptr;
}

DocumentWindowController* OpenDocument::frontWindowController() const
{
  if (DocumentWindowController* main = mainWindowController()) return main;
  for (DocumentWindowController* wc : windowControllers_)
    if (wc->isVisible()) return wc;
  return nullptr;
}

// --- frames

QRect OpenDocument::windowFrame(Kind kind) const
{
  auto it = windowFrames_.find(kind);
  return it == windowFrames_.end() ? QRect() : it->second;
}

void OpenDocument::setWindowFrame(Kind kind, const QRect& frame) { windowFrames_[kind] = frame; }

QRect OpenDocument::rememberedWindowFrame(const WindowController* controller) const
{
  const DocumentWindowController* wc = DocumentWindowController::of(controller);
  return wc ? windowFrame(wc->windowKind()) : QRect();
}

void OpenDocument::rememberWindowFrame(const WindowController* controller, const QRect& frame)
{
  if (const DocumentWindowController* wc = DocumentWindowController::of(controller))
    setWindowFrame(wc->windowKind(), frame);
}

const WindowController* OpenDocument::cascadeOriginWindowController() const { return documentInfoController(); }

// --- owned controllers

QObject* OpenDocument::ownedController(OwnedController which) const
{
  auto it = ownedControllers_.find(which);
  return it == ownedControllers_.end() ? nullptr : it->second;
}

void OpenDocument::setOwnedController(OwnedController which, QObject* controller)
{
  QPointer<QObject>& slot = ownedControllers_[which];
  if (slot == controller) return;
  delete slot.data();
  slot = controller;
}

ProgressStateController* OpenDocument::progressStateController()
{
  auto* progress = ownedControllerAs<ProgressStateController>(OwnedController::ProgressState);
  if (!progress) {
    progress = new ProgressStateController();
    setOwnedController(OwnedController::ProgressState, progress);
  }
  return progress;
}

// --- refresh protocol

void OpenDocument::updateAllOutputWindowControllersUIIfNeedUpdate()
{
  document_->updateAllOutputWindowControllersUIIfNeedUpdate(
      UserDefaults::standardUserDefaults().boolForKey(KIVOAutoUpdateAllOutputWindowsKey));
}

bool OpenDocument::deselectKanjyoumotocyouCellsOfAllShiwake()
{
  const std::vector<DocumentWindowController*> controllers = windowControllers_;
  for (DocumentWindowController* wc : controllers)
    if (wc->windowKind() == Kind::Kanjyoumotocyou && !wc->settleEditing()) return false;
  return true;
}

void OpenDocument::windowControllerDidBecomeMain(WindowController* controller)
{
  rebuildDocumentMenus();
  // A ledger row that cannot end its editing keeps the rest from happening.
  DocumentWindowController* wc = DocumentWindowController::of(controller);
  if (deselectKanjyoumotocyouCellsOfAllShiwake() && wc && wc->isOutputWindow()) {
    updateAllOutputWindowControllersUIIfNeedUpdate();
    if (wc->doNeedUpdate()) wc->updateUI(true);
  }
}

// --- save and close hooks

bool OpenDocument::setEditingShiwakeToShiwakeArrayToSave()
{
  // A cash book in the background settles without a word: a finished row is
  // registered, so that the save does not lose it, and an unfinished one stays as
  // typed, neither stopping the save nor bringing its book to the front.
  return settleEditingWindows(Settling::Save);
}

bool OpenDocument::settleEditingBeforeClose()
{
  // The books in the background too, each with its sheet: a row they could not
  // register would be lost with the windows.
  return settleEditingWindows(Settling::DocumentClose);
}

bool OpenDocument::settleEditingWindows(Settling settling, const DocumentWindowController* closing)
{
  const DocumentWindowController* front = mainWindowController();
  for (Kind kind : kEditingKinds) {
    const std::vector<DocumentWindowController*> controllers = windowControllers_;
    for (DocumentWindowController* wc : controllers) {
      if (wc->windowKind() != kind) continue;
      const bool aside =
          settling != Settling::DocumentClose && kind == Kind::Suitoucyou && wc != front && wc != closing;
      if (!aside) {
        if (!wc->settleEditing()) return false;
      } else if (settling == Settling::Save) {
        wc->settleFinishedEditing();
      }
    }
  }
  return true;
}

bool OpenDocument::shouldCloseWindowController(WindowController* controller)
{
  if (controller && controller->shouldCloseDocument()) return settleEditingBeforeClose() && canCloseDocument();
  // A book in the background stays open with its row as typed: only the book in front
  // and the closing window's own settle with their sheets.
  return settleEditingWindows(Settling::WindowClose, DocumentWindowController::of(controller));
}

void OpenDocument::windowControllerDidClose(WindowController* controller, bool closesDocument)
{
  if (DocumentWindowController* wc = DocumentWindowController::of(controller)) removeWindowController(wc);
  if (closesDocument) close();
}

// --- menus

void OpenDocument::setSubmenuOfShowSuitoucyouWindow()
{
  const auto keyOf = [](int digit) {
    return digit >= 0 && digit <= 9
               ? MainMenu::keySequenceForKeyEquivalent(QString::number(digit), MainMenu::kCommandKeyMask)
               : QKeySequence();
  };
  std::vector<MainMenu::Item> items;
  for (const KamokuPtr& kamoku : document_->codeSortedSuitouKamokuArray()) {
    MainMenu::Item item;
    item.title = QString::fromStdString(kamoku->name());
    item.command = MainMenu::Command::ShowSuitoucyouWindow;
    if (kamoku->activeHojyoKamokuNum() > 0) {
      // An account kept by sub-account has one book per active sub-account.
      for (const HojyoKamokuPtr& hojyo : kamoku->hojyoKamokuArray()) {
        if (!hojyo->isActive()) continue;
        MainMenu::Item sub;
        sub.title = QString::fromStdString(hojyo->name());
        sub.command = MainMenu::Command::ShowSuitoucyouWindow;
        sub.representedObject = (hojyo->code() + 1) * 1000 + kamoku->code();
        sub.key = keyOf(hojyo->keyEquivalentOfSuitoucyouSubMenu());
        item.children.push_back(sub);
      }
    } else {
      item.representedObject = kamoku->code();
      item.key = keyOf(kamoku->keyEquivalentOfSuitoucyouSubMenu());
    }
    items.push_back(item);
  }
  for (DocumentWindowController* wc : windowControllers_)
    if (wc->mainMenu()) wc->mainMenu()->setSuitoucyouItems(items);
}

void OpenDocument::setSubmenuOfDenpyouAndCyouhyouMenuItem()
{
  std::vector<MainMenu::Item> items;
  for (const SubMenuItemPtr& record : document_->subMenuItemArray()) {
    // Only shortcuts this program can open are shown.
    if (record->parentMenuItemTitle() != kKanjyoumotocyouParentTitle) continue;
    MainMenu::Item item;
    item.title = QString::fromStdString(record->title());
    item.command = MainMenu::Command::ShowShortCutKanjyoumotocyouWindow;
    item.representedObject = static_cast<qlonglong>(record->representedObject());
    item.key = MainMenu::keySequenceForKeyEquivalent(QString::fromStdString(record->keyEquivalent()),
                                                     record->keyEquivalentModifierMask());
    items.push_back(item);
  }
  for (DocumentWindowController* wc : windowControllers_)
    if (wc->mainMenu()) wc->mainMenu()->setShortcutItems(items);
}

void OpenDocument::rebuildDocumentMenus()
{
  setSubmenuOfShowSuitoucyouWindow();
  setSubmenuOfDenpyouAndCyouhyouMenuItem();
}

// --- DocumentHost

void OpenDocument::documentEditedChanged(bool edited)
{
  for (DocumentWindowController* wc : windowControllers_) wc->setWindowModified(edited);
}

void OpenDocument::removeAllUndoActions() { undoStack_->clear(); }

void OpenDocument::synchronizeWindowTitles()
{
  for (DocumentWindowController* wc : windowControllers_) wc->synchronizeWindowTitleWithDocumentName();
}

}  // namespace kivo

#include "document/gui/DocumentSession.h"

#include <QApplication>
#include <QFileInfo>
#include <QUndoStack>
#include <algorithm>

#include "document/DocumentFile.h"
#include "document/gui/AppController.h"
#include "document/gui/DocumentController.h"
#include "document/gui/PasswordController.h"
#include "document/gui/ProgressStateController.h"
#include "platform/AlertSheet.h"
#include "platform/DocumentLock.h"
#include "platform/FilePanel.h"
#include "platform/MainMenu.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "platform/WindowController.h"
#include "setup/gui/DocumentInfoController.h"
#include "setup/gui/NewDocumentController.h"

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

DocumentSession::DocumentSession(std::unique_ptr<MyDocument> document, const QString& filePath, QObject* parent)
    : QObject(parent),
      document_(std::move(document)),
      filePath_(filePath.isEmpty() ? QString() : QFileInfo(filePath).absoluteFilePath()),
      undoStack_(std::make_unique<QUndoStack>())
{
  document_->setHost(this);
  // The Edit menu's undo and redo items follow the stack.
  const auto revalidate = [] {
    if (AppController* app = AppController::sharedAppController()) app->validateMainMenu();
  };
  connect(undoStack_.get(), &QUndoStack::canUndoChanged, this, revalidate);
  connect(undoStack_.get(), &QUndoStack::canRedoChanged, this, revalidate);
}

DocumentSession::~DocumentSession()
{
  document_->setHost(nullptr);
  const std::vector<WindowController*> controllers = windowControllers_;
  windowControllers_.clear();
  for (WindowController* wc : controllers) {
    document_->removeWindow(wc);
    delete wc;
  }
  for (const QPointer<WindowController>& wc : closedControllers_) delete wc.data();
  for (auto& [which, controller] : ownedControllers_) delete controller.data();
}

// --- file

QString DocumentSession::displayName() const
{
  if (!isUntitled()) return QFileInfo(filePath_).completeBaseName();
  const QString name = QString::fromUtf8(kUntitledName);
  return untitledNumber_ <= 1 ? name : name + QLatin1Char(' ') + QString::number(untitledNumber_);
}

bool DocumentSession::hasPassword() const
{
  return !document_->kaisya().password().empty() || !document_->kaisya().limitedUserPassword().empty();
}

void DocumentSession::acquireLockAfterOpening()
{
  if (isUntitled()) return;
  lock_ = std::make_unique<DocumentLock>(filePath_);
  switch (lock_->tryLock()) {
  case DocumentLock::Result::Acquired: break;
  case DocumentLock::Result::HeldElsewhere:
    AlertSheet::runAlert(
        QStringLiteral("この書類は使用中です"),
        QStringLiteral("書類“%1”は、%2このままでは上書き保存できません。変更を残すには別の名前で保存してください。")
            .arg(displayName(), DocumentLock::describeHolder(lock_->holder())));
    break;
  case DocumentLock::Result::Failed:
    AlertSheet::runAlert(QStringLiteral("この書類をロックできません"),
                         QStringLiteral("書類“%1”のロックファイルを作れませんでした（%2）。ほかのプログラムでも"
                                        "同時に開いて保存すると、あとから保存した内容だけが残ります。")
                             .arg(displayName(), lock_->failure()));
    break;
  }
}

bool DocumentSession::holdsLock() const { return lock_ && lock_->isLocked(); }

// --- window controllers

void DocumentSession::addWindowController(WindowController* controller)
{
  if (!controller ||
      std::find(windowControllers_.begin(), windowControllers_.end(), controller) != windowControllers_.end())
    return;
  windowControllers_.push_back(controller);
  document_->addWindow(controller);
}

void DocumentSession::removeWindowController(WindowController* controller)
{
  auto it = std::find(windowControllers_.begin(), windowControllers_.end(), controller);
  if (it == windowControllers_.end()) return;
  windowControllers_.erase(it);
  document_->removeWindow(controller);
  removeWindowMenuItemOfWindowController(controller);
  closedControllers_.emplace_back(controller);
  controller->deleteLater();
}

void DocumentSession::makeWindowControllers()
{
  if (document_->kaisya().name().empty())
    addWindowController(new NewDocumentController(this));
  else if (hasPassword())
    addWindowController(new PasswordController(this));
  else
    addWindowController(new DocumentInfoController(this));
}

void DocumentSession::showWindows()
{
  const std::vector<WindowController*> controllers = windowControllers_;
  for (WindowController* wc : controllers) wc->showWindow();
}

WindowController* DocumentSession::showDocumentInfoWindow()
{
  WindowController* info = documentInfoController();
  if (!info) {
    info = new DocumentInfoController(this);
    addWindowController(info);
  }
  info->showWindow();
  return info;
}

WindowController* DocumentSession::firstWindowControllerOfKind(Kind kind) const
{
  for (WindowController* wc : windowControllers_)
    if (wc->windowKind() == kind) return wc;
  return nullptr;
}

WindowController* DocumentSession::suitoucyouControllerOfKamokuCode(int kamokuCode, int hojyoKamokuCode) const
{
  for (WindowController* wc : windowControllers_) {
    if (wc->isSuitoucyouOf(kamokuCode, hojyoKamokuCode)) return wc;
  }
  return nullptr;
}

WindowController* DocumentSession::frontWindowController() const
{
  AppController* app = AppController::sharedAppController();
  WindowController* main = app ? app->mainWindowController() : nullptr;
  if (main && main->document() == this) return main;
  for (WindowController* wc : windowControllers_)
    if (wc->isVisible()) return wc;
  return nullptr;
}

QWidget* DocumentSession::alertWindow() const { return frontWindowController(); }

// --- frames

QRect DocumentSession::windowFrame(Kind kind) const
{
  auto it = windowFrames_.find(kind);
  return it == windowFrames_.end() ? QRect() : it->second;
}

void DocumentSession::setWindowFrame(Kind kind, const QRect& frame) { windowFrames_[kind] = frame; }

// --- owned controllers

QObject* DocumentSession::ownedController(OwnedController which) const
{
  auto it = ownedControllers_.find(which);
  return it == ownedControllers_.end() ? nullptr : it->second;
}

void DocumentSession::setOwnedController(OwnedController which, QObject* controller)
{
  QPointer<QObject>& slot = ownedControllers_[which];
  if (slot == controller) return;
  delete slot.data();
  slot = controller;
}

ProgressStateController* DocumentSession::progressStateController()
{
  auto* progress = ownedControllerAs<ProgressStateController>(OwnedController::ProgressState);
  if (!progress) {
    progress = new ProgressStateController();
    setOwnedController(OwnedController::ProgressState, progress);
  }
  return progress;
}

// --- refresh protocol

void DocumentSession::updateAllOutputWindowControllersUIIfNeedUpdate()
{
  document_->updateAllOutputWindowControllersUIIfNeedUpdate(
      UserDefaults::standardUserDefaults().boolForKey(KIVOAutoUpdateAllOutputWindowsKey));
}

bool DocumentSession::deselectKanjyoumotocyouCellsOfAllShiwake()
{
  const std::vector<WindowController*> controllers = windowControllers_;
  for (WindowController* wc : controllers)
    if (wc->windowKind() == Kind::Kanjyoumotocyou && !wc->deselectEditingCell()) return false;
  return true;
}

void DocumentSession::windowControllerDidBecomeMain(WindowController* controller)
{
  rebuildDocumentMenus();
  // A ledger row that cannot end its editing keeps the rest from happening.
  if (deselectKanjyoumotocyouCellsOfAllShiwake() && controller->isOutputWindow()) {
    updateAllOutputWindowControllersUIIfNeedUpdate();
    if (controller->doNeedUpdate()) controller->updateUI(true);
  }
}

// --- save and close hooks

bool DocumentSession::setEditingShiwakeToShiwakeArrayToSave()
{
  // Every window that edits the books, not only the one in front: a row typed into a
  // cash book in the background would otherwise be lost while the save succeeds.
  for (Kind kind : kEditingKinds) {
    const std::vector<WindowController*> controllers = windowControllers_;
    for (WindowController* wc : controllers)
      if (wc->windowKind() == kind && !wc->settleEditing()) return false;
  }
  return true;
}

bool DocumentSession::shouldCloseWindowController(WindowController* controller)
{
  if (!setEditingShiwakeToShiwakeArrayToSave()) return false;
  if (controller && controller->shouldCloseDocument()) return canCloseDocument();
  return true;
}

bool DocumentSession::canCloseDocument()
{
  if (!isDocumentEdited()) return true;
  const int chosen =
      AlertSheet::runQuestion(alertWindow(), QStringLiteral("書類“%1”に加えた変更を保存しますか?").arg(displayName()),
                              QStringLiteral("保存しないと、変更内容は失われます。"),
                              {QString::fromUtf8(kSaveButton), QString::fromUtf8(kDontSaveButton),
                               QString::fromUtf8(AlertSheet::kCancelButton)},
                              2);
  switch (chosen) {
  case 0: return saveDocument();
  case 1: return true;
  default: return false;
  }
}

// --- saving

bool DocumentSession::saveDocument()
{
  if (isUntitled()) return saveDocumentAs();
  return saveToPath(filePath_);
}

bool DocumentSession::saveDocumentAs()
{
  const QString path = FilePanel::runSavePanel(alertWindow(), displayName());
  if (path.isEmpty()) return false;
  return saveToPath(path);
}

bool DocumentSession::ensureLockForSaving(const QString& path, DocumentLock* lock)
{
  if (lock->tryLock() != DocumentLock::Result::HeldElsewhere) return true;
  AlertSheet::runAlert(QString::fromUtf8(kCannotSaveTitle),
                       QStringLiteral("書類“%1”は、%2")
                           .arg(QFileInfo(path).completeBaseName(), DocumentLock::describeHolder(lock->holder())));
  return false;
}

bool DocumentSession::saveToPath(const QString& requestedPath)
{
  if (!setEditingShiwakeToShiwakeArrayToSave()) return false;
  const QString path = QFileInfo(requestedPath).absoluteFilePath();
  const bool sameFile = !isUntitled() && path == filePath_;

  // One window set per file: never save over a document that is open here.
  if (!sameFile) {
    if (DocumentController* dc = DocumentController::sharedDocumentController();
        dc && dc->documentForFilePath(path) && dc->documentForFilePath(path) != this) {
      AlertSheet::runAlert(QString::fromUtf8(kCannotSaveTitle),
                           QStringLiteral("同じ名前の書類“%1”が開いているため、その名前では保存できません。")
                               .arg(QFileInfo(path).completeBaseName()));
      return false;
    }
  }

  // Another running program that has the file open keeps us from writing over it.
  std::unique_ptr<DocumentLock> newLock;
  DocumentLock* lock = nullptr;
  if (sameFile) {
    if (!lock_) lock_ = std::make_unique<DocumentLock>(filePath_);
    lock = lock_.get();
  } else {
    newLock = std::make_unique<DocumentLock>(path);
    lock = newLock.get();
  }
  if (!ensureLockForSaving(path, lock)) return false;

  const DocumentFile::Result result = DocumentFile::writeToFile(*document_, path.toStdString());
  if (!result.ok()) {
    AlertSheet::runAlert(QString::fromUtf8(kCannotSaveTitle), QString::fromStdString(result.message));
    return false;  // newLock, if any, is released; the document stays changed
  }
  if (!sameFile) {
    lock_ = std::move(newLock);
    filePath_ = path;
  }
  // The save put a new file in place: the lock on the file itself moves to it.
  lock_->documentWasReplaced();
  document_->updateChangeCount(MyDocument::ChangeType::Cleared);
  synchronizeWindowTitles();
  return true;
}

void DocumentSession::close()
{
  if (closing_) return;
  closing_ = true;
  const std::vector<WindowController*> controllers = windowControllers_;
  for (WindowController* wc : controllers) wc->closeWithoutAsking();
  lock_.reset();
  if (DocumentController* dc = DocumentController::sharedDocumentController()) dc->removeDocument(this);
}

// --- menus

void DocumentSession::setSubmenuOfShowSuitoucyouWindow()
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
  for (WindowController* wc : windowControllers_)
    if (wc->mainMenu()) wc->mainMenu()->setSuitoucyouItems(items);
}

void DocumentSession::setSubmenuOfDenpyouAndCyouhyouMenuItem()
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
  for (WindowController* wc : windowControllers_)
    if (wc->mainMenu()) wc->mainMenu()->setShortcutItems(items);
}

void DocumentSession::rebuildDocumentMenus()
{
  setSubmenuOfShowSuitoucyouWindow();
  setSubmenuOfDenpyouAndCyouhyouMenuItem();
}

void DocumentSession::removeWindowMenuItemOfWindowController(WindowController* controller)
{
  AppController::removeWindowMenuItemOfWindowController(controller);
}

// --- DocumentHost

void DocumentSession::documentEditedChanged(bool edited)
{
  for (WindowController* wc : windowControllers_) wc->setWindowModified(edited);
}

void DocumentSession::removeAllUndoActions() { undoStack_->clear(); }

void DocumentSession::synchronizeWindowTitles()
{
  for (WindowController* wc : windowControllers_) wc->synchronizeWindowTitleWithDocumentName();
}

}  // namespace kivo

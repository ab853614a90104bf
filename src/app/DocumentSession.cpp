#include "app/DocumentSession.h"

#include <QApplication>
#include <QFileInfo>
#include <QUndoStack>
#include <algorithm>

#include "app/AppController.h"
#include "app/DocumentController.h"
#include "app/DocumentInfoController.h"
#include "app/PasswordController.h"
#include "document/DocumentFile.h"
#include "document/gui/DocumentWindowController.h"
#include "platform/AlertSheet.h"
#include "platform/DocumentLock.h"
#include "platform/FilePanel.h"
#include "setup/gui/NewDocumentController.h"

namespace kivo {

DocumentSession::DocumentSession(std::unique_ptr<MyDocument> document, const QString& filePath, QObject* parent)
    : OpenDocument(std::move(document), parent),
      filePath_(filePath.isEmpty() ? QString() : QFileInfo(filePath).absoluteFilePath())
{
  // The Edit menu's undo and redo items follow the stack.
  const auto revalidate = [] {
    if (AppController* app = AppController::sharedAppController()) app->validateMainMenu();
  };
  connect(undoManager(), &QUndoStack::canUndoChanged, this, revalidate);
  connect(undoManager(), &QUndoStack::canRedoChanged, this, revalidate);
}

// The windows go while the application's side of the document still stands: they
// tell it that they close.
DocumentSession::~DocumentSession() { deleteWindowControllers(); }

DocumentSession* DocumentSession::of(const WindowController* controller)
{
  const DocumentWindowController* wc = DocumentWindowController::of(controller);
  return wc ? of(wc->document()) : nullptr;
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
  return !document().kaisya().password().empty() || !document().kaisya().limitedUserPassword().empty();
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
    // Whatever the reason, the lock file is named: what stands in its place is for the
    // user to remove, and a folder that refuses it is the one to look at.
    AlertSheet::runAlert(QStringLiteral("この書類をロックできません"),
                         QStringLiteral("書類“%1”のロックファイル“%2”を作れませんでした（%3）。ほかのプログラムでも"
                                        "同時に開いて保存すると、あとから保存した内容だけが残ります。")
                             .arg(displayName(), lock_->lockPath(), lock_->failure()));
    break;
  }
}

bool DocumentSession::holdsLock() const { return lock_ && lock_->isLocked(); }

// --- the first window

void DocumentSession::makeWindowControllers()
{
  if (document().kaisya().name().empty())
    addWindowController(new NewDocumentController(this));
  else if (hasPassword())
    addWindowController(new PasswordController(this));
  else
    addWindowController(new DocumentInfoController(this));
}

DocumentWindowController* DocumentSession::showDocumentInfoWindow()
{
  DocumentWindowController* info = documentInfoController();
  if (!info) {
    info = new DocumentInfoController(this);
    addWindowController(info);
  }
  info->showWindow();
  return info;
}

QWidget* DocumentSession::alertWindow() const { return frontWindowController(); }

// --- the application's part of the windows

DocumentWindowController* DocumentSession::mainWindowController() const
{
  AppController* app = AppController::sharedAppController();
  DocumentWindowController* main = app ? DocumentWindowController::of(app->mainWindowController()) : nullptr;
  return main && main->document() == this ? main : nullptr;
}

int DocumentSession::numberOfOpenDocuments() const
{
  DocumentController* dc = DocumentController::sharedDocumentController();
  return dc ? static_cast<int>(dc->documents().size()) : 1;
}

bool DocumentSession::canShowFurikaedenpyouWindow() { return AppController::canShowFurikaedenpyouWindow(); }

bool DocumentSession::canPrintKanjyoumotocyouOfPluralKamoku()
{
  return AppController::canPrintKanjyoumotocyouOfPluralKamoku();
}

DocumentWindowController* DocumentSession::refuseForBlockingSheet(QWidget* fallbackParent)
{
  return AppController::refuseForBlockingSheet(this, fallbackParent);
}

MainMenu::Handler* DocumentSession::mainMenuHandler() const { return AppController::sharedAppController(); }

void DocumentSession::windowControllerDidLoad(WindowController* controller, const QString& windowMenuTitle)
{
  if (!windowMenuTitle.isEmpty()) AppController::addWindowMenuItemWithTitle(windowMenuTitle, controller);
  rebuildDocumentMenus();
  if (AppController* app = AppController::sharedAppController()) app->rebuildWindowMenu(controller);
}

void DocumentSession::windowControllerWillClose(WindowController* controller)
{
  if (AppController* app = AppController::sharedAppController()) app->windowControllerWillClose(controller);
}

bool DocumentSession::isMainWindowController(const WindowController* controller) const
{
  if (AppController* app = AppController::sharedAppController()) return app->mainWindowController() == controller;
  return controller->isActiveWindow();
}

WindowController* DocumentSession::userWindowController() const
{
  AppController* app = AppController::sharedAppController();
  return app ? app->mainWindowController() : nullptr;
}

void DocumentSession::windowControllerDidBecomeKey(WindowController* controller)
{
  if (AppController* app = AppController::sharedAppController()) app->windowControllerDidBecomeKey(controller);
}

void DocumentSession::windowMenuTitleDidChange(WindowController* controller, const QString& title)
{
  AppController::setWindowMenuItemTitle(controller, title);
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

  const DocumentFile::Result result = DocumentFile::writeToFile(document(), path.toStdString());
  if (result.status == DocumentFile::Status::OwnershipNotKept) {
    // Not written, so that nobody's access to the file changes: another name keeps
    // the changes. The lock of this name, if new, is released first.
    newLock.reset();
    const int chosen = AlertSheet::runQuestion(
        alertWindow(), QString::fromUtf8(kCannotSaveTitle), QString::fromStdString(result.message),
        {QString::fromUtf8(kSaveAsButton), QString::fromUtf8(AlertSheet::kCancelButton)}, 1);
    return chosen == 0 && saveDocumentAs();
  }
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
  updateChangeCount(MyDocument::ChangeType::Cleared);
  synchronizeWindowTitles();
  return true;
}

void DocumentSession::close()
{
  if (closing_) return;
  closing_ = true;
  const std::vector<DocumentWindowController*> controllers = windowControllers();
  for (DocumentWindowController* wc : controllers) wc->closeWithoutAsking();
  lock_.reset();
  if (DocumentController* dc = DocumentController::sharedDocumentController()) dc->removeDocument(this);
}

}  // namespace kivo

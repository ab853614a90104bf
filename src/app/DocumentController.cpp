#include "app/DocumentController.h"

#include <QFileInfo>
#include <QPointer>
#include <algorithm>

#include "app/AppController.h"
#include "app/DocumentSession.h"
#include "document/DocumentFile.h"
#include "document/gui/DocumentWindowController.h"
#include "platform/AlertSheet.h"
#include "platform/FilePanel.h"

namespace kivo {
namespace {

DocumentController* sharedInstance = nullptr;

}  // namespace

DocumentController::DocumentController(QObject* parent) : QObject(parent)
{
  if (!sharedInstance) sharedInstance = this;
}

DocumentController::~DocumentController()
{
  closeAllDocuments();
  if (sharedInstance == this) sharedInstance = nullptr;
}

DocumentController* DocumentController::sharedDocumentController() { return sharedInstance; }

DocumentSession* DocumentController::adopt(std::unique_ptr<DocumentSession> session)
{
  DocumentSession* doc = session.release();
  doc->setParent(this);
  documents_.push_back(doc);
  emit documentsChanged();
  return doc;
}

DocumentSession* DocumentController::newDocument()
{
  auto session = std::make_unique<DocumentSession>(std::make_unique<MyDocument>());
  session->setUntitledNumber(++untitledCount_);
  DocumentSession* doc = adopt(std::move(session));
  doc->makeWindowControllers();
  doc->showWindows();
  return doc;
}

DocumentSession* DocumentController::openDocument(QWidget* parent)
{
  const QString path = FilePanel::runOpenPanel(parent);
  if (path.isEmpty()) return nullptr;
  return openDocumentWithContentsOfFile(path);
}

DocumentSession* DocumentController::documentForFilePath(const QString& path) const
{
  const QFileInfo wanted(path);
  const QString canonical = wanted.canonicalFilePath();
  for (DocumentSession* doc : documents_) {
    if (doc->isClosing() || doc->isUntitled()) continue;
    if (doc->filePath() == wanted.absoluteFilePath()) return doc;
    if (!canonical.isEmpty() && QFileInfo(doc->filePath()).canonicalFilePath() == canonical) return doc;
  }
  return nullptr;
}

DocumentSession* DocumentController::openDocumentWithContentsOfFile(const QString& path)
{
  if (DocumentSession* open = documentForFilePath(path)) {
    // One window set per file: the open document comes forward.
    DocumentWindowController* front = open->frontWindowController();
    if (!front && !open->windowControllers().empty()) front = open->windowControllers().front();
    if (front) front->showWindow();
    return open;
  }
  DocumentFile::Result result;
  std::unique_ptr<MyDocument> document =
      DocumentFile::readFromFile(QFileInfo(path).absoluteFilePath().toStdString(), &result);
  if (!document) {
    const QString message = QString::fromStdString(result.message);
    if (result.status == DocumentFile::Status::NewerVersion)
      AppController::showMessage(message, QStringLiteral("Download"));
    else
      // Named, since the alert may come long after the file was chosen (or for one of
      // several files given at once).
      AlertSheet::runAlert(QStringLiteral("書類を開けません"),
                           QStringLiteral("“%1”\n%2").arg(QFileInfo(path).fileName(), message));
    return nullptr;
  }
  DocumentSession* doc = adopt(std::make_unique<DocumentSession>(std::move(document), path));
  doc->acquireLockAfterOpening();
  doc->makeWindowControllers();
  doc->showWindows();
  return doc;
}

DocumentSession* DocumentController::addDocument(std::unique_ptr<MyDocument> document)
{
  auto session = std::make_unique<DocumentSession>(std::move(document));
  session->setUntitledNumber(++untitledCount_);
  DocumentSession* doc = adopt(std::move(session));
  doc->makeWindowControllers();
  doc->showWindows();
  return doc;
}

void DocumentController::removeDocument(DocumentSession* document)
{
  auto it = std::find(documents_.begin(), documents_.end(), document);
  if (it == documents_.end()) return;
  documents_.erase(it);
  document->deleteLater();
  emit documentsChanged();
}

bool DocumentController::reviewUnsavedDocumentsForQuit()
{
  // Each question waits for its answer: a document closed meanwhile is passed over.
  const std::vector<QPointer<DocumentSession>> documents(documents_.begin(), documents_.end());
  for (const QPointer<DocumentSession>& doc : documents) {
    if (!doc || doc->isClosing()) continue;
    if (!doc->settleEditingBeforeClose()) return false;
    if (!doc->isDocumentEdited()) continue;
    DocumentWindowController* front = doc->frontWindowController();
    if (!front && !doc->windowControllers().empty()) front = doc->windowControllers().front();
    if (front) front->showWindow();
    if (!doc->canCloseDocument()) return false;
  }
  return true;
}

void DocumentController::closeAllDocuments()
{
  const std::vector<DocumentSession*> documents = documents_;
  for (DocumentSession* doc : documents) doc->close();
  // Closed documents are deleted at once here: nothing may outlive the controller.
  for (DocumentSession* doc : documents) delete doc;
}

}  // namespace kivo

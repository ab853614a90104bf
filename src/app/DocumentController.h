// The open documents of the application: new, open (one window set per file), and
// the question about unsaved changes when the application quits.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "document/MyDocument.h"

class QWidget;

namespace kivo {

class DocumentSession;

class DocumentController : public QObject {
  Q_OBJECT
public:
  explicit DocumentController(QObject* parent = nullptr);
  ~DocumentController() override;

  static DocumentController* sharedDocumentController();

  const std::vector<DocumentSession*>& documents() const { return documents_; }

  // A new, untitled document with its first window.
  DocumentSession* newDocument();
  // Asks for a file and opens it.
  DocumentSession* openDocument(QWidget* parent = nullptr);
  // Opens the file with its first window; a file that is already open is brought
  // forward instead. A file that cannot be read is refused with a message.
  DocumentSession* openDocumentWithContentsOfFile(const QString& path);
  // A document made in code (the next term's document), shown with its first window.
  DocumentSession* addDocument(std::unique_ptr<MyDocument> document);
  DocumentSession* documentForFilePath(const QString& path) const;

  // Called by a document that closed.
  void removeDocument(DocumentSession* document);

  // Before quitting: every document settles its editing windows and each changed one
  // asks whether to save. False when the user cancels (the application keeps running).
  bool reviewUnsavedDocumentsForQuit();
  // Closes every document without asking.
  void closeAllDocuments();

signals:
  void documentsChanged();

private:
  DocumentSession* adopt(std::unique_ptr<DocumentSession> session);

  std::vector<DocumentSession*> documents_;
  int untitledCount_ = 0;
};

}  // namespace kivo

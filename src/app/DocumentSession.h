// The application side of one open document: the file it comes from and its lock,
// saving and closing with the "save changes?" question, the document's first window,
// and the application's part of hosting its windows (the main window, the Window
// menu, the guards of the commands that open windows).
//
// What the windows see of the document (the books, the undo stack, the windows, the
// refresh protocol) is OpenDocument's.
#pragma once

#include <QString>
#include <memory>

#include "document/gui/OpenDocument.h"

class QWidget;

namespace kivo {

class DocumentLock;

class DocumentSession : public OpenDocument {
  Q_OBJECT
public:
  // An untitled document (filePath empty) or one read from filePath.
  explicit DocumentSession(std::unique_ptr<MyDocument> document, const QString& filePath = QString(),
                           QObject* parent = nullptr);
  ~DocumentSession() override;

  // The session of a document (every open document of the application is one).
  static DocumentSession* of(OpenDocument* document) { return qobject_cast<DocumentSession*>(document); }
  // The session of the document a window belongs to, or nullptr.
  static DocumentSession* of(const WindowController* controller);

  // --- file
  const QString& filePath() const { return filePath_; }
  bool isUntitled() const { return filePath_.isEmpty(); }
  // The name in window titles: the file's name, or "名称未設定" (numbered from the
  // second untitled document on).
  QString displayName() const override;
  void setUntitledNumber(int n) { untitledNumber_ = n; }

  // --- the lock of the file
  // Takes the lock of the file; when another running program holds it, tells the user
  // that this copy cannot save there. Called once the document is opened.
  void acquireLockAfterOpening();
  bool holdsLock() const;

  // --- the first window: the new-document window when the company has no name, the
  // password prompt when it has a password, else the information window.
  void makeWindowControllers();
  DocumentWindowController* showDocumentInfoWindow() override;
  void setWasOpenedByLimitedUserPassword(bool v) { document().setWasOpenedByLimitedUserPassword(v); }
  bool hasPassword() const;

  // --- saving
  // Saves to the document's file (asks for one when untitled). A failed save says so
  // and leaves the document marked as changed; one refused because the file's owner
  // and group could not be kept offers "別名で保存...", which asks for another file.
  bool saveDocument();
  bool saveDocumentAs();
  bool saveToPath(const QString& path);

  // --- OpenDocument
  bool canCloseDocument() override;
  void close() override;
  bool isClosing() const { return closing_; }
  DocumentWindowController* mainWindowController() const override;
  int numberOfOpenDocuments() const override;
  bool canShowFurikaedenpyouWindow() override;
  bool canPrintKanjyoumotocyouOfPluralKamoku() override;
  DocumentWindowController* refuseForBlockingSheet(QWidget* fallbackParent = nullptr) override;

  // --- WindowControllerHost, the application's part
  MainMenu::Handler* mainMenuHandler() const override;
  void windowControllerDidLoad(WindowController* controller, const QString& windowMenuTitle) override;
  void windowControllerWillClose(WindowController* controller) override;
  bool isMainWindowController(const WindowController* controller) const override;
  WindowController* userWindowController() const override;
  void windowControllerDidBecomeKey(WindowController* controller) override;
  void windowMenuTitleDidChange(WindowController* controller, const QString& title) override;

  static constexpr const char* kUntitledName = "名称未設定";
  static constexpr const char* kCannotSaveTitle = "保存できません";
  static constexpr const char* kSaveButton = "保存";
  static constexpr const char* kDontSaveButton = "保存しない";
  static constexpr const char* kSaveAsButton = "別名で保存...";

private:
  bool ensureLockForSaving(const QString& path, DocumentLock* lock);
  QWidget* alertWindow() const;

  QString filePath_;
  int untitledNumber_ = 1;
  std::unique_ptr<DocumentLock> lock_;
  bool closing_ = false;
};

}  // namespace kivo

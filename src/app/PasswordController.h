// The password prompt: the first window of a document whose company has a password.
//
// The company's password opens the document fully; the limited-user password opens it
// for a limited user, who cannot reach the ledgers, the statements, the asset register
// or the printing of several ledgers. On success the prompt gives way to the document
// information window; cancelling or closing it closes the document.
//
// The password guards the program's windows, not the file: the books in the file are
// not encrypted.
#pragma once

#include "document/gui/DocumentWindowController.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo {

class DocumentSession;

class PasswordController : public DocumentWindowController {
  Q_OBJECT
public:
  explicit PasswordController(DocumentSession* document);

  bool shouldCloseDocument() const override { return !passed_; }

  // Checks the typed password; on a match opens the document, else says so.
  void okAction();
  void cancelAction();

  QLineEdit* passwordField() const { return passwordField_; }
  QPushButton* okButton() const { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }
  QString messageText() const;

  static constexpr const char* kWrongPasswordMessage = "パスワードが正しくありません。";

protected:
  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;

private:
  QLineEdit* passwordField_;
  QLabel* messageField_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  bool passed_ = false;
};

}  // namespace kivo

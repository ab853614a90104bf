// The naming sheet of a voucher's bookmark (ブックマーク): the name, and whether a user
// who opened the document with the limited-user password may use it. The document
// keeps one such sheet, made on first use. It edits the voucher's bookmark when one
// exists, else it adds one at the end of the document's list.
#pragma once

#include <cstdint>

#include "platform/SheetController.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kivo {

class OpenDocument;

class FurikaedenpyouBookmarkController : public SheetController {
  Q_OBJECT
public:
  explicit FurikaedenpyouBookmarkController(OpenDocument* document, QWidget* parent = nullptr);

  // The document's sheet, made and kept by the document on first use.
  static FurikaedenpyouBookmarkController* bookmarkControllerOfDocument(OpenDocument* document);

  int32_t displayDenpyouNoOfBookmark() const { return displayDenpyouNoOfBookmark_; }
  void setDisplayDenpyouNoOfBookmark(int32_t n) { displayDenpyouNoOfBookmark_ = n; }
  // Whether the last run of the sheet changed or added a bookmark.
  bool didEditBookmarkName() const { return didEditBookmarkName_; }

  // Fills the sheet from the voucher's bookmark in the document's whole list.
  void updateUI();
  // The action of both buttons: OK with an empty name beeps and stays open.
  void endFurikaedenpyouBookmarkWindow(QObject* sender);

  QLineEdit* nameField() const { return nameField_; }
  QCheckBox* activateWithLimitedUserPasswordCheckbox() const { return activateWithLimitedUserPasswordCheckbox_; }
  QAbstractButton* okButton() const override;
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  void storeChoice() override { handleDidEditBookmarkName(); }

private:
  void handleDidEditBookmarkName();

  OpenDocument* document_;
  int32_t displayDenpyouNoOfBookmark_ = 0;
  bool didEditBookmarkName_ = false;
  QLineEdit* nameField_;
  QCheckBox* activateWithLimitedUserPasswordCheckbox_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace kivo

#include "entry/gui/FurikaedenpyouBookmarkController.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "entry/FurikaedenpyouBookmarks.h"
#include "platform/AlertSheet.h"

namespace kivo {

FurikaedenpyouBookmarkController::FurikaedenpyouBookmarkController(OpenDocument* document, QWidget* parent)
    : SheetController(parent), document_(document)
{
  setWindowTitle(QStringLiteral("ブックマーク"));
  nameField_ = new QLineEdit(this);
  nameField_->setMinimumWidth(260);
  activateWithLimitedUserPasswordCheckbox_ =
      new QCheckBox(QStringLiteral("制限付きパスワードでも使用可能にする"), this);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  okButton_->setDefault(true);
  okButton_->setAutoDefault(true);
  cancelButton_->setAutoDefault(false);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("名前:"), nameField_);
  form->addRow(QString(), activateWithLimitedUserPasswordCheckbox_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
  buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(8);
  layout->addWidget(buttons);

  connect(okButton_, &QPushButton::clicked, this, [this] { endFurikaedenpyouBookmarkWindow(okButton_); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { endFurikaedenpyouBookmarkWindow(cancelButton_); });
}

FurikaedenpyouBookmarkController* FurikaedenpyouBookmarkController::bookmarkControllerOfDocument(OpenDocument* document)
{
  if (!document) return nullptr;
  using Owned = OpenDocument::OwnedController;
  auto* controller = document->ownedControllerAs<FurikaedenpyouBookmarkController>(Owned::FurikaedenpyouBookmark);
  if (!controller) {
    controller = new FurikaedenpyouBookmarkController(document);
    document->setOwnedController(Owned::FurikaedenpyouBookmark, controller);
  }
  return controller;
}

QAbstractButton* FurikaedenpyouBookmarkController::okButton() const { return okButton_; }

void FurikaedenpyouBookmarkController::updateUI()
{
  const BookmarkPtr found = FurikaedenpyouBookmarks::bookmarkOfDenpyouNo(
      document_->document().furikaedenpyouBookmarkArray(), displayDenpyouNoOfBookmark_);
  nameField_->setText(found ? QString::fromStdString(found->name()) : QString());
  activateWithLimitedUserPasswordCheckbox_->setChecked(found && found->isActiveWithLimitedUserPassword());
  // Only a regular-type voucher may be offered to a limited user; elsewhere the box
  // shows, and keeps, what is stored.
  activateWithLimitedUserPasswordCheckbox_->setEnabled(displayDenpyouNoOfBookmark_ < 0);
  nameField_->selectAll();
  nameField_->setFocus();
}

void FurikaedenpyouBookmarkController::endFurikaedenpyouBookmarkWindow(QObject* sender)
{
  didEditBookmarkName_ = false;
  if (sender == okButton_ && nameField_->text().isEmpty()) {
    AlertSheet::beep();
    nameField_->selectAll();
    nameField_->setFocus();
    return;
  }
  if (sender == okButton_ || sender == cancelButton_) endSheetWithSender(sender);
}

void FurikaedenpyouBookmarkController::handleDidEditBookmarkName()
{
  didEditBookmarkName_ = FurikaedenpyouBookmarks::storeBookmark(
      document_->document().furikaedenpyouBookmarkArray(), displayDenpyouNoOfBookmark_,
      nameField_->text().toStdString(), activateWithLimitedUserPasswordCheckbox_->isChecked());
}

}  // namespace kivo

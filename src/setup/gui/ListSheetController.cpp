#include "setup/gui/ListSheetController.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "document/gui/DocumentWindowController.h"
#include "document/gui/OpenDocument.h"
#include "platform/AlertSheet.h"
#include "setup/MasterListChange.h"

namespace kivo {

ListSheetController::ListSheetController(OpenDocument* document)
    : document_(document),
      okButton_(new QPushButton(QStringLiteral("OK"), this)),
      cancelButton_(new QPushButton(QString::fromUtf8(AlertSheet::kCancelButton), this))
{
  okButton_->setDefault(true);
  okButton_->setMinimumWidth(96);
  cancelButton_->setMinimumWidth(96);
  cancelButton_->setAutoDefault(false);
  connect(okButton_, &QPushButton::clicked, this, &ListSheetController::okAction);
  connect(cancelButton_, &QPushButton::clicked, this, &ListSheetController::cancelAction);
}

void ListSheetController::beginSheetOnWindow(QWidget* window)
{
  QPointer<ListSheetController> self = this;
  beginSheet(window, [self](int) {
    if (self) self->deleteLater();
  });
}

void ListSheetController::okAction()
{
  if (!isSheetAttached() || !validateChoice()) return;
  endSheetWithSender(okButton_);
}

void ListSheetController::done(int r)
{
  if (r == QDialog::Accepted)
    okAction();
  else
    cancelAction();
}

void ListSheetController::cancelAction() { endSheetWithSender(cancelButton_); }

void ListSheetController::showRefusal(const QString& title, const QString& message, std::function<void()> after)
{
  AlertSheet::beginAlertSheet(this, title, message, std::move(after));
}

QHBoxLayout* ListSheetController::makeButtonRow()
{
  auto* row = new QHBoxLayout();
  row->addStretch();
  row->addWidget(cancelButton_);
  row->addWidget(okButton_);
  return row;
}

void ListSheetController::documentDidChangeMasterList()
{
  MasterListChange::documentDidChange(document_->document());
  document_->setSubmenuOfShowSuitoucyouWindow();
  if (DocumentWindowController* info = document_->documentInfoController()) info->updateUI(true);
}

}  // namespace kivo

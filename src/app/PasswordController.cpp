#include "app/PasswordController.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/DocumentSession.h"
#include "platform/AlertSheet.h"
#include "platform/PasswordHash.h"
#include "platform/WindowPlacement.h"

namespace kivo {

PasswordController::PasswordController(DocumentSession* document) : DocumentWindowController(document, Kind::Password)
{
  auto* central = new QWidget(this);
  auto* title = new QLabel(QStringLiteral("パスワードを入力してください"), central);
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.15);
  title->setFont(bold);
  auto* explanation =
      new QLabel(QStringLiteral("書類“%1”はパスワードで保護されています。").arg(document->displayName()), central);
  explanation->setWordWrap(true);
  auto* label = new QLabel(QStringLiteral("パスワード:"), central);
  passwordField_ = new QLineEdit(central);
  passwordField_->setEchoMode(QLineEdit::Password);
  passwordField_->setMinimumWidth(220);
  messageField_ = new QLabel(central);
  messageField_->setStyleSheet(QStringLiteral("color: #b00000;"));
  okButton_ = new QPushButton(QStringLiteral("OK"), central);
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), central);
  connect(okButton_, &QPushButton::clicked, this, &PasswordController::okAction);
  connect(cancelButton_, &QPushButton::clicked, this, &PasswordController::cancelAction);
  connect(passwordField_, &QLineEdit::returnPressed, this, &PasswordController::okAction);

  auto* field = new QHBoxLayout();
  field->addWidget(label);
  field->addWidget(passwordField_, 1);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(24, 20, 24, 16);
  layout->setSpacing(10);
  layout->addWidget(title);
  layout->addWidget(explanation);
  layout->addLayout(field);
  layout->addWidget(messageField_);
  layout->addLayout(buttons);
  setCentralWidget(central);
  setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect v = screen->availableGeometry();
    WindowPlacement::placeWindow(this,
                                 QRect(QPoint(v.x() + (v.width() - width()) / 2, v.y() + v.height() / 4), size()));
  }
}

QString PasswordController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  return displayName + QStringLiteral(" - パスワード");
}

QString PasswordController::messageText() const { return messageField_->text(); }

void PasswordController::okAction()
{
  const QString typed = passwordField_->text();
  const Kaisya& kaisya = document()->document().kaisya();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // Both stored forms are always checked, so the time taken tells nothing.
  const bool full = PasswordHash::verify(typed, kaisya.password());
  const bool limited = PasswordHash::verify(typed, kaisya.limitedUserPassword());
  QApplication::restoreOverrideCursor();
  if (!full && !limited) {
    AlertSheet::beep();
    messageField_->setText(QString::fromUtf8(kWrongPasswordMessage));
    passwordField_->clear();
    passwordField_->setFocus();
    return;
  }
  passed_ = true;
  DocumentSession* doc = DocumentSession::of(document());
  doc->setWasOpenedByLimitedUserPassword(!full);
  doc->showDocumentInfoWindow();
  closeWithoutAsking();
}

void PasswordController::cancelAction() { close(); }

}  // namespace kivo

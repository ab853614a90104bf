#include "fields/gui/InputPanelController.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "fields/FieldText.h"
#include "fields/Formatter.h"
#include "fields/StopChar.h"
#include "fields/gui/FormatterValidator.h"
#include "platform/WindowPlacement.h"

namespace kivo {

InputPanelController::InputPanelController(const QString& caption, int fieldWidth, Qt::Alignment fieldAlignment,
                                           const QStringList& messages, QWidget* parent)
    : StopKeyDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Raised);
  frame->setAutoFillBackground(true);

  auto* captionLabel = new QLabel(caption, frame);
  QFont captionFont = captionLabel->font();
  captionFont.setBold(true);
  captionLabel->setFont(captionFont);

  textField_ = new QLineEdit(frame);
  textField_->setAlignment(fieldAlignment);
  textField_->setFixedWidth(fieldWidth);
  captionLabel->setBuddy(textField_);

  messageLabel_ = new QLabel(frame);
  QPalette warn = messageLabel_->palette();
  warn.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x20));
  messageLabel_->setPalette(warn);
  QFont messageFont = messageLabel_->font();
  messageFont.setPointSizeF(messageFont.pointSizeF() * 0.85);
  messageLabel_->setFont(messageFont);
  // The message line keeps its height when empty, so the panel never changes size.
  messageLabel_->setMinimumHeight(QFontMetrics(messageFont).height());
  // Wide enough for every reason the panel may give, whole.
  int messageWidth = 0;
  for (const QString& m : messages + QStringList{QString::fromUtf8(FormatterValidator::kUnusableMessage),
                                                 QString::fromUtf8(kEmptyMessage)})
    messageWidth = std::max(messageWidth, QFontMetrics(messageFont).horizontalAdvance(m));
  messageLabel_->setMinimumWidth(messageWidth);

  auto* inner = new QVBoxLayout(frame);
  inner->setContentsMargins(8, 6, 8, 4);
  inner->setSpacing(4);
  inner->addWidget(captionLabel);
  inner->addWidget(textField_);
  inner->addWidget(messageLabel_);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(frame);

  watchTextField(textField_);
  // Text that cannot stand is kept as typed and says why at once.
  connect(textField_, &QLineEdit::textEdited, this,
          [this](const QString& text) { showMessage(FormatterValidator::refusalOfPartialText(formatter(), text)); });
  setFixedSize(sizeHint());
}

void InputPanelController::resetTextFieldWithString(const QString& text)
{
  if (!validator_) {
    validator_ = new FormatterValidator(formatter(), this);
    textField_->setValidator(validator_);
  } else {
    validator_->setFormatter(formatter());
  }
  const bool partialOk = formatter().isPartialStringValid(text.toStdString());
  textField_->setText(partialOk ? text : QString());
  textField_->deselect();
  textField_->end(false);
  clearValue();
  stopModalChar_ = StopChar::kNone;
  showMessage(QString());
}

void InputPanelController::setWindowFrameOriginByFrameTopLeftPoint(const QPoint& point, Anchor anchor)
{
  QPoint topLeft = point;
  if (anchor == Anchor::FieldBottomLeft) {
    const QPoint fieldBottom = textField_->mapTo(this, QPoint(0, textField_->height()));
    topLeft.setY(point.y() - fieldBottom.y());
  }
  move(WindowPlacement::keptOnScreen(QRect(topLeft, size()), WindowPlacement::availableGeometryAt(point)));
}

void InputPanelController::runModal(QWidget* window)
{
  textField_->setFocus();
  runModalKeepingKeys(window);
}

void InputPanelController::showEvent(QShowEvent* event)
{
  QDialog::showEvent(event);
  textField_->setFocus();
}

void InputPanelController::showMessage(const QString& message) { messageLabel_->setText(message); }

void InputPanelController::closeWithStopChar(uint16_t key)
{
  const std::string text = textField_->text().toStdString();
  FieldValue value;
  std::string error;
  const bool readable = formatter().getObjectValue(value, text, &error);
  const bool isTab = key == StopChar::kTab || key == StopChar::kBacktab;
  if (readable && !value.isText()) {
    storeValue(value);
  } else if (isTab && FieldText::normalizedInput(text).empty()) {
    clearValue();
  } else {
    QApplication::beep();
    showMessage(readable ? QString::fromUtf8(kEmptyMessage)
                         : FormatterValidator::refusalOfText(formatter(), textField_->text()));
    return;
  }
  stopModalChar_ = key;
  accept();
}

void InputPanelController::reject()
{
  clearValue();
  stopModalChar_ = StopChar::kNone;
  QDialog::reject();
}

}  // namespace kivo

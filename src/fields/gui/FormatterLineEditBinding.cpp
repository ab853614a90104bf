#include "fields/gui/FormatterLineEditBinding.h"

#include <QLineEdit>

#include "fields/Formatter.h"
#include "fields/gui/FormatterValidator.h"
#include "platform/FieldMessage.h"
#include "platform/SheetController.h"

namespace kivo {

FormatterLineEditBinding::FormatterLineEditBinding(QLineEdit* lineEdit, Formatter& formatter, QObject* parent)
    : QObject(parent ? parent : lineEdit), lineEdit_(lineEdit), formatter_(&formatter)
{
  connect(lineEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
    FieldMessage::show(lineEdit_, FormatterValidator::refusalOfPartialText(*formatter_, text));
  });
  connect(lineEdit, &QLineEdit::editingFinished, this, [this] {
    QString error;
    if (commit(&error)) return;
    // Refused text stays to be mended: a Return that ended the editing does not also
    // press the default button of the field's sheet.
    SheetController::takeReturnKey(lineEdit_);
    FieldMessage::show(lineEdit_, error);
    emit textRefused(error);
  });
}

void FormatterLineEditBinding::setObjectValue(const FieldValue& value)
{
  formerValue_ = value_;
  value_ = value;
  if (lineEdit_) lineEdit_->setText(QString::fromStdString(formatter_->stringForObjectValue(value).value_or("")));
}

bool FormatterLineEditBinding::commit(QString* errorDescription)
{
  if (!lineEdit_) return false;
  FieldValue read;
  std::string error;
  if (!formatter_->getObjectValue(read, lineEdit_->text().toStdString(), &error)) {
    if (errorDescription) *errorDescription = FormatterValidator::refusalOfText(*formatter_, lineEdit_->text());
    return false;
  }
  FieldMessage::hideFor(lineEdit_);
  const bool changed = !(read == value_);
  if (changed) formerValue_ = value_;
  value_ = read;
  if (!read.isText()) lineEdit_->setText(QString::fromStdString(formatter_->stringForObjectValue(read).value_or("")));
  if (changed) emit objectValueChanged();
  return true;
}

}  // namespace kivo

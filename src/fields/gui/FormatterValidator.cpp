#include "fields/gui/FormatterValidator.h"

#include "fields/FieldValue.h"
#include "fields/Formatter.h"

namespace kivo {

FormatterValidator::FormatterValidator(Formatter& formatter, QObject* parent)
    : QValidator(parent), formatter_(&formatter)
{
}

QValidator::State FormatterValidator::validate(QString& input, int&) const
{
  return formatter_->isPartialStringValid(input.toStdString()) ? Acceptable : Intermediate;
}

QString FormatterValidator::refusalOfText(Formatter& formatter, const QString& text)
{
  FieldValue value;
  std::string error;
  if (formatter.getObjectValue(value, text.toStdString(), &error)) return {};
  return error.empty() ? QString::fromUtf8(kUnusableMessage) : QString::fromStdString(error);
}

QString FormatterValidator::refusalOfPartialText(Formatter& formatter, const QString& text)
{
  if (formatter.isPartialStringValid(text.toStdString())) return {};
  const QString reason = refusalOfText(formatter, text);
  return reason.isEmpty() ? QString::fromUtf8(kUnusableMessage) : reason;
}

}  // namespace kivo

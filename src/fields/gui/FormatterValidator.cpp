#include "fields/gui/FormatterValidator.h"

#include "fields/Formatter.h"

namespace kivo {

FormatterValidator::FormatterValidator(Formatter& formatter, QObject* parent)
    : QValidator(parent), formatter_(&formatter)
{
}

QValidator::State FormatterValidator::validate(QString& input, int&) const
{
  return formatter_->isPartialStringValid(input.toStdString()) ? Acceptable : Invalid;
}

}  // namespace kivo

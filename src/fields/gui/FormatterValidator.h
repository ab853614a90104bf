// A Qt validator over one of our formatters: a keystroke that makes the text an
// invalid partial string is refused (the line edit does not take it). Whether the
// whole text is a value is the formatter's getObjectValue, asked when the field's
// editing ends.
#pragma once

#include <QValidator>

namespace kivo {

class Formatter;

class FormatterValidator : public QValidator {
  Q_OBJECT
public:
  FormatterValidator(Formatter& formatter, QObject* parent = nullptr);

  State validate(QString& input, int& pos) const override;

  Formatter& formatter() const { return *formatter_; }
  void setFormatter(Formatter& formatter) { formatter_ = &formatter; }

private:
  Formatter* formatter_;
};

}  // namespace kivo

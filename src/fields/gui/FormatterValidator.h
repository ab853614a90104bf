// A Qt validator over one of our formatters. Text the formatter refuses even as
// partial input is not cut or changed: it stands as typed (intermediate), so that the
// field can say what is wrong and the whole input is refused when its editing ends.
// Whether the whole text is a value is the formatter's getObjectValue.
#pragma once

#include <QValidator>

namespace kivo {

class Formatter;

class FormatterValidator : public QValidator {
  Q_OBJECT
public:
  // The reason given when the formatter names none.
  static constexpr const char* kUnusableMessage = "この入力は使えません。";

  FormatterValidator(Formatter& formatter, QObject* parent = nullptr);

  State validate(QString& input, int& pos) const override;

  Formatter& formatter() const { return *formatter_; }

  // Why the text cannot be read as a value of the formatter: its own sentence, or a
  // general one; empty when the text reads.
  static QString refusalOfText(Formatter& formatter, const QString& text);
  // Why the text cannot even stand while typing; empty when it can.
  static QString refusalOfPartialText(Formatter& formatter, const QString& text);
  void setFormatter(Formatter& formatter) { formatter_ = &formatter; }

private:
  Formatter* formatter_;
};

}  // namespace kivo

// Binds a line edit to a formatter: the edit shows the formatter's text for the
// bound value, and when its editing ends reads the text back into the value. Text the
// formatter refuses is never cut to something it takes: it stays as typed, with the
// reason shown next to the field (FieldMessage) while typing and when it is refused.
#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>

#include "fields/FieldValue.h"

namespace kivo {

class Formatter;

class FormatterLineEditBinding : public QObject {
  Q_OBJECT
public:
  // The binding is a child of the line edit unless another parent is given.
  FormatterLineEditBinding(QLineEdit* lineEdit, Formatter& formatter, QObject* parent = nullptr);

  QLineEdit* lineEdit() const { return lineEdit_; }
  Formatter& formatter() const { return *formatter_; }

  const FieldValue& objectValue() const { return value_; }
  // The value held before the last change: what a cancelled picker puts back.
  const FieldValue& formerObjectValue() const { return formerValue_; }
  // Holds the value and shows the formatter's text for it.
  void setObjectValue(const FieldValue& value);

  // Reads the edit's text through the formatter. True with the value updated (and
  // the text shown afresh when it resolved to a code, date or amount); false with the
  // formatter's sentence, the value and text left as they were.
  bool commit(QString* errorDescription = nullptr);

signals:
  void objectValueChanged();
  // Editing ended on text the formatter refuses.
  void textRefused(const QString& errorDescription);

private:
  QPointer<QLineEdit> lineEdit_;
  Formatter* formatter_;
  FieldValue value_;
  FieldValue formerValue_;
};

}  // namespace kivo

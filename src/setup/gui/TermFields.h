// The term fields of the windows that set up a term (the new-document window and the
// carry-forward window): the term number (第 n 期, or the year of a sole proprietor)
// and the first and last day of the term, shown in common-era or era form. The two
// rows go into the window's form; the window reads the fields back as dates and
// shows the refusals of TermSettings on them.
#pragma once

#include <QObject>
#include <memory>
#include <optional>

#include "model/Date.h"
#include "setup/TermSettings.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace kivo {

class WarekiDateFormatter;

class TermFields : public QObject {
  Q_OBJECT
public:
  // The rows are made as children of parent; spacing is the gap between their parts.
  TermFields(QWidget* parent, int spacing);
  ~TermFields() override;

  QWidget* termRow() const { return termRow_; }
  QWidget* periodRow() const { return periodRow_; }
  QLineEdit* termNoField() const { return termNoField_; }
  QLabel* termNoDaiTitleField() const { return termNoDaiTitleField_; }
  QLabel* termNoKiTitleField() const { return termNoKiTitleField_; }
  QLineEdit* termStartDateField() const { return termStartDateField_; }
  QLineEdit* termEndDateField() const { return termEndDateField_; }

  // 第 n 期 for a corporation, n 年度 for a sole proprietor.
  void setHoujin(bool houjin);
  // Both dates in era form or not; the dates shown are rewritten in the new form.
  void setWareki(bool wareki);
  void setDateField(QLineEdit* field, Date date);
  std::optional<Date> dateOfField(const QLineEdit* field) const;
  // The year of the start date's text, for a sole proprietor's term.
  QString yearTextOfStartDate() const;

  // Selects the field a refusal names (nameField for the company name).
  QLineEdit* selectField(TermSettings::Field field, QLineEdit* nameField);
  // Shows a refusal: a beep and a note at the field, or an alert sheet on window
  // that selects the field when dismissed.
  void showRefusal(const TermSettings::Refusal& refusal, QWidget* window, QLineEdit* nameField);

private:
  std::unique_ptr<WarekiDateFormatter> startDateFormatter_;
  std::unique_ptr<WarekiDateFormatter> endDateFormatter_;
  QWidget* termRow_ = nullptr;
  QWidget* periodRow_ = nullptr;
  QLabel* termNoDaiTitleField_ = nullptr;
  QLineEdit* termNoField_ = nullptr;
  QLabel* termNoKiTitleField_ = nullptr;
  QLineEdit* termStartDateField_ = nullptr;
  QLineEdit* termEndDateField_ = nullptr;
};

}  // namespace kivo

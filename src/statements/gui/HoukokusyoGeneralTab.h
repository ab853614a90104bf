// The "general" tab of both statements sheets (older form and Companies Act): the
// period of the statements, the opening-balance option, the cover (title, dates in
// common-era or Japanese-era form), the currency unit and the check boxes of the
// statements to print. It fills itself from the company record, checks its fields
// and stores them back; the sheet owning it decides what the print boxes mean.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "model/Date.h"

class QCheckBox;
class QLineEdit;

namespace kivo {

class FormatterLineEditBinding;
class HidukeFormatter;
class Kaisya;
class MyDocument;
class WarekiDateFormatter;

class HoukokusyoGeneralTab : public QWidget {
  Q_OBJECT
public:
  static constexpr const char* kInvalidStartTitle = "無効な期間の開始日";
  static constexpr const char* kInvalidEndTitle = "無効な期間の最終日";
  static constexpr const char* kOutOfTermMessage = "会計年度内の日付を指定してください。";

  // One print check box per title, two to a row.
  HoukokusyoGeneralTab(const MyDocument& doc, const std::vector<const char*>& printTitles, QWidget* parent);
  ~HoukokusyoGeneralTab() override;

  // Fills the fields from the company record; a company shown the sheet for the first
  // time gets its term's dates and the given cover title. Dates out of the term are
  // put back to the term's.
  void load(Kaisya& k, const char* coverTitle);
  // Whether the fields hold what can be stored; a bad one is refused with a beep (or
  // a message for a date out of the term) and selected.
  bool check();
  // Stores the fields in the company record; whether anything changed.
  bool store(Kaisya& k) const;
  bool anyPrintItem() const;

  QLineEdit* termStartDateField() const { return termStartField_; }
  QLineEdit* termEndDateField() const { return termEndField_; }
  QCheckBox* addStartBalanceCheckbox() const { return addStartBalanceCheckbox_; }
  QLineEdit* titleOfCoversheetField() const { return titleField_; }
  QLineEdit* termStartDateOfCoverField() const { return coverStartField_; }
  QLineEdit* termEndDateOfCoverField() const { return coverEndField_; }
  QCheckBox* warekiOfCoverStartCheckbox() const { return coverStartWarekiCheckbox_; }
  QCheckBox* warekiOfCoverEndCheckbox() const { return coverEndWarekiCheckbox_; }
  QLineEdit* currencyUnitField() const { return currencyUnitField_; }
  QCheckBox* printCheckbox(int i) const { return printCheckboxes_[static_cast<size_t>(i)]; }
  const std::vector<QCheckBox*>& printCheckboxes() const { return printCheckboxes_; }

signals:
  // A print check box was clicked.
  void printItemsClicked();

private:
  Date firstDay() const;
  Date lastDay() const;
  bool isInTerm(Date d) const;

  const MyDocument& doc_;
  std::unique_ptr<HidukeFormatter> periodFormatter_;
  std::unique_ptr<WarekiDateFormatter> coverStartFormatter_;
  std::unique_ptr<WarekiDateFormatter> coverEndFormatter_;
  QLineEdit* termStartField_ = nullptr;
  QLineEdit* termEndField_ = nullptr;
  FormatterLineEditBinding* termStartBinding_ = nullptr;
  FormatterLineEditBinding* termEndBinding_ = nullptr;
  QCheckBox* addStartBalanceCheckbox_ = nullptr;
  QLineEdit* titleField_ = nullptr;
  QLineEdit* coverStartField_ = nullptr;
  QLineEdit* coverEndField_ = nullptr;
  FormatterLineEditBinding* coverStartBinding_ = nullptr;
  FormatterLineEditBinding* coverEndBinding_ = nullptr;
  QCheckBox* coverStartWarekiCheckbox_ = nullptr;
  QCheckBox* coverEndWarekiCheckbox_ = nullptr;
  QLineEdit* currencyUnitField_ = nullptr;
  std::vector<QCheckBox*> printCheckboxes_;
};

}  // namespace kivo

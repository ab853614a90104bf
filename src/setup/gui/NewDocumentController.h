// The new-document window: the first window of a document whose company has no name
// yet. It asks for the company (name, corporation or sole proprietor, household book,
// manufacturer, construction), the term (number or year, first and last day, in
// common-era or era form), the number of decimal places of amounts and, for a
// corporation, the form of its chart of accounts (Companies Act, the default, or the
// older form). OK fills the company record, builds the chart and opens the document
// information window; closing or cancelling closes the document.
#pragma once

#include "document/gui/DocumentWindowController.h"
#include "setup/NewDocumentSettings.h"
#include "setup/gui/TermFields.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kivo {

class NewDocumentController : public DocumentWindowController {
  Q_OBJECT
public:
  explicit NewDocumentController(OpenDocument* document);
  ~NewDocumentController() override;

  bool shouldCloseDocument() const override { return !passed_; }

  // OK: checks the fields in order and refuses the first fault (a beep and the field
  // selected, or an alert sheet for the dates), else makes the document.
  void okAction();
  void cancelAction();

  // What the fields hold now.
  NewDocumentSettings settings() const;

  QLineEdit* nameField() const { return nameField_; }
  QRadioButton* houjinButton() const { return houjinButton_; }
  QRadioButton* kojinButton() const { return kojinButton_; }
  QCheckBox* kakeiboCheckbox() const { return kakeiboCheckbox_; }
  QCheckBox* seizouCheckbox() const { return seizouCheckbox_; }
  QCheckBox* kensetuCheckbox() const { return kensetuCheckbox_; }
  QRadioButton* kaisyahouChartButton() const { return kaisyahouChartButton_; }
  QRadioButton* olderChartButton() const { return olderChartButton_; }
  QLineEdit* termNoField() const { return term_->termNoField(); }
  QLabel* termNoKiTitleField() const { return term_->termNoKiTitleField(); }
  QLineEdit* termStartDateField() const { return term_->termStartDateField(); }
  QLineEdit* termEndDateField() const { return term_->termEndDateField(); }
  QCheckBox* warekiCheckbox() const { return warekiCheckbox_; }
  QComboBox* decimalPrecisionPopUp() const { return decimalPrecisionPopUp_; }
  QPushButton* okButton() const { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }

  static constexpr const char* kTitlePrefix = "新規書類 - ";

protected:
  void windowDidLoad() override;
  // Escape that no field, open list or input method took cancels, as キャンセル does.
  void keyPressEvent(QKeyEvent* event) override;
  QString windowMenuTitle() const override;
  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;

private:
  void kindDidChange();
  void warekiDidChange();
  void startDateDidChange();

  TermFields* term_ = nullptr;
  QLineEdit* nameField_ = nullptr;
  QRadioButton* houjinButton_ = nullptr;
  QRadioButton* kojinButton_ = nullptr;
  QCheckBox* kakeiboCheckbox_ = nullptr;
  QCheckBox* seizouCheckbox_ = nullptr;
  QCheckBox* kensetuCheckbox_ = nullptr;
  QWidget* chartRow_ = nullptr;
  QLabel* chartTitle_ = nullptr;
  QRadioButton* kaisyahouChartButton_ = nullptr;
  QRadioButton* olderChartButton_ = nullptr;
  QLabel* termNoTitle_ = nullptr;
  QCheckBox* warekiCheckbox_ = nullptr;
  QComboBox* decimalPrecisionPopUp_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  bool passed_ = false;
  // Typed by the user: no longer follows the start date.
  bool endDateTyped_ = false;
  bool termYearTyped_ = false;
};

}  // namespace kivo

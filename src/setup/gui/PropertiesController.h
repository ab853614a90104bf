// The company-properties sheet (会社の基本情報): name, address, term number or year,
// the era form of dates and the two passwords. The industry, the term's dates and the
// number of decimal places are shown, and can change only while the journal holds no
// entry; the kind of company comes with the chart of accounts and is only shown. A
// document opened with the limited-user password cannot change the passwords.
//
// The application opens it only while no voucher, cash book or asset register of the
// document is open (canShowPropertiesWindow).
#pragma once

#include <memory>

#include "setup/PropertiesSettings.h"
#include "setup/gui/ListSheetController.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kivo {

class WarekiDateFormatter;

class PropertiesController : public ListSheetController {
  Q_OBJECT
public:
  explicit PropertiesController(OpenDocument* document);
  ~PropertiesController() override;

  bool blocksDocumentCommands() const override { return true; }

  // What the fields hold now.
  PropertiesSettings settings() const;
  PropertiesSettings::PasswordChange passwordChange() const;

  QLineEdit* nameField() const { return nameField_; }
  QLineEdit* addressField() const { return addressField_; }
  QLabel* kindField() const { return kindField_; }
  QCheckBox* seizouCheckbox() const { return seizouCheckbox_; }
  QCheckBox* kensetuCheckbox() const { return kensetuCheckbox_; }
  QLineEdit* termNoField() const { return termNoField_; }
  QLineEdit* termStartDateField() const { return termStartDateField_; }
  QLineEdit* termEndDateField() const { return termEndDateField_; }
  QCheckBox* warekiCheckbox() const { return warekiCheckbox_; }
  QComboBox* decimalPrecisionPopUp() const { return decimalPrecisionPopUp_; }
  QLineEdit* passwordField() const { return passwordField_; }
  QLineEdit* passwordConfirmationField() const { return passwordConfirmationField_; }
  QLineEdit* limitedPasswordField() const { return limitedPasswordField_; }
  QLineEdit* limitedPasswordConfirmationField() const { return limitedPasswordConfirmationField_; }
  QCheckBox* clearPasswordCheckbox() const { return clearPasswordCheckbox_; }
  QCheckBox* clearLimitedPasswordCheckbox() const { return clearLimitedPasswordCheckbox_; }

protected:
  bool validateChoice() override;
  void storeChoice() override;

private:
  void warekiDidChange();
  QLineEdit* fieldOf(PropertiesSettings::Field field) const;
  std::optional<Date> dateOfField(const QLineEdit* field) const;

  std::unique_ptr<WarekiDateFormatter> dateFormatter_;
  QLineEdit* nameField_;
  QLineEdit* addressField_;
  QLabel* kindField_;
  QCheckBox* seizouCheckbox_;
  QCheckBox* kensetuCheckbox_;
  QLineEdit* termNoField_;
  QLineEdit* termStartDateField_;
  QLineEdit* termEndDateField_;
  QCheckBox* warekiCheckbox_;
  QComboBox* decimalPrecisionPopUp_;
  QLineEdit* passwordField_;
  QLineEdit* passwordConfirmationField_;
  QLineEdit* limitedPasswordField_;
  QLineEdit* limitedPasswordConfirmationField_;
  QCheckBox* clearPasswordCheckbox_;
  QCheckBox* clearLimitedPasswordCheckbox_;
};

}  // namespace kivo

// The preferences window (環境設定): every behaviour default the program reads, stored
// in the user defaults when 適用 is clicked (handleClickApplyButton). The caption colour
// of the monthly trial balance is stored as soon as it is chosen (changeColor). One
// window for the application; while it is shown, the guards refuse to open vouchers.
#pragma once

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <map>

#include "document/DocumentWindow.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

namespace kivo {

class PreferenceController : public QDialog {
  Q_OBJECT
public:
  // The kinds of entry column with an input type and an input source each.
  enum class EntryColumn { Date, Kamoku, HojyoKamoku, Kingaku, Jigyoubu, Tekiyou };

  // The application's one preferences window, made on first use.
  static PreferenceController* sharedPreferenceController();
  // Shows it, filled from the user defaults.
  static void showPreferencesWindow();
  // Deletes the window (the application quits, or a test ends).
  static void discard();

  // Fills the controls from the user defaults.
  void updateUI();
  // Stores every control's value, then lets the monthly trial balances and the asset
  // registers of the open documents show the change.
  void handleClickApplyButton();
  // Stores the colour, archived, and updates the monthly trial balances.
  void changeColor(const QColor& color);

  QCheckBox* checkboxOfKey(const char* key) const;
  QComboBox* inputTypePopUp(EntryColumn column) const;
  QComboBox* inputSourcePopUp(EntryColumn column) const;
  QSpinBox* suiiShisanPrintMonthPerPageField() const { return monthPerPageField_; }
  QComboBox* roundingTypePopUp() const { return roundingTypePopUp_; }
  QDoubleSpinBox* zanzonWariaiField() const { return zanzonWariaiField_; }
  QDoubleSpinBox* zanzonGendoWariaiField() const { return zanzonGendoWariaiField_; }
  QPushButton* colorButton() const { return colorButton_; }
  QPushButton* applyButton() const { return applyButton_; }

  // The month columns per printed page of the monthly trial balance: 0 puts all of
  // them on one page, as does a count beyond the columns there are (the printout
  // holds the setting to its columns where it reads it). A stored value outside
  // this range shows as 0.
  static constexpr int kMinMonthPerPage = 0;
  static constexpr int kMaxMonthPerPage = 14;

private:
  PreferenceController();
  void showColor();
  // force: at once, whether the window is main or not.
  void updateWindowsOfKind(DocumentWindow::Kind kind, bool force = false);

  std::map<std::string, QCheckBox*> checkboxes_;
  std::map<EntryColumn, QComboBox*> inputTypePopUps_;
  std::map<EntryColumn, QComboBox*> inputSourcePopUps_;
  QSpinBox* monthPerPageField_ = nullptr;
  QComboBox* roundingTypePopUp_ = nullptr;
  QDoubleSpinBox* zanzonWariaiField_ = nullptr;
  QDoubleSpinBox* zanzonGendoWariaiField_ = nullptr;
  QPushButton* colorButton_ = nullptr;
  QPushButton* applyButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QColor color_;
};

}  // namespace kivo

// The sheet on the document information window that chooses what to print as
// sub-account balance lists (補助残高一覧表) without opening the list window: the
// accounts with active sub-accounts, moved by drag and drop between the candidates
// and the chosen ones (both in code order), one division or the whole company, and
// the first and last month. OK has the information window compute and print the lists
// of the chosen accounts; the page setup of that printout opens from the sheet.
//
// The choice lives in the accounts' transient isTempSelected flags; the information
// window clears them each time it opens the sheet.
#pragma once

#include <cstdint>
#include <memory>

#include "journal/gui/LedgerChoiceTree.h"
#include "platform/SheetController.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kivo {

class OpenDocument;
class JigyoubuFormatter;

class SelectPluralKamokuWithHojyoController : public SheetController {
  Q_OBJECT
public:
  static constexpr const char* kKamokuArrayDataPboardType = "Kamoku Array Data Paste board";

  explicit SelectPluralKamokuWithHojyoController(OpenDocument* document);
  ~SelectPluralKamokuWithHojyoController() override;

  // The document's sheet, made on first use.
  static SelectPluralKamokuWithHojyoController* controllerOfDocument(OpenDocument* document);

  int32_t jigyoubuCode() const { return jigyoubuCode_; }
  void setJigyoubuCode(int32_t v) { jigyoubuCode_ = v; }
  int32_t periodFromMonthArrayIndex() const { return periodFromMonthArrayIndex_; }
  void setPeriodFromMonthArrayIndex(int32_t v) { periodFromMonthArrayIndex_ = v; }
  int32_t periodToMonthArrayIndex() const { return periodToMonthArrayIndex_; }
  void setPeriodToMonthArrayIndex(int32_t v) { periodToMonthArrayIndex_ = v; }

  // Shows the values: the division (its row only while the document has an active
  // division), both account lists, OK enabled while something is chosen, the months.
  void updateUI();
  void reloadTables();
  // Marks the accounts chosen or not, as a drop into one of the lists does.
  void setKamokuChosen(const std::vector<LedgerChoiceTree::Ledger>& accounts, bool chosen);

  // --- actions
  void showJigyoubuFormatterListWindowForJigyoubuField();
  void selectItemOfMonthFromPopUp();
  void selectItemOfMonthToPopUp();
  void pageSetup();
  // Ends the sheet as Cancel would.
  void abortSelectPluralKamokuWithHojyoWindow() { abortSheet(); }

  LedgerChoiceTree* unselectedKamokuTableView() const { return unselectedTable_; }
  LedgerChoiceTree* selectedKamokuTableView() const { return selectedTable_; }
  QComboBox* monthFromPopUp() const { return monthFromPopUp_; }
  QComboBox* monthToPopUp() const { return monthToPopUp_; }
  QLineEdit* jigyoubuField() const { return jigyoubuField_; }
  QPushButton* okButtonWidget() const { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  QAbstractButton* okButton() const override;
  void storeChoice() override;

private:
  void fillTable(LedgerChoiceTree* table, bool chosen);

  OpenDocument* document_;
  int32_t jigyoubuCode_ = 99;
  int32_t periodFromMonthArrayIndex_ = 0;
  int32_t periodToMonthArrayIndex_ = 0;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;
  QWidget* jigyoubuRow_ = nullptr;
  QLineEdit* jigyoubuField_ = nullptr;
  QToolButton* selectJigyoubuButton_ = nullptr;
  LedgerChoiceTree* unselectedTable_ = nullptr;
  LedgerChoiceTree* selectedTable_ = nullptr;
  QComboBox* monthFromPopUp_ = nullptr;
  QComboBox* monthToPopUp_ = nullptr;
  QPushButton* pageSetupButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace kivo

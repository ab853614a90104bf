// The sheet that edits the document's journal display condition: six stages (date,
// voucher number, accounts, divisions, amount, description), the accounts and the
// divisions as growing lists of rows (side, code, pickers, add and remove). The
// document keeps one, made the first time the journal asks for it.
//
// The sheet is filled from the condition every time it opens and writes it back only
// on OK, which then makes the journal window leave marked mode and list the entries
// of the new condition. OK is refused (with a beep, the offending "to" field selected)
// when a range that is on runs backwards or a field holds text that is no value.
// Typing a bound into a stage that is off turns it on; a stage whose bounds are both
// empty is switched off on OK. Items whose account, sub-account or division has gone
// are dropped or widened when the sheet is filled, and repeated items are kept once.
#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>
#include <vector>

#include "journal/ShiwakenikkiCondition.h"
#include "platform/SheetController.h"

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace kivo {

class AmountFormatter;
class OpenDocument;
class Formatter;
class FormatterLineEditBinding;
class HidukeFormatter;
class HojyoKamokuFormatter;
class JigyoubuFormatter;
class KamokuFormatter;
class WindowController;

class ShiwakenikkiDisplayConditionController : public SheetController {
  Q_OBJECT
public:
  // One row of the account or the division list.
  struct ConditionRow {
    QWidget* widget = nullptr;
    QComboBox* sidePopUp = nullptr;  // item index = the item's side
    QLineEdit* codeField = nullptr;
    FormatterLineEditBinding* codeBinding = nullptr;
    QToolButton* selectCodeButton = nullptr;
    // Account rows only.
    QLineEdit* hojyoField = nullptr;
    FormatterLineEditBinding* hojyoBinding = nullptr;
    std::unique_ptr<HojyoKamokuFormatter> hojyoFormatter;
    QToolButton* selectHojyoButton = nullptr;
    QToolButton* addButton = nullptr;
    QToolButton* removeButton = nullptr;
  };

  explicit ShiwakenikkiDisplayConditionController(OpenDocument* document, QWidget* parent = nullptr);
  ~ShiwakenikkiDisplayConditionController() override;

  // The document's condition sheet, made and kept by the document on first use.
  static ShiwakenikkiDisplayConditionController* displayConditionControllerOfDocument(OpenDocument* document);
  // The journal window's display condition of the document: one per open document,
  // kept with its sheet, every stage off at first, never written to the file.
  static ShiwakenikkiCondition& conditionOfDocument(OpenDocument* document);
  ShiwakenikkiCondition& condition() { return condition_; }

  // Fills every control from the condition; hides or shows Cancel.
  void updateUIAndSetCancelButtonHidden(bool hidden);
  // Begins the sheet on the journal window.
  void beginSheetForWindow(WindowController* window);

  // The action of both buttons: OK (after shouldEndSheet) or cancel.
  void endShiwakenikkiDisplayConditionWindow(QObject* sender);
  void abortShiwakenikkiDisplayConditionWindow() { abortSheet(); }
  // The checks before OK; false beeps and selects the offending field.
  bool shouldEndSheet();

  // --- the lists
  void displayKamokuCondition();
  void displayJigyoubuCondition();
  void updateKamokuCondition();
  void updateJigyoubuCondition();
  int numberOfKamokuConditionListRows() const { return static_cast<int>(kamokuRows_.size()); }
  int numberOfJigyoubuConditionListRows() const { return static_cast<int>(jigyoubuRows_.size()); }
  const ConditionRow& kamokuConditionRow(int row) const { return *kamokuRows_[row]; }
  const ConditionRow& jigyoubuConditionRow(int row) const { return *jigyoubuRows_[row]; }
  // The row commands, for the row whose button was pressed.
  void addKamokuCondition(int row);
  void removeKamokuCondition(int row);
  void addJigyoubuCondition(int row);
  void removeJigyoubuCondition(int row);
  void showKamokuFormatterListWindow(int row);
  void showHojyoKamokuFormatterListWindow(int row);
  void showJigyoubuFormatterListWindow(int row);
  // Sets a row's account (and sub-account, -1 none) as a choice in the picker would.
  void setKamokuOfRow(int row, int32_t kamokuCode, int32_t hojyoKamokuCode);

  // Typing a bound into a stage that is off turns the stage on.
  void controlTextDidEndEditing(QLineEdit* field);

  // --- controls
  QComboBox* dateConditionPopUp() const { return dateConditionPopUp_; }
  QLineEdit* dateFromField() const { return dateFromField_; }
  QLineEdit* dateToField() const { return dateToField_; }
  QComboBox* denpyouNoConditionPopUp() const { return denpyouNoConditionPopUp_; }
  QLineEdit* denpyouNoFromField() const { return denpyouNoFromField_; }
  QLineEdit* denpyouNoToField() const { return denpyouNoToField_; }
  QComboBox* kamokuConditionPopUp() const { return kamokuConditionPopUp_; }
  QComboBox* jigyoubuConditionPopUp() const { return jigyoubuConditionPopUp_; }
  QComboBox* kingakuConditionPopUp() const { return kingakuConditionPopUp_; }
  QLineEdit* kingakuFromField() const { return kingakuFromField_; }
  QLineEdit* kingakuToField() const { return kingakuToField_; }
  QComboBox* tekiyouConditionPopUp() const { return tekiyouConditionPopUp_; }
  QLineEdit* tekiyouField() const { return tekiyouField_; }
  QAbstractButton* okButton() const override;
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  void storeChoice() override;
  // Escape ends the sheet only while it has a Cancel button.
  void reject() override;

private:
  using RowList = std::vector<std::unique_ptr<ConditionRow>>;

  void buildLayout();
  QWidget* buildListBox(QVBoxLayout*& rowsLayout);
  ConditionRow* insertKamokuConditionListRow(int index);
  ConditionRow* insertJigyoubuConditionListRow(int index);
  // A new row's start: its side pop-up, its code field and the code's picker button
  // laid out on the line answered; the caller adds what follows on the line.
  QHBoxLayout* beginConditionRow(ConditionRow& row, Formatter& codeFormatter, const QString& pickTip);
  // The row's add and remove buttons; the row goes at index of the list (clamped),
  // its refused text beeps, and the list is striped again.
  ConditionRow* placeConditionRow(RowList& rows, QVBoxLayout* rowsLayout, QHBoxLayout* line,
                                  std::unique_ptr<ConditionRow> row, int index);
  void removeConditionListRow(RowList& rows, int index);
  void renewKamokuConditionListRows(int n);
  void renewJigyoubuConditionListRows(int n);
  void paintRowBands(const RowList& rows);
  int indexOfRow(const RowList& rows, const QObject* control) const;
  void kamokuOfRowDidChange(ConditionRow& row);
  void sheetDidEnd(int returnCode);

  OpenDocument* document_;
  QPointer<WindowController> journalWindow_;

  std::unique_ptr<HidukeFormatter> dateFromFormatter_;
  std::unique_ptr<HidukeFormatter> dateToFormatter_;
  std::unique_ptr<AmountFormatter> kingakuFromFormatter_;
  std::unique_ptr<AmountFormatter> kingakuToFormatter_;
  std::unique_ptr<KamokuFormatter> kamokuFormatter_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;

  QComboBox* dateConditionPopUp_ = nullptr;
  QLineEdit* dateFromField_ = nullptr;
  QLineEdit* dateToField_ = nullptr;
  FormatterLineEditBinding* dateFromBinding_ = nullptr;
  FormatterLineEditBinding* dateToBinding_ = nullptr;
  QComboBox* denpyouNoConditionPopUp_ = nullptr;
  QLineEdit* denpyouNoFromField_ = nullptr;
  QLineEdit* denpyouNoToField_ = nullptr;
  QComboBox* kamokuConditionPopUp_ = nullptr;
  QVBoxLayout* kamokuRowsLayout_ = nullptr;
  QComboBox* jigyoubuConditionPopUp_ = nullptr;
  QVBoxLayout* jigyoubuRowsLayout_ = nullptr;
  QComboBox* kingakuConditionPopUp_ = nullptr;
  QLineEdit* kingakuFromField_ = nullptr;
  QLineEdit* kingakuToField_ = nullptr;
  FormatterLineEditBinding* kingakuFromBinding_ = nullptr;
  FormatterLineEditBinding* kingakuToBinding_ = nullptr;
  QComboBox* tekiyouConditionPopUp_ = nullptr;
  QLineEdit* tekiyouField_ = nullptr;
  QCheckBox* caseInsensitiveSearchCheckbox_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;

  RowList kamokuRows_;
  RowList jigyoubuRows_;
  ShiwakenikkiCondition condition_;
};

}  // namespace kivo

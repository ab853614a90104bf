// A cash-book window (出納帳) of a document: the rows of one cash or deposit account
// (or one sub-account of it) as a grid of two-line rows (date and number;
// counterpart account and sub-account; description and the two divisions; receipt,
// payment and the running balance; the mark of a transfer-voucher line), with the
// book's account and sub-account in the header, where another book can be chosen.
//
// The rules live in the book model (Suitoucyou), the registrar and the cell movement;
// this window turns typed text into cell values through the field formatters, shows
// the sheets, registers rows as the user leaves them, offers the commands of its
// "機能" menu and the book's Ctrl+digit shortcut, and recomputes its balances, under
// the progress sheet when it is not the main window.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "entry/Suitoucyou.h"
#include "entry/SuitoucyouCellMovement.h"
#include "entry/SuitoucyouRegistrar.h"
#include "entry/gui/EntryWindowController.h"
#include "setup/TekiyouListSource.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;

namespace kivo {

class AmountFormatter;
class Formatter;
class HidukeFormatter;
class HojyoKamokuFormatter;
class JigyoubuFormatter;
class KamokuFormatter;
class SuitoucyouView;
class TekiyouFormatter;

class SuitoucyouController : public EntryWindowController, public TekiyouListSource {
  Q_OBJECT
public:
  using Column = SuitoucyouRow::Column;
  using Command = SuitoucyouCellMovement::Command;

  // The commands of the "機能" menu, as its items carry them.
  enum class FunctionCommand {
    ShowKamoku,
    ShowHojyoKamoku,
    ShortcutMenu,
    Register,
    NewRow,  // add, insert or duplicate a row: each takes a new number
    RemoveRow,
    SetItemAsAboveRowItem,
    SortByDate,
  };

  static constexpr const char* kWindowMenuTitle = "出納帳";
  static constexpr const char* kTitleSuffix = " - 出納帳";
  static constexpr const char* kShortcutMenuTitle = "この出納帳を表示するショートカット";
  static constexpr const char* kProgressMessage = "出納帳の残高を計算中...";

  // The book of the account and sub-account, to show the entry numbered denpyouNo
  // (0: the pending row). An account of -1 takes the book from that entry when the
  // window loads. With doNeedToDisplayShiwakeWhenWindowDidLoad the rows are filled as
  // the window loads; else the caller calls displayShiwake.
  SuitoucyouController(OpenDocument* document, int32_t denpyouNo, int32_t kamokuCode, int32_t hojyoKamokuCode,
                       bool doNeedToDisplayShiwakeWhenWindowDidLoad);
  ~SuitoucyouController() override;

  // The application's "出納帳" command: the document's book of the pair, made, placed
  // and filled when it has none, brought to the front.
  static SuitoucyouController* showSuitoucyouWindow(OpenDocument* document, int32_t kamokuCode,
                                                    int32_t hojyoKamokuCode);
  // Brings the book to the front at the voucher number, opening it when the document
  // has none; a book opened here shows its entries unless displayShiwake is false.
  static SuitoucyouController* showSuitoucyouAtDenpyouNo(OpenDocument* document, int32_t kamokuCode,
                                                         int32_t hojyoKamokuCode, int32_t denpyouNo,
                                                         bool displayShiwake = true);

  Suitoucyou& book() { return book_; }
  const Suitoucyou& book() const { return book_; }
  SuitoucyouView* suitoucyouView() const { return suitoucyouView_; }
  QLineEdit* displayingKamokuField() const { return displayingKamokuField_; }
  QLineEdit* displayingHojyoKamokuField() const { return displayingHojyoKamokuField_; }
  QPushButton* selectDisplayingKamokuButton() const { return selectDisplayingKamokuButton_; }
  QPushButton* selectDisplayingHojyoKamokuButton() const { return selectDisplayingHojyoKamokuButton_; }
  bool doNeedUpdateZandaka() const { return doNeedUpdateZandaka_; }
  void setDoUpdateZandakaEvenNotMainWindow(bool v) { doUpdateZandakaEvenNotMainWindow_ = v; }

  int32_t displayKamokuCode() const { return book_.displayKamokuCode(); }
  int32_t displayHojyoKamokuCode() const { return book_.displayHojyoKamokuCode(); }
  bool isSuitoucyouOf(int32_t kamokuCode, int32_t hojyoKamokuCode) const override
  {
    return displayKamokuCode() == kamokuCode && displayHojyoKamokuCode() == hojyoKamokuCode;
  }
  // The journal changed under this book's account: it recomputes from the first row
  // (its pending entry moved last first, when asked and its last row is being typed).
  void journalDidChangeAccounts(const ChangedAccounts& accounts) override;
  // The refresh other windows ask for: the row being edited is registered first,
  // then the rows are filled again with the same entry selected.
  void updateSuitoucyouUI();

  // --- showing the book
  // Fills the rows; without a row for selectDenpyouNo an empty pending row is added
  // and registered. The balances follow at once when the window is main (or asked to
  // even when it is not), else when it becomes main.
  void displayShiwake();
  void setZandakaMatrixCellsValue();
  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;
  // Another book for this window; when that book is open already, its window comes to
  // the front instead. False when the choice is this book.
  bool switchToKamokuCode(int32_t kamokuCode, int32_t hojyoKamokuCode);
  // The pickers of the header, through the "機能" menu and the header buttons.
  void showSuitouKamokuFormatterListWindowForDisplayingKamokuField();
  void showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField();
  // The journal, ledger and statement windows show an entry of the book.
  void showSuitoucyouOfDenpyouNo(int32_t n);
  // "日付順に並び替え".
  void recalculateZandaka();

  // --- checks and registration
  bool doAllSuitoucyouCellsHaveValidObjectValuesAtRow(int row, int32_t denpyouNo, bool showErrorMessage);
  // Registers the row of selectDenpyouNo; shows the sheet of a refused numbered row
  // or of an exhausted counter unless asked not to.
  SuitoucyouRegistrar::Result setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(bool showErrorMessage = true);
  // "行を登録": false when the row check's sheet shows.
  bool handleChoosesetSuitoucyouRowOfSelectDenpyouNoToShiwakeArrayMenu();

  // --- rows and the selection
  int numberOfSuitoucyouRows() const { return book_.numberOfSuitoucyouRows(); }
  int selectedSuitoucyouRow() const { return book_.selectedSuitoucyouRow(); }
  void deselectSelectedCellAndThenSelectSuitoucyouRow(int row, Column column);
  void handleChooseAddSuitoucyouRow();
  void handleChooseInsertSuitoucyouRow();
  void handleChooseDuplicateSuitoucyouRow();
  void handleChooseRemoveSuitoucyouRow();
  void setItemAsAboveSuitoucyouRowItem();
  // The undo of a removal: puts the entry back at its place; the redo removes that
  // entry's row again (false when the book does not show it).
  void restoreRemovedRow(const SuitoucyouRegistrar::Removal& removal);
  bool redoRemoval(SuitoucyouRegistrar::Removal& removal);

  // --- keys
  // Tab, Back-tab and the arrows; false when the cell's typed text is refused.
  bool moveSelectSuitoucyouCellByCommand(Command command);

  // --- "機能" menu and the book's shortcut
  const std::vector<QAction*>& functionMenuActions() override;
  QMenu* shortcutMenu() const { return shortcutMenu_; }
  void validateMenuItems() override;
  // Gives this book the digit of its Ctrl shortcut (taken from any other book).
  void changeKeyEquivalentOfSuitoucyouSubMenu(int digit);
  void setItemCheckmarkOfkeyEquivalentMenu();

  // --- the description list opened over this window
  bool getSelectedRowKarikataKamokuCode(int& karikataKamokuCode, int& kashikataKamokuCode) const override;
  void writeTekiyouStringToPasteboard() override;
  // Ends an attached description-list sheet before another sheet opens.
  void closeAttachedSheet() override;

  // --- the document's hooks
  bool settleEditing() override { return handleChoosesetSuitoucyouRowOfSelectDenpyouNoToShiwakeArrayMenu(); }
  // A book in the background, before a save: its row is registered when it is
  // finished, without a sheet; an unfinished row stays as typed.
  void settleFinishedEditing() override;

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  QString denpyouAndCyouhyouItemTitle() const override;
  const char* windowWidthDefaultsKey() const override;
  const char* windowHeightDefaultsKey() const override;
  void recomputeUI() override;
  void windowDidBecomeMain() override;
  void windowDidResignKey() override;
  void windowWillCloseHook() override;

private:
  class MovementActions;

  // EntryGridView::Delegate
  int numberOfRows() const override;
  QString stringValue(int row, int matrixId) const override;
  bool textShouldBeginEditing(int row, int matrixId) override;
  void textDidBeginEditing(int row, int matrixId) override;
  void textDidChange(int row, int matrixId, const QString& text) override;
  void mouseDownInCell(int row, int matrixId) override;
  QColor textColor(int row, int matrixId) const override;

  // EntryWindowController
  EntryGridView* entryGridView() const override;
  bool isEditableMatrix(int matrixId) const override { return book_.isEditableColumn(static_cast<Column>(matrixId)); }
  Formatter* formatterForMatrix(int matrixId, int row) const override;
  FieldValue cellValue(int row, int matrixId) const override { return book_.cell(row, static_cast<Column>(matrixId)); }
  void setCellValue(int row, int matrixId, const FieldValue& value) override;
  int selectedEntryRow() const override { return book_.selectedSuitoucyouRow(); }
  int selectedEntryMatrix() const override { return book_.selectedColumn(); }
  bool moveSelectedCell(EntryGridView::Command command) override;
  Picker pickerOfMatrix(int matrixId) const override;
  InputKind inputKindOfMatrix(int matrixId) const override;
  int hojyoKamokuMatrixOfKamokuMatrix(int) const override { return SuitoucyouRow::AiteHojyoKamokuMatrix; }
  // A transfer-voucher line is picked into in the voucher window.
  bool mayPickInCell(int row, int matrixId) override { return textShouldBeginEditing(row, matrixId); }

  void buildLayout();
  void setUpMatrices();
  SuitoucyouRegistrar::Context registrarContext() const;
  void reloadSuitoucyouView();
  void markEdited();
  void setDisplayingKamokuFieldValue();
  void updateWindowMenu();
  // Removes the selected row, recording the undo.
  void removeSelectedRow();
  void beginAlertSheet(const char* title, const std::string& message);
  // Every other open book of the document.
  std::vector<SuitoucyouController*> otherSuitoucyouControllers() const;

  Suitoucyou book_;
  int32_t initialDenpyouNo_;
  bool doNeedToDisplayShiwakeWhenWindowDidLoad_;
  bool doNeedUpdateZandaka_ = false;
  bool doUpdateZandakaEvenNotMainWindow_ = false;
  // The selected row was typed in since it was last shown or registered.
  bool isSelectedRowEdited_ = false;
  // A refresh found the edited row invalid and kept it: the book is rebuilt once the
  // row is written.
  bool doesNeedToRebuildAfterEditedRow_ = false;

  SuitoucyouView* suitoucyouView_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLineEdit* displayingKamokuField_ = nullptr;
  QPushButton* selectDisplayingKamokuButton_ = nullptr;
  QLabel* displayingHojyoKamokuTitleField_ = nullptr;
  QLineEdit* displayingHojyoKamokuField_ = nullptr;
  QPushButton* selectDisplayingHojyoKamokuButton_ = nullptr;
  QProgressBar* progressIndicator_ = nullptr;

  std::unique_ptr<KamokuFormatter> displayingKamokuFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> displayingHojyoKamokuFormatter_;
  std::unique_ptr<HidukeFormatter> hidukeFormatter_;
  std::unique_ptr<KamokuFormatter> aiteKamokuFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> aiteHojyoKamokuFormatter_;
  std::unique_ptr<TekiyouFormatter> tekiyouFormatter_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;
  std::unique_ptr<AmountFormatter> kingakuFormatter_;

  QMenu* shortcutMenu_ = nullptr;
};

}  // namespace kivo

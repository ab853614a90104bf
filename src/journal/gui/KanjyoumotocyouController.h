// The ledger window: the general ledger (総勘定元帳) of one account or the sub ledger
// (補助元帳) of one sub-account over a range of months, as the ledger row builder
// gives it: the opening balance, one row per entry with the running balance, a total
// after each month with entries and the final total. A document may hold several
// ledger windows, each with its own account, sub-account and period; they share one
// remembered frame.
//
// Above the table a strip shows what is shown (account, sub-account, first and last
// month); one of its fields is highlighted, and the keys typed in the table act on
// it: Tab and Back-tab move the highlight, a letter or digit opens the account or
// sub-account picker with it as search text or the date panel on a month field,
// Delete on the sub-account field goes back to the general ledger. Return, Enter or
// a double click opens the voucher of the selected entry.
//
// The window is an output window: changes of the journal refresh it under the
// document's refresh rule (a window in the background with "Auto Update All Output
// Windows" off waits until it becomes main).
//
// Entries are corrected where they are read: Space or a click on the selected row
// opens a cell that the entry allows to change (KanjyoumotocyouRowEdit decides and
// applies), the "機能" menu duplicates an entry or removes a cash-book entry (with
// undo). A stored correction shows at once, in this window and every other (the cash
// books, the journal, the reports), once no cell of the ledger is open any more and no
// click is on its way to another cell of the row; the corrected entry stays chosen
// wherever it now stands.
#pragma once

#include <QByteArray>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "journal/KanjyoumotocyouRowEdit.h"
#include "journal/Motocyou.h"
#include "journal/gui/CyouhyouTableView.h"
#include "journal/gui/KanjyoumotocyouTableModel.h"
#include "journal/gui/PeriodReportWindowController.h"
#include "model/Shiwake.h"
#include "setup/TekiyouListSource.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class QStyledItemDelegate;

namespace kivo {

class HidukeFormatter;
class HojyoKamokuFormatter;
class JigyoubuFormatter;
class KamokuFormatter;
class TekiyouFormatter;

class KanjyoumotocyouController : public PeriodReportWindowController,
                                  public TekiyouListSource,
                                  private CyouhyouTableView::Controller,
                                  private KanjyoumotocyouTableModel::DataSource {
  Q_OBJECT
public:
  using Column = KanjyoumotocyouTableModel::Column;

  // The ledgers share one remembered frame; a new one that would lie exactly on an open
  // one goes down and to the right of it.
  void moveWindowToInitialPositionWithDisplay(bool display) override;

  static constexpr const char* kWindowMenuTitle = "総勘定元帳／補助元帳";
  static constexpr const char* kSoukanjyouTitle = "総勘定元帳";
  static constexpr const char* kHojyoTitle = "補助元帳";
  static constexpr const char* kCreatedTypeFurikaedenpyou = "振伝";
  // The items of the "機能" menu.
  static constexpr const char* kShowKamokuTitle = "表示する勘定科目...";
  static constexpr const char* kShowHojyoKamokuTitle = "表示する補助科目...";
  static constexpr const char* kClearHojyoKamokuTitle = "補助科目をクリアーして勘定元帳を表示";
  static constexpr const char* kSetPeriodTitle = "表示する期間...";
  static constexpr const char* kShortcutTitle = "この元帳を表示するショートカット";
  static constexpr const char* kShortcutItemTitle = "Ctrl キー + Alt キー + ";
  static constexpr const char* kDuplicateRowTitle = "行の複製";
  static constexpr const char* kRemoveRowTitle = "行の削除";
  static constexpr const char* kShowInputShiwakeWindowTitle = "仕訳を入力した出納帳／振替伝票を表示";
  static constexpr const char* kSaveToTextFileTitle = "テキストファイルに書き出す...";
  static constexpr const char* kShowPrintPreviewTitle = "簡易プレビューを表示...";
  // The commands of the "機能" menu, as its items carry them.
  enum class FunctionCommand {
    ShowKamoku,
    ShowHojyoKamoku,
    ClearHojyoKamoku,
    SetPeriod,
    ShortcutMenu,
    ShowInputShiwakeWindow,
    ShowPrintPreview,
    SaveToTextFile,
    DuplicateRow,
    RemoveRow,
  };
  // The alerts of the row commands and of an invalid cell.
  static constexpr const char* kInvalidCellMessage = "編集中の項目が正しく入力されていません。";
  static constexpr const char* kDuplicateInSuitoucyouMessage = "複製しようとしている仕訳は出納帳で選択されています。";
  static constexpr const char* kDuplicateInFurikaedenpyouMessage =
      "複製しようとしている仕訳は振替伝票で表示されています。";
  static constexpr const char* kInvalidDenpyouNoTitle = "無効な伝票番号";
  static constexpr const char* kDenpyouNoExhaustedMessage = "伝票番号が %d を超えます。選択中の仕訳を複製できません。";
  static constexpr const char* kRemoveNotSuitoucyouMessage = "出納帳で入力した仕訳以外は削除できません。";
  static constexpr const char* kRemoveInSuitoucyouMessage = "削除しようとしている仕訳は出納帳で選択されています。";

  explicit KanjyoumotocyouController(OpenDocument* document);
  ~KanjyoumotocyouController() override;

  // --- opening, as the application's commands do
  // The command "総勘定元帳／補助元帳": a ledger window of the document that shows no
  // account, else a new one, brought to the front.
  static KanjyoumotocyouController* showKanjyoumotocyouWindow(OpenDocument* document);
  // A ledger shortcut: the window that shows the ledger, else an empty one, else a
  // new one, set to the ledger and brought to the front.
  // The ledger of the account and sub-account (-1: the account's own) over the months,
  // as a report row opens it: a window showing just that comes forward, else one that
  // shows no account, else a new one.
  static KanjyoumotocyouController* showKanjyoumotocyouOfPeriod(OpenDocument* document, int32_t kamokuCode,
                                                                int32_t hojyoKamokuCode, int32_t periodFrom,
                                                                int32_t periodTo);
  static KanjyoumotocyouController* showShortCutKanjyoumotocyouWindow(OpenDocument* document, int32_t kamokuCode,
                                                                      int32_t hojyoKamokuCode);

  // --- what is shown: the setters only store; a caller that changes the account
  // follows with updateAfterSelectDisplayingKamoku, one that changes the period with
  // updateUI.
  int displayKamokuCode() const { return displayKamokuCode_; }
  void setDisplayKamokuCode(int32_t v) { displayKamokuCode_ = v; }
  int displayHojyoKamokuCode() const { return displayHojyoKamokuCode_; }
  void setDisplayHojyoKamokuCode(int32_t v) { displayHojyoKamokuCode_ = v; }

  // Applies a new account or sub-account: rows from the top, title, own-sub-account
  // column and Window-menu item.
  void updateAfterSelectDisplayingKamoku();

  // --- the rows
  QString stringValue(int row, Column column) const override;
  int numberOfRowsInTableView() const override { return static_cast<int>(displayMotocyouArray_.size()); }
  bool isTotalRow(int row, const CyouhyouTableView& tableView) const override;

  // --- the selection strip
  // The fields in Tab order (textFieldArray): account, sub-account (while in use),
  // period from and to.
  void setDisplayingKamokuFieldValue();
  QLineEdit* displayingKamokuField() const { return displayingKamokuField_; }
  QLineEdit* displayingHojyoKamokuField() const { return displayingHojyoKamokuField_; }

  // --- commands
  void showKamokuFormatterListWindowForDisplayingKamokuField(const QString& searchText = QString());
  void showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField(const QString& searchText = QString());
  void clearDisplayingHojyoKamokuField();
  void setKanjyoumotocyouDisplayingPeriod();
  // The period sheet's OK: the rows of the chosen months, from the top.
  void updateDisplayPeriodUI() override;
  void showInputShiwakeWindow();
  void changeKeyEquivalentOfKanjyoumotocyouSubMenu(const QString& digit);
  // Prints the shown ledger (the application's print command), numbered per ledger
  // from page 1; nothing while a cell edit is invalid.
  void printKanjyoumotocyou();
  // The shown ledger in the document's ledger preview.
  void showPrintPreview();
  // Writes the shown rows to a text file.
  void saveToTextFile();
  void setItemCheckmarkOfkeyEquivalentMenu();

  // --- after a ledger row was edited (the row editing sets the number)
  void updateAllWindowControllersUIIfShiwakeWasEdited();
  void updateSuitoucyouWindowControllersUI();
  // An entry of this number changed under a command (the removal and its undo): the
  // books and reports refresh now, and the row (>= 0) is selected afterwards.
  void shiwakeDidChange(int32_t denpyouNo, int selectRow);

  // --- editing rows
  // The entry of a row; null on balance and total rows.
  ShiwakePtr shiwakeOfRow(int row) const;
  bool isEditableCell(int row, Column column) const override;
  // Whether the cell may be opened now: the document allows entry windows and no cash
  // book or voucher window holds the entry (their own refusals are shown).
  bool shouldEditTableColumn(int row, Column column);
  // Opens the first cell of the selected row that may be edited (Space).
  void editFirstEditableColumn();
  bool isEditingCell() const override;
  bool isEditingShiwakeOfDenpyouNo(int32_t denpyouNo) const;
  // Ends a cell edit as a command does: an invalid text is refused with an alert.
  bool deselectEditingCell() override;
  // For the document (another window coming forward or showing an entry, a save) and
  // every command: ends the cell edit and passes the changed entries on to the cash
  // books and reports before anything else happens.
  bool settleEditing() override;
  // Checks the edited text; the user ends the edit when doShowFormatterListWindow, a
  // command when not (which shows the alert, and opens no picker but the
  // description's).
  bool tableViewTextShouldEndEditing(QLineEdit* editor, bool doShowFormatterListWindow);
  // Applies a checked value to the row's entry.
  void setObjectValue(int row, Column column, const FieldValue& value);
  void handleChooseDuplicateKanjyoumotocyouRow();
  void handleChooseRemoveKanjyoumotocyouRow();

  // --- the description list opened over this window: the selected row's accounts
  // (their groups first) and its description (offered for adding)
  bool getSelectedRowKarikataKamokuCode(int& karikataKamokuCode, int& kashikataKamokuCode) const override;
  void writeTekiyouStringToPasteboard() override;

  // --- "機能" menu
  const std::vector<QAction*>& functionMenuActions() override;
  QMenu* shortcutMenu() const { return shortcutMenu_; }
  void validateMenuItems() override;

  CyouhyouTableView* tableView() const { return tableView_; }
  KanjyoumotocyouTableModel* tableModel() const { return tableModel_; }

  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;

  // --- printing, through the application's print commands
  bool validatePrintMenuItem() const override { return displayKamokuCode_ >= 0; }
  void printDocument() override { printKanjyoumotocyou(); }
  // The ledgers' page setup, shared with the printing of several ledgers.
  void pageSetup() override;

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  QString denpyouAndCyouhyouItemTitle() const override;
  const char* windowWidthDefaultsKey() const override;
  const char* windowHeightDefaultsKey() const override;
  void recomputeUI() override;
  void fillFunctionMenu(QMenu* menu) override;
  void windowDidBecomeMain() override;
  void windowDidResignMain() override;
  void windowDidResignKey() override;
  void windowWillCloseHook() override;
  bool isOwnTableView(const QObject* sender) const override { return sender == tableView_; }
  // A click on the table while a cell is in edit ends the edit first (a double click
  // as the command it is); one the edit refuses goes no further.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void openSelectedRow() override { showInputShiwakeWindow(); }
  void spaceOnTableView() override { editFirstEditableColumn(); }
  // Delete on the sub-account field goes back to the general ledger.
  void deleteOnTextField(QLineEdit* field) override;
  bool typeOnTextField(QLineEdit* field, const QString& typed) override;

private:
  // The empty ledger (or, without one, a new ledger) showing the account and
  // sub-account, over the months when they are given.
  static KanjyoumotocyouController* showInLedger(OpenDocument* document, KanjyoumotocyouController* empty,
                                                 int32_t kamokuCode, int32_t hojyoKamokuCode,
                                                 const std::pair<int32_t, int32_t>* period);
  void buildLayout();
  // The columns the table shows: the layout's, less those the books do not use, with
  // the own-sub-account column while it is attached.
  std::vector<Column> visibleColumns() const;
  // Attaches or detaches the own-sub-account column and fits the window.
  void setHojyoKamokuColumnWidth();
  void applyColumnWidths();
  int maximumWindowWidth() const;
  // The width a column takes (at most: the widest it may be made); an amount column
  // shows the largest figure the output limit allows.
  int columnWidth(Column column, bool maximum) const;
  // The window that holds a sheet editing the company or its master lists, after the
  // user was told to close it; nullptr when there is none.
  WindowController* refuseForBlockingSheet();
  void setTextFieldInUse(QLineEdit* field, bool inUse);
  KanjyoumotocyouRowEdit::Ledger ledger() const { return {displayKamokuCode_, displayHojyoKamokuCode_}; }
  QModelIndex indexOfCell(int row, Column column) const;
  // Whether a cash book has the voucher selected, or the voucher window shows it.
  bool isSelectedInSuitoucyou(int32_t denpyouNo) const;
  bool isShownInFurikaedenpyou(int32_t denpyouNo) const;
  void controlTextDidBeginEditing(int row, Column column);
  // The first change to the edited text: the document counts a change.
  void controlTextDidChange();
  // How an edit ends: the user's key (Return, Enter, Tab, Back-tab: a picker may open),
  // the user moving on (an arrow key, a click elsewhere, the focus leaving: no picker),
  // or a command (an invalid text is refused with the alert).
  enum class EndMode { Key, Move, Command };
  bool checkEditedText(QLineEdit* editor, EndMode mode);
  // Ends the edit as the user does: a valid text is applied and the cell closes (true);
  // any other keeps the cell in edit with the keyboard, and the selection where it is.
  bool endEditingByUser(EndMode mode);
  // The focus left the cell other than by the user's key or click (no picker, no
  // alert): once it has settled, the edit ends as the user's would.
  void editorDidLoseFocus(QLineEdit* editor);
  // The ending edit's value, applied when the editor is closed.
  void commitEditedCell();
  void editorDidClose();
  void setPriorityTekiyouGroupNameToSearch(int row);
  void selectRowOfShiwake(const ShiwakePtr& s);

  int32_t editedShiwakeDenpyouNo_ = -1;
  int selectRowAfterUpdate_ = -1;
  int32_t displayKamokuCode_ = -1;
  int32_t displayHojyoKamokuCode_ = -1;
  std::vector<Motocyou> displayMotocyouArray_;
  // The entry of each entry row (null on other rows), taken when the rows were built.
  std::vector<ShiwakePtr> rowShiwakeArray_;
  bool hojyoKamokuColumnAttached_ = false;
  QByteArray widthDefaultsKey_;

  QWidget* stateView_ = nullptr;
  QLineEdit* displayingKamokuField_ = nullptr;
  QToolButton* selectDisplayingKamokuButton_ = nullptr;
  QLabel* displayingHojyoKamokuTitleField_ = nullptr;
  QLineEdit* displayingHojyoKamokuField_ = nullptr;
  QToolButton* selectDisplayingHojyoKamokuButton_ = nullptr;
  CyouhyouTableView* tableView_ = nullptr;
  KanjyoumotocyouTableModel* tableModel_ = nullptr;
  QMenu* shortcutMenu_ = nullptr;
  QAction* shortcutMenuAction_ = nullptr;

  std::unique_ptr<HidukeFormatter> hidukeFormatter_;
  std::unique_ptr<KamokuFormatter> kamokuFieldFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> hojyoKamokuFieldFormatter_;
  std::unique_ptr<KamokuFormatter> aiteKamokuFormatter_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> hojyoKamokuColumnFormatter_;
  std::unique_ptr<TekiyouFormatter> tekiyouFormatter_;

  // The cell being edited (-1 none), its checked value and whether a picker is up.
  QStyledItemDelegate* cellDelegate_ = nullptr;
  QPointer<QLineEdit> editor_;
  int editingRow_ = -1;
  Column editingColumn_ = Column::Date;
  std::optional<FieldValue> pendingValue_;
  bool validating_ = false;
  // The edited text has changed since the cell opened.
  bool editorTextChanged_ = false;
  // A click the edit refused: its drag and release go no further either.
  bool clickRefused_ = false;
  // The rows were due to be built anew while a cell was in edit: they wait for the
  // edit's end, whichever way it ends, as a stored correction does (passed on to the
  // books and reports, which refreshes these rows too). Cleared when it runs.
  bool recomputeWhenEditEnds_ = false;
  // Runs what waited for the edit's end, once no cell is open and no click on the table
  // is under way.
  void runWhatWaitedForTheEdit();
};

}  // namespace kivo

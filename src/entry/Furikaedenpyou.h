// The transfer voucher (振替伝票) that the voucher window shows and edits: its rows,
// its number, whether it changed since it was shown, and the one selected cell of
// the grid. It decides everything the window asks below its widgets: the balance,
// the row and voucher checks with their messages, the rows' structure and the row
// commands, and filling the rows from the journal.
//
// The grid widget mirrors this model; the window controller turns typed text into
// cell values through the field formatters and shows the check's messages.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/MyDocument.h"
#include "entry/FurikaedenpyouCheckResult.h"
#include "entry/FurikaedenpyouRow.h"

namespace kivo {

class Furikaedenpyou {
public:
  using Column = FurikaedenpyouRow::Column;

  // Messages of the "無効な伝票" sheet. Those with %d take the 1-based row.
  static constexpr const char* kInvalidDenpyouTitle = "無効な伝票";
  static constexpr const char* kDateMessage = "%d 行目の日付が正しく入力されていません。";
  static constexpr const char* kKarikataHojyoKamokuMessage = "%d 行目の補助科目(借方)が入力されていません。";
  static constexpr const char* kKarikataJigyoubuMessage = "%d 行目の借方事業部が入力されていません。";
  static constexpr const char* kKarikataKingakuMessage = "%d 行目の借方金額が入力されていません。";
  static constexpr const char* kKarikataKamokuMessage = "%d 行目の借方科目が入力されていません。";
  static constexpr const char* kKashikataHojyoKamokuMessage = "%d 行目の補助科目(貸方)が入力されていません。";
  static constexpr const char* kKashikataJigyoubuMessage = "%d 行目の貸方事業部が入力されていません。";
  static constexpr const char* kKashikataKingakuMessage = "%d 行目の貸方金額が入力されていません。";
  static constexpr const char* kKashikataKamokuMessage = "%d 行目の貸方科目が入力されていません。";
  static constexpr const char* kNeitherSideMessage = "%d 行目は、借方科目と貸方科目ともに入力されていません。";
  static constexpr const char* kBothSidesMessage = "%d 行目は、借方科目と貸方科目の両方を入力してください。";
  static constexpr const char* kBalanceOverflowMessage = "貸借金額のバランスが、計算可能な範囲を超えました。";
  static constexpr const char* kUnbalancedMessage = "借方金額と貸方金額それぞれの合計は、等しくならねばなりません。";
  // Refusals that keep the journal sound.
  static constexpr const char* kDenpyouNoExhaustedMessage =
      "伝票番号をすべて使い切りました（最大 99999）。新しい伝票は登録できません。";
  static constexpr const char* kRegularTypeDenpyouNoExhaustedMessage =
      "定型伝票の番号をすべて使い切りました（最大 9999）。新しい定型伝票は登録できません。";
  static constexpr const char* kHiddenShiwakeTitle = "実行できません";
  static constexpr const char* kHiddenShiwakeMessage =
      "この伝票には、制限付きのパスワードでは表示されない仕訳が含まれています。この伝票を変更したり削除したりすることは"
      "できません。";

  explicit Furikaedenpyou(MyDocument& document);

  MyDocument& document() { return *document_; }
  const MyDocument& document() const { return *document_; }

  // --- columns
  // The editable columns in Tab order (the window's editableMattrixArray): date,
  // debit account, [debit sub-account], debit amount, [debit division], credit
  // account, [credit sub-account], credit amount, [credit division], description.
  // The sub-account columns are there when some active account has an active
  // sub-account, the division columns when the document has active divisions.
  void setUpEditableMattrixArray();
  const std::vector<Column>& editableMattrixArray() const { return editableMattrixArray_; }
  int indexOfEditableColumn(Column c) const;
  bool isEditableColumn(Column c) const { return indexOfEditableColumn(c) >= 0; }
  bool hasHojyoKamokuColumns() const { return hasHojyoKamokuColumns_; }
  bool hasJigyoubuColumns() const { return hasJigyoubuColumns_; }

  // --- the voucher
  int32_t displayingDenpyouNo() const { return displayingDenpyouNo_; }
  void setDisplayingDenpyouNo(int32_t n) { displayingDenpyouNo_ = n; }
  bool doesNeedToSetDenpyouToShiwakeArray() const { return doesNeedToSetDenpyouToShiwakeArray_; }
  void setDoesNeedToSetDenpyouToShiwakeArray(bool v) { doesNeedToSetDenpyouToShiwakeArray_ = v; }
  // Whether the journal holds entries of the shown number (hidden ones not counted).
  bool isRegistered() const { return document_->journal().numberOfEntriesOfDenpyouNo(displayingDenpyouNo_) > 0; }
  // Whether the journal holds entries of the shown number that a limited user does
  // not see. Such a voucher may be neither changed nor deleted: registering it would
  // drop the entries the window does not show.
  bool hasHiddenShiwake() const;
  // An ordinary number beyond the counter's limit: the counter is exhausted and the
  // voucher cannot be registered, so the window offers no editing on it.
  bool isBeyondDenpyouNoLimit() const { return displayingDenpyouNo_ > Kaisya::kMaxDenpyouNo; }

  // --- rows
  int numberOfDenpyouRows() const { return static_cast<int>(rows_.size()); }
  const FurikaedenpyouRow& row(int r) const { return rows_[r]; }
  FurikaedenpyouRow& row(int r) { return rows_[r]; }
  const std::vector<FurikaedenpyouRow>& rows() const { return rows_; }
  // The value of a cell; the number column shows the voucher's number in every row.
  FieldValue cell(int r, Column c) const;
  void setCell(int r, Column c, FieldValue v);

  // Empties the voucher to n rows (at least one) and clears the selection.
  void renewDenpyouRows(int n);
  // An empty row at r (0 to the row count). The selection stays on its cell.
  void insertDenpyouRow(int r);
  // Removes row r; the selection is cleared when it was on that row.
  void removeDenpyouRow(int r);
  // When row r's date cell holds a date, every row takes it: a voucher has one date.
  void setAllDateMatrixCellValuesEqualToValueAtRow(int r);
  // Typing in an account column empties the same row's sub-account of that side.
  void textDidChangeAtRow(int r, Column c);

  // --- the grid's one selection
  int selectedDenpyouRow() const { return selectedRow_; }
  Column selectedColumn() const { return selectedColumn_; }
  // The selected column's index in editableMattrixArray, -1 without a selection.
  int selectedEditableIndex() const;
  void selectCell(int r, Column c);
  void deselectCell() { selectedRow_ = -1; }

  // --- balance
  // Debit total minus credit total in stored units, counting an amount only when
  // its side's account is there; nullopt once the sum passes the output limit.
  std::optional<int64_t> taisyakuBalance() const;

  // --- checks
  // No text in any editable column but the date.
  bool isEmptyDenpyouRow(int r) const;
  // The row check; the first failing rule gives the message and the cell to select.
  FurikaedenpyouCheckResult doAllDenpyouCellsHaveValidObjectValuesAtRow(int r) const;
  // The voucher check: a date edited in the selected row first applies to every
  // row, then every row is checked, then the balance. It also refuses what could not
  // be registered soundly: entries hidden from a limited user, an exhausted ordinary
  // counter, no regular-type number left.
  FurikaedenpyouCheckResult isDenpyouAbleToSetShiwakeArray();

  // --- display
  // Shows voucher n: one row per visible entry numbered n (at least one row), the
  // first row's date cell selected, the dirty flag cleared.
  void displayShiwakeOfDenpyouNo(int32_t n);
  // A duplicate of the shown voucher numbered with the counter, unregistered and
  // dirty. A regular-type source loses its dates, so that a real date is typed.
  void duplicateDenpyou();

  // --- row commands (the selection decides; each answers false when there is none)
  // A row after the last; selected in the debit account when the selected row has a
  // date (all rows take it), else in the date column.
  bool addDenpyouRow();
  // A row at the selected row, which moves down; selection as for adding.
  bool insertDenpyouRowAtSelection();
  // Removes row r and keeps it for its undo, or, while a removed row is kept, puts
  // it back at r: the one operation is its own inverse.
  void undoableRemoveDenpyouRow(int r);
  bool hasRemovedRow() const { return removedRow_.has_value(); }
  void forgetRemovedRow() { removedRow_.reset(); }
  // The selected cell takes the value of the cell above (not in row 0, not in a
  // sub-account column); an account copied empties the side's sub-account.
  bool setItemAsAboveDenpyouRowItem();
  // Whether copying from the row above is offered for the selection.
  bool canSetItemAsAboveDenpyouRowItem() const;

  // The debit and credit account codes of the selected row for the description list
  // (-1 for none); a side the row leaves empty, while the other is there, is taken
  // from the nearest row above that has it. Both -1 without a selection.
  std::pair<int32_t, int32_t> selectedDenpyouRowKarikataKashikataKamokuCode() const;

  // The active account a code names exactly; nullptr when none.
  KamokuPtr activeKamokuOfCode(int32_t code) const;

private:
  FurikaedenpyouCheckResult checkSide(int r, const FurikaedenpyouRow::Side& side, const char* hojyoMessage,
                                      const char* jigyoubuMessage, const char* kingakuMessage) const;
  void selectAfterRowCommand(int r);

  MyDocument* document_;
  std::vector<Column> editableMattrixArray_;
  bool hasHojyoKamokuColumns_ = false;
  bool hasJigyoubuColumns_ = false;
  int32_t displayingDenpyouNo_ = 0;
  bool doesNeedToSetDenpyouToShiwakeArray_ = false;
  std::vector<FurikaedenpyouRow> rows_;
  int selectedRow_ = -1;
  Column selectedColumn_ = FurikaedenpyouRow::DateMatrix;
  std::optional<FurikaedenpyouRow> removedRow_;
};

}  // namespace kivo

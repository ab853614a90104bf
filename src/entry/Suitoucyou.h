// A cash book (出納帳): the rows of one cash or deposit account, or of one
// sub-account of it, as the cash-book window shows and edits them. Row i stands for
// the i-th journal entry that belongs to the book, in journal order; the last row may
// be the book's pending row (number 0), backed by a pending entry in the journal that
// no report shows.
//
// It decides what the window asks below its widgets: which entries belong to the
// book, filling the rows from the journal, the running balance from the division-99
// opening balance, the row check with its messages, the rows' structure, copying a
// cell from the row above, the book of an entry, the choice of another book and the
// book's shortcut digit. Writing rows into the journal is SuitoucyouRegistrar's.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/MyDocument.h"
#include "entry/SuitoucyouCheckResult.h"
#include "entry/SuitoucyouRow.h"

namespace kivo {

class Suitoucyou {
public:
  using Column = SuitoucyouRow::Column;

  // The row check's sheet.
  static constexpr const char* kInvalidShiwakeTitle = "無効な仕訳";
  static constexpr const char* kDateMessage = "日付が正しく入力されていません。";
  static constexpr const char* kAiteKamokuMessage = "相手科目が入力されていません。";
  static constexpr const char* kHojyoKamokuMessage = "補助科目が入力されていません。";
  static constexpr const char* kAiteJigyoubuMessage = "相手事業部が入力されていません。";
  static constexpr const char* kJigyoubuMessage = "事業部が入力されていません。";
  static constexpr const char* kKingakuMessage = "金額が入力されていません。";
  // The counter's limit.
  static constexpr const char* kInvalidDenpyouNoTitle = "無効な伝票番号";
  static std::string denpyouNoExhaustedMessage();
  // Removing a row that shows a transfer-voucher line.
  static constexpr const char* kRemoveErrorTitle = "削除エラー";
  static constexpr const char* kRemoveFurikaedenpyouMessage = "振替伝票で入力したものは削除できません。";
  // The kind column of a transfer-voucher line.
  static constexpr const char* kFurikaedenpyouMark = "振伝";

  // The book of the account and sub-account (-1: the whole account).
  Suitoucyou(MyDocument& document, int32_t kamokuCode, int32_t hojyoKamokuCode);

  MyDocument& document() { return *document_; }
  const MyDocument& document() const { return *document_; }

  // --- the book
  int32_t displayKamokuCode() const { return displayKamokuCode_; }
  void setDisplayKamokuCode(int32_t code) { displayKamokuCode_ = code; }
  int32_t displayHojyoKamokuCode() const { return displayHojyoKamokuCode_; }
  void setDisplayHojyoKamokuCode(int32_t code) { displayHojyoKamokuCode_ = code; }
  // The book's account (active), nullptr when none; its sub-account likewise.
  KamokuPtr displayKamoku() const;
  HojyoKamokuPtr displayHojyoKamoku() const;
  // Whether the entry is one of the book's rows: numbered 0 or more, with its debit
  // or credit pair the book's, and, numbered 0, the book's own pending entry.
  bool belongsToBook(const Shiwake& shiwake) const;
  // The opening balance of division 99: the sub-account's when the account is kept by
  // sub-account, else the account's; 0 when either is missing.
  int64_t startBalance() const;
  // The active account with exactly that code, nullptr when none.
  KamokuPtr activeKamokuOfCode(int32_t code) const;

  // --- the entry being edited
  // The number of the selected row's entry; 0 while that row is the pending row.
  int32_t selectDenpyouNo() const { return selectDenpyouNo_; }
  void setSelectDenpyouNo(int32_t n) { selectDenpyouNo_ = n; }
  // The first row whose running balance is stale.
  int startRowWithInvalidZandaka() const { return startRowWithInvalidZandaka_; }
  void setStartRowWithInvalidZandaka(int row) { startRowWithInvalidZandaka_ = std::max(row, 0); }

  // --- columns
  // The editable columns in Tab order: date, counterpart account, [counterpart
  // sub-account], description, [counterpart division, own division], receipt,
  // payment. The sub-account column is there when some account has an active
  // sub-account, the division columns when the document has an active division.
  void setUpEditableMattrixArray();
  const std::vector<Column>& editableMattrixArray() const { return editableMattrixArray_; }
  int indexOfEditableColumn(Column c) const;
  bool isEditableColumn(Column c) const { return indexOfEditableColumn(c) >= 0; }
  bool hasHojyoKamokuColumn() const { return hasHojyoKamokuColumn_; }
  bool hasJigyoubuColumns() const { return hasJigyoubuColumns_; }

  // --- rows
  int numberOfSuitoucyouRows() const { return static_cast<int>(rows_.size()); }
  const SuitoucyouRow& row(int r) const { return rows_[r]; }
  SuitoucyouRow& row(int r) { return rows_[r]; }
  // A cell's value; the number column holds the row's number as a code.
  FieldValue cell(int r, Column c) const;
  void setCell(int r, Column c, FieldValue v);
  // Empties the book to n rows and clears the selection.
  void renewSuitoucyouRows(int n);
  // An empty row at r, numbered 0, of the kind of a row without amount.
  void insertSuitoucyouRow(int r);
  void removeSuitoucyouRow(int r);
  // What typing in a cell does to the rest of its row: an account empties the
  // sub-account, a receipt empties the payment and a payment the receipt.
  void textDidChangeAtRow(int r, Column c);
  // The first row whose number is n, -1 when none.
  int rowOfShiwakeOfDenpyouNo(int32_t n) const;
  // The running balance as the balance cell shows it: empty, "#Precision!" beyond
  // the output limit, else the amount.
  std::string zandakaString(int r) const;

  // --- the grid's one selection
  int selectedSuitoucyouRow() const { return selectedRow_; }
  Column selectedColumn() const { return selectedColumn_; }
  // The selected column's index in editableMattrixArray, -1 without a selection.
  int selectedEditableIndex() const;
  // Selects the cell; the row's entry becomes the one being edited.
  void selectCell(int r, Column c);
  void deselectCell() { selectedRow_ = -1; }
  // The selected row is the last row and has no number yet.
  bool isEditingUnregisteredLastRow() const;

  // --- checks
  // Whether no row has the number, or every editable cell of its row but the date is
  // empty.
  bool isEmptySuitoucyouRowOfDenpyouNo(int32_t n) const;
  bool isEmptySuitoucyouRow(int r) const;
  // The row check of row r (or, for r -1, of the first row numbered n). It reads the
  // cells only. No such row: failed without a message.
  SuitoucyouCheckResult doAllSuitoucyouCellsHaveValidObjectValuesAtRow(int r, int32_t n) const;

  // --- the journal
  // Whether row r, untouched since it was read, shows its entry as it was while the
  // journal's entry has changed since (another window corrected it): written back,
  // the row would undo that correction.
  bool isStaleRow(int r) const;
  // Reads row r again from its entry.
  void rereadRow(int r);
  // The journal index of the r-th entry of the book, -1 when there is none.
  int shiwakeArrayIndexOfSuitoucyouRow(int r) const;
  // The journal index of the first entry numbered n (for 0: the book's pending
  // entry), -1 when none.
  int indexOfShiwakeOfDenpyouNo(int32_t n) const;
  // Removes every entry numbered 0 of this book or of no book.
  void removeUnregisteredDenpyouNoFromShiwakeArray();
  // The book an entry was entered in, as (account, sub-account): its debit side's when
  // that is a cash-book account, else its credit side's; nullopt when neither is.
  static std::optional<std::pair<int32_t, int32_t>> bookOfShiwake(const MyDocument& document, const Shiwake& s);
  // Makes the book the one of entry n's cash account: nothing when the entry is
  // already the book's; else its debit pair when the debit account is a cash
  // account, else its credit pair when that one is. True when the book changed.
  bool setDisplayKamokuCodeToShowShiwakeOfDenpyouNo(int32_t n);

  // --- filling
  // One row per entry of the book, in journal order, balances empty. The row numbered
  // selectDenpyouNo is selected in the date column; when none is, an empty row is
  // added at the end and selected, and the answer is true: the caller registers it,
  // which makes it the book's pending entry.
  bool displayShiwake();

  // --- running balance
  // Recomputes the balances from startRowWithInvalidZandaka on, from the nearest row
  // above that holds a balance (else the opening balance). A row that fails the row
  // check, whose counterpart is the book itself or that has no amount gets no
  // balance. The balance is never capped. step runs before every 256th row.
  void setZandakaMatrixCellsValue(const std::function<void()>& step = {});

  // --- row commands
  // Copies the cell above into the selected cell: not in row 0, not into a
  // transfer-voucher line, no 諸口 account, a sub-account only below the same
  // account. The copy empties what typing would. True when a cell was copied.
  bool setItemAsAboveSuitoucyouRowItem();
  // The debit and credit accounts of the selected row (-1 each when unknown).
  std::pair<int32_t, int32_t> selectedSuitoucyouRowKarikataKashikataKamokuCode() const;

  // --- choosing another book
  // The book the account picker's choice stands for: a bare account becomes its first
  // active sub-account's book; nullopt when it is this book.
  std::optional<std::pair<int32_t, int32_t>> bookOfKamokuChoice(int32_t kamokuCode, int32_t hojyoKamokuCode) const;
  // Makes this the book of another account or sub-account: that book's pending
  // entries go, the pending row is the one to select, balances from the top. The
  // caller then shows it (displayShiwake).
  void switchToBook(int32_t kamokuCode, int32_t hojyoKamokuCode);

  // --- the book's shortcut digit
  // The digit (1 to 9) stored on the book's sub-account or account, -1 none.
  int32_t keyEquivalentOfSuitoucyouSubMenu() const;
  // Gives the book the digit, taking it from any other account or sub-account. False
  // when the book holds it already or has no account.
  bool changeKeyEquivalentOfSuitoucyouSubMenu(int32_t digit);

private:
  void fillRowFromShiwake(SuitoucyouRow& row, const Shiwake& s) const;
  bool isOwnPair(int32_t kamoku, int32_t hojyo) const
  {
    return kamoku == displayKamokuCode_ && hojyo == displayHojyoKamokuCode_;
  }

  MyDocument* document_;
  int32_t displayKamokuCode_;
  int32_t displayHojyoKamokuCode_;
  int32_t selectDenpyouNo_ = 0;
  int startRowWithInvalidZandaka_ = 0;
  std::vector<Column> editableMattrixArray_;
  bool hasHojyoKamokuColumn_ = false;
  bool hasJigyoubuColumns_ = false;
  std::vector<SuitoucyouRow> rows_;
  int selectedRow_ = -1;
  Column selectedColumn_ = SuitoucyouRow::DateMatrix;
};

}  // namespace kivo

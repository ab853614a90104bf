// Correcting journal entries where a ledger shows them: a cell of an entry row
// changed in place, the entry duplicated under a new voucher number, a cash-book
// entry removed (and put back by undo).
//
// A row shows its entry from the ledger's side: the own side is the side whose
// account (and, in a sub ledger, sub-account) is the shown one, the counter side the
// other. A cash-book entry (one line, both sides) is recomputed whole from the row's
// cells; of a transfer-voucher line only the sub-accounts may change, on the line
// that carries the side, and the counter codes of the voucher's lines are then
// recomputed as registering the voucher does.
//
// Every change goes through the document's journal and counts as a change of the
// document; the window clears the undo stack and refreshes the books and reports.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fields/FieldValue.h"
#include "journal/Motocyou.h"
#include "model/Shiwake.h"

namespace kivo {

class MyDocument;

class KanjyoumotocyouRowEdit {
public:
  // The shown ledger: an account and a sub-account, -1 for the general ledger.
  struct Ledger {
    int32_t kamokuCode = -1;
    int32_t hojyoKamokuCode = -1;
  };

  // The cells of an entry row that carry a value of the entry.
  enum class Cell {
    Date,
    AiteKamoku,
    AiteHojyoKamoku,
    AiteJigyoubu,
    Tekiyou,
    HojyoKamoku,
    Jigyoubu,
    KarikataKingaku,
    KashikataKingaku,
  };
  static constexpr size_t kCellCount = 9;

  // What a row's cells hold: codes (nil for none), the date, the description, and
  // each amount (stored units) when that side is the ledger's.
  struct RowValues {
    std::array<FieldValue, kCellCount> cells;
    FieldValue& operator[](Cell c) { return cells[static_cast<size_t>(c)]; }
    const FieldValue& operator[](Cell c) const { return cells[static_cast<size_t>(c)]; }
  };

  // Whether the debit side is the row's own side.
  static bool isOwnKarikata(const Shiwake& e, Ledger ledger);
  static RowValues rowValuesOf(const Shiwake& e, Ledger ledger);

  // The debit and credit accounts (-1: none) a row hands the description list: the
  // ledger's account and the row's counter account, on the sides its amounts stand
  // on; with no amount, on the side the counter account's nature gives; on a row
  // without an entry (e null) or a counter account, the ledger's account as debit.
  static std::pair<int32_t, int32_t> karikataKashikataKamokuCodeOfRow(const MyDocument& document, const Shiwake* e,
                                                                      Ledger ledger);

  // Whether the cell may be edited: the dates, accounts, divisions, description and
  // amounts of a cash-book entry; the counter sub-account when the counter account
  // has active sub-accounts, the own one when the shown account has more than one.
  static bool isEditable(const MyDocument& document, const Shiwake& e, Ledger ledger, Cell cell);

  // Applies a value typed into a cell of e's row (nil empties an amount). Answers
  // whether the entry changed; a cash-book entry whose two accounts are no cash-book
  // accounts any more becomes a transfer-voucher line, moved among the voucher lines.
  // A counter account changed fills the counter sub-account with the new account's
  // first active one.
  static bool setObjectValue(MyDocument& document, const ShiwakePtr& e, Ledger ledger, Cell cell,
                             const FieldValue& value);

  // --- duplicating
  enum class Refusal {
    None,
    PartOfVoucher,       // one line of a voucher of several lines
    DenpyouNoExhausted,  // the counter is past 99999
  };
  struct Duplication {
    Refusal refusal = Refusal::None;
    ShiwakePtr copy;
  };
  // A copy of e under the company's next voucher number, skipping the number that a
  // voucher window is waiting to register (waitingDenpyouNo; -1 none). A copy with a
  // cash-book account stays beside e, any other goes among the voucher lines. No copy
  // (and no refusal) for an entry no longer in the journal. A refusal changes nothing,
  // the counter included.
  static Duplication duplicateRow(MyDocument& document, const ShiwakePtr& e, int32_t waitingDenpyouNo);

  // --- removing a cash-book entry
  struct Removal {
    ShiwakePtr entry;
    size_t index = 0;
  };
  // Only a cash-book entry can go; nullopt for any other or one not in the journal.
  static std::optional<Removal> removeRow(MyDocument& document, const ShiwakePtr& e);
  // Puts the entry back where it stood.
  static void restoreRow(MyDocument& document, const Removal& removal);

  // --- the selection across a refresh
  // What the selected row stands for, so that it can be found again once the rows are
  // built anew: the entry of an entry row; for a balance or total row its kind and
  // title, which name it within a ledger (the opening balance, a month's total by its
  // month, the final total). row: where it stood, -1 for no selection.
  struct SelectedRow {
    int row = -1;
    ShiwakePtr entry;
    Motocyou::Kind kind = Motocyou::Kind::Shiwake;
    std::string title;
  };
  // rows: a ledger's rows; entries: each row's entry, null on a balance or total row.
  static SelectedRow selectedRowOf(const std::vector<Motocyou>& rows, const std::vector<ShiwakePtr>& entries, int row);
  // The row a ledger selects once its rows are built anew. A correction may move
  // entries, and the rows are sorted again only at the next refresh, after the user
  // has chosen another row: the selection stays on the row that was chosen, wherever
  // it now stands, an entry so that the next correction acts on it, a total row so
  // that no entry that moved under the pointer is taken for it. A month's total that
  // is gone (its month has no entry left) gives way to the next total row from its
  // row number on; an entry the ledger no longer shows keeps the row number. Row
  // numbers are held to the last row. -1: no row to select.
  static int rowToSelectAfterUpdate(const std::vector<Motocyou>& rows, const std::vector<ShiwakePtr>& entries,
                                    const SelectedRow& selected);

  static constexpr const char* kPartOfVoucherMessage =
      "複製しようとしている仕訳は複数の行からなる振替伝票の一行です。振替伝票の一行だけを複製することはできません。";
};

}  // namespace kivo

// Writing cash-book rows into the journal: registering the row being edited (a new
// row takes the next number of the company's counter, which it shares with the
// transfer vouchers; the book's pending row is kept as an entry numbered 0), the
// receipt or payment form of the entry, its place among the book's entries,
// duplicating a row, removing a row with what its undo needs, and dropping the pending
// row. Other open books whose rows changed are told to recompute.
#pragma once

#include <cstdint>
#include <optional>

#include "entry/Suitoucyou.h"

namespace kivo {

class SuitoucyouRegistrar {
public:
  struct Context {
    // The open book doing the work; it is never among the books refreshed.
    const DocumentWindow* self = nullptr;
    // The number the document's transfer-voucher window shows, when it is open: a new
    // row never takes the number of the voucher being typed there.
    std::optional<int32_t> furikaedenpyouDisplayingDenpyouNo;
  };

  enum class Result {
    Registered,          // the journal holds the row as it stands
    NotRegistered,       // nothing written: a transfer-voucher line, or no row has the number
    RefusedInvalidRow,   // a numbered row that fails the row check is never written back
    StaleRow,            // the row, untouched, showed an entry changed since elsewhere: read again
    DenpyouNoExhausted,  // a complete new row found no number left; it stays the pending entry
  };

  // Registers the row numbered selectDenpyouNo (Algorithm of the register command;
  // the callers check the row first where they must). A numbered row is written back
  // in place with its number; the pending row takes a number when it passes the row
  // check, else it is written back as the book's pending entry. The window's own
  // balances are left to the caller.
  static Result setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(Suitoucyou& book, const Context& context);

  // The entry row r stands for: the receipt form (the book on the debit side) when
  // the receipt cell has text, else the payment form.
  static ShiwakePtr shiwakeOfSuitoucyouRow(const Suitoucyou& book, int r, int32_t denpyouNo);

  // "行の複製": registers the selected row (the caller has checked it), then inserts a
  // copy after the row and the rows of the same number, selects it and registers it,
  // so it takes the next number. Answers the copy's row, -1 when nothing was done.
  // The caller recomputes the balances from startRowWithInvalidZandaka.
  static int duplicateSuitoucyouRow(Suitoucyou& book, const Context& context);

  // What a row's removal took out of the journal, for its undo.
  struct Removal {
    ShiwakePtr shiwake;  // the removed entry; null when the row had none
    int index = -1;      // where it stood in the journal
    int32_t denpyouNo = 0;
    // Only a removal that took an entry out, and not the pending last row, is undone.
    bool isUndoable = false;
  };
  // "行の削除" on the selected row (the caller refused transfer-voucher lines). The
  // row after it is selected; a book left without rows gets an empty pending row. The
  // caller recomputes the balances from startRowWithInvalidZandaka.
  static Removal removeSuitoucyouShiwake(Suitoucyou& book, const Context& context);
  // Puts a removed entry back at its place and shows the book again with its row
  // selected.
  static void restoreSuitoucyouShiwake(Suitoucyou& book, const Removal& removal, const Context& context);
  // Selects the row of the entry; false when the book does not show it.
  static bool selectRowOfShiwake(Suitoucyou& book, const ShiwakePtr& shiwake);

  // Drops the pending row from the grid and the book's pending entries from the
  // journal.
  static void removeSuitoucyouRowAtUnregisteredDenpyouNo(Suitoucyou& book);

private:
  static void updateAllWindowControllersUIAfterRemoveSuitoucyouShiwake(Suitoucyou& book, const Shiwake& removed,
                                                                       int32_t denpyouNo, const Context& context);
};

}  // namespace kivo

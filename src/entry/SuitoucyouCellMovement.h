// Where Tab, Back-tab and the Up and Down arrows take the selection of a cash book,
// and what leaving a row does on the way: the row is checked and registered, a new
// row follows a finished last row, the empty pending row is kept or dropped, and
// (with "Suitoucyou Auto Set Item As Above Row") an empty date, counterpart account or
// counterpart sub-account takes the value of the row above.
//
// The arrows show the row check's sheet when the row is invalid and stay; Tab and
// Back-tab stay in the row without a word. Each row has its own date.
#pragma once

#include <cstdint>

#include "entry/Suitoucyou.h"

namespace kivo {

class SuitoucyouCellMovement {
public:
  enum class Command { InsertTab, InsertBacktab, MoveUp, MoveDown };

  struct Options {
    // "Suitoucyou Auto Set Item As Above Row".
    bool autoSetItemAsAboveRow = false;
    // The sub-account the account formatter read together with the counterpart
    // account, -1 none.
    int32_t inputedHojyoKamokuCode = -1;
  };

  // What the window does for the movement: the parts that show sheets or write the
  // journal.
  class Actions {
  public:
    virtual ~Actions() = default;
    // The row check of the row being edited, showing its sheet; false keeps the
    // selection where the sheet put it.
    virtual bool checkRowWithMessages() = 0;
    // Registers the row being edited, then recomputes the balances.
    virtual void registerRowAndRefreshBalances() = 0;
    // "行の追加" and "行の削除".
    virtual void addRow() = 0;
    virtual void removeRow() = 0;
    // Registers the newly selected empty last row as the book's pending entry.
    virtual void registerPendingRow() = 0;
    // "前行同項目を転記" on the selected cell.
    virtual void setItemAsAboveRowItem() = 0;
    // The account formatter forgets the sub-account typed with an account.
    virtual void resetInputedHojyoKamokuCode() = 0;
  };

  // The selected cell's typed text must be committed to the book first.
  static void moveSelectSuitoucyouCellByCommand(Suitoucyou& book, Command command, const Options& options,
                                                Actions& actions);
};

}  // namespace kivo

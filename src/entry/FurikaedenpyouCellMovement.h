// Where Tab, Back-tab and the Up and Down arrows take the selection of the voucher
// grid, with the fills that go with them: a sub-account typed together with its
// account, the balancing amount on Tab out of an empty amount cell, a new row after
// a complete last row, and the voucher's date in every row.
//
// Moving out of an invalid row shows no message: the row keeps the selection.
#pragma once

#include <cstdint>

#include "entry/Furikaedenpyou.h"

namespace kivo {

class FurikaedenpyouCellMovement {
public:
  enum class Command { InsertTab, InsertBacktab, MoveUp, MoveDown };

  struct Options {
    // "Furikaedenpyou Auto Set Balance".
    bool autoSetBalance = true;
    // The sub-account the account formatter read together with the account, -1 none.
    int32_t inputedHojyoKamokuCode = -1;
  };

  enum class Outcome {
    None,           // no selection: nothing happened
    Moved,          // the voucher's selection moved (it may be the same cell)
    FinishDenpyou,  // Tab out of the last cell of a complete voucher: register it
                    // when changed, then start the next voucher
  };

  // The selected cell's typed text must be committed to the model first.
  static Outcome moveSelectDenpyouCellByCommand(Furikaedenpyou& denpyou, Command command, const Options& options);
};

}  // namespace kivo

// The answer of a voucher or row check: passed, or the message of the "無効な伝票"
// sheet and the cell to select after it (row -1: select nothing).
#pragma once

#include <string>

#include "entry/FurikaedenpyouRow.h"

namespace kivo {

struct FurikaedenpyouCheckResult {
  bool ok = true;
  std::string message;
  int row = -1;
  FurikaedenpyouRow::Column column = FurikaedenpyouRow::DateMatrix;

  static FurikaedenpyouCheckResult passed() { return {}; }
  static FurikaedenpyouCheckResult failed(std::string message, int row = -1,
                                          FurikaedenpyouRow::Column column = FurikaedenpyouRow::DateMatrix)
  {
    return {false, std::move(message), row, column};
  }
  explicit operator bool() const { return ok; }
};

}  // namespace kivo

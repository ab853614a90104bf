// The answer of a cash-book row check: passed, or the sentence of the "無効な仕訳"
// sheet and the cell to select after it.
#pragma once

#include <string>

#include "entry/SuitoucyouRow.h"

namespace kivo {

struct SuitoucyouCheckResult {
  bool ok = true;
  std::string message;
  int row = -1;
  SuitoucyouRow::Column column = SuitoucyouRow::DateMatrix;

  static SuitoucyouCheckResult passed() { return {}; }
  static SuitoucyouCheckResult failed(std::string message, int row = -1,
                                      SuitoucyouRow::Column column = SuitoucyouRow::DateMatrix)
  {
    return {false, std::move(message), row, column};
  }
  explicit operator bool() const { return ok; }
};

}  // namespace kivo

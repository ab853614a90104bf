// What a change of the journal tells the open windows: the accounts (each a pair of
// account and sub-account code) whose entries changed. The core collects them while
// it changes the journal; the document hands them to its windows, and a cash book of
// one of them recomputes its balances.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "model/Shiwake.h"

namespace kivo {

class ChangedAccounts {
public:
  void add(int32_t kamokuCode, int32_t hojyoKamokuCode)
  {
    if (kamokuCode < 0 || contains(kamokuCode, hojyoKamokuCode)) return;
    pairs_.emplace_back(kamokuCode, hojyoKamokuCode);
  }
  // Both sides of an entry.
  void addSidesOf(const Shiwake& s)
  {
    add(s.karikataKamokuCode(), s.karikataHojyoKamokuCode());
    add(s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode());
  }
  bool contains(int32_t kamokuCode, int32_t hojyoKamokuCode) const
  {
    return std::find(pairs_.begin(), pairs_.end(), std::pair{kamokuCode, hojyoKamokuCode}) != pairs_.end();
  }
  bool empty() const { return pairs_.empty(); }

  // A book whose pending last row is being edited moves its pending entry to the end
  // of the journal first, so that the row stays last (after a registration; a
  // removal leaves it where it is).
  bool movePendingEntryLast = false;

private:
  std::vector<std::pair<int32_t, int32_t>> pairs_;
};

}  // namespace kivo

// A per-division balance list: at most one StartBalance per division code.
//
// A missing division reads as 0 and storing 0 removes the entry, so two lists that
// mean the same balances hold the same entries. Division 99 is the whole company;
// it is an entry like any other (no summing over divisions happens here). Opening
// balances, closing balances and every per-division cache of the report builders
// are lists of this kind.
#pragma once

#include <cstdint>
#include <vector>

#include "model/StartBalance.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class StartBalanceList {
public:
  int64_t balanceOfJigyoubuCode(int32_t jigyoubuCode) const;
  void setBalance(int64_t balance, int32_t jigyoubuCode);
  // Adds to the entry of the division (a sum of 0 removes it).
  void addBalance(int64_t amount, int32_t jigyoubuCode);

  const std::vector<StartBalance>& entries() const { return entries_; }
  bool isEmpty() const { return entries_.empty(); }
  void removeAllObjects() { entries_.clear(); }
  void swap(StartBalanceList& other) { entries_.swap(other.entries_); }

  void encodeWithCoder(ArchiveWriter& coder) const;
  void initWithCoder(ArchiveReader& coder);

  friend bool operator==(const StartBalanceList&, const StartBalanceList&) = default;

private:
  std::vector<StartBalance> entries_;
};

}  // namespace kivo

#include "model/StartBalanceList.h"

#include <algorithm>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/Jigyoubu.h"
#include "model/SeenCodes.h"

namespace kivo {

int64_t StartBalanceList::balanceOfJigyoubuCode(int32_t jigyoubuCode) const
{
  for (const StartBalance& e : entries_)
    if (e.jigyoubuCode == jigyoubuCode) return e.balance;
  return 0;
}

void StartBalanceList::setBalance(int64_t balance, int32_t jigyoubuCode)
{
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&](const StartBalance& e) { return e.jigyoubuCode == jigyoubuCode; });
  if (balance == 0) {
    if (it != entries_.end()) entries_.erase(it);
    return;
  }
  if (it != entries_.end())
    it->balance = balance;
  else
    entries_.push_back({jigyoubuCode, balance});
}

void StartBalanceList::addBalance(int64_t amount, int32_t jigyoubuCode)
{
  setBalance(balanceOfJigyoubuCode(jigyoubuCode) + amount, jigyoubuCode);
}

void StartBalanceList::encodeWithCoder(ArchiveWriter& coder) const
{
  coder.writeCount(entries_.size());
  for (const StartBalance& e : entries_) {
    coder.writeInt32(e.jigyoubuCode);
    coder.writeInt64(e.balance);
  }
}

void StartBalanceList::initWithCoder(ArchiveReader& coder)
{
  // One pass, whatever the count: the list's rules (one entry per division, no zero)
  // are checked as the entries come.
  entries_.clear();
  const size_t n = coder.readCount(12);
  // Room for one balance per division at most: a longer list is refused below, and
  // its count must not size memory before that.
  entries_.reserve(std::min<size_t>(n, Jigyoubu::kAllJigyoubuCode + 2));
  SeenCodes<Jigyoubu::kAllJigyoubuCode> codes;
  for (size_t i = 0; i < n && coder.ok(); ++i) {
    const int32_t code = coder.readInt32();
    const int64_t balance = coder.readInt64();
    if (!Jigyoubu::isCodeInRange(code)) coder.fail("division code out of range");
    if (balance == 0 || !coder.ok()) continue;
    if (!codes.insert(code)) coder.fail("a division has two balances");
    entries_.push_back({code, balance});
  }
  if (!coder.ok()) entries_.clear();
}

}  // namespace kivo

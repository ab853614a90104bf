#include "statements/KaisyahouShiwakeOrder.h"

#include <algorithm>
#include <climits>

#include "document/MyDocument.h"
#include "model/Kamoku.h"

namespace kivo {
namespace {

constexpr int32_t kMaxDenseCode = 1 << 16;

}  // namespace

KaisyahouShiwakeOrder::KaisyahouShiwakeOrder(const MyDocument& document)
{
  const Journal::Entries& sorted = document.journal().sortedByDate();
  sorted_.reserve(sorted.size());
  for (const ShiwakePtr& s : sorted)
    if (s->denpyouNo() > 0) sorted_.push_back(s.get());

  const std::vector<KamokuPtr>& accounts = document.codeSortedKamokuArray();
  int32_t maxCode = -1;
  for (const KamokuPtr& k : accounts) {
    codes_.push_back(k->code());
    maxCode = std::max(maxCode, k->code());
  }
  const bool dense = maxCode < kMaxDenseCode && (accounts.empty() || accounts.front()->code() >= 0);
  if (dense && maxCode >= 0) {
    indexOfCode_.assign(static_cast<size_t>(maxCode) + 1, -1);
    for (size_t i = 0; i < codes_.size(); ++i) {
      int32_t& slot = indexOfCode_[static_cast<size_t>(codes_[i])];
      if (slot < 0) slot = static_cast<int32_t>(i);
    }
  }
}

int32_t KaisyahouShiwakeOrder::indexOfKamokuCode(int32_t code) const
{
  if (!indexOfCode_.empty() || codes_.empty())
    return code >= 0 && static_cast<size_t>(code) < indexOfCode_.size() ? indexOfCode_[static_cast<size_t>(code)] : -1;
  auto it = std::lower_bound(codes_.begin(), codes_.end(), code);
  return it != codes_.end() && *it == code ? static_cast<int32_t>(it - codes_.begin()) : -1;
}

}  // namespace kivo

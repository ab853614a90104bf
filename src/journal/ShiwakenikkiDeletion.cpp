#include "journal/ShiwakenikkiDeletion.h"

#include <algorithm>
#include <unordered_set>

namespace kivo {

std::vector<int32_t> ShiwakenikkiDeletion::denpyouNoArrayOfShiwakeArray(
    const std::vector<ShiwakePtr>& displayShiwakeArray)
{
  std::vector<int32_t> numbers;
  std::unordered_set<int32_t> seen;
  for (const ShiwakePtr& s : displayShiwakeArray)
    if (s->denpyouNo() > 0 && seen.insert(s->denpyouNo()).second) numbers.push_back(s->denpyouNo());
  return numbers;
}

int ShiwakenikkiDeletion::removeDisplayingShiwake(MyDocument& document,
                                                  const std::vector<ShiwakePtr>& displayShiwakeArray)
{
  const std::vector<int32_t> numbers = denpyouNoArrayOfShiwakeArray(displayShiwakeArray);
  if (numbers.empty()) return 0;
  // One walk of the journal for all vouchers: a voucher-by-voucher removal would walk
  // it once per shown voucher.
  const std::unordered_set<int32_t> doomed(numbers.begin(), numbers.end());
  std::vector<int32_t> keptHidden;  // vouchers that keep hidden lines
  const int removed =
      static_cast<int>(document.journal().removeVouchers([&](int32_t n) { return doomed.count(n) != 0; }, &keptHidden));
  if (removed == 0) return 0;
  const std::unordered_set<int32_t> survivors(keptHidden.begin(), keptHidden.end());

  std::erase_if(document.furikaedenpyouBookmarkArray(),
                [&](const BookmarkPtr& b) { return doomed.count(b->denpyouNo()) && !survivors.count(b->denpyouNo()); });
  document.shiwakeArrayDidChange(true);
  return removed;
}

}  // namespace kivo

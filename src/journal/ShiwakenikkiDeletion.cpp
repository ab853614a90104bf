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
  std::unordered_set<int32_t> survivors;  // vouchers that keep hidden lines
  std::vector<ShiwakePtr>& journal = document.shiwakeArray();
  const size_t before = journal.size();
  std::erase_if(journal, [&](const ShiwakePtr& s) {
    if (!doomed.count(s->denpyouNo())) return false;
    if (s->didCreateBeforeOpen()) {
      survivors.insert(s->denpyouNo());
      return false;
    }
    return true;
  });
  const int removed = static_cast<int>(before - journal.size());
  if (removed == 0) return 0;

  std::erase_if(document.furikaedenpyouBookmarkArray(),
                [&](const BookmarkPtr& b) { return doomed.count(b->denpyouNo()) && !survivors.count(b->denpyouNo()); });
  document.shiwakeArrayDidChange(true);
  return removed;
}

}  // namespace kivo

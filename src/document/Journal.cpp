#include "document/Journal.h"

#include <algorithm>
#include <climits>

namespace kivo {
namespace {

// Visible to a limited user: entries created before the limited opening are not.
bool isVisible(const Shiwake& s) { return !s.didCreateBeforeOpen(); }

bool isPendingOf(const Shiwake& s, int32_t kamokuCode, int32_t hojyoKamokuCode)
{
  return s.denpyouNo() == 0 && s.suitoucyouKamokuCode() == kamokuCode &&
         s.suitoucyouHojyoKamokuCode() == hojyoKamokuCode;
}

}  // namespace

int Journal::compareDate(Date a, Date b)
{
  if (a.isNull() || a == b) return 0;
  const Date kessan = Date::kessanSeiridukiDate();
  if (a == kessan) return 1;
  if (b == kessan) return -1;
  return a < b ? -1 : 1;
}

int32_t Journal::dateSortKey(Date d) { return d == Date::kessanSeiridukiDate() ? INT32_MAX : d.serial(); }

// --- reading

const Journal::Entries& Journal::sortedByDate() const
{
  if (sortedGeneration_ == generation_) return sorted_;
  const size_t n = entries_.size();
  // Sort (key, index) pairs: cheaper than comparing through the shared pointers, and
  // the index as second key keeps equal dates in journal order.
  std::vector<std::pair<int32_t, int32_t>> keys(n);
  for (size_t i = 0; i < n; ++i) keys[i] = {dateSortKey(entries_[i]->date()), static_cast<int32_t>(i)};
  // A journal mostly stands in date order already: then a check is all it takes.
  if (!std::is_sorted(keys.begin(), keys.end())) std::sort(keys.begin(), keys.end());
  sorted_.clear();
  sorted_.reserve(n);
  for (const auto& k : keys) sorted_.push_back(entries_[static_cast<size_t>(k.second)]);
  sortedGeneration_ = generation_;
  return sorted_;
}

namespace {

// The view's run of entries of one sort key.
std::pair<Journal::Entries::iterator, Journal::Entries::iterator> runOfKey(Journal::Entries& view, int32_t key)
{
  auto lo = std::partition_point(view.begin(), view.end(),
                                 [&](const ShiwakePtr& s) { return Journal::dateSortKey(s->date()) < key; });
  auto hi =
      std::partition_point(lo, view.end(), [&](const ShiwakePtr& s) { return Journal::dateSortKey(s->date()) == key; });
  return {lo, hi};
}

}  // namespace

bool Journal::takeOutOfView(const ShiwakePtr& entry) const
{
  // Looked for among the entries of its date; an entry whose date was changed in
  // place stands elsewhere, and is found by a walk.
  auto [lo, hi] = runOfKey(sorted_, dateSortKey(entry->date()));
  auto it = std::find(lo, hi, entry);
  if (it == hi) it = std::find(sorted_.begin(), sorted_.end(), entry);
  if (it == sorted_.end()) return false;
  sorted_.erase(it);
  return true;
}

bool Journal::putIntoView(size_t at, size_t count) const
{
  if (count == 0) return true;
  const int32_t key = dateSortKey(entries_[at]->date());
  for (size_t i = at + 1; i < at + count; ++i)
    if (dateSortKey(entries_[i]->date()) != key) return false;
  auto [lo, hi] = runOfKey(sorted_, key);
  auto place = lo;
  if (lo != hi) {
    // Equal dates stand in journal order: the block goes after the nearest entry of its
    // date before it in the journal, or else before the nearest one after it. Only a
    // short way is looked; farther off, the view is made again.
    constexpr size_t kReach = 64;
    bool found = false;
    for (size_t d = 1; d <= kReach && d <= at && !found; ++d) {
      const ShiwakePtr& before = entries_[at - d];
      if (dateSortKey(before->date()) != key) continue;
      place = std::find(lo, hi, before);
      if (place == hi) return false;
      ++place;
      found = true;
    }
    for (size_t i = at + count; i < entries_.size() && i < at + count + kReach && !found; ++i) {
      const ShiwakePtr& after = entries_[i];
      if (dateSortKey(after->date()) != key) continue;
      place = std::find(lo, hi, after);
      if (place == hi) return false;
      found = true;
    }
    if (!found) return false;
  }
  sorted_.insert(place, entries_.begin() + static_cast<std::ptrdiff_t>(at),
                 entries_.begin() + static_cast<std::ptrdiff_t>(at + count));
  return true;
}

bool Journal::isSortedByDate() const
{
  if (dateEditing_) return false;
  if (isSortedGeneration_ != generation_) {
    isSorted_ = true;
    int32_t last = INT32_MIN;
    for (const ShiwakePtr& s : entries_) {
      if (s->denpyouNo() <= 0) continue;
      const int32_t key = dateSortKey(s->date());
      if (key < last) {
        isSorted_ = false;
        break;
      }
      last = key;
    }
    isSortedGeneration_ = generation_;
  }
  return isSorted_;
}

int Journal::numberOfEntriesOfDenpyouNo(int32_t denpyouNo) const
{
  const Entries& lines = entriesOfDenpyouNo(denpyouNo);
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const ShiwakePtr& s) { return isVisible(*s); }));
}

const Journal::Entries& Journal::entriesOfDenpyouNo(int32_t denpyouNo) const
{
  if (byNumberGeneration_ != generation_) {
    byNumber_.clear();
    latestUnnumberedVoucherKey_ = INT32_MIN;
    for (const ShiwakePtr& s : entries_) {
      byNumber_[s->denpyouNo()].push_back(s);
      if (s->denpyouNo() <= 0) noteUnnumberedVoucherLines({s});
    }
    byNumberGeneration_ = generation_;
  }
  static const Entries none;
  auto it = byNumber_.find(denpyouNo);
  return it == byNumber_.end() ? none : it->second;
}

size_t Journal::indexOf(const Shiwake* entry) const
{
  const auto it =
      std::find_if(entries_.begin(), entries_.end(), [entry](const ShiwakePtr& s) { return s.get() == entry; });
  return static_cast<size_t>(it - entries_.begin());
}

// --- changing

void Journal::changed(bool viewKept)
{
  ++generation_;
  dateEditing_ = false;
  if (viewKept) sortedGeneration_ = generation_;
}

void Journal::assign(Entries entries)
{
  entries_ = std::move(entries);
  changed();
}

void Journal::append(ShiwakePtr entry)
{
  const bool view = viewIsCurrent();
  entries_.push_back(std::move(entry));
  changed(view && putIntoView(entries_.size() - 1, 1));
}

Journal::Entries Journal::registerVoucher(int32_t n, Date date, Entries entries)
{
  bool view = viewIsCurrent();
  const bool indexWasCurrent = byNumberGeneration_ == generation_;
  // With the index current (vouchers registered one after another), the date order is
  // worth knowing too: both are kept current from then on.
  const bool wasSorted = indexWasCurrent ? isSortedByDate() : isSortedGeneration_ == generation_ && isSorted_;

  // The old entries go; the first of them on the same day marks where the new ones
  // go, so that a voucher registered again keeps its place.
  Entries removed;
  std::ptrdiff_t insertPoint = -1;
  if (indexWasCurrent) {
    // The index knows the old entries: matched by address, in journal order, from the
    // first of them on; the rest of the journal only moves up.
    const Entries lines = entriesOfDenpyouNo(n);
    size_t i = entries_.size();
    if (!lines.empty())
      i = static_cast<size_t>(std::find(entries_.begin(), entries_.end(), lines.front()) - entries_.begin());
    size_t kept = i, next = 0;
    for (; i < entries_.size() && next < lines.size(); ++i) {
      ShiwakePtr& s = entries_[i];
      if (s == lines[next]) {
        ++next;
        if (isVisible(*s)) {
          if (insertPoint < 0 && s->date() == date) insertPoint = static_cast<std::ptrdiff_t>(kept);
          removed.push_back(std::move(s));
          continue;
        }
      }
      if (kept != i) entries_[kept] = std::move(s);
      ++kept;
    }
    auto end = std::move(entries_.begin() + static_cast<std::ptrdiff_t>(i), entries_.end(),
                         entries_.begin() + static_cast<std::ptrdiff_t>(kept));
    entries_.erase(end, entries_.end());
  } else {
    size_t kept = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
      ShiwakePtr& s = entries_[i];
      if (s->denpyouNo() == n && isVisible(*s)) {
        if (insertPoint < 0 && s->date() == date) insertPoint = static_cast<std::ptrdiff_t>(kept);
        removed.push_back(std::move(s));
        continue;
      }
      if (kept != i) entries_[kept] = std::move(s);
      ++kept;
    }
    entries_.resize(kept);
  }

  if (insertPoint < 0) {
    const bool halving = wasSorted && indexWasCurrent && !dateEditing_ && !date.isNull() &&
                         latestUnnumberedVoucherKey_ <= dateSortKey(date);
    insertPoint = static_cast<std::ptrdiff_t>(voucherLinePlace(date, halving));
  }

  // The numbered entries stay in date order when the new ones fit between their
  // numbered neighbours.
  bool staysSorted = wasSorted;
  if (staysSorted && n > 0 && !entries.empty()) {
    int32_t last = INT32_MIN;
    for (std::ptrdiff_t i = insertPoint - 1; i >= 0; --i)
      if (entries_[static_cast<size_t>(i)]->denpyouNo() > 0) {
        last = dateSortKey(entries_[static_cast<size_t>(i)]->date());
        break;
      }
    for (const ShiwakePtr& s : entries) {
      const int32_t key = dateSortKey(s->date());
      if (key < last) staysSorted = false;
      last = key;
    }
    for (size_t i = static_cast<size_t>(insertPoint); i < entries_.size(); ++i)
      if (entries_[i]->denpyouNo() > 0) {
        if (dateSortKey(entries_[i]->date()) < last) staysSorted = false;
        break;
      }
  }

  // The index by number stays current when only number n's entries changed and none
  // of them stayed hidden: its entries are then the new ones.
  bool indexCurrent = indexWasCurrent;
  if (indexCurrent) {
    auto it = byNumber_.find(n);
    if (it != byNumber_.end() && it->second.size() != removed.size()) {
      indexCurrent = false;
    } else if (entries.empty()) {
      byNumber_.erase(n);
    } else {
      byNumber_[n] = entries;
      if (n <= 0) noteUnnumberedVoucherLines(entries);
    }
  }
  const size_t added = entries.size();
  entries_.insert(entries_.begin() + insertPoint, std::make_move_iterator(entries.begin()),
                  std::make_move_iterator(entries.end()));
  for (const ShiwakePtr& s : removed) view = view && takeOutOfView(s);
  changed(view && putIntoView(static_cast<size_t>(insertPoint), added));
  if (indexCurrent) byNumberGeneration_ = generation_;
  if (staysSorted) isSortedGeneration_ = generation_;
  return removed;
}

size_t Journal::voucherLinePlace(Date date, bool halving) const
{
  // After every voucher line of the same day or earlier; the closing-adjustment month
  // goes last.
  if (date == Date::kessanSeiridukiDate()) return entries_.size();
  if (halving) return firstVoucherLineAfter(date);
  auto later = std::find_if(entries_.begin(), entries_.end(), [&](const ShiwakePtr& s) {
    return s->kindOfShiwake() == ShiwakeKind::Furikaedenpyou && compareDate(s->date(), date) > 0;
  });
  return static_cast<size_t>(later - entries_.begin());
}

size_t Journal::firstVoucherLineAfter(Date date) const
{
  // The numbered entries stand in date order, and no voucher line numbered 0 or below
  // is later than date: the first numbered entry of a later date is found by halving
  // (an entry numbered 0 or below counts as the next numbered one), then the first
  // voucher line from there on.
  const int32_t key = dateSortKey(date);
  auto nextNumbered = [&](size_t i) {
    while (i < entries_.size() && entries_[i]->denpyouNo() <= 0) ++i;
    return i;
  };
  size_t lo = 0, hi = entries_.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    const size_t j = nextNumbered(mid);
    if (j == entries_.size() || dateSortKey(entries_[j]->date()) > key)
      hi = mid;
    else
      lo = j + 1;
  }
  size_t i = nextNumbered(lo);
  while (i < entries_.size() && entries_[i]->kindOfShiwake() != ShiwakeKind::Furikaedenpyou) i = nextNumbered(i + 1);
  return i;
}

void Journal::noteUnnumberedVoucherLines(const Entries& lines) const
{
  for (const ShiwakePtr& s : lines)
    if (s->kindOfShiwake() == ShiwakeKind::Furikaedenpyou && !s->date().isNull())
      latestUnnumberedVoucherKey_ = std::max(latestUnnumberedVoucherKey_, dateSortKey(s->date()));
}

void Journal::mergeNewEntries(Entries voucherLines, Entries bookEntries)
{
  // Sorted once by date (stable); then a single merge: a new line goes before the
  // first voucher line of a later date, which is where registerVoucher puts it.
  std::stable_sort(voucherLines.begin(), voucherLines.end(),
                   [](const ShiwakePtr& a, const ShiwakePtr& b) { return compareDate(a->date(), b->date()) < 0; });
  Entries old = std::move(entries_);
  entries_.clear();
  entries_.reserve(old.size() + bookEntries.size() + voucherLines.size());
  auto next = voucherLines.begin();
  auto place = [&](ShiwakePtr& s) {
    if (s->kindOfShiwake() == ShiwakeKind::Furikaedenpyou)
      while (next != voucherLines.end() && compareDate(s->date(), (*next)->date()) > 0)
        entries_.push_back(std::move(*next++));
    entries_.push_back(std::move(s));
  };
  for (ShiwakePtr& s : old) place(s);
  for (ShiwakePtr& s : bookEntries) place(s);
  while (next != voucherLines.end()) entries_.push_back(std::move(*next++));
  changed();
}

Journal::Removal Journal::removeVoucher(int32_t n)
{
  bool view = viewIsCurrent();
  Removal removal;
  bool found = false;
  size_t kept = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    ShiwakePtr& s = entries_[i];
    if (s->denpyouNo() == n && isVisible(*s)) {
      if (!found) removal.index = kept;
      found = true;
      removal.entries.push_back(std::move(s));
      continue;
    }
    if (kept != i) entries_[kept] = std::move(s);
    ++kept;
  }
  entries_.resize(kept);
  for (const ShiwakePtr& s : removal.entries) view = view && takeOutOfView(s);
  if (found) changed(view);
  return removal;
}

size_t Journal::removeVouchers(const std::function<bool(int32_t)>& isDoomed, std::vector<int32_t>* keptHidden)
{
  const size_t before = entries_.size();
  std::erase_if(entries_, [&](const ShiwakePtr& s) {
    if (!isDoomed(s->denpyouNo())) return false;
    if (!isVisible(*s)) {
      if (keptHidden) keptHidden->push_back(s->denpyouNo());
      return false;
    }
    return true;
  });
  const size_t removed = before - entries_.size();
  if (removed) changed();
  return removed;
}

void Journal::restore(const Removal& removal)
{
  if (removal.entries.empty()) return;
  const bool view = viewIsCurrent();
  const size_t at = std::min(removal.index, entries_.size());
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), removal.entries.begin(), removal.entries.end());
  changed(view && putIntoView(at, removal.entries.size()));
}

void Journal::replaceAt(size_t index, ShiwakePtr entry)
{
  bool view = viewIsCurrent();
  if (index < entries_.size()) {
    view = view && takeOutOfView(entries_[index]);
    entries_[index] = std::move(entry);
  } else {
    index = entries_.size();
    entries_.push_back(std::move(entry));
  }
  changed(view && putIntoView(index, 1));
}

void Journal::insertAt(size_t index, ShiwakePtr entry)
{
  const bool view = viewIsCurrent();
  index = std::min(index, entries_.size());
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
  changed(view && putIntoView(index, 1));
}

ShiwakePtr Journal::removeAt(size_t index)
{
  const bool view = viewIsCurrent();
  ShiwakePtr entry = std::move(entries_[index]);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  changed(view && takeOutOfView(entry));
  return entry;
}

void Journal::entryDidChange(const Shiwake* entry)
{
  if (indexOf(entry) < entries_.size()) changed();
}

void Journal::placeAmongVoucherLines(ShiwakePtr entry)
{
  bool view = viewIsCurrent();
  const size_t old = indexOf(entry.get());
  if (old < entries_.size()) {
    view = view && takeOutOfView(entries_[old]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(old));
  }
  size_t at = voucherLinePlace(entry->date(), false);
  if (at == entries_.size())
    while (at > 0 && entries_[at - 1]->denpyouNo() == 0) --at;
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  changed(view && putIntoView(at, 1));
}

void Journal::removePendingEntriesOf(int32_t kamokuCode, int32_t hojyoKamokuCode)
{
  bool view = viewIsCurrent();
  const size_t removed = std::erase_if(entries_, [&](const ShiwakePtr& s) {
    const bool doomed = isPendingOf(*s, kamokuCode, hojyoKamokuCode) || isPendingOf(*s, -1, -1);
    if (doomed) view = view && takeOutOfView(s);
    return doomed;
  });
  if (removed) changed(view);
}

void Journal::movePendingEntryLast(int32_t kamokuCode, int32_t hojyoKamokuCode)
{
  auto pending = std::find_if(entries_.begin(), entries_.end(),
                              [&](const ShiwakePtr& s) { return isPendingOf(*s, kamokuCode, hojyoKamokuCode); });
  if (pending == entries_.end()) return;
  bool view = viewIsCurrent() && takeOutOfView(*pending);
  std::rotate(pending, pending + 1, entries_.end());
  changed(view && putIntoView(entries_.size() - 1, 1));
}

void Journal::sortByDate()
{
  std::stable_sort(entries_.begin(), entries_.end(), [](const ShiwakePtr& a, const ShiwakePtr& b) {
    const bool pa = a->denpyouNo() == 0, pb = b->denpyouNo() == 0;
    if (pa != pb) return pb;
    return dateSortKey(a->date()) < dateSortKey(b->date());
  });
  changed();
}

}  // namespace kivo

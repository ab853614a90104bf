#include "document/Journal.h"

#include <algorithm>
#include <climits>
#include <memory>

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

// --- reading

namespace {

int32_t keyOf(const ShiwakePtr& s) { return Journal::dateSortKey(s->date()); }

bool isVoucherLine(const Shiwake& s) { return s.kindOfShiwake() == ShiwakeKind::Furikaedenpyou; }

// Beyond this many runs the journal is walked rather than halved run by run.
constexpr size_t kMaxRunsToHalve = 64;

// The first position of [first, last) whose entry is dated `key` or later (lower) or
// later than `key` (upper); the range stands in date order.
size_t firstDatedFrom(const Journal::Entries& v, size_t first, size_t last, int32_t key, bool upper)
{
  const auto it = std::partition_point(v.begin() + static_cast<std::ptrdiff_t>(first),
                                       v.begin() + static_cast<std::ptrdiff_t>(last), [&](const ShiwakePtr& s) {
                                         const int32_t k = keyOf(s);
                                         return upper ? k <= key : k < key;
                                       });
  return static_cast<size_t>(it - v.begin());
}

bool contains(const std::vector<size_t>& sorted, size_t i)
{
  return std::binary_search(sorted.begin(), sorted.end(), i);
}

size_t countBelow(const std::vector<size_t>& sorted, size_t i)
{
  return static_cast<size_t>(std::lower_bound(sorted.begin(), sorted.end(), i) - sorted.begin());
}

// Takes the elements at the ascending positions `out` (into *taken when given) and
// puts `in` after every remaining element that stood before `before` and before every
// one that stood at or after it; answers where the first of `in` stands. The removed
// elements' places close up into one gap, the gap moves to its new place, and only
// there does the vector grow or shrink: the elements between the places touched
// move, and the tail only when the count changes.
template <class T>
size_t spliceVector(std::vector<T>& v, const std::vector<size_t>& out, size_t before, std::vector<T>& in,
                    std::vector<T>* taken)
{
  const auto at = static_cast<std::ptrdiff_t>(before - countBelow(out, before));
  const auto count = static_cast<std::ptrdiff_t>(in.size());
  if (out.empty()) {
    v.insert(v.begin() + at, std::make_move_iterator(in.begin()), std::make_move_iterator(in.end()));
    return static_cast<size_t>(at);
  }
  size_t w = out.front();
  for (size_t r = out.front(), o = 0; r <= out.back(); ++r) {
    if (o < out.size() && out[o] == r) {
      if (taken) taken->push_back(std::move(v[r]));
      ++o;
      continue;
    }
    v[w++] = std::move(v[r]);
  }
  const auto gap = static_cast<std::ptrdiff_t>(w);
  const auto size = static_cast<std::ptrdiff_t>(out.size());
  auto resize = [&](std::ptrdiff_t place) {
    if (count > size)
      v.insert(v.begin() + place, static_cast<size_t>(count - size), T());
    else if (count < size)
      v.erase(v.begin() + place, v.begin() + place + (size - count));
  };
  // The gap holds only what was moved out: the elements between shift over it.
  if (at >= gap) {
    std::move(v.begin() + gap + size, v.begin() + at + size, v.begin() + gap);
    resize(at);
  } else {
    resize(gap);
    std::move_backward(v.begin() + at, v.begin() + gap, v.begin() + gap + count);
  }
  std::move(in.begin(), in.end(), v.begin() + at);
  return static_cast<size_t>(at);
}

}  // namespace

namespace {

// Where the runs begin: at the first entry, and wherever an entry (its key given by
// keyAt) is dated earlier than the one before it.
template <class Run, class KeyAt>
void findRuns(size_t n, const KeyAt& keyAt, std::vector<Run>& runs)
{
  runs.clear();
  int32_t last = INT32_MIN;
  for (size_t i = 0; i < n; ++i) {
    const int32_t key = keyAt(i);
    if (i == 0 || key < last) runs.push_back({i});
    last = key;
  }
}

}  // namespace

const std::vector<Journal::Run>& Journal::runs() const
{
  if (runsAreCurrent()) return runs_;
  findRuns(
      entries_.size(), [&](size_t i) { return keyOf(entries_[i]); }, runs_);
  runsGeneration_ = generation_;
  return runs_;
}

const Journal::Entries& Journal::sortedByDate() const
{
  if (viewIsCurrent()) return sorted_;
  // The dates are read once: the runs are found and merged from them.
  const size_t n = entries_.size();
  const std::unique_ptr<int32_t[]> keys(new int32_t[n]);
  for (size_t i = 0; i < n; ++i) keys[i] = keyOf(entries_[i]);
  if (!runsAreCurrent()) {
    findRuns(
        n, [&](size_t i) { return keys[i]; }, runs_);
    runsGeneration_ = generation_;
  }
  const std::vector<Run>& runs = runs_;
  sorted_.clear();
  sorted_.reserve(n);
  if (runs.size() <= 1) {
    sorted_.assign(entries_.begin(), entries_.end());
  } else if (runs.size() == 2) {
    // Two runs (a year's entries and an earlier import's cash-book entries): one
    // merge; equal dates take the earlier run first, which keeps journal order.
    size_t a = 0, b = runs[1].start;
    const size_t aEnd = b;
    while (a < aEnd && b < n) sorted_.push_back(keys[b] < keys[a] ? entries_[b++] : entries_[a++]);
    sorted_.insert(sorted_.end(), entries_.begin() + static_cast<std::ptrdiff_t>(a),
                   entries_.begin() + static_cast<std::ptrdiff_t>(aEnd));
    sorted_.insert(sorted_.end(), entries_.begin() + static_cast<std::ptrdiff_t>(b), entries_.end());
  } else {
    // Neighbouring runs merged pairwise until one is left: positions ordered by date,
    // each merge stable, so equal dates stay in journal order.
    std::vector<uint32_t> order(n), next(n);
    for (size_t i = 0; i < n; ++i) order[i] = static_cast<uint32_t>(i);
    std::vector<size_t> bounds;
    for (const Run& r : runs) bounds.push_back(r.start);
    bounds.push_back(n);
    const auto byKey = [&](uint32_t x, uint32_t y) { return keys[x] < keys[y]; };
    while (bounds.size() > 2) {
      std::vector<size_t> merged{0};
      for (size_t r = 0; r + 1 < bounds.size(); r += 2) {
        const size_t lo = bounds[r], mid = bounds[r + 1], hi = r + 2 < bounds.size() ? bounds[r + 2] : mid;
        std::merge(order.begin() + static_cast<std::ptrdiff_t>(lo), order.begin() + static_cast<std::ptrdiff_t>(mid),
                   order.begin() + static_cast<std::ptrdiff_t>(mid), order.begin() + static_cast<std::ptrdiff_t>(hi),
                   next.begin() + static_cast<std::ptrdiff_t>(lo), byKey);
        merged.push_back(hi);
      }
      order.swap(next);
      bounds.swap(merged);
    }
    for (const uint32_t i : order) sorted_.push_back(entries_[i]);
  }
  sortedGeneration_ = generation_;
  return sorted_;
}

namespace {

// The view's run of entries of one sort key: halved to its start, walked to its end.
std::pair<size_t, size_t> rangeOfKey(const Journal::Entries& view, int32_t key)
{
  const size_t lo = firstDatedFrom(view, 0, view.size(), key, false);
  size_t hi = lo;
  while (hi < view.size() && keyOf(view[hi]) == key) ++hi;
  return {lo, hi};
}

}  // namespace

bool Journal::updateView(const Entries& removed, size_t at, size_t count) const
{
  // Where the removed entries stand: among the entries of their date, or (a date
  // changed in place) found by a walk.
  Positions out;
  bool walked = false;
  for (const ShiwakePtr& entry : removed) {
    const int32_t key = keyOf(entry);
    size_t i = firstDatedFrom(sorted_, 0, sorted_.size(), key, false);
    while (i < sorted_.size() && sorted_[i] != entry && keyOf(sorted_[i]) == key) ++i;
    if (i == sorted_.size() || sorted_[i] != entry)
      i = static_cast<size_t>(std::find(sorted_.begin(), sorted_.end(), entry) - sorted_.begin());
    if (i == sorted_.size()) return false;
    // Out of its date's place (its date changed in place) even when halving met it.
    walked =
        walked || (i > 0 && key < keyOf(sorted_[i - 1])) || (i + 1 < sorted_.size() && keyOf(sorted_[i + 1]) < key);
    out.push_back(i);
  }
  std::sort(out.begin(), out.end());
  if (walked) {
    // An entry out of its date's place leaves first, so that the view is halved in
    // order.
    Entries none;
    spliceVector(sorted_, out, out.front(), none, static_cast<Entries*>(nullptr));
    out.clear();
  }
  Entries in(entries_.begin() + static_cast<std::ptrdiff_t>(at),
             entries_.begin() + static_cast<std::ptrdiff_t>(at + count));
  size_t place = out.empty() ? 0 : out.front();
  if (count > 0) {
    const int32_t key = keyOf(in.front());
    for (const ShiwakePtr& s : in)
      if (keyOf(s) != key) return false;
    const std::pair<size_t, size_t> range = rangeOfKey(sorted_, key);
    const size_t lo = range.first, hi = range.second;
    place = lo;
    const size_t removedThere = countBelow(out, hi) - countBelow(out, lo);
    if (hi - lo > removedThere) {
      // Equal dates stand in journal order: the block goes after the nearest entry of
      // its date before it in the journal, or else before the nearest one after it.
      // Only a short way is looked; farther off, the view is made again.
      constexpr size_t kReach = 64;
      const auto find = [&](const ShiwakePtr& s) {
        const auto it = std::find(sorted_.begin() + static_cast<std::ptrdiff_t>(lo),
                                  sorted_.begin() + static_cast<std::ptrdiff_t>(hi), s);
        return static_cast<size_t>(it - sorted_.begin());
      };
      bool found = false;
      for (size_t d = 1; d <= kReach && d <= at && !found; ++d) {
        const ShiwakePtr& before = entries_[at - d];
        if (keyOf(before) != key) continue;
        place = find(before);
        if (place == hi) return false;
        ++place;
        found = true;
      }
      for (size_t i = at + count; i < entries_.size() && i < at + count + kReach && !found; ++i) {
        const ShiwakePtr& after = entries_[i];
        if (keyOf(after) != key) continue;
        place = find(after);
        if (place == hi) return false;
        found = true;
      }
      if (!found) return false;
    }
  }
  spliceVector(sorted_, out, place, in, static_cast<Entries*>(nullptr));
  return true;
}

bool Journal::mayHalve() const { return !dateEditing_ && runs().size() <= kMaxRunsToHalve; }

bool Journal::standsInDateOrder(size_t i) const
{
  const std::vector<Run>& runs = this->runs();
  const auto startsRun = [&](size_t j) {
    return std::binary_search(runs.begin(), runs.end(), Run{j, 0},
                              [](const Run& a, const Run& b) { return a.start < b.start; });
  };
  const int32_t key = keyOf(entries_[i]);
  return (i == 0 || startsRun(i) || keyOf(entries_[i - 1]) <= key) &&
         (i + 1 == entries_.size() || startsRun(i + 1) || key <= keyOf(entries_[i + 1]));
}

size_t Journal::positionOf(const ShiwakePtr& entry) const
{
  if (mayHalve()) {
    const std::vector<Run>& runs = runs_;
    const int32_t key = keyOf(entry);
    for (size_t r = 0; r < runs.size(); ++r) {
      const size_t end = r + 1 < runs.size() ? runs[r + 1].start : entries_.size();
      for (size_t i = firstDatedFrom(entries_, runs[r].start, end, key, false); i < end; ++i) {
        if (entries_[i] == entry) return i;
        if (keyOf(entries_[i]) != key) break;
      }
    }
  }
  return static_cast<size_t>(std::find(entries_.begin(), entries_.end(), entry) - entries_.begin());
}

Journal::Positions Journal::visiblePositionsOf(int32_t n) const
{
  Positions out;
  if (byNumberGeneration_ == generation_) {
    // A voucher's lines mostly stand together: each is looked for next to the one
    // before it first.
    for (const ShiwakePtr& s : entriesOfDenpyouNo(n)) {
      if (!isVisible(*s)) continue;
      const size_t i = !out.empty() && out.back() + 1 < entries_.size() && entries_[out.back() + 1] == s
                           ? out.back() + 1
                           : positionOf(s);
      if (i < entries_.size()) out.push_back(i);
    }
    std::sort(out.begin(), out.end());
  } else {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i]->denpyouNo() == n && isVisible(*entries_[i])) out.push_back(i);
  }
  return out;
}

size_t Journal::voucherLinePlace(Date date, const Positions& skipped) const
{
  // After every voucher line of the same day or earlier; the closing-adjustment month
  // goes last. Within a run the entries dated later form its tail: the first voucher
  // line there is the run's answer, and the first run that has one answers.
  if (date == Date::kessanSeiridukiDate()) return entries_.size();
  const int32_t key = dateSortKey(date);
  if (mayHalve()) {
    const std::vector<Run>& runs = runs_;
    for (size_t r = 0; r < runs.size(); ++r) {
      const size_t end = r + 1 < runs.size() ? runs[r + 1].start : entries_.size();
      if (!runs[r].bounded) {
        for (size_t i = runs[r].start; i < end; ++i)
          if (isVoucherLine(*entries_[i]))
            runs_[r].voucherKeyBound = std::max(runs_[r].voucherKeyBound, keyOf(entries_[i]));
        runs_[r].bounded = true;
      }
      if (runs[r].voucherKeyBound <= key) continue;
      bool skippedAny = false;
      for (size_t i = firstDatedFrom(entries_, runs[r].start, end, key, true); i < end; ++i) {
        if (!isVoucherLine(*entries_[i])) continue;
        if (!contains(skipped, i)) return i;
        skippedAny = true;
      }
      // None dated later: the bound comes down, so that the next search passes the run.
      if (!skippedAny) runs_[r].voucherKeyBound = key;
    }
    return entries_.size();
  }
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Shiwake& s = *entries_[i];
    if (isVoucherLine(s) && compareDate(s.date(), date) > 0 && !contains(skipped, i)) return i;
  }
  return entries_.size();
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

int32_t Journal::highestDenpyouNo() const
{
  int32_t highest = 0;
  for (const ShiwakePtr& s : entries_) highest = std::max(highest, s->denpyouNo());
  return highest;
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
    for (const ShiwakePtr& s : entries_) byNumber_[s->denpyouNo()].push_back(s);
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

void Journal::changed(bool viewKept, bool runsKept)
{
  ++generation_;
  dateEditing_ = false;
  if (viewKept) sortedGeneration_ = generation_;
  if (runsKept) runsGeneration_ = generation_;
}

size_t Journal::splice(const Positions& out, size_t before, Entries in, Entries* taken)
{
  const bool keepRuns = runsAreCurrent();
  const size_t count = in.size();
  // The voucher lines coming in, by position, for the runs' bounds.
  std::vector<int32_t> inVoucherKeys;
  if (keepRuns)
    for (const ShiwakePtr& s : in) inVoucherKeys.push_back(isVoucherLine(*s) ? keyOf(s) : INT32_MIN);
  const size_t at = spliceVector(entries_, out, before, in, taken);
  if (!keepRuns) return at;

  // The runs again: a run begins where an entry is dated earlier than the one before
  // it. Only the pairs of neighbours the change made are new; the others keep what
  // they had, at their new places.
  const size_t n = entries_.size();
  const auto newPlace = [&](size_t x) { return x - countBelow(out, x) + (x >= before ? count : 0); };
  std::vector<size_t> starts;
  for (size_t r = 1; r < runs_.size(); ++r) {
    const size_t x = runs_[r].start;
    if (x == before || contains(out, x) || contains(out, x - 1)) continue;
    starts.push_back(newPlace(x));
  }
  const auto check = [&](size_t i) {
    if (i >= 1 && i < n && keyOf(entries_[i]) < keyOf(entries_[i - 1])) starts.push_back(i);
  };
  for (size_t i = at; i <= at + count; ++i) check(i);
  for (const size_t r : out) check(r - countBelow(out, r) + (r >= before ? count : 0));
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

  // Each new run's bound: the largest of the old runs' whose entries now stand in it,
  // and of the voucher lines that came in.
  struct Span {
    size_t first, last;  // new places of the first and last entry the old run kept
    int32_t bound;
    bool bounded;
  };
  std::vector<Span> spans;
  for (size_t r = 0; r < runs_.size(); ++r) {
    size_t first = runs_[r].start;
    size_t last = r + 1 < runs_.size() ? runs_[r + 1].start : n + out.size() - count;
    while (first < last && contains(out, first)) ++first;
    while (last > first && contains(out, last - 1)) --last;
    if (first < last)
      spans.push_back({newPlace(first), newPlace(last - 1), runs_[r].voucherKeyBound, runs_[r].bounded});
  }
  std::vector<Run> runs;
  if (n > 0) runs.push_back({0, INT32_MIN, true});
  for (const size_t x : starts)
    if (x > 0) runs.push_back({x, INT32_MIN, true});
  size_t span = 0;
  for (size_t r = 0; r < runs.size(); ++r) {
    const size_t lo = runs[r].start, hi = r + 1 < runs.size() ? runs[r + 1].start : n;
    while (span < spans.size() && spans[span].last < lo) ++span;
    for (size_t s2 = span; s2 < spans.size() && spans[s2].first < hi; ++s2) {
      runs[r].voucherKeyBound = std::max(runs[r].voucherKeyBound, spans[s2].bound);
      runs[r].bounded = runs[r].bounded && spans[s2].bounded;
    }
    for (size_t i = std::max(lo, at); i < std::min(hi, at + count); ++i)
      runs[r].voucherKeyBound = std::max(runs[r].voucherKeyBound, inVoucherKeys[i - at]);
  }
  runs_ = std::move(runs);
  return at;
}

void Journal::assign(Entries entries)
{
  entries_ = std::move(entries);
  changed();
}

void Journal::append(ShiwakePtr entry)
{
  const bool view = viewIsCurrent();
  const size_t at = splice({}, entries_.size(), {std::move(entry)});
  changed(view && updateView({}, at, 1), runsAreCurrent());
}

Journal::Entries Journal::registerVoucher(int32_t n, Date date, Entries entries)
{
  const bool view = viewIsCurrent();
  const bool wasSorted = isSortedGeneration_ == generation_ && isSorted_;
  // The index by number finds the old entries, and stays current from one
  // registration to the next.
  entriesOfDenpyouNo(n);

  // The old entries go; the first of them on the same day marks where the new ones
  // go, so that a voucher registered again keeps its place.
  Positions out = visiblePositionsOf(n);
  const size_t removing = out.size();
  size_t sameDay = removing;
  for (size_t j = 0; j < removing && sameDay == removing; ++j)
    if (entries_[out[j]]->date() == date) sameDay = j;
  Entries removed;
  size_t before = 0;
  if (sameDay < removing) {
    before = out[sameDay];
  } else if (std::all_of(out.begin(), out.end(), [&](size_t i) { return standsInDateOrder(i); })) {
    before = voucherLinePlace(date, out);
  } else {
    // An old entry whose date was changed in place leaves first, so that the place of
    // the new ones is halved in a journal in order.
    splice(out, out.front(), {}, &removed);
    before = voucherLinePlace(date, {});
    out.clear();
  }

  // The numbered entries stay in date order when the new ones fit between their
  // numbered neighbours (the old entries counted as gone).
  bool staysSorted = wasSorted;
  if (staysSorted && n > 0 && !entries.empty()) {
    int32_t last = INT32_MIN;
    for (size_t i = before; i-- > 0;)
      if (entries_[i]->denpyouNo() > 0 && !contains(out, i)) {
        last = keyOf(entries_[i]);
        break;
      }
    for (const ShiwakePtr& s : entries) {
      const int32_t key = keyOf(s);
      if (key < last) staysSorted = false;
      last = key;
    }
    for (size_t i = before; i < entries_.size(); ++i)
      if (entries_[i]->denpyouNo() > 0 && !contains(out, i)) {
        if (keyOf(entries_[i]) < last) staysSorted = false;
        break;
      }
  }

  // The index by number stays current when only number n's entries changed and none
  // of them stayed hidden: its entries are then the new ones.
  bool indexCurrent = true;
  if (auto it = byNumber_.find(n); it != byNumber_.end() && it->second.size() != removing)
    indexCurrent = false;
  else if (entries.empty())
    byNumber_.erase(n);
  else
    byNumber_[n] = entries;
  const size_t added = entries.size();
  const size_t at = splice(out, before, std::move(entries), &removed);
  changed(view && updateView(removed, at, added), runsAreCurrent());
  if (indexCurrent) byNumberGeneration_ = generation_;
  if (staysSorted) isSortedGeneration_ = generation_;
  return removed;
}

void Journal::importEntries(Entries lines)
{
  // As though placed one after another: the entries already here and every line that
  // went to the end form the base; a voucher line that stops before an entry of the
  // base waits in that entry's slot. Where a line stops depends only on the base
  // (the latest date of its numbered entries so far only grows along it), and the
  // lines waiting in one slot stand by date, equal dates in file order.
  Entries base;
  base.reserve(entries_.size() + lines.size());
  std::vector<int32_t> latest;  // per base entry: the latest numbered date up to it
  latest.reserve(base.capacity());
  const auto grow = [&](ShiwakePtr s) {
    const int32_t key = s->denpyouNo() > 0 ? keyOf(s) : INT32_MIN;
    latest.push_back(latest.empty() ? key : std::max(latest.back(), key));
    base.push_back(std::move(s));
  };
  for (ShiwakePtr& s : entries_) grow(std::move(s));
  struct Waiting {
    size_t slot;
    int32_t key;
    ShiwakePtr entry;
  };
  std::vector<Waiting> waiting;
  for (ShiwakePtr& s : lines) {
    const int32_t key = keyOf(s);
    const auto later = std::upper_bound(latest.begin(), latest.end(), key);
    if (!isVoucherLine(*s) || later == latest.end())
      grow(std::move(s));
    else
      waiting.push_back({static_cast<size_t>(later - latest.begin()), key, std::move(s)});
  }
  std::stable_sort(waiting.begin(), waiting.end(), [](const Waiting& a, const Waiting& b) {
    return a.slot != b.slot ? a.slot < b.slot : a.key < b.key;
  });
  if (waiting.empty()) {
    entries_ = std::move(base);
    return changed();
  }
  entries_.clear();
  entries_.reserve(base.size() + waiting.size());
  auto next = waiting.begin();
  for (size_t i = 0; i < base.size(); ++i) {
    for (; next != waiting.end() && next->slot == i; ++next) entries_.push_back(std::move(next->entry));
    entries_.push_back(std::move(base[i]));
  }
  changed();
}

Journal::Removal Journal::removeVoucher(int32_t n)
{
  const bool view = viewIsCurrent();
  Removal removal;
  const Positions out = visiblePositionsOf(n);
  if (out.empty()) return removal;
  removal.index = out.front();
  splice(out, out.front(), {}, &removal.entries);
  changed(view && updateView(removal.entries, 0, 0), runsAreCurrent());
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
  const size_t at = splice({}, std::min(removal.index, entries_.size()), removal.entries);
  changed(view && updateView({}, at, removal.entries.size()), runsAreCurrent());
}

void Journal::replaceAt(size_t index, ShiwakePtr entry)
{
  if (index >= entries_.size()) return append(std::move(entry));
  const bool view = viewIsCurrent();
  Entries removed;
  const size_t at = splice({index}, index, {std::move(entry)}, &removed);
  changed(view && updateView(removed, at, 1), runsAreCurrent());
}

void Journal::insertAt(size_t index, ShiwakePtr entry)
{
  const bool view = viewIsCurrent();
  const size_t at = splice({}, std::min(index, entries_.size()), {std::move(entry)});
  changed(view && updateView({}, at, 1), runsAreCurrent());
}

ShiwakePtr Journal::removeAt(size_t index)
{
  const bool view = viewIsCurrent();
  Entries removed;
  splice({index}, index, {}, &removed);
  changed(view && updateView(removed, 0, 0), runsAreCurrent());
  return removed.front();
}

void Journal::entryDidChange(const Shiwake* entry)
{
  if (indexOf(entry) < entries_.size()) changed();
}

void Journal::placeAmongVoucherLines(ShiwakePtr entry)
{
  // The entry changed in place: out of its place first, then before the first voucher
  // line dated later, else at the end but before the pending entries that end the
  // journal.
  const bool view = viewIsCurrent();
  Entries removed;
  if (const size_t old = indexOf(entry.get()); old < entries_.size()) splice({old}, old, {}, &removed);
  size_t before = voucherLinePlace(entry->date(), {});
  if (before == entries_.size())
    while (before > 0 && entries_[before - 1]->denpyouNo() == 0) --before;
  const size_t at = splice({}, before, {std::move(entry)});
  changed(view && updateView(removed, at, 1), runsAreCurrent());
}

void Journal::removePendingEntriesOf(int32_t kamokuCode, int32_t hojyoKamokuCode)
{
  const bool view = viewIsCurrent();
  Entries removed;
  std::erase_if(entries_, [&](const ShiwakePtr& s) {
    const bool doomed = isPendingOf(*s, kamokuCode, hojyoKamokuCode) || isPendingOf(*s, -1, -1);
    if (doomed) removed.push_back(s);
    return doomed;
  });
  if (!removed.empty()) changed(view && updateView(removed, 0, 0));
}

void Journal::movePendingEntryLast(int32_t kamokuCode, int32_t hojyoKamokuCode)
{
  auto pending = std::find_if(entries_.begin(), entries_.end(),
                              [&](const ShiwakePtr& s) { return isPendingOf(*s, kamokuCode, hojyoKamokuCode); });
  if (pending == entries_.end()) return;
  const bool view = viewIsCurrent();
  const auto index = static_cast<size_t>(pending - entries_.begin());
  Entries removed;
  const size_t at = splice({index}, entries_.size(), {*pending}, &removed);
  changed(view && updateView(removed, at, 1), runsAreCurrent());
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

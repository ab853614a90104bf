// The journal of a document: its entries in journal order, with the rules that keep
// them consistent behind one interface.
//
// Every change goes through a member here, and every change advances generation(),
// so that whatever was derived from the entries (the date-sorted view here, the
// report sums of the builders) knows when it is stale. Callers read the entries as
// a const vector; nobody outside gets a mutable one.
//
// The journal order is the voucher order: a transfer voucher's lines go after every
// voucher line of the same day or earlier (registerVoucher), cash-book entries stay
// where their book put them. Entries numbered 0 are the cash books' pending rows
// (no report shows them); a book whose pending row is its last row keeps that
// entry last (movePendingEntryLast, sortByDate).
//
// So the array need not stand in date order, but it stands in a few runs that do
// (a year's import, then the cash-book entries of a file from an earlier import, a
// pending row at the end). The journal knows where its runs begin: the date-sorted
// view is made by merging them, and a registration finds its entries and its place
// by halving each run. Every change moves only the entries between the places it
// touches (and the tail when the count of entries changes).
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "model/Date.h"
#include "model/Shiwake.h"

namespace kivo {

class Journal {
public:
  using Entries = std::vector<ShiwakePtr>;

  // What a removal took out, for its undo: the entries and where the first stood.
  struct Removal {
    Entries entries;
    size_t index = 0;
  };

  // --- the one date order
  // 0 for the same day, the closing-adjustment month after every real date, else
  // calendar order. A null first date compares equal.
  static int compareDate(Date a, Date b);
  // Its sort key: the closing-adjustment month after every day.
  static int32_t dateSortKey(Date d) { return d == Date::kessanSeiridukiDate() ? INT32_MAX : d.serial(); }

  // --- reading
  const Entries& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const ShiwakePtr& operator[](size_t i) const { return entries_[i]; }
  Entries::const_iterator begin() const { return entries_.begin(); }
  Entries::const_iterator end() const { return entries_.end(); }
  // Advances on every change of the entries.
  uint64_t generation() const { return generation_; }
  // The entries in date order, equal dates in journal order. Made once, then kept
  // current through the changes that move a few entries (a voucher registered or
  // removed, a cash-book row written); made again on first use after any other.
  const Entries& sortedByDate() const;
  // Whether the numbered entries (numbers above 0) stand in date order and no date is
  // being edited in a cash book. Computed again on first use after a change.
  bool isSortedByDate() const;
  // The entries of a voucher number that a limited user can see.
  int numberOfEntriesOfDenpyouNo(int32_t denpyouNo) const;
  // Every entry of a voucher number, hidden or not, in journal order; empty when no
  // entry carries it. Looked up in an index made again on first use after a change.
  const Entries& entriesOfDenpyouNo(int32_t denpyouNo) const;
  bool carriesDenpyouNo(int32_t denpyouNo) const { return !entriesOfDenpyouNo(denpyouNo).empty(); }
  // The highest number of the ordinary numbering (the company's voucher counter's) an
  // entry carries; 0 when none does. Regular-type vouchers (below 0) and a cash book's
  // pending rows (0) have none.
  int32_t highestDenpyouNo() const;
  // The place of this very entry (matched by address); size() when it is not here.
  size_t indexOf(const Shiwake* entry) const;

  // --- changing (each advances the generation)
  // The entries of a file just read.
  void assign(Entries entries);
  // Appends an entry, as a book entered in journal order.
  void append(ShiwakePtr entry);
  // Registers a transfer voucher: its old entries (number n; those hidden from a
  // limited user stay) go, the new ones take their place when an old one stood on the
  // same date, else they go after every voucher line of the same day or earlier
  // (cash-book entries are passed over); the closing-adjustment month goes last.
  // Answers the entries removed.
  Entries registerVoucher(int32_t denpyouNo, Date date, Entries entries);
  // Adds the lines of an imported file (numbered above 0, numbers no entry carries
  // yet) in one pass, each where it would go were they added one after another in the
  // file's order: a cash-book entry at the end, a voucher line before the first entry
  // numbered above 0 of a later date (entries numbered 0 or below are passed over),
  // else at the end. Lines of one date keep the file's order.
  void importEntries(Entries lines);
  // Removes the entries of a voucher number that a limited user can see.
  Removal removeVoucher(int32_t denpyouNo);
  // Removes the entries of these numbers that a limited user can see; answers how
  // many went. `keptHidden` receives the numbers that kept hidden entries.
  size_t removeVouchers(const std::function<bool(int32_t)>& isDoomed, std::vector<int32_t>* keptHidden);
  // Puts removed entries back at their place (clamped to the end).
  void restore(const Removal& removal);
  // A cash-book row written back: the entry at index is replaced (index < size), or
  // the entry inserted at index (index == size: appended).
  void replaceAt(size_t index, ShiwakePtr entry);
  void insertAt(size_t index, ShiwakePtr entry);
  ShiwakePtr removeAt(size_t index);
  // An entry changed in place (found by address): the derived views are stale.
  void entryDidChange(const Shiwake* entry);
  // Moves an entry that became a transfer-voucher line (or is a new one) among the
  // voucher lines: out of its place, then before the first voucher line dated later,
  // else at the end but before the pending entries that end the journal.
  void placeAmongVoucherLines(ShiwakePtr entry);
  // Drops the pending entries (number 0) of a cash book, and those of no book.
  void removePendingEntriesOf(int32_t kamokuCode, int32_t hojyoKamokuCode);
  // Moves the book's pending entry to the end, so that it stays on the book's last row.
  void movePendingEntryLast(int32_t kamokuCode, int32_t hojyoKamokuCode);
  // Sorts the entries by date (stable); the pending entries stay last.
  void sortByDate();
  // A cash book began editing a row's date: the order is uncertain until the next
  // change of the journal or dateEditingEnded().
  void dateEditingBegan() { dateEditing_ = true; }
  void dateEditingEnded() { dateEditing_ = false; }

private:
  // A stretch of the array in date order, up to the next run's start. When bounded, no
  // voucher line of the run is dated later than voucherKeyBound (a bound, not always
  // the latest); it is found on first need, so that finding the runs reads dates only.
  struct Run {
    size_t start;
    int32_t voucherKeyBound = INT32_MIN;
    bool bounded = false;
  };
  using Positions = std::vector<size_t>;

  // Advances the generation; viewKept: the date-sorted view was kept current through
  // the change; runsKept: the runs were.
  void changed(bool viewKept = false, bool runsKept = false);
  bool viewIsCurrent() const { return sortedGeneration_ == generation_; }
  bool runsAreCurrent() const { return runsGeneration_ == generation_; }
  // The runs, found again on first use after a change that did not keep them.
  const std::vector<Run>& runs() const;
  // The one way entries come and go: the entries at the ascending positions `out`
  // leave (into *taken, in journal order), and `in` go after every remaining entry
  // that stood before `before` and before every one that stood at or after it.
  // Answers where the first of `in` now stands. The runs follow when they were current.
  size_t splice(const Positions& out, size_t before, Entries in, Entries* taken = nullptr);
  // Keeps the date-sorted view current through a change: the removed entries leave
  // it, the entries at [at, at + count) of the journal (all of one date) join it.
  // Answers false when it cannot; the view is then made again on first use.
  bool updateView(const Entries& removed, size_t at, size_t count) const;
  // Whether the runs may be halved: few enough, and no date being edited in place.
  bool mayHalve() const;
  // Whether the entry at i stands in date order with its neighbours in its run (not
  // so when its date was changed in place).
  bool standsInDateOrder(size_t i) const;
  // Where this very entry stands (found by halving its date's place in each run, else
  // by a walk); size() when it is not here.
  size_t positionOf(const ShiwakePtr& entry) const;
  // The positions of the entries of number n that a limited user can see, ascending.
  Positions visiblePositionsOf(int32_t n) const;
  // Where a voucher line of this date goes, the entries at `skipped` (ascending)
  // counted as gone: before the first voucher line dated later (the one insert rule);
  // the closing-adjustment month goes last.
  size_t voucherLinePlace(Date date, const Positions& skipped) const;

  Entries entries_;
  uint64_t generation_ = 1;
  bool dateEditing_ = false;
  mutable Entries sorted_;
  mutable uint64_t sortedGeneration_ = 0;
  mutable bool isSorted_ = true;
  mutable uint64_t isSortedGeneration_ = 0;
  // Voucher number -> its entries in journal order; registerVoucher keeps it current.
  mutable std::unordered_map<int32_t, Entries> byNumber_;
  mutable uint64_t byNumberGeneration_ = 0;
  mutable std::vector<Run> runs_;
  mutable uint64_t runsGeneration_ = 0;
};

}  // namespace kivo

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <tuple>

#include "document/Journal.h"

namespace kivo {
namespace {

const Date kKessan = Date::kessanSeiridukiDate();

// A day of April 2024, the first month of the test term.
Date apr(int day) { return Date(2024, 4, day); }

ShiwakePtr entry(Date date, int32_t denpyouNo, ShiwakeKind kind = ShiwakeKind::Furikaedenpyou)
{
  auto s = std::make_shared<Shiwake>();
  s->setDate(date);
  s->setDenpyouNo(denpyouNo);
  s->setKindOfShiwake(kind);
  return s;
}

ShiwakePtr pending(int32_t kamoku, Date date = Date(2024, 4, 1))
{
  auto s = entry(date, 0, ShiwakeKind::SuitoucyouNoAmount);
  s->setSuitoucyouKamokuCode(kamoku);
  return s;
}

std::vector<int32_t> numbers(const Journal::Entries& a)
{
  std::vector<int32_t> out;
  for (const ShiwakePtr& s : a) out.push_back(s->denpyouNo());
  return out;
}

// What the date-sorted view must equal: the journal, stably sorted by date.
Journal::Entries stablySorted(const Journal& j)
{
  Journal::Entries expected = j.entries();
  std::stable_sort(expected.begin(), expected.end(), [](const ShiwakePtr& a, const ShiwakePtr& b) {
    return Journal::dateSortKey(a->date()) < Journal::dateSortKey(b->date());
  });
  return expected;
}

// Where a registered voucher goes: journal 1 (4/1), cash 7 (4/3), 2 (4/5), 3 (closing month).
TEST(JournalRegisterVoucher, OneRuleForTheInsertPointAndEveryChangeKeepsTheSortedViewTrue)
{
  struct Case {
    const char* what;
    int32_t number;
    Date date;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {"cash-book lines are passed over", 10, apr(2), {1, 7, 10, 2, 3}},
      {"after the same day", 10, apr(5), {1, 7, 2, 10, 3}},
      {"before the closing month", 10, Date(2025, 3, 31), {1, 7, 2, 10, 3}},
      {"the closing month last", 10, kKessan, {1, 7, 2, 3, 10}},
      {"registered again on its day: keeps its place", 1, apr(1), {1, 7, 2, 3}},
      {"registered again on another day: moves", 1, apr(6), {7, 2, 1, 3}},
  };
  // Each case cold, and with the index by number made beforehand (the path of
  // vouchers registered one after another).
  for (const bool indexed : {false, true})
    for (const Case& c : cases) {
      Journal j;
      j.assign({entry(apr(1), 1), entry(apr(3), 7, ShiwakeKind::Suitoucyou), entry(apr(5), 2), entry(kKessan, 3)});
      if (indexed) j.entriesOfDenpyouNo(1);
      const Journal::Entries removed = j.registerVoucher(c.number, c.date, {entry(c.date, c.number)});
      EXPECT_EQ(numbers(j.entries()), c.expected) << c.what << (indexed ? " (indexed)" : "");
      EXPECT_EQ(removed.size(), c.number == 1 ? 1u : 0u) << c.what << (indexed ? " (indexed)" : "");
    }

  // Entries hidden from a limited user stay.
  Journal j;
  auto hidden = entry(apr(1), 5);
  hidden->setDidCreateBeforeOpen(true);
  j.assign({entry(apr(1), 5), hidden});
  j.registerVoucher(5, apr(2), {entry(apr(2), 5)});
  EXPECT_EQ(std::tuple(j.size(), j[0], j.numberOfEntriesOfDenpyouNo(5)), std::tuple(2u, hidden, 1));
  // Nor does a removal take them.
  const Journal::Removal removal = j.removeVoucher(5);
  EXPECT_EQ(std::tuple(removal.entries.size(), removal.index, j.entries()),
            std::tuple(1u, 1u, Journal::Entries{hidden}));

  // The same rule among entries numbered 0 or below: a pending row, regular-type lines
  // (one of them dated in the term), and after registrations one after another.
  const Date regular = Date::regularTypeDenpyouDate();
  struct Series {
    const char* what;
    bool datedRegularLine;  // a regular-type line dated 4/9 stands second
    std::vector<std::pair<int32_t, Date>> registrations;
    std::vector<int32_t> expected;
  };
  const Series series[] = {
      {"between the numbered lines", false, {{10, apr(5)}}, {1, 0, 2, -4, 7, 10, 3}},
      {"before the first later line", false, {{10, apr(2)}}, {1, 0, 10, 2, -4, 7, 3}},
      {"after every line", false, {{10, apr(8)}}, {1, 0, 2, -4, 7, 3, 10}},
      {"a later regular-type line counts", true, {{10, apr(5)}}, {1, 10, -5, 0, 2, -4, 7, 3}},
      {"in a row", false, {{10, apr(5)}, {11, apr(2)}, {10, apr(8)}, {12, apr(5)}}, {1, 0, 11, 2, -4, 7, 12, 3, 10}},
      {"a regular-type voucher, then a dated one", false, {{-6, regular}, {10, apr(2)}}, {-6, 1, 0, 10, 2, -4, 7, 3}},
  };
  for (const bool indexed : {false, true})
    for (const Series& c : series) {
      Journal j;
      Journal::Entries start({entry(apr(1), 1), pending(100, apr(9)), entry(apr(5), 2), entry(regular, -4),
                              entry(apr(6), 7, ShiwakeKind::Suitoucyou), entry(apr(7), 3)});
      if (c.datedRegularLine) start.insert(start.begin() + 1, entry(apr(9), -5));
      j.assign(start);
      if (indexed) j.entriesOfDenpyouNo(1);
      for (const auto& [number, date] : c.registrations) j.registerVoucher(number, date, {entry(date, number)});
      EXPECT_EQ(numbers(j.entries()), c.expected) << c.what << (indexed ? " (indexed)" : "");
      for (const int32_t n : {1, 10, 11, 12, -6})
        EXPECT_EQ(j.numberOfEntriesOfDenpyouNo(n), std::count(c.expected.begin(), c.expected.end(), n))
            << c.what << " " << n;
    }

  // Every change advances the generation, and the date-sorted view follows at once,
  // also through many changes.
  const std::vector<std::pair<const char*, std::function<void(Journal&)>>> changes = {
      {"register", [](Journal& journal) { journal.registerVoucher(20, apr(2), {entry(apr(2), 20)}); }},
      {"remove", [](Journal& journal) { journal.removeVoucher(2); }},
      {"remove several",
       [](Journal& journal) { journal.removeVouchers([](int32_t n) { return n == 1 || n == 3; }, nullptr); }},
      {"restore", [](Journal& journal) { journal.restore(journal.removeVoucher(1)); }},
      {"replace", [](Journal& journal) { journal.replaceAt(0, entry(kKessan, 1)); }},
      {"insert", [](Journal& journal) { journal.insertAt(1, entry(Date(2024, 3, 1), 8)); }},
      {"remove at", [](Journal& journal) { journal.removeAt(0); }},
      {"append", [](Journal& journal) { journal.append(entry(Date(2024, 1, 1), 9)); }},
      {"sort", [](Journal& journal) { journal.sortByDate(); }},
      {"move pending last", [](Journal& journal) { journal.movePendingEntryLast(100, -1); }},
      {"drop pending", [](Journal& journal) { journal.removePendingEntriesOf(100, -1); }},
  };
  for (const auto& [what, change] : changes) {
    Journal journal;
    journal.assign({entry(apr(5), 1), pending(100), entry(apr(1), 2), entry(apr(3), 3)});
    ASSERT_EQ(numbers(journal.sortedByDate()), (std::vector<int32_t>{0, 2, 3, 1}));
    const uint64_t before = journal.generation();
    change(journal);
    EXPECT_GT(journal.generation(), before) << what;
    EXPECT_EQ(journal.sortedByDate(), stablySorted(journal)) << what;
  }

  // Through many changes the journal keeps the order its rules give (a plain model
  // of them below, walking the array) and the sorted view equals a fresh sort. The
  // journal starts in one run on few days (equal dates must keep journal order), or
  // in runs as files hold them: an earlier import's cash-book entries first, then the
  // voucher lines, over a month; and a third run after them with a pending row.
  // The view is read after every change, so each change updates it rather than
  // sorting, and half the registrations find their entries through the index.
  struct Start {
    const char* what;
    int days;
    int runs;
  };
  for (const Start& start : {Start{"one run", 4, 1}, Start{"two runs", 30, 2}, Start{"three runs", 30, 3}}) {
    SCOPED_TRACE(start.what);
    std::mt19937 rng(7);
    auto day = [&] { return apr(1).addingDays(static_cast<int>(rng() % static_cast<uint32_t>(start.days))); };
    Journal::Entries model;
    for (int32_t n = 1; n <= 40; ++n)
      model.push_back(entry(day(), n, n % 3 ? ShiwakeKind::Furikaedenpyou : ShiwakeKind::Suitoucyou));
    const auto byDate = [](const ShiwakePtr& a, const ShiwakePtr& b) {
      return Journal::dateSortKey(a->date()) < Journal::dateSortKey(b->date());
    };
    if (start.runs > 1) {
      std::stable_partition(model.begin(), model.end(), [](const ShiwakePtr& s) { return s->denpyouNo() % 3 == 0; });
      std::stable_sort(model.begin(), model.begin() + 13, byDate);
      std::stable_sort(model.begin() + 13, model.end(), byDate);
    }
    if (start.runs > 2)
      for (int32_t n = 41; n <= 45; ++n) model.push_back(entry(apr(n - 40), n));
    model.push_back(pending(100));
    Journal journal;
    journal.assign(model);
    int32_t next = 46;

    // The rules, walked: a voucher's visible entries go, the new ones take the place of
    // the first of them on the same day, else go before the first voucher line dated
    // later; the closing-adjustment month goes last.
    const auto placeVoucherLine = [&](Date date) {
      if (date == kKessan) return model.size();
      const auto later = std::find_if(model.begin(), model.end(), [&](const ShiwakePtr& s) {
        return s->kindOfShiwake() == ShiwakeKind::Furikaedenpyou && Journal::compareDate(s->date(), date) > 0;
      });
      return static_cast<size_t>(later - model.begin());
    };
    const auto registerInModel = [&](int32_t n, Date date, const Journal::Entries& lines) {
      size_t place = model.size() + 1;
      for (size_t i = 0; i < model.size();)
        if (model[i]->denpyouNo() == n) {
          if (place > model.size() && model[i]->date() == date) place = i;
          model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
          ++i;
        }
      if (place > model.size()) place = placeVoucherLine(date);
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(place), lines.begin(), lines.end());
    };
    const auto removeInModel = [&](int32_t n) {
      std::erase_if(model, [&](const ShiwakePtr& s) { return s->denpyouNo() == n; });
    };
    for (int step = 0; step < 600; ++step) {
      ASSERT_EQ(journal.entries(), model) << "before step " << step;
      ASSERT_EQ(journal.sortedByDate(), stablySorted(journal)) << "before step " << step;
      const size_t at = rng() % (journal.size() + 1);
      const auto number = [&] { return static_cast<int32_t>(1 + rng() % static_cast<uint32_t>(next - 1)); };
      if (rng() % 2) journal.entriesOfDenpyouNo(1);
      switch (rng() % 10) {
      case 0: {
        const Date d = rng() % 20 ? day() : kKessan;
        const Journal::Entries lines{entry(d, next), entry(d, next)};
        journal.registerVoucher(next, d, lines);
        registerInModel(next++, d, lines);
        break;
      }
      case 1: {  // registered again on another day, or on its own
        const int32_t n = number();
        const Date d = day();
        const Journal::Entries lines{entry(d, n)};
        journal.registerVoucher(n, d, lines);
        registerInModel(n, d, lines);
        break;
      }
      case 2: {  // removed, then put back together where the first stood
        const int32_t n = number();
        journal.restore(journal.removeVoucher(n));
        const auto first =
            std::find_if(model.begin(), model.end(), [&](const ShiwakePtr& s) { return s->denpyouNo() == n; });
        if (first == model.end()) break;
        const auto index = first - model.begin();
        Journal::Entries lines;
        std::copy_if(model.begin(), model.end(), std::back_inserter(lines),
                     [&](const ShiwakePtr& s) { return s->denpyouNo() == n; });
        removeInModel(n);
        model.insert(model.begin() + index, lines.begin(), lines.end());
        break;
      }
      case 3: {
        const int32_t n = number();
        journal.removeVoucher(n);
        removeInModel(n);
        break;
      }
      case 4: {
        const ShiwakePtr s = entry(day(), next++, ShiwakeKind::Suitoucyou);
        journal.insertAt(at, s);
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), s);
        break;
      }
      case 5:
        if (at < journal.size()) {
          journal[at]->setDate(day());  // a book's row edited in place, then written back
          journal.replaceAt(at, journal[at]);
        }
        break;
      case 6:
        if (at < journal.size()) {
          journal.removeAt(at);
          model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        }
        break;
      case 7: {
        journal.movePendingEntryLast(100, -1);
        const auto p =
            std::find_if(model.begin(), model.end(), [](const ShiwakePtr& s) { return s->denpyouNo() == 0; });
        if (p != model.end()) std::rotate(p, p + 1, model.end());
        break;
      }
      case 8:
        if (at < journal.size() && journal[at]->denpyouNo() > 0) {
          const ShiwakePtr s = journal[at];
          s->setKindOfShiwake(ShiwakeKind::Furikaedenpyou);  // a book's entry became a voucher line
          s->setDate(day());
          journal.placeAmongVoucherLines(s);
          model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
          size_t place = placeVoucherLine(s->date());
          if (place == model.size())
            while (place > 0 && model[place - 1]->denpyouNo() == 0) --place;
          model.insert(model.begin() + static_cast<std::ptrdiff_t>(place), s);
        }
        break;
      case 9: {  // a voucher's lines changed in place, then registered on that day
        const int32_t n = number();
        const Date d = day();
        const Journal::Entries lines = journal.entriesOfDenpyouNo(n);
        for (const ShiwakePtr& s : lines) s->setDate(d);
        journal.registerVoucher(n, d, lines);
        registerInModel(n, d, lines);
        break;
      }
      }
    }
  }
}

TEST(JournalPendingEntries, StayLastLeaveWithTheirBookAndNoChangeKeepsTheGenerationAndDateOrderIsKnown)
{
  Journal j;
  auto mine = pending(100), other = pending(200), orphan = pending(-1);
  j.assign({entry(apr(9), 1), mine, entry(apr(1), 2), other, orphan});
  j.movePendingEntryLast(100, -1);
  EXPECT_EQ(j.entries().back(), mine);
  // Sorting keeps every pending entry after the numbered ones, in their order.
  j.sortByDate();
  EXPECT_EQ(j.entries(), (Journal::Entries{j[0], j[1], other, orphan, mine}));
  EXPECT_EQ(numbers(j.entries()), (std::vector<int32_t>{2, 1, 0, 0, 0}));
  // A book's pending entries go, with those of no book; another book's stay.
  j.removePendingEntriesOf(100, -1);
  EXPECT_EQ(std::pair(j.entries().back(), j.size()), std::pair(other, size_t{3}));

  // With no such entries left, nor a voucher 9, a change that changes nothing keeps
  // the generation.
  const uint64_t before = j.generation();
  j.removeVoucher(9);
  j.restore({});
  j.movePendingEntryLast(100, -1);
  j.removePendingEntriesOf(100, -1);
  EXPECT_EQ(j.generation(), before);

  // Whether the journal is in date order looks at numbered entries and at a date being
  // edited.
  Journal edited;
  edited.assign({entry(apr(2), 1), pending(100, apr(1)), entry(Date(2024, 3, 1), -1), entry(apr(3), 2)});
  EXPECT_TRUE(edited.isSortedByDate());  // pending rows and regular-type vouchers do not count
  edited.dateEditingBegan();
  EXPECT_FALSE(edited.isSortedByDate());
  edited.dateEditingEnded();
  edited.append(entry(apr(1), 3));
  EXPECT_FALSE(edited.isSortedByDate());
  edited.dateEditingBegan();
  edited.sortByDate();  // a change ends the edit
  EXPECT_TRUE(edited.isSortedByDate());

  // The closing adjustment month follows every real date.
  EXPECT_EQ(Journal::compareDate(Date(2025, 3, 31), kKessan), -1);
  EXPECT_EQ(Journal::compareDate(kKessan, Date(2099, 1, 1)), 1);
  EXPECT_EQ(Journal::compareDate(kKessan, kKessan), 0);
  EXPECT_EQ(Journal::compareDate(apr(2), apr(1)), 1);
  EXPECT_EQ(Journal::compareDate(Date(), apr(1)), 0);
}

}  // namespace
}  // namespace kivo

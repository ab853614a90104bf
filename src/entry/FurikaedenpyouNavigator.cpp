#include "entry/FurikaedenpyouNavigator.h"

namespace kivo {
namespace {

using Entries = Journal::Entries;

std::ptrdiff_t firstIndexOf(const Entries& a, int32_t n)
{
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i]->denpyouNo() == n) return static_cast<std::ptrdiff_t>(i);
  return -1;
}

std::ptrdiff_t lastIndexOf(const Entries& a, int32_t n)
{
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(a.size()) - 1; i >= 0; --i)
    if (a[i]->denpyouNo() == n) return i;
  return -1;
}

std::ptrdiff_t lastCandidate(const Entries& a)
{
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(a.size()) - 1; i >= 0; --i)
    if (FurikaedenpyouNavigator::isCandidate(*a[i])) return i;
  return -1;
}

// Walks from index `from` by `step`, counting a step at every candidate whose number
// differs from the current one, at most `steps` times; answers the number reached.
int32_t walk(const Entries& a, std::ptrdiff_t from, int step, int32_t current, int steps)
{
  int counted = 0;
  for (std::ptrdiff_t i = from; i >= 0 && i < static_cast<std::ptrdiff_t>(a.size()) && counted < steps; i += step) {
    if (!FurikaedenpyouNavigator::isCandidate(*a[i]) || a[i]->denpyouNo() == current) continue;
    current = a[i]->denpyouNo();
    ++counted;
  }
  return current;
}

bool inRange(Date d, Date from, Date to) { return from <= d && d <= to; }

// The month range a date lies in: the sentinel dates are a month of their own; a
// date in no month of the term takes the last month. `index` is the month's index,
// the month count for the closing-adjustment month and for a date in no month, 0 for
// the regular-type date.
struct MonthRange {
  Date from, to;
  size_t index;
};

MonthRange monthRangeOf(const MyDocument& document, Date d)
{
  const std::vector<Month>& months = document.kaisya().monthArray();
  if (d == Date::kessanSeiridukiDate()) return {d, d, months.size()};
  if (d == Date::regularTypeDenpyouDate()) return {d, d, 0};
  for (size_t m = 0; m < months.size(); ++m)
    if (inRange(d, months[m].startDate(), months[m].endDate())) return {months[m].startDate(), months[m].endDate(), m};
  if (months.empty()) return {d, d, 0};
  return {months.back().startDate(), months.back().endDate(), months.size()};
}

}  // namespace

std::optional<int32_t> FurikaedenpyouNavigator::showNextDenpyou(const MyDocument& document, int32_t n)
{
  const Entries& a = document.journal().entries();
  const std::ptrdiff_t first = firstIndexOf(a, n);
  if (first < 0) return std::nullopt;
  for (size_t i = first + 1; i < a.size(); ++i)
    if (isCandidate(*a[i]) && a[i]->denpyouNo() != n) return a[i]->denpyouNo();
  return std::nullopt;
}

std::optional<int32_t> FurikaedenpyouNavigator::showPreviousDenpyou(const MyDocument& document, int32_t n)
{
  const Entries& a = document.journal().entries();
  const std::ptrdiff_t last = lastIndexOf(a, n);
  if (last < 0) {
    const std::ptrdiff_t c = lastCandidate(a);
    return c < 0 ? std::nullopt : std::optional<int32_t>(a[c]->denpyouNo());
  }
  for (std::ptrdiff_t i = last - 1; i >= 0; --i)
    if (isCandidate(*a[i]) && a[i]->denpyouNo() != n) return a[i]->denpyouNo();
  return std::nullopt;
}

std::optional<int32_t> FurikaedenpyouNavigator::skipDenpyou(const MyDocument& document, int32_t n)
{
  const Entries& a = document.journal().entries();
  const std::ptrdiff_t first = firstIndexOf(a, n);
  if (first < 0) return std::nullopt;
  const int32_t q = walk(a, first + 1, 1, n, 10);
  return q == n ? std::nullopt : std::optional<int32_t>(q);
}

std::optional<int32_t> FurikaedenpyouNavigator::reverseSkipDenpyou(const MyDocument& document, int32_t n)
{
  const Entries& a = document.journal().entries();
  const std::ptrdiff_t last = lastIndexOf(a, n);
  if (last >= 0) {
    const int32_t q = walk(a, last - 1, -1, n, 10);
    return q == n ? std::nullopt : std::optional<int32_t>(q);
  }
  const std::ptrdiff_t c = lastCandidate(a);
  if (c < 0) return std::nullopt;
  return walk(a, c - 1, -1, a[c]->denpyouNo(), 9);
}

std::optional<int32_t> FurikaedenpyouNavigator::showStartDenpyou(const MyDocument& document, int32_t n)
{
  for (const ShiwakePtr& s : document.journal())
    if (isCandidate(*s)) return s->denpyouNo() == n ? std::nullopt : std::optional<int32_t>(s->denpyouNo());
  return std::nullopt;
}

std::optional<int32_t> FurikaedenpyouNavigator::showEndDenpyou(const MyDocument& document, int32_t n)
{
  const Entries& a = document.journal().entries();
  const std::ptrdiff_t c = lastCandidate(a);
  if (c < 0 || a[c]->denpyouNo() == n) return std::nullopt;
  return a[c]->denpyouNo();
}

std::optional<int32_t> FurikaedenpyouNavigator::showNextMonthDenpyou(const MyDocument& document, int32_t n)
{
  const Entries& a = document.journal().entries();
  const std::ptrdiff_t first = firstIndexOf(a, n);
  if (first < 0) return std::nullopt;
  const MonthRange range = monthRangeOf(document, a[first]->date());
  for (size_t i = first + 1; i < a.size(); ++i)
    if (isCandidate(*a[i]) && Journal::compareDate(a[i]->date(), range.to) > 0) return a[i]->denpyouNo();
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(a.size()) - 1; i > first; --i) {
    if (!isCandidate(*a[i]) || !inRange(a[i]->date(), range.from, range.to)) continue;
    // The shown voucher being the month's last, there is nowhere to go.
    return a[i]->denpyouNo() == n ? std::nullopt : std::optional<int32_t>(a[i]->denpyouNo());
  }
  return std::nullopt;
}

std::optional<int32_t> FurikaedenpyouNavigator::showPreviousMonthDenpyou(const MyDocument& document, int32_t n)
{
  const Entries& a = document.journal().entries();
  const std::ptrdiff_t first = firstIndexOf(a, n);
  if (first < 0) return std::nullopt;
  const MonthRange range = monthRangeOf(document, a[first]->date());
  auto firstBefore = [&](Date from, Date to) -> std::optional<int32_t> {
    for (std::ptrdiff_t i = 0; i < first; ++i)
      if (isCandidate(*a[i]) && inRange(a[i]->date(), from, to)) return a[i]->denpyouNo();
    return std::nullopt;
  };
  if (std::optional<int32_t> q = firstBefore(range.from, range.to)) return q;
  if (range.index == 0) return showStartDenpyou(document, n);
  const std::vector<Month>& months = document.kaisya().monthArray();
  for (size_t m = std::min(range.index, months.size()); m-- > 0;)
    if (std::optional<int32_t> q = firstBefore(months[m].startDate(), months[m].endDate())) return q;
  return std::nullopt;
}

}  // namespace kivo

#include "trial/ZandakaShisanPeriodSums.h"

#include <algorithm>
#include <array>

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Kaisya.h"
#include "model/Kamoku.h"

namespace kivo {
namespace {

using Sums = ZandakaShisanPeriodSums::Sums;

// Account index by whole code: a dense table while the codes are small (they are
// three digits in every chart), else a binary search over the sorted codes.
class AccountIndex {
public:
  explicit AccountIndex(const std::vector<int32_t>& codes) : codes_(codes)
  {
    int32_t maxCode = -1;
    bool dense = true;
    for (int32_t c : codes_) {
      if (c < 0 || c > kMaxDenseCode) dense = false;
      maxCode = std::max(maxCode, c);
    }
    if (dense && maxCode >= 0) {
      table_.assign(static_cast<size_t>(maxCode) + 1, -1);
      for (size_t i = 0; i < codes_.size(); ++i) {
        int32_t& slot = table_[static_cast<size_t>(codes_[i])];
        if (slot < 0) slot = static_cast<int32_t>(i);  // the first account of a code, as the document's lookup
      }
    }
  }

  int32_t operator()(int32_t code) const
  {
    if (!table_.empty())
      return code >= 0 && static_cast<size_t>(code) < table_.size() ? table_[static_cast<size_t>(code)] : -1;
    auto it = std::lower_bound(codes_.begin(), codes_.end(), code);
    return it != codes_.end() && *it == code ? static_cast<int32_t>(it - codes_.begin()) : -1;
  }

private:
  static constexpr int32_t kMaxDenseCode = 1 << 20;
  const std::vector<int32_t>& codes_;
  std::vector<int32_t> table_;
};

// Slots of the division columns: columns are created in the order their division
// codes are first met, the division list's order first.
class ColumnSlots {
public:
  ColumnSlots() { slotOfSmallCode_.fill(-1); }
  template <class Add>
  size_t slot(int32_t code, std::vector<int32_t>& codes, Add&& add)
  {
    // Division codes are two digits, -1 when the entry has none; anything else is
    // looked up among the extra codes.
    if (code >= -1 && code <= 99) {
      int32_t& s = slotOfSmallCode_[static_cast<size_t>(code + 1)];
      if (s < 0) s = static_cast<int32_t>(add(code));
      return static_cast<size_t>(s);
    }
    for (size_t i = 0; i < codes.size(); ++i)
      if (codes[i] == code) return i;
    return add(code);
  }

private:
  std::array<int32_t, 101> slotOfSmallCode_;
};

// The company column's sums: each stops at the first partial sum beyond the limit.
struct CompanySum {
  Sums sums;
  bool balanceOpen = true, kaishiOpen = true, kariOpen = true, kashiOpen = true;
  void add(const Sums& s, int64_t max)
  {
    if (kaishiOpen) {
      sums.kaishiZandaka = capped::add(sums.kaishiZandaka, s.kaishiZandaka);
      kaishiOpen = capped::inRange(sums.kaishiZandaka, max);
    }
    if (balanceOpen) {
      sums.syuuryouZandaka = capped::add(sums.syuuryouZandaka, s.syuuryouZandaka);
      balanceOpen = capped::inRange(sums.syuuryouZandaka, max);
    }
    if (kariOpen) {
      sums.karikataGoukei = capped::add(sums.karikataGoukei, s.karikataGoukei);
      kariOpen = sums.karikataGoukei <= max;
    }
    if (kashiOpen) {
      sums.kashikataGoukei = capped::add(sums.kashikataGoukei, s.kashikataGoukei);
      kashiOpen = sums.kashikataGoukei <= max;
    }
  }
};

const Sums kNoSums;

}  // namespace

ZandakaShisanPeriodSums::Lines::Lines(size_t count) : count_(count), pages_((count + kPageLines - 1) / kPageLines) {}

ZandakaShisanPeriodSums::Lines::Lines(const Lines& other) : count_(other.count_), pages_(other.pages_.size())
{
  for (size_t p = 0; p < pages_.size(); ++p)
    if (other.pages_[p]) pages_[p] = std::make_unique<Page>(*other.pages_[p]);
}

ZandakaShisanPeriodSums::Lines& ZandakaShisanPeriodSums::Lines::operator=(const Lines& other)
{
  if (this != &other) *this = Lines(other);
  return *this;
}

ZandakaShisanPeriodSums::Sums& ZandakaShisanPeriodSums::Lines::at(size_t line)
{
  std::unique_ptr<Page>& page = pages_[line / kPageLines];
  if (!page) page = std::make_unique<Page>();
  return (*page)[line % kPageLines];
}

const ZandakaShisanPeriodSums::Sums& ZandakaShisanPeriodSums::Lines::get(size_t line) const
{
  if (line >= count_) return kNoSums;
  const std::unique_ptr<Page>& page = pages_[line / kPageLines];
  return page ? (*page)[line % kPageLines] : kNoSums;
}

template <class F>
void ZandakaShisanPeriodSums::Lines::forEach(F&& f) const
{
  for (size_t p = 0; p < pages_.size(); ++p) {
    if (!pages_[p]) continue;
    const size_t lines = std::min(kPageLines, count_ - p * kPageLines);
    for (size_t i = 0; i < lines; ++i) f(p * kPageLines + i, (*pages_[p])[i]);
  }
}

void ZandakaShisanPeriodSums::Lines::insert(size_t line)
{
  Lines moved(count_ + 1);
  forEach([&](size_t at, const Sums& sums) {
    if (!sums.isZero()) moved.at(at >= line ? at + 1 : at) = sums;
  });
  *this = std::move(moved);
}

ZandakaShisanPeriodSums::Period ZandakaShisanPeriodSums::periodOfMonthIndexes(const Kaisya& kaisya, int32_t periodFrom,
                                                                              int32_t periodTo)
{
  const std::vector<Month>& months = kaisya.monthArray();
  const int32_t count = static_cast<int32_t>(months.size());
  periodFrom = std::clamp(periodFrom, 0, count);
  periodTo = std::clamp(periodTo, 0, count);
  Period p;
  p.startDate = periodFrom == count ? Date::kessanSeiridukiDate() : months[static_cast<size_t>(periodFrom)].startDate();
  p.endDate = periodTo == count ? Date::kessanSeiridukiDate() : months[static_cast<size_t>(periodTo)].endDate();
  return p;
}

ZandakaShisanPeriodSums ZandakaShisanPeriodSums::post(const MyDocument& document, const Period& period,
                                                      const DidPost& didPost)
{
  ZandakaShisanPeriodSums r;
  const int64_t max = document.kaisya().maxOutputAmountValue();
  const std::vector<KamokuPtr>& accounts = document.codeSortedKamokuArray();
  const size_t n = accounts.size();
  std::vector<char> isKarikata(n);
  r.kamokuCodes_.reserve(n);
  r.hojyoBase_.assign(n, -1);
  r.hojyoCount_.assign(n, 0);
  // Sub-account lines: codes 0 to the highest code of each account's sub-accounts;
  // only those of a sub-account are posted into.
  std::vector<char> isHojyoKamoku;
  for (size_t i = 0; i < n; ++i) {
    const Kamoku& k = *accounts[i];
    r.kamokuCodes_.push_back(k.code());
    isKarikata[i] = k.isKarikataKamoku();
    int32_t count = 0;
    for (const HojyoKamokuPtr& h : k.hojyoKamokuArray())
      if (h->code() >= 0 && h->code() <= 99) count = std::max(count, h->code() + 1);
    if (count == 0) continue;
    r.hojyoBase_[i] = static_cast<int32_t>(isHojyoKamoku.size());
    r.hojyoCount_[i] = count;
    isHojyoKamoku.resize(isHojyoKamoku.size() + static_cast<size_t>(count), 0);
    for (const HojyoKamokuPtr& h : k.hojyoKamokuArray())
      if (h->code() >= 0 && h->code() <= 99) isHojyoKamoku[static_cast<size_t>(r.hojyoBase_[i] + h->code())] = 1;
  }
  const size_t hojyoLines = isHojyoKamoku.size();
  const AccountIndex indexOfCode(r.kamokuCodes_);

  ColumnSlots slots;
  auto addColumn = [&](int32_t code) {
    r.columnCodes_.push_back(code);
    r.kamokuSums_.emplace_back(n);
    r.hojyoKamokuSums_.emplace_back(hojyoLines);
    return r.columnCodes_.size() - 1;
  };
  auto column = [&](int32_t code) { return slots.slot(code, r.columnCodes_, addColumn); };

  // Opening balances. With divisions in use every division column starts at its
  // own opening balance; a division that was made inactive keeps its balances in
  // the company column, so the company's books still balance. Without divisions
  // the company's opening balance starts the column of entries without a division.
  const bool usesJigyoubu = document.numberOfActiveJigyoubu() > 0;
  if (usesJigyoubu) {
    for (const JigyoubuPtr& j : document.jigyoubuArray())
      if (j->isActive()) column(j->code());
  }
  auto open = [&](const StartBalanceList& balances, bool isHojyo, size_t line) {
    auto at = [&](int32_t code) -> Sums& {
      const size_t c = column(code);
      return isHojyo ? r.hojyoKamokuSums_[c].at(line) : r.kamokuSums_[c].at(line);
    };
    if (usesJigyoubu) {
      for (const StartBalance& b : balances.entries()) {
        if (b.jigyoubuCode == Jigyoubu::kAllJigyoubuCode) continue;
        Sums& s = at(b.jigyoubuCode);
        s.kaishiZandaka = s.syuuryouZandaka = b.balance;
      }
    } else {
      Sums& s = at(-1);
      s.kaishiZandaka = s.syuuryouZandaka = balances.balanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode);
    }
  };
  for (size_t i = 0; i < n; ++i) {
    open(accounts[i]->startBalanceArray(), false, i);
    if (r.hojyoBase_[i] < 0) continue;
    for (const HojyoKamokuPtr& h : accounts[i]->hojyoKamokuArray())
      if (h->code() >= 0 && h->code() <= 99)
        open(h->startBalanceArray(), true, static_cast<size_t>(r.hojyoBase_[i] + h->code()));
  }

  // The journal in date order, up to the first entry after the period.
  const bool startIsNull = period.startDate.isNull();
  const bool endIsNull = period.endDate.isNull();
  const int64_t startKey = Journal::dateSortKey(period.startDate);
  const int64_t endKey = Journal::dateSortKey(period.endDate);
  auto postInto = [&](Sums& s, int64_t amount, bool sameSide, bool karikataSide, bool beforeStart) {
    int64_t balance = s.syuuryouZandaka;
    if (capped::inRange(balance, max)) balance = sameSide ? capped::add(balance, amount) : capped::sub(balance, amount);
    s.syuuryouZandaka = balance;
    if (beforeStart) {
      s.kaishiZandaka = balance;
      return;
    }
    int64_t& total = karikataSide ? s.karikataGoukei : s.kashikataGoukei;
    total = capped::addToSum(total, amount, max);
  };
  auto post = [&](int32_t kamokuCode, int32_t hojyoKamokuCode, int32_t jigyoubuCode, int64_t amount, bool karikataSide,
                  bool beforeStart) {
    const int32_t i = indexOfCode(kamokuCode);
    if (i < 0) return;  // no such account (the sundry code 999, a deleted account)
    const size_t c = column(jigyoubuCode);
    const bool sameSide = (isKarikata[static_cast<size_t>(i)] != 0) == karikataSide;
    postInto(r.kamokuSums_[c].at(static_cast<size_t>(i)), amount, sameSide, karikataSide, beforeStart);
    if (hojyoKamokuCode < 0 || hojyoKamokuCode >= r.hojyoCount_[static_cast<size_t>(i)]) return;
    const size_t line = static_cast<size_t>(r.hojyoBase_[static_cast<size_t>(i)] + hojyoKamokuCode);
    if (isHojyoKamoku[line]) postInto(r.hojyoKamokuSums_[c].at(line), amount, sameSide, karikataSide, beforeStart);
  };
  const auto& sorted = document.journal().sortedByDate();
  size_t walked = 0;
  if (didPost) didPost(0, sorted.size());
  for (const ShiwakePtr& shiwake : sorted) {
    if (didPost && ++walked % 4 == 0) didPost(walked, sorted.size());
    const Shiwake& s = *shiwake;
    if (s.denpyouNo() <= 0) continue;  // unregistered cash-book rows and regular-type vouchers
    const Date date = s.date();
    // A date-less entry compares equal to every date, as the document's date order does.
    const bool isNull = date.isNull();
    const int64_t key = Journal::dateSortKey(date);
    if (!isNull && !endIsNull && key > endKey) break;
    const bool beforeStart = !isNull && !startIsNull && key < startKey;
    post(s.karikataKamokuCode(), s.karikataHojyoKamokuCode(), s.karikataJigyoubuCode(), s.karikataKingaku(), true,
         beforeStart);
    post(s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode(), s.kashikataJigyoubuCode(), s.kashikataKingaku(), false,
         beforeStart);
  }

  // The company column: the sum of every other column, each line's columns in the
  // order they were made. A column of code 99 (an entry that named it) counts into it
  // and is not kept apart.
  auto sumColumns = [&](const std::vector<Lines>& columns, size_t lines) {
    std::vector<CompanySum> sums(lines);
    for (const Lines& col : columns) col.forEach([&](size_t line, const Sums& s) { sums[line].add(s, max); });
    Lines out(lines);
    for (size_t line = 0; line < lines; ++line)
      if (!sums[line].sums.isZero()) out.at(line) = sums[line].sums;
    return out;
  };
  Lines company = sumColumns(r.kamokuSums_, n);
  Lines companyHojyo = sumColumns(r.hojyoKamokuSums_, hojyoLines);
  const auto all = std::find(r.columnCodes_.begin(), r.columnCodes_.end(), Jigyoubu::kAllJigyoubuCode);
  if (all != r.columnCodes_.end()) {
    const size_t c = static_cast<size_t>(all - r.columnCodes_.begin());
    r.kamokuSums_[c] = std::move(company);
    r.hojyoKamokuSums_[c] = std::move(companyHojyo);
  } else {
    r.columnCodes_.push_back(Jigyoubu::kAllJigyoubuCode);
    r.kamokuSums_.push_back(std::move(company));
    r.hojyoKamokuSums_.push_back(std::move(companyHojyo));
  }
  return r;
}

int32_t ZandakaShisanPeriodSums::indexOfKamoku(int32_t kamokuCode) const
{
  auto it = std::lower_bound(kamokuCodes_.begin(), kamokuCodes_.end(), kamokuCode);
  return it != kamokuCodes_.end() && *it == kamokuCode ? static_cast<int32_t>(it - kamokuCodes_.begin()) : -1;
}

int32_t ZandakaShisanPeriodSums::columnOf(int32_t jigyoubuCode) const
{
  for (size_t c = 0; c < columnCodes_.size(); ++c)
    if (columnCodes_[c] == jigyoubuCode) return static_cast<int32_t>(c);
  return -1;
}

const ZandakaShisanPeriodSums::Sums& ZandakaShisanPeriodSums::ofKamoku(int32_t kamokuCode, int32_t jigyoubuCode) const
{
  const int32_t i = indexOfKamoku(kamokuCode);
  const int32_t c = columnOf(jigyoubuCode);
  if (i < 0 || c < 0) return kNoSums;
  return kamokuSums_[static_cast<size_t>(c)].get(static_cast<size_t>(i));
}

const ZandakaShisanPeriodSums::Sums& ZandakaShisanPeriodSums::ofHojyoKamoku(int32_t kamokuCode, int32_t hojyoKamokuCode,
                                                                            int32_t jigyoubuCode) const
{
  const int32_t i = indexOfKamoku(kamokuCode);
  const int32_t c = columnOf(jigyoubuCode);
  if (i < 0 || c < 0 || hojyoKamokuCode < 0 || hojyoKamokuCode >= hojyoCount_[static_cast<size_t>(i)]) return kNoSums;
  return hojyoKamokuSums_[static_cast<size_t>(c)].get(
      static_cast<size_t>(hojyoBase_[static_cast<size_t>(i)] + hojyoKamokuCode));
}

void ZandakaShisanPeriodSums::setSumsOfKamoku(int32_t kamokuCode, int32_t jigyoubuCode, const Sums& sums)
{
  int32_t i = indexOfKamoku(kamokuCode);
  if (i < 0) {
    const auto at = std::lower_bound(kamokuCodes_.begin(), kamokuCodes_.end(), kamokuCode);
    const auto offset = at - kamokuCodes_.begin();
    kamokuCodes_.insert(at, kamokuCode);
    hojyoBase_.insert(hojyoBase_.begin() + offset, -1);
    hojyoCount_.insert(hojyoCount_.begin() + offset, 0);
    for (Lines& col : kamokuSums_) col.insert(static_cast<size_t>(offset));
    i = static_cast<int32_t>(offset);
  }
  int32_t c = columnOf(jigyoubuCode);
  if (c < 0) {
    columnCodes_.push_back(jigyoubuCode);
    kamokuSums_.emplace_back(kamokuCodes_.size());
    hojyoKamokuSums_.emplace_back(hojyoKamokuSums_.empty() ? 0 : hojyoKamokuSums_.front().size());
    c = static_cast<int32_t>(columnCodes_.size() - 1);
  }
  kamokuSums_[static_cast<size_t>(c)].at(static_cast<size_t>(i)) = sums;
}

}  // namespace kivo

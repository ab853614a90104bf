#include "trial/ZandakaShisanPeriodSums.h"

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "document/MyDocument.h"
#include "model/Kaisya.h"
#include "model/Kamoku.h"
#include "trial/CappedAmount.h"

namespace kivo {
namespace {

// The four sums of one account in one division column.
struct Sums {
  int64_t kaishiZandaka = 0;
  int64_t karikataGoukei = 0;
  int64_t kashikataGoukei = 0;
  int64_t syuuryouZandaka = 0;
};

// Division columns, each a dense array over the accounts. Columns are created in
// the order their division codes are first met, so the lists written back keep the
// division list's order.
class Columns {
public:
  explicit Columns(size_t accountCount) : accountCount_(accountCount) { slotOfSmallCode_.fill(-1); }

  std::vector<Sums>& column(int32_t jigyoubuCode) { return columns_[slot(jigyoubuCode)]; }
  size_t count() const { return codes_.size(); }
  int32_t codeAt(size_t i) const { return codes_[i]; }
  const std::vector<Sums>& columnAt(size_t i) const { return columns_[i]; }

private:
  size_t slot(int32_t code)
  {
    // Division codes are two digits, -1 when the entry has none; anything else is
    // looked up among the extra codes.
    if (code >= -1 && code <= 99) {
      int32_t& s = slotOfSmallCode_[static_cast<size_t>(code + 1)];
      if (s < 0) s = add(code);
      return static_cast<size_t>(s);
    }
    for (size_t i = 0; i < codes_.size(); ++i)
      if (codes_[i] == code) return i;
    return static_cast<size_t>(add(code));
  }
  int32_t add(int32_t code)
  {
    codes_.push_back(code);
    columns_.emplace_back(accountCount_);
    return static_cast<int32_t>(codes_.size() - 1);
  }

  size_t accountCount_;
  std::array<int32_t, 101> slotOfSmallCode_;
  std::vector<int32_t> codes_;
  std::vector<std::vector<Sums>> columns_;
};

// Account index by whole code: a dense table while the codes are small (they are
// three digits in every chart), else a binary search over the sorted codes.
class AccountIndex {
public:
  explicit AccountIndex(const std::vector<KamokuPtr>& accounts)
  {
    codes_.reserve(accounts.size());
    int32_t maxCode = -1;
    bool dense = true;
    for (const KamokuPtr& k : accounts) {
      codes_.push_back(k->code());
      if (k->code() < 0 || k->code() > kMaxDenseCode) dense = false;
      maxCode = std::max(maxCode, k->code());
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
  std::vector<int32_t> codes_;
  std::vector<int32_t> table_;
};

// Sort keys of the one date order: the closing-adjustment month after every day.
int64_t dateKey(Date d) { return d == Date::kessanSeiridukiDate() ? INT64_MAX : static_cast<int64_t>(d.serial()); }

}  // namespace

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

void ZandakaShisanPeriodSums::postShiwakeArray(MyDocument& document, const Period& period, bool intoPrintSet)
{
  const int64_t max = document.kaisya().maxOutputAmountValue();
  document.setSortedShiwakeArray();
  const std::vector<KamokuPtr>& accounts = document.codeSortedKamokuArray();
  const size_t n = accounts.size();
  const AccountIndex indexOfCode(accounts);
  std::vector<char> isKarikata(n);
  for (size_t i = 0; i < n; ++i) isKarikata[i] = accounts[i]->isKarikataKamoku();

  // Opening balances. With divisions in use every division column starts at its
  // own opening balance; a division that was made inactive keeps its balances in
  // the company column, so the company's books still balance. Without divisions
  // the company's opening balance starts the column of entries without a division.
  Columns columns(n);
  const bool usesJigyoubu = document.numberOfActiveJigyoubu() > 0;
  if (usesJigyoubu) {
    for (const JigyoubuPtr& j : document.jigyoubuArray())
      if (j->isActive()) columns.column(j->code());
  }
  for (size_t i = 0; i < n; ++i) {
    if (usesJigyoubu) {
      for (const StartBalance& b : accounts[i]->startBalanceArray().entries()) {
        if (b.jigyoubuCode == Jigyoubu::kAllJigyoubuCode) continue;
        Sums& s = columns.column(b.jigyoubuCode)[i];
        s.kaishiZandaka = s.syuuryouZandaka = b.balance;
      }
    } else {
      const int64_t b = accounts[i]->startBalanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode);
      Sums& s = columns.column(-1)[i];
      s.kaishiZandaka = s.syuuryouZandaka = b;
    }
  }

  // The journal in date order, up to the first entry after the period.
  const bool startIsNull = period.startDate.isNull();
  const bool endIsNull = period.endDate.isNull();
  const int64_t startKey = dateKey(period.startDate);
  const int64_t endKey = dateKey(period.endDate);
  auto post = [&](int32_t kamokuCode, int32_t jigyoubuCode, int64_t amount, bool karikataSide, bool beforeStart) {
    const int32_t i = indexOfCode(kamokuCode);
    if (i < 0) return;  // no such account (the sundry code 999, a deleted account)
    Sums& s = columns.column(jigyoubuCode)[static_cast<size_t>(i)];
    int64_t balance = s.syuuryouZandaka;
    if (capped::inRange(balance, max))
      balance = (isKarikata[static_cast<size_t>(i)] != 0) == karikataSide ? capped::add(balance, amount)
                                                                          : capped::sub(balance, amount);
    s.syuuryouZandaka = balance;
    if (beforeStart) {
      s.kaishiZandaka = balance;
      return;
    }
    int64_t& total = karikataSide ? s.karikataGoukei : s.kashikataGoukei;
    if (total < max) total = capped::add(total, amount);
  };
  for (const ShiwakePtr& shiwake : document.sortedShiwakeArray()) {
    const Shiwake& s = *shiwake;
    if (s.denpyouNo() <= 0) continue;  // unregistered cash-book rows and regular-type vouchers
    const Date date = s.date();
    // A date-less entry compares equal to every date, as the document's date order does.
    const bool isNull = date.isNull();
    const int64_t key = dateKey(date);
    if (!isNull && !endIsNull && key > endKey) break;
    const bool beforeStart = !isNull && !startIsNull && key < startKey;
    post(s.karikataKamokuCode(), s.karikataJigyoubuCode(), s.karikataKingaku(), true, beforeStart);
    post(s.kashikataKamokuCode(), s.kashikataJigyoubuCode(), s.kashikataKingaku(), false, beforeStart);
  }

  // Write the columns back, with the company column as the sum of all of them.
  for (size_t i = 0; i < n; ++i) {
    Kamoku& k = *accounts[i];
    Kamoku::ZandakaShisanSums& set = intoPrintSet ? k.printZandakaShisan() : k.zandakaShisan();
    set.removeAllObjects();
    Sums company;
    bool balanceOpen = true, kaishiOpen = true, kariOpen = true, kashiOpen = true;
    for (size_t c = 0; c < columns.count(); ++c) {
      const int32_t code = columns.codeAt(c);
      const Sums& s = columns.columnAt(c)[i];
      if (code != Jigyoubu::kAllJigyoubuCode) {
        set.kaishiZandaka.setBalance(s.kaishiZandaka, code);
        set.karikataGoukei.setBalance(s.karikataGoukei, code);
        set.kashikataGoukei.setBalance(s.kashikataGoukei, code);
        set.syuuryouZandaka.setBalance(s.syuuryouZandaka, code);
      }
      // A company sum stops at the first partial sum beyond the limit.
      if (kaishiOpen) {
        company.kaishiZandaka = capped::add(company.kaishiZandaka, s.kaishiZandaka);
        kaishiOpen = capped::inRange(company.kaishiZandaka, max);
      }
      if (balanceOpen) {
        company.syuuryouZandaka = capped::add(company.syuuryouZandaka, s.syuuryouZandaka);
        balanceOpen = capped::inRange(company.syuuryouZandaka, max);
      }
      if (kariOpen) {
        company.karikataGoukei = capped::add(company.karikataGoukei, s.karikataGoukei);
        kariOpen = company.karikataGoukei <= max;
      }
      if (kashiOpen) {
        company.kashikataGoukei = capped::add(company.kashikataGoukei, s.kashikataGoukei);
        kashiOpen = company.kashikataGoukei <= max;
      }
    }
    set.kaishiZandaka.setBalance(company.kaishiZandaka, Jigyoubu::kAllJigyoubuCode);
    set.karikataGoukei.setBalance(company.karikataGoukei, Jigyoubu::kAllJigyoubuCode);
    set.kashikataGoukei.setBalance(company.kashikataGoukei, Jigyoubu::kAllJigyoubuCode);
    set.syuuryouZandaka.setBalance(company.syuuryouZandaka, Jigyoubu::kAllJigyoubuCode);
  }
}

}  // namespace kivo

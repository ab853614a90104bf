#include "statements/KaisyahouHoukokusyoBalances.h"

#include <algorithm>
#include <array>
#include <climits>

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Kamoku.h"
#include "statements/KaisyahouShiwakeOrder.h"

namespace kivo {
namespace {

// A sum beyond the limit is held one beyond it.
int64_t pinned(int64_t v, int64_t max) { return v > max ? max + 1 : v < -max ? -(max + 1) : v; }

// Adds to a sum while it lies within the limit; an addition that leaves it pins it.
void addCapped(int64_t& sum, int64_t amount, bool add, int64_t max)
{
  if (!capped::inRange(sum, max)) return;
  sum = pinned(add ? capped::add(sum, amount) : capped::sub(sum, amount), max);
}

// Division columns over the accounts, created in the order their codes are first met.
class Columns {
public:
  explicit Columns(size_t accountCount) : accountCount_(accountCount) { slotOfSmallCode_.fill(-1); }

  std::vector<KaisyahouHoukokusyoBalances::Amounts>& column(int32_t code)
  {
    if (code >= -1 && code <= 99) {
      int32_t& s = slotOfSmallCode_[static_cast<size_t>(code + 1)];
      if (s < 0) s = add(code);
      return columns[static_cast<size_t>(s)];
    }
    for (size_t i = 0; i < codes.size(); ++i)
      if (codes[i] == code) return columns[i];
    return columns[static_cast<size_t>(add(code))];
  }

  std::vector<int32_t> codes;
  std::vector<std::vector<KaisyahouHoukokusyoBalances::Amounts>> columns;

private:
  int32_t add(int32_t code)
  {
    codes.push_back(code);
    columns.emplace_back(accountCount_);
    return static_cast<int32_t>(codes.size() - 1);
  }

  size_t accountCount_;
  std::array<int32_t, 101> slotOfSmallCode_;
};

}  // namespace

KaisyahouHoukokusyoBalances KaisyahouHoukokusyoBalances::postShiwakeArray(const MyDocument& document,
                                                                          const KaisyahouHoukokusyoPeriod& period)
{
  return postShiwakeArray(document, period, KaisyahouShiwakeOrder(document));
}

KaisyahouHoukokusyoBalances KaisyahouHoukokusyoBalances::postShiwakeArray(const MyDocument& document,
                                                                          const KaisyahouHoukokusyoPeriod& period,
                                                                          const KaisyahouShiwakeOrder& order)
{
  KaisyahouHoukokusyoBalances out;
  out.period_ = period;
  const int64_t max = document.kaisya().maxOutputAmountValue();
  const std::vector<KamokuPtr>& accounts = document.codeSortedKamokuArray();
  const size_t n = accounts.size();
  for (size_t i = 0; i < n; ++i) out.indexOfKamoku_.emplace(accounts[i].get(), i);
  std::vector<char> isKarikata(n);
  for (size_t i = 0; i < n; ++i) isKarikata[i] = accounts[i]->isKarikataKamoku();

  // Opening balances: each division column at its own; without divisions the
  // company's opening balance starts the column of entries without a division.
  Columns columns(n);
  const bool usesJigyoubu = document.numberOfActiveJigyoubu() > 0;
  if (usesJigyoubu) {
    for (const JigyoubuPtr& j : document.jigyoubuArray())
      if (j->isActive()) columns.column(j->code());
  }
  auto open = [&](int32_t code, size_t i, int64_t b) {
    Amounts& a = columns.column(code)[i];
    a.kaishiZandaka = a.syuuryouZandaka = pinned(b, max);
    if (period.doAddStartBalanceToHoukokusyo) a.taisyakuBalance = a.kaishiZandaka;
  };
  for (size_t i = 0; i < n; ++i) {
    if (usesJigyoubu) {
      for (const StartBalance& b : accounts[i]->startBalanceArray().entries())
        if (b.jigyoubuCode != Jigyoubu::kAllJigyoubuCode) open(b.jigyoubuCode, i, b.balance);
    } else {
      open(-1, i, accounts[i]->startBalanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode));
    }
  }

  // The journal in date order, up to the first entry after the period.
  auto post = [&](int32_t kamokuCode, int32_t jigyoubuCode, int64_t amount, bool karikataSide, bool beforeStart) {
    const int32_t i = order.indexOfKamokuCode(kamokuCode);
    if (i < 0) return;  // the sundry code 999, a deleted account
    Amounts& a = columns.column(jigyoubuCode)[static_cast<size_t>(i)];
    const bool add = (isKarikata[static_cast<size_t>(i)] != 0) == karikataSide;
    addCapped(a.syuuryouZandaka, amount, add, max);
    if (beforeStart)
      a.kaishiZandaka = a.syuuryouZandaka;
    else
      addCapped(a.taisyakuBalance, amount, add, max);
  };
  for (const Shiwake* s : order.sortedShiwake()) {
    if (Journal::compareDate(s->date(), period.endDate) > 0) break;
    const bool beforeStart = Journal::compareDate(s->date(), period.startDate) < 0;
    post(s->karikataKamokuCode(), s->karikataJigyoubuCode(), s->karikataKingaku(), true, beforeStart);
    post(s->kashikataKamokuCode(), s->kashikataJigyoubuCode(), s->kashikataKingaku(), false, beforeStart);
  }

  // The company column: the sum of every column (entries booked under 99 itself
  // included), pinned once it leaves the limit.
  std::vector<Amounts> company(n);
  for (size_t c = 0; c < columns.codes.size(); ++c) {
    for (size_t i = 0; i < n; ++i) {
      const Amounts& a = columns.columns[c][i];
      addCapped(company[i].kaishiZandaka, a.kaishiZandaka, true, max);
      addCapped(company[i].syuuryouZandaka, a.syuuryouZandaka, true, max);
      addCapped(company[i].taisyakuBalance, a.taisyakuBalance, true, max);
    }
  }
  columns.column(Jigyoubu::kAllJigyoubuCode) = std::move(company);
  out.jigyoubuCodes_ = std::move(columns.codes);
  out.columns_ = std::move(columns.columns);
  return out;
}

KaisyahouHoukokusyoBalances::Amounts KaisyahouHoukokusyoBalances::amountsOf(const Kamoku& kamoku,
                                                                            int32_t jigyoubuCode) const
{
  const auto it = indexOfKamoku_.find(&kamoku);
  if (it == indexOfKamoku_.end()) return {};
  for (size_t c = 0; c < jigyoubuCodes_.size(); ++c)
    if (jigyoubuCodes_[c] == jigyoubuCode) return columns_[c][it->second];
  return {};
}

}  // namespace kivo

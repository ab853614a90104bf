#include "trial/SuiiShisanMonthlySums.h"

#include <algorithm>
#include <climits>

#include "document/MyDocument.h"
#include "model/Kaisya.h"
#include "model/Kamoku.h"
#include "trial/CappedAmount.h"

namespace kivo {
namespace {

// Sort keys of the one date order: the closing-adjustment month after every day.
int64_t dateKey(Date d) { return d == Date::kessanSeiridukiDate() ? INT64_MAX : static_cast<int64_t>(d.serial()); }

// The first account of each code, as the trial balance finds them.
class AccountIndex {
public:
  explicit AccountIndex(const std::vector<KamokuPtr>& accounts)
  {
    for (size_t i = 0; i < accounts.size(); ++i) {
      const int32_t code = accounts[i]->code();
      if (code >= 0 && code < kMaxDenseCode) {
        if (static_cast<size_t>(code) >= table_.size()) table_.resize(static_cast<size_t>(code) + 1, -1);
        int32_t& slot = table_[static_cast<size_t>(code)];
        if (slot < 0) slot = static_cast<int32_t>(i);
      } else {
        other_.try_emplace(code, static_cast<int32_t>(i));
      }
    }
  }
  int32_t operator()(int32_t code) const
  {
    if (code >= 0 && static_cast<size_t>(code) < table_.size()) return table_[static_cast<size_t>(code)];
    const auto it = other_.find(code);
    return it == other_.end() ? -1 : it->second;
  }

private:
  static constexpr int32_t kMaxDenseCode = 1 << 16;
  std::vector<int32_t> table_;
  std::unordered_map<int32_t, int32_t> other_;
};

}  // namespace

SuiiShisanMonthlySums SuiiShisanMonthlySums::postShiwakeArray(const MyDocument& document)
{
  SuiiShisanMonthlySums r;
  const Kaisya& kaisya = document.kaisya();
  const int64_t max = kaisya.maxOutputAmountValue();
  const std::vector<Month>& months = kaisya.monthArray();
  const int32_t n = static_cast<int32_t>(months.size());
  r.numberOfMonth_ = n;
  const size_t width = r.cellSize();
  r.zeros_.assign(width, 0);

  const std::vector<KamokuPtr>& accounts = document.codeSortedKamokuArray();
  const size_t count = accounts.size();
  r.accountCount_ = count;
  r.indexOfKamoku_.reserve(count);
  for (size_t i = 0; i < count; ++i) r.indexOfKamoku_.emplace(accounts[i].get(), i);
  const AccountIndex indexOfCode(accounts);
  std::vector<char> isKarikata(count);
  for (size_t i = 0; i < count; ++i) isKarikata[i] = accounts[i]->isKarikataKamoku();

  // Columns in the order their division codes are first met; the running balance
  // of every column and account beside the figures.
  std::vector<int32_t> codes;
  std::vector<int64_t> running;
  auto column = [&](int32_t code) -> size_t {
    int32_t* slot = nullptr;
    if (code >= -1 && code <= 99) {
      slot = &r.columnOfCode_[static_cast<size_t>(code + 1)];
    } else {
      for (auto& [c, s] : r.otherColumns_)
        if (c == code) slot = &s;
      if (!slot) {
        r.otherColumns_.emplace_back(code, -1);
        slot = &r.otherColumns_.back().second;
      }
    }
    if (*slot < 0) {
      *slot = static_cast<int32_t>(codes.size());
      codes.push_back(code);
      r.figures_.resize(r.figures_.size() + count * width, 0);
      running.resize(running.size() + count, 0);
    }
    return static_cast<size_t>(*slot);
  };
  auto cellAt = [&](size_t c, size_t a) { return r.figures_.data() + (c * count + a) * width; };

  // Opening balances, as the trial balance loads them.
  const bool usesJigyoubu = document.numberOfActiveJigyoubu() > 0;
  if (usesJigyoubu) {
    for (const JigyoubuPtr& j : document.jigyoubuArray())
      if (j->isActive()) column(j->code());
  }
  for (size_t a = 0; a < count; ++a) {
    auto load = [&](int32_t code, int64_t balance) {
      const size_t c = column(code);
      cellAt(c, a)[0] = balance;
      running[c * count + a] = balance;
    };
    if (usesJigyoubu) {
      for (const StartBalance& b : accounts[a]->startBalanceArray().entries())
        if (b.jigyoubuCode != Jigyoubu::kAllJigyoubuCode) load(b.jigyoubuCode, b.balance);
    } else {
      load(-1, accounts[a]->startBalanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode));
    }
  }

  // Month-end balances are the running balances when a month closes.
  int32_t closedThrough = -1;
  auto closeMonthsThrough = [&](int32_t last) {
    for (int32_t m = closedThrough + 1; m <= last; ++m)
      for (size_t c = 0; c < codes.size(); ++c)
        for (size_t a = 0; a < count; ++a)
          cellAt(c, a)[2 + static_cast<size_t>(n) + static_cast<size_t>(m)] = running[c * count + a];
    closedThrough = std::max(closedThrough, last);
  };

  const int64_t termStartKey = n > 0 ? dateKey(months.front().startDate()) : INT64_MAX;
  std::vector<int64_t> startKeys(static_cast<size_t>(n)), endKeys(static_cast<size_t>(n));
  for (int32_t m = 0; m < n; ++m) {
    startKeys[static_cast<size_t>(m)] = dateKey(months[static_cast<size_t>(m)].startDate());
    endKeys[static_cast<size_t>(m)] = dateKey(months[static_cast<size_t>(m)].endDate());
  }

  int32_t cursor = 0;
  auto post = [&](int32_t kamokuCode, int32_t jigyoubuCode, int64_t amount, bool karikataSide, int32_t monthIndex) {
    const int32_t a = indexOfCode(kamokuCode);
    if (a < 0) return;  // the sundry code 999, a deleted account
    const size_t c = column(jigyoubuCode);
    const bool grows = (isKarikata[static_cast<size_t>(a)] != 0) == karikataSide;
    auto apply = [&](int64_t& v) {
      if (capped::inRange(v, max)) v = grows ? capped::add(v, amount) : capped::sub(v, amount);
    };
    int64_t* cell = cellAt(c, static_cast<size_t>(a));
    apply(running[c * count + static_cast<size_t>(a)]);
    if (monthIndex < 0)
      cell[0] = running[c * count + static_cast<size_t>(a)];
    else
      apply(cell[1 + static_cast<size_t>(monthIndex)]);
  };
  for (const ShiwakePtr& shiwake : document.sortedShiwakeArray()) {
    const Shiwake& s = *shiwake;
    if (s.denpyouNo() <= 0) continue;
    if (s.date().isNull()) continue;
    const int64_t key = dateKey(s.date());
    int32_t monthIndex;
    if (key < termStartKey) {
      monthIndex = -1;  // before the term: the opening balance
    } else {
      while (cursor < n && key > endKeys[static_cast<size_t>(cursor)]) {
        closeMonthsThrough(cursor);
        ++cursor;
      }
      if (cursor < n)
        monthIndex = key >= startKeys[static_cast<size_t>(cursor)] ? cursor : -2;
      else
        monthIndex = key == INT64_MAX ? n : -2;
      if (monthIndex == -2) continue;  // in no month of the term
    }
    post(s.karikataKamokuCode(), s.karikataJigyoubuCode(), s.karikataKingaku(), true, monthIndex);
    post(s.kashikataKamokuCode(), s.kashikataJigyoubuCode(), s.kashikataKingaku(), false, monthIndex);
  }
  closeMonthsThrough(n);

  // The company column: every other column summed, each sum stopping at the first
  // partial sum beyond the limit.
  const size_t columnCount = codes.size();
  const size_t company = column(Jigyoubu::kAllJigyoubuCode);
  std::vector<int64_t> sum(width);
  std::vector<char> open(width);
  for (size_t a = 0; a < count; ++a) {
    std::fill(sum.begin(), sum.end(), 0);
    std::fill(open.begin(), open.end(), 1);
    for (size_t c = 0; c < columnCount; ++c) {
      const int64_t* cell = cellAt(c, a);
      for (size_t k = 0; k < width; ++k) {
        if (!open[k]) continue;
        sum[k] = capped::add(sum[k], cell[k]);
        open[k] = capped::inRange(sum[k], max);
      }
    }
    std::copy(sum.begin(), sum.end(), cellAt(company, a));
  }
  return r;
}

std::span<const int64_t> SuiiShisanMonthlySums::cell(const Kamoku& kamoku, int32_t jigyoubuCode) const
{
  const auto it = indexOfKamoku_.find(&kamoku);
  int32_t c = -1;
  if (jigyoubuCode >= -1 && jigyoubuCode <= 99) {
    c = columnOfCode_[static_cast<size_t>(jigyoubuCode + 1)];
  } else {
    for (const auto& [code, s] : otherColumns_)
      if (code == jigyoubuCode) c = s;
  }
  if (it == indexOfKamoku_.end() || c < 0) return zeros_;
  return {figures_.data() + (static_cast<size_t>(c) * accountCount_ + it->second) * cellSize(), cellSize()};
}

bool SuiiShisanMonthlySums::hasTaisyakuBalance(const Kamoku& kamoku, int32_t jigyoubuCode) const
{
  const std::span<const int64_t> c = cell(kamoku, jigyoubuCode);
  for (size_t k = 1; k <= static_cast<size_t>(numberOfMonth_) + 1; ++k)
    if (c[k] != 0) return true;
  return false;
}

}  // namespace kivo

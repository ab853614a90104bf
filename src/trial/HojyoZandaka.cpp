#include "trial/HojyoZandaka.h"

#include <algorithm>
#include <climits>

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Jigyoubu.h"
#include "model/Kamoku.h"

namespace kivo {
namespace {

struct Sums {
  int64_t kaishiZandaka = 0;
  int64_t karikataGoukei = 0;
  int64_t kashikataGoukei = 0;
  int64_t syuuryouZandaka = 0;
};

// One list while the journal is walked: a row of sums per active sub-account, and
// one more, last, for what no active sub-account holds.
struct List {
  HojyoZandaka::KamokuCodes codes;
  KamokuPtr kamoku;
  std::vector<HojyoKamokuPtr> subs;
  std::vector<Sums> sums;
  bool nashiHasEntry = false;

  size_t nashi() const { return subs.size(); }
  size_t rowOfHojyoKamokuCode(int32_t code) const
  {
    for (size_t i = 0; i < subs.size(); ++i)
      if (subs[i]->code() == code) return i;
    return nashi();
  }
};

// Sort keys of the one date order: the closing-adjustment month after every day.
int64_t dateKey(Date d) { return d == Date::kessanSeiridukiDate() ? INT64_MAX : static_cast<int64_t>(d.serial()); }

}  // namespace

int64_t HojyoZandaka::startBalanceOfJigyoubuCode(const StartBalanceList& balances, int32_t jigyoubuCode,
                                                 bool usesJigyoubu)
{
  if (!usesJigyoubu)
    return jigyoubuCode == Jigyoubu::kAllJigyoubuCode || jigyoubuCode == -1
               ? balances.balanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode)
               : 0;
  if (jigyoubuCode != Jigyoubu::kAllJigyoubuCode) return balances.balanceOfJigyoubuCode(jigyoubuCode);
  int64_t sum = 0;
  for (const StartBalance& b : balances.entries())
    if (b.jigyoubuCode != Jigyoubu::kAllJigyoubuCode) sum = capped::add(sum, b.balance);
  return sum;
}

std::optional<std::vector<Shisan>> HojyoZandaka::hojyoZandakaArray(const MyDocument& document,
                                                                   const std::vector<KamokuCodes>& forKamokuCodes,
                                                                   int32_t periodFrom, int32_t periodTo,
                                                                   const Progress& progress)
{
  const Kaisya& kaisya = document.kaisya();
  const int64_t max = kaisya.maxOutputAmountValue();
  const bool usesJigyoubu = document.numberOfActiveJigyoubu() > 0;

  // The lists, and for every account code the lists of that account.
  std::vector<List> lists;
  lists.reserve(forKamokuCodes.size());
  std::vector<std::vector<size_t>> listsOfKamokuCode;
  for (const KamokuCodes& codes : forKamokuCodes) {
    List l;
    l.codes = codes;
    // The exact code, inactive accounts included: an account taken out of use still
    // holds its entries.
    // Account codes have at most three digits (the reader refuses any other), so the
    // table of lists by code never grows past a thousand slots.
    l.kamoku = codes.kamokuCode >= 0 && codes.kamokuCode <= Kamoku::kMaxCode ? document.kamokuOfCode(codes.kamokuCode)
                                                                             : nullptr;
    if (l.kamoku) {
      for (const HojyoKamokuPtr& h : l.kamoku->hojyoKamokuArray())
        if (h->isActive()) l.subs.push_back(h);
      l.sums.resize(l.subs.size() + 1);
      int64_t ofSubs = 0;
      for (size_t i = 0; i < l.subs.size(); ++i) {
        const int64_t b = startBalanceOfJigyoubuCode(l.subs[i]->startBalanceArray(), codes.jigyoubuCode, usesJigyoubu);
        l.sums[i].kaishiZandaka = l.sums[i].syuuryouZandaka = b;
        ofSubs = capped::add(ofSubs, b);
      }
      // What the active sub-accounts do not make up of the account's own balance.
      const int64_t own = startBalanceOfJigyoubuCode(l.kamoku->startBalanceArray(), codes.jigyoubuCode, usesJigyoubu);
      l.sums[l.nashi()].kaishiZandaka = l.sums[l.nashi()].syuuryouZandaka = capped::sub(own, ofSubs);
      const size_t code = static_cast<size_t>(codes.kamokuCode);
      if (code >= listsOfKamokuCode.size()) listsOfKamokuCode.resize(code + 1);
      listsOfKamokuCode[code].push_back(lists.size());
    }
    lists.push_back(std::move(l));
  }

  // The period as dates; a month index beyond the term is the closing-adjustment month.
  const std::vector<Month>& months = kaisya.monthArray();
  const int32_t monthCount = static_cast<int32_t>(months.size());
  periodFrom = std::clamp(periodFrom, 0, monthCount);
  periodTo = std::clamp(periodTo, 0, monthCount);
  const Date kessan = Date::kessanSeiridukiDate();
  const Date start = periodFrom == monthCount ? kessan : months[static_cast<size_t>(periodFrom)].startDate();
  const Date end = periodTo == monthCount ? kessan : months[static_cast<size_t>(periodTo)].endDate();
  const bool startIsNull = start.isNull();
  const bool endIsNull = end.isNull();
  const int64_t startKey = dateKey(start);
  const int64_t endKey = dateKey(end);

  const auto post = [&](int32_t kamokuCode, int32_t hojyoKamokuCode, int32_t jigyoubuCode, int64_t amount,
                        bool karikataSide, bool beforeStart) {
    if (kamokuCode < 0 || static_cast<size_t>(kamokuCode) >= listsOfKamokuCode.size()) return;
    for (size_t li : listsOfKamokuCode[static_cast<size_t>(kamokuCode)]) {
      List& l = lists[li];
      if (l.codes.jigyoubuCode != Jigyoubu::kAllJigyoubuCode && l.codes.jigyoubuCode != jigyoubuCode) continue;
      const size_t row = l.rowOfHojyoKamokuCode(hojyoKamokuCode);
      if (row == l.nashi()) l.nashiHasEntry = true;
      Sums& s = l.sums[row];
      int64_t balance = s.syuuryouZandaka;
      if (capped::inRange(balance, max))
        balance =
            l.kamoku->isKarikataKamoku() == karikataSide ? capped::add(balance, amount) : capped::sub(balance, amount);
      s.syuuryouZandaka = balance;
      if (beforeStart) {
        s.kaishiZandaka = balance;
        continue;
      }
      int64_t& total = karikataSide ? s.karikataGoukei : s.kashikataGoukei;
      total = capped::addToSum(total, amount, max);
    }
  };
  if (!listsOfKamokuCode.empty()) {
    for (const ShiwakePtr& shiwake : document.journal().sortedByDate()) {
      const Shiwake& s = *shiwake;
      if (s.denpyouNo() <= 0) continue;  // unregistered cash-book rows and regular-type vouchers
      // A date-less entry compares equal to every date, as the document's date order does.
      const bool isNull = s.date().isNull();
      const int64_t key = dateKey(s.date());
      if (!isNull && !endIsNull && key > endKey) break;
      const bool beforeStart = !isNull && !startIsNull && key < startKey;
      post(s.karikataKamokuCode(), s.karikataHojyoKamokuCode(), s.karikataJigyoubuCode(), s.karikataKingaku(), true,
           beforeStart);
      post(s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode(), s.kashikataJigyoubuCode(), s.kashikataKingaku(),
           false, beforeStart);
    }
  }

  // The rows, list after list.
  std::vector<Shisan> rows;
  const int total = static_cast<int>(lists.size());
  for (int p = 0; p < total; ++p) {
    const List& l = lists[static_cast<size_t>(p)];
    if (progress && !progress(p, total, l.kamoku ? l.kamoku->name() : std::string())) return std::nullopt;
    if (!l.kamoku) continue;
    const auto makeRow = [&](int32_t hojyoKamokuCode, const std::string& title, const Sums& s) {
      Shisan r;
      r.setJigyoubuCode(l.codes.jigyoubuCode);
      r.setKamokuCode(l.codes.kamokuCode);
      r.setHojyoKamokuCode(hojyoKamokuCode);
      r.setTitle(title);
      r.setKaishiZandaka(s.kaishiZandaka);
      r.setKarikataGoukei(s.karikataGoukei);
      r.setKashikataGoukei(s.kashikataGoukei);
      r.setSyuuryouZandaka(s.syuuryouZandaka);
      return r;
    };
    const size_t first = rows.size();
    for (size_t i = 0; i < l.subs.size(); ++i) rows.push_back(makeRow(l.subs[i]->code(), l.subs[i]->name(), l.sums[i]));
    const Sums& nashi = l.sums[l.nashi()];
    if (l.nashiHasEntry || nashi.kaishiZandaka != 0) rows.push_back(makeRow(kNashiRowCode, kNashiTitle, nashi));

    // The total takes a further row only while its sum is within the limit, so a sum
    // that has left it stays beyond it.
    Sums goukei;
    for (size_t i = first; i < rows.size(); ++i) {
      const Shisan& r = rows[i];
      if (capped::inRange(goukei.kaishiZandaka, max))
        goukei.kaishiZandaka = capped::add(goukei.kaishiZandaka, r.kaishiZandaka());
      goukei.karikataGoukei = capped::addToSum(goukei.karikataGoukei, r.karikataGoukei(), max);
      goukei.kashikataGoukei = capped::addToSum(goukei.kashikataGoukei, r.kashikataGoukei(), max);
      if (capped::inRange(goukei.syuuryouZandaka, max))
        goukei.syuuryouZandaka = capped::add(goukei.syuuryouZandaka, r.syuuryouZandaka());
    }
    rows.push_back(makeRow(kGoukeiRowCode, kGoukeiTitle, goukei));

    // Shares of the account's closing balance.
    const int64_t whole = goukei.syuuryouZandaka;
    for (size_t i = first; i < rows.size(); ++i) {
      Shisan& r = rows[i];
      if (whole == 0) {
        r.setPercent(0.0);
        r.setIsValidPercent(false);
      } else if (i + 1 == rows.size()) {
        r.setPercent(100.0);
        r.setIsValidPercent(true);
      } else if (capped::inRange(r.syuuryouZandaka(), max) && capped::inRange(whole, max)) {
        // Adding 0.0 turns the -0.0 of a zero share of a negative total into 0.0.
        r.setPercent(kaisya.displayKingakuOfMemoryKingaku(r.syuuryouZandaka()) /
                         kaisya.displayKingakuOfMemoryKingaku(whole) * 100.0 +
                     0.0);
        r.setIsValidPercent(true);
      } else {
        r.setPercent(0.0);
        r.setIsValidPercent(false);
      }
    }
  }
  return rows;
}

}  // namespace kivo

#include "journal/Kanjyoumotocyou.h"

#include <algorithm>

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Jigyoubu.h"

namespace kivo {
namespace {

// One ledger's view of the entries: which sides are its own and how an amount on
// each side moves its balance.
struct Ledger {
  int32_t kamokuCode;
  int32_t hojyoKamokuCode;  // -1: the general ledger
  bool isKarikataKamoku;

  bool matchesKarikata(const Shiwake& s) const
  {
    return s.karikataKamokuCode() == kamokuCode &&
           (hojyoKamokuCode == -1 || s.karikataHojyoKamokuCode() == hojyoKamokuCode);
  }
  bool matchesKashikata(const Shiwake& s) const
  {
    return s.kashikataKamokuCode() == kamokuCode &&
           (hojyoKamokuCode == -1 || s.kashikataHojyoKamokuCode() == hojyoKamokuCode);
  }
  int64_t applyKarikata(int64_t balance, int64_t amount) const
  {
    return isKarikataKamoku ? capped::add(balance, amount) : capped::sub(balance, amount);
  }
  int64_t applyKashikata(int64_t balance, int64_t amount) const
  {
    return isKarikataKamoku ? capped::sub(balance, amount) : capped::add(balance, amount);
  }
};

Motocyou makeRow(const Ledger& ledger, int32_t index)
{
  Motocyou row;
  row.setMotocyouKamokuCode(ledger.kamokuCode);
  row.setMotocyouHojyoKamokuCode(ledger.hojyoKamokuCode);
  row.setIndexOfSortedShiwakeArray(index);
  return row;
}

}  // namespace

bool Kanjyoumotocyou::setKanjyoumotocyouArray(const MyDocument& document, std::vector<Motocyou>& rows,
                                              const std::vector<KamokuCodes>& kamokuCodes, int32_t periodFrom,
                                              int32_t periodTo, const Progress& progress)
{
  const Kaisya& kaisya = document.kaisya();
  const int64_t max = kaisya.maxOutputAmountValue();
  const std::vector<Month>& months = kaisya.monthArray();
  const int32_t monthCount = static_cast<int32_t>(months.size());
  const KamokuKubunPtr& root = document.rootKamokuKubun();
  rows.clear();

  periodFrom = std::clamp(periodFrom, 0, monthCount);
  periodTo = std::clamp(periodTo, 0, monthCount);
  const Date kessan = Date::kessanSeiridukiDate();
  const Date periodStart = periodFrom == monthCount ? kessan : months[periodFrom].startDate();

  const std::vector<ShiwakePtr>& sorted = document.journal().sortedByDate();
  const size_t n = sorted.size();

  // Balances and sums change only while within the output limit, so that a value
  // that has left it stays beyond it and reads as "#Precision!".
  auto within = [max](int64_t v) { return v >= -max && v <= max; };

  const int total = static_cast<int>(kamokuCodes.size());
  for (int p = 0; p < total; ++p) {
    const KamokuCodes& codes = kamokuCodes[p];
    // Accounts are looked up by their exact code, inactive ones included: an account
    // taken out of use still has its entries and its opening balance.
    const KamokuPtr kamoku = (codes.kamokuCode != -1 && root) ? root->kamokuOfCode(codes.kamokuCode) : nullptr;
    const HojyoKamokuPtr hojyo =
        (kamoku && codes.hojyoKamokuCode != -1) ? kamoku->hojyoKamokuOfCode(codes.hojyoKamokuCode) : nullptr;
    if (progress) {
      std::string name;
      if (kamoku) name = kamoku->name();
      if (kamoku && hojyo) name += " ／ " + hojyo->name();
      if (!progress(p, total, name)) return false;
    }
    if (codes.kamokuCode == -1) continue;

    // An account that no account has: opening balance 0, credit-natured.
    const Ledger ledger{codes.kamokuCode, codes.hojyoKamokuCode, kamoku && kamoku->isKarikataKamoku()};
    int64_t balance = 0;
    if (codes.hojyoKamokuCode == -1) {
      if (kamoku) balance = kamoku->startBalanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode);
    } else if (hojyo) {
      balance = hojyo->startBalanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode);
    }

    // Opening balance: every entry before the period. The month walks continue from
    // where this one stops, so each ledger is one pass over the journal.
    size_t pos = 0;
    for (; pos < n; ++pos) {
      const Shiwake& s = *sorted[pos];
      if (s.denpyouNo() <= 0) continue;
      if (Journal::compareDate(s.date(), periodStart) >= 0) break;
      if (!within(balance)) continue;
      if (ledger.matchesKarikata(s)) balance = ledger.applyKarikata(balance, s.karikataKingaku());
      if (ledger.matchesKashikata(s)) balance = ledger.applyKashikata(balance, s.kashikataKingaku());
    }
    Motocyou opening = makeRow(ledger, Motocyou::kBalanceRow);
    opening.setTitle(kKaishiZandakaTitle);
    opening.setZandaka(balance);
    rows.push_back(std::move(opening));

    int64_t karikataTotal = 0;
    int64_t kashikataTotal = 0;
    for (int32_t m = periodFrom; m <= periodTo; ++m) {
      const bool isKessan = m == monthCount;
      const Date monthStart = isKessan ? kessan : months[m].startDate();
      const Date monthEnd = isKessan ? kessan : months[m].endDate();
      int64_t karikataSum = 0;
      int64_t kashikataSum = 0;
      bool hasEntry = false;
      for (; pos < n; ++pos) {
        const Shiwake& s = *sorted[pos];
        if (s.denpyouNo() <= 0) continue;
        if (Journal::compareDate(s.date(), monthStart) < 0 || Journal::compareDate(s.date(), monthEnd) > 0) break;
        const bool karikata = ledger.matchesKarikata(s);
        const bool kashikata = ledger.matchesKashikata(s);
        if (!karikata && !kashikata) continue;
        if (karikata) {
          if (within(balance)) balance = ledger.applyKarikata(balance, s.karikataKingaku());
          if (within(karikataSum)) karikataSum = capped::add(karikataSum, s.karikataKingaku());
        }
        if (kashikata) {
          if (within(balance)) balance = ledger.applyKashikata(balance, s.kashikataKingaku());
          if (within(kashikataSum)) kashikataSum = capped::add(kashikataSum, s.kashikataKingaku());
        }
        Motocyou row = makeRow(ledger, static_cast<int32_t>(pos));
        row.setZandaka(balance);
        rows.push_back(std::move(row));
        hasEntry = true;
      }
      if (!hasEntry) continue;
      if (within(karikataTotal)) karikataTotal = capped::add(karikataTotal, karikataSum);
      if (within(kashikataTotal)) kashikataTotal = capped::add(kashikataTotal, kashikataSum);
      Motocyou monthTotal = makeRow(ledger, Motocyou::kTotalRow);
      monthTotal.setTitle("　" + (isKessan ? std::string(kKessanSeiridukiName) : months[m].name()) + "合計");
      monthTotal.setKarikataKingaku(karikataSum);
      monthTotal.setKashikataKingaku(kashikataSum);
      rows.push_back(std::move(monthTotal));
    }
    Motocyou goukei = makeRow(ledger, Motocyou::kTotalRow);
    goukei.setTitle(kGoukeiTitle);
    goukei.setKarikataKingaku(karikataTotal);
    goukei.setKashikataKingaku(kashikataTotal);
    rows.push_back(std::move(goukei));
  }
  return true;
}

std::vector<Motocyou> Kanjyoumotocyou::motocyouArray(const MyDocument& document, int32_t kamokuCode,
                                                     int32_t hojyoKamokuCode, int32_t periodFrom, int32_t periodTo)
{
  std::vector<Motocyou> rows;
  setKanjyoumotocyouArray(document, rows, {{kamokuCode, hojyoKamokuCode}}, periodFrom, periodTo);
  return rows;
}

}  // namespace kivo

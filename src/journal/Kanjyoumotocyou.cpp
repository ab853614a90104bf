#include "journal/Kanjyoumotocyou.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "document/MyDocument.h"
#include "model/CappedAmount.h"
#include "model/Jigyoubu.h"
#include "model/Kamoku.h"

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

// The state of one ledger while the journal is walked.
struct LedgerBuild {
  Kanjyoumotocyou::KamokuCodes codes;
  KamokuPtr kamoku;
  HojyoKamokuPtr hojyo;
  Ledger ledger{-1, -1, false};
  int64_t balance = 0;
  int64_t karikataSum = 0;
  int64_t kashikataSum = 0;
  int64_t karikataTotal = 0;
  int64_t kashikataTotal = 0;
  int monthOfLastEntry = -1;  // 0 while the current month has an entry of the ledger
  std::vector<Motocyou> rows;
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

  // Balances change only while within the output limit, so that a balance that has
  // left it stays beyond it and reads as "#Precision!"; the sums stop above the limit
  // (capped::addToSum).
  auto within = [max](int64_t v) { return capped::inRange(v, max); };

  // Every ledger is built in the same pass over the journal: each keeps its own
  // balance, sums and rows, and an entry goes to the ledgers of its two accounts.
  std::vector<LedgerBuild> builds;
  builds.reserve(kamokuCodes.size());
  std::vector<std::vector<int>> buildsOfKamoku;
  for (const KamokuCodes& codes : kamokuCodes) {
    LedgerBuild b;
    b.codes = codes;
    if (codes.kamokuCode != -1) {
      // Accounts are looked up by their exact code, inactive ones included: an account
      // taken out of use still has its entries and its opening balance.
      b.kamoku = root ? root->kamokuOfCode(codes.kamokuCode) : nullptr;
      b.hojyo =
          (b.kamoku && codes.hojyoKamokuCode != -1) ? b.kamoku->hojyoKamokuOfCode(codes.hojyoKamokuCode) : nullptr;
      // An account that no account has: opening balance 0, credit-natured.
      b.ledger = Ledger{codes.kamokuCode, codes.hojyoKamokuCode, b.kamoku && b.kamoku->isKarikataKamoku()};
      if (codes.hojyoKamokuCode == -1) {
        if (b.kamoku) b.balance = b.kamoku->startBalanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode);
      } else if (b.hojyo) {
        b.balance = b.hojyo->startBalanceOfJigyoubuCode(Jigyoubu::kAllJigyoubuCode);
      }
      // Account codes have at most three digits (the reader refuses any other), so
      // this table never grows past a thousand slots.
      if (codes.kamokuCode >= 0 && codes.kamokuCode <= Kamoku::kMaxCode) {
        if (static_cast<size_t>(codes.kamokuCode) >= buildsOfKamoku.size()) buildsOfKamoku.resize(codes.kamokuCode + 1);
        buildsOfKamoku[codes.kamokuCode].push_back(static_cast<int>(builds.size()));
      }
    }
    builds.push_back(std::move(b));
  }
  const auto ledgersOf = [&buildsOfKamoku](int32_t kamokuCode) -> const std::vector<int>* {
    if (kamokuCode < 0 || static_cast<size_t>(kamokuCode) >= buildsOfKamoku.size()) return nullptr;
    const std::vector<int>& v = buildsOfKamoku[kamokuCode];
    return v.empty() ? nullptr : &v;
  };

  // Opening balances: every entry before the period.
  size_t pos = 0;
  const size_t n = sorted.size();
  for (; pos < n; ++pos) {
    const Shiwake& s = *sorted[pos];
    if (s.denpyouNo() <= 0) continue;
    if (Journal::compareDate(s.date(), periodStart) >= 0) break;
    const auto open = [&](const std::vector<int>* ledgers, bool sameKamoku) {
      if (!ledgers) return;
      for (int i : *ledgers) {
        LedgerBuild& b = builds[i];
        if (!within(b.balance)) continue;
        if (b.ledger.matchesKarikata(s)) b.balance = b.ledger.applyKarikata(b.balance, s.karikataKingaku());
        if (sameKamoku && b.ledger.matchesKashikata(s))
          b.balance = b.ledger.applyKashikata(b.balance, s.kashikataKingaku());
      }
    };
    const bool same = s.karikataKamokuCode() == s.kashikataKamokuCode();
    open(ledgersOf(s.karikataKamokuCode()), same);
    if (!same) {
      // Only the credit side can match the ledgers of the credit account.
      const std::vector<int>* ledgers = ledgersOf(s.kashikataKamokuCode());
      if (ledgers)
        for (int i : *ledgers) {
          LedgerBuild& b = builds[i];
          if (within(b.balance) && b.ledger.matchesKashikata(s))
            b.balance = b.ledger.applyKashikata(b.balance, s.kashikataKingaku());
        }
    }
  }
  for (LedgerBuild& b : builds) {
    if (b.codes.kamokuCode == -1) continue;
    Motocyou opening = makeRow(b.ledger, Motocyou::kBalanceRow);
    opening.setTitle(kKaishiZandakaTitle);
    opening.setZandaka(b.balance);
    b.rows.push_back(std::move(opening));
  }

  // The months of the period; an entry outside the current month ends it and stays
  // for the next, so entries after the period are never touched.
  std::vector<int> touched;  // ledgers with entries in the current month
  const auto closeMonth = [&](int32_t m) {
    const bool isKessan = m == monthCount;
    const std::string title = "　" + (isKessan ? std::string(kKessanSeiridukiName) : months[m].name()) + "合計";
    for (int i : touched) {
      LedgerBuild& b = builds[i];
      b.karikataTotal = capped::addToSum(b.karikataTotal, b.karikataSum, max);
      b.kashikataTotal = capped::addToSum(b.kashikataTotal, b.kashikataSum, max);
      Motocyou monthTotal = makeRow(b.ledger, Motocyou::kTotalRow);
      monthTotal.setTitle(title);
      monthTotal.setKarikataKingaku(b.karikataSum);
      monthTotal.setKashikataKingaku(b.kashikataSum);
      b.rows.push_back(std::move(monthTotal));
      b.karikataSum = 0;
      b.kashikataSum = 0;
      b.monthOfLastEntry = -1;
    }
    touched.clear();
  };
  const auto post = [&](LedgerBuild& b, int bi, const Shiwake& s, int32_t index) {
    const bool karikata = b.ledger.matchesKarikata(s);
    const bool kashikata = b.ledger.matchesKashikata(s);
    if (!karikata && !kashikata) return;
    if (karikata) {
      if (within(b.balance)) b.balance = b.ledger.applyKarikata(b.balance, s.karikataKingaku());
      b.karikataSum = capped::addToSum(b.karikataSum, s.karikataKingaku(), max);
    }
    if (kashikata) {
      if (within(b.balance)) b.balance = b.ledger.applyKashikata(b.balance, s.kashikataKingaku());
      b.kashikataSum = capped::addToSum(b.kashikataSum, s.kashikataKingaku(), max);
    }
    Motocyou row = makeRow(b.ledger, index);
    row.setZandaka(b.balance);
    b.rows.push_back(std::move(row));
    if (b.monthOfLastEntry != 0) {
      b.monthOfLastEntry = 0;
      touched.push_back(bi);
    }
  };
  int32_t m = periodFrom;
  Date monthStart = m == monthCount ? kessan : months[m].startDate();
  Date monthEnd = m == monthCount ? kessan : months[m].endDate();
  for (; pos < n && m <= periodTo; ++pos) {
    const Shiwake& s = *sorted[pos];
    if (s.denpyouNo() <= 0) continue;
    while (m <= periodTo &&
           (Journal::compareDate(s.date(), monthStart) < 0 || Journal::compareDate(s.date(), monthEnd) > 0)) {
      closeMonth(m);
      if (++m > periodTo) break;
      monthStart = m == monthCount ? kessan : months[m].startDate();
      monthEnd = m == monthCount ? kessan : months[m].endDate();
    }
    if (m > periodTo) break;
    const int32_t index = static_cast<int32_t>(pos);
    if (const std::vector<int>* ledgers = ledgersOf(s.karikataKamokuCode()))
      for (int i : *ledgers) post(builds[i], i, s, index);
    if (s.kashikataKamokuCode() != s.karikataKamokuCode())
      if (const std::vector<int>* ledgers = ledgersOf(s.kashikataKamokuCode()))
        for (int i : *ledgers) post(builds[i], i, s, index);
  }
  if (m <= periodTo) closeMonth(m);

  // The ledgers one after the other, in the order asked for.
  size_t rowCount = 0;
  for (const LedgerBuild& b : builds) rowCount += b.rows.size() + 1;
  rows.reserve(rowCount);
  const int total = static_cast<int>(builds.size());
  for (int p = 0; p < total; ++p) {
    LedgerBuild& b = builds[p];
    if (progress) {
      std::string name;
      if (b.kamoku) name = b.kamoku->name();
      if (b.kamoku && b.hojyo) name += " ／ " + b.hojyo->name();
      if (!progress(p, total, name)) return false;
    }
    if (b.codes.kamokuCode == -1) continue;
    std::move(b.rows.begin(), b.rows.end(), std::back_inserter(rows));
    Motocyou goukei = makeRow(b.ledger, Motocyou::kTotalRow);
    goukei.setTitle(kGoukeiTitle);
    goukei.setKarikataKingaku(b.karikataTotal);
    goukei.setKashikataKingaku(b.kashikataTotal);
    rows.push_back(std::move(goukei));
  }
  return true;
}

void Kanjyoumotocyou::removeLedgersWithoutTorihiki(std::vector<Motocyou>& rows)
{
  std::vector<Motocyou> kept;
  kept.reserve(rows.size());
  size_t start = 0;
  while (start < rows.size()) {
    // A ledger runs from its opening row to the row before the next opening row.
    size_t end = start + 1;
    while (end < rows.size() && rows[end].indexOfSortedShiwakeArray() != Motocyou::kBalanceRow) ++end;
    bool hasEntry = rows[start].zandaka() != 0;
    for (size_t i = start; i < end && !hasEntry; ++i) hasEntry = rows[i].isShiwakeRow();
    if (hasEntry) std::move(rows.begin() + start, rows.begin() + end, std::back_inserter(kept));
    start = end;
  }
  rows = std::move(kept);
}

std::vector<Motocyou> Kanjyoumotocyou::motocyouArray(const MyDocument& document, int32_t kamokuCode,
                                                     int32_t hojyoKamokuCode, int32_t periodFrom, int32_t periodTo)
{
  std::vector<Motocyou> rows;
  setKanjyoumotocyouArray(document, rows, {{kamokuCode, hojyoKamokuCode}}, periodFrom, periodTo);
  return rows;
}

}  // namespace kivo

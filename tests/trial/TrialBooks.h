// Books on the real charts of accounts, built in code, for the trial-balance tests
// and benchmark: small fixtures entry by entry, and large generated journals.
#pragma once

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/MyDocument.h"
#include "model/KamokuKubun.h"
#include "trial/Shisan.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo::test {

enum class ChartKind { HoujinOlder, HoujinKaisyahou, Kojin };

inline std::unique_ptr<MyDocument> makeTrialBooks(ChartKind kind, bool seizou = false)
{
  auto doc = std::make_unique<MyDocument>();
  Kaisya& kaisya = doc->kaisya();
  kaisya.setName("試算株式会社");
  kaisya.setIsHoujin(kind != ChartKind::Kojin);
  kaisya.setIsSeizou(seizou);
  kaisya.setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
  doc->setRootKamokuKubun(KamokuKubun::rootKamokuKubunForKaisya(kaisya, kind == ChartKind::HoujinKaisyahou));
  return doc;
}

// Any account of that name, active or not.
inline KamokuPtr kamokuNamed(const MyDocument& doc, const std::string& name)
{
  for (const KamokuPtr& k : doc.codeSortedKamokuArray())
    if (k->name() == name) return k;
  throw std::runtime_error("no account named " + name);
}

// The row with the caption.
inline const Shisan& rowTitled(const std::vector<Shisan>& rows, const std::string& title)
{
  for (const Shisan& r : rows)
    if (r.title() == title) return r;
  throw std::runtime_error("no row " + title);
}

// The trial balance's profit on the row with the caption, from the first month to the
// month index (the last is the closing month).
inline int64_t trialBalanceProfit(MyDocument& doc, const std::string& title, int32_t jigyoubu, int32_t to)
{
  ZandakaShisanAssembly a(doc);
  a.setZandakaShisanArrayForJigyoubuCode(jigyoubu, 0, to, false);
  return rowTitled(a.sonekiKeisanShisanArray(), title).syuuryouZandaka();
}

// A sub-account appended to the account's list.
inline HojyoKamokuPtr addHojyoKamoku(Kamoku& k, int32_t code, const std::string& name, bool active = true)
{
  auto h = std::make_shared<HojyoKamoku>();
  h->setCode(code);
  h->setName(name);
  h->setParentKamokuCode(k.code());
  h->setIsActive(active);
  k.hojyoKamokuArray().push_back(h);
  return h;
}

inline int32_t codeOf(const MyDocument& doc, const std::string& name) { return kamokuNamed(doc, name)->code(); }

inline ShiwakePtr addShiwake(MyDocument& doc, Date date, int32_t karikata, int32_t kashikata, int64_t amount,
                             int32_t jigyoubu = -1, int32_t denpyouNo = 0)
{
  auto s = std::make_shared<Shiwake>();
  s->setDate(date);
  s->setDenpyouNo(denpyouNo != 0 ? denpyouNo : static_cast<int32_t>(doc.journal().size()) + 1);
  s->setKarikataKamokuCode(karikata);
  s->setKashikataKamokuCode(kashikata);
  s->setKarikataJigyoubuCode(jigyoubu);
  s->setKashikataJigyoubuCode(jigyoubu);
  s->setKarikataKingaku(amount);
  s->setKashikataKingaku(amount);
  doc.journal().append(s);
  // The counter moves past the number, as registration moves it.
  if (s->denpyouNo() >= doc.kaisya().minAvailableDenpyouNo()) doc.kaisya().setMinAvailableDenpyouNo(s->denpyouNo() + 1);
  doc.makeAllOutputWindowDisplayArrayVoid();
  return s;
}

// Opening 現金 1,000 against the capital; a sale of 500 in May, a purchase of 200 in
// June and salaries of 100 (or as given) in July, all against cash.
inline std::unique_ptr<MyDocument> makeSmallTrialBooks(ChartKind kind, int64_t salaries = 100, bool seizou = false)
{
  auto doc = makeTrialBooks(kind, seizou);
  const bool kojin = kind == ChartKind::Kojin;
  kamokuNamed(*doc, "現金")->setStartBalance(1000, 99);
  kamokuNamed(*doc, kojin ? "元入金" : "資本金")->setStartBalance(1000, 99);
  const int32_t genkin = codeOf(*doc, "現金");
  addShiwake(*doc, Date(2024, 5, 1), genkin, codeOf(*doc, "売上高"), 500);
  addShiwake(*doc, Date(2024, 6, 1), codeOf(*doc, "仕入高"), genkin, 200);
  addShiwake(*doc, Date(2024, 7, 1), codeOf(*doc, kojin ? "給料賃金" : "給料手当"), genkin, salaries);
  return doc;
}

inline void addJigyoubu(MyDocument& doc, int32_t code, bool active = true)
{
  auto j = std::make_shared<Jigyoubu>();
  j->setCode(code);
  j->setName("事業部" + std::to_string(code));
  j->setIsActive(active);
  std::vector<JigyoubuPtr> all = doc.jigyoubuArray();
  all.push_back(j);
  doc.setJigyoubuArray(std::move(all));
}

struct GeneratedTrialBooksSize {
  int shiwakeCount = 2000;
  int kamokuCount = 0;  // pad the chart with expense accounts up to this many (0: as the chart is)
  int jigyoubuCount = 3;
};

// Categories whose accounts a company that is not a manufacturer never uses.
inline bool isSeizouKubun(const std::string& name)
{
  return name == "材料費" || name == "労務費" || name == "経費" || name == "外注加工費" || name == "仕掛品棚卸高";
}

// A year of random balanced entries over every usable account of the chart (all
// of them made active), divisions 1..n each with balanced opening balances, a few
// entries in the closing-adjustment month, and some rows that must never count
// (unregistered, regular-type). Every entry keeps both sides in one division.
inline std::unique_ptr<MyDocument> makeGeneratedTrialBooks(ChartKind kind, bool seizou,
                                                           const GeneratedTrialBooksSize& size, unsigned seed = 1)
{
  auto doc = makeTrialBooks(kind, seizou);
  const KamokuKubunPtr& root = doc->rootKamokuKubun();
  std::vector<KamokuPtr> usable;
  std::vector<KamokuPtr> balanceSheetDebit, balanceSheetCredit;
  int32_t nextCode = 700;
  const int32_t expenseGroup = kind == ChartKind::Kojin ? 15 : 0;
  int total = static_cast<int>(doc->codeSortedKamokuArray().size());
  for (const KamokuKubunPtr& kubun : root->children()) {
    if (kubun->kubunName() == "販売費及び一般管理費") {
      for (; total < size.kamokuCount; ++total) {
        auto k = std::make_shared<Kamoku>();
        k->setCode(nextCode);
        k->setName("経費科目" + std::to_string(nextCode));
        k->setKana("KEIHI" + std::to_string(nextCode));
        k->setIsKarikataKamoku(true);
        k->setGroup(expenseGroup);
        ++nextCode;
        kubun->childrenKamoku().push_back(k);
      }
    }
  }
  doc->setRootKamokuKubun(root);
  for (const KamokuKubunPtr& kubun : root->children()) {
    const bool cost = isSeizouKubun(kubun->kubunName());
    for (const KamokuPtr& k : kubun->childrenKamoku()) {
      k->setIsActive(true);
      if (cost && !seizou) continue;
      usable.push_back(k);
      // Balance-sheet accounts carry a type letter; income and expense ones none.
      if (k->type() != 0 && k->group() != 8)
        (k->isKarikataKamoku() ? balanceSheetDebit : balanceSheetCredit).push_back(k);
    }
  }
  for (int d = 1; d <= size.jigyoubuCount; ++d) addJigyoubu(*doc, d);

  std::mt19937 rng(seed);
  auto pick = [&](const std::vector<KamokuPtr>& from) { return from[rng() % from.size()]; };
  auto division = [&]() { return size.jigyoubuCount > 0 ? static_cast<int32_t>(rng() % size.jigyoubuCount) + 1 : -1; };
  // Opening balances, balanced per division (or for the company without divisions).
  std::vector<int32_t> openingDivisions;
  for (int d = 1; d <= size.jigyoubuCount; ++d) openingDivisions.push_back(d);
  if (openingDivisions.empty()) openingDivisions.push_back(Jigyoubu::kAllJigyoubuCode);
  for (int32_t d : openingDivisions) {
    for (int i = 0; i < 40; ++i) {
      const int64_t amount = static_cast<int64_t>(rng() % 5'000'000) + 1;
      const KamokuPtr debit = pick(balanceSheetDebit);
      const KamokuPtr credit = pick(balanceSheetCredit);
      debit->setStartBalance(debit->startBalanceOfJigyoubuCode(d) + amount, d);
      credit->setStartBalance(credit->startBalanceOfJigyoubuCode(d) + amount, d);
    }
  }

  const Date start = doc->kaisya().termStartDate();
  const int days = doc->kaisya().termEndDate().serial() - start.serial() + 1;
  Journal::Entries journal;
  journal.reserve(static_cast<size_t>(size.shiwakeCount));
  for (int i = 0; i < size.shiwakeCount; ++i) {
    auto s = std::make_shared<Shiwake>();
    const bool kessan = i >= size.shiwakeCount - size.shiwakeCount / 50;
    s->setDate(kessan ? Date::kessanSeiridukiDate()
                      : start.addingDays(static_cast<int>(static_cast<int64_t>(i) * days / size.shiwakeCount)));
    s->setDenpyouNo(i / 2 + 1);
    const KamokuPtr kari = pick(usable);
    KamokuPtr kashi = pick(usable);
    const int64_t amount = static_cast<int64_t>(rng() % 1'000'000) + 1;
    const int32_t d = division();
    s->setKarikataKamokuCode(kari->code());
    s->setKashikataKamokuCode(kashi->code());
    s->setKarikataJigyoubuCode(d);
    s->setKashikataJigyoubuCode(d);
    s->setKarikataKingaku(amount);
    s->setKashikataKingaku(amount);
    // Rows that never count: an unregistered cash-book row and a regular-type voucher.
    if (i % 97 == 5) s->setDenpyouNo(0);
    if (i % 89 == 7) s->setDenpyouNo(-(i + 1));
    if (s->denpyouNo() <= 0) s->setKashikataKingaku(amount + 17);
    journal.push_back(std::move(s));
  }
  doc->journal().assign(std::move(journal));
  doc->makeAllOutputWindowDisplayArrayVoid();
  return doc;
}

}  // namespace kivo::test

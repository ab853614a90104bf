// The test books: a small company on the shipped chart of accounts for the term
// 2024/4/1 to 2025/3/31, optionally with two sub-accounts under 普通預金 (103) and two
// active divisions, and helpers to write journal entries, voucher rows and cash-book
// rows into it.
#pragma once

#include <memory>
#include <string>

#include "document/MyDocument.h"
#include "entry/Furikaedenpyou.h"
#include "entry/Suitoucyou.h"
#include "model/KamokuKubun.h"

namespace kivo::test {

inline constexpr int32_t kGenkin = 100;        // 現金
inline constexpr int32_t kFutsuuYokin = 103;   // 普通預金
inline constexpr int32_t kUriagedaka = 300;    // 売上高
inline constexpr int32_t kShoumouhinhi = 336;  // 消耗品費

struct BooksOptions {
  std::string name = "テスト商事";
  bool houjin = true;
  bool hojyoKamoku = false;  // みずほ銀行 (1) and 三井住友銀行 (2) under 普通預金
  bool jigyoubu = false;     // 本店 (1) and 支店 (2)
};

inline JigyoubuPtr addJigyoubu(MyDocument& doc, int32_t code, const std::string& name, bool active = true)
{
  auto j = std::make_shared<Jigyoubu>();
  j->setCode(code);
  j->setName(name);
  j->setIsActive(active);
  doc.jigyoubuArray().push_back(j);
  return j;
}

inline std::unique_ptr<MyDocument> makeBooks(const BooksOptions& options = {})
{
  auto doc = std::make_unique<MyDocument>();
  doc->kaisya().setName(options.name);
  doc->kaisya().setIsHoujin(options.houjin);
  doc->kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
  KamokuKubunPtr root = KamokuKubun::rootKamokuKubunForKaisya(doc->kaisya());
  if (options.hojyoKamoku) {
    KamokuPtr yokin = root->kamokuOfCode(kFutsuuYokin);
    for (int c = 1; c <= 2; ++c) {
      auto h = std::make_shared<HojyoKamoku>();
      h->setCode(c);
      h->setName(c == 1 ? "みずほ銀行" : "三井住友銀行");
      h->setKana(c == 1 ? "MIZUHO" : "MITSUI");
      h->setParentKamokuCode(kFutsuuYokin);
      yokin->hojyoKamokuArray().push_back(h);
    }
  }
  if (options.jigyoubu) {
    addJigyoubu(*doc, 1, "本店");
    addJigyoubu(*doc, 2, "支店");
  }
  doc->setRootKamokuKubun(root);
  return doc;
}

// A journal entry of one voucher line.
inline ShiwakePtr makeEntry(Date date, int32_t denpyouNo, int32_t kari, int32_t kashi, int64_t amount,
                            ShiwakeKind kind = ShiwakeKind::Furikaedenpyou)
{
  auto s = std::make_shared<Shiwake>();
  s->setDate(date);
  s->setDenpyouNo(denpyouNo);
  s->setKarikataKamokuCode(kari);
  s->setKashikataKamokuCode(kashi);
  s->setKarikataKingaku(kari == -1 ? 0 : amount);
  s->setKashikataKingaku(kashi == -1 ? 0 : amount);
  s->setKindOfShiwake(kind);
  return s;
}

// An entry written by a cash book: kind 1, its own codes as the other side's.
inline ShiwakePtr makeCashEntry(Date date, int32_t denpyouNo, int32_t kari, int32_t kashi, int64_t amount,
                                const std::string& tekiyou = "")
{
  ShiwakePtr s = makeEntry(date, denpyouNo, kari, kashi, amount, ShiwakeKind::Suitoucyou);
  s->setAiteKarikataKamokuCode(kari);
  s->setAiteKashikataKamokuCode(kashi);
  s->setTekiyou(tekiyou);
  return s;
}

// A transfer-voucher line with its other side recorded.
inline ShiwakePtr makeVoucherLine(Date date, int32_t denpyouNo, int32_t kari, int32_t kashi, int64_t amount)
{
  ShiwakePtr s = makeEntry(date, denpyouNo, kari, kashi, amount, ShiwakeKind::Furikaedenpyou);
  s->setAiteKarikataKamokuCode(kari);
  s->setAiteKashikataKamokuCode(kashi);
  return s;
}

// One registered entry of 2024/5/1: debit account (sub-account, division) against
// credit account.
inline ShiwakePtr addShiwake(MyDocument& doc, int32_t kari, int32_t kashi, int64_t amount, int32_t kariHojyo = -1,
                             int32_t jigyoubu = -1, int32_t denpyouNo = 1)
{
  ShiwakePtr s = makeEntry(Date(2024, 5, 1), denpyouNo, kari, kashi, amount);
  s->setKarikataHojyoKamokuCode(kariHojyo);
  s->setKarikataJigyoubuCode(jigyoubu);
  s->setKashikataJigyoubuCode(jigyoubu);
  doc.journal().append(s);
  // The counter moves past the number, as registration moves it.
  if (s->denpyouNo() >= doc.kaisya().minAvailableDenpyouNo()) doc.kaisya().setMinAvailableDenpyouNo(s->denpyouNo() + 1);
  return s;
}

// Fills row r of a voucher: the date, and each side's account and amount when the
// account is not -1.
inline void setRow(Furikaedenpyou& v, int r, Date date, int32_t kari, int64_t kariAmount, int32_t kashi,
                   int64_t kashiAmount, const std::string& tekiyou = "")
{
  using Row = FurikaedenpyouRow;
  while (v.numberOfDenpyouRows() <= r) v.insertDenpyouRow(v.numberOfDenpyouRows());
  v.setCell(r, Row::DateMatrix, FieldValue::date(date));
  if (kari != -1) {
    v.setCell(r, Row::KarikataKamokuMatrix, FieldValue::code(kari));
    v.setCell(r, Row::KarikataKingakuMatrix, FieldValue::amount(kariAmount));
  }
  if (kashi != -1) {
    v.setCell(r, Row::KashikataKamokuMatrix, FieldValue::code(kashi));
    v.setCell(r, Row::KashikataKingakuMatrix, FieldValue::amount(kashiAmount));
  }
  v.setCell(r, Row::TekiyouMatrix, FieldValue::text(tekiyou));
  v.setDoesNeedToSetDenpyouToShiwakeArray(true);
}

// Types row r of a cash book: date, counterpart and one amount (in > 0: a receipt,
// else a payment of out; both 0: no amount).
inline void typeCashRow(Suitoucyou& book, int r, Date date, int32_t aite, int64_t in, int64_t out,
                        const std::string& tekiyou = "")
{
  using Row = SuitoucyouRow;
  book.setCell(r, Row::DateMatrix, FieldValue::date(date));
  book.setCell(r, Row::AiteKamokuMatrix, aite == -1 ? FieldValue() : FieldValue::code(aite));
  book.setCell(r, Row::InKingakuMatrix, in > 0 ? FieldValue::amount(in) : FieldValue());
  book.setCell(r, Row::OutKingakuMatrix, out > 0 ? FieldValue::amount(out) : FieldValue());
  book.setCell(r, Row::TekiyouMatrix, FieldValue::text(tekiyou));
}

}  // namespace kivo::test

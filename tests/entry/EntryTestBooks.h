// A small company for the entry-window tests: a corporation's chart for the term
// 2024/4/1 to 2025/3/31, optionally with two sub-accounts under 普通預金 (103) and
// two active divisions, and helpers to write journal entries and voucher rows.
#pragma once

#include <memory>
#include <string>

#include "document/MyDocument.h"
#include "entry/Furikaedenpyou.h"

namespace kivo::test {

inline constexpr int32_t kGenkin = 100;        // 現金
inline constexpr int32_t kFutsuuYokin = 103;   // 普通預金
inline constexpr int32_t kUriagedaka = 300;    // 売上高
inline constexpr int32_t kShoumouhinhi = 336;  // 消耗品費

struct EntryBooksOptions {
  bool hojyoKamoku = false;
  bool jigyoubu = false;
};

inline std::unique_ptr<MyDocument> makeEntryBooks(EntryBooksOptions options = {})
{
  auto doc = std::make_unique<MyDocument>();
  doc->kaisya().setName("株式会社サンプル");
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
    for (int c = 1; c <= 2; ++c) {
      auto j = std::make_shared<Jigyoubu>();
      j->setCode(c);
      j->setName(c == 1 ? "本店" : "支店");
      j->setIsActive(true);
      doc->jigyoubuArray().push_back(j);
    }
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

}  // namespace kivo::test

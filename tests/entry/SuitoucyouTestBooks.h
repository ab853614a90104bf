// Cash-book helpers for the tests: entries as a cash book writes them, and rows
// typed into a book.
#pragma once

#include <string>

#include "entry/EntryTestBooks.h"
#include "entry/Suitoucyou.h"

namespace kivo::test {

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

// Types row r of the book: date, counterpart and one amount (in > 0: a receipt, else
// a payment of out; both 0: no amount).
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

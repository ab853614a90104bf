#include <gtest/gtest.h>

#include <functional>

#include "entry/Suitoucyou.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/KanjyoumotocyouRowEdit.h"
#include "support/TestBooks.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo {
namespace {

using namespace kivo::test;
using Edit = KanjyoumotocyouRowEdit;
using Cell = Edit::Cell;

const Date kMay2(2024, 5, 2);

// Books with a cash book of 現金 (entries 1 to 3) and a voucher of two one-sided
// lines (number 4): 普通預金／みずほ銀行 against 売上高.
std::unique_ptr<MyDocument> books()
{
  auto doc = makeBooks({.hojyoKamoku = true});
  Journal& j = doc->journal();
  j.append(makeCashEntry(kMay2, 1, kGenkin, kUriagedaka, 1000, "売上"));
  j.append(makeCashEntry(kMay2, 2, kShoumouhinhi, kGenkin, 300, "文具"));
  j.append(makeCashEntry(Date(2024, 6, 1), 3, kShoumouhinhi, kGenkin, 50));
  ShiwakePtr kari = makeVoucherLine(Date(2024, 5, 20), 4, kFutsuuYokin, -1, 700);
  ShiwakePtr kashi = makeVoucherLine(Date(2024, 5, 20), 4, -1, kUriagedaka, 700);
  for (const ShiwakePtr& s : {kari, kashi}) {
    s->setAiteKarikataKamokuCode(kFutsuuYokin);
    s->setAiteKarikataHojyoKamokuCode(1);
    s->setAiteKashikataKamokuCode(kUriagedaka);
  }
  kari->setKarikataHojyoKamokuCode(1);
  j.append(kari);
  j.append(kashi);
  ShiwakePtr pending = makeEntry(Date(2024, 5, 1), 0, kGenkin, -1, 0, ShiwakeKind::SuitoucyouNoAmount);
  pending->setSuitoucyouKamokuCode(kGenkin);
  j.append(pending);
  doc->kaisya().setMinAvailableDenpyouNo(5);
  return doc;
}

ShiwakePtr entryOf(const MyDocument& doc, int32_t n) { return doc.journal().entriesOfDenpyouNo(n).front(); }

// The ledger, the cash book and the trial balance of 現金 agree, and the trial
// balance's debits equal its credits.
void expectConsistent(const MyDocument& doc)
{
  const auto sums =
      ZandakaShisanPeriodSums::post(doc, ZandakaShisanPeriodSums::periodOfMonthIndexes(doc.kaisya(), 0, 12));
  const std::vector<Motocyou> ledger = Kanjyoumotocyou::motocyouArray(doc, kGenkin, -1, 0, 12);
  ASSERT_FALSE(ledger.empty());
  const Motocyou& total = ledger.back();
  EXPECT_EQ(total.karikataKingaku(), sums.ofKamoku(kGenkin, 99).karikataGoukei);
  EXPECT_EQ(total.kashikataKingaku(), sums.ofKamoku(kGenkin, 99).kashikataGoukei);
  int64_t kari = 0, kashi = 0;
  for (const KamokuPtr& k : doc.codeSortedKamokuArray()) {
    kari += sums.ofKamoku(k->code(), 99).karikataGoukei;
    kashi += sums.ofKamoku(k->code(), 99).kashikataGoukei;
  }
  EXPECT_EQ(kari, kashi);

  // The cash book ends on the ledger's closing balance.
  Suitoucyou book(const_cast<MyDocument&>(doc), kGenkin, -1);
  book.displayShiwake();
  book.setZandakaMatrixCellsValue();
  int64_t balance = 0;
  for (auto it = ledger.rbegin(); it != ledger.rend(); ++it)
    if (it->isShiwakeRow()) {
      balance = it->zandaka();
      break;
    }
  std::string last;
  for (int r = 0; r < book.numberOfSuitoucyouRows(); ++r)
    if (!book.zandakaString(r).empty()) last = book.zandakaString(r);
  EXPECT_EQ(last, doc.kaisya().displayStringOfMemoryKingaku(balance));
}

TEST(KanjyoumotocyouRowEdit, EditsRecomputeTheEntry)
{
  const Edit::Ledger genkin{kGenkin, -1};
  struct Case {
    const char* what;
    int32_t denpyouNo;
    Edit::Ledger ledger;
    Cell cell;
    FieldValue value;
    std::function<void(const MyDocument&, const Shiwake&)> check;
  };
  const Case cases[] = {
      {"amount", 1, genkin, Cell::KarikataKingaku, FieldValue::amount(1500),
       [](const MyDocument&, const Shiwake& e) {
         EXPECT_EQ(e.karikataKingaku(), 1500);
         EXPECT_EQ(e.kashikataKingaku(), 1500);
       }},
      {"amount typed on the other side moves the entry", 1, genkin, Cell::KashikataKingaku, FieldValue::amount(1000),
       [](const MyDocument&, const Shiwake& e) {
         EXPECT_EQ(e.kashikataKamokuCode(), kGenkin);
         EXPECT_EQ(e.karikataKamokuCode(), kUriagedaka);
         EXPECT_EQ(e.aiteKarikataKamokuCode(), kUriagedaka);
       }},
      {"counter account with sub-accounts takes the first", 2, genkin, Cell::AiteKamoku, FieldValue::code(kFutsuuYokin),
       [](const MyDocument&, const Shiwake& e) {
         EXPECT_EQ(e.karikataKamokuCode(), kFutsuuYokin);
         EXPECT_EQ(e.karikataHojyoKamokuCode(), 1);
         EXPECT_EQ(e.aiteKarikataHojyoKamokuCode(), 1);
         EXPECT_EQ(e.kindOfShiwake(), ShiwakeKind::Suitoucyou);
       }},
      {"no cash-book account left: a voucher line",
       2,
       {kShoumouhinhi, -1},
       Cell::AiteKamoku,
       FieldValue::code(kUriagedaka),
       [](const MyDocument&, const Shiwake& e) {
         EXPECT_EQ(e.kashikataKamokuCode(), kUriagedaka);
         EXPECT_EQ(e.kindOfShiwake(), ShiwakeKind::Furikaedenpyou);
       }},
      {"date", 3, genkin, Cell::Date, FieldValue::date(Date(2024, 4, 30)),
       [](const MyDocument&, const Shiwake& e) { EXPECT_EQ(e.date(), Date(2024, 4, 30)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto doc = books();
    const ShiwakePtr e = entryOf(*doc, c.denpyouNo);
    const uint64_t generation = doc->journal().generation();
    ASSERT_TRUE(Edit::setObjectValue(*doc, e, c.ledger, c.cell, c.value));
    c.check(*doc, *e);
    EXPECT_NE(doc->journal().generation(), generation);
    EXPECT_TRUE(doc->isDocumentEdited());
    expectConsistent(*doc);
    // The same value again changes nothing.
    EXPECT_FALSE(Edit::setObjectValue(*doc, e, c.ledger, c.cell, c.value));
  }
}

TEST(KanjyoumotocyouRowEdit, AVoucherLineKeepsItsSidesAndTheVoucherItsCounterCodes)
{
  auto doc = books();
  const ShiwakePtr kari = doc->journal()[3], kashi = doc->journal()[4];
  EXPECT_FALSE(Edit::isEditable(*doc, *kashi, {kUriagedaka, -1}, Cell::KashikataKingaku));
  EXPECT_TRUE(Edit::isEditable(*doc, *kashi, {kUriagedaka, -1}, Cell::AiteHojyoKamoku));
  ASSERT_TRUE(Edit::setObjectValue(*doc, kashi, {kUriagedaka, -1}, Cell::AiteHojyoKamoku, FieldValue::code(2)));
  EXPECT_EQ(kari->karikataHojyoKamokuCode(), 2);
  EXPECT_EQ(kashi->karikataKamokuCode(), -1);  // still one-sided
  EXPECT_EQ(kashi->karikataHojyoKamokuCode(), -1);
  EXPECT_EQ(kari->aiteKarikataHojyoKamokuCode(), 2);
  EXPECT_EQ(kashi->aiteKarikataHojyoKamokuCode(), 2);
  expectConsistent(*doc);
}

TEST(KanjyoumotocyouRowEdit, DuplicatesTakeTheNextNumber)
{
  struct Case {
    const char* what;
    int32_t denpyouNo;
    int32_t counter;
    int32_t waiting;
    Edit::Refusal refusal;
    int32_t copyNo;
  };
  const Case cases[] = {
      {"cash entry", 2, 5, -1, Edit::Refusal::None, 5},
      {"the number a voucher window waits for is skipped", 2, 5, 5, Edit::Refusal::None, 6},
      {"another waiting number is not", 2, 5, 9, Edit::Refusal::None, 5},
      {"counter at the limit", 2, 99999, -1, Edit::Refusal::None, 99999},
      {"counter past the limit", 2, 100000, -1, Edit::Refusal::DenpyouNoExhausted, 0},
      {"waiting on the last number", 2, 99999, 99999, Edit::Refusal::DenpyouNoExhausted, 0},
      {"one line of a voucher", 4, 5, -1, Edit::Refusal::PartOfVoucher, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto doc = books();
    doc->kaisya().setMinAvailableDenpyouNo(c.counter);
    const ShiwakePtr e = entryOf(*doc, c.denpyouNo);
    const size_t size = doc->journal().size();
    const Edit::Duplication d = Edit::duplicateRow(*doc, e, c.waiting);
    EXPECT_EQ(d.refusal, c.refusal);
    if (c.refusal != Edit::Refusal::None) {
      EXPECT_EQ(doc->journal().size(), size);
      EXPECT_FALSE(doc->isDocumentEdited());
      continue;
    }
    EXPECT_EQ(d.copy->denpyouNo(), c.copyNo);
    EXPECT_EQ(doc->kaisya().minAvailableDenpyouNo(), c.copyNo + 1);
    EXPECT_EQ(doc->journal().indexOf(d.copy.get()), doc->journal().indexOf(e.get()) + 1);
    EXPECT_EQ(d.copy->kashikataKingaku(), e->kashikataKingaku());
    expectConsistent(*doc);
  }
}

TEST(KanjyoumotocyouRowEdit, RemovalAndItsUndoKeepTheBooksConsistent)
{
  auto doc = books();
  EXPECT_FALSE(Edit::removeRow(*doc, doc->journal()[3]));  // a voucher line
  const ShiwakePtr e = entryOf(*doc, 2);
  const std::optional<Edit::Removal> removal = Edit::removeRow(*doc, e);
  ASSERT_TRUE(removal);
  EXPECT_FALSE(doc->journal().carriesDenpyouNo(2));
  expectConsistent(*doc);
  Edit::restoreRow(*doc, *removal);
  Edit::restoreRow(*doc, *removal);  // once only
  EXPECT_EQ(doc->journal().indexOf(e.get()), 1u);
  EXPECT_EQ(doc->journal().size(), 6u);
  expectConsistent(*doc);
}

}  // namespace
}  // namespace kivo

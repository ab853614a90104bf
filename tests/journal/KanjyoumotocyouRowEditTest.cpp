#include <gtest/gtest.h>

#include <tuple>
#include <variant>

#include "journal/Kanjyoumotocyou.h"
#include "journal/KanjyoumotocyouRowEdit.h"
#include "support/TestBooks.h"
#include "trial/ZandakaShisanPeriodSums.h"

namespace kivo {
namespace {

using namespace kivo::test;
using Edit = KanjyoumotocyouRowEdit;
using Cell = Edit::Cell;

// Books with a cash book of 現金 (entries 1 to 3) and a voucher of two one-sided
// lines (number 4): 普通預金／みずほ銀行 against 売上高.
std::unique_ptr<MyDocument> books()
{
  auto doc = makeBooks({.hojyoKamoku = true});
  Journal& j = doc->journal();
  j.append(makeCashEntry(Date(2024, 5, 2), 1, kGenkin, kUriagedaka, 1000, "売上"));
  j.append(makeCashEntry(Date(2024, 5, 2), 2, kShoumouhinhi, kGenkin, 300, "文具"));
  j.append(makeCashEntry(Date(2024, 6, 1), 3, kShoumouhinhi, kGenkin, 50));
  ShiwakePtr kari = makeVoucherLine(Date(2024, 5, 20), 4, kFutsuuYokin, -1, 700);
  ShiwakePtr kashi = makeVoucherLine(Date(2024, 5, 20), 4, -1, kUriagedaka, 700);
  kari->setKarikataHojyoKamokuCode(1);
  for (const ShiwakePtr& s : {kari, kashi}) {
    s->setAiteKarikataKamokuCode(kFutsuuYokin);
    s->setAiteKarikataHojyoKamokuCode(1);
    s->setAiteKashikataKamokuCode(kUriagedaka);
    j.append(s);
  }
  ShiwakePtr pending = makeEntry(Date(2024, 5, 1), 0, kGenkin, -1, 0, ShiwakeKind::SuitoucyouNoAmount);
  pending->setSuitoucyouKamokuCode(kGenkin);
  j.append(pending);
  doc->kaisya().setMinAvailableDenpyouNo(5);
  return doc;
}

ShiwakePtr entryOf(const MyDocument& doc, int32_t n) { return doc.journal().entriesOfDenpyouNo(n).front(); }

// The ledger and the trial balance of 現金 agree, and the trial balance's debits equal
// its credits. (The open cash book following is the window's part.)
void expectConsistent(MyDocument& doc)
{
  const auto sums =
      ZandakaShisanPeriodSums::post(doc, ZandakaShisanPeriodSums::periodOfMonthIndexes(doc.kaisya(), 0, 12));
  const ZandakaShisanPeriodSums::Sums& genkin = sums.ofKamoku(kGenkin, 99);
  const Motocyou total = Kanjyoumotocyou::motocyouArray(doc, kGenkin, -1, 0, 12).back();
  EXPECT_EQ(total.karikataKingaku(), genkin.karikataGoukei);
  EXPECT_EQ(total.kashikataKingaku(), genkin.kashikataGoukei);
  int64_t balance = 0;
  for (const KamokuPtr& k : doc.codeSortedKamokuArray())
    balance += sums.ofKamoku(k->code(), 99).karikataGoukei - sums.ofKamoku(k->code(), 99).kashikataGoukei;
  EXPECT_EQ(balance, 0);
}

// The accounts a ledger row hands the description list: the sides its amounts stand
// on; a row without an entry gives the ledger's account as debit.
TEST(KanjyoumotocyouRowEdit, TheDescriptionListTakesTheRowsSides)
{
  auto doc = books();
  const Edit::Ledger genkin{kGenkin, -1};
  const std::tuple<const Shiwake*, Edit::Ledger, std::pair<int32_t, int32_t>> cases[] = {
      {entryOf(*doc, 1).get(), genkin, {kGenkin, kUriagedaka}},
      {entryOf(*doc, 2).get(), genkin, {kShoumouhinhi, kGenkin}},
      {entryOf(*doc, 2).get(), {kShoumouhinhi, -1}, {kShoumouhinhi, kGenkin}},
      {nullptr, genkin, {kGenkin, -1}},
  };
  for (const auto& [e, ledger, sides] : cases)
    EXPECT_EQ(Edit::karikataKashikataKamokuCodeOfRow(*doc, e, ledger), sides) << (e ? e->denpyouNo() : 0);
}

TEST(KanjyoumotocyouRowEdit, EditsRecomputeTheEntry)
{
  const Edit::Ledger genkin{kGenkin, -1}, shoumouhin{kShoumouhinhi, -1};
  const auto cash = ShiwakeKind::Suitoucyou;
  // The entry, the ledger it is edited in, the cell and the value typed; the entry
  // afterwards: its sides, amount and kind, and its place in the journal.
  const std::tuple<const char*, int32_t, Edit::Ledger, Cell, FieldValue, int32_t, int32_t, int32_t, int64_t,
                   ShiwakeKind, size_t>
      cases[] = {
          {"amount", 1, genkin, Cell::KarikataKingaku, FieldValue::amount(1500), kGenkin, -1, kUriagedaka, 1500, cash,
           0},
          {"amount typed on the other side moves the entry", 1, genkin, Cell::KashikataKingaku,
           FieldValue::amount(1000), kUriagedaka, -1, kGenkin, 1000, cash, 0},
          {"counter account with sub-accounts takes the first", 2, genkin, Cell::AiteKamoku,
           FieldValue::code(kFutsuuYokin), kFutsuuYokin, 1, kGenkin, 300, cash, 1},
          {"no cash-book account left: a voucher line, the pending entry staying last", 3, shoumouhin, Cell::AiteKamoku,
           FieldValue::code(kUriagedaka), kShoumouhinhi, -1, kUriagedaka, 50, ShiwakeKind::Furikaedenpyou, 4},
          {"date", 3, genkin, Cell::Date, FieldValue::date(Date(2024, 4, 30)), kShoumouhinhi, -1, kGenkin, 50, cash, 2},
      };
  for (const auto& [what, denpyouNo, ledger, cell, value, kari, kariHojyo, kashi, amount, kind, index] : cases) {
    SCOPED_TRACE(what);
    auto doc = books();
    const ShiwakePtr e = entryOf(*doc, denpyouNo);
    const uint64_t generation = doc->journal().generation();
    ASSERT_TRUE(Edit::setObjectValue(*doc, e, ledger, cell, value));
    // Both sides and their copies: a cash-book entry carries its own codes as the other side's.
    EXPECT_EQ(std::tuple(e->karikataKamokuCode(), e->karikataHojyoKamokuCode(), e->kashikataKamokuCode(),
                         e->aiteKarikataKamokuCode(), e->aiteKarikataHojyoKamokuCode(), e->aiteKashikataKamokuCode()),
              std::tuple(kari, kariHojyo, kashi, kari, kariHojyo, kashi));
    EXPECT_EQ(std::pair(e->karikataKingaku(), e->kashikataKingaku()), std::pair(amount, amount));
    EXPECT_EQ(e->kindOfShiwake(), kind);
    EXPECT_EQ(doc->journal().indexOf(e.get()), index);
    EXPECT_NE(doc->journal().generation(), generation);
    EXPECT_TRUE(doc->isDocumentEdited());
    expectConsistent(*doc);
    // The same value again changes nothing.
    EXPECT_FALSE(Edit::setObjectValue(*doc, e, ledger, cell, value));
  }
}

TEST(KanjyoumotocyouRowEdit, AVoucherLineKeepsItsSidesAndTheVoucherItsCounterCodes)
{
  auto doc = books();
  const ShiwakePtr kari = doc->journal()[3], kashi = doc->journal()[4];
  EXPECT_FALSE(Edit::isEditable(*doc, *kashi, {kUriagedaka, -1}, Cell::KashikataKingaku));
  EXPECT_TRUE(Edit::isEditable(*doc, *kashi, {kUriagedaka, -1}, Cell::AiteHojyoKamoku));
  ASSERT_TRUE(Edit::setObjectValue(*doc, kashi, {kUriagedaka, -1}, Cell::AiteHojyoKamoku, FieldValue::code(2)));
  // The other line carries the side; this one stays one-sided; both read the new counter.
  EXPECT_EQ(std::tuple(kari->karikataHojyoKamokuCode(), kashi->karikataKamokuCode(), kashi->karikataHojyoKamokuCode()),
            std::tuple(2, -1, -1));
  EXPECT_EQ(std::pair(kari->aiteKarikataHojyoKamokuCode(), kashi->aiteKarikataHojyoKamokuCode()), std::pair(2, 2));
  expectConsistent(*doc);
}

TEST(KanjyoumotocyouRowEdit, DuplicatesTakeTheNextNumber)
{
  // The entry, the number counter, the number a voucher window waits for (-1: none),
  // the refusal and the copy's number.
  const std::tuple<const char*, int32_t, int32_t, int32_t, Edit::Refusal, int32_t> cases[] = {
      {"cash entry", 2, 5, -1, Edit::Refusal::None, 5},
      {"the number a voucher window waits for is skipped", 2, 5, 5, Edit::Refusal::None, 6},
      {"counter past the limit", 2, 100000, -1, Edit::Refusal::DenpyouNoExhausted, 0},
      {"waiting on the last number", 2, 99999, 99999, Edit::Refusal::DenpyouNoExhausted, 0},
      {"waiting on the used-up counter", 2, 100000, 100000, Edit::Refusal::DenpyouNoExhausted, 0},
      {"one line of a voucher", 4, 5, -1, Edit::Refusal::PartOfVoucher, 0},
  };
  for (const auto& [what, denpyouNo, counter, waiting, refusal, copyNo] : cases) {
    SCOPED_TRACE(what);
    auto doc = books();
    doc->kaisya().setMinAvailableDenpyouNo(counter);
    const ShiwakePtr e = entryOf(*doc, denpyouNo);
    const size_t size = doc->journal().size();
    const Edit::Duplication d = Edit::duplicateRow(*doc, e, waiting);
    EXPECT_EQ(d.refusal, refusal);
    if (refusal != Edit::Refusal::None) {
      // A refusal leaves the counter as it was: one past the limit no longer reads back.
      EXPECT_EQ(std::pair(doc->journal().size(), doc->kaisya().minAvailableDenpyouNo()), std::pair(size, counter));
      EXPECT_FALSE(doc->isDocumentEdited());
      continue;
    }
    EXPECT_EQ(std::pair(d.copy->denpyouNo(), doc->kaisya().minAvailableDenpyouNo()), std::pair(copyNo, copyNo + 1));
    EXPECT_EQ(doc->journal().indexOf(d.copy.get()), doc->journal().indexOf(e.get()) + 1);
    expectConsistent(*doc);
  }
}

// A ledger's rows from a list of entries and the titles of balance and total rows.
struct Rows {
  std::vector<Motocyou> rows;
  std::vector<ShiwakePtr> entries;
};
using RowOf = std::variant<ShiwakePtr, const char*>;
Rows rowsOf(const std::vector<RowOf>& list)
{
  Rows r;
  for (const RowOf& item : list) {
    Motocyou m;
    const ShiwakePtr* e = std::get_if<ShiwakePtr>(&item);
    if (e) {
      m.setIndexOfSortedShiwakeArray(static_cast<int32_t>(r.rows.size()));
    } else {
      const std::string title = std::get<const char*>(item);
      m.setTitle(title);
      m.setIndexOfSortedShiwakeArray(title == Kanjyoumotocyou::kKaishiZandakaTitle ? Motocyou::kBalanceRow
                                                                                   : Motocyou::kTotalRow);
    }
    r.rows.push_back(m);
    r.entries.push_back(e ? *e : nullptr);
  }
  return r;
}

// After a refresh the selection stays on the row chosen wherever the rows put it: an
// entry, or a balance or total row by what it stands for. A month's total that is gone
// gives way to the next total below its row number; an entry no longer shown keeps the
// row number. Row numbers are held to the last row.
TEST(KanjyoumotocyouRowEdit, TheSelectionFollowsItsRowAcrossARefresh)
{
  const ShiwakePtr a = makeCashEntry(Date(2024, 4, 19), 1, kGenkin, kUriagedaka, 1000);
  const ShiwakePtr b = makeCashEntry(Date(2024, 4, 19), 2, kShoumouhinhi, kGenkin, 300);
  const ShiwakePtr c = makeCashEntry(Date(2024, 6, 3), 3, kShoumouhinhi, kGenkin, 50);
  const char* open = Kanjyoumotocyou::kKaishiZandakaTitle;
  const char* april = "　4月合計";
  const char* may = "　5月合計";
  const char* june = "　6月合計";
  const char* total = Kanjyoumotocyou::kGoukeiTitle;
  using List = std::vector<RowOf>;
  const List twoInApril{open, a, b, april, total};
  const List movedToMay{open, b, april, a, may, total};  // a moved past April's total
  const List aprilAndJune{open, a, april, c, june, total};
  // The rows before, the row selected; the rows after, the row to select.
  const std::tuple<const char*, List, int, List, int> cases[] = {
      {"an entry moved", twoInApril, 1, movedToMay, 3},
      {"an entry moved up", twoInApril, 2, movedToMay, 1},
      {"a month's total moved up", twoInApril, 3, movedToMay, 2},
      {"a month's total moved down", aprilAndJune, 2, {open, a, c, april, total}, 3},
      {"the final total", twoInApril, 4, movedToMay, 5},
      {"the opening balance", twoInApril, 0, movedToMay, 0},
      {"a month's total gone: the next total", aprilAndJune, 2, {open, c, a, june, total}, 3},
      {"a month's total gone: the final total", {open, a, april, total}, 2, {open, total}, 1},
      {"an entry gone", twoInApril, 2, {open, a, april, total}, 2},
      {"an entry gone from the last row", twoInApril, 2, {open, total}, 1},
      {"no rows", twoInApril, 1, {}, -1},
      {"no selection", twoInApril, -1, movedToMay, -1},
  };
  for (const auto& [what, before, selectedRow, after, row] : cases) {
    const Rows old = rowsOf(before);
    const Rows built = rowsOf(after);
    const Edit::SelectedRow selected = Edit::selectedRowOf(old.rows, old.entries, selectedRow);
    EXPECT_EQ(Edit::rowToSelectAfterUpdate(built.rows, built.entries, selected), row) << what;
  }
}

}  // namespace
}  // namespace kivo

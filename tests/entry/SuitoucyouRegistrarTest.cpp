// Registering cash-book rows: numbers from the shared counter, the receipt and
// payment forms, the pending entry, the place in the journal, duplication and the
// pending row's removal.
#include <gtest/gtest.h>

#include "entry/SuitoucyouRegistrar.h"
#include "support/TestBooks.h"

namespace kivo::test {
namespace {

using Row = SuitoucyouRow;
using Result = SuitoucyouRegistrar::Result;

const Date kApril10(2024, 4, 10);
const Date kApril20(2024, 4, 20);

class SuitoucyouRegistrarTest : public ::testing::Test {
protected:
  void SetUp() override { doc = makeBooks(); }

  // Opens the book of 現金 as the window does: its pending entries go, the rows are
  // filled and a new pending row is registered.
  Suitoucyou& open(int32_t selectDenpyouNo = 0)
  {
    book = std::make_unique<Suitoucyou>(*doc, kGenkin, -1);
    book->setSelectDenpyouNo(selectDenpyouNo);
    book->removeUnregisteredDenpyouNoFromShiwakeArray();
    if (book->displayShiwake()) registerRow();
    return *book;
  }
  Result registerRow() { return SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(*book, context); }
  Journal& journal() { return doc->journal(); }

  std::unique_ptr<MyDocument> doc;
  std::unique_ptr<Suitoucyou> book;
  SuitoucyouRegistrar::Context context;
};

TEST_F(SuitoucyouRegistrarTest, TheOpenedBookHoldsAPendingEntryNumberedZero)
{
  Suitoucyou& b = open();
  ASSERT_EQ(journal().size(), 1u);
  const Shiwake& pending = *journal()[0];
  // No receipt: the payment form, the book's account on the credit side.
  EXPECT_EQ(std::tuple(pending.denpyouNo(), pending.kindOfShiwake(), pending.suitoucyouKamokuCode(),
                       pending.suitoucyouHojyoKamokuCode(), pending.kashikataKamokuCode()),
            std::tuple(0, ShiwakeKind::SuitoucyouNoAmount, kGenkin, -1, kGenkin));
  EXPECT_TRUE(b.isEditingUnregisteredLastRow());

  // Registering the incomplete row again rebuilds the pending entry in place.
  typeCashRow(b, 0, kApril10, kUriagedaka, 0, 0, "未入力");
  EXPECT_EQ(registerRow(), Result::Registered);
  ASSERT_EQ(journal().size(), 1u);
  EXPECT_EQ(std::tuple(journal()[0]->denpyouNo(), journal()[0]->tekiyou(), doc->kaisya().minAvailableDenpyouNo()),
            std::tuple(0, std::string("未入力"), 1));
}

TEST_F(SuitoucyouRegistrarTest, ACompleteRowTakesTheNextNumberInReceiptOrPaymentForm)
{
  // The receipt and payment typed; the sides and amount of the entry.
  const std::tuple<const char*, int64_t, int64_t, int32_t, int32_t, int64_t> cases[] = {
      {"receipt", 1000, 0, kGenkin, kUriagedaka, 1000},
      {"payment", 0, 400, kUriagedaka, kGenkin, 400},
  };
  for (const auto& [what, in, out, kari, kashi, amount] : cases) {
    SCOPED_TRACE(what);
    SetUp();
    doc->kaisya().setMinAvailableDenpyouNo(7);
    Suitoucyou& b = open();
    typeCashRow(b, 0, kApril10, kUriagedaka, in, out, "摘要");
    b.setCell(0, Row::JigyoubuMatrix, FieldValue::code(1));
    EXPECT_EQ(registerRow(), Result::Registered);
    ASSERT_EQ(journal().size(), 1u);
    const Shiwake& s = *journal()[0];
    // The book's own division is on the book's side.
    EXPECT_EQ(
        std::tuple(s.denpyouNo(), s.kindOfShiwake(), s.date(), s.karikataKamokuCode(), s.kashikataKamokuCode(),
                   s.karikataKingaku(), s.kashikataKingaku(), s.aiteKarikataKamokuCode(), s.aiteKashikataKamokuCode(),
                   kari == kGenkin ? s.karikataJigyoubuCode() : s.kashikataJigyoubuCode()),
        std::tuple(7, ShiwakeKind::Suitoucyou, kApril10, kari, kashi, amount, amount, kari, kashi, 1));
    EXPECT_EQ(std::tuple(doc->kaisya().minAvailableDenpyouNo(), b.row(0).denpyouNo, b.selectDenpyouNo()),
              std::tuple(8, 7, 7));
  }

  // Registered again, it keeps its number, its place and the change reason it was given.
  journal().insertAt(0, makeCashEntry(kApril10, 3, kGenkin, kUriagedaka, 1));
  journal()[1]->setHendouReasonStr("増資");
  book->setCell(0, Row::TekiyouMatrix, FieldValue::text("訂正"));
  EXPECT_EQ(registerRow(), Result::Registered);
  ASSERT_EQ(journal().size(), 2u);
  EXPECT_EQ(std::tuple(journal()[1]->denpyouNo(), journal()[1]->tekiyou(), journal()[1]->hendouReasonStr(),
                       doc->kaisya().minAvailableDenpyouNo()),
            std::tuple(7, std::string("訂正"), std::string("増資"), 8));
}

TEST_F(SuitoucyouRegistrarTest, TheNumberOfTheVoucherBeingTypedIsPassedOver)
{
  doc->kaisya().setMinAvailableDenpyouNo(5);
  context.furikaedenpyouDisplayingDenpyouNo = 5;
  Suitoucyou& b = open();
  typeCashRow(b, 0, kApril10, kUriagedaka, 10, 0);
  EXPECT_EQ(registerRow(), Result::Registered);
  EXPECT_EQ(std::pair(journal()[0]->denpyouNo(), doc->kaisya().minAvailableDenpyouNo()), std::pair(6, 7));
}

TEST_F(SuitoucyouRegistrarTest, AnExhaustedCounterKeepsTheTypedRowAsThePendingEntry)
{
  doc->kaisya().setMinAvailableDenpyouNo(Kaisya::kMaxDenpyouNo + 1);
  Suitoucyou& b = open();
  typeCashRow(b, 0, kApril10, kUriagedaka, 2500, 0, "現金売上");
  EXPECT_EQ(registerRow(), Result::DenpyouNoExhausted);
  ASSERT_EQ(journal().size(), 1u);
  EXPECT_EQ(std::tuple(journal()[0]->denpyouNo(), journal()[0]->karikataKingaku(), journal()[0]->tekiyou(),
                       b.row(0).denpyouNo),
            std::tuple(0, int64_t{2500}, std::string("現金売上"), 0));
  EXPECT_EQ(doc->kaisya().minAvailableDenpyouNo(), Kaisya::kMaxDenpyouNo + 1);
}

// A numbered row that fails its check is never written back: the window's tests
// leave such rows behind them.
TEST_F(SuitoucyouRegistrarTest, ATransferVoucherLineIsNeverRewritten)
{
  journal().assign({makeVoucherLine(kApril10, 4, kGenkin, kUriagedaka, 300)});
  Suitoucyou& b = open(4);
  b.setCell(0, Row::InKingakuMatrix, FieldValue::amount(1));
  EXPECT_EQ(registerRow(), Result::NotRegistered);
  EXPECT_EQ(journal()[0]->karikataKingaku(), 300);
}

// Another window (the ledger) corrected the entry after the book read it: the row,
// untouched in the book, is read again instead of writing the older copy back.
TEST_F(SuitoucyouRegistrarTest, ARowShowingAnEntryChangedElsewhereIsReadAgainNotWrittenBack)
{
  journal().assign({makeCashEntry(kApril10, 4, kGenkin, kUriagedaka, 300, "売上")});
  Suitoucyou& b = open(4);
  Shiwake& e = *journal()[0];
  e.setKashikataKamokuCode(kShoumouhinhi);
  e.setAiteKashikataKamokuCode(kShoumouhinhi);
  EXPECT_EQ(registerRow(), Result::StaleRow);
  EXPECT_EQ(std::pair(journal()[0]->kashikataKamokuCode(), b.cell(0, Row::AiteKamokuMatrix).codeValue()),
            std::pair(kShoumouhinhi, kShoumouhinhi));
  // What is typed into the row afterwards is written as usual.
  b.setCell(0, Row::TekiyouMatrix, FieldValue::text("訂正"));
  EXPECT_EQ(registerRow(), Result::Registered);
  EXPECT_EQ(std::pair(journal()[0]->kashikataKamokuCode(), journal()[0]->tekiyou()),
            std::pair(kShoumouhinhi, std::string("訂正")));
}

TEST_F(SuitoucyouRegistrarTest, ANewRowGoesBeforeTheEntryGroupOfTheRowBelow)
{
  // Voucher 5 has a line that does not touch the book before the one that does.
  journal().assign({makeCashEntry(kApril10, 1, kGenkin, kUriagedaka, 100),
                    makeVoucherLine(kApril20, 5, kShoumouhinhi, kUriagedaka, 50),
                    makeVoucherLine(kApril20, 5, kGenkin, kUriagedaka, 70)});
  doc->kaisya().setMinAvailableDenpyouNo(6);
  Suitoucyou& b = open(5);
  ASSERT_EQ(b.numberOfSuitoucyouRows(), 2);
  b.insertSuitoucyouRow(1);
  b.selectCell(1, Row::DateMatrix);
  typeCashRow(b, 1, kApril20, kShoumouhinhi, 0, 20);
  EXPECT_EQ(registerRow(), Result::Registered);
  ASSERT_EQ(journal().size(), 4u);
  EXPECT_EQ(std::tuple(journal()[1]->denpyouNo(), journal()[2]->denpyouNo(), b.shiwakeArrayIndexOfSuitoucyouRow(1)),
            std::tuple(6, 5, 1));
}

TEST_F(SuitoucyouRegistrarTest, ADuplicateFollowsTheRowAndTakesANumber)
{
  journal().assign({makeCashEntry(kApril10, 1, kGenkin, kUriagedaka, 100, "元"),
                    makeCashEntry(kApril20, 2, kShoumouhinhi, kGenkin, 30)});
  doc->kaisya().setMinAvailableDenpyouNo(3);
  Suitoucyou& b = open(1);
  const int copy = SuitoucyouRegistrar::duplicateSuitoucyouRow(b, context);
  EXPECT_EQ(std::tuple(copy, b.row(1).denpyouNo, b.selectedSuitoucyouRow(), b.startRowWithInvalidZandaka()),
            std::tuple(1, 3, 1, 0));
  EXPECT_EQ(b.cell(1, Row::TekiyouMatrix), FieldValue::text("元"));
  ASSERT_EQ(journal().size(), 3u);
  EXPECT_EQ(std::pair(journal()[1]->denpyouNo(), journal()[1]->karikataKingaku()), std::pair(3, int64_t{100}));
  EXPECT_TRUE(doc->isDocumentEdited());

  doc->kaisya().setMinAvailableDenpyouNo(Kaisya::kMaxDenpyouNo + 1);
  EXPECT_EQ(SuitoucyouRegistrar::duplicateSuitoucyouRow(b, context), -1);
}

// Removing a registered row and its undo are driven through the window's test.
TEST_F(SuitoucyouRegistrarTest, RemovingThePendingRowOrTheOnlyRow)
{
  journal().assign({makeCashEntry(kApril10, 1, kGenkin, kUriagedaka, 100)});
  Suitoucyou& b = open();
  ASSERT_EQ(b.numberOfSuitoucyouRows(), 2);
  // The pending last row: nothing to undo, the row above is selected.
  SuitoucyouRegistrar::Removal removal = SuitoucyouRegistrar::removeSuitoucyouShiwake(b, context);
  EXPECT_EQ(std::tuple(removal.isUndoable, b.numberOfSuitoucyouRows(), b.selectDenpyouNo(), journal().size()),
            std::tuple(false, 1, 1, size_t{1}));

  // The only row: an empty pending row takes its place.
  removal = SuitoucyouRegistrar::removeSuitoucyouShiwake(b, context);
  EXPECT_TRUE(removal.isUndoable);
  ASSERT_EQ(b.numberOfSuitoucyouRows(), 1);
  EXPECT_TRUE(b.isEditingUnregisteredLastRow());
  ASSERT_EQ(journal().size(), 1u);
  EXPECT_EQ(journal()[0]->denpyouNo(), 0);

  // Dropping the pending row takes it out of the grid and the journal.
  SuitoucyouRegistrar::removeSuitoucyouRowAtUnregisteredDenpyouNo(b);
  EXPECT_EQ(b.numberOfSuitoucyouRows(), 0);
  EXPECT_TRUE(journal().empty());
}

}  // namespace
}  // namespace kivo::test

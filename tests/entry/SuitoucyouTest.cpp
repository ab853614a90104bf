// The cash-book model: which entries make rows, the rows' receipt or payment form,
// the running balance, the row check, copying from the row above, choosing another
// book and the book's shortcut digit.
#include <gtest/gtest.h>

#include "entry/Suitoucyou.h"
#include "support/TestBooks.h"

namespace kivo::test {
namespace {

using Row = SuitoucyouRow;

const Date kApril10(2024, 4, 10);
const Date kApril20(2024, 4, 20);
const Date kMay1(2024, 5, 1);

ShiwakePtr pendingEntry(int32_t kari, int32_t kashi, int32_t bookKamoku, int32_t bookHojyo = -1)
{
  ShiwakePtr s = makeCashEntry(kApril10, 0, kari, kashi, 0);
  s->setKindOfShiwake(ShiwakeKind::SuitoucyouNoAmount);
  s->setSuitoucyouKamokuCode(bookKamoku);
  s->setSuitoucyouHojyoKamokuCode(bookHojyo);
  return s;
}

TEST(SuitoucyouTest, AnEntryBelongsToTheBookOfItsPairAndAPendingEntryOnlyToItsOwnBook)
{
  auto doc = makeBooks({.hojyoKamoku = true});
  // A receipt into 普通預金, of the sub-account given (-1: none).
  auto bank = [](int32_t hojyo) {
    ShiwakePtr s = makeCashEntry(kApril10, 2, kFutsuuYokin, kUriagedaka, 5);
    s->setKarikataHojyoKamokuCode(hojyo);
    return s;
  };
  // The entry, the book (account and sub-account) and whether the entry is the book's.
  const std::tuple<const char*, ShiwakePtr, int32_t, int32_t, bool> cases[] = {
      {"receipt", makeCashEntry(kApril10, 1, kGenkin, kUriagedaka, 5), kGenkin, -1, true},
      {"payment", makeCashEntry(kApril10, 1, kShoumouhinhi, kGenkin, 5), kGenkin, -1, true},
      {"other account", makeCashEntry(kApril10, 1, kShoumouhinhi, kUriagedaka, 5), kGenkin, -1, false},
      {"regular-type voucher", makeVoucherLine(Date::regularTypeDenpyouDate(), -1, kGenkin, kUriagedaka, 5), kGenkin,
       -1, false},
      {"the sub-account's", bank(1), kFutsuuYokin, 1, true},
      {"another sub-account's", bank(2), kFutsuuYokin, 1, false},
      {"the whole account's is not a sub-account's", bank(-1), kFutsuuYokin, 1, false},
      {"own pending entry", pendingEntry(kGenkin, -1, kGenkin), kGenkin, -1, true},
      {"another book's pending entry touching it", pendingEntry(kGenkin, kFutsuuYokin, kFutsuuYokin, 1), kGenkin, -1,
       false},
      {"a pending entry of no book", pendingEntry(kGenkin, -1, -1), kGenkin, -1, false},
  };
  for (const auto& [what, entry, kamoku, hojyo, belongs] : cases) {
    SCOPED_TRACE(what);
    Suitoucyou book(*doc, kamoku, hojyo);
    EXPECT_EQ(book.belongsToBook(*entry), belongs);
  }

  // The book an entry was entered in, with its sub-account: the debit side's cash
  // account before the credit side's.
  using Book = std::optional<std::pair<int32_t, int32_t>>;
  EXPECT_EQ(Suitoucyou::bookOfShiwake(*doc, *bank(2)), Book(std::pair(kFutsuuYokin, 2)));
  EXPECT_EQ(Suitoucyou::bookOfShiwake(*doc, *makeCashEntry(kApril10, 1, kFutsuuYokin, kGenkin, 5)),
            Book(std::pair(kFutsuuYokin, -1)));
  EXPECT_EQ(Suitoucyou::bookOfShiwake(*doc, *makeCashEntry(kApril10, 1, kShoumouhinhi, kGenkin, 5)),
            Book(std::pair(kGenkin, -1)));
  EXPECT_EQ(Suitoucyou::bookOfShiwake(*doc, *makeCashEntry(kApril10, 1, kShoumouhinhi, kUriagedaka, 5)), Book());
}

TEST(SuitoucyouTest, RowsFollowTheJournalInReceiptOrPaymentForm)
{
  auto doc = makeBooks();
  ShiwakePtr kind2 = makeCashEntry(kMay1, 4, kShoumouhinhi, kGenkin, 0);
  kind2->setKindOfShiwake(ShiwakeKind::SuitoucyouNoAmount);
  ShiwakePtr voucher = makeVoucherLine(kApril20, 2, kShoumouhinhi, kGenkin, 300);
  voucher->setAiteKarikataKamokuCode(Kamoku::kSyokuchiCode);
  doc->journal().assign({makeCashEntry(kApril10, 1, kGenkin, kUriagedaka, 1000, "売上"), voucher,
                         makeCashEntry(kApril10, 3, kShoumouhinhi, kUriagedaka, 7),
                         pendingEntry(kFutsuuYokin, kGenkin, kFutsuuYokin), kind2});
  Suitoucyou book(*doc, kGenkin, -1);
  book.setSelectDenpyouNo(2);
  EXPECT_FALSE(book.displayShiwake());
  ASSERT_EQ(book.numberOfSuitoucyouRows(), 3);  // the other book's pending entry makes no row
  EXPECT_EQ(std::pair(book.selectedSuitoucyouRow(), book.selectedColumn()), std::pair(1, Row::DateMatrix));

  const SuitoucyouRow& receipt = book.row(0);
  EXPECT_EQ(receipt.denpyouNo, 1);
  EXPECT_EQ(std::tuple(receipt.cell(Row::AiteKamokuMatrix), receipt.cell(Row::InKingakuMatrix),
                       receipt.cell(Row::TekiyouMatrix)),
            std::tuple(FieldValue::code(kUriagedaka), FieldValue::amount(1000), FieldValue::text("売上")));
  EXPECT_TRUE(Row::isEmptyCell(receipt.cell(Row::OutKingakuMatrix)));

  // A voucher line shows the other side it recorded, and its mark.
  EXPECT_EQ(std::tuple(book.cell(1, Row::AiteKamokuMatrix), book.cell(1, Row::OutKingakuMatrix),
                       book.cell(1, Row::KindOfShiwakeMatrix)),
            std::tuple(FieldValue::code(Kamoku::kSyokuchiCode), FieldValue::amount(300), FieldValue::text("振伝")));
  EXPECT_TRUE(Row::isEmptyCell(book.cell(0, Row::KindOfShiwakeMatrix)));

  // An entry written without an amount shows none.
  EXPECT_TRUE(Row::isEmptyCell(book.cell(2, Row::OutKingakuMatrix)));
  EXPECT_EQ(book.cell(2, Row::AiteKamokuMatrix), FieldValue::code(kShoumouhinhi));

  // Without a row for the entry being edited, an empty row is added for the pending
  // entry.
  book.setSelectDenpyouNo(0);
  EXPECT_TRUE(book.displayShiwake());
  EXPECT_EQ(std::tuple(book.numberOfSuitoucyouRows(), book.selectedSuitoucyouRow(), book.isEditingUnregisteredLastRow(),
                       book.row(3).kindOfShiwake),
            std::tuple(4, 3, true, ShiwakeKind::SuitoucyouNoAmount));
}

class SuitoucyouBalanceTest : public ::testing::Test {
protected:
  void SetUp() override { doc = makeBooks(); }
  void setOpening(int64_t v) { doc->kamokuOfCode(kGenkin)->setStartBalance(v, 99); }
  Suitoucyou& show(int32_t kamoku = kGenkin, int32_t hojyo = -1)
  {
    book = std::make_unique<Suitoucyou>(*doc, kamoku, hojyo);
    book->setSelectDenpyouNo(1);
    book->displayShiwake();
    book->setZandakaMatrixCellsValue();
    return *book;
  }
  std::vector<std::string> zandakaStrings() const
  {
    std::vector<std::string> out;
    for (int r = 0; r < book->numberOfSuitoucyouRows(); ++r) out.push_back(book->zandakaString(r));
    return out;
  }
  std::unique_ptr<MyDocument> doc;
  std::unique_ptr<Suitoucyou> book;
};

TEST_F(SuitoucyouBalanceTest, RunsFromTheOpeningBalanceOfDivision99OfTheAccountOrSubAccount)
{
  setOpening(50000);
  doc->kamokuOfCode(kGenkin)->setStartBalance(7777, 1);  // a division's own does not count
  doc->journal().assign({makeCashEntry(kApril10, 1, kGenkin, kUriagedaka, 10000),
                         makeCashEntry(kApril20, 2, kShoumouhinhi, kGenkin, 3000),
                         makeCashEntry(kApril20, 3, kGenkin, kGenkin, 999),   // within the book
                         makeCashEntry(kMay1, 4, kGenkin, kUriagedaka, 0)});  // no amount
  Suitoucyou& b = show();
  EXPECT_EQ(zandakaStrings(), (std::vector<std::string>{"60,000", "57,000", "", ""}));
  EXPECT_EQ(b.row(1).zandaka, 57000);
  EXPECT_EQ(b.startRowWithInvalidZandaka(), 4);

  // A sub-account book starts from the sub-account's balance.
  doc = makeBooks({.hojyoKamoku = true});
  KamokuPtr yokin = doc->kamokuOfCode(kFutsuuYokin);
  yokin->setStartBalance(1, 99);
  yokin->hojyoKamokuOfCode(2)->setStartBalance(400, 99);
  ShiwakePtr s = makeCashEntry(kApril10, 1, kFutsuuYokin, kUriagedaka, 100);
  s->setKarikataHojyoKamokuCode(2);
  doc->journal().assign({s});
  EXPECT_EQ(show(kFutsuuYokin, 2).row(0).zandaka, 500);
}

TEST_F(SuitoucyouBalanceTest, IsGrayOutOfDateOrderIsNotCappedAndShowsNumbersAfterPrecisionRows)
{
  doc->journal().assign(
      {makeCashEntry(kApril20, 1, kGenkin, kUriagedaka, 30), makeCashEntry(kApril10, 2, kGenkin, kUriagedaka, 5)});
  Suitoucyou& b = show();
  EXPECT_TRUE(b.row(0).zandakaIsGray);
  EXPECT_TRUE(b.row(1).zandakaIsGray);
  doc->journal().sortByDate();
  b.setStartRowWithInvalidZandaka(0);
  b.setZandakaMatrixCellsValue();
  EXPECT_FALSE(b.row(0).zandakaIsGray);
  EXPECT_EQ(b.row(1).zandaka, 35);

  // Not capped; after "#Precision!" rows numbers show again.
  const int64_t limit = Kaisya::kMaxOutputAmountValue;
  setOpening(limit - 10);
  doc->journal().assign({makeCashEntry(kApril10, 1, kGenkin, kUriagedaka, 30),
                         makeCashEntry(kApril10, 2, kGenkin, kUriagedaka, 5),
                         makeCashEntry(kApril20, 3, kShoumouhinhi, kGenkin, 40)});
  Suitoucyou& capped = show();
  EXPECT_EQ(zandakaStrings(), (std::vector<std::string>{"#Precision!", "#Precision!", "999,999,999,984"}));
  EXPECT_EQ(capped.row(1).zandaka, limit + 25);
  EXPECT_EQ(capped.row(2).zandaka, limit - 15);

  // A restart below a "#Precision!" row goes on from its true balance.
  capped.row(2).zandaka.reset();
  capped.setStartRowWithInvalidZandaka(2);
  capped.setZandakaMatrixCellsValue();
  EXPECT_EQ(capped.row(2).zandaka, limit - 15);
}

TEST(SuitoucyouTest, TheRowCheckNamesTheFirstMissingCell)
{
  auto doc = makeBooks({.hojyoKamoku = true, .jigyoubu = true});
  Suitoucyou book(*doc, kGenkin, -1);
  book.renewSuitoucyouRows(1);
  auto set = [](Row::Column c, FieldValue v) { return [c, v](Suitoucyou& b) { b.setCell(0, c, v); }; };
  // The edit made on top of the ones before, the message (nullptr: passes) and the cell
  // the check points at.
  const std::tuple<const char*, std::function<void(Suitoucyou&)>, const char*, Row::Column> cases[] = {
      {"nothing typed", [](Suitoucyou&) {}, Suitoucyou::kDateMessage, Row::DateMatrix},
      {"date", set(Row::DateMatrix, FieldValue::date(kApril10)), Suitoucyou::kAiteKamokuMessage, Row::AiteKamokuMatrix},
      {"kana not resolved", set(Row::AiteKamokuMatrix, FieldValue::text("FU")), Suitoucyou::kAiteKamokuMessage,
       Row::AiteKamokuMatrix},
      {"account with sub-accounts", set(Row::AiteKamokuMatrix, FieldValue::code(kFutsuuYokin)),
       Suitoucyou::kHojyoKamokuMessage, Row::AiteHojyoKamokuMatrix},
      {"sub-account", set(Row::AiteHojyoKamokuMatrix, FieldValue::code(1)), Suitoucyou::kAiteJigyoubuMessage,
       Row::AiteJigyoubuMatrix},
      {"counterpart division", set(Row::AiteJigyoubuMatrix, FieldValue::code(1)), Suitoucyou::kJigyoubuMessage,
       Row::JigyoubuMatrix},
      {"own division", set(Row::JigyoubuMatrix, FieldValue::code(2)), Suitoucyou::kKingakuMessage,
       Row::OutKingakuMatrix},  // 普通預金 is debit-natured: the payment is asked for
      {"credit-natured counterpart", set(Row::AiteKamokuMatrix, FieldValue::code(kUriagedaka)),
       Suitoucyou::kKingakuMessage, Row::InKingakuMatrix},
      {"receipt", set(Row::InKingakuMatrix, FieldValue::amount(5)), nullptr, Row::DateMatrix},
  };
  for (const auto& [what, edit, message, focus] : cases) {
    SCOPED_TRACE(what);
    edit(book);
    const SuitoucyouCheckResult result = book.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(0, 0);
    if (!message) {
      EXPECT_TRUE(result.ok);
      continue;
    }
    EXPECT_EQ(std::tuple(result.ok, result.message, result.row, result.column),
              std::tuple(false, std::string(message), 0, focus));
  }
  // 諸口 names no account: neither its sub-account nor its division is asked for.
  book.setCell(0, Row::AiteKamokuMatrix, FieldValue::code(Kamoku::kSyokuchiCode));
  book.setCell(0, Row::AiteJigyoubuMatrix, FieldValue());
  EXPECT_TRUE(book.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, 0).ok);
  // No row with the number: refused without a message.
  const SuitoucyouCheckResult none = book.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, 42);
  EXPECT_FALSE(none.ok);
  EXPECT_TRUE(none.message.empty());
}

TEST(SuitoucyouTest, CopyingFromTheRowAboveFollowsItsRules)
{
  auto doc = makeBooks({.hojyoKamoku = true});
  // The column, the value above, the accounts of the row above and of the own row
  // (nil: none), and whether the value is copied.
  const std::tuple<const char*, Row::Column, FieldValue, FieldValue, FieldValue, bool> cases[] = {
      {"date", Row::DateMatrix, FieldValue::date(kApril10), {}, {}, true},
      {"account", Row::AiteKamokuMatrix, FieldValue::code(kUriagedaka), {}, {}, true},
      {"諸口 is not copied", Row::AiteKamokuMatrix, FieldValue::code(Kamoku::kSyokuchiCode), {}, {}, false},
      {"sub-account below the same account", Row::AiteHojyoKamokuMatrix, FieldValue::code(2),
       FieldValue::code(kFutsuuYokin), FieldValue::code(kFutsuuYokin), true},
      {"sub-account below another account", Row::AiteHojyoKamokuMatrix, FieldValue::code(2),
       FieldValue::code(kFutsuuYokin), FieldValue::code(kUriagedaka), false},
      {"receipt", Row::InKingakuMatrix, FieldValue::amount(70), {}, {}, true},
  };
  for (const auto& [what, column, above, aboveKamoku, ownKamoku, copies] : cases) {
    SCOPED_TRACE(what);
    Suitoucyou book(*doc, kGenkin, -1);
    book.renewSuitoucyouRows(2);
    book.row(1).kindOfShiwake = ShiwakeKind::Suitoucyou;
    book.setCell(0, column, above);
    if (!aboveKamoku.isNil()) book.setCell(0, Row::AiteKamokuMatrix, aboveKamoku);
    if (!ownKamoku.isNil()) book.setCell(1, Row::AiteKamokuMatrix, ownKamoku);
    book.setCell(1, Row::AiteHojyoKamokuMatrix, FieldValue::code(1));
    book.setCell(1, Row::OutKingakuMatrix, FieldValue::amount(9));
    doc->journal().dateEditingEnded();
    book.selectCell(1, column);
    EXPECT_EQ(book.setItemAsAboveSuitoucyouRowItem(), copies);
    if (!copies) continue;
    EXPECT_EQ(book.cell(1, column), above);
    if (column == Row::DateMatrix) { EXPECT_FALSE(doc->journal().isSortedByDate()); }
    if (column == Row::AiteKamokuMatrix) { EXPECT_TRUE(Row::isEmptyCell(book.cell(1, Row::AiteHojyoKamokuMatrix))); }
    if (column == Row::InKingakuMatrix) {  // never a receipt and a payment at once
      EXPECT_TRUE(Row::isEmptyCell(book.cell(1, Row::OutKingakuMatrix)));
    }
  }

  // Never into row 0, nor into a transfer-voucher line.
  Suitoucyou book(*doc, kGenkin, -1);
  book.renewSuitoucyouRows(2);
  book.setCell(0, Row::DateMatrix, FieldValue::date(kApril10));
  book.selectCell(0, Row::DateMatrix);
  EXPECT_FALSE(book.setItemAsAboveSuitoucyouRowItem());
  book.row(1).kindOfShiwake = ShiwakeKind::Furikaedenpyou;
  book.selectCell(1, Row::DateMatrix);
  EXPECT_FALSE(book.setItemAsAboveSuitoucyouRowItem());
}

TEST(SuitoucyouTest, TheSelectedRowsAccountsForTheDescriptionList)
{
  auto doc = makeBooks();
  // The counterpart, receipt and payment typed; the debit and credit accounts offered.
  const std::tuple<const char*, int32_t, int64_t, int64_t, std::pair<int32_t, int32_t>> cases[] = {
      {"no counterpart", -1, 0, 0, {kGenkin, -1}},
      {"receipt", kShoumouhinhi, 5, 0, {kGenkin, kShoumouhinhi}},
      {"payment", kUriagedaka, 0, 5, {kUriagedaka, kGenkin}},
      {"no amount, debit-natured counterpart", kShoumouhinhi, 0, 0, {kShoumouhinhi, kGenkin}},
      {"no amount, credit-natured counterpart", kUriagedaka, 0, 0, {kGenkin, kUriagedaka}},
      {"no amount, 諸口", Kamoku::kSyokuchiCode, 0, 0, {-1, -1}},
  };
  for (const auto& [what, aite, in, out, codes] : cases) {
    SCOPED_TRACE(what);
    Suitoucyou book(*doc, kGenkin, -1);
    book.renewSuitoucyouRows(1);
    typeCashRow(book, 0, kApril10, aite, in, out);
    book.selectCell(0, Row::TekiyouMatrix);
    EXPECT_EQ(book.selectedSuitoucyouRowKarikataKashikataKamokuCode(), codes);
  }
}

TEST(SuitoucyouTest, ThePickersChoiceAnEntrysBookAndAShortcutDigitNameOneBook)
{
  auto doc = makeBooks({.hojyoKamoku = true});
  Suitoucyou book(*doc, kFutsuuYokin, 1);
  using Choice = std::optional<std::pair<int32_t, int32_t>>;
  // Its own account and itself name nothing.
  EXPECT_EQ((std::vector{book.bookOfKamokuChoice(kFutsuuYokin, -1), book.bookOfKamokuChoice(kFutsuuYokin, 1),
                         book.bookOfKamokuChoice(kFutsuuYokin, 2), book.bookOfKamokuChoice(kGenkin, -1)}),
            (std::vector{Choice(), Choice(), Choice(std::pair{kFutsuuYokin, 2}), Choice(std::pair{kGenkin, -1})}));
  Suitoucyou genkin(*doc, kGenkin, -1);
  // A bare account kept by sub-account stands for its first active sub-account.
  EXPECT_EQ(genkin.bookOfKamokuChoice(kFutsuuYokin, -1), Choice(std::pair{kFutsuuYokin, 1}));

  // An entry's book is its cash account.
  ShiwakePtr toBank = makeCashEntry(kApril10, 7, kShoumouhinhi, kFutsuuYokin, 5);
  toBank->setKashikataHojyoKamokuCode(2);
  doc->journal().assign({makeCashEntry(kApril10, 6, kGenkin, kFutsuuYokin, 5), toBank});
  Suitoucyou any(*doc, -1, -1);
  EXPECT_TRUE(any.setDisplayKamokuCodeToShowShiwakeOfDenpyouNo(7));
  EXPECT_EQ(std::pair(any.displayKamokuCode(), any.displayHojyoKamokuCode()), std::pair(kFutsuuYokin, 2));
  EXPECT_TRUE(any.setDisplayKamokuCodeToShowShiwakeOfDenpyouNo(6));  // the debit side first
  EXPECT_EQ(any.displayKamokuCode(), kGenkin);
  EXPECT_FALSE(any.setDisplayKamokuCodeToShowShiwakeOfDenpyouNo(6));  // already the book
  EXPECT_FALSE(any.setDisplayKamokuCodeToShowShiwakeOfDenpyouNo(0));

  // A shortcut digit belongs to one book.
  constexpr int32_t kKoguchi = 101;
  doc->kamokuOfCode(kKoguchi)->setKeyEquivalentOfSuitoucyouSubMenu(3);
  doc->kamokuOfCode(kFutsuuYokin)->hojyoKamokuOfCode(2)->setKeyEquivalentOfSuitoucyouSubMenu(3);
  EXPECT_EQ(book.keyEquivalentOfSuitoucyouSubMenu(), -1);
  EXPECT_TRUE(book.changeKeyEquivalentOfSuitoucyouSubMenu(3));
  KamokuPtr yokin = doc->kamokuOfCode(kFutsuuYokin);
  EXPECT_EQ(std::tuple(book.keyEquivalentOfSuitoucyouSubMenu(),
                       doc->kamokuOfCode(kKoguchi)->keyEquivalentOfSuitoucyouSubMenu(),
                       yokin->hojyoKamokuOfCode(2)->keyEquivalentOfSuitoucyouSubMenu(),
                       yokin->keyEquivalentOfSuitoucyouSubMenu()),
            std::tuple(3, -1, -1, -1));
  EXPECT_FALSE(book.changeKeyEquivalentOfSuitoucyouSubMenu(3));  // the ticked digit again
}

}  // namespace
}  // namespace kivo::test

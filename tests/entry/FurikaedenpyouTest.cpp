#include <gtest/gtest.h>

#include "entry/Furikaedenpyou.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;
using test::kFutsuuYokin;
using test::kGenkin;
using test::kShoumouhinhi;
using test::kUriagedaka;

const Date kDay(2024, 4, 10);
std::pair<int, Row::Column> selected(const Furikaedenpyou& v) { return {v.selectedDenpyouRow(), v.selectedColumn()}; }

// A voucher on the plain test books.
class FurikaedenpyouTest : public ::testing::Test {
protected:
  std::unique_ptr<MyDocument> doc = test::makeBooks();
  Furikaedenpyou v{*doc};
};

TEST(FurikaedenpyouColumns, EditableColumnsFollowSubAccountsAndDivisions)
{
  auto plain = test::makeBooks();
  Furikaedenpyou a(*plain);
  EXPECT_EQ(a.editableMattrixArray(),
            (std::vector<Row::Column>{Row::DateMatrix, Row::KarikataKamokuMatrix, Row::KarikataKingakuMatrix,
                                      Row::KashikataKamokuMatrix, Row::KashikataKingakuMatrix, Row::TekiyouMatrix}));

  auto full = test::makeBooks({.hojyoKamoku = true, .jigyoubu = true});
  Furikaedenpyou b(*full);
  EXPECT_EQ(
      std::tuple(b.editableMattrixArray().size(), b.indexOfEditableColumn(Row::KarikataHojyoKamokuMatrix),
                 b.indexOfEditableColumn(Row::KashikataJigyoubuMatrix), b.indexOfEditableColumn(Row::DenpyouNoMatrix)),
      std::tuple(size_t{10}, 2, 8, -1));
}

// Every rule of the row check, in its order: the message, and the cell it selects.
// The row under test is the last of `rows` (any row above is complete): it gets the
// accounts (-1: none) with 1,000 on each side that has one, then up to two cells
// typed over (a nil value: none). Accounts 0 and 0: the row left as inserted.
struct RowCheckCase {
  const char* name;
  bool hojyo, jigyoubu;
  int rows;
  int32_t kari, kashi;
  const char* message;  // nullptr: passes
  Row::Column column;
  Row::Column cell = Row::DateMatrix;
  FieldValue value = {};
  Row::Column cell2 = Row::DateMatrix;
  FieldValue value2 = {};
};

TEST(FurikaedenpyouRowCheck, MessagesAndCellsInRuleOrder)
{
  using enum Row::Column;
  const FieldValue none = FieldValue::text("");
  const char* const noKari2 = "2 行目の借方科目が入力されていません。";
  const char* const oneSide1 = "1 行目は、借方科目と貸方科目の両方を入力してください。";
  const FieldValue ten = FieldValue::amount(10);
  const std::vector<RowCheckCase> cases = {
      {"complete row", false, false, 1, kGenkin, kUriagedaka, nullptr, DateMatrix},
      {"no date", false, false, 1, kGenkin, kUriagedaka, "1 行目の日付が正しく入力されていません。", DateMatrix,
       DateMatrix, none},
      {"debit sub-account missing", true, false, 1, kFutsuuYokin, kUriagedaka,
       "1 行目の補助科目(借方)が入力されていません。", KarikataHojyoKamokuMatrix},
      {"credit sub-account missing", true, false, 1, kGenkin, kFutsuuYokin,
       "1 行目の補助科目(貸方)が入力されていません。", KashikataHojyoKamokuMatrix},
      {"debit division missing", false, true, 1, kGenkin, kUriagedaka, "1 行目の借方事業部が入力されていません。",
       KarikataJigyoubuMatrix},
      {"credit division missing", false, true, 1, kGenkin, kUriagedaka, "1 行目の貸方事業部が入力されていません。",
       KashikataJigyoubuMatrix, KarikataJigyoubuMatrix, FieldValue::code(1)},
      {"debit amount missing", false, false, 1, kGenkin, kUriagedaka, "1 行目の借方金額が入力されていません。",
       KarikataKingakuMatrix, KarikataKingakuMatrix, none},
      {"credit amount missing", false, false, 1, kGenkin, kUriagedaka, "1 行目の貸方金額が入力されていません。",
       KashikataKingakuMatrix, KashikataKingakuMatrix, none},
      {"debit amount without account", false, false, 2, -1, kUriagedaka, noKari2, KarikataKamokuMatrix,
       KarikataKingakuMatrix, ten},
      {"debit division without account", false, true, 2, -1, kUriagedaka, noKari2, KarikataKamokuMatrix,
       KashikataJigyoubuMatrix, FieldValue::code(1), KarikataJigyoubuMatrix, FieldValue::code(2)},
      {"credit amount without account", false, false, 2, kGenkin, -1, "2 行目の貸方科目が入力されていません。",
       KashikataKamokuMatrix, KashikataKingakuMatrix, ten},
      {"only a date and a description", false, false, 2, -1, -1,
       "2 行目は、借方科目と貸方科目ともに入力されていません。", KarikataKamokuMatrix, TekiyouMatrix,
       FieldValue::text("メモ")},
      {"later row with one side", false, false, 2, -1, kUriagedaka, nullptr, DateMatrix},
      {"first row with credit only", false, false, 1, -1, kUriagedaka, oneSide1, KarikataKamokuMatrix},
      {"first row with debit only", false, false, 1, kGenkin, -1, oneSide1, KashikataKamokuMatrix},
      {"unresolved kana is no account", false, false, 2, -1, kUriagedaka, noKari2, KarikataKamokuMatrix,
       KarikataKamokuMatrix, FieldValue::text("GEN"), KarikataKingakuMatrix, ten},
      {"empty last row of several", false, false, 2, 0, 0, nullptr, DateMatrix},
  };
  for (const RowCheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto doc = test::makeBooks({.hojyoKamoku = c.hojyo, .jigyoubu = c.jigyoubu});
    Furikaedenpyou v(*doc);
    v.renewDenpyouRows(c.rows);
    const int r = c.rows - 1;
    if (r > 0) test::setRow(v, 0, kDay, kGenkin, 10, kUriagedaka, 10);
    if (c.kari != 0 || c.kashi != 0) test::setRow(v, r, kDay, c.kari, 1000, c.kashi, 1000);
    if (!c.value.isNil()) v.setCell(r, c.cell, c.value);
    if (!c.value2.isNil()) v.setCell(r, c.cell2, c.value2);
    const FurikaedenpyouCheckResult result = v.doAllDenpyouCellsHaveValidObjectValuesAtRow(r);
    if (!c.message) {
      EXPECT_TRUE(result.ok) << result.message;
      continue;
    }
    EXPECT_EQ(std::tuple(result.ok, result.message, result.row, result.column),
              std::tuple(false, std::string(c.message), r, c.column));
  }
}

TEST_F(FurikaedenpyouTest, TheBalanceCountsAmountsWithAnAccountAndMustBeZeroAndOneDateAppliesToEveryRow)
{
  test::setRow(v, 0, kDay, kGenkin, 1000, kUriagedaka, 999);
  EXPECT_EQ(v.taisyakuBalance(), 1);
  test::setRow(v, 1, kDay, -1, 0, -1, 0);
  v.setCell(1, Row::KashikataKingakuMatrix, FieldValue::amount(1));  // no account: not counted
  EXPECT_EQ(v.taisyakuBalance(), 1);
  v.setCell(1, Row::KashikataKamokuMatrix, FieldValue::code(kUriagedaka));
  EXPECT_EQ(v.taisyakuBalance(), 0);

  const int64_t limit = doc->kaisya().maxOutputAmountValue();
  Furikaedenpyou big(*doc);
  for (int r = 0; r < 11; ++r) test::setRow(big, r, kDay, kGenkin, limit / 10, -1, 0);
  EXPECT_EQ(big.taisyakuBalance(), std::nullopt);
  // A voucher of a file whose amounts lie at the int64 limits: the sum saturates
  // where it once wrapped around to a balance just below the limit.
  Furikaedenpyou huge(*doc);
  test::setRow(huge, 0, kDay, kGenkin, limit, -1, 0);
  for (int r = 1; r < 3; ++r) test::setRow(huge, r, kDay, kGenkin, INT64_MAX, -1, 0);
  EXPECT_EQ(huge.taisyakuBalance(), std::nullopt);

  // The voucher check refuses an unbalanced voucher, and one whose balance is beyond reckoning.
  test::setRow(v, 0, kDay, kGenkin, 1000, kUriagedaka, 900);
  FurikaedenpyouCheckResult r = v.isDenpyouAbleToSetShiwakeArray();
  EXPECT_EQ(std::tuple(r.ok, r.message, r.row),
            std::tuple(false, std::string("借方金額と貸方金額それぞれの合計は、等しくならねばなりません。"), -1));

  Furikaedenpyou edge(*doc);
  test::setRow(edge, 0, kDay, kGenkin, limit, kUriagedaka, 0);
  test::setRow(edge, 1, kDay, kGenkin, 1, -1, 0);
  EXPECT_EQ(edge.isDenpyouAbleToSetShiwakeArray().message, "貸借金額のバランスが、計算可能な範囲を超えました。");

  // A date edited in the selected row applies to every row.
  test::setRow(v, 0, kDay, kGenkin, 1000, kUriagedaka, 600);
  test::setRow(v, 1, kDay, -1, 0, kUriagedaka, 400);
  v.setCell(1, Row::DateMatrix, FieldValue::date(Date(2024, 5, 1)));
  v.selectCell(1, Row::DateMatrix);
  EXPECT_TRUE(v.isDenpyouAbleToSetShiwakeArray().ok);
  EXPECT_EQ(v.cell(0, Row::DateMatrix).dateValue(), Date(2024, 5, 1));
}

TEST_F(FurikaedenpyouTest, RefusesWhatCouldNotBeRegisteredSoundly)
{
  // The ordinary counter used up: the voucher numbered 100000 cannot be registered.
  doc->kaisya().setMinAvailableDenpyouNo(100000);
  v.displayShiwakeOfDenpyouNo(doc->kaisya().minAvailableDenpyouNo());
  EXPECT_TRUE(v.isBeyondDenpyouNoLimit());
  test::setRow(v, 0, kDay, kGenkin, 1000, kUriagedaka, 1000);
  EXPECT_EQ(v.isDenpyouAbleToSetShiwakeArray().message, Furikaedenpyou::kDenpyouNoExhaustedMessage);
  // ... but it may still become a regular-type voucher, which has its own numbers.
  v.setCell(0, Row::DateMatrix, FieldValue::date(Date::regularTypeDenpyouDate()));
  EXPECT_TRUE(v.isDenpyouAbleToSetShiwakeArray().ok);

  // Every regular-type number taken.
  for (int n = 1; n <= Kaisya::kMaxRegularTypeDenpyouNo; ++n)
    doc->journal().append(test::makeEntry(Date::regularTypeDenpyouDate(), -n, kGenkin, kUriagedaka, 1));
  EXPECT_EQ(v.isDenpyouAbleToSetShiwakeArray().message, Furikaedenpyou::kRegularTypeDenpyouNoExhaustedMessage);
}

TEST(FurikaedenpyouDisplay, FillsOneRowPerEntryAndSelectsTheFirstDate)
{
  auto doc = test::makeBooks({.hojyoKamoku = true, .jigyoubu = true});
  auto s = test::makeEntry(kDay, 4, kFutsuuYokin, kUriagedaka, 1200);
  s->setKarikataHojyoKamokuCode(2);
  s->setKarikataJigyoubuCode(1);
  s->setTekiyou("売上入金");
  doc->journal().assign(
      {test::makeEntry(kDay, 3, kGenkin, kUriagedaka, 1), s, test::makeEntry(kDay, 4, -1, kUriagedaka, 5)});
  Furikaedenpyou v(*doc);
  v.displayShiwakeOfDenpyouNo(4);
  ASSERT_EQ(v.numberOfDenpyouRows(), 2);
  EXPECT_EQ((std::vector{v.cell(0, Row::KarikataHojyoKamokuMatrix), v.cell(0, Row::KarikataJigyoubuMatrix),
                         v.cell(0, Row::KashikataJigyoubuMatrix), v.cell(0, Row::TekiyouMatrix),
                         v.cell(1, Row::DenpyouNoMatrix)}),
            (std::vector{FieldValue::code(2), FieldValue::code(1), FieldValue(), FieldValue::text("売上入金"),
                         FieldValue::code(4)}));
  EXPECT_TRUE(Row::isEmptyCell(v.cell(1, Row::KarikataKingakuMatrix)));  // a side without account is empty
  EXPECT_EQ(selected(v), std::pair(0, Row::DateMatrix));
  EXPECT_FALSE(v.doesNeedToSetDenpyouToShiwakeArray());

  v.displayShiwakeOfDenpyouNo(77);
  EXPECT_EQ(v.numberOfDenpyouRows(), 1);
  EXPECT_TRUE(v.isEmptyDenpyouRow(0));
}

TEST_F(FurikaedenpyouTest, ADuplicateTakesTheCounterWithoutARegularTypeDateAndHiddenEntriesAreNeverDropped)
{
  doc->kaisya().setMinAvailableDenpyouNo(8);
  doc->journal().assign({test::makeEntry(Date::regularTypeDenpyouDate(), -2, kGenkin, kUriagedaka, 10),
                         test::makeEntry(kDay, 5, kGenkin, kUriagedaka, 10)});
  v.displayShiwakeOfDenpyouNo(5);
  v.duplicateDenpyou();
  EXPECT_EQ(std::tuple(v.displayingDenpyouNo(), v.cell(0, Row::DateMatrix).dateValue(),
                       v.doesNeedToSetDenpyouToShiwakeArray()),
            std::tuple(8, kDay, true));

  v.displayShiwakeOfDenpyouNo(-2);
  v.duplicateDenpyou();
  EXPECT_EQ(std::pair(v.displayingDenpyouNo(), v.cell(0, Row::KarikataKamokuMatrix)),
            std::pair(8, FieldValue::code(kGenkin)));
  EXPECT_TRUE(Row::isEmptyCell(v.cell(0, Row::DateMatrix)));

  // Registering what a limited user sees would drop what it does not (the journal keeps
  // such entries all the same): a voucher with hidden entries is refused.
  auto hidden = test::makeEntry(kDay, 1, kShoumouhinhi, kGenkin, 70);
  hidden->setDidCreateBeforeOpen(true);
  doc->journal().assign({test::makeEntry(kDay, 1, kGenkin, kUriagedaka, 500), hidden});
  v.displayShiwakeOfDenpyouNo(1);
  EXPECT_EQ(v.numberOfDenpyouRows(), 1);  // only the visible entry
  EXPECT_EQ(v.isDenpyouAbleToSetShiwakeArray().message, Furikaedenpyou::kHiddenShiwakeMessage);
}

TEST_F(FurikaedenpyouTest, RemovingARowAndUndoingAlternateThroughTheKeptRow)
{
  for (int r = 0; r < 5; ++r) test::setRow(v, r, kDay, kGenkin, 100 + r, -1, 0, "行" + std::to_string(r + 1));
  v.setCell(2, Row::KashikataKingakuMatrix, FieldValue::text(""));
  const FurikaedenpyouRow third = v.row(2);

  v.undoableRemoveDenpyouRow(2);
  EXPECT_EQ(std::pair(v.numberOfDenpyouRows(), v.cell(2, Row::TekiyouMatrix)), std::pair(4, FieldValue::text("行4")));
  EXPECT_EQ(selected(v), std::pair(2, Row::KarikataKamokuMatrix));  // the row has a date

  v.undoableRemoveDenpyouRow(2);  // undo
  EXPECT_EQ(std::tuple(v.numberOfDenpyouRows(), v.row(2), v.hasRemovedRow()), std::tuple(5, third, false));

  v.undoableRemoveDenpyouRow(2);  // redo
  EXPECT_EQ(v.numberOfDenpyouRows(), 4);

  // Removing the last row selects the new last row.
  v.forgetRemovedRow();
  v.undoableRemoveDenpyouRow(3);
  EXPECT_EQ(v.selectedDenpyouRow(), 2);
}

TEST_F(FurikaedenpyouTest, AddAndInsertSelectByTheDate)
{
  EXPECT_FALSE(v.addDenpyouRow());  // no selection
  v.selectCell(0, Row::TekiyouMatrix);
  EXPECT_TRUE(v.addDenpyouRow());  // no date yet: the new row's date cell
  ASSERT_EQ(v.numberOfDenpyouRows(), 2);
  EXPECT_EQ(selected(v), std::pair(1, Row::DateMatrix));

  test::setRow(v, 0, kDay, kGenkin, 1, kUriagedaka, 1);
  v.selectCell(0, Row::TekiyouMatrix);
  EXPECT_TRUE(v.addDenpyouRow());
  EXPECT_EQ(selected(v), std::pair(2, Row::KarikataKamokuMatrix));
  EXPECT_EQ(v.cell(2, Row::DateMatrix).dateValue(), kDay);  // every row takes the date

  v.selectCell(0, Row::TekiyouMatrix);
  EXPECT_TRUE(v.insertDenpyouRowAtSelection());
  EXPECT_EQ(std::pair(v.numberOfDenpyouRows(), v.selectedDenpyouRow()), std::pair(4, 0));
  EXPECT_EQ(v.cell(1, Row::KarikataKamokuMatrix), FieldValue::code(kGenkin));  // moved down
  EXPECT_EQ(v.cell(0, Row::DateMatrix).dateValue(), kDay);
}

TEST(FurikaedenpyouRowCommands, CopyFromTheRowAboveAndTypingAnAccountEmptiesThatSidesSubAccount)
{
  auto doc = test::makeBooks({.hojyoKamoku = true});
  Furikaedenpyou v(*doc);
  test::setRow(v, 0, kDay, kGenkin, 1000, kUriagedaka, 1000, "摘要A");
  test::setRow(v, 1, kDay, kFutsuuYokin, 5, -1, 0);
  v.setCell(1, Row::KarikataHojyoKamokuMatrix, FieldValue::code(1));
  v.setDoesNeedToSetDenpyouToShiwakeArray(false);

  v.selectCell(0, Row::TekiyouMatrix);
  EXPECT_FALSE(v.canSetItemAsAboveDenpyouRowItem());  // row 0
  v.selectCell(1, Row::KarikataHojyoKamokuMatrix);
  EXPECT_FALSE(v.setItemAsAboveDenpyouRowItem());  // a sub-account column

  v.selectCell(1, Row::KarikataKamokuMatrix);
  EXPECT_TRUE(v.setItemAsAboveDenpyouRowItem());
  EXPECT_EQ(v.cell(1, Row::KarikataKamokuMatrix), FieldValue::code(kGenkin));
  EXPECT_TRUE(Row::isEmptyCell(v.cell(1, Row::KarikataHojyoKamokuMatrix)));
  EXPECT_TRUE(v.doesNeedToSetDenpyouToShiwakeArray());

  v.selectCell(1, Row::TekiyouMatrix);
  EXPECT_TRUE(v.setItemAsAboveDenpyouRowItem());
  EXPECT_EQ(v.cell(1, Row::TekiyouMatrix), FieldValue::text("摘要A"));

  // Typing an account empties that side's sub-account.
  test::setRow(v, 0, kDay, kFutsuuYokin, 5, kFutsuuYokin, 5);
  v.setCell(0, Row::KarikataHojyoKamokuMatrix, FieldValue::code(1));
  v.setCell(0, Row::KashikataHojyoKamokuMatrix, FieldValue::code(2));
  v.textDidChangeAtRow(0, Row::KashikataKamokuMatrix);
  EXPECT_EQ(v.cell(0, Row::KarikataHojyoKamokuMatrix), FieldValue::code(1));
  EXPECT_TRUE(Row::isEmptyCell(v.cell(0, Row::KashikataHojyoKamokuMatrix)));
}

// What the description list is given for the selected row: a side the row leaves
// empty comes from the nearest row above that has it.
TEST_F(FurikaedenpyouTest, TheSelectedRowsAccountsFillAMissingSideFromAbove)
{
  test::setRow(v, 0, kDay, kGenkin, 300, kUriagedaka, 100);
  test::setRow(v, 1, kDay, -1, 0, kFutsuuYokin, 200);
  test::setRow(v, 2, kDay, kShoumouhinhi, 0, -1, 0);
  test::setRow(v, 3, kDay, -1, 0, -1, 0);
  using Codes = std::pair<int32_t, int32_t>;
  const Codes expected[] = {{kGenkin, kUriagedaka}, {kGenkin, kFutsuuYokin}, {kShoumouhinhi, kFutsuuYokin}, {-1, -1}};
  EXPECT_EQ(v.selectedDenpyouRowKarikataKashikataKamokuCode(), (Codes{-1, -1}));
  for (int r = 0; r < 4; ++r) {
    v.selectCell(r, Row::TekiyouMatrix);
    EXPECT_EQ(v.selectedDenpyouRowKarikataKashikataKamokuCode(), expected[r]) << "row " << r;
  }
}

}  // namespace
}  // namespace kivo

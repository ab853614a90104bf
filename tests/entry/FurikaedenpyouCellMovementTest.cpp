#include <gtest/gtest.h>

#include "entry/FurikaedenpyouCellMovement.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;
using Move = FurikaedenpyouCellMovement;
using Cmd = Move::Command;
using test::kFutsuuYokin;
using test::kGenkin;
using test::kUriagedaka;

const Date kDay(2024, 4, 10);
std::pair<int, Row::Column> selected(const Furikaedenpyou& v) { return {v.selectedDenpyouRow(), v.selectedColumn()}; }

Move::Outcome press(Furikaedenpyou& v, Cmd c, Move::Options o = {})
{
  return Move::moveSelectDenpyouCellByCommand(v, c, o);
}

// Selects the cell, then presses.
Move::Outcome press(Furikaedenpyou& v, int row, Row::Column column, Cmd c, Move::Options o = {})
{
  v.selectCell(row, column);
  return press(v, c, o);
}

TEST(FurikaedenpyouCellMovement, TabOutOfAnAccount)
{
  struct Case {
    const char* name;
    int32_t account;  // -1: the cell is empty
    int32_t inputedHojyo;
    Row::Column filled;  // a later debit cell that holds text, or the account itself for none
    Row::Column expected;
    int32_t expectedHojyo;  // the debit sub-account cell afterwards, -1 empty
    Row::Column from = Row::KarikataKamokuMatrix;
  };
  const std::vector<Case> cases = {
      {"plain account: its amount", kGenkin, -1, Row::KarikataKamokuMatrix, Row::KarikataKingakuMatrix, -1},
      {"account with sub-accounts: the sub-account", kFutsuuYokin, -1, Row::KarikataKamokuMatrix,
       Row::KarikataHojyoKamokuMatrix, -1},
      {"sub-account typed with it: filled, on to the amount", kFutsuuYokin, 2, Row::KarikataKamokuMatrix,
       Row::KarikataKingakuMatrix, 2},
      {"empty: the credit account", -1, -1, Row::KarikataKamokuMatrix, Row::KashikataKamokuMatrix, -1},
      {"empty, amount with text: that amount", -1, -1, Row::KarikataKingakuMatrix, Row::KarikataKingakuMatrix, -1},
      {"empty, division with text: that division", -1, -1, Row::KarikataJigyoubuMatrix, Row::KarikataJigyoubuMatrix,
       -1},
      {"empty credit account: the description", -1, -1, Row::KarikataKamokuMatrix, Row::TekiyouMatrix, -1,
       Row::KashikataKamokuMatrix},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto doc = test::makeBooks({.hojyoKamoku = true, .jigyoubu = true});
    Furikaedenpyou v(*doc);
    v.setCell(0, Row::DateMatrix, FieldValue::date(kDay));
    if (c.account != -1) v.setCell(0, Row::KarikataKamokuMatrix, FieldValue::code(c.account));
    if (c.filled == Row::KarikataKingakuMatrix) v.setCell(0, c.filled, FieldValue::amount(5));
    if (c.filled == Row::KarikataJigyoubuMatrix) v.setCell(0, c.filled, FieldValue::code(1));
    EXPECT_EQ(press(v, 0, c.from, Cmd::InsertTab, {.autoSetBalance = true, .inputedHojyoKamokuCode = c.inputedHojyo}),
              Move::Outcome::Moved);
    EXPECT_EQ(
        std::tuple(v.selectedDenpyouRow(), v.selectedColumn(), v.cell(0, Row::KarikataHojyoKamokuMatrix).codeValue()),
        std::tuple(0, c.expected, c.expectedHojyo));
  }
}

TEST(FurikaedenpyouCellMovement, TabOutOfAnEmptyAmountFillsTheBalanceOnItsSide)
{
  // The amount cell left, whether the balance is set by itself, the amount it gets.
  // The voucher so far: debit 現金 1,000 in row 0; row 1 has both accounts.
  const std::tuple<const char*, Row::Column, bool, std::optional<int64_t>> cases[] = {
      {"credit amount gets the debit excess", Row::KashikataKingakuMatrix, true, 1000},
      {"debit amount: the balance is on the other side", Row::KarikataKingakuMatrix, true, std::nullopt},
      {"setting off", Row::KashikataKingakuMatrix, false, std::nullopt},
  };
  for (const auto& [name, column, autoSet, filled] : cases) {
    SCOPED_TRACE(name);
    auto doc = test::makeBooks();
    Furikaedenpyou v(*doc);
    test::setRow(v, 0, kDay, kGenkin, 1000, -1, 0);
    test::setRow(v, 1, kDay, kGenkin, 0, kUriagedaka, 0);
    v.setCell(1, Row::KarikataKingakuMatrix, FieldValue::text(""));
    v.setCell(1, Row::KashikataKingakuMatrix, FieldValue::text(""));
    press(v, 1, column, Cmd::InsertTab, {.autoSetBalance = autoSet});
    const FieldValue cell = v.cell(1, column);
    if (filled)
      EXPECT_EQ(cell, FieldValue::amount(*filled));
    else
      EXPECT_TRUE(Row::isEmptyCell(cell));
    EXPECT_EQ(v.selectedEditableIndex(), v.indexOfEditableColumn(column) + 1);
  }
}

TEST(FurikaedenpyouCellMovement, TabOutOfTheDescriptionBacktabAndArrows)
{
  // A balanced voucher's last row finishes it, an unbalanced one's starts a row: the
  // voucher window's tests type both.
  auto doc = test::makeBooks();
  // An invalid row keeps the selection in its first column, without a message.
  Furikaedenpyou invalid(*doc);
  test::setRow(invalid, 0, kDay, kGenkin, 1000, -1, 0);
  press(invalid, 0, Row::TekiyouMatrix, Cmd::InsertTab);
  EXPECT_EQ(selected(invalid), std::pair(0, Row::DateMatrix));

  // A valid row that is not the last goes to the next row's date.
  Furikaedenpyou middle(*doc);
  test::setRow(middle, 0, kDay, kGenkin, 1000, kUriagedaka, 1000);
  test::setRow(middle, 1, kDay, kGenkin, 1, -1, 0);
  press(middle, 0, Row::TekiyouMatrix, Cmd::InsertTab);
  EXPECT_EQ(selected(middle), std::pair(1, Row::DateMatrix));

  // Backtab and the arrows.
  Furikaedenpyou v(*doc);
  test::setRow(v, 0, kDay, kGenkin, 1000, kUriagedaka, 600);
  test::setRow(v, 1, kDay, -1, 0, kUriagedaka, 400);

  press(v, 0, Row::KarikataKingakuMatrix, Cmd::InsertBacktab);
  EXPECT_EQ(v.selectedColumn(), Row::KarikataKamokuMatrix);

  v.setCell(1, Row::DateMatrix, FieldValue::date(Date(2024, 4, 11)));
  press(v, 1, Row::DateMatrix, Cmd::InsertBacktab);  // valid row: the previous row's last column
  EXPECT_EQ(selected(v), std::pair(0, Row::TekiyouMatrix));
  EXPECT_EQ(v.cell(0, Row::DateMatrix).dateValue(), Date(2024, 4, 11));  // row 1's date went to every row

  press(v, 0, Row::DateMatrix, Cmd::InsertBacktab);  // from row 0: the last row
  EXPECT_EQ(v.selectedDenpyouRow(), 1);

  press(v, Cmd::MoveDown);  // the last row stays
  EXPECT_EQ(selected(v), std::pair(1, Row::TekiyouMatrix));
  press(v, Cmd::MoveUp);
  press(v, Cmd::MoveUp);  // the first row stays
  EXPECT_EQ(v.selectedDenpyouRow(), 0);

  v.deselectCell();
  EXPECT_EQ(press(v, Cmd::MoveDown), Move::Outcome::None);
}

}  // namespace
}  // namespace kivo

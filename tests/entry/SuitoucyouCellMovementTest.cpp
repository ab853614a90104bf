// Keyboard movement in a cash book: where Tab goes from each column, what leaving a
// row does, the empty pending row, and the copy from the row above.
#include <gtest/gtest.h>

#include "entry/SuitoucyouCellMovement.h"
#include "entry/SuitoucyouRegistrar.h"
#include "support/TestBooks.h"

namespace kivo::test {
namespace {

using Row = SuitoucyouRow;
using Command = SuitoucyouCellMovement::Command;

const Date kApril10(2024, 4, 10);
std::pair<int, Row::Column> selected(const Suitoucyou& b) { return {b.selectedSuitoucyouRow(), b.selectedColumn()}; }

// The window's part, done straight on the book and logged.
class RecordingActions : public SuitoucyouCellMovement::Actions {
public:
  explicit RecordingActions(Suitoucyou& book) : book_(book) {}
  bool checkRowWithMessages() override
  {
    log.push_back("check");
    return book_.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, book_.selectDenpyouNo()).ok;
  }
  void registerRowAndRefreshBalances() override
  {
    log.push_back("register");
    SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book_, {});
    book_.setZandakaMatrixCellsValue();
  }
  void addRow() override { log.push_back("add"); }
  void removeRow() override { log.push_back("remove"); }
  void registerPendingRow() override
  {
    log.push_back("pending");
    SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book_, {});
  }
  void setItemAsAboveRowItem() override { log.push_back("copy"); }
  void resetInputedHojyoKamokuCode() override { log.push_back("reset"); }

  std::vector<std::string> log;

private:
  Suitoucyou& book_;
};

class SuitoucyouCellMovementTest : public ::testing::Test {
protected:
  // The book of 現金 with one registered receipt and the pending row below it.
  void open(BooksOptions options = {})
  {
    doc = makeBooks(options);
    doc->journal().assign({makeCashEntry(kApril10, 1, kGenkin, kUriagedaka, 100)});
    doc->kaisya().setMinAvailableDenpyouNo(2);
    book = std::make_unique<Suitoucyou>(*doc, kGenkin, -1);
    if (book->displayShiwake()) SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(*book, {});
    actions = std::make_unique<RecordingActions>(*book);
  }
  void move(Command command, SuitoucyouCellMovement::Options options = {})
  {
    SuitoucyouCellMovement::moveSelectSuitoucyouCellByCommand(*book, command, options, *actions);
  }
  void moveFrom(int row, Row::Column column, Command command, SuitoucyouCellMovement::Options options = {})
  {
    book->selectCell(row, column);
    move(command, options);
  }
  std::unique_ptr<MyDocument> doc;
  std::unique_ptr<Suitoucyou> book;
  std::unique_ptr<RecordingActions> actions;
};

TEST_F(SuitoucyouCellMovementTest, TabWalksTheColumnsOfARow)
{
  struct Case {
    const char* what;
    BooksOptions options;
    Row::Column from;
    int32_t aite;  // -1: empty
    int64_t in, out;
    Row::Column to;
    int32_t inputedHojyo = -1;  // a sub-account typed with the account: filled in
  };
  const BooksOptions hojyo{.hojyoKamoku = true}, bumon{.jigyoubu = true};
  const Case cases[] = {
      {"date", {}, Row::DateMatrix, -1, 0, 0, Row::AiteKamokuMatrix},
      {"account without sub-accounts", hojyo, Row::AiteKamokuMatrix, kUriagedaka, 0, 0, Row::TekiyouMatrix},
      {"account with sub-accounts", hojyo, Row::AiteKamokuMatrix, kFutsuuYokin, 0, 0, Row::AiteHojyoKamokuMatrix},
      {"account typed with its sub-account", hojyo, Row::AiteKamokuMatrix, kFutsuuYokin, 0, 0, Row::TekiyouMatrix, 2},
      {"empty account", hojyo, Row::AiteKamokuMatrix, -1, 0, 0, Row::TekiyouMatrix},
      {"sub-account", hojyo, Row::AiteHojyoKamokuMatrix, kFutsuuYokin, 0, 0, Row::TekiyouMatrix},
      {"description, divisions in use", bumon, Row::TekiyouMatrix, kUriagedaka, 0, 0, Row::AiteJigyoubuMatrix},
      {"counterpart division", bumon, Row::AiteJigyoubuMatrix, kUriagedaka, 0, 0, Row::JigyoubuMatrix},
      {"own division", bumon, Row::JigyoubuMatrix, kUriagedaka, 0, 0, Row::InKingakuMatrix},
      {"description, credit-natured counterpart", {}, Row::TekiyouMatrix, kUriagedaka, 0, 0, Row::InKingakuMatrix},
      {"description, debit-natured counterpart", {}, Row::TekiyouMatrix, kShoumouhinhi, 0, 0, Row::OutKingakuMatrix},
      {"description, a payment typed", {}, Row::TekiyouMatrix, kUriagedaka, 0, 5, Row::OutKingakuMatrix},
      {"description, a receipt typed", {}, Row::TekiyouMatrix, kShoumouhinhi, 5, 0, Row::InKingakuMatrix},
      {"empty receipt", {}, Row::InKingakuMatrix, kUriagedaka, 0, 0, Row::OutKingakuMatrix},
      {"empty payment", {}, Row::OutKingakuMatrix, kUriagedaka, 0, 0, Row::DateMatrix},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    open(c.options);
    typeCashRow(*book, 1, kApril10, c.aite, c.in, c.out);
    moveFrom(1, c.from, Command::InsertTab, {.inputedHojyoKamokuCode = c.inputedHojyo});
    EXPECT_EQ(selected(*book), std::pair(1, c.to));
    if (c.inputedHojyo != -1) {
      EXPECT_EQ(book->cell(1, Row::AiteHojyoKamokuMatrix), FieldValue::code(c.inputedHojyo));
    }
    EXPECT_TRUE(actions->log.empty());
  }
}

TEST_F(SuitoucyouCellMovementTest, TabOutOfTheAmountRegistersAndStartsTheNextRow)
{
  open();
  typeCashRow(*book, 1, kApril10, kUriagedaka, 800, 0);
  moveFrom(1, Row::InKingakuMatrix, Command::InsertTab);
  EXPECT_EQ(actions->log, (std::vector<std::string>{"register", "pending"}));
  ASSERT_EQ(book->numberOfSuitoucyouRows(), 3);
  EXPECT_EQ(selected(*book), std::pair(2, Row::DateMatrix));

  // From a row that is not the last: the next row's date. An invalid row keeps the
  // row, at its date.
  moveFrom(0, Row::InKingakuMatrix, Command::InsertTab);
  EXPECT_EQ(book->selectedSuitoucyouRow(), 1);
  book->setCell(0, Row::AiteKamokuMatrix, FieldValue());
  moveFrom(0, Row::InKingakuMatrix, Command::InsertTab);
  EXPECT_EQ(selected(*book), std::pair(0, Row::DateMatrix));

  // With the counter used up, finishing the last row goes to the first row.
  doc->kaisya().setMinAvailableDenpyouNo(Kaisya::kMaxDenpyouNo + 1);
  typeCashRow(*book, 2, kApril10, kUriagedaka, 5, 0);
  moveFrom(2, Row::InKingakuMatrix, Command::InsertTab);
  EXPECT_EQ(book->numberOfSuitoucyouRows(), 3);
  EXPECT_EQ(selected(*book), std::pair(0, Row::DateMatrix));
}

TEST_F(SuitoucyouCellMovementTest, TheArrowsCheckAndRegisterTheRowTheyLeave)
{
  // The command, the row it starts on and whether that row is valid, the actions it
  // asks for and the row it ends on.
  const std::tuple<const char*, Command, int, bool, std::vector<std::string>, int> cases[] = {
      {"down from a valid row", Command::MoveDown, 0, true, {"check", "register"}, 1},
      {"down from an invalid row", Command::MoveDown, 0, false, {"check"}, 0},
      {"up from the first row", Command::MoveUp, 0, true, {"check", "register"}, 0},
      {"down from the last row adds one", Command::MoveDown, 1, true, {"check", "register", "add"}, 1},
      {"up from a complete pending row", Command::MoveUp, 1, true, {"check", "register"}, 0},
  };
  for (const auto& [what, command, fromRow, rowIsValid, log, toRow] : cases) {
    SCOPED_TRACE(what);
    open();
    typeCashRow(*book, 1, kApril10, kUriagedaka, 5, 0);
    if (!rowIsValid) book->setCell(fromRow, Row::DateMatrix, FieldValue());
    moveFrom(fromRow, Row::TekiyouMatrix, command);
    EXPECT_EQ(actions->log, log);
    EXPECT_EQ(selected(*book), std::pair(toRow, Row::TekiyouMatrix));
  }
}

TEST_F(SuitoucyouCellMovementTest, TheEmptyPendingRowStaysOnDownAndGoesOnUpAndBacktabLeavesAValidRow)
{
  open();
  moveFrom(1, Row::AiteKamokuMatrix, Command::MoveDown);
  EXPECT_TRUE(actions->log.empty());
  EXPECT_EQ(book->selectedSuitoucyouRow(), 1);
  move(Command::MoveUp);
  EXPECT_EQ(actions->log, (std::vector<std::string>{"remove"}));

  // Backtab from the date goes to the previous row when the row is valid.
  actions->log.clear();
  typeCashRow(*book, 1, kApril10, kUriagedaka, 5, 0);
  moveFrom(1, Row::DateMatrix, Command::InsertBacktab);
  EXPECT_EQ(actions->log, (std::vector<std::string>{"register"}));
  EXPECT_EQ(selected(*book), std::pair(0, Row::OutKingakuMatrix));
  // From row 0 it stays in the row, without registering.
  actions->log.clear();
  moveFrom(0, Row::DateMatrix, Command::InsertBacktab);
  EXPECT_TRUE(actions->log.empty());
  EXPECT_EQ(selected(*book), std::pair(0, Row::OutKingakuMatrix));
}

TEST_F(SuitoucyouCellMovementTest, AutoSetItemAsAboveRowCopiesEmptyCellsOnTab)
{
  open();
  SuitoucyouCellMovement::Options options;
  options.autoSetItemAsAboveRow = true;
  // How a cell is copied is the book's; here, when.
  moveFrom(1, Row::DateMatrix, Command::InsertTab, options);
  moveFrom(1, Row::AiteKamokuMatrix, Command::InsertTab, options);
  EXPECT_EQ(actions->log, (std::vector<std::string>{"copy", "copy", "reset"}));
  // A filled cell, or the setting off, copies nothing.
  actions->log.clear();
  book->setCell(1, Row::DateMatrix, FieldValue::date(kApril10));
  moveFrom(1, Row::DateMatrix, Command::InsertTab, options);
  moveFrom(1, Row::AiteKamokuMatrix, Command::InsertTab);
  EXPECT_TRUE(actions->log.empty());
}

}  // namespace
}  // namespace kivo::test

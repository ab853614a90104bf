// Correcting entries in the ledger window, offscreen: a cell edited in place, the
// row commands of its "機能" menu and the undo of a removal, with the open cash book
// following.
#include <QLineEdit>
#include <QTimer>
#include <QUndoStack>
#include <tuple>

#include "entry/gui/SuitoucyouController.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/gui/ModalDriver.h"
#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/KanjyoumotocyouController.h"

namespace kivo::test {
namespace {

using Column = KanjyoumotocyouTableModel::Column;

class KanjyoumotocyouRowEditWindowTest : public JournalWindowTest {
protected:
  // Opens a cell of the row and types the text into it.
  QLineEdit* openCell(KanjyoumotocyouController* w, int row, Column column, const QString& text)
  {
    w->tableView()->selectRow(row);
    flush();  // as a click would, the row is selected before its cell opens
    w->tableView()->edit(w->tableModel()->index(row, w->tableModel()->indexOfColumn(column)));
    auto* editor = w->tableView()->findChild<QLineEdit*>();
    if (editor) editor->setText(text);
    return editor;
  }

  void trigger(KanjyoumotocyouController* w, const char* title)
  {
    w->validateMenuItems();
    w->functionMenuAction(QString::fromUtf8(title))->trigger();
    flush();
  }

  QString lastAlertText() const { return alerts.empty() ? QString() : alerts.back().text; }
};

TEST_F(KanjyoumotocyouRowEditWindowTest, AnAmountTypedOnTheOtherSideMovesTheEntryAndTheBookFollows)
{
  openEntryBooks();
  const int32_t n = addCashBookEntry(Date(2024, 4, 2), kGenkin, kUriagedaka, 1000, "売上");
  auto* book = SuitoucyouController::showSuitoucyouWindow(session, kGenkin, -1);
  flush();
  KanjyoumotocyouController* w = openLedger(kGenkin);
  w->tableView()->selectRow(1);
  QTest::keyClick(w->tableView(), Qt::Key_Space);  // the first editable cell: the date
  flush();
  EXPECT_TRUE(w->isEditingShiwakeOfDenpyouNo(n));
  QTest::keyClick(w->tableView()->findChild<QLineEdit*>(), Qt::Key_Escape);
  flush();

  QTest::keyClick(openCell(w, 1, Column::KashikataKingaku, "1,200"), Qt::Key_Return);
  flush();
  EXPECT_EQ(books().journal().entriesOfDenpyouNo(n).front()->kashikataKamokuCode(), kGenkin);
  // The selection moving on refreshes the ledger and the book.
  w->tableView()->selectRow(0);
  flush();
  EXPECT_EQ(w->stringValue(1, Column::Zandaka), "-1,200");
  activate(book);  // a book in the background reckons its balances when it comes forward
  EXPECT_EQ(book->suitoucyouView()->delegate()->stringValue(book->book().rowOfShiwakeOfDenpyouNo(n),
                                                            SuitoucyouRow::ZandakaMatrix),
            "-1,200");

  // Text a command ends must be valid: else the alert, and the edit goes on.
  activate(w);
  // 諸口 names no account; an emptied amount leaves the entry on the side that has one.
  const std::tuple<Column, QString, bool> cases[] = {
      {Column::Date, "", false},           {Column::Date, "4/3", true},           {Column::AiteKamoku, "999", false},
      {Column::KarikataKingaku, "", true}, {Column::KashikataKingaku, "", false},
  };
  for (const auto& [column, text, valid] : cases) {
    SCOPED_TRACE(text.toStdString());
    alerts.clear();
    QLineEdit* cell = openCell(w, 1, column, text);
    ASSERT_TRUE(cell);
    EXPECT_EQ(w->deselectEditingCell(), valid);
    EXPECT_EQ(lastAlertText(), valid ? QString() : KanjyoumotocyouController::kInvalidCellMessage);
    if (!valid) QTest::keyClick(cell, Qt::Key_Escape);
    flush();
  }
}

// A counter account corrected in the ledger reaches the journal and the open cash book
// before the book shows the entry, whichever way the book comes forward: Return in the
// ledger (the book is activated only after it was told to show the entry), or a click
// on the book's row before the window system makes it the active window. The book
// never writes its older copy of the entry back.
TEST_F(KanjyoumotocyouRowEditWindowTest, ACorrectionReachesTheCashBookBeforeTheBookShowsTheEntry)
{
  using Row = SuitoucyouRow;
  for (const bool byClick : {false, true}) {
    SCOPED_TRACE(byClick ? "a click on the book" : "Return in the ledger");
    openEntryBooks();
    addCashBookEntry(Date(2024, 4, 1), kGenkin, kUriagedaka, 500, "前日");
    const int32_t n = addCashBookEntry(Date(2024, 4, 2), kGenkin, kUriagedaka, 1000, "売上");
    auto* book = SuitoucyouController::showSuitoucyouWindow(session, kGenkin, -1);
    flush();
    KanjyoumotocyouController* w = openLedger(kGenkin);
    QTest::keyClick(openCell(w, 2, Column::AiteKamoku, QString::number(kShoumouhinhi)), Qt::Key_Return);
    flush();
    ASSERT_EQ(books().journal().entriesOfDenpyouNo(n).front()->kashikataKamokuCode(), kShoumouhinhi);
    const auto bookShows = [&] {
      const int r = book->book().rowOfShiwakeOfDenpyouNo(n);
      return r < 0 ? -1 : book->book().cell(r, Row::AiteKamokuMatrix).codeValue();
    };
    if (byClick) {
      const QRect r = book->suitoucyouView()->cellRect(1, Row::TekiyouMatrix);
      QTest::mouseClick(book->suitoucyouView()->viewport(), Qt::LeftButton, {}, r.center());
    } else {
      QTest::keyClick(w->tableView(), Qt::Key_Return);
    }
    EXPECT_EQ(bookShows(), kShoumouhinhi);
    activate(book);
    EXPECT_EQ(book->book().selectDenpyouNo(), n);
    // Leaving the entry's row in the book keeps the correction.
    QTest::mouseClick(book->suitoucyouView()->viewport(), Qt::LeftButton, {},
                      book->suitoucyouView()->cellRect(0, Row::TekiyouMatrix).center());
    flush();
    EXPECT_EQ(books().journal().entriesOfDenpyouNo(n).front()->kashikataKamokuCode(), kShoumouhinhi);
    EXPECT_EQ(bookShows(), kShoumouhinhi);
    closeNow(session);
  }
}

// A click on an editable cell of the selected row opens it every time, also when the
// user types at once, before the time of a double click has passed: the keys go into
// the cell, never to the window's commands. A double click opens the entry's book.
TEST_F(KanjyoumotocyouRowEditWindowTest, AClickOnTheSelectedRowOpensTheCellAndWhatIsTypedGoesIntoIt)
{
  openEntryBooks();
  const int32_t n = addCashBookEntry(Date(2024, 4, 2), kGenkin, kUriagedaka, 1000, "売上");
  KanjyoumotocyouController* w = openLedger(kGenkin);
  CyouhyouTableView* table = w->tableView();
  table->selectRow(1);
  flush();
  const QPoint cell =
      table->visualRect(w->tableModel()->index(1, w->tableModel()->indexOfColumn(Column::Tekiyou))).center();
  // Were the keys taken as commands, the pickers they open are closed again.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* stuck = activeModalWindow()) stuck->close();
  });
  closer.start(20);

  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
  // Typed as a user types, Shift first: each key goes to the widget that has the focus.
  QTest::keyPress(w->windowHandle(), Qt::Key_Shift);
  for (Qt::Key key : {Qt::Key_S, Qt::Key_H, Qt::Key_O}) QTest::keyClick(w->windowHandle(), key, Qt::ShiftModifier);
  QTest::keyRelease(w->windowHandle(), Qt::Key_Shift);
  flush();
  auto* editor = table->findChild<QLineEdit*>();
  ASSERT_TRUE(w->isEditingShiwakeOfDenpyouNo(n));
  EXPECT_EQ(editor ? editor->text().toUpper() : QString(), QStringLiteral("SHO"));
  EXPECT_EQ(w->displayKamokuCode(), kGenkin);
  QTest::keyClick(editor, Qt::Key_Escape);
  flush();

  // Without typing the cell opens once the double-click time has passed.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell, 2 * QApplication::doubleClickInterval());
  EXPECT_TRUE(QTest::qWaitFor([&] { return w->isEditingCell(); }, 4 * QApplication::doubleClickInterval()));
  QTest::keyClick(table->findChild<QLineEdit*>(), Qt::Key_Escape);
  flush();

  // A double click opens the book; no cell opens behind it.
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell, 2 * QApplication::doubleClickInterval());
  QTest::qWait(2 * QApplication::doubleClickInterval());
  EXPECT_EQ(windowCount(DocumentWindow::Kind::Suitoucyou), 1);
  EXPECT_FALSE(w->isEditingCell());
}

// A corrected date is sorted into place by the refresh that the user's next choice of
// row brings: the selection stays on the entry chosen, by click or arrow key, wherever
// the refresh puts it, and the next correction acts on it, not on the entry that moved
// under the pointer.
TEST_F(KanjyoumotocyouRowEditWindowTest, TheSelectionStaysOnTheChosenEntryWhenARefreshSortsTheRows)
{
  enum class Move { Click, Down, Up };
  // 現金: 開始残高, レジ 4/19, 金庫 4/19, 文具 4/25, 4月合計, 合計.
  // 普通預金／みずほ銀行 (sub-account 1): 開始残高, 振込 4/19, 引落 4/19, 4月合計, 合計.
  // The sub ledger (-1: 現金), the row corrected, its cell and the text; the row the
  // user goes to and how, and the entry it shows.
  const std::tuple<const char*, int32_t, int, Column, QString, int, Move, const char*> cases[] = {
      {"a click below", -1, 1, Column::Date, "4/20", 2, Move::Click, "金庫"},
      {"a click above", -1, 2, Column::Date, "4/18", 1, Move::Click, "レジ"},
      {"arrow down", -1, 1, Column::Date, "4/20", 2, Move::Down, "金庫"},
      {"arrow up", -1, 2, Column::Date, "4/18", 1, Move::Up, "レジ"},
      {"a date past the month's total", -1, 1, Column::Date, "5/1", 3, Move::Click, "文具"},
      {"a sub ledger", 1, 1, Column::Date, "4/20", 2, Move::Click, "引落"},
      {"an amount: the order stays", -1, 1, Column::KarikataKingaku, "1,200", 2, Move::Click, "金庫"},
  };
  for (const auto& [what, hojyo, row, column, text, toRow, move, chosen] : cases) {
    SCOPED_TRACE(what);
    openEntryBooks({.hojyoKamoku = true});
    addCashBookEntry(Date(2024, 4, 19), kGenkin, kUriagedaka, 1000, "レジ");
    addCashBookEntry(Date(2024, 4, 19), kShoumouhinhi, kGenkin, 300, "金庫");
    addCashBookEntry(Date(2024, 4, 25), kShoumouhinhi, kGenkin, 100, "文具");
    for (const auto& [tekiyou, kariHojyo, kashiHojyo] :
         {std::tuple("振込", 1, -1), std::tuple("他行", 2, -1), std::tuple("引落", -1, 1)}) {
      const int32_t n = addCashBookEntry(Date(2024, 4, 19), kariHojyo < 0 ? kShoumouhinhi : kFutsuuYokin,
                                         kariHojyo < 0 ? kFutsuuYokin : kUriagedaka, 2000, tekiyou);
      const ShiwakePtr e = books().journal().entriesOfDenpyouNo(n).front();
      e->setKarikataHojyoKamokuCode(kariHojyo);
      e->setAiteKarikataHojyoKamokuCode(kariHojyo);
      e->setKashikataHojyoKamokuCode(kashiHojyo);
      e->setAiteKashikataHojyoKamokuCode(kashiHojyo);
    }
    KanjyoumotocyouController* w = openLedger(hojyo < 0 ? kGenkin : kFutsuuYokin, hojyo);
    CyouhyouTableView* table = w->tableView();
    const ShiwakePtr corrected = w->shiwakeOfRow(row);
    const ShiwakePtr target = w->shiwakeOfRow(toRow);
    ASSERT_TRUE(corrected && target);
    ASSERT_EQ(target->tekiyou(), chosen);
    // The move ends the edit: it chooses its row on the rows as shown, and the refresh
    // that stores the correction follows.
    QLineEdit* cell = openCell(w, row, column, text);
    ASSERT_TRUE(cell);
    if (move == Move::Click)
      QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                        table->visualRect(w->tableModel()->index(toRow, 0)).center());
    else
      QTest::keyClick(cell, move == Move::Down ? Qt::Key_Down : Qt::Key_Up);
    flush();
    EXPECT_FALSE(w->isEditingCell());
    if (column == Column::Date) { EXPECT_NE(w->shiwakeOfRow(row), corrected) << "the rows were sorted again"; }
    const Date correctedDate = corrected->date();
    const ShiwakePtr selected = w->shiwakeOfRow(table->selectedRow());
    EXPECT_EQ(selected ? selected->tekiyou() : std::string(), chosen);
    QTest::keyClick(table, Qt::Key_Space);
    flush();
    QLineEdit* editor = table->findChild<QLineEdit*>();
    EXPECT_TRUE(editor);
    if (editor) {
      editor->setText("4/22");
      QTest::keyClick(editor, Qt::Key_Return);
      flush();
    }
    EXPECT_EQ(target->date().toString(), Date(2024, 4, 22).toString());
    EXPECT_EQ(corrected->date().toString(), correctedDate.toString());
    closeNow(session);
  }
}

// A total row chosen after a correction stays chosen when the refresh sorts the rows
// again and moves it: no entry that moved under the pointer is selected, and Space
// opens nothing. A month's total gone with its month's last entry gives way to the
// next total below.
TEST_F(KanjyoumotocyouRowEditWindowTest, TheSelectionStaysOnTheChosenTotalRowWhenARefreshSortsTheRows)
{
  enum class Move { Click, Down };
  // 普通預金: 開始残高, 預入 4/10, 振込 4/19, 他行 4/19, 4月合計, 六月 6/5, 六月他行 6/5,
  // 6月合計, 合計. Sub ledger 1 (みずほ銀行): 開始残高, 預入, 振込, 4月合計, 六月, 6月合計,
  // 合計; sub ledger 2 (三井住友銀行): 開始残高, 他行, 4月合計, 六月他行, 6月合計, 合計.
  // The sub ledger (-1: none), the April entry dated 6/1, the total row the user goes
  // to and how; the total row selected then.
  const std::tuple<const char*, int32_t, int, int, Move, const char*> cases[] = {
      {"a click on April's total", -1, 3, 4, Move::Click, "　4月合計"},
      {"arrow down onto April's total", -1, 3, 4, Move::Down, "　4月合計"},
      {"a sub ledger, a click", 1, 2, 3, Move::Click, "　4月合計"},
      {"a sub ledger, arrow down", 1, 2, 3, Move::Down, "　4月合計"},
      {"April's total gone", 2, 1, 2, Move::Click, "　6月合計"},
  };
  for (const auto& [what, hojyo, row, toRow, move, chosen] : cases) {
    SCOPED_TRACE(what);
    openEntryBooks({.hojyoKamoku = true});
    for (const auto& [date, hojyoOfEntry, tekiyou] :
         {std::tuple(Date(2024, 4, 10), 1, "預入"), std::tuple(Date(2024, 4, 19), 1, "振込"),
          std::tuple(Date(2024, 4, 19), 2, "他行"), std::tuple(Date(2024, 6, 5), 1, "六月"),
          std::tuple(Date(2024, 6, 5), 2, "六月他行")}) {
      const int32_t n = addCashBookEntry(date, kFutsuuYokin, kUriagedaka, 2000, tekiyou);
      const ShiwakePtr e = books().journal().entriesOfDenpyouNo(n).front();
      e->setKarikataHojyoKamokuCode(hojyoOfEntry);
      e->setAiteKarikataHojyoKamokuCode(hojyoOfEntry);
    }
    KanjyoumotocyouController* w = openLedger(kFutsuuYokin, hojyo);
    CyouhyouTableView* table = w->tableView();
    const ShiwakePtr corrected = w->shiwakeOfRow(row);
    ASSERT_TRUE(corrected);
    ASSERT_EQ(w->stringValue(toRow, Column::Tekiyou).toStdString(), "　4月合計");
    table->selectRow(row);
    flush();
    QTest::keyClick(table, Qt::Key_Space);  // the entry's date
    flush();
    QLineEdit* editor = table->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->setText(QStringLiteral("6/1"));
    // The move ends the edit, on the rows as shown; the refresh follows.
    if (move == Move::Click)
      QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                        table->visualRect(w->tableModel()->index(toRow, 0)).center());
    else
      QTest::keyClick(editor, Qt::Key_Down);
    flush();
    ASSERT_EQ(corrected->date().toString(), Date(2024, 6, 1).toString());
    EXPECT_TRUE(w->shiwakeOfRow(toRow)) << "the rows were sorted again: an entry stands where the total was";
    EXPECT_EQ(w->stringValue(table->selectedRow(), Column::Tekiyou).toStdString(), chosen);
    QTest::keyClick(table, Qt::Key_Space);
    flush();
    EXPECT_FALSE(w->isEditingCell());
    closeNow(session);
  }
}

TEST_F(KanjyoumotocyouRowEditWindowTest, DuplicateRemoveAndUndo)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 500, "振替");
  const int32_t n = addCashBookEntry(Date(2024, 4, 2), kShoumouhinhi, kGenkin, 300, "文具");
  KanjyoumotocyouController* w = openLedger(kGenkin);
  w->tableView()->selectRow(1);  // a voucher line
  trigger(w, KanjyoumotocyouController::kRemoveRowTitle);
  EXPECT_EQ(lastAlertText(), KanjyoumotocyouController::kRemoveNotSuitoucyouMessage);

  w->tableView()->selectRow(2);
  trigger(w, KanjyoumotocyouController::kDuplicateRowTitle);
  EXPECT_EQ(w->stringValue(3, Column::Tekiyou), "文具");
  EXPECT_EQ(w->tableView()->selectedRow(), 3);

  w->tableView()->selectRow(2);
  trigger(w, KanjyoumotocyouController::kRemoveRowTitle);
  EXPECT_FALSE(books().journal().carriesDenpyouNo(n));
  EXPECT_EQ(session->undoManager()->undoText(), KanjyoumotocyouController::kRemoveRowTitle);
  session->undoManager()->undo();
  flush();
  EXPECT_TRUE(books().journal().carriesDenpyouNo(n));
  EXPECT_EQ(w->tableView()->selectedRow(), 2);
  EXPECT_EQ(w->stringValue(3, Column::Zandaka), "-100");  // 500 - 300 - 300
  session->undoManager()->redo();
  flush();
  EXPECT_FALSE(books().journal().carriesDenpyouNo(n));
}

}  // namespace
}  // namespace kivo::test

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

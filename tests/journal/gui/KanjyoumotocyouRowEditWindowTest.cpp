// Correcting entries in the ledger window, offscreen: a cell edited in place, the
// row commands of its "機能" menu and the undo of a removal, with the open cash book
// following.
#include <QLineEdit>
#include <QUndoStack>

#include "entry/gui/SuitoucyouController.h"
#include "entry/gui/SuitoucyouView.h"
#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/KanjyoumotocyouController.h"

namespace kivo::test {
namespace {

using Column = KanjyoumotocyouTableModel::Column;

class KanjyoumotocyouRowEditWindowTest : public JournalWindowTest {
protected:
  KanjyoumotocyouController* openLedger(int32_t kamoku)
  {
    KanjyoumotocyouController* w = KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kamoku, -1);
    flush();
    activate(w);
    return w;
  }

  // Opens the cell of the selected row, types the text and presses Return.
  QLineEdit* type(KanjyoumotocyouController* w, int row, Column column, const QString& text)
  {
    w->tableView()->selectRow(row);
    w->tableView()->edit(w->tableModel()->index(row, w->tableModel()->indexOfColumn(column)));
    auto* editor = w->tableView()->findChild<QLineEdit*>();
    if (!editor) return nullptr;
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    flush();
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
  EXPECT_TRUE(w->isEditingCell());
  EXPECT_TRUE(w->isEditingShiwakeOfDenpyouNo(n));
  QTest::keyClick(w->tableView()->findChild<QLineEdit*>(), Qt::Key_Escape);
  flush();

  ASSERT_TRUE(type(w, 1, Column::KashikataKingaku, "1,200"));
  EXPECT_FALSE(w->isEditingCell());
  const ShiwakePtr e = books().journal().entriesOfDenpyouNo(n).front();
  EXPECT_EQ(e->kashikataKamokuCode(), kGenkin);
  EXPECT_EQ(e->karikataKingaku(), 1200);
  EXPECT_TRUE(session->isDocumentEdited());
  // The selection moving on refreshes the ledger and the book.
  w->tableView()->selectRow(0);
  flush();
  EXPECT_EQ(w->stringValue(1, Column::Zandaka), "-1,200");
  activate(book);  // a book in the background reckons its balances when it comes forward
  EXPECT_EQ(book->suitoucyouView()->delegate()->stringValue(book->book().rowOfShiwakeOfDenpyouNo(n),
                                                            SuitoucyouRow::ZandakaMatrix),
            "-1,200");
}

TEST_F(KanjyoumotocyouRowEditWindowTest, InvalidTextEndedByACommandIsRefused)
{
  openEntryBooks();
  addCashBookEntry(Date(2024, 4, 2), kGenkin, kUriagedaka, 1000, "売上");
  KanjyoumotocyouController* w = openLedger(kGenkin);
  struct Case {
    Column column;
    QString text;
    bool valid;
  };
  const Case cases[] = {
      {Column::Date, "", false},
      {Column::Date, "4/31", false},
      {Column::Date, "4/3", true},
      {Column::AiteKamoku, "999", false},
      {Column::AiteKamoku, "336", true},
      {Column::KarikataKingaku, "", false},
      {Column::KarikataKingaku, "x", false},
      {Column::KashikataKingaku, "", true},
      {Column::Tekiyou, "x", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    alerts.clear();
    w->tableView()->selectRow(1);
    w->tableView()->edit(w->tableModel()->index(1, w->tableModel()->indexOfColumn(c.column)));
    auto* editor = w->tableView()->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->setText(c.text);
    EXPECT_EQ(w->deselectEditingCell(), c.valid);
    EXPECT_EQ(lastAlertText(), c.valid ? QString() : KanjyoumotocyouController::kInvalidCellMessage);
    if (!c.valid) QTest::keyClick(editor, Qt::Key_Escape);
    flush();
  }
}

TEST_F(KanjyoumotocyouRowEditWindowTest, DuplicateRemoveAndUndo)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 500, "振替");
  const int32_t n = addCashBookEntry(Date(2024, 4, 2), kShoumouhinhi, kGenkin, 300, "文具");
  KanjyoumotocyouController* w = openLedger(kGenkin);
  const QAction* remove = w->functionMenuAction(QString::fromUtf8(KanjyoumotocyouController::kRemoveRowTitle));
  w->tableView()->selectRow(0);  // the opening balance
  w->validateMenuItems();
  EXPECT_FALSE(remove->isEnabled());

  w->tableView()->selectRow(1);  // a voucher line
  trigger(w, KanjyoumotocyouController::kRemoveRowTitle);
  EXPECT_EQ(lastAlertText(), KanjyoumotocyouController::kRemoveNotSuitoucyouMessage);

  w->tableView()->selectRow(2);
  trigger(w, KanjyoumotocyouController::kDuplicateRowTitle);
  EXPECT_EQ(w->stringValue(3, Column::Tekiyou), "文具");
  EXPECT_EQ(w->tableView()->selectedRow(), 3);
  EXPECT_TRUE(books().journal().carriesDenpyouNo(n + 1));

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

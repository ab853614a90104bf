// Keys held with Ctrl, as the window system delivers them (each with the control
// character its text carries), in the cells the user types into: a voucher's and a
// cash book's grid, with a cell in edit and with a cell only chosen, and a ledger's
// cell and table. None is read as the character: Ctrl+Y and Ctrl+Shift+Y (25, the
// back-tab), Ctrl+[
// (27, the escape) and Ctrl+I (9, the tab) leave the typing where it is, move nothing
// and open nothing, but where a menu gives the key a command of its own (the grids'
// 行の挿入 on Ctrl+I, the vouchers' 前の伝票 on Ctrl+[; Ctrl+M, 13, minimizes and
// Ctrl+C, 3, copies everywhere).
#include <QLineEdit>
#include <QTimer>

#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "journal/gui/CyouhyouTableView.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "platform/NotificationCenter.h"

namespace kivo::test {
namespace {

struct ControlKey {
  const char* what;
  Qt::Key key;
  char16_t carried;
  Qt::KeyboardModifiers modifiers = Qt::ControlModifier;
};

// Ctrl+Y is the redo key on some platforms (offscreen too), where the cell editors'
// undo rule takes it; Ctrl+Shift+Y carries the same character and is nobody's.
constexpr ControlKey kCtrlY{"Ctrl+Y", Qt::Key_Y, 25};
constexpr ControlKey kCtrlShiftY{"Ctrl+Shift+Y", Qt::Key_Y, 25, Qt::ControlModifier | Qt::ShiftModifier};
constexpr ControlKey kCtrlBracket{"Ctrl+[", Qt::Key_BracketLeft, 27};
constexpr ControlKey kCtrlI{"Ctrl+I", Qt::Key_I, 9};

class EntryGridControlKeysTest : public EntryWindowTest {
protected:
  // Types the key into the window as the window system does; a window that opens
  // modally meanwhile (a panel or picker the key should never have opened) is closed
  // and counted.
  void typeControlKey(QWidget* window, const ControlKey& k)
  {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        ++modalsOpened;
        modal->close();
      }
    });
    guard.start(300);
    QTest::sendKeyEvent(QTest::Click, window->windowHandle(), k.key, QString(QChar(k.carried)), k.modifiers);
    flush();
  }

  // The notifications a grid or a report table posted for keys typed on it.
  int postedKeys() const { return posted_; }
  void countPostedKeys()
  {
    QObject::connect(&NotificationCenter::defaultCenter(), &NotificationCenter::notificationPosted, app.get(),
                     [this](const NotificationCenter::Notification& n) {
                       if (n.name.endsWith(QStringLiteral("KeyDown"))) ++posted_;
                     });
  }

  int modalsOpened = 0;

private:
  int posted_ = 0;
};

TEST_F(EntryGridControlKeysTest, AKeyWithCtrlInAGridCellMovesNothingAndKeepsTheTyping)
{
  for (const bool voucher : {true, false})
    for (const ControlKey& k : {kCtrlY, kCtrlShiftY, kCtrlBracket})
      for (const bool editing : {true, false}) {
        if (voucher && k.key == kCtrlBracket.key) continue;  // 前の伝票
        SCOPED_TRACE(testing::Message() << (voucher ? "voucher" : "cash book") << ", " << k.what
                                        << (editing ? ", typed into the cell" : ", the cell chosen"));
        EntryWindowController* w = nullptr;
        EntryGridView* grid = nullptr;
        if (voucher) {
          auto* v = openVoucherWindow();
          w = v;
          grid = v->denpyouView();
        } else {
          auto* b = openBook();
          w = b;
          grid = b->suitoucyouView();
        }
        countPostedKeys();
        ASSERT_TRUE(grid->isEditing());
        // The date typed, Tab to the next cell, and something typed there.
        typeInGrid(grid, QStringLiteral("4/15"));
        ASSERT_TRUE(grid->isEditing());
        if (editing) {
          grid->fieldEditor()->selectAll();
          typeText(grid->fieldEditor(), QStringLiteral("10"));
        } else {
          grid->abortEditing();
          grid->setFocus();
          flush();
        }
        const int row = grid->selectedRow();
        const int column = grid->selectedMatrixId();
        const size_t entries = books().journal().size();
        const int posted = postedKeys();
        typeControlKey(w, k);
        EXPECT_EQ(std::pair(grid->selectedRow(), grid->selectedMatrixId()), std::pair(row, column));
        EXPECT_EQ(grid->isEditing(), editing);
        if (editing && grid->fieldEditor()) { EXPECT_EQ(grid->fieldEditor()->text(), QStringLiteral("10")); }
        EXPECT_EQ(books().journal().size(), entries);
        EXPECT_EQ(postedKeys(), posted);
        EXPECT_EQ(modalsOpened, 0);
        modalsOpened = 0;
        closeNow(session);
      }
}

TEST_F(EntryGridControlKeysTest, AKeyWithCtrlInALedgerCellOrTableMovesNothingAndKeepsTheTyping)
{
  openDocument();
  const int32_t n = books().kaisya().minAvailableDenpyouNo();
  books().kaisya().setMinAvailableDenpyouNo(n + 1);
  books().journal().append(makeCashEntry(Date(2024, 4, 2), n, kGenkin, kUriagedaka, 1000, "売上"));
  books().shiwakeArrayDidChange(false);
  auto* w = KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kGenkin, -1);
  shown(w);
  countPostedKeys();
  CyouhyouTableView* table = w->tableView();
  for (const ControlKey& k : {kCtrlY, kCtrlShiftY, kCtrlBracket, kCtrlI})
    for (const bool editing : {true, false}) {
      SCOPED_TRACE(testing::Message() << k.what << (editing ? ", typed into the cell" : ", the row chosen"));
      table->selectRow(1);
      table->setFocus();
      flush();
      QLineEdit* cell = nullptr;
      if (editing) {
        QTest::keyClick(table, Qt::Key_Space);  // the entry's date
        flush();
        cell = table->findChild<QLineEdit*>();
        ASSERT_TRUE(cell && w->isEditingCell());
        cell->selectAll();
        QTest::keyClicks(cell, QStringLiteral("4/3"));
      }
      QLineEdit* highlighted = w->selectedTextField();
      const int posted = postedKeys();
      typeControlKey(w, k);
      EXPECT_EQ(w->isEditingCell(), editing);
      if (editing && w->isEditingCell()) { EXPECT_EQ(table->findChild<QLineEdit*>()->text(), QStringLiteral("4/3")); }
      EXPECT_EQ(table->selectedRow(), 1);
      EXPECT_EQ(w->selectedTextField(), highlighted);
      EXPECT_EQ(postedKeys(), posted);
      EXPECT_EQ(modalsOpened, 0);
      modalsOpened = 0;
      if (w->isEditingCell()) QTest::keyClick(table->findChild<QLineEdit*>(), Qt::Key_Escape);
      flush();
    }
  EXPECT_EQ(books().journal().entriesOfDenpyouNo(n).front()->date().toString(), Date(2024, 4, 2).toString());
  closeNow(session);
}

}  // namespace
}  // namespace kivo::test

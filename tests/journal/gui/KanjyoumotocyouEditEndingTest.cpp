// How a correction typed into a ledger cell ends, offscreen: one rule however the cell
// was opened (Space, a click, a click and typing at once) and however the edit ends.
// The user's own end (Return, Tab, Back-tab, a click on another row, an arrow key)
// stores a valid text and keeps an invalid one in its cell, with the keyboard and the
// selection where they were; a command (a double click, a "機能" item, closing, another
// window coming forward or giving a command) refuses an invalid text with one alert
// and does not run. Nothing typed is lost but by Escape.
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QUndoStack>
#include <optional>
#include <tuple>

#include "app/DocumentInfoController.h"
#include "app/WindowCommands.h"
#include "document/gui/ReportTextExportSheet.h"
#include "entry/Suitoucyou.h"
#include "entry/gui/SuitoucyouController.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/KanjyoumotocyouTextWriter.h"
#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/PeriodController.h"
#include "platform/SheetController.h"
#include "platform/ShiftJisEncoder.h"
#include "support/RaiseWatch.h"
#include "support/TypedAhead.h"
#include "trial/Shisan.h"
#include "trial/gui/ZandakaShisanController.h"

namespace kivo::test {
namespace {

using Column = KanjyoumotocyouTableModel::Column;

enum class Opener { Space, Click, ClickAndType };
enum class End { Return, Enter, Tab, Backtab, ClickOnAnotherRow, Down, Up, PageDown, Command };

const char* nameOf(Opener o)
{
  switch (o) {
  case Opener::Space: return "Space";
  case Opener::Click: return "a click";
  case Opener::ClickAndType: return "a click and typing at once";
  }
  return "";
}

const char* nameOf(End e)
{
  switch (e) {
  case End::Return: return "Return";
  case End::Enter: return "Enter";
  case End::Command: return "a command";
  case End::Tab: return "Tab";
  case End::Backtab: return "Back-tab";
  case End::ClickOnAnotherRow: return "a click on another row";
  case End::Down: return "Down";
  case End::Up: return "Up";
  case End::PageDown: return "Page Down";
  }
  return "";
}

class KanjyoumotocyouEditEndingTest : public JournalWindowTest {
protected:
  void SetUp() override
  {
    JournalWindowTest::SetUp();
    // A click opens its cell once the time of a double click has passed: short here.
    doubleClickInterval_ = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(60);
    // The commands reach the windows as the application's do.
    WindowCommands::installCommandHandlers(app.get());
  }
  void TearDown() override
  {
    QApplication::setDoubleClickInterval(doubleClickInterval_);
    JournalWindowTest::TearDown();
  }

  // 普通預金's general ledger: 開始残高, a voucher line (4/10, みずほ銀行), two
  // cash-book entries (4/19 and 4/25, みずほ銀行), 4月合計, 合計. Answers the ledger.
  KanjyoumotocyouController* openYokinLedger()
  {
    openEntryBooks({.hojyoKamoku = true});
    voucher = registerVoucher(Date(2024, 4, 10), {VoucherLine{kFutsuuYokin, 800, kUriagedaka, 800, "振替", 1}});
    for (const auto& [date, tekiyou] : {std::pair(Date(2024, 4, 19), "預入"), std::pair(Date(2024, 4, 25), "入金")}) {
      const int32_t n = addCashBookEntry(date, kFutsuuYokin, kUriagedaka, 2000, tekiyou);
      const ShiwakePtr e = books().journal().entriesOfDenpyouNo(n).front();
      e->setKarikataHojyoKamokuCode(1);
      e->setAiteKarikataHojyoKamokuCode(1);
      cashEntries.push_back(n);
    }
    session->document().updateChangeCount(MyDocument::ChangeType::Cleared);
    KanjyoumotocyouController* w = openLedger(kFutsuuYokin);
    return w;
  }

  QPoint cellCenter(KanjyoumotocyouController* w, int row, Column column)
  {
    return w->tableView()->visualRect(w->tableModel()->index(row, w->tableModel()->indexOfColumn(column))).center();
  }

  QLineEdit* editor(KanjyoumotocyouController* w) const
  {
    return w->isEditingCell() ? w->tableView()->findChild<QLineEdit*>() : nullptr;
  }

  // Opens the cell the way the user does and types the text into it.
  QLineEdit* open(KanjyoumotocyouController* w, Opener opener, int row, Column column, const QString& text)
  {
    CyouhyouTableView* table = w->tableView();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cellCenter(w, row, Column::Tekiyou));
    flush();
    switch (opener) {
    case Opener::Space: QTest::keyClick(table, Qt::Key_Space); break;
    case Opener::Click:
      QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cellCenter(w, row, column),
                        2 * QApplication::doubleClickInterval());
      (void)QTest::qWaitFor([&] { return w->isEditingCell(); }, 20 * QApplication::doubleClickInterval());
      break;
    case Opener::ClickAndType:
      QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cellCenter(w, row, column),
                        2 * QApplication::doubleClickInterval());
      // The first key opens the cell and goes into it.
      QTest::keyClick(w->windowHandle(), text.at(0).toLatin1());
      flush();
      QTest::keyClicks(editor(w), text.mid(1));
      flush();
      return editor(w);
    }
    flush();
    QLineEdit* e = editor(w);
    if (e) {
      QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);  // the cell's text, chosen
      QTest::keyClicks(e, text);
    }
    flush();
    return e;
  }

  void end(KanjyoumotocyouController* w, End how, int otherRow)
  {
    QWidget* focus = QApplication::focusWidget();
    switch (how) {
    case End::Return: QTest::keyClick(focus, Qt::Key_Return); break;
    case End::Enter: QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier); break;
    case End::Command:
      // "表示する期間...": its sheet opens over the ledger, which stays main.
      w->validateMenuItems();
      w->functionMenuAction(QString::fromUtf8(KanjyoumotocyouController::kSetPeriodTitle))->trigger();
      break;
    case End::Tab: QTest::keyClick(focus, Qt::Key_Tab); break;
    case End::Backtab: QTest::keyClick(focus, Qt::Key_Backtab, Qt::ShiftModifier); break;
    case End::ClickOnAnotherRow:
      QTest::mouseClick(w->tableView()->viewport(), Qt::LeftButton, {}, cellCenter(w, otherRow, Column::Tekiyou),
                        2 * QApplication::doubleClickInterval());
      break;
    case End::Down: QTest::keyClick(focus, Qt::Key_Down); break;
    case End::Up: QTest::keyClick(focus, Qt::Key_Up); break;
    case End::PageDown: QTest::keyClick(focus, Qt::Key_PageDown); break;
    }
    flush();
  }

  // The alerts on screen, as a user sees them (no test responder).
  static std::vector<QMessageBox*> visibleAlerts()
  {
    std::vector<QMessageBox*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) shown.push_back(box);
    return shown;
  }

  // Whether the ledger shows the journal as it stands: the rows a fresh build gives,
  // each entry row on its entry, with its balance.
  ::testing::AssertionResult showsTheJournal(KanjyoumotocyouController* w)
  {
    const std::vector<Motocyou> rows =
        Kanjyoumotocyou::motocyouArray(books(), w->displayKamokuCode(), w->displayHojyoKamokuCode(),
                                       w->displayPeriodFromMonthArrayIndex(), w->displayPeriodToMonthArrayIndex());
    if (static_cast<int>(rows.size()) != w->numberOfRowsInTableView())
      return ::testing::AssertionFailure()
             << w->numberOfRowsInTableView() << " rows shown, " << rows.size() << " in the journal";
    const std::vector<ShiwakePtr>& sorted = books().journal().sortedByDate();
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
      const Motocyou& m = rows[static_cast<size_t>(i)];
      const ShiwakePtr entry = m.isShiwakeRow() ? sorted[static_cast<size_t>(m.indexOfSortedShiwakeArray())] : nullptr;
      if (w->shiwakeOfRow(i) != entry)
        return ::testing::AssertionFailure() << "row " << i << " shows another entry than the journal's";
      if (m.isShiwakeRow() &&
          w->stringValue(i, Column::Zandaka).toStdString() != books().kaisya().outputStringOfMemoryKingaku(m.zandaka()))
        return ::testing::AssertionFailure() << "row " << i << " shows another balance than the journal's";
    }
    return ::testing::AssertionSuccess();
  }

  void trigger(KanjyoumotocyouController* w, const char* title)
  {
    w->validateMenuItems();
    w->functionMenuAction(QString::fromUtf8(title))->trigger();
    flush();
  }

  int32_t voucher = 0;
  std::vector<int32_t> cashEntries;

private:
  int doubleClickInterval_ = 400;
};

// Every way the user ends an edit, every way of opening the cell, two kinds of cell: a
// cash-book entry's date and a voucher line's own sub-account (the only cell a voucher
// line offers). Rows: 0 開始残高, 1 voucher 4/10, 2 entry 4/19, 3 entry 4/25, 4 4月合計.
TEST_F(KanjyoumotocyouEditEndingTest, TheUserEndsAnEditTheSameWayHoweverTheCellWasOpened)
{
  struct Cell {
    const char* what;
    int row;
    Column column;
    QString invalid;
    QString valid;
  };
  const Cell cells[] = {
      {"a cash-book entry's date", 2, Column::Date, QStringLiteral("0230"), QStringLiteral("4/20")},
      {"a voucher line's sub-account", 1, Column::HojyoKamoku, QStringLiteral("99"), QStringLiteral("2")},
  };
  for (const Cell& cell : cells)
    for (const Opener opener : {Opener::Space, Opener::Click, Opener::ClickAndType})
      for (const End how :
           {End::Return, End::Tab, End::Backtab, End::ClickOnAnotherRow, End::Down, End::Up, End::PageDown})
        for (const bool valid : {false, true}) {
          SCOPED_TRACE(testing::Message() << cell.what << ", opened by " << nameOf(opener) << ", ended by "
                                          << nameOf(how) << (valid ? ", valid" : ", invalid"));
          KanjyoumotocyouController* w = openYokinLedger();
          const ShiwakePtr entry = w->shiwakeOfRow(cell.row);
          ASSERT_TRUE(entry);
          const Date date = entry->date();
          const int32_t hojyo = entry->karikataHojyoKamokuCode();
          const QString text = valid ? cell.valid : cell.invalid;
          QLineEdit* e = open(w, opener, cell.row, cell.column, text);
          ASSERT_TRUE(e);
          ASSERT_TRUE(w->isEditingShiwakeOfDenpyouNo(entry->denpyouNo()));
          ASSERT_EQ(e->text(), text);
          const int otherRow = cell.row == 1 ? 3 : 1;
          end(w, how, otherRow);

          if (!valid) {
            // The text stays in its cell, with the keyboard; the selection stays too.
            EXPECT_TRUE(w->isEditingShiwakeOfDenpyouNo(entry->denpyouNo()));
            EXPECT_EQ(editor(w) ? editor(w)->text() : QString(), text);
            EXPECT_EQ(QApplication::focusWidget(), editor(w));
            EXPECT_EQ(w->tableView()->selectedRow(), cell.row);
            EXPECT_TRUE(alerts.empty());
            EXPECT_EQ(std::pair(entry->date(), entry->karikataHojyoKamokuCode()), std::pair(date, hojyo));
            // Escape alone takes it back.
            QTest::keyClick(editor(w), Qt::Key_Escape);
            flush();
            EXPECT_FALSE(w->isEditingCell());
          } else {
            EXPECT_FALSE(w->isEditingCell());
            if (cell.column == Column::Date)
              EXPECT_EQ(entry->date().toString(), Date(2024, 4, 20).toString());
            else
              EXPECT_EQ(entry->karikataHojyoKamokuCode(), 2);
            // An arrow or a click goes on to the row the user chose; a key stays.
            const ShiwakePtr chosen = w->shiwakeOfRow(w->tableView()->selectedRow());
            if (how == End::ClickOnAnotherRow)
              EXPECT_EQ(chosen, w->shiwakeOfRow(otherRow));
            else if (how == End::Down)
              EXPECT_EQ(w->tableView()->selectedRow(), cell.row + 1);
            else if (how == End::Up)
              EXPECT_EQ(w->tableView()->selectedRow(), cell.row - 1);
            else if (how == End::PageDown)
              EXPECT_GT(w->tableView()->selectedRow(), cell.row);
            else
              EXPECT_EQ(chosen, entry);
          }
          closeNow(session);
        }
}

// A double click on another row ends a valid correction, as its first click does, and
// then opens that row's book or voucher, though the rows were built anew between the
// two clicks; no cell of that row opens behind it.
TEST_F(KanjyoumotocyouEditEndingTest, ADoubleClickOnAnotherRowStoresAValidCorrectionAndOpensThatRowsBook)
{
  for (const auto& [otherRow, kind] :
       {std::pair(1, DocumentWindow::Kind::Furikaedenpyou), std::pair(3, DocumentWindow::Kind::Suitoucyou)}) {
    SCOPED_TRACE(otherRow);
    KanjyoumotocyouController* w = openYokinLedger();
    const ShiwakePtr corrected = w->shiwakeOfRow(2);
    const ShiwakePtr other = w->shiwakeOfRow(otherRow);
    QLineEdit* e = open(w, Opener::Space, 2, Column::Date, QStringLiteral("4/20"));
    ASSERT_TRUE(e);
    // The first click, and the refresh it brings; then the second.
    QTest::mouseClick(w->tableView()->viewport(), Qt::LeftButton, {}, cellCenter(w, otherRow, Column::Date),
                      2 * QApplication::doubleClickInterval());
    flush();
    EXPECT_EQ(corrected->date().toString(), Date(2024, 4, 20).toString());
    const int row = w->tableView()->selectedRow();
    EXPECT_EQ(w->shiwakeOfRow(row), other);
    QTest::mouseDClick(w->tableView()->viewport(), Qt::LeftButton, {}, cellCenter(w, row, Column::Date));
    QTest::mouseRelease(w->tableView()->viewport(), Qt::LeftButton, {}, cellCenter(w, row, Column::Date));
    QTest::qWait(3 * QApplication::doubleClickInterval());
    EXPECT_EQ(windowCount(kind), 1);
    EXPECT_FALSE(w->isEditingCell());
    closeNow(session);
  }
}

// A click on the information window while a ledger cell holds a text the entry cannot
// take. Becoming main, the information window asks the ledger to end the edit, which
// brings the ledger forward with 「無効な仕訳」: the click does nothing else, whether it
// is the window manager that activates the window before passing the press on, or the
// press that makes it main without one; on the menu bar as on a button or a blank part.
// The alert shows above the ledger, and once answered the keyboard is back in the cell
// with its text.
TEST_F(KanjyoumotocyouEditEndingTest, AClickRefusedByAnInvalidTextDoesNothingButShowItsAlertAboveTheLedger)
{
  AlertSheet::setResponderForTesting({});
  enum class Target { MenuBar, Button, BlankPart };
  for (const bool windowManager : {true, false})
    for (const Target target : {Target::MenuBar, Target::Button, Target::BlankPart}) {
      SCOPED_TRACE(testing::Message() << (windowManager ? "activated first" : "no window manager") << ", target "
                                      << static_cast<int>(target));
      KanjyoumotocyouController* w = openYokinLedger();
      QLineEdit* e = open(w, Opener::Space, 2, Column::Date, QStringLiteral("99/99"));
      ASSERT_TRUE(e);
      auto* info = qobject_cast<DocumentInfoController*>(session->documentInfoController());
      ASSERT_TRUE(info && !info->isActiveWindow());
      QWidget* widget = nullptr;
      QPoint at;
      switch (target) {
      case Target::MenuBar:
        widget = info->menuBar();
        at = info->menuBar()->actionGeometry(info->menuBar()->actions().at(2)).center();
        break;
      case Target::Button:
        widget = info->buttonOfCommand(MainMenu::Command::ShowFurikaedenpyouWindow);
        at = widget->rect().center();
        break;
      case Target::BlankPart:
        widget = info->centralWidget();
        at = QPoint(4, widget->height() - 4);
        break;
      }
      const RaiseWatch stacking;
      if (windowManager) test::activateAhead(info);
      test::clickAhead(widget, at);
      flush();
      const std::vector<QMessageBox*> shown = visibleAlerts();
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(std::pair(shown[0]->windowTitle(), shown[0]->parentWidget()),
                std::pair(QString::fromUtf8(AlertSheet::kInvalidShiwakeTitle), static_cast<QWidget*>(w)));
      EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
      EXPECT_EQ(windowCount(DocumentWindow::Kind::Furikaedenpyou), 0);
      EXPECT_TRUE(stacking.lastOver(shown[0], w));
      // The same click again while the alert is shown.
      test::clickAhead(widget, at);
      flush();
      EXPECT_EQ(std::tuple(visibleAlerts().size(), QApplication::activePopupWidget(),
                           windowCount(DocumentWindow::Kind::Furikaedenpyou)),
                std::tuple(1u, nullptr, 0));
      QTest::keyClick(shown[0], Qt::Key_Return);
      EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == editor(w); }, 2000));
      EXPECT_EQ(editor(w) ? editor(w)->text() : QString(), QStringLiteral("99/99"));
      EXPECT_TRUE(visibleAlerts().empty());
      if (editor(w)) QTest::keyClick(editor(w), Qt::Key_Escape);
      flush();
      closeNow(session);
    }
}

// An invalid text that a command would end: one alert, however many commands and
// windows ask, the command does not run, and the text stays in its cell with the
// keyboard once the alert is answered. The alerts are shown as a user sees them.
TEST_F(KanjyoumotocyouEditEndingTest, ACommandRefusedByAnInvalidTextGivesOneAlertAndDoesNotRun)
{
  AlertSheet::setResponderForTesting({});
  enum class Command {
    DoubleClickOnAnotherRow,
    DuplicateRow,
    CloseWindow,
    InformationWindow,
    PropertiesFromThere,
    AnotherLedger
  };
  for (const Command command : {Command::DoubleClickOnAnotherRow, Command::DuplicateRow, Command::CloseWindow,
                                Command::InformationWindow, Command::PropertiesFromThere, Command::AnotherLedger}) {
    SCOPED_TRACE(static_cast<int>(command));
    KanjyoumotocyouController* w = openYokinLedger();
    WindowController* info = session->documentInfoController();
    const ShiwakePtr entry = w->shiwakeOfRow(2);
    const size_t entries = books().journal().size();
    // Each case reports on its own: a failure stops its own case, not the next.
    const auto runCase = [&] {
      QLineEdit* e = open(w, Opener::Space, 2, Column::Date, QStringLiteral("0230"));
      ASSERT_TRUE(e);
      QTest::keyClick(e, Qt::Key_Return);  // kept in its cell
      flush();

      for (int time = 0; time < 2; ++time) {
        SCOPED_TRACE(time == 0 ? "the first time" : "again, once the alert was answered");
        switch (command) {
        case Command::DoubleClickOnAnotherRow:
          QTest::mouseDClick(w->tableView()->viewport(), Qt::LeftButton, {}, cellCenter(w, 3, Column::Tekiyou),
                             2 * QApplication::doubleClickInterval());
          break;
        case Command::DuplicateRow:
          w->validateMenuItems();
          w->functionMenuAction(QString::fromUtf8(KanjyoumotocyouController::kDuplicateRowTitle))->trigger();
          break;
        case Command::CloseWindow: app->performCommand(MainMenu::Command::CloseWindow, nullptr); break;
        case Command::AnotherLedger:
          // 伝票・帳票 › 総勘定元帳／補助元帳: a new ledger, as this one shows an account.
          app->performCommand(MainMenu::Command::ShowKanjyoumotocyouWindow, nullptr);
          break;
        case Command::InformationWindow:
        case Command::PropertiesFromThere:
          // The click on the information window makes it main, which asks the ledger to
          // end its edit; the ledger comes forward with its alert, and the window system
          // then activates it.
          QApplication::setActiveWindow(info);
          flush();
          if (command == Command::PropertiesFromThere) {
            app->performCommand(MainMenu::Command::ShowPropertiesWindow, nullptr);
            flush();
          }
          QApplication::setActiveWindow(w);
          break;
        }
        flush();
        const std::vector<QMessageBox*> shown = visibleAlerts();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0]->windowTitle(), QString::fromUtf8(AlertSheet::kInvalidShiwakeTitle));
        EXPECT_EQ(shown[0]->parentWidget(), w);
        // The ledger is asked again while its alert is up: no second one.
        EXPECT_FALSE(session->deselectKanjyoumotocyouCellsOfAllShiwake());
        EXPECT_EQ(visibleAlerts().size(), 1u);
        shown[0]->button(QMessageBox::Ok) ? shown[0]->button(QMessageBox::Ok)->click() : shown[0]->accept();
        flush();
        EXPECT_TRUE(visibleAlerts().empty());
        if (command == Command::DoubleClickOnAnotherRow) {
          // The alert took the double click's release: the pointer moving on over the
          // rows reaches the table again.
          CyouhyouTableView* table = w->tableView();
          table->setMouseTracking(true);
          int entered = 0;
          const auto counting = QObject::connect(table, &QAbstractItemView::entered, [&entered] { ++entered; });
          const QPoint over = cellCenter(w, time == 0 ? 4 : 1, Column::Tekiyou);
          QMouseEvent move(QEvent::MouseMove, over, table->viewport()->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                           Qt::NoModifier);
          QApplication::sendEvent(table->viewport(), &move);
          EXPECT_EQ(entered, 1);
          QObject::disconnect(counting);
          table->setMouseTracking(false);
        }
        // Nothing ran; the text is where it was, with the keyboard.
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(windowCount(DocumentWindow::Kind::Suitoucyou) + windowCount(DocumentWindow::Kind::Furikaedenpyou), 0);
        EXPECT_EQ(windowCount(DocumentWindow::Kind::Kanjyoumotocyou), 1);
        EXPECT_EQ(app->mainWindowController(), w);
        EXPECT_EQ(books().journal().size(), entries);
        EXPECT_TRUE(w->isEditingShiwakeOfDenpyouNo(entry->denpyouNo()));
        EXPECT_EQ(editor(w) ? editor(w)->text() : QString(), QStringLiteral("0230"));
        QApplication::setActiveWindow(w);
        flush();
        EXPECT_EQ(QApplication::focusWidget(), editor(w));
      }
    };
    const QPointer<KanjyoumotocyouController> ledger = w;
    runCase();
    for (QMessageBox* box : visibleAlerts()) box->reject();
    flush();
    if (ledger && editor(ledger)) QTest::keyClick(editor(ledger), Qt::Key_Escape);
    flush();
    closeNow(session);
  }
}

// A cell opened and left as it was changes nothing of the document; a text typed into
// it counts as a change from its first key, as editing does.
TEST_F(KanjyoumotocyouEditEndingTest, ACellOpenedAndLeftAsItWasLeavesTheDocumentUnchanged)
{
  for (const Opener opener : {Opener::Space, Opener::Click})
    for (const bool typed : {false, true}) {
      SCOPED_TRACE(testing::Message() << nameOf(opener) << (typed ? ", typed" : ", nothing typed"));
      KanjyoumotocyouController* w = openYokinLedger();
      ASSERT_FALSE(session->document().isDocumentEdited());
      QLineEdit* e = open(w, opener, 2, Column::Date, typed ? QStringLiteral("4") : QString());
      ASSERT_TRUE(e);
      QTest::keyClick(e, Qt::Key_Escape);
      flush();
      EXPECT_FALSE(w->isEditingCell());
      EXPECT_EQ(session->document().isDocumentEdited(), typed);
      EXPECT_EQ(w->isWindowModified(), typed);
      closeNow(session);
    }
}

// The journal changing while a correction is typed (a cash book registering a row in
// another window) leaves the text in its cell; the ledger shows the change once the
// edit has ended.
TEST_F(KanjyoumotocyouEditEndingTest, AChangeOfTheJournalElsewhereWaitsForTheEditToEnd)
{
  for (const bool valid : {false, true}) {
    SCOPED_TRACE(valid ? "valid" : "invalid");
    KanjyoumotocyouController* w = openYokinLedger();
    const int rows = w->numberOfRowsInTableView();
    QPointer<QLineEdit> e =
        open(w, Opener::Space, 2, Column::Date, valid ? QStringLiteral("4/20") : QStringLiteral("0230"));
    ASSERT_TRUE(e);
    addCashBookEntry(Date(2024, 4, 12), kFutsuuYokin, kUriagedaka, 500, "追加");
    flush();
    ASSERT_TRUE(e);
    EXPECT_EQ(editor(w), e);
    EXPECT_EQ(e->text(), valid ? QStringLiteral("4/20") : QStringLiteral("0230"));
    QTest::keyClick(e, valid ? Qt::Key_Return : Qt::Key_Escape);
    flush();
    EXPECT_FALSE(w->isEditingCell());
    EXPECT_EQ(w->numberOfRowsInTableView(), rows + 1);
    closeNow(session);
  }
}

// A refresh put off for an edit runs when it ends, and then nothing more waits: a
// cell opened and left as it was afterwards rebuilds no rows.
TEST_F(KanjyoumotocyouEditEndingTest, ARefreshThatRanLeavesNothingWaitingForTheNextEdit)
{
  KanjyoumotocyouController* w = openYokinLedger();
  const int rows = w->numberOfRowsInTableView();
  QLineEdit* e = open(w, Opener::Space, 2, Column::Date, QString());
  ASSERT_TRUE(e);
  addCashBookEntry(Date(2024, 4, 12), kFutsuuYokin, kUriagedaka, 500, "追加");
  flush();
  QTest::keyClick(e, Qt::Key_Escape);
  flush();
  ASSERT_EQ(w->numberOfRowsInTableView(), rows + 1);

  QSignalSpy rebuilt(w->tableModel(), &QAbstractItemModel::modelReset);
  for (const End how : {End::Return, End::Tab}) {
    SCOPED_TRACE(nameOf(how));
    w->tableView()->selectRow(0);  // the cell's row is chosen by the click that opens it
    ASSERT_TRUE(open(w, Opener::Space, 2, Column::Date, QString()));
    end(w, how, 3);
    flush();
    EXPECT_FALSE(w->isEditingCell());
  }
  w->tableView()->selectRow(0);
  e = open(w, Opener::Space, 2, Column::Date, QString());
  ASSERT_TRUE(e);
  QTest::keyClick(e, Qt::Key_Escape);
  flush();
  EXPECT_EQ(rebuilt.count(), 0);
  closeNow(session);
}

// Undo and redo are commands like any other: with a cell open, however it was opened,
// from the menu or by their keys, they end its edit first (a cell left as it was ends
// without a word), so the entry they change back is never one under an open cell, and
// the rows show the journal after each. A text typed into the cell has already cleared
// the undo (the menu's items are off), and their keys then undo and redo the text in
// the cell.
TEST_F(KanjyoumotocyouEditEndingTest, UndoAndRedoEndTheEditFirstAndTheRowsShowTheJournal)
{
  enum class Typed { Nothing, Valid, Invalid };
  for (const Opener opener : {Opener::Space, Opener::Click, Opener::ClickAndType})
    for (const bool redo : {false, true})
      for (const Typed typed : {Typed::Nothing, Typed::Valid, Typed::Invalid})
        for (const bool byKeys : {false, true}) {
          // Typing is that opener's first key.
          if (opener == Opener::ClickAndType && typed == Typed::Nothing) continue;
          SCOPED_TRACE(testing::Message()
                       << (redo ? "やり直す" : "取り消す") << (byKeys ? " by its keys" : " from the menu")
                       << ", the cell opened by " << nameOf(opener) << ", "
                       << (typed == Typed::Nothing ? "untouched"
                           : typed == Typed::Valid ? "typed valid"
                                                   : "typed invalid"));
          KanjyoumotocyouController* w = openYokinLedger();
          const int32_t removed = cashEntries[0];
          w->tableView()->selectRow(2);  // the entry 4/19
          flush();
          trigger(w, KanjyoumotocyouController::kRemoveRowTitle);
          ASSERT_FALSE(books().journal().carriesDenpyouNo(removed));
          if (redo) {
            app->performCommand(MainMenu::Command::Undo, nullptr);
            flush();
            ASSERT_TRUE(books().journal().carriesDenpyouNo(removed));
          }
          // Row 2: the entry 4/25 after the removal, the entry 4/19 brought back by the undo.
          const ShiwakePtr edited = w->shiwakeOfRow(2);
          ASSERT_TRUE(edited);
          const QString text = typed == Typed::Nothing ? QString()
                               : typed == Typed::Valid ? QStringLiteral("4/28")
                                                       : QStringLiteral("0230");
          const QString shown =
              w->tableModel()->index(2, w->tableModel()->indexOfColumn(Column::Date)).data(Qt::EditRole).toString();
          w->tableView()->selectRow(0);  // the cell's row is chosen by the click that opens it
          flush();
          QLineEdit* e = open(w, opener, 2, Column::Date, text);
          ASSERT_TRUE(e);
          ASSERT_TRUE(w->isEditingShiwakeOfDenpyouNo(edited->denpyouNo()));
          const bool stacked = session->undoManager()->count() > 0;
          EXPECT_EQ(stacked, typed == Typed::Nothing);

          if (byKeys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                            redo ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
          else
            app->performCommand(redo ? MainMenu::Command::Redo : MainMenu::Command::Undo, nullptr);
          flush();
          EXPECT_TRUE(showsTheJournal(w));
          EXPECT_TRUE(alerts.empty());
          const bool ran = typed == Typed::Nothing;
          EXPECT_EQ(w->isEditingCell(), !ran);
          EXPECT_EQ(books().journal().carriesDenpyouNo(removed), ran != redo);
          // The undo key took the typing back; the cell has nothing to redo.
          if (!ran && byKeys) { EXPECT_EQ(editor(w)->text(), redo ? text : shown); }

          // The edit ends as the user ends it; the rows show the journal still.
          if (w->isEditingCell()) {
            if (typed == Typed::Valid && editor(w)->text() == text) {
              QTest::keyClick(editor(w), Qt::Key_Return);
              flush();
              EXPECT_EQ(edited->date().toString(), Date(2024, 4, 28).toString());
            } else {
              QTest::keyClick(editor(w), Qt::Key_Escape);
              flush();
            }
          }
          EXPECT_FALSE(w->isEditingCell());
          w->tableView()->selectRow(0);  // the selection moving on passes the correction on
          flush();
          EXPECT_TRUE(showsTheJournal(w));
          closeNow(session);
        }
}

// A change of the journal that reaches a ledger while one of its cells is in edit
// (here the document's own undo, run by whatever calls it) waits for the edit's end,
// and then runs, however the edit ends: the rows never keep showing an entry that is
// gone or miss one that came back.
TEST_F(KanjyoumotocyouEditEndingTest, AChangeThatWaitedForTheEditRunsWhenItEnds)
{
  for (const End how : {End::Return, End::ClickOnAnotherRow, End::Down})
    for (const bool redo : {false, true}) {
      SCOPED_TRACE(testing::Message() << (redo ? "redo" : "undo") << ", the edit ended by " << nameOf(how));
      KanjyoumotocyouController* w = openYokinLedger();
      w->tableView()->selectRow(2);
      flush();
      trigger(w, KanjyoumotocyouController::kRemoveRowTitle);
      if (redo) {
        session->undoManager()->undo();
        flush();
      }
      w->tableView()->selectRow(0);
      flush();
      QPointer<QLineEdit> e = open(w, Opener::Space, 1, Column::HojyoKamoku, QString());
      ASSERT_TRUE(e);
      redo ? session->undoManager()->redo() : session->undoManager()->undo();
      flush();
      // The cell stays as it was, with the keyboard.
      EXPECT_EQ(editor(w), e);
      EXPECT_EQ(QApplication::focusWidget(), e.data());
      end(w, how, 3);
      EXPECT_FALSE(w->isEditingCell());
      EXPECT_TRUE(showsTheJournal(w));
      closeNow(session);
    }
}

// A double click right after a correction that moves its row (4/19 typed as 4/27, then
// a double click on the entry 4/25): the first click stores the correction, and the
// rows are built anew before the second; the double click opens the book of the entry
// its first click chose, which stays selected, whatever row then lies under the pointer.
TEST_F(KanjyoumotocyouEditEndingTest, ADoubleClickActsOnTheEntryItsFirstClickChoseThoughTheRowsMoved)
{
  KanjyoumotocyouController* w = openYokinLedger();
  const ShiwakePtr corrected = w->shiwakeOfRow(2);
  const ShiwakePtr chosen = w->shiwakeOfRow(3);
  ASSERT_TRUE(open(w, Opener::Space, 2, Column::Date, QStringLiteral("4/27")));
  const QPoint at = cellCenter(w, 3, Column::Tekiyou);
  QTest::mouseClick(w->tableView()->viewport(), Qt::LeftButton, {}, at);
  flush();
  ASSERT_EQ(corrected->date().toString(), Date(2024, 4, 27).toString());
  ASSERT_EQ(w->shiwakeOfRow(3), corrected);  // the rows moved under the pointer
  EXPECT_EQ(w->shiwakeOfRow(w->tableView()->selectedRow()), chosen);
  QTest::mouseDClick(w->tableView()->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(w->tableView()->viewport(), Qt::LeftButton, {}, at);
  QTest::qWait(3 * QApplication::doubleClickInterval());
  flush();
  ASSERT_EQ(windowCount(DocumentWindow::Kind::Suitoucyou), 1);
  auto* book = qobject_cast<SuitoucyouController*>(
      session->suitoucyouControllerOfKamokuCode(kFutsuuYokin, chosen->karikataHojyoKamokuCode()));
  ASSERT_TRUE(book);
  EXPECT_EQ(book->book().selectDenpyouNo(), chosen->denpyouNo());
  EXPECT_EQ(w->shiwakeOfRow(w->tableView()->selectedRow()), chosen);
  EXPECT_FALSE(w->isEditingCell());
  closeNow(session);
}

// A command of the ledger's own menu right after a correction that moves its row (the
// entry 4/19 dated 4/27, ended by Return, the selection left where it is): the command
// works on the rows as corrected, and so the text export writes what the journal holds.
TEST_F(KanjyoumotocyouEditEndingTest, TheLedgersOwnCommandsActOnTheRowsAsCorrected)
{
  KanjyoumotocyouController* w = openYokinLedger();
  QLineEdit* e = open(w, Opener::Space, 2, Column::Date, QStringLiteral("4/27"));
  ASSERT_TRUE(e);
  QTest::keyClick(e, Qt::Key_Return);
  flush();
  ASSERT_FALSE(w->isEditingCell());
  const QString exported = path("shown.txt");
  ReportTextExportSheet::setResponderForTesting([&](int32_t, int32_t& kugiri) {
    kugiri = 0;
    return exported;
  });
  trigger(w, KanjyoumotocyouController::kSaveToTextFileTitle);
  ReportTextExportSheet::setResponderForTesting({});
  const std::string journal = QFile::encodeName(path("journal.txt")).toStdString();
  ASSERT_TRUE(
      KanjyoumotocyouTextWriter(books(), ShiwakeTextWriter::Kugiri::Tab)
          .write(Kanjyoumotocyou::motocyouArray(books(), kFutsuuYokin, -1, w->displayPeriodFromMonthArrayIndex(),
                                                w->displayPeriodToMonthArrayIndex()),
                 journal, ShiftJisEncoder::encoder(), {})
          .ok());
  QFile shown(exported), held(path("journal.txt"));
  ASSERT_TRUE(shown.open(QIODevice::ReadOnly) && held.open(QIODevice::ReadOnly));
  EXPECT_EQ(shown.readAll(), held.readAll());
  EXPECT_TRUE(showsTheJournal(w));
  closeNow(session);
}

// The windows a correction must reach beside the ledger it is typed in: the other
// ledger of 普通預金 (the sub ledger みずほ銀行 beside the general ledger, or the
// general ledger beside the sub ledger), the cash books of both banks, the trial
// balance and the journal of every entry.
struct Beside {
  KanjyoumotocyouController* otherLedger = nullptr;
  std::vector<SuitoucyouController*> books;
  ZandakaShisanController* trial = nullptr;
  ShiwakenikkiController* journal = nullptr;
};

class KanjyoumotocyouCorrectionShownTest : public KanjyoumotocyouEditEndingTest {
protected:
  // The ledger to correct (the general ledger, or the sub ledger of みずほ銀行) with
  // the windows beside it open, and the ledger in front.
  KanjyoumotocyouController* openWithWindowsBeside(bool subLedger, Beside& beside)
  {
    KanjyoumotocyouController* general = openYokinLedger();
    auto* sub = new KanjyoumotocyouController(session);
    session->addWindowController(sub);
    sub->moveWindowToInitialPositionWithDisplay(true);
    sub->showWindow();
    sub->setDisplayKamokuCode(kFutsuuYokin);
    sub->setDisplayHojyoKamokuCode(1);
    sub->updateAfterSelectDisplayingKamoku();
    flush();
    for (const int32_t hojyo : {1, 2}) {
      beside.books.push_back(SuitoucyouController::showSuitoucyouWindow(session, kFutsuuYokin, hojyo));
      flush();
    }
    activate(session->documentInfoController());
    app->performCommand(MainMenu::Command::ShowZandakaShisanWindow, nullptr);
    flush();
    for (DocumentWindowController* wc : session->windowControllers())
      if (auto* t = qobject_cast<ZandakaShisanController*>(wc)) beside.trial = t;
    beside.journal = openJournalOfEveryEntry();
    KanjyoumotocyouController* w = subLedger ? sub : general;
    beside.otherLedger = subLedger ? general : sub;
    activate(w);
    return w;
  }

  // Whether the cash book shows the journal as it stands: the registered entries of the
  // book in the journal's order, each row as its entry now reads (a book in the
  // background reckons its balances only when it comes forward).
  ::testing::AssertionResult bookShowsTheJournal(SuitoucyouController* book)
  {
    const Suitoucyou& shown = book->book();
    std::vector<int32_t> held, rows;
    for (const ShiwakePtr& e : books().journal())
      if (e->denpyouNo() > 0 && shown.belongsToBook(*e)) held.push_back(e->denpyouNo());
    for (int r = 0; r < shown.numberOfSuitoucyouRows(); ++r) {
      if (shown.row(r).denpyouNo > 0) rows.push_back(shown.row(r).denpyouNo);
      if (shown.isStaleRow(r))
        return ::testing::AssertionFailure() << "book row " << r << " reads otherwise than its entry";
    }
    if (held != rows)
      return ::testing::AssertionFailure()
             << "the cash book of " << shown.displayHojyoKamokuCode() << " shows other entries than the journal's";
    return ::testing::AssertionSuccess();
  }

  // Whether the trial balance's totals of the accounts are the journal's.
  ::testing::AssertionResult trialShowsTheJournal(ZandakaShisanController* trial)
  {
    for (const int32_t kamoku : {kFutsuuYokin, kUriagedaka, kShoumouhinhi}) {
      int64_t kari = 0, kashi = 0;
      for (const ShiwakePtr& e : books().journal()) {
        if (e->karikataKamokuCode() == kamoku) kari += e->karikataKingaku();
        if (e->kashikataKamokuCode() == kamoku) kashi += e->kashikataKingaku();
      }
      std::optional<std::pair<int64_t, int64_t>> shown;
      for (const auto* section :
           {&trial->taisyakuTaisyouShisanArray(), &trial->sonekiKeisanShisanArray(), &trial->seizouGenkaShisanArray()})
        for (const Shisan& row : *section)
          if (row.kamokuCode() == kamoku && !shown) shown = std::pair(row.karikataGoukei(), row.kashikataGoukei());
      if (shown.value_or(std::pair<int64_t, int64_t>(0, 0)) != std::pair(kari, kashi))
        return ::testing::AssertionFailure() << "the trial balance's totals of " << kamoku << " are not the journal's";
    }
    return ::testing::AssertionSuccess();
  }

  ::testing::AssertionResult journalShowsTheJournal(ShiwakenikkiController* journal)
  {
    std::vector<ShiwakePtr> held;
    for (const ShiwakePtr& e : books().journal().sortedByDate())
      if (e->kindOfShiwake() != ShiwakeKind::SuitoucyouNoAmount) held.push_back(e);
    if (journal->displayShiwakeArray() != held)
      return ::testing::AssertionFailure() << "the journal window shows the entries in another order or set";
    return ::testing::AssertionSuccess();
  }

  ::testing::AssertionResult allShowTheJournal(KanjyoumotocyouController* w, const Beside& beside)
  {
    for (KanjyoumotocyouController* ledger : {w, beside.otherLedger})
      if (::testing::AssertionResult r = showsTheJournal(ledger); !r) return r;
    for (SuitoucyouController* book : beside.books)
      if (::testing::AssertionResult r = bookShowsTheJournal(book); !r) return r;
    if (::testing::AssertionResult r = trialShowsTheJournal(beside.trial); !r) return r;
    return journalShowsTheJournal(beside.journal);
  }
};

// A stored correction shows at once, in the ledger it was typed in and every window
// beside it, once no cell is open any more, however the edit ended; the corrected entry
// stays chosen wherever it now stands (unless the user chose another row, or it left
// the ledger). Return and Enter show it before the next key is read.
TEST_F(KanjyoumotocyouCorrectionShownTest, AStoredCorrectionShowsAtOnceInEveryWindow)
{
  struct Correction {
    const char* what;
    bool subLedger;
    Column column;
    QString text;
  };
  // Row 2 in both ledgers: the cash-book entry 4/19 of みずほ銀行, 2,000 from 売上高.
  const Correction corrections[] = {
      {"an amount", false, Column::KarikataKingaku, QStringLiteral("2,500")},
      {"a date that moves the row", false, Column::Date, QStringLiteral("4/26")},
      {"a counter account", false, Column::AiteKamoku, QString::number(kShoumouhinhi)},
      {"a sub-account that takes the entry out of the sub ledger", false, Column::HojyoKamoku, QStringLiteral("2")},
      {"an amount in the sub ledger", true, Column::KarikataKingaku, QStringLiteral("2,500")},
      {"a date in the sub ledger", true, Column::Date, QStringLiteral("4/26")},
      {"a counter account in the sub ledger", true, Column::AiteKamoku, QString::number(kShoumouhinhi)},
  };
  for (const Correction& c : corrections)
    for (const End how : {End::Return, End::Enter, End::ClickOnAnotherRow, End::Command}) {
      SCOPED_TRACE(testing::Message() << c.what << ", ended by " << nameOf(how));
      Beside beside;
      KanjyoumotocyouController* w = openWithWindowsBeside(c.subLedger, beside);
      const ShiwakePtr corrected = w->shiwakeOfRow(2);
      const ShiwakePtr other = w->shiwakeOfRow(1);
      ASSERT_TRUE(corrected && other);
      ASSERT_TRUE(allShowTheJournal(w, beside));
      QLineEdit* e = open(w, Opener::Click, 2, c.column, c.text);
      ASSERT_TRUE(e);
      if (how == End::Return || how == End::Enter) {
        QTest::keyClick(e, how == End::Return ? Qt::Key_Return : Qt::Key_Enter);
        // Before the next key: the rows are the corrected books' already.
        EXPECT_TRUE(showsTheJournal(w));
        flush();
      } else {
        end(w, how, 1);
      }
      EXPECT_FALSE(w->isEditingCell());
      EXPECT_TRUE(session->document().isDocumentEdited());
      EXPECT_TRUE(allShowTheJournal(w, beside));
      const ShiwakePtr selected = w->shiwakeOfRow(w->tableView()->selectedRow());
      if (how == End::ClickOnAnotherRow)
        EXPECT_EQ(selected, other);
      else
        EXPECT_EQ(selected, corrected);
      if (how == End::Command)
        if (auto* sheet = SheetController::attachedSheet(w)) sheet->abortSheet();
      closeNow(session);
    }
}

// Every way a cell is opened and every way its edit ends: a date that moves the entry
// past the next one shows at once in every window, the entry chosen where it now stands
// (an arrow or a click goes on from the rows as they were shown).
TEST_F(KanjyoumotocyouCorrectionShownTest, EveryOpeningAndEveryEndingShowsTheCorrectionAtOnce)
{
  for (const Opener opener : {Opener::Space, Opener::Click, Opener::ClickAndType})
    for (const End how : {End::Return, End::Enter, End::Tab, End::Backtab, End::Down, End::Up, End::PageDown,
                          End::ClickOnAnotherRow, End::Command}) {
      SCOPED_TRACE(testing::Message() << "opened by " << nameOf(opener) << ", ended by " << nameOf(how));
      Beside beside;
      KanjyoumotocyouController* w = openWithWindowsBeside(false, beside);
      const ShiwakePtr corrected = w->shiwakeOfRow(2);
      const ShiwakePtr next = w->shiwakeOfRow(3);
      const ShiwakePtr above = w->shiwakeOfRow(1);
      QLineEdit* e = open(w, opener, 2, Column::Date, QStringLiteral("4/26"));
      ASSERT_TRUE(e);
      end(w, how, 1);
      EXPECT_FALSE(w->isEditingCell());
      EXPECT_EQ(corrected->date().toString(), Date(2024, 4, 26).toString());
      EXPECT_EQ(w->shiwakeOfRow(2), next) << "the entry moved past the next one";
      EXPECT_TRUE(allShowTheJournal(w, beside));
      const ShiwakePtr selected = w->shiwakeOfRow(w->tableView()->selectedRow());
      switch (how) {
      case End::Down: EXPECT_EQ(selected, next); break;
      case End::Up:
      case End::ClickOnAnotherRow: EXPECT_EQ(selected, above); break;
      case End::PageDown: EXPECT_NE(selected, above); break;
      default: EXPECT_EQ(selected, corrected);
      }
      if (auto* sheet = SheetController::attachedSheet(w)) sheet->abortSheet();
      closeNow(session);
    }
}

// Going on into another cell of the same row (a click on it) keeps the rows as they
// are until that cell's edit ends too, however it ends; then everything shows the
// corrections at once.
TEST_F(KanjyoumotocyouCorrectionShownTest, TheRefreshWaitsWhileTheUserGoesOnInTheSameRow)
{
  for (const End how : {End::Return, End::Command}) {
    for (const bool escape : {false, true}) {
      SCOPED_TRACE(testing::Message() << "the second cell ended by " << (escape ? "Escape" : nameOf(how)));
      Beside beside;
      KanjyoumotocyouController* w = openWithWindowsBeside(false, beside);
      const ShiwakePtr corrected = w->shiwakeOfRow(2);
      QLineEdit* e = open(w, Opener::Click, 2, Column::KarikataKingaku, QStringLiteral("2,500"));
      ASSERT_TRUE(e);
      QSignalSpy rebuilt(w->tableModel(), &QAbstractItemModel::modelReset);
      // A click on the date of the same row: the amount is stored, the date opens.
      QTest::mouseClick(w->tableView()->viewport(), Qt::LeftButton, {}, cellCenter(w, 2, Column::Date),
                        2 * QApplication::doubleClickInterval());
      ASSERT_TRUE(QTest::qWaitFor([&] { return w->isEditingCell(); }, 20 * QApplication::doubleClickInterval()));
      EXPECT_EQ(corrected->karikataKingaku(), 2500);
      EXPECT_TRUE(w->isEditingShiwakeOfDenpyouNo(corrected->denpyouNo()));
      EXPECT_EQ(rebuilt.count(), 0);
      EXPECT_FALSE(bookShowsTheJournal(beside.books[0]));
      QLineEdit* date = editor(w);
      ASSERT_TRUE(date);
      QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(date, QStringLiteral("4/26"));
      if (escape)
        QTest::keyClick(date, Qt::Key_Escape);
      else
        end(w, how, 1);
      flush();
      EXPECT_FALSE(w->isEditingCell());
      EXPECT_EQ(corrected->date().toString(), (escape ? Date(2024, 4, 19) : Date(2024, 4, 26)).toString());
      EXPECT_TRUE(allShowTheJournal(w, beside));
      EXPECT_EQ(w->shiwakeOfRow(w->tableView()->selectedRow()), corrected);
      if (auto* sheet = SheetController::attachedSheet(w)) sheet->abortSheet();
      closeNow(session);
    }
  }
}

// A correction stored by a press on the table that opens no other cell (the row's
// balance): the rows stay still while the button is held, events running meanwhile,
// and everything shows the correction once the click is over.
TEST_F(KanjyoumotocyouCorrectionShownTest, ACorrectionStoredByAPressShowsOnceTheClickEnds)
{
  Beside beside;
  KanjyoumotocyouController* w = openWithWindowsBeside(false, beside);
  const ShiwakePtr corrected = w->shiwakeOfRow(2);
  ASSERT_TRUE(open(w, Opener::Click, 2, Column::KarikataKingaku, QStringLiteral("2,500")));
  QSignalSpy rebuilt(w->tableModel(), &QAbstractItemModel::modelReset);
  QWidget* viewport = w->tableView()->viewport();
  const QPoint balance = cellCenter(w, 2, Column::Zandaka);
  QTest::mousePress(viewport, Qt::LeftButton, {}, balance, 2 * QApplication::doubleClickInterval());
  flush();
  EXPECT_EQ(std::tuple(w->isEditingCell(), corrected->karikataKingaku(), rebuilt.count()), std::tuple(false, 2500, 0));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, balance);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return bool(allShowTheJournal(w, beside)); }, 20 * QApplication::doubleClickInterval()));
  EXPECT_FALSE(w->isEditingCell());
  EXPECT_EQ(w->shiwakeOfRow(w->tableView()->selectedRow()), corrected);
  closeNow(session);
}

// The period sheet chooses the rows from the top only when a period is chosen: one
// cancelled leaves the selection to the next refresh, and a correction ended afterwards
// keeps its entry chosen.
TEST_F(KanjyoumotocyouCorrectionShownTest, APeriodSheetCancelledLeavesTheCorrectedEntryChosen)
{
  for (const bool chosen : {false, true}) {
    SCOPED_TRACE(chosen ? "a period chosen" : "the sheet cancelled");
    KanjyoumotocyouController* w = openYokinLedger();
    w->tableView()->selectRow(3);
    flush();
    trigger(w, KanjyoumotocyouController::kSetPeriodTitle);
    auto* sheet = PeriodController::periodControllerOfDocument(session);
    ASSERT_TRUE(sheet->isSheetAttached());
    (chosen ? static_cast<QAbstractButton*>(sheet->okButton()) : sheet->cancelButton())->click();
    flush();
    EXPECT_EQ(w->tableView()->selectedRow(), chosen ? 0 : 3);
    const ShiwakePtr corrected = w->shiwakeOfRow(2);
    QLineEdit* e = open(w, Opener::Click, 2, Column::KarikataKingaku, QStringLiteral("2,500"));
    ASSERT_TRUE(e);
    QTest::keyClick(e, Qt::Key_Return);
    flush();
    EXPECT_TRUE(showsTheJournal(w));
    EXPECT_EQ(w->shiwakeOfRow(w->tableView()->selectedRow()), corrected);
    closeNow(session);
  }
}

}  // namespace
}  // namespace kivo::test

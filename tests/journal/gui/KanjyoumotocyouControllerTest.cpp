// The ledger window over registered vouchers, offscreen: its rows as the user reads
// them, its columns, the refresh rule, the keys of its table, shortcuts and periods.
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QWindow>

#include "app/SetupCommands.h"
#include "app/WindowCommands.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "fields/gui/ModalDriver.h"
#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "setup/gui/TekiyouListController.h"

namespace kivo::test {
namespace {

using Column = KanjyoumotocyouTableModel::Column;

class KanjyoumotocyouControllerTest : public JournalWindowTest {
protected:
  static QStringList column(const KanjyoumotocyouController* w, Column c)
  {
    QStringList out;
    for (int r = 0; r < w->numberOfRowsInTableView(); ++r) out << w->stringValue(r, c);
    return out;
  }

  void pressInTable(KanjyoumotocyouController* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    QTest::keyClick(w->tableView(), key, modifiers);
    flush();
  }
};

TEST_F(KanjyoumotocyouControllerTest, TheCashLedgerReadsAsTheBookKeeperWritesIt)
{
  openEntryBooks();
  // The cash book of the acceptance case: 50,000 brought forward, two April entries
  // and one in May, and entries the ledger must leave out.
  books().kamokuOfCode(kGenkin)->setStartBalance(50000, Jigyoubu::kAllJigyoubuCode);
  registerVoucher(Date(2024, 4, 5), kGenkin, kUriagedaka, 10000, "4月の売上");
  registerVoucher(Date(2024, 4, 10), kShoumouhinhi, kFutsuuYokin, 999, "振込手数料");
  registerVoucher(Date(2024, 4, 20), kShoumouhinhi, kGenkin, 3000, "文具");
  registerVoucher(Date::regularTypeDenpyouDate(), kGenkin, kUriagedaka, 777, "定型");
  addPendingCashBookRow(Date(2024, 4, 25));
  registerVoucher(Date(2024, 5, 10), kGenkin, kUriagedaka, 20000, "5月の売上");
  KanjyoumotocyouController* w = openLedger(kGenkin);

  EXPECT_EQ(column(w, Column::Tekiyou),
            (QStringList{"開始残高", "4月の売上", "文具", "　4月合計", "5月の売上", "　5月合計", "　合計"}));
  EXPECT_EQ(column(w, Column::Zandaka), (QStringList{"50,000", "60,000", "57,000", "", "77,000", "", ""}));
  EXPECT_EQ(
      std::tuple(w->isTotalRow(3, *w->tableView()), w->isTotalRow(2, *w->tableView()), w->tableView()->selectedRow()),
      std::tuple(true, false, 0));

  EXPECT_EQ(std::tuple(w->displayingKamokuField()->text(), w->displayingPeriodFromField()->text(),
                       w->displayingPeriodToField()->text()),
            std::tuple(QString("現金"), QString("4月"), QString("決算整理月")));
  EXPECT_EQ(w->windowTitle(), "名称未設定 - 総勘定元帳[*]");
  EXPECT_TRUE(listedInWindowMenu("総勘定元帳 - 現金"));

  // October to December: no entries, exactly the opening balance and the total.
  w->setDisplayPeriodFromMonthArrayIndex(6);
  w->setDisplayPeriodToMonthArrayIndex(8);
  w->updateDisplayPeriodUI();
  EXPECT_EQ(column(w, Column::Tekiyou), (QStringList{"開始残高", "　合計"}));
  EXPECT_EQ(column(w, Column::Zandaka), (QStringList{"77,000", ""}));
  EXPECT_EQ(std::pair(w->displayingPeriodFromField()->text(), w->displayingPeriodToField()->text()),
            std::pair(QString("10月"), QString("12月")));

  // In the background the ledger changes only when it becomes main again.
  w->setDisplayPeriodFromMonthArrayIndex(0);
  w->updateDisplayPeriodUI();
  ASSERT_EQ(w->numberOfRowsInTableView(), 7);
  activate(session->documentInfoController());
  setAutoUpdate(false);
  registerVoucher(Date(2024, 6, 1), kGenkin, kUriagedaka, 1000, "6月の売上");
  EXPECT_EQ(std::tuple(w->numberOfRowsInTableView(), w->doNeedUpdate()), std::tuple(7, true));
  // What it shows stays what it showed, although the journal was sorted anew.
  EXPECT_EQ(w->stringValue(4, Column::Tekiyou), "5月の売上");
  activate(w);
  EXPECT_EQ(std::tuple(w->numberOfRowsInTableView(), w->doNeedUpdate()), std::tuple(9, false));
  EXPECT_EQ(w->stringValue(7, Column::Tekiyou), "　6月合計");
}

TEST_F(KanjyoumotocyouControllerTest, PrecisionAmountsFitTheColumnsDatesChooseMonthsAndEntriesOpenTheirBook)
{
  openEntryBooks();
  const int64_t most = Kaisya::kMaxInputAmountValue;
  for (int i = 0; i < 11; ++i) registerVoucher(Date(2024, 4, 1 + i), kGenkin, kUriagedaka, most);
  KanjyoumotocyouController* w = openLedger(kGenkin);
  const QStringList debit = column(w, Column::KarikataKingaku);
  const QStringList balance = column(w, Column::Zandaka);
  ASSERT_EQ(debit.size(), 14);  // opening, eleven entries, April, total
  // Never the frozen limit as if it were the sum.
  EXPECT_EQ((QStringList{debit[1], balance[10], balance[11], debit[12], debit[13]}),
            (QStringList{"99,999,999,999", "999,999,999,990", "#Precision!", "#Precision!", "#Precision!"}));

  // Every amount column shows the largest figure the output limit allows, uncut.
  const Kaisya& kaisya = books().kaisya();
  const QString largest =
      QString::fromStdString("-" + kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
  const int needed = QFontMetrics(w->tableView()->font()).horizontalAdvance(largest);
  for (Column c : {Column::KarikataKingaku, Column::KashikataKingaku, Column::Zandaka}) {
    const int section = w->tableModel()->indexOfColumn(c);
    ASSERT_GE(section, 0);
    EXPECT_GT(w->tableView()->horizontalHeader()->sectionSize(section), needed) << static_cast<int>(c);
  }

  // A date typed for a period field chooses its month.
  const int32_t count = static_cast<int32_t>(kaisya.monthArray().size());
  // Which field, the date, the months chosen.
  const std::tuple<bool, Date, int32_t, int32_t> cases[] = {
      {true, Date(2024, 7, 15), 3, count},
      {false, Date(2024, 5, 31), 1, 1},  // the "to" month pulls "from" back
      {true, Date::kessanSeiridukiDate(), count, count},
      {false, Date(2024, 4, 1), 0, 0},
      {true, Date(2030, 1, 1), 0, 0},  // a date of no month changes nothing
  };
  for (const auto& [fromField, date, from, to] : cases) {
    w->setPeriodFieldToDate(fromField ? w->displayingPeriodFromField() : w->displayingPeriodToField(), date);
    EXPECT_EQ(std::pair(w->displayPeriodFromMonthArrayIndex(), w->displayPeriodToMonthArrayIndex()),
              std::pair(from, to))
        << date.toString();
  }
  EXPECT_EQ(w->displayingPeriodFromField()->text(), "4月");

  // A cash-book entry opens the book of the shown account.
  const int32_t n = addCashBookEntry(Date(2024, 4, 2), kGenkin, kFutsuuYokin, 300, "預金引出");
  // The ledger of 普通預金, a cash account too: the book is the shown account's.
  KanjyoumotocyouController* yokin = openLedger(kFutsuuYokin);
  yokin->tableView()->selectRow(1);
  yokin->showInputShiwakeWindow();
  flush();
  auto* book = qobject_cast<SuitoucyouController*>(session->suitoucyouControllerOfKamokuCode(kFutsuuYokin, -1));
  EXPECT_EQ(book->selectedSuitoucyouRow(), book->book().rowOfShiwakeOfDenpyouNo(n));
  // Balance and total rows open nothing.
  activate(yokin);
  yokin->tableView()->selectRow(0);
  yokin->showInputShiwakeWindow();
  flush();
  EXPECT_FALSE(session->suitoucyouControllerOfKamokuCode(kGenkin, -1));
}

TEST_F(KanjyoumotocyouControllerTest, TheColumnsAndFieldsAreThoseTheBooksUse)
{
  // The books, the created-by setting, the columns and whether the sub-account field shows.
  const std::tuple<const char*, BooksOptions, bool, std::vector<Column>, bool> cases[] = {
      {"plain books",
       {},
       false,
       {Column::Date, Column::AiteKamoku, Column::Tekiyou, Column::KarikataKingaku, Column::KashikataKingaku,
        Column::Zandaka},
       false},
      {"sub-accounts, divisions and the created-by column",
       {.hojyoKamoku = true, .jigyoubu = true},
       true,
       {Column::Date, Column::CreatedType, Column::AiteKamoku, Column::AiteHojyoKamoku, Column::AiteJigyoubu,
        Column::Tekiyou, Column::Jigyoubu, Column::KarikataKingaku, Column::KashikataKingaku, Column::Zandaka},
       true},
  };
  for (const auto& [what, options, showCreatedType, columns, hojyoField] : cases) {
    SCOPED_TRACE(what);
    UserDefaults::standardUserDefaults().setBool(showCreatedType, KIVOKanjyoumotocyouShowCreatedTypeKey);
    openEntryBooks(options);
    KanjyoumotocyouController* w = KanjyoumotocyouController::showKanjyoumotocyouWindow(session);
    flush();
    EXPECT_EQ(w->tableModel()->columns(), columns);
    EXPECT_EQ(w->displayingHojyoKamokuField()->isHidden(), !hojyoField);
    EXPECT_EQ(w->textFieldArray().size(), 3u);
    EXPECT_EQ(w->numberOfRowsInTableView(), 0);
    EXPECT_EQ(w->windowTitle(), session->displayName() + " - 総勘定元帳／補助元帳[*]");
    w->close();
    session->close();
    flush();
  }
}

TEST_F(KanjyoumotocyouControllerTest, ASubLedgerAndTheOwnSubAccountColumn)
{
  openEntryBooks({.hojyoKamoku = true});
  registerVoucher(Date(2024, 4, 1), {{kFutsuuYokin, 5000, kGenkin, 5000, "預入", 1, -1}});
  registerVoucher(Date(2024, 4, 2), {{kGenkin, 700, kFutsuuYokin, 700, "引出", -1, 2}});
  KanjyoumotocyouController* w = openLedger(kFutsuuYokin);
  // The general ledger of an account with sub-accounts shows whose sub-account each
  // entry is, right after the description; the sub-account field joins the Tab order.
  const int tekiyou = w->tableModel()->indexOfColumn(Column::Tekiyou);
  EXPECT_EQ(w->tableModel()->indexOfColumn(Column::HojyoKamoku), tekiyou + 1);
  EXPECT_EQ(column(w, Column::HojyoKamoku), (QStringList{"", "みずほ銀行", "三井住友銀行", "", ""}));
  EXPECT_EQ(w->textFieldArray(),
            (std::vector<QLineEdit*>{w->displayingKamokuField(), w->displayingHojyoKamokuField(),
                                     w->displayingPeriodFromField(), w->displayingPeriodToField()}));
  // The other side of the cash entries reads the sub-account's name.
  KanjyoumotocyouController* cash = openLedger(kGenkin);
  EXPECT_EQ(column(cash, Column::AiteHojyoKamoku), (QStringList{"", "みずほ銀行", "三井住友銀行", "", ""}));

  // A sub ledger drops the column again and says so in its titles.
  activate(w);
  w->setDisplayHojyoKamokuCode(2);
  w->updateAfterSelectDisplayingKamoku();
  EXPECT_EQ(w->tableModel()->indexOfColumn(Column::HojyoKamoku), -1);
  EXPECT_EQ(column(w, Column::Tekiyou), (QStringList{"開始残高", "引出", "　4月合計", "　合計"}));
  EXPECT_EQ(std::pair(w->displayingHojyoKamokuField()->text(), w->windowTitle()),
            std::pair(QString("三井住友銀行"), QString("名称未設定 - 補助元帳[*]")));
  EXPECT_TRUE(listedInWindowMenu("補助元帳 - 普通預金／三井住友銀行"));

  // Delete on the highlighted sub-account field goes back to the general ledger.
  w->selectTextField(w->displayingHojyoKamokuField());
  pressInTable(w, Qt::Key_Backspace);
  EXPECT_EQ(w->displayHojyoKamokuCode(), -1);
  EXPECT_EQ(w->tableModel()->indexOfColumn(Column::HojyoKamoku), tekiyou + 1);

  // An account without sub-accounts takes the sub-account field out of the Tab order;
  // the highlight it had goes to the account field.
  w->selectTextField(w->displayingHojyoKamokuField());
  w->setDisplayKamokuCode(kGenkin);
  w->updateAfterSelectDisplayingKamoku();
  EXPECT_EQ(w->textFieldArray().size(), 3u);
  EXPECT_EQ(w->selectedTextField(), w->displayingKamokuField());
}

TEST_F(KanjyoumotocyouControllerTest, KeysTypedInTheTableActOnTheStripAndTheEntries)
{
  openEntryBooks({.hojyoKamoku = true});
  registerVoucher(Date(2024, 4, 1), {{kFutsuuYokin, 5000, kGenkin, 5000, "預入", 1, -1}});
  const int32_t second = registerVoucher(Date(2024, 4, 2), kGenkin, kUriagedaka, 100, "売上");
  KanjyoumotocyouController* w = openLedger(kFutsuuYokin);
  ASSERT_EQ(w->textFieldArray().size(), 4u);
  ASSERT_EQ(w->selectedTextField(), w->displayingKamokuField());
  const int row = w->tableView()->selectedRow();

  std::vector<QLineEdit*> visited;
  for (int i = 0; i < 4; ++i) {
    pressInTable(w, Qt::Key_Tab);
    visited.push_back(w->selectedTextField());
  }
  EXPECT_EQ(visited, (std::vector<QLineEdit*>{w->displayingHojyoKamokuField(), w->displayingPeriodFromField(),
                                              w->displayingPeriodToField(), w->displayingKamokuField()}));
  pressInTable(w, Qt::Key_Backtab);
  EXPECT_EQ(w->selectedTextField(), w->displayingPeriodToField());
  // The keys leave the table's selection alone; an arrow moves it.
  EXPECT_EQ(w->tableView()->selectedRow(), row);
  pressInTable(w, Qt::Key_Down);
  EXPECT_EQ(w->tableView()->selectedRow(), row + 1);
  EXPECT_EQ(w->selectedTextField(), w->displayingPeriodToField());
  EXPECT_EQ(w->selectedTextField()->palette().color(QPalette::Base),
            KanjyoumotocyouController::selectedTextBackgroundColor());

  // Return opens the voucher of the selected entry.
  KanjyoumotocyouController* cash = openLedger(kGenkin);
  cash->tableView()->selectRow(2);
  pressInTable(cash, Qt::Key_Return);
  auto* voucher = qobject_cast<FurikaedenpyouController*>(session->furikaedenpyouController());
  EXPECT_EQ(voucher->displayingDenpyouNo(), second);

  // A window that is not main ignores the keys of its table.
  activate(w);
  QLineEdit* before = cash->selectedTextField();
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
  QApplication::sendEvent(cash->tableView(), &tab);
  EXPECT_EQ(cash->selectedTextField(), before);
}

// The first key typed for the account opens the picker; the keys typed right after
// it still reach the ledger's window, and reach the picker in order.
TEST_F(KanjyoumotocyouControllerTest, KeysTypedWhileThePickerOpensReachIt)
{
  openEntryBooks();
  KanjyoumotocyouController* w = openLedger(kGenkin);
  ASSERT_EQ(w->selectedTextField(), w->displayingKamokuField());
  w->tableView()->setFocus();
  QWindow* window = w->windowHandle();
  QTimer::singleShot(0, [window] {
    QTest::keyClick(window, Qt::Key_0, Qt::NoModifier);
    QTest::keyClick(window, Qt::Key_3, Qt::NoModifier);
    QTest::keyClick(window, Qt::Key_Return, Qt::NoModifier);
    QTimer::singleShot(0, [] {
      if (QWidget* stuck = activeModalWindow()) stuck->close();
    });
  });
  QTest::keyClick(window, Qt::Key_1, Qt::NoModifier);
  flush();
  EXPECT_EQ(w->displayKamokuCode(), kFutsuuYokin);
}

// The description list opened over a ledger takes the selected row's accounts (the
// groups of the first that has one come first) and offers its description for adding.
TEST_F(KanjyoumotocyouControllerTest, TheDescriptionListTakesTheSelectedRowsAccountsAndDescription)
{
  openEntryBooks();
  addCashBookEntry(Date(2024, 4, 2), kShoumouhinhi, kGenkin, 300, "文具");
  books().tekiyouGroupArray().push_back(std::make_shared<TekiyouGroup>("消耗品費"));
  KanjyoumotocyouController* w = openLedger(kGenkin);
  w->tableView()->selectRow(1);
  flush();
  int kari = 0, kashi = 0;
  ASSERT_TRUE(w->getSelectedRowKarikataKamokuCode(kari, kashi));
  EXPECT_EQ(std::pair(kari, kashi), std::pair(kShoumouhinhi, kGenkin));
  QGuiApplication::clipboard()->clear();
  SetupCommands::showTekiyouListWindow(app.get());
  flush();
  auto* sheet = qobject_cast<TekiyouListController*>(w->attachedSheetController());
  ASSERT_TRUE(sheet);
  EXPECT_EQ(std::pair(sheet->selectedGroup(), sheet->newTekiyouField()->text()), std::pair(1, QStringLiteral("文具")));
  sheet->endTekiyouListWindow(nullptr);
  flush();
}

TEST_F(KanjyoumotocyouControllerTest, AShortcutDigitBelongsToOneLedgerAndOpensIt)
{
  openEntryBooks({.hojyoKamoku = true});
  auto cashBookShortcut = std::make_shared<SubMenuItemOfDenpyouAndCyouhyouMenuItem>();
  cashBookShortcut->setParentMenuItemTitle("出納帳");
  cashBookShortcut->setKeyEquivalent("3");
  books().subMenuItemArray().push_back(cashBookShortcut);

  KanjyoumotocyouController* empty = KanjyoumotocyouController::showKanjyoumotocyouWindow(session);
  flush();
  activate(empty);
  // No ledger shown yet.
  EXPECT_FALSE(empty->functionMenuAction(KanjyoumotocyouController::kShortcutTitle)->isEnabled());
  EXPECT_FALSE(empty->functionMenuAction(KanjyoumotocyouController::kShowInputShiwakeWindowTitle)->isEnabled());
  EXPECT_FALSE(empty->validatePrintMenuItem());

  KanjyoumotocyouController* w = openLedger(kFutsuuYokin, 1);
  EXPECT_EQ(w, empty);  // the empty window was taken
  ASSERT_TRUE(w->shortcutMenu());
  w->shortcutMenu()->actions()[2]->trigger();
  ASSERT_EQ(books().subMenuItemArray().size(), 1u);
  const SubMenuItemPtr& record = books().subMenuItemArray()[0];
  EXPECT_EQ(record->keyEquivalent(), "3");
  EXPECT_EQ(record->title(), "普通預金 ／ みずほ銀行");
  EXPECT_EQ(record->representedObject(), 2103);
  EXPECT_TRUE(w->shortcutMenu()->actions()[2]->isChecked());
  EXPECT_FALSE(w->shortcutMenu()->actions()[0]->isChecked());
  // The shortcut command, from the document's menu, brings the window that shows the
  // ledger forward, and opens a new one for a ledger no window shows.
  WindowCommands::installCommandHandlers(app.get());
  activate(session->documentInfoController());
  QAction* item = nullptr;
  for (QAction* a : session->documentInfoController()->mainMenu()->denpyouAndCyouhyouMenu()->actions())
    if (a->text() == "普通預金 ／ みずほ銀行") item = a;
  EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_3));
  app->performCommand(MainMenu::Command::ShowShortCutKanjyoumotocyouWindow, item);
  flush();
  EXPECT_EQ(windowCount(DocumentWindow::Kind::Kanjyoumotocyou), 1);
  KanjyoumotocyouController* cash = openLedger(kGenkin);
  EXPECT_NE(cash, w);
  // All ledgers share one remembered frame.
  EXPECT_EQ(session->windowFrame(DocumentSession::Kind::Kanjyoumotocyou).size(), cash->windowFrame().size());
}

}  // namespace
}  // namespace kivo::test

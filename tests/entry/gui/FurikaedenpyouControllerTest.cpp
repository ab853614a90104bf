// The transfer-voucher window driven through its grid: typing, Tab and the menu
// commands, offscreen; and the clicks it shares with the cash book's grid.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QUndoStack>

#include "app/WindowCommands.h"
#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/AmountFormatter.h"
#include "fields/HidukeFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/gui/FormatterListWindow.h"
#include "fields/gui/ModalDriver.h"
#include "platform/FieldMessage.h"
#include "platform/SheetController.h"
#include "setup/TekiyouListSource.h"
#include "setup/gui/TekiyouListController.h"

namespace kivo::test {
namespace {

using Row = FurikaedenpyouRow;

class FurikaedenpyouControllerTest : public EntryWindowTest {
protected:
  QLineEdit* editor(FurikaedenpyouController* w) { return w->denpyouView()->fieldEditor(); }

  // Types each text into the edited cell and presses Tab; an empty text just Tabs on.
  void type(FurikaedenpyouController* w, std::initializer_list<const char*> texts)
  {
    for (const char* t : texts) typeInGrid(w->denpyouView(), QString::fromUtf8(t));
  }

  Row::Column selectedColumn(FurikaedenpyouController* w)
  {
    return static_cast<Row::Column>(w->denpyouView()->selectedMatrixId());
  }
};

TEST_F(FurikaedenpyouControllerTest, TheMenuCommandOpensOneWindowAndARowTypedAndTabbedOutOfTheDescriptionRegisters)
{
  WindowCommands::installCommandHandlers(app.get());
  openDocument();
  WindowController* info = session->documentInfoController();
  activate(info);
  info->mainMenu()->validateMenuItems();
  QAction* item = info->mainMenu()->action(MainMenu::Command::ShowFurikaedenpyouWindow);
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  flush();
  auto* w = qobject_cast<FurikaedenpyouController*>(session->furikaedenpyouController());
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->displayingDenpyouNo(), 1);
  item->trigger();
  flush();
  EXPECT_EQ(session->furikaedenpyouController(), w);
  activate(w);
  EXPECT_TRUE(w->windowTitle().startsWith(session->displayName() + QStringLiteral(" - 振替伝票")));
  // A new voucher asked for on the untouched voucher: nothing happens.
  w->functionMenuAction(QStringLiteral("新規伝票"))->trigger();
  EXPECT_EQ(std::pair(w->displayingDenpyouNo(), selectedColumn(w)), std::pair(1, Row::DateMatrix));

  type(w, {"4/10", "100", "1000"});  // 現金
  EXPECT_EQ(w->taisyakuBalanceField()->text(), QStringLiteral("1,000"));
  type(w, {"300", "1000"});  // 売上高
  EXPECT_EQ(w->taisyakuBalanceField()->text(), QStringLiteral("0"));
  type(w, {"現金売上"});

  // How a voucher becomes entries is the registrar's: here, that the typed cells reach it.
  ASSERT_EQ(books().journal().size(), 1u);
  EXPECT_EQ(std::tuple(books().journal()[0]->date(), books().journal()[0]->tekiyou(), session->isDocumentEdited()),
            std::tuple(Date(2024, 4, 10), std::string("現金売上"), true));
  // An empty voucher numbered 2 is shown, ready for its date.
  EXPECT_EQ(std::tuple(w->displayingDenpyouNo(), w->denpyou().isEmptyDenpyouRow(0), selectedColumn(w), alerts.size()),
            std::tuple(2, true, Row::DateMatrix, size_t{0}));

  // Menu enabling follows the selection and the counter.
  Furikaedenpyou& v = w->denpyou();
  setRow(v, 0, Date(2024, 4, 10), kGenkin, 5, kUriagedaka, 5);
  setRow(v, 1, Date(2024, 4, 10), kGenkin, 5, -1, 0);
  w->deselectSelectedCellAndThenSelectDenpyouRow(0, Row::TekiyouMatrix);
  w->validateMenuItems();
  EXPECT_TRUE(w->functionMenuAction(QStringLiteral("行の追加"))->isEnabled());
  EXPECT_FALSE(w->functionMenuAction(QStringLiteral("前行同項目をコピー"))->isEnabled());
  w->deselectSelectedCellAndThenSelectDenpyouRow(1, Row::TekiyouMatrix);
  w->validateMenuItems();
  EXPECT_TRUE(w->functionMenuAction(QStringLiteral("前行同項目をコピー"))->isEnabled());
  EXPECT_TRUE(w->functionMenuAction(QStringLiteral("日付を指定し伝票を表示..."))->isEnabled());

  books().kaisya().setMinAvailableDenpyouNo(100000);
  w->validateMenuItems();
  EXPECT_FALSE(w->functionMenuAction(QStringLiteral("新規伝票"))->isEnabled());
  EXPECT_FALSE(w->functionMenuAction(QStringLiteral("伝票の複製"))->isEnabled());
}

// A click that selects no cell never takes the keys from the cell being typed in, in
// either grid: the grey number under the date is the date's, and a click on the
// balance, the kind mark, below the rows or on the scroll bar leaves the edited cell as
// it was. The date typed next is the row's, and Tab moves on with it.
TEST_F(FurikaedenpyouControllerTest, AClickOnNoSelectableCellNeverDropsTheDateTypedNext)
{
  using Book = SuitoucyouRow;
  static_assert(int(Row::DateMatrix) == int(Book::DateMatrix));
  FurikaedenpyouController* voucher = openVoucherWindow();
  SuitoucyouController* book = shown(SuitoucyouController::showSuitoucyouWindow(session, kGenkin, -1));
  constexpr int kBelowTheRows = -1, kScrollBar = -2;
  struct Case {
    WindowController* window;
    EntryGridView* grid;
    int from;     // the cell being edited
    int clicked;  // a matrix of row 0, or kBelowTheRows, kScrollBar
    const char* typed;
    const char* shown;
    int next;  // the column Tab moves to
  };
  EntryGridView* v = voucher->denpyouView();
  EntryGridView* b = book->suitoucyouView();
  const Case cases[] = {
      {voucher, v, Row::DateMatrix, Row::DenpyouNoMatrix, "3/2", "03/02", Row::KarikataKamokuMatrix},
      {voucher, v, Row::KarikataKingakuMatrix, Row::DenpyouNoMatrix, "3/3", "03/03", Row::KarikataKamokuMatrix},
      {voucher, v, Row::DateMatrix, kBelowTheRows, "3/4", "03/04", Row::KarikataKamokuMatrix},
      {voucher, v, Row::DateMatrix, kScrollBar, "3/5", "03/05", Row::KarikataKamokuMatrix},
      {book, b, Book::TekiyouMatrix, Book::DenpyouNoMatrix, "4/2", "04/02", Book::AiteKamokuMatrix},
      {book, b, Book::DateMatrix, Book::ZandakaMatrix, "4/3", "04/03", Book::AiteKamokuMatrix},
      {book, b, Book::DateMatrix, Book::KindOfShiwakeMatrix, "4/4", "04/04", Book::AiteKamokuMatrix},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    activate(c.window);
    QTest::mouseClick(c.grid->viewport(), Qt::LeftButton, {}, c.grid->cellRect(0, c.from).center());
    ASSERT_TRUE(c.grid->isEditing() && c.grid->selectedMatrixId() == c.from);
    if (c.clicked == kScrollBar)
      QTest::mouseClick(c.grid->verticalScrollBar(), Qt::LeftButton);
    else
      QTest::mouseClick(
          c.grid->viewport(), Qt::LeftButton, {},
          c.clicked == kBelowTheRows ? QPoint(5, 3 * c.grid->rowHeight()) : c.grid->cellRect(0, c.clicked).center());
    flush();
    typeInWindow(c.window, c.typed);
    EXPECT_EQ(std::pair(c.grid->delegate()->stringValue(0, Row::DateMatrix), c.grid->selectedMatrixId()),
              std::pair(QString::fromLatin1(c.shown), c.next));
  }
}

// The navigation commands reach the navigator, which has its own test of every target;
// the removal is undone through the document's undo stack.
TEST_F(FurikaedenpyouControllerTest, NavigationAndDeleteThenUndo)
{
  auto b = makeBooks();
  b->journal().assign({makeEntry(Date(2024, 4, 1), 1, kGenkin, kUriagedaka, 10),
                       makeEntry(Date(2024, 4, 2), 2, kGenkin, kUriagedaka, 20),
                       makeEntry(Date(2024, 4, 2), 2, kShoumouhinhi, kGenkin, 5),
                       makeEntry(Date(2024, 4, 3), 3, kGenkin, kUriagedaka, 30)});
  b->kaisya().setMinAvailableDenpyouNo(4);
  FurikaedenpyouController* w = openVoucherWindow(std::move(b));
  const std::vector<ShiwakePtr> before = books().journal().entries();
  for (auto [command, shown] : {std::pair{"最後の伝票", 3}, {"最初の伝票", 1}, {"次の伝票", 2}}) {
    w->functionMenuAction(QString::fromUtf8(command))->trigger();
    ASSERT_EQ(w->displayingDenpyouNo(), shown) << command;
  }
  EXPECT_EQ(w->numberOfDenpyouRows(), 2);

  w->functionMenuAction(QStringLiteral("伝票の削除"))->trigger();
  EXPECT_EQ(books().journal().size(), 2u);
  EXPECT_EQ(w->displayingDenpyouNo(), 3);  // the voucher that followed
  ASSERT_TRUE(session->undoManager()->canUndo());
  EXPECT_EQ(session->undoManager()->undoText(), QStringLiteral("伝票の削除"));

  // The undo keys typed in the cell reach the document while the cell has nothing of
  // its own to take back, after Escape too.
  QTest::keyClick(editor(w), Qt::Key_Escape);
  pressUndoKey(w->denpyouView());
  EXPECT_EQ(books().journal().entries(), before);
  EXPECT_EQ(w->displayingDenpyouNo(), 2);
  pressUndoKey(w->denpyouView(), true);
  EXPECT_EQ(w->displayingDenpyouNo(), 3);
  w->removeDenpyouFromShiwake();
  EXPECT_EQ(w->displayingDenpyouNo(), 4);
  EXPECT_TRUE(w->denpyou().isEmptyDenpyouRow(0));
}

// With the counter used up, Return in an account cell says why instead of opening a
// picker whose choice would leave a changed voucher that can never be registered,
// saved or closed; and a voucher that cannot be registered can still be abandoned.
TEST_F(FurikaedenpyouControllerTest, AnExhaustedCounterRefusesThePickerAndTheVoucherCanBeAbandoned)
{
  auto b = makeBooks();
  b->kaisya().setMinAvailableDenpyouNo(100000);
  FurikaedenpyouController* w = openVoucherWindow(std::move(b));
  QTest::keyClick(editor(w), Qt::Key_Tab);
  ASSERT_EQ(selectedColumn(w), Row::KarikataKamokuMatrix);
  // Should a picker come up, choose 現金 in it as the user did.
  QTimer::singleShot(0, [] {
    if (auto* picker = qobject_cast<FormatterListWindow*>(activeModalWindow())) {
      QTest::keyClicks(picker->searchField(), QStringLiteral("100"));
      QTest::keyClick(picker->searchField(), Qt::Key_Return);
    }
  });
  QTest::keyClick(editor(w), Qt::Key_Return);
  flush();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].text, QString::fromUtf8(Furikaedenpyou::kDenpyouNoExhaustedMessage));
  EXPECT_EQ(
      std::tuple(w->denpyou().cell(0, Row::KarikataKamokuMatrix).isCode(),
                 w->denpyou().doesNeedToSetDenpyouToShiwakeArray(), session->setEditingShiwakeToShiwakeArrayToSave()),
      std::tuple(false, false, true));

  // Changed some other way, the voucher is dropped by its delete command.
  w->denpyou().setCell(0, Row::TekiyouMatrix, FieldValue::text("x"));
  w->denpyou().setDoesNeedToSetDenpyouToShiwakeArray(true);
  EXPECT_FALSE(session->setEditingShiwakeToShiwakeArrayToSave());
  w->removeDenpyouFromShiwake();
  EXPECT_EQ(std::tuple(w->denpyou().doesNeedToSetDenpyouToShiwakeArray(),
                       w->denpyou().cell(0, Row::TekiyouMatrix).textValue(),
                       session->setEditingShiwakeToShiwakeArrayToSave()),
            std::tuple(false, std::string(), true));
  w->close();
  flush();
  EXPECT_EQ(session->furikaedenpyouController(), nullptr);
}

// The description list opened over the voucher gets the row's accounts and the
// description being typed; the window ends the list before its own sheet, which
// refuses an unbalanced voucher.
TEST_F(FurikaedenpyouControllerTest, AnUnbalancedVoucherIsRefusedWithItsSheetEndingTheDescriptionList)
{
  FurikaedenpyouController* w = openVoucherWindow();
  type(w, {"4/10", "100", "1000", "300", "900"});
  ASSERT_EQ(selectedColumn(w), Row::TekiyouMatrix);
  typeText(editor(w), QStringLiteral("現金売上"));

  TekiyouListSource* source = w;
  int kari = -1, kashi = -1;
  ASSERT_TRUE(source->getSelectedRowKarikataKamokuCode(kari, kashi));
  EXPECT_EQ(std::make_pair(kari, kashi), std::make_pair(kGenkin, kUriagedaka));
  source->writeTekiyouStringToPasteboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("現金売上"));

  (new TekiyouListController(session))->beginSheetOnWindow(w);
  ASSERT_NE(SheetController::attachedSheet(w), nullptr);
  EXPECT_FALSE(w->handleChooseDenpyouToShiwakeArrayMenu());
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(SheetController::attachedSheet(w), nullptr);
  EXPECT_EQ(std::pair(alerts[0].title, alerts[0].text),
            std::pair(QStringLiteral("無効な伝票"),
                      QStringLiteral("借方金額と貸方金額それぞれの合計は、等しくならねばなりません。")));
  EXPECT_TRUE(books().journal().empty());

  // Tab out of the description of an unbalanced voucher starts a new row, at the voucher's date.
  type(w, {""});
  EXPECT_EQ(std::tuple(w->numberOfDenpyouRows(), selectedColumn(w), w->denpyou().cell(1, Row::DateMatrix).dateValue()),
            std::tuple(2, Row::KarikataKamokuMatrix, Date(2024, 4, 10)));
  // Moving away runs the same check and stays.
  w->showPreviousDenpyou();
  EXPECT_EQ(alerts.size(), 2u);
  EXPECT_EQ(w->numberOfDenpyouRows(), 2);
}

// Text a cell cannot take is neither cut nor changed into something it can: it stays
// as typed, the cell keeps the cursor, and a note beside the cell says why (what each
// formatter refuses is its own test's).
TEST_F(FurikaedenpyouControllerTest, RefusedTextStaysAsTypedAndTheCellSaysWhy)
{
  // What is typed, the Tabs from the date cell before it (typing a date and 現金 on the
  // way), the cell it lands in and the message it gets.
  const std::tuple<const char*, int, Row::Column, const char*> cases[] = {
      {"2/29", 0, Row::DateMatrix, HidukeFormatter::kInvalidDateMessage},  // 2025 is no leap year
      {"888", 1, Row::KarikataKamokuMatrix, KamokuFormatter::kNoMatchMessage},
      {"123456789012345", 2, Row::KarikataKingakuMatrix, AmountFormatter::kOverLimitMessage},
  };
  for (const auto& [typed, tabsBefore, column, message] : cases) {
    SCOPED_TRACE(typed);
    FurikaedenpyouController* w = openVoucherWindow();
    if (tabsBefore > 0) type(w, {"4/10"});
    if (tabsBefore > 1) type(w, {"100"});
    ASSERT_EQ(selectedColumn(w), column);
    editor(w)->selectAll();
    QTest::keyClicks(editor(w), QString::fromUtf8(typed));
    EXPECT_EQ(editor(w)->text(), QString::fromUtf8(typed));
    QTest::keyClick(editor(w), Qt::Key_Tab);
    flush();
    EXPECT_EQ(std::tuple(selectedColumn(w), editor(w)->text(), FieldMessage::shownText(), FieldMessage::shownWidget()),
              std::tuple(column, QString::fromUtf8(typed), QString::fromUtf8(message),
                         static_cast<QWidget*>(w->denpyouView()->viewport())));
    w->removeDenpyouFromShiwake();
    w->close();
    flush();
  }
}

TEST_F(FurikaedenpyouControllerTest, ALimitedUserCannotChangeAVoucherWithHiddenEntries)
{
  auto b = makeBooks();
  auto hidden = makeEntry(Date(2024, 4, 1), 1, kShoumouhinhi, kGenkin, 5);
  hidden->setDidCreateBeforeOpen(true);
  b->journal().assign({makeEntry(Date(2024, 4, 1), 1, kGenkin, kUriagedaka, 10), hidden});
  b->kaisya().setMinAvailableDenpyouNo(2);
  b->setWasOpenedByLimitedUserPassword(true);
  FurikaedenpyouController* w = openVoucherWindow(std::move(b));
  w->displayShiwakeOfDenpyouNo(1);
  EXPECT_EQ(w->numberOfDenpyouRows(), 1);

  w->removeDenpyouFromShiwake();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].text, QString::fromUtf8(Furikaedenpyou::kHiddenShiwakeMessage));
  EXPECT_EQ(books().journal().size(), 2u);

  QTest::keyClicks(editor(w), QStringLiteral("5"));
  EXPECT_EQ(alerts.size(), 2u);
  EXPECT_FALSE(w->denpyou().doesNeedToSetDenpyouToShiwakeArray());
}

TEST_F(FurikaedenpyouControllerTest, KeysTypedOnTheGridArePostedAndMoveTheSelection)
{
  FurikaedenpyouController* w = openVoucherWindow();
  int posted = 0;
  QObject::connect(&NotificationCenter::defaultCenter(), &NotificationCenter::notificationPosted, w,
                   [&](const NotificationCenter::Notification& n) {
                     if (n.name == QString::fromUtf8(FurikaedenpyouView::kKeyDownNotification)) ++posted;
                   });
  w->denpyouView()->abortEditing();
  w->denpyouView()->setFocus();
  QTest::keyClick(w->denpyouView(), Qt::Key_Slash);
  EXPECT_EQ(posted, 0);
  QTest::keyClick(w->denpyouView(), Qt::Key_Escape);
  EXPECT_EQ(posted, 1);
  QTest::keyClick(w->denpyouView(), Qt::Key_Tab);
  EXPECT_EQ(posted, 2);
  EXPECT_EQ(selectedColumn(w), Row::KarikataKamokuMatrix);
}

}  // namespace
}  // namespace kivo::test

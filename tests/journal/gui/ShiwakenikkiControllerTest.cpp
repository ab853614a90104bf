// The journal window over registered vouchers, offscreen: what it lists and in which
// order, the condition sheet it opens by itself, keyboard movement, opening a
// voucher and deleting the shown transactions.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include "app/WindowCommands.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "fields/gui/FormatterLineEditBinding.h"
#include "fields/gui/ModalDriver.h"
#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "journal/gui/ShiwakenikkiDisplayConditionController.h"
#include "platform/PrintOperation.h"
#include "trial/gui/PeriodToPrintZandakaShisanController.h"

namespace kivo::test {
namespace {

using Matrix = ShiwakenikkiView::Matrix;

class ShiwakenikkiControllerTest : public JournalWindowTest {
protected:
  ShiwakenikkiController* openJournal()
  {
    journal = ShiwakenikkiController::showShiwakenikkiWindow(session);
    flush();
    activate(journal);
    return journal;
  }

  ShiwakenikkiDisplayConditionController* sheet()
  {
    return session->ownedControllerAs<ShiwakenikkiDisplayConditionController>(
        DocumentSession::OwnedController::ShiwakenikkiDisplayCondition);
  }

  // Opens the journal and confirms the condition sheet it opens by itself.
  ShiwakenikkiController* openJournalAndConfirm()
  {
    openJournal();
    EXPECT_TRUE(sheet() && sheet()->isSheetAttached());
    confirm();
    return journal;
  }

  void confirm()
  {
    sheet()->okButton()->click();
    flush();
  }

  QStringList column(Matrix m) const
  {
    QStringList out;
    for (int r = 0; r < journal->numberOfShiwakenikkiRows(); ++r) out << journal->stringValue(r, m);
    return out;
  }

  ShiwakenikkiController* journal = nullptr;
};

TEST_F(ShiwakenikkiControllerTest, ListsRegisteredVouchersInDateOrderWithTheClosingMonthLast)
{
  openEntryBooks();
  const int32_t may = registerVoucher(Date(2024, 5, 10), kGenkin, kUriagedaka, 20000, "5月の売上");
  const int32_t kessan = registerVoucher(Date::kessanSeiridukiDate(), kShoumouhinhi, kGenkin, 800, "決算整理");
  const int32_t april = registerVoucher(Date(2024, 4, 5), {{kGenkin, 10000, kUriagedaka, 10000, "4月の売上"},
                                                           {kShoumouhinhi, 3000, kGenkin, 3000, "文具"}});
  const int32_t regular = registerVoucher(Date::regularTypeDenpyouDate(), kGenkin, kUriagedaka, 777, "定型");
  ASSERT_LT(regular, 0);
  addPendingCashBookRow(Date(2024, 4, 20));

  openJournal();
  // Nothing is listed until the sheet, opened by itself and without Cancel, is
  // confirmed; Escape does not get round it.
  EXPECT_EQ(
      std::tuple(sheet()->isSheetAttached(), sheet()->cancelButton()->isHidden(), journal->numberOfShiwakenikkiRows()),
      std::tuple(true, true, 0));
  EXPECT_EQ(sheet()->sheetWindow(), journal);
  QTest::keyClick(sheet(), Qt::Key_Escape);
  EXPECT_TRUE(sheet()->isSheetAttached());
  confirm();

  const QString n = QString::number(april);
  EXPECT_EQ(column(Matrix::DenpyouNo), (QStringList{n, n, QString::number(may), QString::number(kessan)}));
  EXPECT_EQ(column(Matrix::Date), (QStringList{"04/05", "04/05", "05/10", "13/00"}));
  EXPECT_EQ(column(Matrix::KarikataKingaku), (QStringList{"10,000", "3,000", "20,000", "800"}));
  // The books use no sub-accounts and no divisions: those columns stay empty.
  EXPECT_FALSE(journal->shiwakenikkiView()->isMatrixEnabled(Matrix::KarikataJigyoubu));
  EXPECT_TRUE(journal->shiwakenikkiView()->headingTitle(Matrix::KashikataHojyoKamoku).isEmpty());
  EXPECT_EQ(std::pair(journal->stateField()->text(), journal->windowTitle()),
            std::pair(QString("4 個中 4 個の仕訳が条件に一致しました。"), QString("名称未設定 - 仕訳日記帳[*]")));
  EXPECT_EQ(std::pair(journal->selectedShiwakenikkiRow(), *journal->shiwakenikkiView()->selectedMatrix()),
            std::pair(0, Matrix::Date));

  // A voucher registered while the journal is open appears in its place; the
  // selected row stays, or the last row is taken when it is gone.
  journal->deselectSelectedCellAndThenSelectShiwakenikkiRow(2, Matrix::Tekiyou);
  registerVoucher(Date(2024, 4, 30), kGenkin, kUriagedaka, 500);
  EXPECT_EQ(column(Matrix::Date), (QStringList{"04/05", "04/05", "04/30", "05/10", "13/00"}));
  EXPECT_EQ(journal->selectedShiwakenikkiRow(), 2);
  journal->deselectSelectedCellAndThenSelectShiwakenikkiRow(4, Matrix::Date);
  Journal::Entries kept;
  for (const ShiwakePtr& s : books().journal().sortedByDate())
    if (s->denpyouNo() > 0 && kept.size() < 2) kept.push_back(s);
  books().journal().assign(kept);
  books().shiwakeArrayDidChange(false);
  EXPECT_EQ(std::pair(journal->numberOfShiwakenikkiRows(), journal->selectedShiwakenikkiRow()), std::pair(2, 1));
}

TEST_F(ShiwakenikkiControllerTest, TabAndArrowsMoveThroughTheColumnsTheBooksUse)
{
  // The books and the columns Tab walks through.
  const std::pair<BooksOptions, std::vector<Matrix>> cases[] = {
      {{},
       {Matrix::Date, Matrix::KarikataKamoku, Matrix::KarikataKingaku, Matrix::KashikataKamoku,
        Matrix::KashikataKingaku, Matrix::Tekiyou}},
      {{.hojyoKamoku = true, .jigyoubu = true},
       {Matrix::Date, Matrix::KarikataKamoku, Matrix::KarikataHojyoKamoku, Matrix::KarikataKingaku,
        Matrix::KarikataJigyoubu, Matrix::KashikataKamoku, Matrix::KashikataHojyoKamoku, Matrix::KashikataKingaku,
        Matrix::KashikataJigyoubu, Matrix::Tekiyou}},
  };
  for (const auto& [options, tabOrder] : cases) {
    SCOPED_TRACE(tabOrder.size());
    openEntryBooks(options);
    registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100);
    registerVoucher(Date(2024, 4, 2), kGenkin, kUriagedaka, 200, std::string(40, 'W'));
    openJournalAndConfirm();
    ShiwakenikkiView* view = journal->shiwakenikkiView();
    // A description too long for its cell shows where it is cut; a short one, and the
    // centred date, show whole.
    const QString cut = view->shownStringAtRow(1, Matrix::Tekiyou);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("…")) && cut.size() < 40) << cut.toStdString();
    EXPECT_EQ(view->shownStringAtRow(0, Matrix::Tekiyou), QString());
    EXPECT_EQ(view->shownStringAtRow(1, Matrix::KarikataKamoku), QStringLiteral("現金"));

    std::vector<Matrix> visited{*view->selectedMatrix()};
    for (size_t i = 1; i < tabOrder.size(); ++i) {
      QTest::keyClick(view, Qt::Key_Tab);
      visited.push_back(*view->selectedMatrix());
    }
    EXPECT_EQ(visited, tabOrder);
    QTest::keyClick(view, Qt::Key_Tab);  // from the last column to the next row's first
    EXPECT_EQ(std::pair(journal->selectedShiwakenikkiRow(), *view->selectedMatrix()), std::pair(1, Matrix::Date));
    QTest::keyClick(view, Qt::Key_Backtab);
    EXPECT_EQ(std::pair(journal->selectedShiwakenikkiRow(), *view->selectedMatrix()), std::pair(0, Matrix::Tekiyou));
    // The row after each key: the last row stays on Down.
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_Down, 1}, {Qt::Key_Down, 1}, {Qt::Key_Up, 0}, {Qt::Key_Backtab, 0}, {Qt::Key_Home, 0}};
    for (const auto& [key, row] : keys) {
      QTest::keyClick(view, key);
      EXPECT_EQ(journal->selectedShiwakenikkiRow(), row) << key;
    }
    // A held key does not run on.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(view, &repeat);
    EXPECT_EQ(journal->selectedShiwakenikkiRow(), 0);
    journal->close();
    session->close();
    flush();
  }
}

TEST_F(ShiwakenikkiControllerTest, DeletingTheShownTransactionsRemovesWholeVouchers)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 1), {{kGenkin, 100, kUriagedaka, 100, "A1"},
                                     {kGenkin, 200, kUriagedaka, 200, "A2"},
                                     {kShoumouhinhi, 50, kGenkin, 50, "A3"}});
  const int32_t b = registerVoucher(Date(2024, 4, 2), kGenkin, kUriagedaka, 300, "B1");
  openJournal();
  // Only the second line of voucher A is shown: the description stage turns on by
  // itself once a text is typed.
  sheet()->tekiyouField()->setText("A2");
  sheet()->controlTextDidEndEditing(sheet()->tekiyouField());
  EXPECT_EQ(sheet()->tekiyouConditionPopUp()->currentIndex(), 1);
  sheet()->tekiyouConditionPopUp()->setCurrentIndex(4);  // equals
  confirm();
  ASSERT_EQ(column(Matrix::Tekiyou), QStringList{"A2"});
  QAction* remove = journal->functionMenuAction(ShiwakenikkiController::kRemoveDisplayingShiwakeTitle);
  EXPECT_TRUE(remove->isEnabled());

  // Cancelled: nothing goes.
  answer = [](const AlertSheet::Alert&) { return 1; };
  remove->trigger();
  EXPECT_EQ(lastAlert(), "仕訳の削除 / 仕訳日記帳に表示中の仕訳を含むすべての取引を、削除してもよろしいですか。");
  EXPECT_EQ(alerts.back().buttons, (QStringList{"削除", "キャンセル"}));
  EXPECT_EQ(books().journal().size(), 4u);

  // With a voucher window open the command is refused.
  FurikaedenpyouController* voucher = FurikaedenpyouController::showDenpyouOfDenpyouNo(session, b);
  flush();
  activate(journal);
  answer = [](const AlertSheet::Alert&) { return 0; };
  alerts.clear();
  journal->removeDisplayingShiwake();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(lastAlert(), "実行できません / 出納帳および振替伝票を閉じてください。");
  EXPECT_EQ(books().journal().size(), 4u);
  voucher->close();
  flush();

  alerts.clear();
  journal->removeDisplayingShiwake();
  ASSERT_EQ(alerts.size(), 1u);
  ASSERT_EQ(books().journal().size(), 1u);
  EXPECT_EQ(std::pair(books().journal()[0]->denpyouNo(), books().isDocumentEdited()), std::pair(b, true));
  // The journal shows the condition's result over what is left.
  EXPECT_EQ(std::pair(journal->numberOfShiwakenikkiRows(), journal->stateField()->text()),
            std::pair(0, QString("1 個中 0 個の仕訳が条件に一致しました。")));
  EXPECT_FALSE(remove->isEnabled());
}

// The question waits for the keyboard as it closes, while the program's own events run:
// a journal the program closed meanwhile has nothing left to delete from, and every
// entry stays.
TEST_F(ShiwakenikkiControllerTest, TheDeletionDoesNothingOnceItsWindowWentDuringTheQuestion)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100, "A");
  registerVoucher(Date(2024, 4, 2), kGenkin, kUriagedaka, 300, "B");
  openJournalAndConfirm();
  ASSERT_EQ(journal->numberOfShiwakenikkiRows(), 2);
  const size_t entries = books().journal().size();
  const QPointer<ShiwakenikkiController> alive = journal;
  QAction* remove = journal->functionMenuAction(ShiwakenikkiController::kRemoveDisplayingShiwakeTitle);
  answerAndCloseTheWindowDuringTheWait(journal, QStringLiteral("削除"), [remove] { remove->trigger(); });
  flush();
  EXPECT_TRUE(alive.isNull());
  EXPECT_EQ(books().journal().size(), entries);
}

// The window's progress indicator steps at every tenth entry of a stage's walk, and
// is hidden once the filter is done.
TEST_F(ShiwakenikkiControllerTest, TheFilterStepsTheProgressIndicatorEveryTenEntries)
{
  openEntryBooks();
  for (int i = 0; i < 25; ++i) registerVoucher(Date(2024, 4, 1 + i), kGenkin, kUriagedaka, 100 + i);
  openJournalAndConfirm();
  ShiwakenikkiDisplayConditionController::conditionOfDocument(session).setDateConditionState(
      ShiwakenikkiCondition::kStateInside);
  journal->displayShiwakeWhichMatchShiwakenikkiDisplayCondition();
  // The dates walk the 25 entries: entries 0, 10 and 20.
  EXPECT_EQ(std::tuple(journal->filterProgressSteps(), journal->numberOfShiwakenikkiRows(),
                       journal->progressIndicator()->isVisible()),
            std::tuple(3, 25, false));
}

TEST_F(ShiwakenikkiControllerTest, MarkedModeListsTheMarkedEntriesWithoutTheSheet)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100, "印なし");
  registerVoucher(Date(2024, 4, 2), kGenkin, kUriagedaka, 200, "印あり");
  for (const ShiwakePtr& s : books().journal())
    ShiwakenikkiDisplayConditionController::conditionOfDocument(session).setMarked(s, s->tekiyou() == "印あり");
  journal = new ShiwakenikkiController(session, true);
  session->addWindowController(journal);
  journal->moveWindowToInitialPositionWithDisplay(true);
  flush();
  EXPECT_FALSE(sheet() && sheet()->isSheetAttached());
  EXPECT_EQ(column(Matrix::Tekiyou), QStringList{"印あり"});

  // The sheet opened from the menu keeps its Cancel button here; OK leaves marked mode.
  activate(journal);
  journal->setShiwakenikkiDisplayCondition(journal);
  ASSERT_TRUE(sheet()->isSheetAttached());
  EXPECT_FALSE(sheet()->cancelButton()->isHidden());
  confirm();
  EXPECT_FALSE(journal->doDisplayMarkedShiwakes());
  EXPECT_EQ(column(Matrix::Tekiyou), (QStringList{"印なし", "印あり"}));
}

TEST_F(ShiwakenikkiControllerTest, TheSheetRefusesBackwardRangesOnlyWhileTheirStageIsOn)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100);
  openJournalAndConfirm();
  // What, the stage (date, number, amount), the bounds typed, the stage's state, accepted.
  const std::tuple<const char*, int, QString, QString, int, bool> cases[] = {
      {"dates backwards", 0, "5/1", "4/1", 1, false},
      {"dates backwards, off", 0, "5/1", "4/1", 0, true},
      {"same date", 0, "4/1", "4/1", 2, true},
      {"to the closing month", 0, "3/31", "13/00", 1, true},
      {"numbers backwards", 1, "7", "5", 1, false},
      {"number 0 is not compared", 1, "0", "5", 1, true},
      {"amounts backwards", 2, "2,000", "1000", 1, false},
      {"a date that is no date", 0, "2/30", "", 1, false},
  };
  for (const auto& [what, stage, fromText, toText, state, accepted] : cases) {
    SCOPED_TRACE(what);
    journal->setShiwakenikkiDisplayCondition(nullptr);
    ASSERT_TRUE(sheet()->isSheetAttached());
    QLineEdit* const fields[] = {sheet()->dateFromField(),      sheet()->dateToField(),
                                 sheet()->denpyouNoFromField(), sheet()->denpyouNoToField(),
                                 sheet()->kingakuFromField(),   sheet()->kingakuToField()};
    for (QLineEdit* f : fields) f->clear();
    fields[2 * stage]->setText(fromText);
    fields[2 * stage + 1]->setText(toText);
    QComboBox* const popUps[] = {sheet()->dateConditionPopUp(), sheet()->denpyouNoConditionPopUp(),
                                 sheet()->kingakuConditionPopUp()};
    popUps[stage]->setCurrentIndex(state);
    const int beeps = AlertSheet::beepCountForTesting();
    sheet()->okButton()->click();
    flush();
    EXPECT_EQ(!sheet()->isSheetAttached(), accepted);
    EXPECT_EQ(AlertSheet::beepCountForTesting() > beeps, !accepted);
    if (sheet()->isSheetAttached()) sheet()->abortShiwakenikkiDisplayConditionWindow();
    flush();
  }
  // Both bounds empty switch a stage off.
  journal->setShiwakenikkiDisplayCondition(nullptr);
  for (QLineEdit* f : {sheet()->dateFromField(), sheet()->dateToField()}) f->clear();
  sheet()->dateConditionPopUp()->setCurrentIndex(1);
  confirm();
  EXPECT_EQ(ShiwakenikkiDisplayConditionController::conditionOfDocument(session).dateConditionState(), 0);
}

// A letter and Return in an account row open the picker; what is picked leaves the
// sheet open. With the account in the row, Return is the sheet's OK.
TEST_F(ShiwakenikkiControllerTest, AReturnThatOpensAnAccountPickerLeavesTheSheetOpen)
{
  constexpr int32_t kZatsusyuunyuu = 406;  // 雑収入
  openEntryBooks();
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100);
  openJournalAndConfirm();
  journal->setShiwakenikkiDisplayCondition(nullptr);
  ASSERT_TRUE(sheet()->isSheetAttached());
  const auto& row = sheet()->kamokuConditionRow(0);
  answerNextPanel(nullptr, QStringLiteral("ATSUSHUU"), Qt::Key_Return);
  typeReturnIn(row.codeField, QStringLiteral("Z"));
  const FieldValue v = row.codeBinding->objectValue();
  EXPECT_EQ(std::pair(sheet()->isSheetAttached(), v.isCode() ? v.codeValue() : -1), std::pair(true, kZatsusyuunyuu));
  typeReturnIn(row.codeField, row.codeField->text());
  const auto& items = ShiwakenikkiDisplayConditionController::conditionOfDocument(session).kamokuConditionArray();
  EXPECT_EQ(std::pair(sheet()->isSheetAttached(), items.size() == 1 ? items[0].code() : -1),
            std::pair(false, kZatsusyuunyuu));
}

// A picker that text in a row opened and that is cancelled puts back what the field
// held, and OK keeps the row's condition.
TEST_F(ShiwakenikkiControllerTest, ACancelledPickerPutsBackWhatTheRowHeld)
{
  openEntryBooks({.hojyoKamoku = true, .jigyoubu = true});
  for (const JigyoubuPtr& j : books().jigyoubuArray()) j->setKana(j->code() == 1 ? "TENPO1" : "TENPO2");
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100);
  openJournalAndConfirm();
  journal->setShiwakenikkiDisplayCondition(nullptr);
  ASSERT_TRUE(sheet()->isSheetAttached());
  sheet()->kamokuConditionPopUp()->setCurrentIndex(1);
  sheet()->jigyoubuConditionPopUp()->setCurrentIndex(1);
  sheet()->setKamokuOfRow(0, kFutsuuYokin, 1);
  const auto& kamoku = sheet()->kamokuConditionRow(0);
  const auto& jigyoubu = sheet()->jigyoubuConditionRow(0);
  jigyoubu.codeBinding->setObjectValue(FieldValue::code(1));
  // Each text matches more than one.
  const std::tuple<QLineEdit*, const char*, const char*> cases[] = {
      {kamoku.codeField, "Z", "普通預金"}, {kamoku.hojyoField, "MI", "みずほ銀行"}, {jigyoubu.codeField, "T", "本店"}};
  for (const auto& [field, typed, held] : cases) {
    answerNextPanel(nullptr, QString(), Qt::Key_Escape);
    typeReturnIn(field, QString::fromLatin1(typed));
    EXPECT_EQ(std::pair(field->text(), sheet()->isSheetAttached()), std::pair(QString::fromUtf8(held), true)) << typed;
  }
  confirm();
  const ShiwakenikkiCondition& condition = ShiwakenikkiDisplayConditionController::conditionOfDocument(session);
  EXPECT_EQ(condition.kamokuConditionArray(), (std::vector<ShiwakenikkiSubCondition>{{kFutsuuYokin, 1, 0}}));
  EXPECT_EQ(condition.jigyoubuConditionArray(), (std::vector<ShiwakenikkiSubCondition>{{1, -1, 0}}));
}

// A press on OK that takes the focus from a field whose text opens a picker is spent
// on the picker (the mouse was released over it), whichever sheet it is: OK is not
// left drawn pressed, the sheet stays, and the first Escape then cancels the sheet.
TEST_F(ShiwakenikkiControllerTest, APressOnOKThatOpensAPickerIsSpentOnItInEverySheet)
{
  openEntryBooks({.jigyoubu = true});
  for (const JigyoubuPtr& j : books().jigyoubuArray()) j->setKana(j->code() == 1 ? "TENPO1" : "TENPO2");
  openJournalAndConfirm();
  // The picker, whether the sheet stays and OK is down, whether the first Escape ends it.
  const auto pressOK = [](SheetController* s, QLineEdit* field, QAbstractButton* ok, const char* typed) {
    flush();
    field->setFocus();
    field->setText(QString::fromUtf8(typed));  // matches more than one
    std::pair<QString, QString> opened;
    answerNextPanel(&opened, QString(), Qt::Key_Escape);
    QTest::mousePress(ok, Qt::LeftButton);
    flush();
    const bool stays = s->isSheetAttached(), down = ok->isDown();
    QTest::mouseRelease(s, Qt::LeftButton);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : s, Qt::Key_Escape);
    flush();
    return std::tuple(opened.first, stays, down, s->isSheetAttached());
  };
  journal->setShiwakenikkiDisplayCondition(nullptr);
  sheet()->kamokuConditionPopUp()->setCurrentIndex(1);
  EXPECT_EQ(pressOK(sheet(), sheet()->kamokuConditionRow(0).codeField, sheet()->okButton(), "Z"),
            std::tuple(QStringLiteral("kivo::KamokuFormatterListWindow"), true, false, false));
  auto* period = PeriodToPrintZandakaShisanController::controllerOfDocument(session);
  period->beginSheetForWindow(journal, {});
  EXPECT_EQ(pressOK(period, period->jigyoubuField(), period->okButton(), "T"),
            std::tuple(QStringLiteral("kivo::JigyoubuFormatterListWindow"), true, false, false));
}

TEST_F(ShiwakenikkiControllerTest, TheSheetsListsDropGoneItemsAndKeepRepeatsOnce)
{
  openEntryBooks({.hojyoKamoku = true});
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100);
  ShiwakenikkiCondition& c = ShiwakenikkiDisplayConditionController::conditionOfDocument(session);
  c.setKamokuConditionState(1);
  c.kamokuConditionArray() = {{999999, -1, 0}, {kFutsuuYokin, 7, 2}};  // a gone account, a gone sub-account
  openJournal();
  ASSERT_EQ(sheet()->numberOfKamokuConditionListRows(), 1);
  EXPECT_EQ(c.kamokuConditionArray(), (std::vector<ShiwakenikkiSubCondition>{{kFutsuuYokin, -1, 2}}));
  EXPECT_EQ(std::pair(sheet()->kamokuConditionRow(0).codeField->text(),
                      sheet()->kamokuConditionRow(0).selectHojyoButton->isEnabled()),
            std::pair(QString("普通預金"), true));

  // A repeated row becomes one item and its row goes; a second account stays.
  sheet()->addKamokuCondition(0);
  sheet()->kamokuConditionRow(1).sidePopUp->setCurrentIndex(2);
  sheet()->addKamokuCondition(0);
  sheet()->setKamokuOfRow(2, kGenkin, -1);
  ASSERT_EQ(sheet()->numberOfKamokuConditionListRows(), 3);
  // Without active divisions the division stage is off and cannot be turned on.
  EXPECT_EQ(
      std::pair(sheet()->jigyoubuConditionPopUp()->isEnabled(), sheet()->jigyoubuConditionPopUp()->currentIndex()),
      std::pair(false, 0));
  confirm();
  EXPECT_EQ(c.kamokuConditionArray(), (std::vector<ShiwakenikkiSubCondition>{{kFutsuuYokin, -1, 2}, {kGenkin, -1, 0}}));
  EXPECT_EQ(sheet()->numberOfKamokuConditionListRows(), 2);
  EXPECT_TRUE(c.jigyoubuConditionArray().empty());

  // Removing rows down to the last one turns the stage off and keeps the row.
  journal->setShiwakenikkiDisplayCondition(nullptr);
  for (int state : {1, 0}) {
    sheet()->removeKamokuCondition(0);
    EXPECT_EQ(std::pair(sheet()->numberOfKamokuConditionListRows(), sheet()->kamokuConditionPopUp()->currentIndex()),
              std::pair(1, state));
  }
  // Cancel leaves the condition as it was.
  sheet()->cancelButton()->click();
  flush();
  EXPECT_EQ(std::pair(c.kamokuConditionState(), c.kamokuConditionArray().size()), std::pair(1, size_t{2}));

  // Closing the window ends its open sheet, which the document keeps, and the
  // condition with it.
  journal->setShiwakenikkiDisplayCondition(nullptr);
  ASSERT_TRUE(sheet()->isSheetAttached());
  const QPointer<ShiwakenikkiDisplayConditionController> kept = sheet();
  journal->close();
  flush();
  ASSERT_TRUE(kept) << "the sheet went with the window";
  EXPECT_FALSE(kept->isSheetAttached());
  EXPECT_EQ(c.kamokuConditionArray().size(), 2u);
}

TEST_F(ShiwakenikkiControllerTest, TheCommandOpensOneJournalWhoseEntriesOpenTheirVoucherOrCashBook)
{
  openEntryBooks();
  const int32_t voucherNo = registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100);
  // The debit side is no cash account: the book is the credit side's.
  const int32_t n = addCashBookEntry(Date(2024, 4, 2), kShoumouhinhi, kGenkin, 300, "文具");
  // The application's command opens one journal per document, listed in the Window menu.
  activate(session->documentInfoController());
  WindowCommands::installCommandHandlers(app.get());
  app->performCommand(MainMenu::Command::ShowShiwakenikkiWindow, nullptr);
  flush();
  journal = qobject_cast<ShiwakenikkiController*>(session->shiwakenikkiController());
  ASSERT_TRUE(journal);
  activate(session->documentInfoController());
  app->performCommand(MainMenu::Command::ShowShiwakenikkiWindow, nullptr);
  flush();
  EXPECT_EQ(windowCount(DocumentWindow::Kind::Shiwakenikki), 1);
  EXPECT_TRUE(listedInWindowMenu("仕訳日記帳"));
  activate(journal);
  confirm();
  ASSERT_EQ(column(Matrix::DenpyouNo).last(), QString::number(n));
  journal->deselectSelectedCellAndThenSelectShiwakenikkiRow(0, Matrix::Tekiyou);
  journal->showInputShiwakeWindow();
  flush();
  auto* voucher = qobject_cast<FurikaedenpyouController*>(session->furikaedenpyouController());
  EXPECT_EQ(voucher->displayingDenpyouNo(), voucherNo);
  // The journal selects the row's date again.
  EXPECT_EQ(journal->selectedShiwakenikkiRow(), 0);
  EXPECT_EQ(journal->shiwakenikkiView()->selectedMatrix(), Matrix::Date);

  activate(journal);
  journal->deselectSelectedCellAndThenSelectShiwakenikkiRow(1, Matrix::Tekiyou);
  journal->showInputShiwakeWindow();
  flush();
  auto* book = qobject_cast<SuitoucyouController*>(session->suitoucyouControllerOfKamokuCode(kGenkin, -1));
  const int row = book->book().rowOfShiwakeOfDenpyouNo(n);
  EXPECT_GE(row, 0);
  EXPECT_EQ(book->selectedSuitoucyouRow(), row);
  // Asked again, the open book shows it.
  activate(journal);
  journal->showInputShiwakeWindow();
  flush();
  EXPECT_EQ(windowCount(DocumentWindow::Kind::Suitoucyou), 1);
}

// The journal's condition sheet confirmed by its OK: the menus' keys reach their
// commands at once, as the menus would show their items (the print panel runs on
// Ctrl+P, although the items were last validated while the sheet was up).
TEST_F(ShiwakenikkiControllerTest, TheMenusKeysWorkOnceTheSheetIsConfirmed)
{
  openEntryBooks();
  registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100);
  WindowCommands::installCommandHandlers(app.get());
  int panels = 0;
  PrintOperation::setPrintPanelResponderForTesting([&panels](QPrinter&, QWidget*) {
    ++panels;
    return false;
  });
  openJournalAndConfirm();
  ASSERT_EQ(journal->numberOfShiwakenikkiRows(), 1);
  QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : journal, Qt::Key_P, Qt::ControlModifier);
  flush();
  PrintOperation::setPrintPanelResponderForTesting({});
  EXPECT_EQ(panels, 1);
}

}  // namespace
}  // namespace kivo::test

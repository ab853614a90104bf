// The period sheet over ledger windows: keeping the range ordered, typed months, and
// where the chosen range goes.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/PeriodController.h"

namespace kivo::test {
namespace {

class PeriodControllerTest : public JournalWindowTest {
protected:
  void SetUp() override
  {
    JournalWindowTest::SetUp();
    openEntryBooks();
    registerVoucher(Date(2024, 4, 1), kGenkin, kUriagedaka, 100);
    registerVoucher(Date(2024, 9, 1), kGenkin, kUriagedaka, 200);
  }

  KanjyoumotocyouController* openLedger()
  {
    auto* w = new KanjyoumotocyouController(session);
    session->addWindowController(w);
    w->moveWindowToInitialPositionWithDisplay(true);
    w->setDisplayKamokuCode(kGenkin);
    w->updateAfterSelectDisplayingKamoku();
    flush();
    activate(w);
    return w;
  }

  PeriodController* sheet() { return PeriodController::periodControllerOfDocument(session); }
  static constexpr int kKessan = 12;  // the month count of an April-to-March term
};

TEST_F(PeriodControllerTest, TheLedgersRangeComesInAndTheBoxesKeepItOrdered)
{
  KanjyoumotocyouController* w = openLedger();
  w->setDisplayPeriodFromMonthArrayIndex(1);
  w->setDisplayPeriodToMonthArrayIndex(2);
  w->setKanjyoumotocyouDisplayingPeriod();
  ASSERT_TRUE(sheet()->isSheetAttached());
  EXPECT_EQ(sheet()->sheetWindow(), w);
  QComboBox* from = sheet()->monthFromComboBox();
  QComboBox* to = sheet()->monthToComboBox();
  ASSERT_EQ(from->count(), 13);
  EXPECT_EQ(from->itemText(0), "4月");
  EXPECT_EQ(from->itemText(kKessan), "決算整理月");
  EXPECT_EQ(from->currentIndex(), 1);
  EXPECT_EQ(to->currentIndex(), 2);

  from->setCurrentIndex(6);  // October while "to" is June
  sheet()->handleSelectMonthFromComboBox();
  EXPECT_EQ(to->currentIndex(), 6);
  from->setCurrentIndex(4);
  to->setCurrentIndex(1);  // May while "from" is August
  sheet()->handleSelectMonthToComboBox();
  EXPECT_EQ(from->currentIndex(), 1);
  sheet()->abortPeriodWindow();
}

TEST_F(PeriodControllerTest, TypedTextChoosesAMonthOrGivesThePreviousChoiceBack)
{
  struct Case {
    const char* typed;
    int expected;  // -1: the previous choice (index 2) stays
  };
  const Case cases[] = {{"13", kKessan}, {"4", 0},  {"1", 9},   {"12", 8},   {"5月", 1}, {"決算整理月", kKessan},
                        {"04", -1},      {"0", -1}, {"14", -1}, {"abc", -1}, {"", -1}};
  KanjyoumotocyouController* w = openLedger();
  w->setKanjyoumotocyouDisplayingPeriod();
  for (const Case& c : cases) {
    for (QComboBox* box : {sheet()->monthFromComboBox(), sheet()->monthToComboBox()}) {
      box->setCurrentIndex(2);
      box->setEditText(QString::fromUtf8(c.typed));
      sheet()->handleTextDidEndEditing(box);
      const int expected = c.expected < 0 ? 2 : c.expected;
      EXPECT_EQ(box->currentIndex(), expected) << c.typed;
      EXPECT_EQ(box->currentText(), box->itemText(expected)) << c.typed;
    }
  }
  sheet()->abortPeriodWindow();
}

TEST_F(PeriodControllerTest, APartialMonthIsChosenOnlyByItsName)
{
  // A term from April 15th: its months run from the 15th and are named by their range.
  books().kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 15), Date(2025, 4, 14));
  QStringList items;
  for (const Month& m : books().kaisya().monthArray()) items << QString::fromStdString(m.name());
  ASSERT_EQ(items.front(), "04/15 to 05/14");
  EXPECT_EQ(PeriodController::indexOfTypedMonth(items, "4"), -1);
  EXPECT_EQ(PeriodController::indexOfTypedMonth(items, "5"), -1);
  EXPECT_EQ(PeriodController::indexOfTypedMonth(items, "04/15 to 05/14"), 0);
}

TEST_F(PeriodControllerTest, TheOneSheetGoesToTheLastAskerAndOKWritesIntoItWhicheverIsMain)
{
  KanjyoumotocyouController* a = openLedger();
  KanjyoumotocyouController* b = openLedger();
  ASSERT_NE(a, b);
  activate(b);
  b->setKanjyoumotocyouDisplayingPeriod();
  sheet()->monthFromComboBox()->setCurrentIndex(3);
  activate(a);
  a->setKanjyoumotocyouDisplayingPeriod();
  ASSERT_EQ(sheet()->sheetWindow(), a);
  EXPECT_FALSE(b->hasAttachedSheet());
  sheet()->monthFromComboBox()->setCurrentIndex(5);
  sheet()->monthToComboBox()->setCurrentIndex(5);
  activate(b);  // another window has become main meanwhile
  ASSERT_EQ(app->mainWindowController(), b);
  static_cast<QPushButton*>(sheet()->okButton())->click();
  flush();
  EXPECT_EQ(a->displayPeriodFromMonthArrayIndex(), 5);
  EXPECT_EQ(a->displayPeriodToMonthArrayIndex(), 5);
  EXPECT_EQ(a->displayingPeriodFromField()->text(), "9月");
  EXPECT_EQ(a->numberOfRowsInTableView(), 4);  // opening, the September entry, its total, the total
  EXPECT_EQ(b->displayPeriodFromMonthArrayIndex(), 0);
  EXPECT_EQ(b->displayPeriodToMonthArrayIndex(), kKessan);
}

TEST_F(PeriodControllerTest, CancelAndAbortChangeNothingAndTheCancelButtonComesBack)
{
  KanjyoumotocyouController* w = openLedger();
  for (bool abort : {false, true}) {
    sheet()->setDoHideCancelButton(!abort);
    w->setKanjyoumotocyouDisplayingPeriod();
    EXPECT_EQ(sheet()->cancelButton()->isHidden(), !abort);
    sheet()->monthFromComboBox()->setCurrentIndex(3);
    if (abort)
      w->closeAttachedSheet();
    else
      sheet()->cancelButton()->click();
    flush();
    EXPECT_FALSE(sheet()->isSheetAttached());
    EXPECT_FALSE(sheet()->doHideCancelButton());
    EXPECT_EQ(sheet()->periodFromMonthArrayIndex(), 0);
    EXPECT_EQ(w->displayPeriodFromMonthArrayIndex(), 0);
  }
  w->setKanjyoumotocyouDisplayingPeriod();
  EXPECT_FALSE(sheet()->cancelButton()->isHidden());
  sheet()->abortPeriodWindow();
}

}  // namespace
}  // namespace kivo::test

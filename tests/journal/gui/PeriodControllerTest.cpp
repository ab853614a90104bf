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

  PeriodController* sheet() { return PeriodController::periodControllerOfDocument(session); }
  static constexpr int kKessan = 12;  // the month count of an April-to-March term
};

TEST_F(PeriodControllerTest, TheLedgersRangeComesInTheBoxesKeepItOrderedCancelChangesNothingAndMonthsAreTyped)
{
  KanjyoumotocyouController* w = openLedger(kGenkin);
  w->setDisplayPeriodFromMonthArrayIndex(1);
  w->setDisplayPeriodToMonthArrayIndex(2);
  w->setKanjyoumotocyouDisplayingPeriod();
  ASSERT_TRUE(sheet()->isSheetAttached());
  EXPECT_EQ(sheet()->sheetWindow(), w);
  QComboBox* from = sheet()->monthFromComboBox();
  QComboBox* to = sheet()->monthToComboBox();
  ASSERT_EQ(from->count(), 13);
  EXPECT_EQ(std::pair(from->itemText(0), from->itemText(kKessan)), std::pair(QString("4月"), QString("決算整理月")));
  EXPECT_EQ(std::pair(from->currentIndex(), to->currentIndex()), std::pair(1, 2));

  from->setCurrentIndex(6);  // October while "to" is June
  sheet()->handleSelectMonthFromComboBox();
  EXPECT_EQ(to->currentIndex(), 6);
  from->setCurrentIndex(4);
  to->setCurrentIndex(1);  // May while "from" is August
  sheet()->handleSelectMonthToComboBox();
  EXPECT_EQ(from->currentIndex(), 1);
  sheet()->abortPeriodWindow();

  // Cancel and abort change nothing, and the Cancel button comes back.
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
    EXPECT_EQ(std::tuple(sheet()->isSheetAttached(), sheet()->doHideCancelButton(),
                         sheet()->periodFromMonthArrayIndex(), w->displayPeriodFromMonthArrayIndex()),
              std::tuple(false, false, 1, 1));
  }
  w->setKanjyoumotocyouDisplayingPeriod();
  EXPECT_FALSE(sheet()->cancelButton()->isHidden());

  // Typed text chooses a month or gives the previous choice back.
  // The text typed, the month chosen; -1: the previous choice (index 2) stays.
  const std::pair<const char*, int> cases[] = {
      {"13", kKessan}, {"4", 0},  {"1", 9},   {"12", 8},   {"5月", 1}, {"決算整理月", kKessan},
      {"04", -1},      {"0", -1}, {"14", -1}, {"abc", -1}, {"", -1}};
  for (const auto& [typed, chosen] : cases) {
    for (QComboBox* box : {sheet()->monthFromComboBox(), sheet()->monthToComboBox()}) {
      box->setCurrentIndex(2);
      box->setEditText(QString::fromUtf8(typed));
      sheet()->handleTextDidEndEditing(box);
      const int expected = chosen < 0 ? 2 : chosen;
      EXPECT_EQ(std::pair(box->currentIndex(), box->currentText()), std::pair(expected, box->itemText(expected)))
          << typed;
    }
  }
  sheet()->abortPeriodWindow();

  // A term from April 15th: its months run from the 15th and are named by their range.
  books().kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 15), Date(2025, 4, 14));
  QStringList items;
  for (const Month& m : books().kaisya().monthArray()) items << QString::fromStdString(m.name());
  ASSERT_EQ(items.front(), "04/15 to 05/14");
  for (const auto& [typed, index] : {std::pair("4", -1), std::pair("5", -1), std::pair("04/15 to 05/14", 0)})
    EXPECT_EQ(PeriodController::indexOfTypedMonth(items, typed), index) << typed;
}

TEST_F(PeriodControllerTest, TheOneSheetGoesToTheLastAskerAndOKWritesIntoItWhicheverIsMain)
{
  KanjyoumotocyouController* a = openLedger(kGenkin);
  KanjyoumotocyouController* b = openLedger(kUriagedaka);
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
  EXPECT_EQ(std::pair(a->displayPeriodFromMonthArrayIndex(), a->displayPeriodToMonthArrayIndex()), std::pair(5, 5));
  EXPECT_EQ(a->displayingPeriodFromField()->text(), "9月");
  EXPECT_EQ(a->numberOfRowsInTableView(), 4);  // opening, the September entry, its total, the total
  EXPECT_EQ(std::pair(b->displayPeriodFromMonthArrayIndex(), b->displayPeriodToMonthArrayIndex()),
            std::pair(0, kKessan));
}

}  // namespace
}  // namespace kivo::test

// The refresh of output windows after a change of the journal, driven through real
// windows: what recomputes at once, what waits until it becomes main.
#include "support/AppTestFixture.h"

namespace kivo::test {
namespace {

using Kind = DocumentWindow::Kind;

class RefreshProtocolTest : public AppTest {
protected:
  void setAutoUpdate(bool on) { UserDefaults::standardUserDefaults().setBool(on, KIVOAutoUpdateAllOutputWindowsKey); }
};

TEST_F(RefreshProtocolTest, OutputWindowsFollowTheRuleForMainAndAutoUpdateAndWaitingOnesRefreshWhenForced)
{
  DocumentSession* doc = openBooks();
  StubWindow* trial = addStub(doc, Kind::ZandakaShisan, QStringLiteral("合計残高試算表"));
  StubWindow* journal = addStub(doc, Kind::Shiwakenikki, QStringLiteral("仕訳日記帳"));
  StubWindow* voucher = addStub(doc, Kind::Furikaedenpyou, QStringLiteral("振替伝票"));
  activate(trial);
  ASSERT_EQ(app->mainWindowController(), trial);
  struct Case {
    bool autoUpdate;
    int trialRecomputes;    // the main window
    int journalRecomputes;  // an output window in the background
    bool journalWaits;
  };
  const Case cases[] = {
      {true, 1, 1, false},
      {false, 1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.autoUpdate ? "auto update on" : "auto update off");
    setAutoUpdate(c.autoUpdate);
    trial->recomputeCount = journal->recomputeCount = voucher->recomputeCount = 0;
    for (int i = 0; i < 3; ++i) doc->shiwakeArrayDidChange(false);
    EXPECT_EQ(trial->recomputeCount, 3 * c.trialRecomputes);
    EXPECT_EQ(journal->recomputeCount, 3 * c.journalRecomputes);
    EXPECT_EQ(journal->doNeedUpdate(), c.journalWaits);
    EXPECT_FALSE(trial->doNeedUpdate());
    // Entry windows are not output windows.
    EXPECT_EQ(voucher->recomputeCount, 0);
    // Another window becoming main does not wake a waiting one; becoming main
    // itself catches up, once for all the changes.
    activate(voucher);
    EXPECT_EQ(journal->doNeedUpdate(), c.journalWaits);
    trial->recomputeCount = 0;
    journal->recomputeCount = 0;
    activate(journal);
    EXPECT_EQ(journal->recomputeCount, c.journalWaits ? 1 : 0);
    EXPECT_FALSE(journal->doNeedUpdate());
    activate(trial);
    EXPECT_EQ(trial->recomputeCount, 0);
  }

  // Waiting windows refresh when forced, or on becoming main unless a ledger cannot end its edit.
  setAutoUpdate(false);
  trial->recomputeCount = journal->recomputeCount = 0;
  doc->shiwakeArrayDidChange(false);
  ASSERT_TRUE(journal->doNeedUpdate());
  // A forced refresh leaves the setting alone.
  doc->updateAllOutputWindowControllersUIIfNeedUpdate();
  EXPECT_EQ(journal->recomputeCount, 1);
  EXPECT_FALSE(journal->doNeedUpdate());
  EXPECT_EQ(trial->recomputeCount, 1);  // was not waiting: not recomputed again
  EXPECT_FALSE(UserDefaults::standardUserDefaults().boolForKey(KIVOAutoUpdateAllOutputWindowsKey));

  // With the setting on there is nothing to force.
  setAutoUpdate(true);
  doc->updateAllOutputWindowControllersUIIfNeedUpdate();
  EXPECT_EQ(journal->recomputeCount, 1);

  // A ledger that cannot end its edit keeps others from refreshing on becoming main.
  setAutoUpdate(false);
  addStub(doc, Kind::Kanjyoumotocyou, QStringLiteral("総勘定元帳"));
  activate(trial);
  doc->shiwakeArrayDidChange(false);
  journal->recomputeCount = 0;
  ASSERT_TRUE(journal->doNeedUpdate());

  auto* refusing = new StubWindow(doc, Kind::Kanjyoumotocyou, QStringLiteral("総勘定元帳 2"));
  refusing->settleAnswer = false;
  doc->addWindowController(refusing);
  refusing->showWindow();
  EXPECT_FALSE(doc->deselectKanjyoumotocyouCellsOfAllShiwake());
  activate(journal);
  EXPECT_EQ(journal->recomputeCount, 0);
  EXPECT_TRUE(journal->doNeedUpdate());

  refusing->settleAnswer = true;
  closeNow(refusing);
  EXPECT_TRUE(doc->deselectKanjyoumotocyouCellsOfAllShiwake());
  activate(voucher);
  activate(journal);
  EXPECT_EQ(journal->recomputeCount, 1);
}

}  // namespace
}  // namespace kivo::test

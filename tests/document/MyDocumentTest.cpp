#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

ShiwakePtr entry(Date date, int32_t denpyouNo, int32_t kind = Shiwake::kFurikaedenpyou)
{
  auto s = std::make_shared<Shiwake>();
  s->setDate(date);
  s->setDenpyouNo(denpyouNo);
  s->setKindOfShiwake(kind);
  return s;
}

std::vector<int32_t> numbers(const std::vector<ShiwakePtr>& a)
{
  std::vector<int32_t> out;
  for (const ShiwakePtr& s : a) out.push_back(s->denpyouNo());
  return out;
}

TEST(MyDocumentDateOrder, ClosingAdjustmentMonthFollowsEveryRealDate)
{
  const Date kessan = Date::kessanSeiridukiDate();
  EXPECT_EQ(MyDocument::compareDate(Date(2025, 3, 31), kessan), -1);
  EXPECT_EQ(MyDocument::compareDate(kessan, Date(2099, 1, 1)), 1);
  EXPECT_EQ(MyDocument::compareDate(kessan, kessan), 0);
  EXPECT_EQ(MyDocument::compareDate(Date(2024, 4, 2), Date(2024, 4, 1)), 1);
  EXPECT_EQ(MyDocument::compareDate(Date(), Date(2024, 4, 1)), 0);
}

TEST(MyDocumentSortedShiwakeArray, SortsByDateKeepingJournalOrderWithinADay)
{
  MyDocument doc;
  auto& j = doc.shiwakeArray();
  j = {entry(Date::kessanSeiridukiDate(), 9), entry(Date(2024, 5, 1), 3), entry(Date(2024, 4, 1), 1),
       entry(Date(2024, 5, 1), 4), entry(Date(2024, 4, 1), 2)};
  doc.setSortedShiwakeArray();
  EXPECT_EQ(numbers(doc.sortedShiwakeArray()), (std::vector<int32_t>{1, 2, 3, 4, 9}));
  EXPECT_EQ(doc.sortedShiwakeArray()[0]->indexOfArray(), 2);
  EXPECT_TRUE(doc.didSortedShiwakeArrayUpdate());

  // While the flag says current, the copy stands even though the journal changed.
  j.push_back(entry(Date(2024, 4, 15), 5));
  doc.setSortedShiwakeArray();
  EXPECT_EQ(doc.sortedShiwakeArray().size(), 5u);
  doc.setDidSortedShiwakeArrayUpdate(false);
  doc.setSortedShiwakeArray();
  EXPECT_EQ(numbers(doc.sortedShiwakeArray()), (std::vector<int32_t>{1, 2, 5, 3, 4, 9}));
}

TEST(MyDocumentInsertFurikaedenpyouShiwake, PlacesEntriesBeforeTheFirstLaterVoucherLine)
{
  MyDocument doc;
  auto& j = doc.shiwakeArray();
  auto cash = entry(Date(2024, 4, 3), 7, Shiwake::kSuitoucyou);
  j = {entry(Date(2024, 4, 1), 1), cash, entry(Date(2024, 4, 5), 2), entry(Date::kessanSeiridukiDate(), 3)};

  doc.insertFurikaedenpyouShiwake(entry(Date(2024, 4, 2), 10));  // cash-book lines are not insert points
  EXPECT_EQ(numbers(j), (std::vector<int32_t>{1, 7, 10, 2, 3}));
  doc.insertFurikaedenpyouShiwake(entry(Date(2024, 4, 5), 11));  // after the same day
  EXPECT_EQ(numbers(j), (std::vector<int32_t>{1, 7, 10, 2, 11, 3}));
  doc.insertFurikaedenpyouShiwake(entry(Date(2025, 3, 31), 12));  // before the closing month
  EXPECT_EQ(numbers(j), (std::vector<int32_t>{1, 7, 10, 2, 11, 12, 3}));
  doc.insertFurikaedenpyouShiwake(entry(Date::kessanSeiridukiDate(), 13));  // appended
  EXPECT_EQ(numbers(j).back(), 13);

  // An entry already in the journal moves instead of being doubled.
  auto moved = j[2];
  moved->setDate(Date(2024, 4, 6));
  doc.insertFurikaedenpyouShiwake(moved);
  EXPECT_EQ(numbers(j), (std::vector<int32_t>{1, 7, 2, 11, 10, 12, 3, 13}));
}

TEST(MyDocumentSortedByDateCheck, LooksOnlyAtRegisteredEntriesAndCachesItsAnswer)
{
  MyDocument doc;
  auto& j = doc.shiwakeArray();
  j = {entry(Date(2024, 4, 2), 1), entry(Date(2024, 4, 1), 0), entry(Date(2024, 4, 3), 2)};
  EXPECT_TRUE(doc.isShiwakeArraySortedByDate());  // the pending row (0) does not count
  j.push_back(entry(Date(2024, 4, 1), 3));
  EXPECT_TRUE(doc.isShiwakeArraySortedByDate());  // the answer stands until asked again
  doc.setDoNeedToCheckShiwakeArraySortedByDate(true);
  EXPECT_FALSE(doc.isShiwakeArraySortedByDate());
  doc.sortShiwakeArrayByDate();
  EXPECT_TRUE(doc.isShiwakeArraySortedByDate());
  EXPECT_EQ(numbers(j), (std::vector<int32_t>{0, 3, 1, 2}));
}

TEST(MyDocumentCounts, VoucherAndAccountCountsFollowTheirRules)
{
  MyDocument doc;
  auto a = entry(Date(2024, 4, 1), 5);
  a->setKarikataKamokuCode(100);
  a->setKarikataHojyoKamokuCode(1);
  auto hidden = entry(Date(2024, 4, 1), 5);
  hidden->setDidCreateBeforeOpen(true);
  auto pending = entry(Date(2024, 4, 1), 0);
  pending->setKashikataKamokuCode(100);
  pending->setKashikataHojyoKamokuCode(1);
  auto regular = entry(Date::regularTypeDenpyouDate(), -1);
  regular->setKarikataKamokuCode(100);
  regular->setKarikataHojyoKamokuCode(1);
  doc.shiwakeArray() = {a, hidden, pending, regular};
  EXPECT_EQ(doc.numberOfShiwakeForDenpyouNo(5), 1);
  EXPECT_EQ(doc.numberOfShiwakeForDenpyouNo(6), 0);
  EXPECT_EQ(doc.numberOfShiwakeWhichHasKamokuCode(100, 1), 2);
  EXPECT_EQ(doc.numberOfShiwakeWhichHasKamokuCode(100, -1), 0);
}

TEST(MyDocumentAccounts, InactiveAccountsStayInTheBuildersArray)
{
  auto doc = test::makeDocumentWithEveryRecord();
  const KamokuPtr inactive = doc->codeSortedKamokuArray()[5];
  ASSERT_FALSE(inactive->isActive());
  doc->setSortedKamokuArray();
  const auto& active = doc->codeSortedActiveKamokuArray();
  EXPECT_EQ(doc->codeSortedKamokuArray().size(), active.size() + 1);
  EXPECT_EQ(std::find(active.begin(), active.end(), inactive), active.end());
  EXPECT_EQ(doc->kamokuOfCode(inactive->code()), inactive);
  EXPECT_EQ(doc->kamokuOfCode(998), nullptr);
  EXPECT_TRUE(doc->doesHaveKamokuWhichHasActiveHojyoKamoku());
  EXPECT_EQ(doc->codeSortedSuitouKamokuArray().size(), 3u);
}

TEST(MyDocumentLookups, DivisionsAndDescriptionsAreFoundAsTyped)
{
  auto doc = test::makeDocumentWithEveryRecord();
  EXPECT_EQ(doc->numberOfActiveJigyoubu(), 2);
  EXPECT_EQ(doc->matchJigyoubuCode("0")->code(), 1);
  EXPECT_EQ(doc->matchJigyoubuCode("02")->code(), 2);
  EXPECT_EQ(doc->matchJigyoubuCode("03"), nullptr);  // inactive
  EXPECT_EQ(doc->jigyoubuForName("事業部2")->code(), 2);

  auto sales = doc->tekiyouGroupArray()[1];
  sales->tekiyouArray().push_back(std::make_shared<Tekiyou>("雑収入", "ザツシュウニュウ"));
  // An exact kana anywhere wins over a prefix in the preferred group.
  EXPECT_EQ(doc->matchTekiyouKana("ザッピ", "売上", "")->tekiyou(), "雑費");
  EXPECT_EQ(doc->matchTekiyouKana("ザツ", "売上", "")->tekiyou(), "雑収入");
  EXPECT_EQ(doc->matchTekiyouKana("ゲンキン", "", "")->tekiyou(), "現金売上");
  EXPECT_EQ(doc->matchTekiyouKana("ヌ", "売上", "その他"), nullptr);
}

TEST(MyDocumentHendouReasons, EquityEntriesAreAssignedAndRenamesFollow)
{
  auto doc = test::makeDocumentWithEveryRecord();
  doc->hendouReasonArray().clear();
  const KamokuPtr equity = doc->codeSortedKamokuArray()[6];
  auto dividend = entry(Date(2024, 6, 30), 500);
  dividend->setKarikataKamokuCode(equity->code());
  dividend->setKashikataKamokuCode(100);
  doc->shiwakeArray().push_back(dividend);
  doc->setDidSortedShiwakeArrayUpdate(false);

  doc->updateHendouReasonArray();
  const auto& reasons = doc->hendouReasonArray();
  ASSERT_EQ(reasons.size(), 3u);
  EXPECT_EQ(reasons[0]->reasonString(), "no reason");
  EXPECT_EQ(reasons[2]->reasonString(), "株主資本以外の項目の当期変動額(純額)");
  EXPECT_EQ(dividend->hendouReasonStr(), "no reason");
  EXPECT_NE(std::find(reasons[0]->shiwakeArray().begin(), reasons[0]->shiwakeArray().end(), dividend),
            reasons[0]->shiwakeArray().end());

  reasons[0]->setReasonString("剰余金の配当");
  doc->setDoNeedUpdateHendouReasonArray(true);
  doc->updateHendouReasonArray();
  EXPECT_EQ(dividend->hendouReasonStr(), "剰余金の配当");
  EXPECT_FALSE(doc->isDocumentEdited());
}

TEST(MyDocumentHendouReasons, TheListsFollowTheJournalEvenAfterAReportSortedIt)
{
  auto doc = test::makeDocumentWithEveryRecord();
  doc->hendouReasonArray().clear();
  const KamokuPtr equity = doc->codeSortedKamokuArray()[6];
  doc->updateHendouReasonArray();
  const size_t before = doc->hendouReasonArray()[0]->shiwakeArray().size();

  // An entry added, and the sorted journal brought up to date by some report before
  // the reasons are looked at again.
  auto dividend = entry(Date(2024, 7, 1), 800);
  dividend->setKarikataKamokuCode(equity->code());
  dividend->setKashikataKamokuCode(100);
  doc->shiwakeArray().push_back(dividend);
  doc->shiwakeArrayDidChange(false);
  doc->setSortedShiwakeArray();
  EXPECT_FALSE(doc->isHendouReasonArrayCurrent());
  doc->updateHendouReasonArray();
  EXPECT_TRUE(doc->isHendouReasonArrayCurrent());
  EXPECT_EQ(doc->hendouReasonArray()[0]->shiwakeArray().size(), before + 1);

  // A change of the reasons themselves is a reason to rebuild as well.
  doc->hendouReasonArrayDidChange();
  EXPECT_FALSE(doc->isHendouReasonArrayCurrent());
}

class RecordingWindow : public DocumentWindow {
public:
  explicit RecordingWindow(Kind kind) : kind_(kind) {}
  Kind windowKind() const override { return kind_; }
  void updateUI(bool force) override { calls.push_back(force); }
  bool doNeedUpdate() const override { return stale; }
  std::vector<bool> calls;
  bool stale = false;

private:
  Kind kind_;
};

class RecordingHost : public DocumentHost {
public:
  void documentEditedChanged(bool edited) override { editedChanges.push_back(edited); }
  void removeAllUndoActions() override { ++undoClears; }
  std::vector<bool> editedChanges;
  int undoClears = 0;
};

TEST(MyDocumentRefresh, AJournalChangeMarksEditedVoidsPeriodsAndTellsOutputWindows)
{
  MyDocument doc;
  RecordingHost host;
  doc.setHost(&host);
  RecordingWindow journal(DocumentWindow::Kind::Shiwakenikki), voucher(DocumentWindow::Kind::Furikaedenpyou),
      trial(DocumentWindow::Kind::ZandakaShisan);
  doc.addWindow(&journal);
  doc.addWindow(&voucher);
  doc.addWindow(&trial);
  doc.setSortedShiwakeArray();
  doc.setZandakaShisanFromDate(Date(2024, 4, 1));
  doc.setDoNeedUpdateSuiiShisanData(false);

  doc.shiwakeArrayDidChange(true);
  EXPECT_TRUE(doc.isDocumentEdited());
  EXPECT_EQ(host.editedChanges, std::vector<bool>{true});
  EXPECT_EQ(host.undoClears, 1);
  EXPECT_FALSE(doc.didSortedShiwakeArrayUpdate());
  EXPECT_EQ(doc.zandakaShisanFromDate(), Date::regularTypeDenpyouDate());
  EXPECT_EQ(doc.houkokusyoToDate(), Date::regularTypeDenpyouDate());
  EXPECT_TRUE(doc.doNeedUpdateSuiiShisanData());
  EXPECT_EQ(journal.calls, std::vector<bool>{false});
  EXPECT_TRUE(voucher.calls.empty());

  doc.shiwakeArrayDidChange(false);
  EXPECT_EQ(host.undoClears, 1);
  EXPECT_EQ(host.editedChanges.size(), 1u);  // already edited: no second notice

  // Only stale output windows are forced, and only when auto-update is off.
  trial.stale = true;
  journal.calls.clear();
  trial.calls.clear();
  doc.updateAllOutputWindowControllersUIIfNeedUpdate(true);
  EXPECT_TRUE(trial.calls.empty());
  doc.updateAllOutputWindowControllersUIIfNeedUpdate(false);
  EXPECT_EQ(trial.calls, std::vector<bool>{true});
  EXPECT_TRUE(journal.calls.empty());

  doc.updateChangeCount(MyDocument::ChangeType::Cleared);
  EXPECT_FALSE(doc.isDocumentEdited());
  EXPECT_EQ(host.editedChanges.back(), false);
}

TEST(MyDocumentBookmarks, RemovingABookmarkAnswersWhetherThereWasOne)
{
  auto doc = test::makeDocumentWithEveryRecord();
  EXPECT_FALSE(doc->removeFurikaedenpyouBookmarkOfDenpyouNo(4));
  EXPECT_TRUE(doc->removeFurikaedenpyouBookmarkOfDenpyouNo(3));
  EXPECT_TRUE(doc->furikaedenpyouBookmarkArray().empty());
  EXPECT_FALSE(doc->isDocumentEdited());
}

}  // namespace
}  // namespace kivo

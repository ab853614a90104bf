#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "document/MyDocument.h"
#include "support/TestBooks.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

class RecordingWindow : public DocumentWindow {
public:
  explicit RecordingWindow(Kind kind) : kind_(kind) {}
  Kind windowKind() const override { return kind_; }
  void updateUI(bool force) override { calls.push_back(force); }
  void journalDidChangeAccounts(const ChangedAccounts&) override { ++changedAccounts; }
  std::vector<bool> calls;
  int changedAccounts = 0;

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

TEST(MyDocumentTest, WindowsAndHostAreToldRecordsAreFoundAsTypedAndEquityEntriesFollowTheirReasons)
{
  MyDocument bare;
  RecordingHost host;
  bare.setHost(&host);
  RecordingWindow journal(DocumentWindow::Kind::Shiwakenikki), voucher(DocumentWindow::Kind::Furikaedenpyou);
  for (RecordingWindow* w : {&journal, &voucher}) bare.addWindow(w);

  bare.shiwakeArrayDidChange(true);
  bare.shiwakeArrayDidChange(false);
  // Already edited: no second notice.
  EXPECT_EQ(std::tuple(host.undoClears, host.editedChanges, journal.calls.size(), voucher.calls.size()),
            std::tuple(1, std::vector<bool>{true}, 2u, 0u));

  // Changed accounts reach every window but the one that made the change.
  ChangedAccounts accounts;
  accounts.add(100, -1);
  bare.journalDidChangeAccounts(accounts, &voucher);
  EXPECT_EQ(std::pair(journal.changedAccounts, voucher.changedAccounts), std::pair(1, 0));

  // Entries on equity accounts are listed under their reasons ("no reason" until
  // one is given); a renamed reason carries its entries, and the lists follow the
  // journal and the reasons' own changes.
  // Inactive accounts stay in the builder's array, and records are found as typed.
  auto doc = test::makeDocumentWithEveryRecord();
  const KamokuPtr inactive = doc->codeSortedKamokuArray()[5];
  ASSERT_FALSE(inactive->isActive());
  doc->setSortedKamokuArray();
  const auto& active = doc->codeSortedActiveKamokuArray();
  EXPECT_EQ(doc->codeSortedKamokuArray().size(), active.size() + 1);
  EXPECT_EQ(std::find(active.begin(), active.end(), inactive), active.end());
  EXPECT_EQ(std::tuple(doc->kamokuOfCode(inactive->code()), doc->kamokuOfCode(998),
                       doc->doesHaveKamokuWhichHasActiveHojyoKamoku(), doc->codeSortedSuitouKamokuArray().size()),
            std::tuple(inactive, nullptr, true, 3u));

  // Divisions and descriptions are found as typed (division 3 is inactive).
  EXPECT_EQ(std::tuple(doc->numberOfActiveJigyoubu(), doc->matchJigyoubuCode("0")->code(),
                       doc->matchJigyoubuCode("02")->code(), doc->matchJigyoubuCode("03")),
            std::tuple(2, 1, 2, nullptr));

  auto sales = doc->tekiyouGroupArray()[1];
  sales->tekiyouArray().push_back(std::make_shared<Tekiyou>("雑収入", "ザツシュウニュウ"));
  // An exact kana anywhere wins over a prefix in the preferred group.
  EXPECT_EQ(doc->matchTekiyouKana("ザッピ", "売上", "")->tekiyou(), "雑費");
  EXPECT_EQ(doc->matchTekiyouKana("ザツ", "売上", "")->tekiyou(), "雑収入");
  EXPECT_EQ(doc->matchTekiyouKana("ゲンキン", "", "")->tekiyou(), "現金売上");
  EXPECT_EQ(doc->matchTekiyouKana("ヌ", "売上", "その他"), nullptr);

  // Removing a bookmark answers whether there was one.
  EXPECT_FALSE(doc->removeFurikaedenpyouBookmarkOfDenpyouNo(4));
  EXPECT_TRUE(doc->removeFurikaedenpyouBookmarkOfDenpyouNo(3));
  EXPECT_TRUE(doc->furikaedenpyouBookmarkArray().empty());
  EXPECT_FALSE(doc->isDocumentEdited());

  // Equity entries follow their reasons.
  doc->hendouReasonArray().clear();
  const int32_t equity = doc->codeSortedKamokuArray()[6]->code();
  const ShiwakePtr dividend = test::makeEntry(Date(2024, 6, 30), 500, equity, 100, 0);
  doc->journal().append(dividend);

  doc->updateHendouReasonArray();
  const auto& reasons = doc->hendouReasonArray();
  ASSERT_EQ(reasons.size(), 3u);
  EXPECT_EQ(reasons[0]->reasonString(), "no reason");
  EXPECT_EQ(reasons[2]->reasonString(), "株主資本以外の項目の当期変動額(純額)");
  EXPECT_EQ(dividend->hendouReasonStr(), "no reason");
  const size_t listed = reasons[0]->shiwakeArray().size();
  EXPECT_NE(std::find(reasons[0]->shiwakeArray().begin(), reasons[0]->shiwakeArray().end(), dividend),
            reasons[0]->shiwakeArray().end());
  EXPECT_TRUE(doc->isHendouReasonArrayCurrent());

  reasons[0]->setReasonString("剰余金の配当");
  doc->hendouReasonArrayDidChange();
  EXPECT_FALSE(doc->isHendouReasonArrayCurrent());
  doc->updateHendouReasonArray();
  EXPECT_EQ(dividend->hendouReasonStr(), "剰余金の配当");

  doc->journal().append(test::makeEntry(Date(2024, 7, 1), 800, equity, 100, 0));
  doc->journal().entries().back()->setHendouReasonStr("剰余金の配当");
  EXPECT_FALSE(doc->isHendouReasonArrayCurrent());
  doc->updateHendouReasonArray();
  EXPECT_EQ(reasons[0]->shiwakeArray().size(), listed + 1);
  EXPECT_FALSE(doc->isDocumentEdited());

  // Changes of the journal and of the master data void the report caches.
  const std::vector<std::pair<const char*, std::function<void(MyDocument&)>>> changes = {
      {"journal", [](MyDocument& d) { d.journal().removeAt(0); }},
      {"accounts", [](MyDocument& d) { d.setSortedKamokuArray(); }},
      {"divisions", [](MyDocument& d) { d.setJigyoubuArray(d.jigyoubuArray()); }},
      {"master data", [](MyDocument& d) { d.makeAllOutputWindowDisplayArrayVoid(); }},
  };
  for (const auto& [what, change] : changes) {
    const MyDocument::DataGeneration before = doc->reportDataGeneration();
    change(*doc);
    EXPECT_FALSE(doc->reportDataGeneration() == before) << what;
  }
}

}  // namespace
}  // namespace kivo

// The voucher window's drawer, offscreen: the naming sheet, the four buttons, the
// month list's jumps, a limited user's list, and the document's changed state.
#include <QCheckBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QUndoStack>

#include "entry/FurikaedenpyouBookmarks.h"
#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouBookmarkController.h"
#include "entry/gui/FurikaedenpyouView.h"

namespace kivo::test {
namespace {

class FurikaedenpyouBookmarkTest : public EntryWindowTest {
protected:
  void TearDown() override
  {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.removeObjectForKey(KIVOFurikaedenpyouDrawerContentSizeWidthKey);
    defaults.removeObjectForKey(KIVOFurikaedenpyouDrawerContentSizeHeightKey);
    EntryWindowTest::TearDown();
  }

  // Vouchers 1 (April), 2 and 3 (May, after a cash-book entry); bookmarks on 3 and 1,
  // the one on 1 for limited users.
  FurikaedenpyouController* openVoucherWindow(bool limited = false)
  {
    auto b = makeBooks();
    b->journal().assign({makeEntry(Date(2024, 4, 1), 1, kGenkin, kUriagedaka, 10),
                         makeCashEntry(Date(2024, 5, 1), 8, kGenkin, kUriagedaka, 7),
                         makeEntry(Date(2024, 5, 2), 2, kGenkin, kUriagedaka, 20),
                         makeEntry(Date(2024, 5, 3), 3, kGenkin, kUriagedaka, 30)});
    b->kaisya().setMinAvailableDenpyouNo(10);
    FurikaedenpyouBookmarks::storeBookmark(b->furikaedenpyouBookmarkArray(), 3, "三番", false);
    FurikaedenpyouBookmarks::storeBookmark(b->furikaedenpyouBookmarkArray(), 1, "一番", true);
    b->setWasOpenedByLimitedUserPassword(limited);
    openDocument(std::move(b));
    return shown(FurikaedenpyouController::showDenpyouOfDenpyouNo(session, 1));
  }

  std::vector<int32_t> numbers()
  {
    std::vector<int32_t> n;
    for (const BookmarkPtr& b : books().furikaedenpyouBookmarkArray()) n.push_back(b->denpyouNo());
    return n;
  }
  QStringList tableTexts(QTableWidget* t, int column)
  {
    QStringList texts;
    for (int r = 0; r < t->rowCount(); ++r) texts << t->item(r, column)->text();
    return texts;
  }
  void markSaved() { session->updateChangeCount(MyDocument::ChangeType::Cleared); }
};

TEST_F(FurikaedenpyouBookmarkTest, TheSheetAddsRenamesAndTheButtonsRemoveAndMove)
{
  FurikaedenpyouController* w = openVoucherWindow();
  QAction* add = w->functionMenuAction(QStringLiteral("ブックマークに追加..."));
  EXPECT_FALSE(add->isEnabled());  // voucher 1 has its bookmark
  EXPECT_EQ(tableTexts(w->bookmarkTableView(), 1), (QStringList{"三番", "一番"}));
  EXPECT_EQ(w->bookmarkTableView()->currentRow(), 1);

  w->displayShiwakeOfDenpyouNo(2);
  EXPECT_TRUE(w->bookmarkTableView()->selectedItems().isEmpty());
  EXPECT_TRUE(add->isEnabled());
  markSaved();
  session->undoManager()->push(new QUndoCommand(QStringLiteral("x")));
  add->trigger();
  flush();
  auto* sheet = FurikaedenpyouBookmarkController::bookmarkControllerOfDocument(session);
  EXPECT_TRUE(sheet->isSheetAttached());
  sheet->nameField()->setText(QStringLiteral("二番"));
  sheet->okButton()->click();
  flush();
  EXPECT_EQ(numbers(), (std::vector<int32_t>{3, 1, 2}));
  // A change to be saved, that clears the undo stack.
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), books().isDocumentEdited(), session->undoManager()->count(),
                       w->bookmarkTableView()->currentRow(), add->isEnabled()),
            std::tuple(false, true, 0, 2, false));

  // The edit button renames; the same name again changes nothing; an empty name stays.
  markSaved();
  w->editBookmarkButton()->click();
  flush();
  EXPECT_EQ(std::pair(sheet->nameField()->text(), sheet->activateWithLimitedUserPasswordCheckbox()->isEnabled()),
            std::pair(QStringLiteral("二番"), false));
  sheet->okButton()->click();
  flush();
  EXPECT_FALSE(books().isDocumentEdited());
  w->editBookmarkButton()->click();
  sheet->nameField()->clear();
  sheet->okButton()->click();
  EXPECT_TRUE(sheet->isSheetAttached());
  sheet->nameField()->setText(QStringLiteral("弐番"));
  sheet->okButton()->click();
  flush();
  ASSERT_EQ(books().furikaedenpyouBookmarkArray().size(), 3u);
  EXPECT_EQ(std::pair(books().furikaedenpyouBookmarkArray()[2]->name(), books().isDocumentEdited()),
            std::pair(std::string("弐番"), true));

  // The button clicked, the bookmarks' numbers and the row selected afterwards (-1: any).
  const std::tuple<QPushButton*, std::vector<int32_t>, int> steps[] = {
      {w->moveBookmarkDownButton(), {2, 1, 3}, 0},  // last down: swapped with the first
      {w->moveBookmarkUpButton(), {3, 1, 2}, 2},    // first up: swapped with the last
      {w->removeBookmarkButton(), {3, 1}, -1},      // removal is a change to be saved too
  };
  for (const auto& [button, after, selected] : steps) {
    markSaved();
    button->click();
    flush();
    EXPECT_EQ(numbers(), after);
    EXPECT_TRUE(books().isDocumentEdited());
    EXPECT_EQ(w->displayingDenpyouNo(), 2);
    if (selected >= 0) { EXPECT_EQ(w->bookmarkTableView()->currentRow(), selected); }
  }
  EXPECT_TRUE(w->bookmarkTableView()->selectedItems().isEmpty());
}

TEST_F(FurikaedenpyouBookmarkTest, ChoosingRowsJumpsAnUnregisteredVoucherCannotBeBookmarkedAndTheDrawerKeepsItsSize)
{
  FurikaedenpyouController* w = openVoucherWindow();
  w->bookmarkTableView()->selectRow(0);
  EXPECT_EQ(w->displayingDenpyouNo(), 3);

  QTableWidget* months = w->monthTableView();
  EXPECT_EQ(months->rowCount(), 13);
  EXPECT_EQ(months->item(12, 0)->text(), QStringLiteral("決算整理月"));
  // The month row chosen, the voucher shown and the beeps; which voucher a month row
  // names is the model's.
  const std::tuple<int, int32_t, int> cases[] = {{1, 2, 0}, {2, 2, 1}, {0, 1, 0}};
  for (const auto& [row, shown, beeps] : cases) {
    const int before = AlertSheet::beepCountForTesting();
    months->selectRow(row);
    EXPECT_EQ(w->displayingDenpyouNo(), shown) << "row " << row;
    EXPECT_EQ(AlertSheet::beepCountForTesting() - before, beeps) << "row " << row;
    EXPECT_TRUE(months->selectedItems().isEmpty());
  }
  EXPECT_EQ(w->bookmarkTableView()->currentRow(), 1);

  w->functionMenuAction(QStringLiteral("新規伝票"))->trigger();
  w->editBookmarkButton()->click();
  flush();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(std::pair(alerts[0].title, alerts[0].text),
            std::pair(QStringLiteral("未登録の伝票"),
                      QStringLiteral("登録していない伝票は、ブックマークに追加できません。")));
  // The drawer remembers its size until it is closed.
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  QAction* toggle = w->functionMenuAction(QStringLiteral("ブックマークを表示"));
  const bool wasOpen = w->isBookmarkDrawerOpen();
  if (wasOpen) toggle->trigger();
  EXPECT_EQ(toggle->text(), QStringLiteral("ブックマークを表示"));
  toggle->trigger();
  flush();
  EXPECT_EQ(std::pair(w->bookmarkDrawer()->isVisible(), toggle->text()),
            std::pair(true, QStringLiteral("ブックマークを隠す")));
  EXPECT_GT(defaults.doubleForKey(KIVOFurikaedenpyouDrawerContentSizeWidthKey), 0.0);
  EXPECT_GT(defaults.doubleForKey(KIVOFurikaedenpyouDrawerContentSizeHeightKey), 0.0);
  // The open drawer hides no column: the grid ends where the drawer begins and shows
  // every column or scrolls to it; the window stays within the screen.
  EntryGridView* grid = w->denpyouView();
  EXPECT_LE(grid->mapTo(w, QPoint(grid->width(), 0)).x(), w->bookmarkDrawer()->x());
  EXPECT_TRUE(grid->viewport()->width() >= grid->contentWidth() || grid->horizontalScrollBar()->maximum() > 0);
  EXPECT_LE(w->frameGeometry().width(), w->screen()->availableGeometry().width());
  toggle->trigger();
  EXPECT_EQ(defaults.doubleForKey(KIVOFurikaedenpyouDrawerContentSizeWidthKey), 0.0);
  EXPECT_EQ(defaults.doubleForKey(KIVOFurikaedenpyouDrawerContentSizeHeightKey), 0.0);
}

TEST_F(FurikaedenpyouBookmarkTest, ALimitedUserSeesOnlyItsBookmarksAndCannotEditThem)
{
  FurikaedenpyouController* w = openVoucherWindow(true);
  EXPECT_EQ(tableTexts(w->bookmarkTableView(), 1), QStringList{"一番"});
  for (QPushButton* b :
       {w->editBookmarkButton(), w->removeBookmarkButton(), w->moveBookmarkUpButton(), w->moveBookmarkDownButton()})
    EXPECT_FALSE(b->isEnabled());
  w->displayShiwakeOfDenpyouNo(2);
  EXPECT_FALSE(w->functionMenuAction(QStringLiteral("ブックマークに追加..."))->isEnabled());
}

}  // namespace
}  // namespace kivo::test

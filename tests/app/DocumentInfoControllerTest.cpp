// The document information window: the hub's buttons follow the commands the program
// has, it shows the company and its opening balances, keeps the ledger print state,
// hands printing to whoever supplies it, and gives way to other sheets.
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "setup/gui/SetupWindowTest.h"
#include "support/RaiseWatch.h"

namespace kivo::test {
namespace {

// A sheet of a printout (a selection or period sheet): ends when another opens.
class SelectionSheet : public SheetController {
public:
  SelectionSheet() : ok_(new QPushButton(QStringLiteral("OK"), this)) {}
  int ended = -1;

protected:
  QAbstractButton* okButton() const override { return ok_; }

private:
  QPushButton* ok_;
};

class DocumentInfoControllerTest : public SetupWindowTest {
protected:
  void SetUp() override
  {
    SetupWindowTest::SetUp();
    doc = openBooks();
    doc->document().kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
    info = infoOf(doc);
    ASSERT_TRUE(info);
    activate(info);
  }

  DocumentSession* doc = nullptr;
  DocumentInfoController* info = nullptr;
};

TEST_F(DocumentInfoControllerTest, ShowsTheCompanyAndTheOpeningBalancesAndButtonsWorkOnceTheyHaveHandlers)
{
  doc->document().kaisya().setTermNo(3);
  doc->document().kamokuOfCode(100)->setStartBalance(1000, 99);
  info->updateUI(true);
  EXPECT_EQ(info->companyField()->text(), QStringLiteral("テスト商事"));
  EXPECT_TRUE(info->kindField()->text().startsWith(QStringLiteral("法人　・　会社法の勘定科目表")));
  EXPECT_EQ(info->termField()->text(), QStringLiteral("第3期　2024年4月1日 〜 2025年3月31日（12か月）"));
  EXPECT_TRUE(info->startBalanceField()->text().contains(QStringLiteral("貸借が一致していません（差額 1,000）")));
  doc->document().kaisya().setDoUseWareki(true);
  doc->document().kamokuOfCode(270)->setStartBalance(1000, 99);
  info->updateUI(true);
  EXPECT_EQ(info->termField()->text(), QStringLiteral("第3期　令和6年 4月 1日 〜 令和7年 3月31日（12か月）"));
  EXPECT_TRUE(info->startBalanceField()->text().contains(QStringLiteral("貸借が一致しています")));

  // A button works while its command has a handler.
  for (Command c : {Command::ShowPropertiesWindow, Command::ShowKamokuListWindow, Command::ShowJigyoubuListWindow,
                    Command::ShowTekiyouListWindow})
    EXPECT_TRUE(info->buttonOfCommand(c)->isEnabled());
  app->setCommandHandler(Command::ShowZandakaShisanWindow, {});
  info->validateCommandButtons();
  EXPECT_FALSE(info->buttonOfCommand(Command::ShowZandakaShisanWindow)->isEnabled());

  int opened = 0;
  for (Command c :
       {Command::ShowZandakaShisanWindow, Command::ShowKanjyoumotocyouWindow, Command::ShowSuitoucyouWindow})
    app->setCommandHandler(c, [&](QAction*) { ++opened; });
  info->validateCommandButtons();
  EXPECT_TRUE(info->buttonOfCommand(Command::ShowZandakaShisanWindow)->isEnabled());
  EXPECT_TRUE(info->buttonOfCommand(Command::ShowSuitoucyouWindow)->isEnabled());  // the chart has cash accounts
  click(info, Command::ShowZandakaShisanWindow);
  EXPECT_EQ(opened, 1);

  // A limited user does not reach the ledgers.
  doc->setWasOpenedByLimitedUserPassword(true);
  info->validateCommandButtons();
  EXPECT_FALSE(info->buttonOfCommand(Command::ShowKanjyoumotocyouWindow)->isEnabled());
  EXPECT_TRUE(info->buttonOfCommand(Command::ShowZandakaShisanWindow)->isEnabled());

  // A household book has no statements: their button is off, as the menu item is.
  doc->setWasOpenedByLimitedUserPassword(false);
  app->setCommandHandler(Command::PrintHoukokusyo, [&](QAction*) { ++opened; });
  for (const bool kakeibo : {false, true}) {
    doc->document().kaisya().setIsKakeibo(kakeibo);
    info->validateCommandButtons();
    EXPECT_EQ(info->buttonOfCommand(Command::PrintHoukokusyo)->isEnabled(), !kakeibo);
  }
}

TEST_F(DocumentInfoControllerTest, ASelectionSheetGivesWayToTheMasterLists)
{
  auto* selection = new SelectionSheet();
  selection->beginSheet(info, [selection](int code) { selection->ended = code; });
  ASSERT_EQ(info->attachedSheetController(), selection);
  click(info, Command::ShowKamokuListWindow);
  EXPECT_EQ(selection->ended, SheetController::kCancel);
  SheetController* kamoku = info->attachedSheetController();
  EXPECT_TRUE(kamoku->blocksDocumentCommands());
  // A master-list sheet never goes this way: its edits would be lost.
  info->closeAttachedSheet();
  EXPECT_EQ(info->attachedSheetController(), kamoku);
}

// Without a window manager a click on a window that is not active reaches its button
// before the window system activates the window, if it ever does (after the main window
// closed, none is activated): the press makes the window main first, so that the
// button's command runs, and runs for that window's document, not the one main before.
TEST_F(DocumentInfoControllerTest, AClickOnAWindowThatIsNotActiveRunsItsCommandForThatWindow)
{
  std::vector<DocumentSession*> ranFor;
  app->setCommandHandler(Command::ShowZandakaShisanWindow, [&](QAction*) { ranFor.push_back(app->currentDocument()); });
  info->validateCommandButtons();
  QAbstractButton* button = info->buttonOfCommand(Command::ShowZandakaShisanWindow);
  ASSERT_TRUE(button && button->isEnabled());
  for (const bool anotherMain : {true, false}) {
    SCOPED_TRACE(anotherMain ? "another document's window main" : "no window main");
    DocumentSession* other = openBooks("別の会社");
    activate(infoOf(other));
    if (!anotherMain) {
      closeNow(infoOf(other));
      ASSERT_EQ(app->mainWindowController(), nullptr);
    }
    ASSERT_NE(app->mainWindowController(), info);
    ASSERT_FALSE(info->isActiveWindow());
    ranFor.clear();
    // Made main, the window comes to the front too, as a window manager raises it.
    const RaiseWatch raised;
    QTest::mouseClick(button, Qt::LeftButton);
    flush();
    EXPECT_EQ(ranFor, std::vector<DocumentSession*>{doc});
    EXPECT_EQ(app->mainWindowController(), info);
    EXPECT_GE(raised.count(info), 1);
    if (anotherMain) closeNow(infoOf(other));
  }
}

// Two documents, no window manager: while one document's window shows a sheet, a
// click on the other document's window, the press and the release together, runs its
// button's command for that document and leaves the sheet as it was. A modal window
// that holds the clicked window (an application-modal one, or the window's own sheet)
// keeps the press from making it main.
TEST_F(DocumentInfoControllerTest, ASheetOnAnotherDocumentsWindowHoldsOnlyThatWindow)
{
  std::vector<DocumentSession*> ranFor;
  const Command commands[] = {Command::ShowZandakaShisanWindow, Command::ShowKanjyoumotocyouWindow,
                              Command::ShowPropertiesWindow, Command::DoKurikoshiSyori};
  for (Command c : commands) app->setCommandHandler(c, [&](QAction*) { ranFor.push_back(app->currentDocument()); });
  info->validateCommandButtons();
  DocumentSession* other = openBooks("別の会社");
  DocumentInfoController* otherInfo = infoOf(other);
  for (Command c : commands) {
    SCOPED_TRACE(static_cast<int>(c));
    activate(otherInfo);
    auto* sheet = new SelectionSheet();
    sheet->beginSheet(otherInfo, [sheet](int code) { sheet->ended = code; });
    flush();
    ASSERT_EQ(app->mainWindowController(), otherInfo);
    ASSERT_FALSE(info->isActiveWindow());
    ranFor.clear();
    QAbstractButton* button = info->buttonOfCommand(c);
    ASSERT_TRUE(button && button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    flush();
    EXPECT_EQ(ranFor, std::vector<DocumentSession*>{doc});
    EXPECT_EQ(app->mainWindowController(), info);
    EXPECT_EQ(std::pair(otherInfo->attachedSheetController(), sheet->ended),
              std::pair(static_cast<SheetController*>(sheet), -1));
    sheet->abortSheet();
    delete sheet;
  }

  // Held: the press leaves the window as it is.
  enum class Held { ByAnApplicationModalWindow, ByItsOwnSheet };
  for (const Held held : {Held::ByAnApplicationModalWindow, Held::ByItsOwnSheet}) {
    SCOPED_TRACE(static_cast<int>(held));
    activate(otherInfo);
    QDialog modal(held == Held::ByItsOwnSheet ? static_cast<QWidget*>(info) : nullptr);
    modal.setWindowModality(held == Held::ByItsOwnSheet ? Qt::WindowModal : Qt::ApplicationModal);
    modal.show();
    flush();
    QTest::mousePress(info->buttonOfCommand(Command::ShowZandakaShisanWindow), Qt::LeftButton);
    EXPECT_EQ(app->mainWindowController(), otherInfo);
    QTest::mouseRelease(info->buttonOfCommand(Command::ShowZandakaShisanWindow), Qt::LeftButton);
    modal.hide();
    flush();
  }
}

}  // namespace
}  // namespace kivo::test

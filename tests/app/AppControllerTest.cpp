// The application delegate driven as the user drives it: launching, the guards with
// their exact refusals, the commands a limited user cannot reach, the Window menu and
// the menus of several documents.
#include <qpa/qwindowsysteminterface.h>

#include <QMenuBar>
#include <QPushButton>
#include <map>
#include <set>
#include <tuple>

#include "model/HojyoKamoku.h"
#include "platform/SheetController.h"
#include "support/AppTestFixture.h"
#include "support/RaiseWatch.h"
#include "support/TypedAhead.h"

namespace kivo::test {
namespace {

using Kind = DocumentWindow::Kind;
using Command = MainMenu::Command;

// A sheet that edits the document's master lists, as the properties sheet will.
class BlockingSheet : public SheetController {
public:
  explicit BlockingSheet(bool blocks) : blocks_(blocks), ok_(new QPushButton(QStringLiteral("OK"), this)) {}
  bool blocksDocumentCommands() const override { return blocks_; }

protected:
  QAbstractButton* okButton() const override { return ok_; }

private:
  bool blocks_;
  QPushButton* ok_;
};

class AppControllerTest : public AppTest {
protected:
  // The texts of the alerts shown since the last call.
  QStringList takeAlertTexts()
  {
    QStringList texts;
    for (const AlertSheet::Alert& a : alerts) texts << a.title + QStringLiteral(" / ") + a.text;
    alerts.clear();
    return texts;
  }

  // What a guard's answer showed: its alerts when it refused.
  QStringList refused(bool allowed) { return allowed ? QStringList{QStringLiteral("allowed")} : takeAlertTexts(); }

  static QStringList refusal(const char* text)
  {
    return {QStringLiteral("実行できません / ") + QString::fromUtf8(text)};
  }
};

TEST_F(AppControllerTest, LaunchShowsTheVersionHistoryOnceAndALimitedUserCannotReachLedgersStatementsOrAssets)
{
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  defaults.removeObjectForKey(KIVOKivosaVersionOfUsedLastTimeKey);
  QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));

  app->applicationDidFinishLaunching();
  flush();
  ASSERT_EQ(app->documentController()->documents().size(), 1u);
  DocumentSession* doc = app->documentController()->documents().front();
  // A new document starts in its new-document window.
  ASSERT_EQ(doc->windowControllers().size(), 1u);
  EXPECT_EQ(std::tuple(doc->isUntitled(), doc->windowControllers().front()->windowKind(),
                       doc->windowControllers().front()->isVisible()),
            std::tuple(true, Kind::NewDocument, true));
  HelpWindow* help = HelpWindow::sharedHelpWindow();
  EXPECT_EQ(
      std::tuple(help->isVisible(), help->currentAnchor(), defaults.stringForKey(KIVOKivosaVersionOfUsedLastTimeKey)),
      std::tuple(true, QStringLiteral("VersionHistory"), QStringLiteral("1.2.3")));

  // The same version again: no help.
  HelpWindow::discard();
  app.reset();
  flush();
  app = std::make_unique<AppController>();
  app->applicationDidFinishLaunching();
  flush();
  EXPECT_EQ(app->documentController()->documents().size(), 1u);
  EXPECT_FALSE(HelpWindow::sharedHelpWindow()->isVisible());

  // The help book holds every anchor the program opens.
  for (const char* anchor : {HelpWindow::kVersionHistoryAnchor, HelpWindow::kOpenOldFileErrorAnchor,
                             HelpWindow::kDownloadAnchor, HelpWindow::kDonationAnchor}) {
    SCOPED_TRACE(anchor);
    EXPECT_TRUE(HelpWindow::sharedHelpWindow()->hasAnchor(QString::fromUtf8(anchor)));
  }
  EXPECT_FALSE(HelpWindow::sharedHelpWindow()->hasAnchor(QStringLiteral("NoSuchAnchor")));

  // A limited user cannot reach the ledgers, statements, assets or plural printing.
  using enum Command;
  const std::set<Command> refused({ShowKanjyoumotocyouWindow, PrintHoukokusyo, ShowGenkasyoukyakuShisanListWindow,
                                   PrintKanjyoumotocyouOfPluralKamoku, PrintHojyomotocyouOfPluralHojyoKamoku,
                                   ImportShiwakeFromTextFile});
  std::set<Command> handled{ShowFurikaedenpyouWindow, ShowShiwakenikkiWindow, ShowHojyozandakaIchiranWindow,
                            ShowZandakaShisanWindow, ShowSuiiShisanWindow};
  handled.insert(refused.begin(), refused.end());
  std::map<Command, int> ran;
  for (Command c : handled) app->setCommandHandler(c, [&ran, c](QAction*) { ++ran[c]; });

  for (bool limited : {false, true}) {
    SCOPED_TRACE(limited ? "limited user" : "full user");
    DocumentSession* doc = openBooks(limited ? "制限" : "全部");
    doc->setWasOpenedByLimitedUserPassword(limited);
    WindowController* info = doc->documentInfoController();
    activate(info);
    MainMenu* menu = info->mainMenu();
    menu->validateMenuItems();
    ran.clear();
    for (Command c : handled) {
      SCOPED_TRACE(static_cast<int>(c));
      const bool expectRefused = limited && refused.count(c) > 0;
      EXPECT_EQ(menu->action(c)->isEnabled(), !expectRefused);
      // Reaching the command anyway (a stale key) does not run it either.
      app->performCommand(c, menu->action(c));
      EXPECT_EQ(ran[c], expectRefused ? 0 : 1);
    }
    closeNow(doc);
  }
}

// The help window that opens at the first start comes to the front when pressed, and
// takes the keys of every other window: Ctrl+W closes it, and Ctrl+Q quits, also once it
// is the last window left.
TEST_F(AppControllerTest, TheHelpWindowComesForwardWhenPressedClosesAtCtrlWAndQuitsAtCtrlQ)
{
  const auto typeInto = [](QWidget* window, Qt::Key key) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    flush();
    ASSERT_EQ(QApplication::activeWindow(), window);
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        window->windowHandle(), QEvent::KeyPress, key, Qt::ControlModifier);
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        window->windowHandle(), QEvent::KeyRelease, key, Qt::ControlModifier);
    flush();
  };
  DocumentSession* doc = openBooks();
  HelpWindow::showHelpAtAnchor(QString::fromUtf8(HelpWindow::kVersionHistoryAnchor));
  HelpWindow* help = HelpWindow::sharedHelpWindow();
  // Under the document's window, a press brings it to the front, as a window manager
  // would.
  {
    WindowController* info = doc->documentInfoController();
    activate(info);
    const RaiseWatch watch;
    clickAhead(help, help->rect().center());
    flush();
    EXPECT_TRUE(watch.lastOver(help, info));
  }
  typeInto(help, Qt::Key_W);
  EXPECT_FALSE(help->isVisible());
  ASSERT_EQ(app->documentController()->documents().size(), 1u) << "Ctrl+W closed the document's window";

  // The document closed, the help window is the last window.
  HelpWindow::showHelpAtAnchor(QString());
  closeNow(doc->windowControllers().front());
  ASSERT_TRUE(app->documentController()->documents().empty());
  const QPointer<HelpWindow> shown = HelpWindow::sharedHelpWindow();
  ASSERT_TRUE(shown->isVisible());
  typeInto(shown, Qt::Key_Q);
  EXPECT_TRUE(shown.isNull()) << "Ctrl+Q did not quit";
}

// Without a window manager: a press on the document's window, main but under the help
// window that has the keyboard, brings it to the front, so that what is typed next goes
// into columns the user sees.
TEST_F(AppControllerTest, APressOnTheMainWindowUnderTheHelpWindowBringsItToTheFront)
{
  DocumentSession* doc = openBooks();
  WindowController* info = doc->documentInfoController();
  activate(info);
  HelpWindow::showHelpAtAnchor(QString());
  HelpWindow* help = HelpWindow::sharedHelpWindow();
  help->activateWindow();
  QApplication::setActiveWindow(help);
  flush();
  ASSERT_EQ(app->mainWindowController(), info);
  const RaiseWatch watch;
  clickAhead(info, info->rect().center());
  flush();
  EXPECT_TRUE(watch.lastOver(info, help));
  help->close();
}

TEST_F(AppControllerTest, EachGuardRefusesWithItsExactTitleAndSentence)
{
  DocumentSession* doc = openBooks("テスト商事", /*houjin=*/true);
  WindowController* info = doc->documentInfoController();
  activate(info);

  // Nothing in the way: every guard answers yes and shows nothing.
  EXPECT_EQ((std::vector<bool>{AppController::canShowFurikaedenpyouWindow(), app->canShowPropertiesWindow(),
                               AppController::canPrint(), AppController::canPrintKanjyoumotocyouOfPluralKamoku()}),
            std::vector<bool>(4, true));
  EXPECT_TRUE(takeAlertTexts().isEmpty());

  // The preferences window is open.
  QWidget preferences;
  app->setPreferencesWindow(&preferences);
  preferences.show();
  EXPECT_EQ(refused(AppController::canShowFurikaedenpyouWindow()), refusal("環境設定を閉じてください。"));
  preferences.hide();
  EXPECT_TRUE(AppController::canShowFurikaedenpyouWindow());

  // A master-list sheet on another window of the document; OK brings that window forward.
  StubWindow* journal = addStub(doc, Kind::Shiwakenikki, QStringLiteral("仕訳日記帳"));
  auto* sheet = new BlockingSheet(true);
  sheet->beginSheet(journal, [](int) {});
  activate(info);
  const QStringList sheetRefusal =
      refusal("このメッセージを閉じた後、前面に表示されるウインドウのシートを閉じてください。");
  EXPECT_EQ(refused(AppController::canShowFurikaedenpyouWindow()), sheetRefusal);
  EXPECT_EQ(refused(AppController::canPrintKanjyoumotocyouOfPluralKamoku()), sheetRefusal);
  sheet->abortSheet();
  EXPECT_TRUE(AppController::canShowFurikaedenpyouWindow());
  // A sheet that edits nothing of the document is no reason to refuse.
  auto* harmless = new BlockingSheet(false);
  harmless->beginSheet(journal, [](int) {});
  EXPECT_TRUE(AppController::canShowFurikaedenpyouWindow());
  harmless->abortSheet();

  // Entry windows open keep the properties closed; so does a ledger row being edited.
  for (Kind kind : {Kind::Furikaedenpyou, Kind::Suitoucyou, Kind::GenkasyoukyakuShisanList}) {
    StubWindow* entry = addStub(doc, kind, QStringLiteral("入力"));
    activate(info);
    EXPECT_EQ(refused(app->canShowPropertiesWindow()), refusal("出納帳、振替伝票、資産管理台帳を閉じてください。"));
    closeNow(entry);
  }
  StubWindow* ledger = addStub(doc, Kind::Kanjyoumotocyou, QStringLiteral("総勘定元帳"));
  activate(info);
  EXPECT_TRUE(app->canShowPropertiesWindow());
  ledger->editingCell = true;
  EXPECT_EQ(refused(app->canShowPropertiesWindow()), refusal("総勘定元帳または補助元帳で仕訳を編集中です。"));

  // Printing needs Helvetica, and a corporation also Courier.
  PrintFonts::setMissingFamiliesForTesting({QStringLiteral("Courier")});
  const QStringList fontRefusal = refusal("フォント Helvetica と Courier をインストールしてください。");
  EXPECT_EQ(refused(AppController::canPrint()), fontRefusal);
  EXPECT_EQ(refused(AppController::canPrintKanjyoumotocyouOfPluralKamoku()), fontRefusal);
  doc->document().kaisya().setIsHoujin(false);
  EXPECT_TRUE(AppController::canPrint());
  PrintFonts::setMissingFamiliesForTesting({QStringLiteral("Helvetica")});
  EXPECT_EQ(refused(AppController::canPrint()), refusal("フォント Helvetica をインストールしてください。"));
}

TEST_F(AppControllerTest, TwoDocumentsKeepTheirOwnMenusTheCarryForwardWaitsForASaveAndPrintGoesToTheMainWindow)
{
  DocumentSession* a = openBooks("甲商事");
  DocumentSession* b = openBooks("乙商店");
  // Give b's first cash account a sub-account with its own book and key.
  const KamokuPtr cash = b->document().codeSortedSuitouKamokuArray().front();
  auto sub = std::make_shared<HojyoKamoku>();
  sub->setCode(1);
  sub->setName("本店");
  sub->setParentKamokuCode(cash->code());
  sub->setKeyEquivalentOfSuitoucyouSubMenu(4);
  cash->hojyoKamokuArray().push_back(sub);
  b->setSubmenuOfShowSuitoucyouWindow();

  WindowController* aInfo = a->documentInfoController();
  WindowController* bInfo = b->documentInfoController();
  EXPECT_NE(aInfo, bInfo);
  EXPECT_NE(aInfo->menuBar(), bInfo->menuBar());

  QMenu* aBooks = aInfo->mainMenu()->suitoucyouMenu();
  QMenu* bBooks = bInfo->mainMenu()->suitoucyouMenu();
  ASSERT_FALSE(aBooks->actions().isEmpty());
  // In a, the cash account is one book; in b, a submenu of its sub-account's books.
  EXPECT_EQ(aBooks->actions().front()->menu(), nullptr);
  EXPECT_EQ(aBooks->actions().front()->data().toInt(), cash->code());
  QMenu* bSub = bBooks->actions().front()->menu();
  ASSERT_NE(bSub, nullptr);
  ASSERT_EQ(bSub->actions().size(), 1);
  const QAction* bBook = bSub->actions().front();
  EXPECT_EQ(std::tuple(bBook->text(), bBook->data().toInt(), bBook->shortcut()),
            std::tuple(QStringLiteral("本店"), 2000 + cash->code(), QKeySequence(Qt::CTRL | Qt::Key_4)));

  // Changes mark only their own document's windows.
  b->updateChangeCount(MyDocument::ChangeType::Done);
  EXPECT_EQ(std::pair(aInfo->isWindowModified(), bInfo->isWindowModified()), std::pair(false, true));
  // Commands act on the main window's document.
  activate(aInfo);
  EXPECT_EQ(app->currentDocument(), a);
  activate(bInfo);
  EXPECT_EQ(app->currentDocument(), b);

  // The window menu: items stand grouped under their document and go with their window.
  StubWindow* aJournal = addStub(a, Kind::Shiwakenikki, QStringLiteral("仕訳日記帳"));
  StubWindow* bTrial = addStub(b, Kind::ZandakaShisan, QStringLiteral("合計残高試算表"));
  StubWindow* aTrial = addStub(a, Kind::ZandakaShisan, QStringLiteral("合計残高試算表"));
  activate(aTrial);

  // The items after the first separator, a checked one marked; separators dropped.
  const auto titles = [&](WindowController* w) {
    QStringList t;
    for (QAction* act : w->mainMenu()->windowMenu()->actions())
      t << (act->isSeparator() ? QString() : act->text() + (act->isChecked() ? QStringLiteral(" ✓") : QString()));
    t = t.mid(t.indexOf(QString()) + 1);
    t.removeAll(QString());
    return t;
  };
  const QString indent(2, QChar(0x3000));
  const QStringList expected{
      a->displayName(), indent + QStringLiteral("仕訳日記帳"),     indent + QStringLiteral("合計残高試算表 ✓"),
      b->displayName(), indent + QStringLiteral("合計残高試算表"),
  };
  // Every window of every document shows the same items.
  for (WindowController* w : {static_cast<WindowController*>(aJournal), static_cast<WindowController*>(bTrial),
                              static_cast<WindowController*>(a->documentInfoController()),
                              static_cast<WindowController*>(b->documentInfoController())})
    EXPECT_EQ(titles(w), expected);

  // The item brings its window forward and the check follows the main window.
  QAction* bItem = nullptr;
  for (QAction* act : aTrial->mainMenu()->windowMenu()->actions())
    if (act->text() == indent + QStringLiteral("合計残高試算表") && !act->isChecked()) bItem = act;
  ASSERT_NE(bItem, nullptr);
  bItem->trigger();
  QApplication::setActiveWindow(bTrial);
  flush();
  EXPECT_EQ(app->mainWindowController(), bTrial);
  EXPECT_TRUE(titles(aJournal).contains(indent + QStringLiteral("合計残高試算表 ✓")));

  // A closed window's item goes; a closed document takes all its items along.
  closeNow(aJournal);
  EXPECT_EQ(titles(bTrial), (QStringList{a->displayName(), indent + QStringLiteral("合計残高試算表"), b->displayName(),
                                         indent + QStringLiteral("合計残高試算表 ✓")}));
  closeNow(a->documentInfoController());
  EXPECT_EQ(app->documentController()->documents().size(), 1u);
  EXPECT_EQ(titles(bTrial), (QStringList{b->displayName(), indent + QStringLiteral("合計残高試算表 ✓")}));

  // The carry-forward waits for a save, and print goes to the main window when it can print.
  DocumentSession* doc = openBooks();
  activate(doc->documentInfoController());
  int started = 0;
  app->setCommandHandler(Command::DoKurikoshiSyori, [&](QAction*) { ++started; });
  QAction* item = doc->documentInfoController()->mainMenu()->action(Command::DoKurikoshiSyori);

  doc->updateChangeCount(MyDocument::ChangeType::Done);
  item->trigger();
  EXPECT_EQ(started, 0);
  EXPECT_EQ(takeAlertTexts(), refusal("データを保存してください。"));

  doc->updateChangeCount(MyDocument::ChangeType::Cleared);
  item->trigger();
  EXPECT_EQ(started, 1);
  EXPECT_TRUE(takeAlertTexts().isEmpty());

  // Nor does a term ending on the last day the file holds go on: its next term would
  // not read back.
  const Date termStart = doc->document().kaisya().termStartDate(), termEnd = doc->document().kaisya().termEndDate();
  doc->document().kaisya().setMonthOfTermArrayFrom(Date(9999, 1, 1), Date(9999, 12, 31));
  item->trigger();
  EXPECT_EQ(started, 1);
  EXPECT_EQ(takeAlertTexts(), refusal("翌期の会計期間が 9999年12月31日を超えるため、繰越処理を実行できません。"));
  doc->document().kaisya().setMonthOfTermArrayFrom(termStart, termEnd);

  // Print goes to the main window when it can print.
  StubWindow* report = addStub(doc, Kind::ZandakaShisan, QStringLiteral("合計残高試算表"));
  activate(report);
  QAction* print = report->mainMenu()->action(Command::Print);
  report->mainMenu()->validateMenuItems();
  EXPECT_FALSE(print->isEnabled());
  report->printable = true;
  report->mainMenu()->validateMenuItems();
  EXPECT_TRUE(print->isEnabled());
  print->trigger();
  EXPECT_EQ(report->printCount, 1);
  // Without the fonts the print command stops at its guard.
  PrintFonts::setMissingFamiliesForTesting({QStringLiteral("Helvetica")});
  print->trigger();
  EXPECT_EQ(report->printCount, 1);
  EXPECT_EQ(alerts.size(), 1u);
}

}  // namespace
}  // namespace kivo::test

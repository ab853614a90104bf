// The trial-balance, monthly trial-balance and sub-account balance list windows over
// small books, offscreen: their sections as the bookkeeper reads them, the tabs of each
// kind of company, the division and period choices, the ledgers they open, the text
// files they write and their printouts read back from PDF; and the sheet that prints
// several accounts' sub-account lists from the information window. And the code page
// their text files are written in.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <tuple>

#include "app/DocumentInfoController.h"
#include "app/SetupCommands.h"
#include "app/WindowCommands.h"
#include "document/gui/ProgressStateController.h"
#include "document/gui/ReportTextExportSheet.h"
#include "fields/gui/FormatterListWindow.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "fields/gui/ModalDriver.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/PeriodController.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/ShiftJisEncoder.h"
#include "setup/gui/JigyoubuListController.h"
#include "setup/gui/PropertiesController.h"
#include "support/AppTestFixture.h"
#include "support/PaperChosenInPanel.h"
#include "support/PdfText.h"
#include "trial/HojyoZandakaBooks.h"
#include "trial/gui/HojyozandakaIchiranController.h"
#include "trial/gui/PeriodToPrintZandakaShisanController.h"
#include "trial/gui/SelectPluralKamokuWithHojyoController.h"
#include "trial/gui/SuiiShisanController.h"
#include "trial/gui/SuiiShisanPrintView.h"
#include "trial/gui/ZandakaShisanController.h"
#include "trial/gui/ZandakaShisanTableModel.h"

namespace kivo::test {
namespace {

struct BooksOptions {
  ChartKind chart = ChartKind::HoujinOlder;
  bool seizou = false;
  bool kensetu = false;
  bool jigyoubu = false;  // divisions 1 and 2, the books kept by division
};

class TrialWindowsTest : public AppTest {
protected:
  void SetUp() override
  {
    AppTest::SetUp();
    WindowCommands::installCommandHandlers(app.get());
  }

  void TearDown() override
  {
    ReportTextExportSheet::setResponderForTesting({});
    PrintOperation::setPrintPanelResponderForTesting({});
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    for (const char* key :
         {KIVOZandakaShisanKamokuDoNotShowIfNoTorihikiKey, KIVOZandakaShisanSetPeriodWhenShowWindowKey,
          KIVOExportTextKugiriCodeKey, KIVOSuiiShisanPrintMonthPerPageKey, KIVOHojyozandakaIchiranPrintInfoKey,
          KIVOZandakaShisanPrintInfoKey, KIVOSuiiShisanPrintInfoKey})
      defaults.removeObjectForKey(key);
    AppTest::TearDown();
  }

  // Opening balances 現金 1,000 and capital 1,000; a sale of 500 in May, a purchase
  // of 200 in June and salaries of 100 in July, all against cash. Kept by division:
  // everything in division 1 but the purchase, which is division 2's.
  DocumentSession* openBooks(BooksOptions o = {})
  {
    auto doc = makeTrialBooks(o.chart, o.seizou);
    MyDocument& d = *doc;
    if (o.kensetu) {
      d.kaisya().setIsKensetu(true);
      d.setRootKamokuKubun(KamokuKubun::rootKamokuKubunForKaisya(d.kaisya(), false));
    }
    const bool kojin = o.chart == ChartKind::Kojin;
    const int32_t one = o.jigyoubu ? 1 : -1;
    if (o.jigyoubu) {
      addJigyoubu(d, 1);
      addJigyoubu(d, 2);
    }
    kamokuNamed(d, "現金")->setStartBalance(1000, o.jigyoubu ? 1 : 99);
    kamokuNamed(d, kojin ? "元入金" : "資本金")->setStartBalance(1000, o.jigyoubu ? 1 : 99);
    genkin = codeOf(d, "現金");
    uriage = codeOf(d, "売上高");
    addShiwake(d, Date(2024, 5, 1), genkin, uriage, 500, one);
    addShiwake(d, Date(2024, 6, 1), codeOf(d, "仕入高"), genkin, 200, o.jigyoubu ? 2 : -1);
    addShiwake(d, Date(2024, 7, 1), codeOf(d, kojin ? "給料賃金" : "給料手当"), genkin, 100, one);
    session = app->documentController()->addDocument(std::move(doc));
    flush();
    return session;
  }

  // The sub-account list's books, with 50 in August on 売掛金 without a customer (division 1).
  void openHojyoBooks()
  {
    WindowCommands::installCommandHandlers(app.get());
    auto doc = makeHojyoZandakaBooks();
    urikake = codeOf(*doc, "売掛金");
    yokin = codeOf(*doc, "普通預金");
    addHojyoShiwake(*doc, Date(2024, 8, 1), urikake, -1, codeOf(*doc, "売上高"), -1, 50, 1);
    session = app->documentController()->addDocument(std::move(doc));
    flush();
  }

  // The window as the user opens it, by its button on the information window.
  template <class W = ZandakaShisanController>
  W* openWindow(MainMenu::Command command = MainMenu::Command::ShowZandakaShisanWindow)
  {
    auto* info = qobject_cast<DocumentInfoController*>(session->documentInfoController());
    activate(info);
    QAbstractButton* button = info->buttonOfCommand(command);
    EXPECT_TRUE(button && button->isEnabled());
    if (button) button->click();
    flush();
    W* w = nullptr;
    for (DocumentWindowController* wc : session->windowControllers())
      if (auto* found = qobject_cast<W*>(wc)) w = found;
    if (w) activate(w);
    return w;
  }

  static int rowOf(const CyouhyouTableView* t, const QString& title)
  {
    for (int r = 0; r < t->model()->rowCount(); ++r)
      if (t->model()->index(r, 0).data().toString() == title) return r;
    ADD_FAILURE() << "no row " << title.toStdString();
    return -1;
  }

  // The six cells of the row with the caption, as the table shows them.
  static QStringList cells(const CyouhyouTableView* t, const QString& title)
  {
    QStringList out;
    const int r = rowOf(t, title);
    for (int c = 0; r >= 0 && c < t->model()->columnCount(); ++c) out << t->model()->index(r, c).data().toString();
    return out;
  }

  static void selectRow(CyouhyouTableView* t, const QString& title) { t->selectRow(rowOf(t, title)); }

  static void doubleClickRow(CyouhyouTableView* t, const QString& title)
  {
    const int r = rowOf(t, title);
    const QRect rect = t->visualRect(t->model()->index(r, 1));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, rect.center());
    flush();
  }

  std::vector<KanjyoumotocyouController*> ledgers() const
  {
    std::vector<KanjyoumotocyouController*> out;
    for (DocumentWindowController* wc : session->windowControllers())
      if (auto* l = qobject_cast<KanjyoumotocyouController*>(wc)) out.push_back(l);
    return out;
  }

  static QByteArray readFile(const QString& path)
  {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  static QByteArray shiftJis(const std::string& utf8)
  {
    std::string out;
    EXPECT_TRUE(ShiftJisEncoder::encode(utf8, out));
    return QByteArray::fromStdString(out);
  }

  DocumentSession* session = nullptr;
  int32_t genkin = 0, uriage = 0, urikake = 0, yokin = 0;
};

QRegularExpression heading(const QString& name) { return QRegularExpression(QStringLiteral("勘定科目：\\s*") + name); }

TEST_F(TrialWindowsTest, ShowsTheTrialBalanceOfTheBooksAndAnAccountRowOpensItsLedger)
{
  openBooks();
  ZandakaShisanController* w = openWindow();
  EXPECT_EQ(std::tuple(w->windowTitle(), w->selectedTabIdentifier()),
            std::tuple(session->displayName() + " - 合計残高試算表[*]", "taisyakuTaisyou"));

  // The balance sheet: cash and the two sides, each balancing at 1,200.
  CyouhyouTableView* bs = w->taisyakuTaisyouTableView();
  EXPECT_EQ(cells(bs, "現金"), (QStringList{"現金", "1,000", "500", "300", "1,200", "100.00"}));
  EXPECT_EQ(std::tuple(w->isTotalRow(rowOf(bs, "　資産の部合計"), *bs), w->isTotalRow(rowOf(bs, "現金"), *bs),
                       bs->selectedRow()),
            std::tuple(true, false, 0));

  // The income statement: a heading shows its caption alone; the sections' figures
  // themselves are the core's to pin.
  CyouhyouTableView* pl = w->sonekiKeisanTableView();
  EXPECT_EQ(cells(pl, "売上高"), (QStringList{"売上高", "", "", "", "", ""}));
  // Amounts right-aligned under their headings.
  EXPECT_EQ(pl->model()->headerData(4, Qt::Horizontal).toString(), "終了残高");
  EXPECT_EQ(pl->model()->index(1, 4).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
            Qt::AlignRight);

  // No divisions: the period alone, from the first month to the closing adjustment.
  EXPECT_EQ(std::tuple(w->displayingJigyoubuField()->isHidden(), w->textFieldArray().size(),
                       w->displayingPeriodFromField()->text(), w->displayingPeriodToField()->text()),
            std::tuple(true, 2u, "4月", "決算整理月"));

  // The command again brings the same window forward.
  app->performCommand(MainMenu::Command::ShowZandakaShisanWindow, nullptr);
  flush();
  int windows = 0;
  for (DocumentWindowController* wc : session->windowControllers())
    windows += wc->windowKind() == DocumentWindow::Kind::ZandakaShisan;
  EXPECT_EQ(windows, 1);

  // An account row opens its ledger for the months shown.
  doubleClickRow(bs, "現金");
  ASSERT_EQ(ledgers().size(), 1u);
  KanjyoumotocyouController* cash = ledgers().front();
  EXPECT_EQ(std::tuple(cash->displayKamokuCode(), cash->displayHojyoKamokuCode(),
                       cash->displayPeriodFromMonthArrayIndex(), cash->displayPeriodToMonthArrayIndex()),
            std::tuple(genkin, -1, 0, 12));
  EXPECT_GT(cash->numberOfRowsInTableView(), 0);

  // The same account again only brings that ledger forward; a total is no account.
  activate(w);
  doubleClickRow(bs, "現金");
  doubleClickRow(bs, "　資産の部合計");
  EXPECT_EQ(ledgers().size(), 1u);

  // Return in the income statement: the sales ledger, in a window of its own.
  activate(w);
  w->selectTabWithIdentifier("sonekiKeisan");
  selectRow(pl, "　売上高");
  QTest::keyClick(pl, Qt::Key_Return);
  flush();
  ASSERT_EQ(ledgers().size(), 2u);
  EXPECT_EQ(ledgers().back()->displayKamokuCode(), uriage);

  // A company sheet open elsewhere comes first: the user is told to close it.
  activate(w);
  auto* info = session->documentInfoController();
  (new PropertiesController(session))->beginSheetOnWindow(info);
  flush();
  alerts.clear();
  selectRow(bs, "資本金");
  w->selectTabWithIdentifier("taisyakuTaisyou");
  w->showKanjyoumotocyouOfSelectedKamoku();
  w->setDisplayingPeriod();
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_EQ(alerts[0].title + " / " + alerts[0].text,
            "実行できません / このメッセージを閉じた後、前面に表示されるウインドウのシートを閉じてください。");
  EXPECT_EQ(std::tuple(ledgers().size(), w->attachedSheetController()), std::tuple(2u, nullptr));
  info->attachedSheetController()->abortSheet();
  flush();

  // A document opened with the limited-user password shows no ledgers.
  session->setWasOpenedByLimitedUserPassword(true);
  activate(w);
  const int beeps = AlertSheet::beepCountForTesting();
  QTest::keyClick(bs, Qt::Key_Return);
  flush();
  EXPECT_EQ(ledgers().size(), 2u);
  EXPECT_GT(AlertSheet::beepCountForTesting(), beeps);
  w->validateMenuItems();
  EXPECT_FALSE(w->functionMenuAction("選択している勘定科目の総勘定元帳を表示")->isEnabled());
}

TEST_F(TrialWindowsTest, TheTabsFollowTheKindOfCompany)
{
  const std::tuple<const char*, BooksOptions, QStringList> cases[] = {
      {"corporation", {}, {"貸借対照表", "損益計算書"}},
      {"sole proprietor", {.chart = ChartKind::Kojin}, {"貸借対照表", "損益計算書"}},
      {"manufacturer", {.seizou = true}, {"貸借対照表", "損益計算書", "製造原価報告書"}},
      {"construction manufacturer",
       {.seizou = true, .kensetu = true},
       {"貸借対照表", "損益計算書", "完成工事原価報告書"}},
      {"construction only", {.kensetu = true}, {"貸借対照表", "損益計算書"}}};
  for (const auto& [what, books, tabs] : cases) {
    SCOPED_TRACE(what);
    openBooks(books);
    ZandakaShisanController* w = openWindow();
    EXPECT_EQ(w->hasSeizouGenkaTab(), books.seizou);
    // Ctrl+K steps through the tabs and comes back to the first.
    QStringList labels, visited;
    for (int i = 0; i < w->tabView()->count(); ++i) {
      labels << w->tabView()->tabText(i);
      QTest::keyClick(w->selectedTableView(), Qt::Key_K, Qt::ControlModifier);
      flush();
      visited << w->selectedTabIdentifier();
    }
    QStringList expected;
    for (int i = 1; i < w->tabView()->count(); ++i) expected << w->tabView()->tabBar()->tabData(i).toString();
    expected << "taisyakuTaisyou";
    EXPECT_EQ(std::tuple(labels, visited), std::tuple(tabs, expected));
    session->close();
    flush();
  }
}

TEST_F(TrialWindowsTest, WhenThePeriodIsAskedFirstTheRowsWaitForIt)
{
  UserDefaults::standardUserDefaults().setBool(true, KIVOZandakaShisanSetPeriodWhenShowWindowKey);
  openBooks();
  ZandakaShisanController* w = openWindow();
  auto* period = qobject_cast<PeriodController*>(w->attachedSheetController());
  // Nothing computed yet: the sheet cannot be cancelled.
  EXPECT_EQ(std::tuple(period->cancelButton()->isHidden(), w->taisyakuTaisyouTableView()->model()->rowCount()),
            std::tuple(true, 0));
  period->monthFromComboBox()->setCurrentIndex(2);
  period->monthToComboBox()->setCurrentIndex(3);
  period->okButton()->click();
  flush();
  EXPECT_EQ(std::tuple(w->displayingPeriodFromField()->text(), w->displayingPeriodToField()->text()),
            std::tuple("6月", "7月"));
  EXPECT_GT(w->taisyakuTaisyouTableView()->model()->rowCount(), 0);
}

TEST_F(TrialWindowsTest, ChoosingTheDivisionAndThePeriod)
{
  WindowCommands::installCommandHandlers(app.get());
  openBooks({.jigyoubu = true});
  ZandakaShisanController* w = openWindow();
  CyouhyouTableView* bs = w->taisyakuTaisyouTableView();
  EXPECT_EQ(std::tuple(w->displayingJigyoubuField()->text(), cells(bs, "現金").at(4), w->textFieldArray().size(),
                       w->selectedTextField()),
            std::tuple("すべての事業部", "1,200", 3u, w->displayingJigyoubuField()));

  // A digit typed in the table searches the division picker; Return takes division 1.
  whenModalWindowIsUp<FormatterListWindow>([](FormatterListWindow* picker) {
    EXPECT_EQ(picker->searchField()->text(), "1");
    QTest::keyClick(picker->searchField(), Qt::Key_Return);
  });
  QTest::keyClick(bs, Qt::Key_1);
  flush();
  EXPECT_EQ(std::tuple(w->displayJigyoubuCode(), w->displayingJigyoubuField()->text()), std::tuple(1, "事業部1"));
  EXPECT_EQ(cells(bs, "現金"), (QStringList{"現金", "1,000", "500", "100", "1,400", "100.00"}));

  // The period sheet: its cancel button shows once the window has rows; OK applies.
  w->setDisplayingPeriod();
  auto* period = qobject_cast<PeriodController*>(w->attachedSheetController());
  EXPECT_FALSE(period->cancelButton()->isHidden());
  period->monthFromComboBox()->setCurrentIndex(1);
  period->monthToComboBox()->setCurrentIndex(1);
  period->okButton()->click();
  flush();
  EXPECT_EQ(std::tuple(w->displayingPeriodFromField()->text(), w->displayingPeriodToField()->text()),
            std::tuple("5月", "5月"));
  EXPECT_EQ(cells(bs, "現金"), (QStringList{"現金", "1,000", "500", "0", "1,500", "100.00"}));

  // The division list ends only the period-to-print sheet.
  auto* info = qobject_cast<DocumentInfoController*>(session->documentInfoController());
  w->setDisplayingPeriod();
  flush();
  ASSERT_TRUE(qobject_cast<PeriodController*>(w->attachedSheetController()));
  app->performCommand(MainMenu::Command::ShowJigyoubuListWindow, nullptr);
  flush();
  // The period sheet stays; the list opens on the information window.
  EXPECT_TRUE(qobject_cast<PeriodController*>(w->attachedSheetController()));
  ASSERT_TRUE(qobject_cast<JigyoubuListController*>(info->attachedSheetController()));
  info->attachedSheetController()->abortSheet();
  w->attachedSheetController()->abortSheet();
  flush();

  w->printZandakaShisanOfSelectedPeriod();
  flush();
  ASSERT_TRUE(qobject_cast<PeriodToPrintZandakaShisanController*>(w->attachedSheetController()));
  activate(w);
  app->performCommand(MainMenu::Command::ShowJigyoubuListWindow, nullptr);
  flush();
  // The period-to-print sheet ended and the list took its place.
  EXPECT_TRUE(qobject_cast<JigyoubuListController*>(w->attachedSheetController()));
  if (w->attachedSheetController()) w->attachedSheetController()->abortSheet();
  flush();

  // A division taken out of use falls back to the whole company.
  session->document().jigyoubuArray().front()->setIsActive(false);
  w->updateUI(true);
  EXPECT_EQ(std::tuple(w->displayJigyoubuCode(), w->displayingJigyoubuField()->text()),
            std::tuple(99, "すべての事業部"));
}

TEST_F(TrialWindowsTest, TheShownSectionGoesToAShiftJisTextFile)
{
  UserDefaults::standardUserDefaults().setBool(true, KIVOZandakaShisanKamokuDoNotShowIfNoTorihikiKey);
  openBooks();
  ZandakaShisanController* w = openWindow();
  int32_t presetSeen = -1;
  int32_t choose = 1;
  QString answer = path("balance");
  ReportTextExportSheet::setResponderForTesting([&](int32_t preset, int32_t& kugiri) {
    presetSeen = preset;
    kugiri = choose;
    return answer;
  });

  // The balance sheet with commas: only accounts with amounts, by the setting.
  w->saveToTextFile();
  flush();
  // The figures are the core's to pin; ten lines, as the accounts without amounts are left out.
  const QByteArray balance = readFile(path("balance.txt"));
  EXPECT_TRUE(balance.startsWith(shiftJis("現金,1000,500,300,1200,100.00\r　現預金合計,"))) << balance.toStdString();
  EXPECT_EQ(std::tuple(presetSeen, balance.count('\r'),
                       UserDefaults::standardUserDefaults().integerForKey(KIVOExportTextKugiriCodeKey)),
            std::tuple(0, 10, 1));

  // Cancelling the panel still keeps the separator chosen in it.
  choose = 0;
  answer.clear();
  w->saveToTextFile();
  flush();
  EXPECT_EQ(UserDefaults::standardUserDefaults().integerForKey(KIVOExportTextKugiriCodeKey), 0);

  // Cancelling the progress sheet writes nothing.
  const QStringList before = QDir(path(".")).entryList(QDir::Files);
  answer = path("cancelled.txt");
  // Once the write has begun, after the panel.
  ProgressStateController* progress = session->progressStateController();
  QTimer canceller;
  QObject::connect(&canceller, &QTimer::timeout, [&] {
    if (progress->isRunningModalSession()) progress->cancelButton()->click();
  });
  canceller.start(0);
  w->saveToTextFile();
  canceller.stop();
  flush();
  EXPECT_EQ(std::tuple(QDir(path(".")).entryList(QDir::Files), alerts.empty()), std::tuple(before, true));

  // A caption the code page cannot hold stops the export and says which.
  w->selectTabWithIdentifier("sonekiKeisan");
  kamokuNamed(session->document(), "売上高")->setName("売上高〜");
  w->updateUI(true);
  answer = path("wavedash.txt");
  w->saveToTextFile();
  flush();
  EXPECT_FALSE(QFile::exists(path("wavedash.txt")));
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].title, "書き出せません");
  EXPECT_TRUE(alerts[0].text.contains("売上高〜")) << alerts[0].text.toStdString();
}

TEST_F(TrialWindowsTest, PrintsTheShownSectionsOrAChosenPeriod)
{
  openBooks({ChartKind::HoujinOlder, true, false, true});
  ZandakaShisanController* w = openWindow();
  const QString file = path("print.pdf");
  QWidget* accessoryShown = nullptr;
  PrintOperation::setPrintPanelResponderForTesting([&](QPrinter& printer, QWidget* accessory) {
    accessoryShown = accessory;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  });
  const auto text = [&] { return runTool(QStringLiteral("pdftotext"), {file, "-"}); };

  // The shown section is always printed; the others as ticked in the panel.
  w->selectTabWithIdentifier("sonekiKeisan");
  w->printDocument();
  EXPECT_EQ(std::tuple(accessoryShown, w->doPrintSonekiKeisan(), w->doPrintTaisyakuTaisyou()),
            std::tuple(w->selectPrintTargetView(), true, false));
  QString printed = text();
  for (const char* part : {"合計残高試算表 - 損益計算書", "4月 〜 決算整理月", "勘定科目", "比率"})
    EXPECT_TRUE(printed.contains(part)) << part;
  EXPECT_FALSE(printed.contains("貸借対照表"));

  // The chosen period: the sheet starts with the company, the whole term and every
  // section; OK needs one ticked.
  w->printZandakaShisanOfSelectedPeriod();
  flush();
  auto* sheet = qobject_cast<PeriodToPrintZandakaShisanController*>(w->attachedSheetController());
  EXPECT_EQ(std::tuple(sheet->jigyoubuField()->isVisible(), sheet->monthFromComboBox()->currentIndex(),
                       sheet->monthToComboBox()->currentText()),
            std::tuple(true, 0, "決算整理月"));
  for (QCheckBox* box :
       {sheet->printTaisyakuTaisyouCheckbox(), sheet->printSonekiKeisanCheckbox(), sheet->printSeizouGenkaCheckbox()}) {
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
  }
  EXPECT_FALSE(sheet->okButton()->isEnabled());
  sheet->printTaisyakuTaisyouCheckbox()->setChecked(true);
  EXPECT_TRUE(sheet->okButton()->isEnabled());
  sheet->printSeizouGenkaCheckbox()->setChecked(true);
  sheet->monthFromComboBox()->setCurrentIndex(2);
  sheet->monthToComboBox()->setCurrentIndex(2);
  sheet->okButton()->click();
  flush();
  printed = text();
  for (const char* part : {"合計残高試算表 - 貸借対照表", "合計残高試算表 - 製造原価報告書", "6月"})
    EXPECT_TRUE(printed.contains(part)) << part;
  for (const char* part : {"〜", "損益計算書"}) EXPECT_FALSE(printed.contains(part)) << part;
  // The window still shows what it showed.
  EXPECT_EQ(w->displayPeriodFromMonthArrayIndex(), 0);

  // The next showing presents the sheet as it was left.
  w->printZandakaShisanOfSelectedPeriod();
  flush();
  EXPECT_EQ(std::tuple(sheet->printSonekiKeisanCheckbox()->isChecked(), sheet->monthFromComboBox()->currentIndex()),
            std::tuple(false, 2));
  // Division text that names no division opens the picker with that text.
  QString searched;
  test::whenModalWindowIsUp<JigyoubuFormatterListWindow>([&searched](JigyoubuFormatterListWindow* picker) {
    searched = picker->searchField()->text();
    QTest::keyClick(picker->searchField(), Qt::Key_Escape);
  });
  sheet->jigyoubuField()->setText(QStringLiteral("支"));
  QTest::keyClick(sheet->jigyoubuField(), Qt::Key_Return);
  flush();
  EXPECT_EQ(searched, QStringLiteral("支"));
  sheet->cancelButton()->click();
  flush();
}

// Return in the division field that opens the picker is the field's: however the
// picker closes, the sheet stays open and nothing prints. A division the field reads
// lets Return be the sheet's OK.
TEST_F(TrialWindowsTest, AReturnThatOpensTheDivisionPickerDoesNotAlsoPrint)
{
  openBooks({.jigyoubu = true});
  ZandakaShisanController* w = openWindow();
  int panels = 0;  // print panels, each cancelled
  PrintOperation::setPrintPanelResponderForTesting([&panels](QPrinter&, QWidget*) { return ++panels < 0; });
  w->printZandakaShisanOfSelectedPeriod();
  flush();
  auto* sheet = qobject_cast<PeriodToPrintZandakaShisanController*>(w->attachedSheetController());
  ASSERT_TRUE(sheet);
  // Cancelled, or a division chosen with Return: the field shows the division. A press
  // on OK that takes the focus from the field opens the picker as well; the press is
  // spent on it (the mouse was released over the picker), and OK is not left down.
  for (const auto& [typed, key, shown, byOK] :
       {std::tuple("", Qt::Key_Escape, "すべての事業部", false), std::tuple("1", Qt::Key_Return, "事業部1", false),
        std::tuple("", Qt::Key_Escape, "事業部1", true)}) {
    answerNextPanel(nullptr, QString::fromLatin1(typed), key);
    if (byOK) {
      sheet->jigyoubuField()->setFocus();
      sheet->jigyoubuField()->setText(QStringLiteral("事業部"));
      QTest::mousePress(sheet->okButton(), Qt::LeftButton);
      flush();
    } else {
      typeReturnIn(sheet->jigyoubuField(), QStringLiteral("事業部"));
    }
    EXPECT_EQ(std::tuple(sheet->isSheetAttached(), panels, sheet->jigyoubuField()->text(), sheet->okButton()->isDown()),
              std::tuple(true, 0, QString::fromUtf8(shown), false));
    if (byOK) QTest::mouseRelease(sheet, Qt::LeftButton);
  }
  typeReturnIn(sheet->jigyoubuField(), sheet->jigyoubuField()->text());
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), panels, sheet->jigyoubuCode()), std::tuple(false, 1, 1));
}

TEST_F(TrialWindowsTest, MonthlyWindowColumnsLedgerExportAndPrintoutInColumnGroups)
{
  openBooks({.seizou = true});
  SuiiShisanController* w = openWindow<SuiiShisanController>(MainMenu::Command::ShowSuiiShisanWindow);
  EXPECT_TRUE(w->windowTitle().contains(QStringLiteral(" - 年間推移試算表"))) << w->windowTitle().toStdString();
  ASSERT_EQ(w->tabView()->count(), 3);
  const auto headers = [](const CyouhyouTableView* t) {
    QStringList out;
    for (int c = 0; c < t->model()->columnCount(); ++c) out << t->model()->headerData(c, Qt::Horizontal).toString();
    return out;
  };
  const QStringList months{"4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月", "1月", "2月", "3月"};
  EXPECT_EQ(headers(w->taisyakuTaisyouTableView()),
            (QStringList{"勘定科目", "開始残高"} + months + QStringList{"決算整理月"}));
  EXPECT_EQ(headers(w->sonekiKeisanTableView()),
            (QStringList{"勘定科目"} + months + QStringList{"決算整理月", "合計"}));
  // The figures themselves are the core's to pin; the table shows them as cells.
  EXPECT_EQ(cells(w->taisyakuTaisyouTableView(), "現金").last(), "1,200");
  // A heading shows its caption alone and is tinted.
  EXPECT_EQ(cells(w->sonekiKeisanTableView(), "売上高").join(""), "売上高");
  EXPECT_TRUE(w->isTotalRow(rowOf(w->sonekiKeisanTableView(), "売上高"), *w->sonekiKeisanTableView()));

  // The caption column moves directly left of a column whose header is double-clicked.
  QHeaderView* header = w->taisyakuTaisyouTableView()->horizontalHeader();
  w->moveTitleColumnToDoubleClickedColumnOfTableView(w->taisyakuTaisyouTableView(), 6);
  EXPECT_EQ(header->visualIndex(0), header->visualIndex(6) - 1);
  w->moveTitleColumnToDoubleClickedColumnOfTableView(w->taisyakuTaisyouTableView(), 0);
  EXPECT_EQ(header->visualIndex(0), header->visualIndex(6) - 1);

  // An account row opens its general ledger over the whole term; a total row nothing.
  CyouhyouTableView* pl = w->sonekiKeisanTableView();
  w->tabView()->setCurrentIndex(1);
  selectRow(pl, "　　売上高合計");
  w->showKanjyoumotocyouOfSelectedKamoku();
  flush();
  EXPECT_TRUE(ledgers().empty());
  selectRow(pl, "　売上高");
  w->showKanjyoumotocyouOfSelectedKamoku();
  flush();
  ASSERT_EQ(ledgers().size(), 1u);
  EXPECT_EQ(
      std::tuple(ledgers()[0]->displayPeriodFromMonthArrayIndex(), ledgers()[0]->displayPeriodToMonthArrayIndex()),
      std::tuple(0, 12));

  // The shown section goes to the file with every month, the closing month and the total.
  activate(w);
  ReportTextExportSheet::setResponderForTesting([&](int32_t, int32_t& kugiri) {
    kugiri = 1;
    return path("monthly.txt");
  });
  w->saveToTextFile();
  flush();
  const QByteArray data = readFile(path("monthly.txt"));
  EXPECT_TRUE(
      data.startsWith(shiftJis("売上高,,,,,,,,,,,,,,\r"
                               "　売上高,0,500,0,0,0,0,0,0,0,0,0,0,0,500\r"
                               "　　売上高合計,0,500,0,0,0,0,0,0,0,0,0,0,0,500\r")))
      << data.left(200).toStdString();

  // The printout in column groups.
  MyDocument& doc = session->document();
  SuiiShisan s(doc);
  s.setSuiiShisanArryForJigyoubuCode(99, true);
  SuiiShisanPrintView::SectionChoice choice{true, false, false};
  const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(36, 36, 36, 36), QPageLayout::Point);
  auto view = SuiiShisanPrintView::create(doc, a4, s.taisyakuTaisyouShisanArray(), s.sonekiKeisanShisanArray(),
                                          s.seizouGenkaShisanArray(), 3, [&] { return choice; });
  // The side margins: the page setup's, or the printable area's edge where that
  // leaves less of the paper, in either orientation.
  struct MarginCase {
    QPageLayout::Orientation orientation;
    QMarginsF printerMinimum;
    std::pair<double, double> leftAndRight;
  };
  for (const MarginCase& c :
       {MarginCase{QPageLayout::Landscape, {}, {36, 36}}, MarginCase{QPageLayout::Portrait, {}, {36, 36}},
        MarginCase{QPageLayout::Landscape, {25, 10, 40, 10}, {36, 40}},
        MarginCase{QPageLayout::Portrait, {45, 10, 30, 10}, {45, 36}}}) {
    QPageLayout l(QPageSize(QPageSize::A4), c.orientation, QMarginsF(36, 36, 36, 36), QPageLayout::Point,
                  c.printerMinimum);
    auto v = SuiiShisanPrintView::create(doc, l, s.taisyakuTaisyouShisanArray(), s.sonekiKeisanShisanArray(),
                                         s.seizouGenkaShisanArray(), 3, [&] { return choice; });
    ASSERT_TRUE(v);
    EXPECT_EQ(std::pair(v->bands().geometry.leftMargin, v->bands().geometry.rightMargin), c.leftAndRight);
  }
  // 14 amount columns in groups of 3: five pages per block of rows.
  const auto& p = view->paginator();
  ASSERT_EQ(p.pagePerLine(), 5);
  const int blocks = static_cast<int>(p.chosenPages(true, false, false).size()) / 5;
  ASSERT_GE(blocks, 1);
  const QString pdf = path("monthly.pdf");
  ASSERT_TRUE(PrintOperation::writePdf(pdf, *view, a4));
  EXPECT_EQ(pdfPageCount(pdf), blocks * 5);
  const QString first = pdfPageText(pdf, 1);
  for (const char* part : {"年間推移試算表 - 貸借対照表", "開始残高", "4月", "5月"})
    EXPECT_TRUE(first.contains(part)) << part;
  EXPECT_FALSE(first.contains("6月"));
  const QString fifth = pdfPageText(pdf, 5);
  for (const char* part : {"3月", "決算整理月", "1,200"}) EXPECT_TRUE(fifth.contains(part)) << part;
  EXPECT_FALSE(fifth.contains("開始残高"));

  // Only the income statement: its pages alone, numbered from 1.
  choice = {false, true, false};
  ASSERT_TRUE(PrintOperation::writePdf(pdf, *view, a4));
  EXPECT_TRUE(pdfPageText(pdf, 1).contains("年間推移試算表 - 損益計算書"));
  EXPECT_FALSE(pdfText(pdf).contains("貸借対照表"));
}

TEST_F(TrialWindowsTest, ThePagesPrintedAreThoseOfTheSectionsTickedInThePanelAndARangeCountsThem)
{
  openBooks({.seizou = true});
  // Short pages, so that every section runs over several; the monthly printout five
  // columns a page.
  const QPageLayout shortPaper(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(36, 560, 36, 36),
                               QPageLayout::Point);
  PrintInfo::setPageLayoutForKey(shortPaper, KIVOZandakaShisanPrintInfoKey);
  PrintInfo::setPageLayoutForKey(shortPaper, KIVOSuiiShisanPrintInfoKey);
  UserDefaults::standardUserDefaults().setInteger(5, KIVOSuiiShisanPrintMonthPerPageKey);
  ZandakaShisanController* zandaka = openWindow();
  SuiiShisanController* suii = openWindow<SuiiShisanController>(MainMenu::Command::ShowSuiiShisanWindow);
  const QString file = path("sections.pdf");
  for (ShisanSectionsWindowController* w : std::initializer_list<ShisanSectionsWindowController*>{zandaka, suii}) {
    SCOPED_TRACE(w->windowTitle().toStdString());
    activate(w);
    // The section of each page printed from the tab shown, the balance sheet ticked in
    // the panel or not, a page range typed there or none.
    const auto print = [&](const char* shownTab, bool tickTaisyakuTaisyou = false, int from = 0, int to = 0) {
      PrintOperation::setPrintPanelResponderForTesting([=](QPrinter& printer, QWidget* accessory) {
        for (QCheckBox* box : accessory->findChildren<QCheckBox*>())
          if (box->text() == "貸借対照表" && tickTaisyakuTaisyou) box->setChecked(true);
        if (from > 0) {
          printer.setPrintRange(QPrinter::PageRange);
          printer.setFromTo(from, to);
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return true;
      });
      QFile::remove(file);
      w->selectTabWithIdentifier(shownTab);
      w->printDocument();
      flush();
      QStringList sections;
      for (const QString& page : pdfPageTexts(file))
        sections << (page.contains("貸借対照表") ? "BS" : page.contains("損益計算書") ? "PL" : "?");
      return sections;
    };
    const qsizetype bs = print("taisyakuTaisyou").size(), pl = print("sonekiKeisan").size();
    const qsizetype cost = print("seizouGenka").size();
    ASSERT_GE(std::min(bs, pl), 2);
    // The income statement shown and the balance sheet ticked: every page of both, and
    // a range counts the pages of both.
    EXPECT_EQ(print("sonekiKeisan", true), QStringList(bs, "BS") + QStringList(pl, "PL"));
    EXPECT_EQ(print("sonekiKeisan", true, bs, bs + 1), QStringList({"BS", "PL"}));
    // A range beyond the pages prints nothing and says so.
    alerts.clear();
    EXPECT_EQ(print("sonekiKeisan", false, pl + 1, pl + 2), QStringList());
    EXPECT_EQ(alerts.size() == 1 ? alerts[0].title : QString(), "印刷できません");
    // The panel lets a range reach past the last page of every section: smaller paper
    // chosen there gives more pages.
    PrintOperation::setPrintPanelResponderForTesting({});
    qsizetype lastPage = 0;
    test::whenModalWindowIsUp<QPrintDialog>([&](QPrintDialog* dialog) {
      lastPage = dialog->maxPage();
      dialog->reject();
    });
    w->printDocument();
    flush();
    EXPECT_GT(lastPage, 10 * (bs + pl + cost));
  }
}

TEST_F(TrialWindowsTest, TheMonthlyPrintoutKeepsWithinTheMarginsAndThePrintableAreaOfThePrinterChosenInThePanel)
{
  openBooks({.seizou = true});
  SuiiShisanController* w = openWindow<SuiiShisanController>(MainMenu::Command::ShowSuiiShisanWindow);
  UserDefaults::standardUserDefaults().setInteger(7, KIVOSuiiShisanPrintMonthPerPageKey);
  const QString file = path("area.pdf");
  // The paper set up with margins of 36 points, and outside the chosen printer's
  // printable area; the table's left edge and the end its right edge keeps within:
  // the margins, held to the printable area, as every table printout has them. Seven
  // columns that do not fit at the smallest font are refused (left edge 0).
  const std::tuple<QPageSize::PageSizeId, QPageLayout::Orientation, QMarginsF, double, double> cases[] = {
      {QPageSize::A4, QPageLayout::Landscape, {}, 36, 842 - 36},
      {QPageSize::A4, QPageLayout::Portrait, {}, 36, 595 - 36},
      {QPageSize::A4, QPageLayout::Landscape, {60, 10, 300, 10}, 60, 842 - 300},
      {QPageSize::A4, QPageLayout::Portrait, {60, 10, 100, 10}, 60, 595 - 100},
      {QPageSize::A4, QPageLayout::Portrait, {60, 10, 250, 10}, 0, 595 - 250},
      {QPageSize::JisB5, QPageLayout::Portrait, {}, 36, 516 - 36},
      {QPageSize::A5, QPageLayout::Landscape, {}, 36, 595 - 36},
      {QPageSize::A5, QPageLayout::Portrait, {}, 0, 420 - 36},
  };
  for (const auto& [size, paper, area, left, rightEnd] : cases) {
    SCOPED_TRACE(QPageSize(size).name().toStdString() + " " + std::to_string(rightEnd));
    PrintInfo::setPageLayoutForKey(QPageLayout(QPageSize(size), paper, QMarginsF(36, 36, 36, 36), QPageLayout::Point),
                                   KIVOSuiiShisanPrintInfoKey);
    // A printer whose printable area leaves that much of the paper, the page setup
    // kept.
    PrintOperation::setPrintPanelResponderForTesting([&, area = area](QPrinter& printer, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      QPageLayout chosen = printer.pageLayout();
      chosen.setMinimumMargins(area);
      printer.setPageLayout(chosen);
      return true;
    });
    alerts.clear();
    QFile::remove(file);
    w->printDocument();
    flush();
    EXPECT_EQ(std::pair(QFile::exists(file), alerts.empty() ? QString() : alerts[0].text),
              std::pair(left > 0, QString(left > 0 ? "" : "環境設定で指定した１ページに印刷する月数が多すぎます。")));
    if (left == 0) continue;
    // The table's rules and its text; the fonts shrink no further than the table
    // needs.
    double first = 1e9, last = 0;
    for (const auto& [width, x1, y1, x2, y2] : pdfStrokedLines(file, 0)) {
      first = std::min({first, x1, x2});
      last = std::max({last, x1, x2});
    }
    double firstText = 1e9, lastText = 0;
    for (const PdfWord& word : pdfWords(file, 1)) {
      firstText = std::min(firstText, word.box.left());
      lastText = std::max(lastText, word.box.right());
    }
    EXPECT_EQ(std::tuple(std::abs(first - left) < 0.5, last <= rightEnd, last > rightEnd - 120, firstText > left,
                         lastText < last),
              std::tuple(true, true, true, true, true))
        << first << " " << last << " " << firstText << " " << lastText;
  }
}

// The page setup stored, A4 portrait; another paper chosen in the print panel: the
// pages are of that paper and hold every row and column of the printout.
TEST_F(TrialWindowsTest, ThePrintoutsAreLaidOutForThePaperChosenInThePanel)
{
  openBooks({.seizou = true});
  UserDefaults::standardUserDefaults().setInteger(6, KIVOSuiiShisanPrintMonthPerPageKey);
  ZandakaShisanController* zandaka = openWindow();
  SuiiShisanController* suii = openWindow<SuiiShisanController>(MainMenu::Command::ShowSuiiShisanWindow);
  const QString file = path("paper.pdf");
  // The column titles given and the row titles of the tables.
  const auto titles = [](const QStringList& columns, std::initializer_list<const CyouhyouTableView*> tables) {
    QStringList out;
    for (const QString& c : columns) out << spacedAnyhow(c);
    for (const CyouhyouTableView* t : tables)
      for (int r = 0; r < t->model()->rowCount(); ++r) out << spacedAnyhow(t->model()->index(r, 0).data().toString());
    return out;
  };
  const QStringList zandakaColumns{"開始残高", "借方合計", "貸方合計", "終了残高", "比率"};
  // The monthly printout's columns are the window's.
  QStringList suiiColumns;
  for (int c = 1; c < suii->seizouGenkaTableView()->model()->columnCount(); ++c)
    suiiColumns << suii->seizouGenkaTableView()->model()->headerData(c, Qt::Horizontal).toString();
  for (const PaperChosenInPanel& paper : kPapersChosenInPanel)
    for (ShisanSectionsWindowController* w : std::initializer_list<ShisanSectionsWindowController*>{zandaka, suii}) {
      SCOPED_TRACE(std::string(paper.name) + " " + w->windowTitle().toStdString());
      activate(w);
      w->selectTabWithIdentifier("seizouGenka");
      const auto print = [w, &file, &paper] {
        // Every section ticked in the panel.
        choosePaperInPrintPanel(paper, file, [](QPrinter&, QWidget* accessory) {
          for (QCheckBox* box : accessory->findChildren<QCheckBox*>()) box->setChecked(true);
          return true;
        });
        w->printDocument();
        flush();
      };
      EXPECT_EQ(printedOnPaperChosenInPanel(
                    paper, file, print,
                    titles(w == suii ? suiiColumns : zandakaColumns,
                           {w->taisyakuTaisyouTableView(), w->sonekiKeisanTableView(), w->seizouGenkaTableView()})),
                std::pair(std::string(), std::string()));
    }

  openHojyoBooks();
  auto* list = openWindow<HojyozandakaIchiranController>(MainMenu::Command::ShowHojyozandakaIchiranWindow);
  list->setDisplayKamokuCode(urikake);
  list->updateAfterSelectDisplayingJigyoubu();
  for (const PaperChosenInPanel& paper : kPapersChosenInPanel) {
    SCOPED_TRACE(paper.name);
    EXPECT_EQ(printedOnPaperChosenInPanel(
                  paper, file, [list] { list->printDocument(); }, titles(zandakaColumns, {list->tableView()})),
              std::pair(std::string(), std::string()));
  }
}

// Paper narrower than the stored A4 chosen in the print panel: each printout either
// prints whole, every column within the paper and its table's frame, or is refused
// with the alert; none is cut at the paper's edge.
TEST_F(TrialWindowsTest, APrintoutEitherFitsThePaperChosenInThePanelOrIsRefused)
{
  const QString file = path("paper.pdf");
  // Prints with the paper, every section ticked; answers "printed" and what is wrong
  // with the pages (nothing), or the alert that refused them.
  const auto outcome = [&](const PaperChosenInPanel& paper, const std::function<void()>& print) {
    alerts.clear();
    QFile::remove(file);
    choosePaperInPrintPanel(paper, file, [](QPrinter&, QWidget* accessory) {
      if (accessory)
        for (QCheckBox* box : accessory->findChildren<QCheckBox*>()) box->setChecked(true);
      return true;
    });
    print();
    flush();
    if (!QFile::exists(file))
      return alerts.empty() ? std::string() : (alerts.back().title + " / " + alerts.back().text).toStdString();
    return ("printed" + pagesOffPaper(file, paper) + textOutsideTable(file)).toStdString();
  };
  const std::string printed = "printed";
  const std::string narrow = "印刷できません / 設定している用紙の印刷できる範囲が小さすぎます。";
  const PaperChosenInPanel a5{"A5", QPageSize::A5, QPageLayout::Portrait};
  const PaperChosenInPanel a6{"A6", QPageSize::A6, QPageLayout::Portrait};

  openBooks({.seizou = true, .jigyoubu = true});
  UserDefaults::standardUserDefaults().setInteger(3, KIVOSuiiShisanPrintMonthPerPageKey);
  ZandakaShisanController* zandaka = openWindow();
  SuiiShisanController* suii = openWindow<SuiiShisanController>(MainMenu::Command::ShowSuiiShisanWindow);
  const auto printWindow = [this](ShisanSectionsWindowController* w) {
    return [this, w] {
      activate(w);
      w->printDocument();
    };
  };
  EXPECT_EQ((std::vector{outcome(a5, printWindow(zandaka)), outcome(a6, printWindow(zandaka)),
                         outcome(a5, printWindow(suii)), outcome(a6, printWindow(suii))}),
            (std::vector{printed, narrow, printed, printed}));

  openHojyoBooks();
  auto* list = openWindow<HojyozandakaIchiranController>(MainMenu::Command::ShowHojyozandakaIchiranWindow);
  list->setDisplayKamokuCode(urikake);
  list->updateAfterSelectDisplayingJigyoubu();
  const auto printList = [list] { list->printDocument(); };
  EXPECT_EQ((std::vector{outcome(a5, printList), outcome(a6, printList)}), (std::vector{printed, narrow}));
}

TEST_F(TrialWindowsTest, SubAccountListShowsTheChosenAccountExportsItOpensSubLedgersAndPrintsSeveral)
{
  openHojyoBooks();
  auto* w = openWindow<HojyozandakaIchiranController>(MainMenu::Command::ShowHojyozandakaIchiranWindow);
  // A new window shows no account: an empty list, nothing to print, export or open.
  EXPECT_EQ(std::tuple(w->tableView()->model()->rowCount(), w->validatePrintMenuItem()), std::tuple(0, false));
  w->functionMenuActions();
  w->validateMenuItems();
  EXPECT_FALSE(w->functionMenuAction(qs(HojyozandakaIchiranController::kSaveToTextFileTitle))->isEnabled());

  w->setDisplayKamokuCode(urikake);
  w->setDisplayPeriodFromMonthArrayIndex(1);
  w->setDisplayPeriodToMonthArrayIndex(4);
  w->updateAfterSelectDisplayingJigyoubu();
  ASSERT_EQ(w->tableView()->model()->rowCount(), 5);
  EXPECT_EQ(cells(w->tableView(), "合計"), (QStringList{"合計", "4,200", "1,250", "800", "4,650", "100.00"}));
  EXPECT_EQ(std::tuple(w->isTotalRow(4, *w->tableView()), w->validatePrintMenuItem()), std::tuple(true, true));

  // Division 2 alone; the row selected stays.
  w->tableView()->selectRow(1);
  w->setDisplayJigyoubuCode(2);
  w->updateAfterSelectDisplayingJigyoubu();
  EXPECT_EQ(w->tableView()->selectedRow(), 1);
  // The shown rows go to the file as they are. A商店 is 41 8F A4 93 58, 合計 8D 87 8C 76.
  ReportTextExportSheet::setResponderForTesting([&](int32_t, int32_t& kugiri) {
    kugiri = 1;
    return path("list");
  });
  w->saveToTextFile();
  flush();
  EXPECT_EQ(readFile(path("list.txt")), QByteArray("A\x8f\xa4\x93\x58,500,0,300,200,28.57\r"
                                                   "B\x8f\xa4\x93\x58,0,0,0,0,0.00\r"
                                                   "C\x8f\xa4\x93\x58,300,200,0,500,71.43\r"
                                                   "\x8d\x87\x8c\x76,800,200,300,700,100.00\r"));

  // Return on a customer opens its sub ledger over the same months; on the row of what
  // is on no customer, the account's general ledger; on the total, nothing.
  w->setDisplayJigyoubuCode(99);
  w->updateAfterSelectDisplayingJigyoubu();
  w->tableView()->selectRow(4);
  w->showHojyomotocyouOfSelectedHojyoKamoku();
  EXPECT_TRUE(ledgers().empty());
  w->tableView()->selectRow(1);
  w->showHojyomotocyouOfSelectedHojyoKamoku();
  ASSERT_EQ(ledgers().size(), 1u);
  const KanjyoumotocyouController* l = ledgers()[0];
  EXPECT_EQ(std::make_tuple(l->displayKamokuCode(), l->displayHojyoKamokuCode(), l->displayPeriodToMonthArrayIndex()),
            std::make_tuple(urikake, 2, 4));
  activate(w);
  w->tableView()->selectRow(3);
  w->showHojyomotocyouOfSelectedHojyoKamoku();
  ASSERT_EQ(ledgers().size(), 2u);
  EXPECT_EQ(ledgers()[1]->displayHojyoKamokuCode(), -1);

  // The command again: this window shows an account, so another one opens.
  auto* second = openWindow<HojyozandakaIchiranController>(MainMenu::Command::ShowHojyozandakaIchiranWindow);
  EXPECT_TRUE(second && second != w);

  // Several accounts' lists print from the information window.
  activate(session->documentInfoController());
  app->performCommand(MainMenu::Command::PrintHojyozandakaIchiranOfPluralKamoku, nullptr);
  flush();
  auto* sheet = SelectPluralKamokuWithHojyoController::controllerOfDocument(session);
  ASSERT_TRUE(sheet->isSheetAttached());
  // Only accounts with active sub-accounts, in code order; nothing chosen yet.
  LedgerChoiceTree* candidates = sheet->unselectedKamokuTableView();
  const bool yokinFirst = yokin < urikake;
  ASSERT_EQ(candidates->topLevelItemCount(), 2);
  EXPECT_EQ((QStringList{candidates->topLevelItem(0)->text(1), candidates->topLevelItem(1)->text(1)}),
            (yokinFirst ? QStringList{"普通預金", "売掛金"} : QStringList{"売掛金", "普通預金"}));
  EXPECT_EQ(std::tuple(sheet->okButtonWidget()->isEnabled(), sheet->monthToPopUp()->currentText(),
                       sheet->jigyoubuField()->isVisibleTo(sheet)),
            std::tuple(false, "決算整理月", true));

  // A drop within one list is refused; both candidates dragged across are chosen.
  std::unique_ptr<QMimeData> data(
      candidates->mimeDataOfItems({candidates->topLevelItem(0), candidates->topLevelItem(1)}));
  EXPECT_FALSE(candidates->acceptDrop(data.get(), candidates, true));
  ASSERT_TRUE(sheet->selectedKamokuTableView()->acceptDrop(data.get(), candidates, true));
  EXPECT_EQ(std::tuple(sheet->selectedKamokuTableView()->topLevelItemCount(), sheet->okButtonWidget()->isEnabled()),
            std::tuple(2, true));
  sheet->monthFromPopUp()->setCurrentIndex(1);
  sheet->monthToPopUp()->setCurrentIndex(4);

  const QString file = path("several.pdf");
  PrintOperation::setPrintPanelResponderForTesting([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  });
  sheet->okButtonWidget()->click();
  flush();
  EXPECT_FALSE(sheet->isSheetAttached());
  const QStringList pages = pdfPageTexts(file);
  ASSERT_EQ(pages.size(), 2);
  const QString& urikakePage = pages[yokinFirst ? 1 : 0];
  for (const QString& page : pages)
    EXPECT_TRUE(page.contains("補助残高一覧表") && page.contains("5月 〜 8月") && page.contains("比率"));
  EXPECT_TRUE(pages[yokinFirst ? 0 : 1].contains(heading("普通預金")));
  for (const QRegularExpression& line :
       {heading("売掛金"), QRegularExpression("補助科目なし\\s+0\\s+50\\s+0\\s+50\\s+1.08"),
        QRegularExpression("合計\\s+4,200\\s+1,250\\s+800\\s+4,650\\s+100.00")})
    EXPECT_TRUE(urikakePage.contains(line)) << line.pattern().toStdString();

  // The account's customers all taken out of use: the window falls back to none.
  for (const HojyoKamokuPtr& h : session->document().kamokuOfCode(urikake)->hojyoKamokuArray()) h->setIsActive(false);
  w->updateUI(true);
  EXPECT_EQ(std::tuple(w->displayKamokuCode(), w->tableView()->model()->rowCount()), std::tuple(-1, 0));
}

// A menu of the window's bar closed with Escape (from its submenu too: one Escape
// each) gives the keys back to the window: a click on the account field and a digit
// typed then open the picker with it, in the ledger as in the sub-account list.
TEST_F(TrialWindowsTest, AfterAMenuClosedWithEscapeTheTypedAccountOpensThePicker)
{
  openHojyoBooks();
  for (const auto& [ledger, submenu] : {std::pair(true, false), std::pair(false, false), std::pair(false, true)}) {
    SCOPED_TRACE(testing::Message() << "ledger " << ledger << " submenu " << submenu);
    auto* l = ledger ? openWindow<KanjyoumotocyouController>(MainMenu::Command::ShowKanjyoumotocyouWindow) : nullptr;
    auto* list =
        ledger ? nullptr : openWindow<HojyozandakaIchiranController>(MainMenu::Command::ShowHojyozandakaIchiranWindow);
    PeriodReportWindowController* w = l ? static_cast<PeriodReportWindowController*>(l) : list;
    w->findChild<CyouhyouTableView*>()->setFocus();
    MainMenu* menus = w->mainMenu();
    QMenu* menu = submenu ? menus->denpyouAndCyouhyouMenu() : menus->functionMenu();
    QTest::mouseClick(menus->menuBar(), Qt::LeftButton, {},
                      menus->menuBar()->actionGeometry(menu->menuAction()).center());
    if (submenu) {
      menu->setActiveAction(menus->suitoucyouMenu()->menuAction());
      QTest::keyClick(menu, Qt::Key_Right);
      ASSERT_EQ(QApplication::activePopupWidget(), menus->suitoucyouMenu());
      QTest::keyClick(menus->suitoucyouMenu(), Qt::Key_Escape);
    }
    ASSERT_EQ(QApplication::activePopupWidget(), menu);
    QTest::keyClick(menu, Qt::Key_Escape);
    flush();

    QTest::mouseClick(l ? l->displayingKamokuField() : list->displayingKamokuField(), Qt::LeftButton);
    std::pair<QString, QString> opened;
    answerNextPanel(&opened, {}, Qt::Key_Escape);
    QTest::keyClick(w->windowHandle(), Qt::Key_1);
    flush();
    EXPECT_EQ(opened, std::pair(QStringLiteral("kivo::KamokuFormatterListWindow"), QStringLiteral("1")));
    closeNow(w);
  }
}

TEST(ShiftJisEncoderTest, CodePage932BytesAndRefusalsOfWhatItCannotHold)
{
  // ASCII kept, backslash and tilde included; the ideographic space; U+FF5E, U+FF0D,
  // U+2225 and U+FFE2, where plain Shift_JIS has U+301C, U+2212, U+2016 and U+00AC; NEC
  // special characters; an IBM extension, preferred over the NEC-selected one;
  // half-width katakana.
  using Case = std::pair<const char*, std::string>;
  for (const auto& [text, expected] :
       {Case{"abc\\~09", "abc\\~09"}, Case{"現金", "\x8C\xBB\x8B\xE0"}, Case{"　", "\x81\x40"}, Case{"～", "\x81\x60"},
        Case{"－", "\x81\x7C"}, Case{"∥", "\x81\x61"}, Case{"￢", "\x81\xCA"}, Case{"①", "\x87\x40"},
        Case{"№", "\x87\x82"}, Case{"髙", "\xFB\xFC"}, Case{"ｱ", "\xB1"}, Case{"#Precision!", "#Precision!"}}) {
    std::string out = "x";
    ASSERT_TRUE(ShiftJisEncoder::encode(text, out)) << text;
    EXPECT_EQ(out, "x" + expected) << text;
  }

  // WAVE DASH, DOUBLE VERTICAL LINE, MINUS SIGN, the yen sign, an emoji, a
  // character outside JIS, and malformed UTF-8.
  for (const char* text : {"〜", "‖", "−", "¥", "😀", "𠮷", "a\xFFz", "\xE3\x81"}) {
    std::string out = "keep";
    EXPECT_FALSE(ShiftJisEncoder::encode(text, out)) << text;
    EXPECT_EQ(out, "keep");
  }
}

}  // namespace
}  // namespace kivo::test

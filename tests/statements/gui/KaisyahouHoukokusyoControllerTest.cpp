// The statements sheets on the information window, offscreen. The Companies-Act one:
// its first filling, OK and Cancel, the checks of the general tab, the notes, and the
// change-reason tab. The older-form one: the appropriation items with their totals,
// the refusal of items beyond the profit, and the command's absence for a household book.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>

#include "entry/gui/FurikaedenpyouController.h"
#include "platform/PrintOperation.h"
#include "setup/gui/DocumentInfoController.h"
#include "statements/KaisyahouBooks.h"
#include "statements/gui/HendouReasonOutline.h"
#include "statements/gui/HoukokusyoController.h"
#include "statements/gui/KaisyahouHoukokusyoController.h"
#include "support/AppTestFixture.h"

namespace kivo::test {
namespace {

// The print panel is counted and cancelled.
class StatementsSheetTest : public AppTest {
protected:
  void SetUp() override
  {
    AppTest::SetUp();
    PrintOperation::setPrintPanelResponderForTesting([this](QPrinter&, QWidget*) {
      ++printPanels;
      return false;
    });
  }
  void TearDown() override
  {
    PrintOperation::setPrintPanelResponderForTesting({});
    AppTest::TearDown();
  }
  int printPanels = 0;
};

class KaisyahouHoukokusyoControllerTest : public StatementsSheetTest {
protected:
  void TearDown() override
  {
    if (sheet && sheet->isSheetAttached()) sheet->abortSheet();
    flush();
    StatementsSheetTest::TearDown();
  }
  KaisyahouHoukokusyoController* open(bool wareki = false, bool withDividend = false)
  {
    auto books = makeKaisyahouBooks();
    bookFixtureTerm(*books);
    books->kaisya().setDoUseWareki(wareki);
    if (withDividend) dividend = book(*books, Date(2024, 9, 30), "繰越利益剰余金", "未払配当金", 100'000);
    session = app->documentController()->addDocument(std::move(books));
    flush();
    info = qobject_cast<DocumentInfoController*>(session->documentInfoController());
    sheet = KaisyahouHoukokusyoController::controllerOfDocument(session);
    sheet->beginForWindow(info);
    flush();
    return sheet;
  }
  Kaisya& kaisya() { return session->document().kaisya(); }
  QTreeWidgetItem* reasonRow(const char* name)
  {
    auto* outline = sheet->hendouReasonOutline();
    for (int i = 0; i < outline->topLevelItemCount(); ++i)
      if (outline->topLevelItem(i)->text(0) == QString::fromUtf8(name)) return outline->topLevelItem(i);
    return nullptr;
  }

  DocumentSession* session = nullptr;
  DocumentInfoController* info = nullptr;
  KaisyahouHoukokusyoController* sheet = nullptr;
  ShiwakePtr dividend;
};

TEST_F(KaisyahouHoukokusyoControllerTest, TheFirstShowingFillsTheTermsDates)
{
  struct Case {
    bool wareki;
    const char* coverStart;
    const char* coverEnd;
  };
  for (const Case& c : {Case{false, "2024/4/1", "2025/3/31"}, Case{true, "令和6/4/1", "令和7/3/31"}}) {
    open(c.wareki);
    EXPECT_TRUE(sheet->isSheetAttached());
    EXPECT_EQ(kaisya().termStartDateOfHoukokusyo(), Date(2024, 4, 1));
    EXPECT_EQ(kaisya().termEndDateOfHoukokusyo(), Date::kessanSeiridukiDate());
    EXPECT_EQ(kaisya().termStartDateOfHoukokusyoCover(), Date(2024, 4, 1));
    EXPECT_EQ(kaisya().termEndDateOfHoukokusyoCover(), Date(2025, 3, 31));
    EXPECT_EQ(kaisya().doUseWarekiForTermEndDateOfHoukokusyoCover(), c.wareki);
    EXPECT_EQ(sheet->termStartDateOfCoverField()->text(), QString::fromUtf8(c.coverStart));
    EXPECT_EQ(sheet->termEndDateOfCoverField()->text(), QString::fromUtf8(c.coverEnd));
    EXPECT_EQ(sheet->warekiOfCoverStartCheckbox()->isChecked(), c.wareki);
    // Every statement the company has is chosen; the cost report only for a maker.
    for (int i = 0; i < 7; ++i) EXPECT_EQ(sheet->printCheckbox(i)->isChecked(), i != 4) << i;
    EXPECT_FALSE(sheet->printCheckbox(4)->isEnabled());
    EXPECT_EQ(sheet->tabView()->currentIndex(), KaisyahouHoukokusyoController::GeneralTab);
    sheet->cancelKaisyahouHoukokusyoWindow();
    flush();
  }
}

TEST_F(KaisyahouHoukokusyoControllerTest, CancelKeepsNothingAndOkStoresComputesForTheWholeCompanyAndPrints)
{
  open();
  const std::string title = kaisya().titleOfHoukokusyo();
  sheet->titleOfCoversheetField()->setText("別のタイトル");
  sheet->noteTextView()->setPlainText("入力しただけの注記");
  sheet->cancelButton()->click();
  flush();
  EXPECT_FALSE(sheet->isSheetAttached());
  EXPECT_EQ(kaisya().titleOfHoukokusyo(), title);
  EXPECT_TRUE(kaisya().noteOfKaisyahouHoukokusyo().empty());
  EXPECT_EQ(sheet->computeCount(), 0);
  EXPECT_EQ(printPanels, 0);

  sheet->beginForWindow(info);
  flush();
  sheet->titleOfCoversheetField()->setText("第1期 決算報告書");
  sheet->currencyUnitField()->setText("千円");
  sheet->warekiOfCoverEndCheckbox()->setChecked(true);
  sheet->addStartBalanceCheckbox()->setChecked(true);
  sheet->generalOkButton()->click();
  flush();
  EXPECT_FALSE(sheet->isSheetAttached());
  EXPECT_EQ(kaisya().titleOfHoukokusyo(), "第1期 決算報告書");
  EXPECT_EQ(kaisya().currencyUnitOfHoukokusyo(), "千円");
  EXPECT_TRUE(kaisya().doUseWarekiForTermEndDateOfHoukokusyoCover());
  EXPECT_TRUE(kaisya().doAddStartBalanceToHoukokusyo());
  EXPECT_TRUE(session->document().isDocumentEdited());
  EXPECT_EQ(sheet->computeCount(), 1);
  EXPECT_EQ(sheet->model().statements().jigyoubuCode, 99);
  EXPECT_FALSE(sheet->model().statements().taisyakuTaisyouShisannobuShisanArray.empty());
  EXPECT_EQ(printPanels, 1);
}

TEST_F(KaisyahouHoukokusyoControllerTest, TheGeneralTabRefusesWhatCannotPrint)
{
  open();
  // The date fields refuse a day outside the term as it is typed; the sheet beeps and
  // keeps the field's text selected.
  struct Case {
    const char* what;
    QLineEdit* field;
    const char* text;
  };
  const Case cases[] = {
      {"a day outside the term", sheet->termStartDateField(), "2/30"},
      {"end before start", sheet->termEndDateField(), "4/30"},
      {"empty title", sheet->titleOfCoversheetField(), ""},
      {"empty cover date", sheet->termEndDateOfCoverField(), ""},
      {"empty unit", sheet->currencyUnitField(), ""},
  };
  for (const Case& c : cases) {
    sheet->updateUI();
    sheet->termStartDateField()->setText("5/1");
    const int beeps = AlertSheet::beepCountForTesting();
    c.field->setText(QString::fromUtf8(c.text));
    sheet->generalOkButton()->click();
    flush();
    EXPECT_TRUE(sheet->isSheetAttached()) << c.what;
    EXPECT_EQ(AlertSheet::beepCountForTesting(), beeps + 1) << c.what;
  }
  EXPECT_TRUE(alerts.empty());
  // The closing-adjustment month ends the period whatever its start.
  sheet->updateUI();
  sheet->termStartDateField()->setText("3/31");
  sheet->termEndDateField()->setText("13/00");
  sheet->addStartBalanceCheckbox()->setChecked(false);
  EXPECT_EQ(sheet->computeCount(), 0);
  // Nothing chosen: OK is off.
  for (int i = 0; i < 7; ++i)
    if (sheet->printCheckbox(i)->isChecked()) sheet->printCheckbox(i)->click();
  EXPECT_FALSE(sheet->generalOkButton()->isEnabled());
  sheet->printCheckbox(0)->click();
  EXPECT_TRUE(sheet->generalOkButton()->isEnabled());
  sheet->generalOkButton()->click();
  flush();
  EXPECT_FALSE(sheet->isSheetAttached());
  EXPECT_EQ(kaisya().termStartDateOfHoukokusyo(), Date(2025, 3, 31));
  EXPECT_EQ(kaisya().termEndDateOfHoukokusyo(), Date::kessanSeiridukiDate());
  EXPECT_EQ(sheet->computeCount(), 1);
}

TEST_F(KaisyahouHoukokusyoControllerTest, NotesAreKeptAtATabSwitchAndPrintAsRichText)
{
  open();
  sheet->noteTextView()->setHtml("<p><b>重要な会計方針</b></p>");
  EXPECT_TRUE(sheet->didEditNote());
  sheet->tabView()->setCurrentIndex(KaisyahouHoukokusyoController::NoteTab);
  EXPECT_NE(kaisya().noteOfKaisyahouHoukokusyo().find("重要な会計方針"), std::string::npos);
  sheet->cancelButton()->click();
  flush();
  EXPECT_NE(kaisya().noteOfKaisyahouHoukokusyo().find("<b"), std::string::npos);
  // Shown again, the stored notes are loaded.
  sheet->beginForWindow(info);
  EXPECT_EQ(sheet->noteTextView()->toPlainText(), "重要な会計方針");
  EXPECT_FALSE(sheet->didEditNote());
}

TEST_F(KaisyahouHoukokusyoControllerTest, OkWaitsUntilEveryEquityEntryHasAReason)
{
  open(false, true);
  const int beeps = AlertSheet::beepCountForTesting();
  sheet->generalOkButton()->click();
  flush();
  EXPECT_TRUE(sheet->isSheetAttached());
  EXPECT_EQ(AlertSheet::beepCountForTesting(), beeps + 1);
  EXPECT_EQ(sheet->tabView()->currentIndex(), KaisyahouHoukokusyoController::KabunushiShihonTab);
  QTreeWidgetItem* none = reasonRow("no reason");
  ASSERT_TRUE(none);
  ASSERT_EQ(none->childCount(), 1);
  EXPECT_FALSE(sheet->generalOkButton()->isEnabled());

  // Add a reason, then drag the entry onto it as the mouse would.
  auto* outline = sheet->hendouReasonOutline();
  outline->clearSelection();
  sheet->addHendouReason();
  flush();
  QTreeWidgetItem* added = reasonRow("new reason");
  ASSERT_TRUE(added);
  std::unique_ptr<QMimeData> drag(outline->mimeDataOfItems({reasonRow("no reason")->child(0)}));
  ASSERT_TRUE(drag);
  EXPECT_FALSE(outline->dropData(reasonRow("当期純損益"), 0, drag.get()));
  EXPECT_TRUE(outline->dropData(added, 0, drag.get()));
  flush();
  EXPECT_EQ(reasonRow("no reason")->childCount(), 0);
  EXPECT_EQ(reasonRow("new reason")->childCount(), 1);
  EXPECT_TRUE(sheet->generalOkButton()->isEnabled());
  EXPECT_EQ(dividend->hendouReasonStr(), "new reason");

  // Renamed by editing the row; renaming and reordering rules are the editor's own test.
  reasonRow("new reason")->setText(0, "剰余金の配当");
  EXPECT_EQ(dividend->hendouReasonStr(), "剰余金の配当");

  sheet->generalOkButton()->click();
  flush();
  EXPECT_FALSE(sheet->isSheetAttached());
  EXPECT_EQ(sheet->computeCount(), 1);
  const auto& labels = sheet->model().statements().kabunushiShihon.rowLabels;
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const auto& l) { return l.title == "剰余金の配当"; }));
}

TEST_F(KaisyahouHoukokusyoControllerTest, AnEntryOpensInItsTransferVoucher)
{
  open(false, true);
  sheet->tabView()->setCurrentIndex(KaisyahouHoukokusyoController::KabunushiShihonTab);
  // The entry opens in its transfer voucher; a reason row opens nothing.
  sheet->hendouReasonOutline()->setCurrentItem(reasonRow("当期純損益"));
  sheet->showInputShiwakeWindow();
  EXPECT_FALSE(session->furikaedenpyouController());
  sheet->hendouReasonOutline()->setCurrentItem(reasonRow("no reason")->child(0));
  sheet->showInputShiwakeWindow();
  flush();
  auto* voucher = qobject_cast<FurikaedenpyouController*>(session->furikaedenpyouController());
  ASSERT_TRUE(voucher);
  EXPECT_EQ(voucher->displayingDenpyouNo(), dividend->denpyouNo());
}

TEST_F(KaisyahouHoukokusyoControllerTest, TheCommandOpensTheSheetOnTheCompaniesActChartOnly)
{
  int olderForm = 0;
  KaisyahouHoukokusyoController::setOlderFormOpener([&](DocumentInfoController&) { ++olderForm; });
  KaisyahouHoukokusyoController::installCommandHandlers(app.get());
  open();
  sheet->cancelKaisyahouHoukokusyoWindow();
  flush();
  app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
  flush();
  EXPECT_TRUE(sheet->isSheetAttached());
  EXPECT_EQ(olderForm, 0);
  sheet->abortSheet();
  // A sole proprietor's books go to the older-form statements.
  DocumentSession* kojin = openBooks("個人商店", false);
  ASSERT_EQ(app->currentDocument(), kojin);
  app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
  flush();
  EXPECT_EQ(olderForm, 1);
  EXPECT_FALSE(kojin->ownedController(DocumentSession::OwnedController::KaisyahouHoukokusyo));
  KaisyahouHoukokusyoController::setOlderFormOpener({});
}

class HoukokusyoControllerTest : public StatementsSheetTest {
protected:
  void SetUp() override
  {
    StatementsSheetTest::SetUp();
    HoukokusyoController::install();
    KaisyahouHoukokusyoController::installCommandHandlers(app.get());
  }
  void TearDown() override
  {
    if (sheet && sheet->isSheetAttached()) sheet->abortSheet();
    flush();
    KaisyahouHoukokusyoController::setOlderFormOpener({});
    StatementsSheetTest::TearDown();
  }
  // Opening 現金 1,000 / 資本金 1,000; sales 500, purchases 200, salaries 100: U = 200.
  void open()
  {
    auto books = makeTrialBooks(ChartKind::HoujinOlder);
    kamokuNamed(*books, "現金")->setStartBalance(1000, 99);
    kamokuNamed(*books, "資本金")->setStartBalance(1000, 99);
    addShiwake(*books, Date(2024, 5, 1), codeOf(*books, "現金"), codeOf(*books, "売上高"), 500);
    addShiwake(*books, Date(2024, 6, 1), codeOf(*books, "仕入高"), codeOf(*books, "現金"), 200);
    addShiwake(*books, Date(2024, 7, 1), codeOf(*books, "給料手当"), codeOf(*books, "現金"), 100);
    session = app->documentController()->addDocument(std::move(books));
    flush();
    app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
    flush();
    sheet = qobject_cast<HoukokusyoController*>(session->ownedController(DocumentSession::OwnedController::Houkokusyo));
  }
  void setItem(int row, const char* name, const char* kingaku)
  {
    sheet->riekiSyobunanTableView()->item(row, 0)->setText(QString::fromUtf8(name));
    sheet->riekiSyobunanTableView()->item(row, 1)->setText(QString::fromUtf8(kingaku));
  }

  DocumentSession* session = nullptr;
  HoukokusyoController* sheet = nullptr;
};

TEST_F(HoukokusyoControllerTest, AppropriationItemsAreKeptWithTheCompanyAndPrinted)
{
  open();
  ASSERT_TRUE(sheet);
  ASSERT_TRUE(sheet->isSheetAttached());
  sheet->tabView()->setCurrentIndex(HoukokusyoController::RiekiSyobunanTab);
  EXPECT_TRUE(sheet->addToRiekiSyobunanButton()->isEnabled());
  EXPECT_FALSE(sheet->removeFromRiekiSyobunanButton()->isEnabled());
  sheet->addKamokuToRiekiSyobunan();
  setItem(0, "配当金", "50");
  sheet->addKamokuToRiekiSyobunan();
  setItem(1, "利益 準備金", "20");
  const Kaisya& k = session->document().kaisya();
  EXPECT_EQ(k.riekisyobunanKamokuArray(),
            (std::vector<RiekiSyobunanItem>{{"配当金", 50}, {"利益準備金", 20}}));  // no spaces in a name
  EXPECT_EQ(sheet->riekiSyobunGoukeiField()->text(), "70");
  EXPECT_EQ(sheet->jikiKurikoshiRiekiField()->text(), "130");
  EXPECT_TRUE(session->document().isDocumentEdited());
  // A bad amount is refused and the item keeps its own.
  setItem(1, "利益準備金", "abc");
  EXPECT_EQ(k.riekisyobunanKamokuArray()[1].kingaku, 20);

  sheet->endHoukokusyoWindow();
  flush();
  EXPECT_FALSE(sheet->isSheetAttached());
  EXPECT_EQ(printPanels, 1);
  const auto& rows = sheet->riekiSyobunanShisanArray();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[3].title(), "　利益処分合計");
  EXPECT_EQ(rows[4].houkokusyoAmount(), 130);
}

TEST_F(HoukokusyoControllerTest, ItemsBeyondTheProfitAreRefusedWithAMessage)
{
  open();
  ASSERT_TRUE(sheet);
  sheet->tabView()->setCurrentIndex(HoukokusyoController::RiekiSyobunanTab);
  sheet->addKamokuToRiekiSyobunan();
  setItem(0, "配当金", "250");
  EXPECT_EQ(sheet->jikiKurikoshiRiekiField()->text(), "-50");
  sheet->endHoukokusyoWindow();
  flush();
  EXPECT_TRUE(sheet->isSheetAttached());
  EXPECT_EQ(printPanels, 0);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].text.toStdString(),
            "利益処分合計が当期未処分利益を超えています。利益処分案の金額を見直してください。");
  // Not ticked, the appropriation does not hold the printout back.
  sheet->printCheckbox(HoukokusyoController::RiekiSyobunanBox)->setChecked(false);
  sheet->endHoukokusyoWindow();
  flush();
  EXPECT_EQ(printPanels, 1);
}

TEST_F(HoukokusyoControllerTest, AnEmptyStartDateIsRefused)
{
  open();
  ASSERT_TRUE(sheet);
  sheet->termStartDateField()->setText(QString());
  sheet->endHoukokusyoWindow();
  flush();
  EXPECT_TRUE(sheet->isSheetAttached());
  EXPECT_EQ(printPanels, 0);
}

TEST_F(HoukokusyoControllerTest, AHouseholdBookHasNoStatementsCommand)
{
  auto books = makeTrialBooks(ChartKind::Kojin);
  books->kaisya().setIsKakeibo(true);
  DocumentSession* kakeibo = app->documentController()->addDocument(std::move(books));
  flush();
  ASSERT_EQ(app->currentDocument(), kakeibo);
  ASSERT_TRUE(kakeibo->document().kaisya().isKakeibo());
  EXPECT_FALSE(app->validateCommand(MainMenu::Command::PrintHoukokusyo, nullptr));
  app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
  flush();
  EXPECT_FALSE(kakeibo->ownedController(DocumentSession::OwnedController::Houkokusyo));
}

}  // namespace
}  // namespace kivo::test

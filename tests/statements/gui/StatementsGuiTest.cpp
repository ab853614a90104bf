// The statements sheets on the information window, offscreen. The Companies-Act one:
// its first filling, OK and Cancel, the checks of the general tab, the notes, and the
// change-reason tab. The older-form one: the appropriation items with their totals,
// the refusal of items beyond the profit, and the command's absence for a household book.
// Then the printed statements of both forms as paper shows them: rendered to PDF and
// read back with pdftotext and pdfinfo.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <map>

#include "app/DocumentInfoController.h"
#include "app/WindowCommands.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "fields/NameFormatter.h"
#include "platform/CheckedItemDelegate.h"
#include "platform/FieldMessage.h"
#include "platform/PrintOperation.h"
#include "platform/TablePrintLayout.h"
#include "statements/KaisyahouBooks.h"
#include "statements/RiekiSyobunan.h"
#include "statements/gui/HendouReasonOutline.h"
#include "statements/gui/HoukokusyoController.h"
#include "statements/gui/HoukokusyoPrintView.h"
#include "statements/gui/KaisyahouHoukokusyoController.h"
#include "statements/gui/KaisyahouHoukokusyoPrintView.h"
#include "statements/gui/RiekiSyobunanTableView.h"
#include "support/AppTestFixture.h"
#include "support/PaperChosenInPanel.h"
#include "support/PdfText.h"

namespace kivo::test {
namespace {

QPageLayout paper(double width = 595, double height = 842)
{
  return QPageLayout(QPageSize(QSizeF(width, height), QPageSize::Point), QPageLayout::Portrait,
                     QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

// The first non-blank line of a page: its title.
QString titleOf(const QString& page)
{
  for (const QString& l : page.split('\n'))
    if (!l.trimmed().isEmpty()) return l.trimmed();
  return {};
}

QStringList titlesOf(const QStringList& pages)
{
  QStringList out;
  for (const QString& p : pages) out << titleOf(p);
  return out;
}

bool hasLine(const QString& page, const QString& pattern)
{
  for (const QString& l : page.split('\n'))
    if (l.contains(QRegularExpression(pattern))) return true;
  return false;
}

// Each pattern matches a line of its page (0-based).
using PageLine = std::pair<int, const char*>;
void expectLines(const QStringList& pages, std::initializer_list<PageLine> lines)
{
  for (const auto& [page, pattern] : lines)
    EXPECT_TRUE(hasLine(pages.value(page), QString::fromUtf8(pattern))) << pattern << "\n"
                                                                        << pages.value(page).toStdString();
}

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
  // The pages of a printout as text, or nothing when it was refused.
  QStringList pagesOf(Printout* view, const QPageLayout& layout)
  {
    if (!view) return {};
    EXPECT_TRUE(PrintOperation::writePdf(path("houkokusyo.pdf"), *view, layout));
    EXPECT_EQ(pdfPageCount(path("houkokusyo.pdf")), view->pageCount());
    return pdfPageTexts(path("houkokusyo.pdf"));
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

TEST_F(KaisyahouHoukokusyoControllerTest,
       TheFirstShowingFillsTheTermsDatesAndTheCommandOpensItOnTheCompaniesActChartOnly)
{
  for (const auto& [wareki, coverStart, coverEnd] :
       {std::tuple(false, "2024/4/1", "2025/3/31"), std::tuple(true, "令和6/4/1", "令和7/3/31")}) {
    open(wareki);
    EXPECT_TRUE(sheet->isSheetAttached());
    const Kaisya& k = kaisya();
    EXPECT_EQ(std::tuple(k.termStartDateOfHoukokusyo(), k.termEndDateOfHoukokusyo(), k.termStartDateOfHoukokusyoCover(),
                         k.termEndDateOfHoukokusyoCover(), k.doUseWarekiForTermEndDateOfHoukokusyoCover()),
              std::tuple(Date(2024, 4, 1), Date::kessanSeiridukiDate(), Date(2024, 4, 1), Date(2025, 3, 31), wareki));
    EXPECT_EQ(std::tuple(sheet->termStartDateOfCoverField()->text(), sheet->termEndDateOfCoverField()->text(),
                         sheet->warekiOfCoverStartCheckbox()->isChecked()),
              std::tuple(QString::fromUtf8(coverStart), QString::fromUtf8(coverEnd), wareki));
    // Every statement the company has is chosen; the cost report only for a maker.
    for (int i = 0; i < 7; ++i) EXPECT_EQ(sheet->printCheckbox(i)->isChecked(), i != 4) << i;
    EXPECT_EQ(std::tuple(sheet->printCheckbox(4)->isEnabled(), sheet->tabView()->currentIndex()),
              std::tuple(false, int(KaisyahouHoukokusyoController::GeneralTab)));
    sheet->cancelKaisyahouHoukokusyoWindow();
    flush();
  }

  // The command opens the sheet on the Companies-Act chart only.
  WindowCommands::installCommandHandlers(app.get());
  app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
  flush();
  EXPECT_EQ(
      std::tuple(sheet->isSheetAttached(), session->ownedController(DocumentSession::OwnedController::Houkokusyo)),
      std::tuple(true, nullptr));
  sheet->abortSheet();
  // A sole proprietor's books go to the older-form statements.
  DocumentSession* kojin = openBooks("個人商店", false);
  ASSERT_EQ(app->currentDocument(), kojin);
  app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
  flush();
  auto* older = kojin->ownedControllerAs<HoukokusyoController>(DocumentSession::OwnedController::Houkokusyo);
  ASSERT_NE(older, nullptr);
  EXPECT_EQ(std::tuple(older->isSheetAttached(),
                       kojin->ownedController(DocumentSession::OwnedController::KaisyahouHoukokusyo)),
            std::tuple(true, nullptr));
  older->abortSheet();
}

TEST_F(KaisyahouHoukokusyoControllerTest, CancelKeepsNothingButTheNotesAndOkStoresComputesForTheWholeCompanyAndPrints)
{
  open();
  const std::string title = kaisya().titleOfHoukokusyo();
  sheet->titleOfCoversheetField()->setText("別のタイトル");
  sheet->noteTextView()->setPlainText("入力しただけの注記");
  sheet->cancelButton()->click();
  flush();
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), kaisya().titleOfHoukokusyo(), kaisya().noteOfKaisyahouHoukokusyo(),
                       sheet->computeCount(), printPanels),
            std::tuple(false, title, "", 0, 0));

  // Notes are kept at a tab switch, as rich text, and loaded when shown again.
  sheet->beginForWindow(info);
  sheet->noteTextView()->setHtml("<p><b>重要な会計方針</b></p>");
  EXPECT_TRUE(sheet->didEditNote());
  sheet->selectTab(KaisyahouHoukokusyoController::NoteTab);
  EXPECT_NE(kaisya().noteOfKaisyahouHoukokusyo().find("重要な会計方針"), std::string::npos);
  sheet->cancelButton()->click();
  flush();
  EXPECT_NE(kaisya().noteOfKaisyahouHoukokusyo().find("<b"), std::string::npos);
  // Shown again, the stored notes are loaded.
  sheet->beginForWindow(info);
  EXPECT_EQ(std::tuple(sheet->noteTextView()->toPlainText(), sheet->didEditNote()),
            std::tuple("重要な会計方針", false));
  flush();
  sheet->titleOfCoversheetField()->setText("第1期 決算報告書");
  sheet->currencyUnitField()->setText("千円");
  sheet->warekiOfCoverEndCheckbox()->setChecked(true);
  sheet->addStartBalanceCheckbox()->setChecked(true);
  sheet->generalOkButton()->click();
  flush();
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), kaisya().titleOfHoukokusyo(), kaisya().currencyUnitOfHoukokusyo(),
                       kaisya().doUseWarekiForTermEndDateOfHoukokusyoCover(), kaisya().doAddStartBalanceToHoukokusyo(),
                       session->document().isDocumentEdited()),
            std::tuple(false, "第1期 決算報告書", "千円", true, true, true));
  EXPECT_EQ(std::tuple(sheet->computeCount(), sheet->model().statements().jigyoubuCode, printPanels),
            std::tuple(1, 99, 1));
  EXPECT_FALSE(sheet->model().statements().taisyakuTaisyouShisannobuShisanArray.empty());
}

TEST_F(KaisyahouHoukokusyoControllerTest, TheGeneralTabRefusesWhatCannotPrint)
{
  open();
  // The date fields refuse a day outside the term as it is typed; the sheet beeps and
  // keeps the field's text selected.
  const std::tuple<const char*, QLineEdit*, const char*> cases[] = {
      {"a day outside the term", sheet->termStartDateField(), "2/30"},
      {"end before start", sheet->termEndDateField(), "4/30"},
      {"empty title", sheet->titleOfCoversheetField(), ""},
      {"empty cover date", sheet->termEndDateOfCoverField(), ""},
      {"empty unit", sheet->currencyUnitField(), ""}};
  for (const auto& [what, field, text] : cases) {
    sheet->updateUI();
    sheet->termStartDateField()->setText("5/1");
    const int beeps = AlertSheet::beepCountForTesting();
    field->setText(QString::fromUtf8(text));
    sheet->generalOkButton()->click();
    flush();
    EXPECT_EQ(std::tuple(sheet->isSheetAttached(), AlertSheet::beepCountForTesting()), std::tuple(true, beeps + 1))
        << what;
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
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), kaisya().termStartDateOfHoukokusyo(),
                       kaisya().termEndDateOfHoukokusyo(), sheet->computeCount()),
            std::tuple(false, Date(2025, 3, 31), Date::kessanSeiridukiDate(), 1));
}

TEST_F(KaisyahouHoukokusyoControllerTest, OkWaitsUntilEveryEquityEntryHasAReason)
{
  open(false, true);
  const int beeps = AlertSheet::beepCountForTesting();
  sheet->generalOkButton()->click();
  flush();
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), AlertSheet::beepCountForTesting(), sheet->tabView()->currentIndex()),
            std::tuple(true, beeps + 1, int(KaisyahouHoukokusyoController::KabunushiShihonTab)));
  ASSERT_EQ(reasonRow("理由なし")->childCount(), 1);
  EXPECT_FALSE(sheet->generalOkButton()->isEnabled());

  // The entry opens in its transfer voucher; a reason row opens nothing.
  sheet->hendouReasonOutline()->setCurrentItem(reasonRow("当期純損益"));
  sheet->showInputShiwakeWindow();
  EXPECT_FALSE(session->furikaedenpyouController());
  sheet->hendouReasonOutline()->setCurrentItem(reasonRow("理由なし")->child(0));
  sheet->showInputShiwakeWindow();
  flush();
  auto* voucher = qobject_cast<FurikaedenpyouController*>(session->furikaedenpyouController());
  EXPECT_EQ(voucher->displayingDenpyouNo(), dividend->denpyouNo());

  // Add a reason, then drag the entry onto it as the mouse would.
  auto* outline = sheet->hendouReasonOutline();
  outline->clearSelection();
  sheet->addHendouReason();
  flush();
  std::unique_ptr<QMimeData> drag(outline->mimeDataOfItems({reasonRow("理由なし")->child(0)}));
  EXPECT_FALSE(outline->dropData(reasonRow("当期純損益"), 0, drag.get()));
  EXPECT_TRUE(outline->dropData(reasonRow("新しい理由"), 0, drag.get()));
  flush();
  EXPECT_EQ(std::tuple(reasonRow("理由なし")->childCount(), reasonRow("新しい理由")->childCount(),
                       sheet->generalOkButton()->isEnabled(), dividend->hendouReasonStr()),
            std::tuple(0, 1, true, "新しい理由"));

  // Renamed in the row: another reason's name keeps the edit open (and 追加 adds
  // nothing meanwhile), its own is stored; Return never prints. The rules of renaming
  // and reordering are the editor's own test.
  activate(info);
  outline->setFocus();
  outline->setCurrentItem(reasonRow("新しい理由"));
  outline->editItem(reasonRow("新しい理由"), 0);
  QLineEdit* editor = sheet->renameDelegate()->editor();
  ASSERT_TRUE(editor);
  const size_t reasons = session->document().hendouReasonArray().size();
  const int beepsBefore = AlertSheet::beepCountForTesting();
  for (const char* taken : {"当期純損益", "理由なし", ""}) {
    editor->setText(QString::fromUtf8(taken));
    QTest::keyClick(editor, Qt::Key_Return);
  }
  sheet->addHendouReason();
  flush();
  EXPECT_EQ(std::tuple(sheet->renameDelegate()->isEditing(), AlertSheet::beepCountForTesting(),
                       session->document().hendouReasonArray().size()),
            std::tuple(true, beepsBefore + 4, reasons));
  editor->setText(QStringLiteral("剰余金の配当"));
  QTest::keyClick(editor, Qt::Key_Return);
  flush();
  EXPECT_EQ(std::tuple(dividend->hendouReasonStr(), sheet->isSheetAttached(), printPanels),
            std::tuple("剰余金の配当", true, 0));

  sheet->generalOkButton()->click();
  flush();
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), sheet->computeCount()), std::tuple(false, 1));
  const auto& labels = sheet->model().statements().kabunushiShihon.rowLabels;
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const auto& l) { return l.title == "剰余金の配当"; }));
}

// Back on the sheet after an equity entry was added in another window, the reasons'
// outline lists it.
TEST_F(KaisyahouHoukokusyoControllerTest, TheReasonsFollowAnEntryAddedElsewhereOnceTheSheetIsKeyAgain)
{
  open(false, true);
  sheet->selectTab(KaisyahouHoukokusyoController::KabunushiShihonTab);
  activate(FurikaedenpyouController::showFurikaedenpyouWindow(session));
  book(session->document(), Date(2024, 10, 31), "繰越利益剰余金", "未払配当金", 1'000);
  session->document().shiwakeArrayDidChange(false);
  QApplication::setActiveWindow(sheet);
  flush();
  EXPECT_EQ(reasonRow("理由なし")->childCount(), 2);
}

class HoukokusyoControllerTest : public StatementsSheetTest {
protected:
  void SetUp() override
  {
    StatementsSheetTest::SetUp();
    WindowCommands::installCommandHandlers(app.get());
  }
  void TearDown() override
  {
    if (sheet && sheet->isSheetAttached()) sheet->abortSheet();
    flush();
    StatementsSheetTest::TearDown();
  }
  // The small books: the undisposed profit U is 200.
  void open()
  {
    session = app->documentController()->addDocument(makeSmallTrialBooks(ChartKind::HoujinOlder));
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

TEST_F(HoukokusyoControllerTest, AppropriationItemsAreKeptWithTheCompanyAndPrintedButNotForAHouseholdBook)
{
  open();
  ASSERT_TRUE(sheet->isSheetAttached());
  sheet->selectTab(HoukokusyoController::RiekiSyobunanTab);
  EXPECT_TRUE(sheet->addToRiekiSyobunanButton()->isEnabled());
  EXPECT_FALSE(sheet->removeFromRiekiSyobunanButton()->isEnabled());
  sheet->addKamokuToRiekiSyobunan();
  setItem(0, "配当金", "50");
  sheet->addKamokuToRiekiSyobunan();
  // A name with a space, or of more than 8 characters, is refused with the reason; the
  // item keeps its name, never a shortened one.
  const Kaisya& k = session->document().kaisya();
  for (const auto& [name, why] : {std::pair("利益 準備金", NameFormatter::kSpaceMessage),
                                  std::pair("利益準備金への積立額", "8文字以内で入力してください。")}) {
    setItem(1, name, "20");
    EXPECT_EQ(std::tuple(k.riekisyobunanKamokuArray()[1].name, FieldMessage::shownText()),
              std::tuple(HoukokusyoController::kNewItemName, QString::fromUtf8(why)));
  }
  setItem(1, "利益準備金", "20");
  EXPECT_EQ(k.riekisyobunanKamokuArray(), (std::vector<RiekiSyobunanItem>{{"配当金", 50}, {"利益準備金", 20}}));
  EXPECT_EQ(std::tuple(sheet->riekiSyobunGoukeiField()->text(), sheet->jikiKurikoshiRiekiField()->text(),
                       session->document().isDocumentEdited()),
            std::tuple("70", "130", true));
  // A bad amount is refused and the item keeps its own.
  setItem(1, "利益準備金", "abc");
  EXPECT_EQ(k.riekisyobunanKamokuArray()[1].kingaku, 20);

  // Dragged before the first row, the second item comes first; dropped where it was,
  // nothing changes.
  RiekiSyobunanTableView* table = sheet->riekiSyobunanTableView();
  std::unique_ptr<QMimeData> drag(table->mimeDataOfRow(1));
  ASSERT_TRUE(table->dropData(0, drag.get()));
  flush();
  EXPECT_EQ(std::tuple(k.riekisyobunanKamokuArray().front().name, table->item(0, 0)->text(), table->currentRow()),
            std::tuple("利益準備金", QStringLiteral("利益準備金"), 0));
  session->document().updateChangeCount(MyDocument::ChangeType::Cleared);
  drag.reset(table->mimeDataOfRow(0));
  ASSERT_TRUE(table->dropData(1, drag.get()));
  flush();
  EXPECT_EQ(std::tuple(k.riekisyobunanKamokuArray().front().name, session->document().isDocumentEdited()),
            std::tuple("利益準備金", false));

  // Return that ends a cell's edit stays in the cell: a refused name keeps the edit,
  // an accepted one is stored, and the sheet is not printed either way.
  activate(session->documentInfoController());
  table->setFocus();
  table->setCurrentCell(1, 0);
  table->editItem(table->item(1, 0));
  auto* editor = sheet->riekiSyobunanItemDelegate()->editor();
  ASSERT_TRUE(editor);
  for (const char* typed : {"配当 金", "株主配当金"}) {
    editor->setText(QString::fromUtf8(typed));
    QTest::keyClick(editor, Qt::Key_Return);
    flush();
  }
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), printPanels, k.riekisyobunanKamokuArray()[1].name,
                       sheet->riekiSyobunanItemDelegate()->isEditing()),
            std::tuple(true, 0, "株主配当金", false));

  sheet->endHoukokusyoWindow();
  flush();
  // The printed rows; their figures are the core's.
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), printPanels, sheet->riekiSyobunanShisanArray().size()),
            std::tuple(false, 1, 5u));

  // A household book has no statements command.
  auto books = makeTrialBooks(ChartKind::Kojin);
  books->kaisya().setIsKakeibo(true);
  DocumentSession* kakeibo = app->documentController()->addDocument(std::move(books));
  flush();
  ASSERT_EQ(app->currentDocument(), kakeibo);
  EXPECT_FALSE(app->validateCommand(MainMenu::Command::PrintHoukokusyo, nullptr));
  app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
  flush();
  EXPECT_FALSE(kakeibo->ownedController(DocumentSession::OwnedController::Houkokusyo));
}

// Back on the sheet after a change made in another window, the appropriation tab
// shows the new profit to appropriate; a cell in editing keeps what is typed, and the
// tab follows the change once that edit ends.
TEST_F(HoukokusyoControllerTest, TheAppropriationFollowsAChangeMadeElsewhereOnceTheSheetIsKeyAgain)
{
  open();
  sheet->selectTab(HoukokusyoController::RiekiSyobunanTab);
  sheet->addKamokuToRiekiSyobunan();
  setItem(0, "配当金", "50");
  MyDocument& doc = session->document();
  const auto sellElsewhere = [&](int64_t amount) {
    activate(FurikaedenpyouController::showFurikaedenpyouWindow(session));
    addShiwake(doc, Date(2024, 8, 1), codeOf(doc, "現金"), codeOf(doc, "売上高"), amount);
    doc.shiwakeArrayDidChange(false);
    QApplication::setActiveWindow(sheet);
    flush();
  };
  sellElsewhere(100);
  EXPECT_EQ(sheet->jikiKurikoshiRiekiField()->text(), QStringLiteral("250"));

  sheet->riekiSyobunanTableView()->editItem(sheet->riekiSyobunanTableView()->item(0, 1));
  QLineEdit* editor = sheet->riekiSyobunanItemDelegate()->editor();
  ASSERT_TRUE(editor);
  editor->setText(QStringLiteral("abc"));
  sellElsewhere(1);
  EXPECT_EQ(std::tuple(sheet->riekiSyobunanItemDelegate()->isEditing(), editor->text()),
            std::tuple(true, QStringLiteral("abc")));
  editor->setText(QStringLiteral("60"));
  QTest::keyClick(editor, Qt::Key_Return);
  flush();
  // 301 to appropriate, 60 of it as dividend.
  EXPECT_EQ(sheet->jikiKurikoshiRiekiField()->text(), QStringLiteral("241"));
}

// A company that makes no goods has no cost report: its check box is out of use and
// the sheet has no tab for it, until the company is a manufacturer.
TEST_F(HoukokusyoControllerTest, OnlyAManufacturersSheetHasACostReportTab)
{
  const auto costReport = [&] {
    return std::tuple(sheet->indexOfTab(HoukokusyoController::SeizouGenkaTab), sheet->tabView()->count(),
                      sheet->printCheckbox(HoukokusyoController::SeizouGenkaBox)->isEnabled());
  };
  open();
  EXPECT_EQ(costReport(), std::tuple(-1, 5, false));
  sheet->cancelHoukokusyoWindow();
  flush();
  session->document().kaisya().setIsSeizou(true);
  app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
  flush();
  EXPECT_EQ(costReport(), std::tuple(4, 6, true));  // before the appropriation
}

// Both sheets fit a screen of 1024 × 480 with their buttons: the tabs scroll. A
// construction company's cost report is titled as such on its tab.
TEST_F(HoukokusyoControllerTest, SheetsFitALowScreenAndAContractorsCostTabSaysSo)
{
  auto books = makeSmallTrialBooks(ChartKind::HoujinOlder, 100, true);
  books->kaisya().setIsKensetu(true);
  session = app->documentController()->addDocument(std::move(books));
  flush();
  app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
  flush();
  sheet = qobject_cast<HoukokusyoController*>(session->ownedController(DocumentSession::OwnedController::Houkokusyo));
  ASSERT_TRUE(sheet);
  EXPECT_EQ(std::tuple(sheet->tabView()->tabText(sheet->indexOfTab(HoukokusyoController::SeizouGenkaTab)),
                       sheet->printCheckbox(HoukokusyoController::SeizouGenkaBox)->text()),
            std::tuple(QStringLiteral("完成工事原価報告書"), QStringLiteral("完成工事原価報告書")));
  auto* kaisyahou = KaisyahouHoukokusyoController::controllerOfDocument(openBooks());
  for (QDialog* s : std::initializer_list<QDialog*>{sheet, kaisyahou})
    EXPECT_LE(s->minimumSizeHint().height(), 480 - 32);
  const QRect place =
      SheetController::placementOnWindow(QSize(800, 560), QRect(0, 0, 600, 400), QRect(0, 0, 1024, 480));
  EXPECT_EQ(place.height(), 480 - 32);
}

TEST_F(HoukokusyoControllerTest, AnEmptyStartDateAndItemsBeyondTheProfitAreRefused)
{
  open();
  const QString start = sheet->termStartDateField()->text();
  sheet->termStartDateField()->setText(QString());
  sheet->endHoukokusyoWindow();
  flush();
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), printPanels), std::tuple(true, 0));
  sheet->termStartDateField()->setText(start);

  sheet->selectTab(HoukokusyoController::RiekiSyobunanTab);
  sheet->addKamokuToRiekiSyobunan();
  setItem(0, "配当金", "250");
  EXPECT_EQ(sheet->jikiKurikoshiRiekiField()->text(), "-50");
  sheet->endHoukokusyoWindow();
  flush();
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), printPanels), std::tuple(true, 0));
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].text.toStdString(),
            "利益処分合計が当期未処分利益を超えています。利益処分案の金額を見直してください。");
  // Not ticked, the appropriation does not hold the printout back.
  sheet->printCheckbox(HoukokusyoController::RiekiSyobunanBox)->setChecked(false);
  sheet->endHoukokusyoWindow();
  flush();
  EXPECT_EQ(printPanels, 1);
}

// The page setup stored, A4 portrait; another paper chosen in the print panel: the
// statements of either form, printed from their sheets, are on pages of that paper
// with every row of their tables.
TEST_F(StatementsSheetTest, BothFormsAreLaidOutForThePaperChosenInThePanel)
{
  auto kaisyahou = makeKaisyahouBooks();
  bookFixtureTerm(*kaisyahou);
  DocumentSession* newer = app->documentController()->addDocument(std::move(kaisyahou));
  DocumentSession* older = app->documentController()->addDocument(makeSmallTrialBooks(ChartKind::HoujinOlder));
  flush();
  auto* kaisyahouSheet = KaisyahouHoukokusyoController::controllerOfDocument(newer);
  const auto printNewer = [&] {
    kaisyahouSheet->beginForWindow(qobject_cast<DocumentInfoController*>(newer->documentInfoController()));
    flush();
    kaisyahouSheet->generalOkButton()->click();
    flush();  // the answer prints once the sheet's own handling is over
    return &kaisyahouSheet->model().statements();
  };
  auto* olderSheet = HoukokusyoController::controllerOfDocument(older);
  const auto printOlder = [&]() -> const KaisyahouStatementArrays* {
    olderSheet->beginForWindow(qobject_cast<DocumentInfoController*>(older->documentInfoController()));
    flush();
    olderSheet->endHoukokusyoWindow();
    flush();
    return &olderSheet->model().statements();
  };
  // A balance sheet's two sides do not fit across A5: refused, and said, once the
  // panel has chosen it.
  struct Case {
    PaperChosenInPanel paper;
    bool companiesAct;
    bool refused;
  };
  const QString file = path("paper.pdf");
  for (const Case& c : {Case{kPapersChosenInPanel[0], true, true}, Case{kPapersChosenInPanel[0], false, true},
                        Case{kPapersChosenInPanel[1], true, false}, Case{kPapersChosenInPanel[1], false, false}}) {
    SCOPED_TRACE(std::string(c.paper.name) + (c.companiesAct ? " Companies Act" : " older"));
    alerts.clear();
    const KaisyahouStatementArrays* statements = nullptr;
    const std::string offPaper = printedOnPaperChosenInPanel(c.paper, file, [&] {
                                   statements = c.companiesAct ? printNewer() : printOlder();
                                 }).first;
    if (c.refused) {
      EXPECT_EQ(std::tuple(QFile::exists(file), alerts.size(), alerts.empty() ? QString() : alerts[0].text),
                std::tuple(false, 1u, QString::fromUtf8(TablePrintLayout::kTooSmallMessage)));
      continue;
    }
    // Every row of the tables, as the sheet computed them to print.
    const QString text = pdfText(file);
    QStringList missing;
    for (const auto* rows :
         {&statements->taisyakuTaisyouShisannobuShisanArray, &statements->taisyakuTaisyouFusainobuShisanArray,
          &statements->taisyakuBalanceSonekiKeisanShisanArray, &statements->taisyakuBalanceHanbaihiShisanArray})
      for (const Shisan& row : *rows)
        if (!text.contains(QRegularExpression(spacedAnyhow(QString::fromStdString(row.title())))))
          missing << QString::fromStdString(row.title());
    EXPECT_EQ(std::pair(offPaper, missing.join(' ').toStdString()), std::pair(std::string(), std::string()));
  }
}

class KaisyahouHoukokusyoPrintTest : public StatementsSheetTest {
protected:
  void SetUp() override
  {
    StatementsSheetTest::SetUp();
    doc = makeKaisyahouBooks();
    bookFixtureTerm(*doc);
    Kaisya& k = doc->kaisya();
    k.setName("株式会社テスト商事");
    k.setAddress("東京都千代田区一丁目1番1号");
    k.setTitleOfHoukokusyo("決算報告書");
    k.setCurrencyUnitOfHoukokusyo("円");
    k.setTermStartDateOfHoukokusyoCover(Date(2024, 4, 1));
    k.setTermEndDateOfHoukokusyoCover(Date(2025, 3, 31));
  }

  void compute(bool tate = true)
  {
    KaisyahouHoukokusyoOptions o = wholeTerm(*doc);
    o.tateKabunushiShihonTitles = tate;
    statements = statementsOf(*doc, o);
  }
  QStringList print(KaisyahouHoukokusyoPrintChoice choice, const QPageLayout& layout = paper())
  {
    return pagesOf(KaisyahouHoukokusyoPrintView::create(*doc, statements, choice, layout).get(), layout);
  }

  std::unique_ptr<MyDocument> doc;
  KaisyahouHoukokusyoStatements statements;
};

TEST_F(KaisyahouHoukokusyoPrintTest, ChosenStatementsInOrderNotesOverTwoPagesLongOnesContinueAndSmallPaperIsRefused)
{
  compute();
  const QStringList pages = print({});
  EXPECT_EQ(titlesOf(pages),
            (QStringList{"決算報告書", "貸借対照表", "損益計算書", "販売費及び一般管理費", "株主資本等変動計算書"}));
  ASSERT_EQ(pages.size(), 5);
  // pdftotext reads the ideographic space as plain spaces.
  for (const char* s : {"第\\s+1\\s+期", "^\\s*自\\s+2024年 4月 1日\\s*$", "^\\s*至\\s+2025年 3月31日\\s*$",
                        "株式会社テスト商事", "東京都千代田区一丁目1番1号"})
    EXPECT_TRUE(hasLine(pages[0], QString::fromUtf8(s))) << s << pages[0].toStdString();
  expectLines(pages, {PageLine{1, "資産合計\\s+2,750,000\\s+負債・純資産合計\\s+2,750,000"},
                      PageLine{1, "2025年 3月31日現在"}, PageLine{1, "\\(単位：円\\)"},
                      PageLine{2, "売上高合計\\s+800,000"}, PageLine{2, "自\\s+2024年 4月 1日\\s+至\\s+2025年 3月31日"},
                      PageLine{3, "給料手当\\s+200,000"}, PageLine{3, "販売費及び一般管理費合計\\s+300,000"}});

  KaisyahouHoukokusyoPrintChoice some;
  some.coversheet = some.sonekiKeisansyo = some.kabunushiShihon = false;
  EXPECT_EQ(titlesOf(print(some)), (QStringList{"貸借対照表", "販売費及び一般管理費"}));
  // Era dates on the cover and in the period line.
  doc->kaisya().setDoUseWarekiForTermStartDateOfHoukokusyoCover(true);
  doc->kaisya().setDoUseWarekiForTermEndDateOfHoukokusyoCover(true);
  const QStringList era = print({});
  EXPECT_TRUE(era.value(0).contains("令和")) << era.value(0).toStdString();
  EXPECT_TRUE(hasLine(era.value(2), "自\\s+令和6年 4月 1日\\s+至\\s+令和7年 3月31日")) << era.value(2).toStdString();
  EXPECT_TRUE(alerts.empty());

  // Notes run over two pages.
  QString html = "<p>重要な会計方針</p>";
  for (int i = 1; i <= 80; ++i) html += QString("<p>注記%1 棚卸資産の評価基準及び評価方法</p>").arg(i);
  // One paragraph without a break point, wider than the page, still wraps.
  html += "<p>" + QString(200, QChar(0x6797)) + "</p><p>注記の終わり</p>";
  doc->kaisya().setNoteOfKaisyahouHoukokusyo(html.toStdString());
  KaisyahouHoukokusyoPrintChoice notes{false, false, false, false, false, false, true};
  const QStringList notePages = print(notes);
  ASSERT_GE(notePages.size(), 2);
  EXPECT_TRUE(notePages.first().contains("重要な会計方針"));
  EXPECT_TRUE(notePages.join("").contains("注記80 棚卸資産"));
  EXPECT_TRUE(notePages.last().contains("注記の終わり"));
  // Not chosen, or empty: no notes pages.
  notes.note = false;
  notes.coversheet = true;
  EXPECT_EQ(print(notes).size(), 1);

  // A long statement continues; overflowed sums print the mark; paper too small is refused.
  KaisyahouHoukokusyoPrintChoice bs{false, true, false, false, false, false, false};
  const QStringList continued = print(bs, paper(595, 300));
  ASSERT_GE(continued.size(), 2);
  for (const QString& p : continued) EXPECT_EQ(titleOf(p), "貸借対照表");
  EXPECT_TRUE(hasLine(continued.back(), "資産合計\\s+2,750,000\\s+負債・純資産合計\\s+2,750,000"));

  statements.taisyakuBalanceHanbaihiShisanArray.back().setHoukokusyoAmount(Kaisya::kMaxOutputAmountValue + 1);
  const QStringList overflowed = print({false, false, false, true, false, false, false});
  ASSERT_EQ(overflowed.size(), 1);
  EXPECT_TRUE(hasLine(overflowed[0], "販売費及び一般管理費合計\\s+#Precision!")) << overflowed[0].toStdString();
  EXPECT_FALSE(overflowed[0].contains("1,000,000,000,000"));

  // Paper too small is refused.
  KaisyahouHoukokusyoPrintChoice yoko;
  yoko.tateKabunushiShihon = false;
  const std::tuple<const char*, QPageLayout, KaisyahouHoukokusyoPrintChoice> cases[] = {
      {"too short for five rows", paper(595, 150), {}},
      {"too narrow for the balance sheet", paper(250, 842), {false, true, false, false, false, false, false}},
      {"too narrow for the income statement", paper(200, 842), {false, false, true, false, false, false, false}},
      {"too narrow for the vertical changes", paper(250, 842), {false, false, false, false, false, true, false}},
      {"too small for the horizontal changes", paper(150, 200), yoko}};
  for (const auto& [what, layout, choice] : cases) {
    alerts.clear();
    EXPECT_FALSE(KaisyahouHoukokusyoPrintView::create(*doc, statements, choice, layout)) << what;
    ASSERT_EQ(alerts.size(), 1u) << what;
    EXPECT_EQ(alerts[0].title, "印刷できません");
    EXPECT_EQ(alerts[0].text, "設定している用紙の印刷できる範囲が小さすぎます。");
  }
  // The narrow paper does for the cover alone.
  alerts.clear();
  EXPECT_TRUE(KaisyahouHoukokusyoPrintView::create(*doc, statements, {true, false, false, false, false, false, false},
                                                   paper(250, 842)));
  EXPECT_TRUE(alerts.empty());
}

// The balance sheet's frame is drawn at 1 point at the left and the right of every
// row, the rule between its two sides at 0.5 point; nothing else runs down the table.
TEST_F(KaisyahouHoukokusyoPrintTest, TheBalanceSheetsTwoSidesAreDividedByAThinRule)
{
  compute();
  const auto view =
      KaisyahouHoukokusyoPrintView::create(*doc, statements, {false, true, false, false, false, false, false}, paper());
  ASSERT_TRUE(view && view->pageCount() == 1);
  ASSERT_TRUE(PrintOperation::writePdf(path("bs.pdf"), *view, paper()));
  std::map<double, std::vector<double>> verticals;  // x: the pen width of each piece
  for (const auto& [width, x1, y1, x2, y2] : pdfStrokedLines(path("bs.pdf"), 0))
    if (x1 == x2 && y1 != y2) verticals[x1].push_back(width);
  const size_t rows = verticals.empty() ? 0 : verticals.begin()->second.size();
  std::vector<std::vector<double>> widths;
  for (const auto& [x, pieces] : verticals) widths.push_back(pieces);
  EXPECT_GT(rows, 5u);
  EXPECT_EQ(widths, (std::vector{std::vector(rows, 1.0), std::vector(rows, 0.5), std::vector(rows, 1.0)}));
}

TEST_F(KaisyahouHoukokusyoPrintTest,
       StatementOfChangesHorizontalAndVerticalItemsThatRepeatTheirHeadingsOrDoNotFootAndManyReasons)
{
  auto& reasons = doc->hendouReasonArray();
  for (const char* name : {"no reason", "当期純損益", "剰余金の配当", "株主資本以外の項目の当期変動額(純額)"})
    reasons.push_back(std::make_shared<HendouReason>(name));
  book(*doc, Date(2024, 9, 30), "繰越利益剰余金", "未払配当金", 100'000)->setHendouReasonStr("剰余金の配当");
  KaisyahouHoukokusyoPrintChoice only{false, false, false, false, false, true, false};
  only.tateKabunushiShihon = false;
  compute(false);
  const QStringList yoko = print(only);
  ASSERT_EQ(yoko.size(), 1);
  const QString& turned = yoko[0];
  // Every column's figures on the row of its label.
  for (const char* pattern : {"前期末残高\\s+2,000,000\\s+500,000\\s+500,000\\s+2,500,000\\s+2,500,000",
                              "当期純損益\\s+220,000\\s+220,000\\s+220,000\\s+220,000",
                              "剰余金の配当\\s+-100,000\\s+-100,000\\s+-100,000\\s+-100,000",
                              "当期変動額合計\\s+---\\s+120,000\\s+120,000\\s+120,000\\s+120,000",
                              "当期末残高\\s+2,000,000\\s+620,000\\s+620,000\\s+2,620,000\\s+2,620,000"})
    EXPECT_TRUE(hasLine(turned, QString::fromUtf8(pattern))) << pattern << "\n" << turned.toStdString();
  EXPECT_TRUE(alerts.empty());

  // Vertical items that repeat their headings or do not foot.
  using Kind = KabunushiShihonHendouBuilder::RowLabel::Kind;
  auto& st = statements.kabunushiShihon;
  st.columns.clear();
  st.rowLabels = {{Kind::Zenkimatsu, "前期末残高", nullptr},
                  {Kind::ToukiHendouHeading, "当期変動額", nullptr},
                  {Kind::Reason, "増資", std::make_shared<HendouReason>("増資")},
                  {Kind::Reason, "株主資本以外の項目の当期変動額(純額)", nullptr},
                  {Kind::ToukiHendouGoukei, "当期変動額合計", nullptr},
                  {Kind::Toukimatsu, "当期末残高", nullptr}};
  const int64_t M = Kaisya::kMaxOutputAmountValue;
  const auto column = [&](int32_t code, const char* t1, const char* t2, std::vector<int64_t> cells) {
    Shisan c;
    c.setKamokuCode(code);
    c.setTitle(t1);
    c.setTitle2(t2);
    c.monthlyAmountArray() = std::move(cells);
    st.columns.push_back(c);
  };
  column(270, "株主資本", "　資本金", {100, 0, 0, 0, 0, 100});
  // The same headings again: the figures still print, on lines of their own.
  column(270, "株主資本", "　資本金", {200, 0, 50, 0, 50, 250});
  // No change in total, yet opening and closing differ: the full form.
  column(271, "株主資本", "　資本準備金", {300, 0, 0, 0, 0, 310});
  column(-401, "純資産合計", "", {600, 0, M, M, 2 * M, 660});
  const QStringList pages = print({false, false, false, false, false, true, false});
  ASSERT_EQ(pages.size(), 1);
  const QString& p = pages[0];
  for (const char* pattern : {"資本金\\s+前期末残高及び当期末残高\\s+100$", "^\\s+前期末残高\\s+200$",
                              "当期変動額\\s+増資\\s+50$", "当期末残高\\s+250$", "資本準備金\\s+前期末残高\\s+300$",
                              "当期末残高\\s+310$", "純資産合計\\s+前期末残高\\s+600$", "当期変動額\\s+#Precision!$"})
    EXPECT_TRUE(hasLine(p, QString::fromUtf8(pattern))) << pattern << "\n" << p.toStdString();
  EXPECT_EQ(p.count("資本金"), 1);

  // A statement of many reasons continues, in both layouts.
  st.rowLabels = {{Kind::Zenkimatsu, "前期末残高", nullptr}, {Kind::ToukiHendouHeading, "当期変動額", nullptr}};
  Shisan capital;
  capital.setKamokuCode(270);
  capital.setTitle("資本金");
  capital.monthlyAmountArray() = {1000, 0};
  for (int i = 1; i <= 60; ++i) {
    const std::string name = "事由" + std::to_string(i);
    st.rowLabels.push_back({Kind::Reason, name, std::make_shared<HendouReason>(name)});
    capital.monthlyAmountArray().push_back(i);
  }
  st.rowLabels.push_back({Kind::ToukiHendouGoukei, "当期変動額合計", nullptr});
  st.rowLabels.push_back({Kind::Toukimatsu, "当期末残高", nullptr});
  capital.monthlyAmountArray().push_back(1830);
  capital.monthlyAmountArray().push_back(2830);
  st.columns = {capital};
  for (bool tate : {true, false}) {
    KaisyahouHoukokusyoPrintChoice choice{false, false, false, false, false, true, false};
    choice.tateKabunushiShihon = tate;
    const QStringList pages = print(choice, paper(595, 420));
    ASSERT_GE(pages.size(), 2) << tate;
    for (const QString& p : pages) EXPECT_EQ(titleOf(p), "株主資本等変動計算書") << tate;
    const QString all = pages.join("");
    for (int i = 1; i <= 60; ++i) EXPECT_TRUE(hasLine(all, QString("事由%1\\s+%1$").arg(i))) << i << " " << tate;
    EXPECT_TRUE(hasLine(pages.back(), "当期末残高\\s+2,830$")) << tate;
  }
}

class HoukokusyoPrintTest : public StatementsSheetTest {
protected:
  void SetUp() override
  {
    StatementsSheetTest::SetUp();
    doc = makeSmallTrialBooks(ChartKind::HoujinOlder, 100, true);
    addShiwake(*doc, Date(2024, 8, 1), codeOf(*doc, "材料仕入高"), codeOf(*doc, "現金"), 50);
    Kaisya& k = doc->kaisya();
    k.setName("株式会社旧様式");
    k.setTitleOfHoukokusyo("決算報告書");
    k.setTermStartDateOfHoukokusyoCover(Date(2024, 4, 1));
    k.setTermEndDateOfHoukokusyoCover(Date(2025, 3, 31));
  }

  QStringList print(const HoukokusyoPrintChoice& choice = {}, const QPageLayout& layout = paper())
  {
    statements = Houkokusyo::build(
        *doc,
        KaisyahouHoukokusyoBalances::postShiwakeArray(*doc, {Date(2024, 4, 1), Date::kessanSeiridukiDate(), false}),
        99);
    riekiSyobunan = RiekiSyobunan(statements.toukiMisyobunSonekiOfSyuuryouZandaka, {{"配当金", 50}, {"利益準備金", 20}},
                                  doc->kaisya().maxOutputAmountValue())
                        .rows();
    return pagesOf(HoukokusyoPrintView::create(*doc, statements, riekiSyobunan, choice, layout).get(), layout);
  }

  std::unique_ptr<MyDocument> doc;
  HoukokusyoStatements statements;
  std::vector<Shisan> riekiSyobunan;
};

TEST_F(HoukokusyoPrintTest, TickedStatementsInOrderWithNotesLongOnesOnFurtherPagesOverflowMarkAndRefusals)
{
  Kaisya& k = doc->kaisya();
  k.setNoteOfTaisyakuTaisyouhyouOfHoukokusyo("有形固定資産の減価償却累計額　0円");
  k.setNoteOfSonekiKeisansyoOfHoukokusyo("1株当たり当期利益\n二行目の注記");
  k.setNoteOfRiekisyobunanOfHoukokusyo("配当は現金による");
  const QStringList pages = print();
  EXPECT_EQ(titlesOf(pages), (QStringList{"決算報告書", "貸借対照表", "損益計算書", "販売費及び一般管理費",
                                          "製造原価報告書", "利益処分案"}));
  ASSERT_EQ(pages.size(), 6);
  // Page 2: 合計 of the purchases and the products' cost. Page 6, the appropriation: its
  // items, total and carried-forward line.
  expectLines(pages,
              {PageLine{1, "資産の部合計\\s+1,150\\s+負債・資本の部合計\\s+1,150"}, PageLine{1, "2025年 3月31日現在"},
               PageLine{1, "^\\s*有形固定資産の減価償却累計額\\s+0円\\s*$"}, PageLine{2, "売上総利益\\s+250"},
               PageLine{2, "当期製品製造原価\\s+50"}, PageLine{2, "合\\s+計\\s+250"},
               PageLine{2, "当期未処分利益\\s+150"}, PageLine{2, "^\\s*二行目の注記\\s*$"},
               PageLine{4, "当期製品製造原価\\s+50"}, PageLine{5, "当期未処分利益\\s+150"},
               PageLine{5, "利益処分合計\\s+70"}, PageLine{5, "次期繰越利益\\s+80"}, PageLine{5, "配当は現金による"}});
  EXPECT_FALSE(pages[3].contains("注記"));
  EXPECT_FALSE(pages[5].contains("株式会社旧様式"));  // no company name on the appropriation

  HoukokusyoPrintChoice some;
  some.coversheet = some.sonekiKeisansyo = some.seizougenka = false;
  EXPECT_EQ(titlesOf(print(some)), (QStringList{"貸借対照表", "販売費及び一般管理費", "利益処分案"}));

  // Short paper: the balance sheet and the income statement take more than a page.
  HoukokusyoPrintChoice bsAndPl;
  bsAndPl.coversheet = bsAndPl.hanbaihi = bsAndPl.seizougenka = bsAndPl.riekisyobunan = false;
  doc->kaisya().setNoteOfSonekiKeisansyoOfHoukokusyo("損益の注記");
  const QStringList longPages = print(bsAndPl, paper(595, 260));
  ASSERT_GT(longPages.size(), 2);
  QString all = longPages.join('\n');
  for (const char* line : {"資産の部合計\\s+1,150\\s+負債・資本の部合計\\s+1,150", "当期未処分利益\\s+150",
                           "損益の注記", "売上高合計\\s+500"})
    EXPECT_TRUE(hasLine(all, QString::fromUtf8(line))) << line;
  EXPECT_TRUE(hasLine(longPages.back(), "損益の注記"));
  for (const QString& p : longPages) EXPECT_TRUE(titleOf(p) == "貸借対照表" || titleOf(p) == "損益計算書");
  EXPECT_TRUE(alerts.empty());

  // Figures at the limit print the mark; small paper and a note longer than a page are refused.
  kamokuNamed(*doc, "現金")->setStartBalance(doc->kaisya().maxOutputAmountValue() + 1, 99);
  HoukokusyoPrintChoice choice;
  choice.coversheet = choice.sonekiKeisansyo = choice.hanbaihi = choice.seizougenka = choice.riekisyobunan = false;
  const QStringList limit = print(choice);
  ASSERT_EQ(limit.size(), 1);
  EXPECT_TRUE(hasLine(limit[0], "資産の部合計\\s+#Precision!")) << limit[0].toStdString();

  EXPECT_TRUE(print({}, paper(595, 120)).isEmpty());
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].text, QString::fromUtf8(TablePrintLayout::kTooSmallMessage));
  doc->kaisya().setNoteOfHanbaihiOfHoukokusyo(std::string(200, '\n') + "end");
  EXPECT_TRUE(print().isEmpty());
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_TRUE(alerts[1].text.contains("販売費及び一般管理費")) << alerts[1].text.toStdString();
}

}  // namespace
}  // namespace kivo::test

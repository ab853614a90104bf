// The carry-forward window driven as the user drives it: the settings' refusals,
// the refusal list, the next term's document and the old one saved and closed, an
// old document that cannot be saved staying open, and the next term's statements.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "app/KurikoshiController.h"
#include "app/WindowCommands.h"
#include "document/DocumentFile.h"
#include "platform/PrintOperation.h"
#include "statements/gui/StatementsSheetController.h"
#include "support/AppTestFixture.h"
#include "support/TestBooks.h"

namespace kivo::test {
namespace {

class KurikoshiControllerTest : public AppTest {
protected:
  void TearDown() override
  {
    PrintOperation::setPrintPanelResponderForTesting({});
    AppTest::TearDown();
  }
  DocumentSession* openSavedBooks(int64_t spent)
  {
    DocumentSession* doc = openBooks();
    MyDocument& books = doc->document();
    books.kamokuOfCode(kGenkin)->setStartBalance(1'000, 99);
    books.kamokuOfCode(270)->setStartBalance(1'000, 99);  // 資本金
    books.journal().append(makeEntry(Date(2024, 5, 1), 1, kGenkin, kUriagedaka, 500));
    books.journal().append(makeEntry(Date(2024, 6, 1), 2, kShoumouhinhi, kGenkin, spent));
    books.kaisya().setMinAvailableDenpyouNo(3);
    books.makeAllOutputWindowDisplayArrayVoid();
    EXPECT_TRUE(doc->saveToPath(path(QStringLiteral("old.kivo"))));
    return doc;
  }
};

TEST_F(KurikoshiControllerTest, CarriesForwardIntoAnUntitledDocumentAndClosesTheSavedOldOne)
{
  DocumentSession* old = openSavedBooks(200);
  KurikoshiController* window = KurikoshiController::showKurikoshiWindow(old);
  flush();
  EXPECT_EQ(std::tuple(window->currentTabIdentifier(), window->termNoField()->text()), std::tuple("set", "2"));

  // A term over a year long is refused with the new-document window's alert.
  window->termEndDateField()->setText(QStringLiteral("2026/4/30"));
  EXPECT_EQ(window->endKurikoshiWindow(), nullptr);
  flush();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts.front().text, QString::fromUtf8(TermSettings::kTermTooLongMessage));
  alerts.clear();

  window->termEndDateField()->setText(QStringLiteral("2026/3/31"));
  DocumentSession* next = window->endKurikoshiWindow();
  flush();
  EXPECT_EQ(app->documentController()->documents(), std::vector<DocumentSession*>{next});
  // 1,000 + 500 - 200 in cash; 資本金 1,000 and the profit 300 carried.
  EXPECT_EQ(std::tuple(next->isUntitled(), next->isDocumentEdited(),
                       next->document().kamokuOfCode(kGenkin)->startBalanceOfJigyoubuCode(99),
                       next->document().kamokuOfCode(277)->startBalanceOfJigyoubuCode(99)),
            std::tuple(true, true, 1'300, 300));

  DocumentFile::Result read;
  auto saved = DocumentFile::readFromFile(path(QStringLiteral("old.kivo")).toStdString(), &read);
  EXPECT_TRUE(saved->kaisya().hasDoneKurikoshi());
}

TEST_F(KurikoshiControllerTest, ANegativeCashBalanceShowsTheRefusalListAndChangesNothing)
{
  DocumentSession* old = openSavedBooks(5'000);
  KurikoshiController* window = KurikoshiController::showKurikoshiWindow(old);
  flush();
  EXPECT_EQ(window->endKurikoshiWindow(), nullptr);
  flush();
  EXPECT_EQ(std::tuple(window->currentTabIdentifier(), window->errorField()->text()),
            std::tuple("error", QString::fromUtf8(KurikoshiZandaka::kEndBalanceMessage)));
  QTableWidget* table = window->invalidZandakaShisanTableView();
  ASSERT_EQ(table->rowCount(), 1);
  EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("現金"));
  EXPECT_EQ(std::tuple(app->documentController()->documents().size(), old->isDocumentEdited(),
                       old->document().kaisya().hasDoneKurikoshi()),
            std::tuple(1u, false, false));
}

TEST_F(KurikoshiControllerTest, AnOldDocumentThatIsNotSavedStaysOpenAndSaysSo)
{
  DocumentSession* old = openBooks();
  old->document().kamokuOfCode(kGenkin)->setStartBalance(1'000, 99);
  old->document().kamokuOfCode(270)->setStartBalance(1'000, 99);
  KurikoshiController* window = KurikoshiController::showKurikoshiWindow(old);
  flush();
  panelAnswer.clear();  // the save panel is cancelled
  EXPECT_NE(window->endKurikoshiWindow(), nullptr);
  flush();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(std::tuple(app->documentController()->documents().size(), alerts.front().text.contains("保存できなかった"),
                       old->document().kaisya().hasDoneKurikoshi()),
            std::tuple(2u, true, false));
}

// With era dates the next term is prefilled in the era form, era years of three and
// four digits too, and taken as it stands; a sole proprietor's year is the era year.
TEST_F(KurikoshiControllerTest, ThePrefilledNextTermInEraFormIsAcceptedOverTheWholeRange)
{
  const std::tuple<bool, Date, const char*, const char*, const char*> cases[] = {
      // corporation, the next term's first day, and its fields as shown
      {true, Date(2117, 4, 1), "令和99/4/1", "令和100/3/31", "2"},
      {false, Date(2118, 4, 1), "令和100/4/1", "令和101/3/31", "令和100"},
      {true, Date(9998, 12, 1), "令和7980/12/1", "令和7981/11/30", "2"},
  };
  for (const auto& [houjin, start, startText, endText, termNo] : cases) {
    SCOPED_TRACE(startText);
    DocumentSession* old = openBooks("テスト商事", houjin);
    old->document().kaisya().setDoUseWareki(true);
    old->document().kaisya().setMonthOfTermArrayFrom(start.addingMonths(-12), start.addingDays(-1));
    ASSERT_TRUE(old->saveToPath(path(QStringLiteral("old.kivo"))));
    KurikoshiController* window = KurikoshiController::showKurikoshiWindow(old);
    flush();
    EXPECT_EQ(std::tuple(window->termStartDateField()->text(), window->termEndDateField()->text(),
                         window->termNoField()->text()),
              std::tuple(QString::fromUtf8(startText), QString::fromUtf8(endText), QString::fromUtf8(termNo)));
    DocumentSession* next = window->endKurikoshiWindow();
    flush();
    ASSERT_TRUE(next);
    EXPECT_EQ(std::pair(next->document().kaisya().termStartDate(), next->document().kaisya().termEndDate()),
              std::pair(start, start.addingMonths(12).addingDays(-1)));
    closeNow(next);
  }
}

// The next term's statements print from its sheet's first filling: 決算報告書 and the
// company's era form on the cover when the old term never showed its sheet, in both
// forms of statements; a cover the user set in the old term stays.
TEST_F(KurikoshiControllerTest, TheNextTermsStatementsPrintWithTheCoverOfAFirstShowingOrTheOneSetBefore)
{
  int panels = 0;
  // The print panel is counted and cancelled.
  PrintOperation::setPrintPanelResponderForTesting([&panels](QPrinter&, QWidget*) { return ++panels < 0; });
  WindowCommands::installCommandHandlers(app.get());
  for (const auto& [houjin, wareki, titleSetBefore] :
       {std::tuple(true, false, ""), std::tuple(true, true, ""), std::tuple(false, true, ""),
        std::tuple(true, true, "第1期 決算報告書")}) {
    SCOPED_TRACE(std::string(houjin ? "Companies Act" : "older form") + (wareki ? " 和暦 " : " ") + titleSetBefore);
    DocumentSession* old = openBooks("テスト商事", houjin);
    Kaisya& k = old->document().kaisya();
    k.setDoUseWareki(wareki);
    const bool setBefore = *titleSetBefore;
    if (setBefore) {
      k.setTitleOfHoukokusyo(titleSetBefore);
      k.setTermStartDateOfHoukokusyoCover(Date(2024, 4, 1));
    }
    ASSERT_TRUE(old->saveToPath(path(QStringLiteral("old.kivo"))));
    DocumentSession* next = KurikoshiController::showKurikoshiWindow(old)->endKurikoshiWindow();
    flush();
    ASSERT_TRUE(next);
    app->performCommand(MainMenu::Command::PrintHoukokusyo, nullptr);
    flush();
    auto* sheet =
        qobject_cast<StatementsSheetController*>(SheetController::attachedSheet(next->documentInfoController()));
    ASSERT_TRUE(sheet);
    const Kaisya& nk = next->document().kaisya();
    EXPECT_EQ(std::tuple(nk.titleOfHoukokusyo(), nk.doUseWarekiForTermStartDateOfHoukokusyoCover(),
                         nk.doUseWarekiForTermEndDateOfHoukokusyoCover(), nk.termStartDateOfHoukokusyoCover()),
              std::tuple(std::string(setBefore ? titleSetBefore : "決算報告書"), wareki && !setBefore,
                         wareki && !setBefore, Date(2025, 4, 1)));
    panels = 0;
    sheet->generalOkButton()->click();
    flush();
    EXPECT_EQ(std::tuple(sheet->isSheetAttached(), panels), std::tuple(false, 1));
    closeNow(next);
  }
}

}  // namespace
}  // namespace kivo::test

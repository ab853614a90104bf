// The older-form statements sheet, offscreen: opened by the 決算報告書 command, the
// appropriation items with their totals, the refusal of items beyond the profit,
// and the command's absence for a household book.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "platform/AlertSheet.h"
#include "platform/PrintOperation.h"
#include "setup/gui/DocumentInfoController.h"
#include "statements/gui/HoukokusyoController.h"
#include "statements/gui/KaisyahouHoukokusyoController.h"
#include "support/AppTestFixture.h"
#include "trial/TrialBooks.h"

namespace kivo::test {
namespace {

class HoukokusyoControllerTest : public AppTest {
protected:
  void SetUp() override
  {
    AppTest::SetUp();
    PrintOperation::setPrintPanelResponderForTesting([this](QPrinter&, QWidget*) {
      ++printPanels;
      return false;
    });
    AlertSheet::setResponderForTesting([this](const AlertSheet::Alert& a) {
      alerts.push_back(a);
      return 0;
    });
    HoukokusyoController::install();
    KaisyahouHoukokusyoController::installCommandHandlers(app.get());
  }
  void TearDown() override
  {
    if (sheet && sheet->isSheetAttached()) sheet->abortSheet();
    flush();
    PrintOperation::setPrintPanelResponderForTesting({});
    AlertSheet::setResponderForTesting({});
    KaisyahouHoukokusyoController::setOlderFormOpener({});
    AppTest::TearDown();
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
  std::vector<AlertSheet::Alert> alerts;
  int printPanels = 0;
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

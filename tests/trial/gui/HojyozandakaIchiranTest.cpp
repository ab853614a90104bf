// The sub-account balance list window, its printout read back from PDF and the sheet
// that prints several accounts' lists from the information window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <tuple>

#include "journal/gui/KanjyoumotocyouController.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "setup/gui/DocumentInfoController.h"
#include "support/AppTestFixture.h"
#include "support/PdfText.h"
#include "trial/HojyoZandakaBooks.h"
#include "trial/gui/HojyozandakaIchiranController.h"
#include "trial/gui/ReportTextExportSheet.h"
#include "trial/gui/SelectPluralKamokuWithHojyoController.h"

namespace kivo::test {
namespace {

QRegularExpression heading(const QString& name) { return QRegularExpression(QStringLiteral("勘定科目：\\s*") + name); }

class HojyozandakaIchiranTest : public AppTest {
protected:
  void SetUp() override
  {
    AppTest::SetUp();
    HojyozandakaIchiranController::installCommandHandlers(app.get());
    KanjyoumotocyouController::installCommandHandlers(app.get());
    DocumentInfoController::installCommandHandlers(app.get());
  }

  void TearDown() override
  {
    ReportTextExportSheet::setResponderForTesting({});
    PrintOperation::setPrintPanelResponderForTesting({});
    for (const char* key : {KIVOExportTextKugiriCodeKey, KIVOHojyozandakaIchiranPrintInfoKey})
      UserDefaults::standardUserDefaults().removeObjectForKey(key);
    AppTest::TearDown();
  }

  // The list's books, with 50 in August on 売掛金 without a customer (division 1).
  void openBooks()
  {
    auto doc = makeHojyoZandakaBooks();
    urikake = codeOf(*doc, "売掛金");
    yokin = codeOf(*doc, "普通預金");
    addHojyoShiwake(*doc, Date(2024, 8, 1), urikake, -1, codeOf(*doc, "売上高"), -1, 50, 1);
    session = app->documentController()->addDocument(std::move(doc));
    flush();
  }

  DocumentInfoController* info() const
  {
    return qobject_cast<DocumentInfoController*>(session->documentInfoController());
  }

  HojyozandakaIchiranController* openWindow()
  {
    activate(info());
    QAbstractButton* button = info()->buttonOfCommand(MainMenu::Command::ShowHojyozandakaIchiranWindow);
    EXPECT_TRUE(button && button->isEnabled());
    if (button) button->click();
    flush();
    HojyozandakaIchiranController* w = nullptr;
    for (WindowController* wc : session->windowControllers())
      if (auto* h = qobject_cast<HojyozandakaIchiranController*>(wc); h && h->displayKamokuCode() == -1) w = h;
    if (w) activate(w);
    return w;
  }

  static QStringList cells(const HojyozandakaIchiranController* w, int row)
  {
    QStringList out;
    const QAbstractItemModel* m = w->tableView()->model();
    for (int c = 0; c < m->columnCount(); ++c) out << m->index(row, c).data().toString();
    return out;
  }

  std::vector<KanjyoumotocyouController*> ledgers() const
  {
    std::vector<KanjyoumotocyouController*> out;
    for (WindowController* wc : session->windowControllers())
      if (auto* l = qobject_cast<KanjyoumotocyouController*>(wc)) out.push_back(l);
    return out;
  }

  DocumentSession* session = nullptr;
  int32_t urikake = -1;
  int32_t yokin = -1;
};

TEST_F(HojyozandakaIchiranTest, TheWindowShowsTheListOfTheChosenAccountAndOpensSubLedgers)
{
  openBooks();
  HojyozandakaIchiranController* w = openWindow();
  ASSERT_TRUE(w);
  // A new window shows no account: an empty list, nothing to print, export or open.
  EXPECT_EQ(w->tableView()->model()->rowCount(), 0);
  EXPECT_FALSE(w->validatePrintMenuItem());
  w->functionMenuActions();
  w->validateMenuItems();
  EXPECT_FALSE(w->functionMenuAction(qs(HojyozandakaIchiranController::kSaveToTextFileTitle))->isEnabled());

  w->setDisplayKamokuCode(urikake);
  w->setDisplayPeriodFromMonthArrayIndex(1);
  w->setDisplayPeriodToMonthArrayIndex(4);
  w->updateAfterSelectDisplayingJigyoubu();
  ASSERT_EQ(w->tableView()->model()->rowCount(), 5);
  EXPECT_EQ(cells(w, 3), (QStringList{"補助科目なし", "0", "50", "0", "50", "1.08"}));
  EXPECT_EQ(cells(w, 4), (QStringList{"合計", "4,200", "1,250", "800", "4,650", "100.00"}));
  EXPECT_TRUE(w->isTotalRow(4, *w->tableView()));
  EXPECT_TRUE(w->validatePrintMenuItem());

  // Division 2 alone; the row selected stays.
  w->tableView()->selectRow(1);
  w->setDisplayJigyoubuCode(2);
  w->updateAfterSelectDisplayingJigyoubu();
  EXPECT_EQ(cells(w, 3), (QStringList{"合計", "800", "200", "300", "700", "100.00"}));
  EXPECT_EQ(w->tableView()->selectedRow(), 1);

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
  HojyozandakaIchiranController* second = openWindow();
  ASSERT_TRUE(second);
  EXPECT_NE(second, w);

  // The account's customers all taken out of use: the window falls back to none.
  for (const HojyoKamokuPtr& h : session->document().kamokuOfCode(urikake)->hojyoKamokuArray()) h->setIsActive(false);
  w->updateUI(true);
  EXPECT_EQ(w->displayKamokuCode(), -1);
  EXPECT_EQ(w->tableView()->model()->rowCount(), 0);
}

TEST_F(HojyozandakaIchiranTest, TheExportWritesTheShownRowsByteForByte)
{
  openBooks();
  HojyozandakaIchiranController* w = openWindow();
  ASSERT_TRUE(w);
  w->setDisplayKamokuCode(urikake);
  w->setDisplayJigyoubuCode(1);
  w->setDisplayPeriodFromMonthArrayIndex(1);
  w->setDisplayPeriodToMonthArrayIndex(1);
  w->updateAfterSelectDisplayingJigyoubu();
  ReportTextExportSheet::setResponderForTesting([&](int32_t, int32_t& kugiri) {
    kugiri = 1;
    return path("list");
  });
  w->saveToTextFile();
  flush();
  QFile f(path("list.txt"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  // A商店 is 41 8F A4 93 58, 合計 8D 87 8C 76.
  EXPECT_EQ(f.readAll(), QByteArray("A\x8f\xa4\x93\x58,1400,0,0,1400,31.82\r"
                                    "B\x8f\xa4\x93\x58,2000,1000,0,3000,68.18\r"
                                    "C\x8f\xa4\x93\x58,0,0,0,0,0.00\r"
                                    "\x8d\x87\x8c\x76,3400,1000,0,4400,100.00\r"));
}

TEST_F(HojyozandakaIchiranTest, TheSheetOnTheInformationWindowPrintsTheChosenAccounts)
{
  openBooks();
  activate(info());
  app->performCommand(MainMenu::Command::PrintHojyozandakaIchiranOfPluralKamoku, nullptr);
  flush();
  auto* sheet = SelectPluralKamokuWithHojyoController::controllerOfDocument(session);
  ASSERT_TRUE(sheet->isSheetAttached());
  // Only accounts with active sub-accounts, in code order; nothing chosen yet.
  LedgerChoiceTree* candidates = sheet->unselectedKamokuTableView();
  const bool yokinFirst = yokin < urikake;
  ASSERT_EQ(candidates->topLevelItemCount(), 2);
  EXPECT_EQ(candidates->topLevelItem(0)->text(1), yokinFirst ? "普通預金" : "売掛金");
  EXPECT_EQ(candidates->topLevelItem(1)->text(1), yokinFirst ? "売掛金" : "普通預金");
  EXPECT_FALSE(sheet->okButtonWidget()->isEnabled());
  EXPECT_EQ(sheet->monthToPopUp()->currentText(), "決算整理月");
  EXPECT_TRUE(sheet->jigyoubuField()->isVisibleTo(sheet));

  // A drop within one list is refused; both candidates dragged across are chosen.
  std::unique_ptr<QMimeData> data(
      candidates->mimeDataOfItems({candidates->topLevelItem(0), candidates->topLevelItem(1)}));
  EXPECT_FALSE(candidates->acceptDrop(data.get(), candidates, true));
  ASSERT_TRUE(sheet->selectedKamokuTableView()->acceptDrop(data.get(), candidates, true));
  EXPECT_EQ(sheet->selectedKamokuTableView()->topLevelItemCount(), 2);
  EXPECT_TRUE(sheet->okButtonWidget()->isEnabled());
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
  EXPECT_TRUE(urikakePage.contains(heading("売掛金")));
  EXPECT_TRUE(urikakePage.contains(QRegularExpression("補助科目なし\\s+0\\s+50\\s+0\\s+50\\s+1.08")));
  EXPECT_TRUE(urikakePage.contains(QRegularExpression("合計\\s+4,200\\s+1,250\\s+800\\s+4,650\\s+100.00")));
}

}  // namespace
}  // namespace kivo::test

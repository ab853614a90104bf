// The monthly trial-balance window over small books, offscreen, and both trial-balance
// printouts rendered to PDF and read back with pdftotext and pdfinfo.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTabWidget>

#include "journal/gui/KanjyoumotocyouController.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "setup/gui/DocumentInfoController.h"
#include "support/AppTestFixture.h"
#include "support/PdfText.h"
#include "trial/TrialBooks.h"
#include "trial/ZandakaShisanAssembly.h"
#include "trial/gui/ReportTextExportSheet.h"
#include "trial/gui/ShiftJisEncoder.h"
#include "trial/gui/SuiiShisanController.h"
#include "trial/gui/SuiiShisanPrintView.h"
#include "trial/gui/ZandakaShisanPrintView.h"

namespace kivo::test {
namespace {

QPageLayout a4Landscape()
{
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

class SuiiShisanControllerTest : public AppTest {
protected:
  void SetUp() override
  {
    AppTest::SetUp();
    SuiiShisanController::installCommandHandlers(app.get());
  }
  void TearDown() override
  {
    ReportTextExportSheet::setResponderForTesting({});
    PrintOperation::setPrintPanelResponderForTesting({});
    for (const char* key : {KIVOExportTextKugiriCodeKey, KIVOSuiiShisanPrintMonthPerPageKey})
      UserDefaults::standardUserDefaults().removeObjectForKey(key);
    AppTest::TearDown();
  }

  // A manufacturer on the older chart: cash and capital 1,000; sales of 500 in May,
  // wages of 100 in July, a closing adjustment of sales of -20.
  std::unique_ptr<MyDocument> books()
  {
    auto doc = makeTrialBooks(ChartKind::HoujinOlder, true);
    MyDocument& d = *doc;
    kamokuNamed(d, "現金")->setStartBalance(1000, 99);
    kamokuNamed(d, "資本金")->setStartBalance(1000, 99);
    const int32_t genkin = codeOf(d, "現金"), uriage = codeOf(d, "売上高");
    addShiwake(d, Date(2024, 5, 1), genkin, uriage, 500);
    addShiwake(d, Date(2024, 7, 1), codeOf(d, "給料手当"), genkin, 100);
    addShiwake(d, Date::kessanSeiridukiDate(), uriage, genkin, 20);
    return doc;
  }

  SuiiShisanController* openWindow()
  {
    session = app->documentController()->addDocument(books());
    flush();
    auto* info = qobject_cast<DocumentInfoController*>(session->documentInfoController());
    activate(info);
    QAbstractButton* button = info->buttonOfCommand(MainMenu::Command::ShowSuiiShisanWindow);
    EXPECT_TRUE(button && button->isEnabled());
    if (button) button->click();
    flush();
    auto* w = qobject_cast<SuiiShisanController*>(session->suiiShisanController());
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
  static QStringList row(const CyouhyouTableView* t, const QString& title)
  {
    QStringList out;
    const int r = rowOf(t, title);
    for (int c = 0; r >= 0 && c < t->model()->columnCount(); ++c) out << t->model()->index(r, c).data().toString();
    return out;
  }
  static QStringList headers(const CyouhyouTableView* t)
  {
    QStringList out;
    for (int c = 0; c < t->model()->columnCount(); ++c) out << t->model()->headerData(c, Qt::Horizontal).toString();
    return out;
  }

  DocumentSession* session = nullptr;
};

TEST_F(SuiiShisanControllerTest, MonthColumnsOfEachSection)
{
  SuiiShisanController* w = openWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->windowTitle().contains(QStringLiteral(" - 年間推移試算表"))) << w->windowTitle().toStdString();
  ASSERT_EQ(w->tabView()->count(), 3);
  const QStringList months{"4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月", "1月", "2月", "3月"};
  EXPECT_EQ(headers(w->taisyakuTaisyouTableView()),
            (QStringList{"勘定科目", "開始残高"} + months + QStringList{"決算整理月"}));
  EXPECT_EQ(headers(w->sonekiKeisanTableView()),
            (QStringList{"勘定科目"} + months + QStringList{"決算整理月", "合計"}));
  // The figures themselves are the core's to pin; the table shows them as cells.
  EXPECT_EQ(row(w->taisyakuTaisyouTableView(), "現金").last(), "1,380");
  // A heading shows its caption alone and is tinted.
  EXPECT_EQ(row(w->sonekiKeisanTableView(), "売上高").join(""), "売上高");
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
  pl->selectRow(rowOf(pl, "　　売上高合計"));
  w->showKanjyoumotocyouOfSelectedKamoku();
  flush();
  int ledgers = 0;
  for (WindowController* wc : session->windowControllers())
    ledgers += qobject_cast<KanjyoumotocyouController*>(wc) != nullptr;
  EXPECT_EQ(ledgers, 0);
  pl->selectRow(rowOf(pl, "　売上高"));
  w->showKanjyoumotocyouOfSelectedKamoku();
  flush();
  KanjyoumotocyouController* ledger = nullptr;
  for (WindowController* wc : session->windowControllers())
    if (auto* l = qobject_cast<KanjyoumotocyouController*>(wc)) ledger = l;
  ASSERT_TRUE(ledger);
  EXPECT_EQ(ledger->displayPeriodFromMonthArrayIndex(), 0);
  EXPECT_EQ(ledger->displayPeriodToMonthArrayIndex(), 12);
}

TEST_F(SuiiShisanControllerTest, TheShownSectionExportsEveryMonth)
{
  SuiiShisanController* w = openWindow();
  ASSERT_TRUE(w);
  w->tabView()->setCurrentIndex(1);
  const QString file = path("monthly.txt");
  ReportTextExportSheet::setResponderForTesting([&](int32_t, int32_t& kugiri) {
    kugiri = 1;
    return file;
  });
  w->saveToTextFile();
  flush();
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray data = f.readAll();
  std::string expected;
  ASSERT_TRUE(
      ShiftJisEncoder::encode("売上高,,,,,,,,,,,,,,\r"
                              "　売上高,0,500,0,0,0,0,0,0,0,0,0,0,-20,480\r"
                              "　　売上高合計,0,500,0,0,0,0,0,0,0,0,0,0,-20,480\r",
                              expected));
  EXPECT_TRUE(data.startsWith(QByteArray::fromStdString(expected))) << data.left(200).toStdString();
}

TEST_F(SuiiShisanControllerTest, MonthlyPrintoutInColumnGroups)
{
  auto doc = books();
  SuiiShisan s(*doc);
  s.setSuiiShisanArryForJigyoubuCode(99, true);
  SuiiShisanPrintView::SectionChoice choice{true, false, false};
  auto view =
      SuiiShisanPrintView::create(*doc, a4Landscape(), s.taisyakuTaisyouShisanArray(), s.sonekiKeisanShisanArray(),
                                  s.seizouGenkaShisanArray(), 3, [&] { return choice; });
  ASSERT_TRUE(view);
  // 14 amount columns in groups of 3: five pages per block of rows.
  const auto& p = view->paginator();
  ASSERT_EQ(p.pagePerLine(), 5);
  const int blocks = static_cast<int>(p.chosenPages(true, false, false).size()) / 5;
  ASSERT_GE(blocks, 1);
  const QString pdf = path("monthly.pdf");
  ASSERT_TRUE(PrintOperation::writePdf(pdf, *view, a4Landscape()));
  EXPECT_EQ(pdfPageCount(pdf), blocks * 5);
  const QString first = pdfPageText(pdf, 1);
  EXPECT_TRUE(first.contains("年間推移試算表 - 貸借対照表"));
  EXPECT_TRUE(first.contains("開始残高") && first.contains("4月") && first.contains("5月"));
  EXPECT_FALSE(first.contains("6月"));
  const QString fifth = pdfPageText(pdf, 5);
  EXPECT_TRUE(fifth.contains("3月") && fifth.contains("決算整理月"));
  EXPECT_TRUE(fifth.contains("1,380"));
  EXPECT_FALSE(fifth.contains("開始残高"));

  // Only the income statement: its pages alone, numbered from 1.
  choice = {false, true, false};
  ASSERT_TRUE(PrintOperation::writePdf(pdf, *view, a4Landscape()));
  const QString income = pdfPageText(pdf, 1);
  EXPECT_TRUE(income.contains("年間推移試算表 - 損益計算書"));
  EXPECT_FALSE(runTool("pdftotext", {pdf, "-"}).contains("貸借対照表"));
}

TEST_F(SuiiShisanControllerTest, PinnedFiguresPrintThePrecisionText)
{
  auto doc = makeTrialBooks(ChartKind::HoujinOlder);
  const int64_t max = doc->kaisya().maxOutputAmountValue();
  addShiwake(*doc, Date(2024, 4, 1), codeOf(*doc, "現金"), codeOf(*doc, "短期借入金"), max);
  addShiwake(*doc, Date(2024, 4, 2), codeOf(*doc, "普通預金"), codeOf(*doc, "短期借入金"), max);
  SuiiShisan s(*doc);
  s.setSuiiShisanArryForJigyoubuCode(99, true);
  auto view = SuiiShisanPrintView::create(*doc, a4Landscape(), s.taisyakuTaisyouShisanArray(), {}, {}, 3, {});
  ASSERT_TRUE(view);
  const QString pdf = path("precision.pdf");
  ASSERT_TRUE(PrintOperation::writePdf(pdf, *view, a4Landscape()));
  const QString text = pdfPageText(pdf, 1);
  EXPECT_TRUE(text.contains("#Precision!"));
  EXPECT_FALSE(text.contains("1,000,000,000,000"));
}

TEST_F(SuiiShisanControllerTest, TrialBalancePrintoutOfTheTickedSections)
{
  auto doc = books();
  ZandakaShisanAssembly a(*doc);
  a.setZandakaShisanArrayForJigyoubuCode(99, 1, 12, false);
  ZandakaShisanPrintView::SectionChoice choice;
  const QPageLayout portrait = PrintInfo::defaultPageLayout();
  auto view =
      ZandakaShisanPrintView::create(*doc, portrait, a.taisyakuTaisyouShisanArray(), a.sonekiKeisanShisanArray(),
                                     a.seizouGenkaShisanArray(), 1, 12, [&] { return choice; });
  ASSERT_TRUE(view);
  const QString pdf = path("trial.pdf");
  ASSERT_TRUE(PrintOperation::writePdf(pdf, *view, portrait));
  const QString all = pdfText(pdf);
  for (const char* title :
       {"合計残高試算表 - 貸借対照表", "合計残高試算表 - 損益計算書", "合計残高試算表 - 製造原価報告書"})
    EXPECT_TRUE(all.contains(QString::fromUtf8(title))) << title;
  EXPECT_TRUE(all.contains("5月 〜 決算整理月"));
  EXPECT_TRUE(all.contains("勘定科目") && all.contains("比率"));

  choice = {false, true, false};
  EXPECT_EQ(view->pageCount(), static_cast<int>(view->paginator().chosenPages(false, true, false).size()));
  ASSERT_TRUE(PrintOperation::writePdf(pdf, *view, portrait));
  const QString income = pdfText(pdf);
  EXPECT_TRUE(income.contains("合計残高試算表 - 損益計算書"));
  EXPECT_FALSE(income.contains("貸借対照表"));
  EXPECT_FALSE(income.contains("製造原価報告書"));
}

}  // namespace
}  // namespace kivo::test

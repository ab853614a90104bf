// The journal and ledger printouts as paper shows them: rendered to PDF offscreen and
// read back with pdftotext and pdfinfo; the ledger window's print and preview, the
// preview window and the sheets that choose several ledgers.
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <cmath>
#include <optional>
#include <set>

#include "app/DocumentInfoController.h"
#include "document/ChangedAccounts.h"
#include "document/gui/PrintProgressSheet.h"
#include "document/gui/ProgressStateController.h"
#include "entry/gui/SuitoucyouController.h"
#include "fields/gui/ModalDriver.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/gui/JournalWindowTest.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/KanjyoumotocyouPreviewController.h"
#include "journal/gui/KanjyoumotocyouPrintAccessory.h"
#include "journal/gui/KanjyoumotocyouPrintView.h"
#include "journal/gui/SelectPluralHojyoKamokuController.h"
#include "journal/gui/SelectPluralKamokuController.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "journal/gui/ShiwakenikkiPrintView.h"
#include "platform/ModalSession.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "platform/PrintPreviewView.h"
#include "platform/QtStrings.h"
#include "support/PaperChosenInPanel.h"
#include "support/PdfText.h"
#include "support/ShowWatch.h"
#include "support/SlowMachine.h"
#include "support/TypedAhead.h"

namespace kivo::test {
namespace {

// The heading of a ledger as PDF text reads it.
QRegularExpression heading(const char* name)
{
  return QRegularExpression(QStringLiteral("勘定科目：\\s*") + QString::fromUtf8(name));
}

// A small paper, so that a ledger of a few entries runs over pages.
QPageLayout smallPaper(double height = 300.0)
{
  return QPageLayout(QPageSize(QSizeF(420.0, height), QPageSize::Point), QPageLayout::Portrait,
                     QMarginsF(20, 20, 20, 20), QPageLayout::Point);
}

class LedgerPrintTest : public JournalWindowTest {
protected:
  void TearDown() override
  {
    PrintOperation::setPrintPanelResponderForTesting({});
    PrintOperation::setPageSetupResponderForTesting({});
    for (const char* key : {KIVOKanjyoumotocyouPrintInfoKey, KIVOShiwakenikkiPrintInfoKey})
      UserDefaults::standardUserDefaults().removeObjectForKey(key);
    JournalWindowTest::TearDown();
  }

  // Sends what the print panel prints to a PDF file, noting the accessory it showed;
  // answers the file's path.
  QString printToPdf(const QString& name, QWidget** accessoryShown = nullptr)
  {
    const QString file = path(name);
    PrintOperation::setPrintPanelResponderForTesting([file, accessoryShown](QPrinter& printer, QWidget* accessory) {
      if (accessoryShown) *accessoryShown = accessory;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      return true;
    });
    return file;
  }

  // The journal window showing every entry, its condition sheet dismissed.
  ShiwakenikkiController* showJournalOfEveryEntry()
  {
    auto* journal = ShiwakenikkiController::showShiwakenikkiWindow(session);
    flush();
    if (SheetController* condition = journal->attachedSheetController()) condition->abortSheet();
    journal->setDisplayState(ShiwakenikkiController::kShowAndSelectFirstRow);
    journal->setDisplayShiwakeArray();
    return journal;
  }

  DocumentInfoController* info() const
  {
    return qobject_cast<DocumentInfoController*>(session->documentInfoController());
  }
  KanjyoumotocyouPrintAccessory* accessory() const { return KanjyoumotocyouPrintAccessory::of(session); }

  // Cash sales of 1,000 each on the first days of April, then a May sale.
  void registerSales(int count)
  {
    for (int i = 0; i < count; ++i)
      registerVoucher(Date(2024, 4, 1 + i % 28), kGenkin, kUriagedaka, 1000, "売上" + std::to_string(i + 1));
    registerVoucher(Date(2024, 5, 2), kGenkin, kUriagedaka, 500, "5月の売上");
  }

  std::vector<Motocyou> ledgerRows(int32_t kamoku, int32_t hojyo = -1)
  {
    return Kanjyoumotocyou::motocyouArray(books(), kamoku, hojyo, 0, 12);
  }
};

TEST_F(LedgerPrintTest, LedgersOverPagesPrintHeadingsCarriedBalancesAndNumbersPerLedgerOrOnwards)
{
  openEntryBooks(BooksOptions{.hojyoKamoku = true});
  books().kamokuOfCode(kGenkin)->setStartBalance(50000, Jigyoubu::kAllJigyoubuCode);
  registerSales(25);
  registerVoucher(Date(2024, 6, 3), {VoucherLine{kFutsuuYokin, 7000, kGenkin, 7000, "預入", 1, -1}});
  std::vector<Motocyou> rows = ledgerRows(kGenkin);
  const std::vector<Motocyou> sub = ledgerRows(kFutsuuYokin, 1);
  rows.insert(rows.end(), sub.begin(), sub.end());
  using Numbering = KanjyoumotocyouPrintView::PageNumbering;
  for (const Numbering c : {Numbering{false, 1}, Numbering{true, 10}}) {
    auto view = KanjyoumotocyouPrintView::create(books(), smallPaper(), rows, 0, 12, [c] { return c; });
    ASSERT_TRUE(view);
    const QString file = path(QStringLiteral("ledgers-%1.pdf").arg(c.startNumber));
    ASSERT_TRUE(PrintOperation::writePdf(file, *view, smallPaper()));
    const int n = view->pageCount();
    ASSERT_GE(n, 3);
    ASSERT_EQ(pdfPageCount(file), n);
    const QStringList pages = pdfText(file).split('\f');
    for (int p = 0; p < n; ++p) {
      // Every page: the title, the heading of its ledger, the column titles, its number;
      // the sub ledger has one page of its own, the last. PDF text has no space
      // characters: the ideographic space reads as a gap.
      for (const char* t : {"総勘定元帳", "日付", "相手勘定"}) EXPECT_TRUE(pages[p].contains(t)) << p << t;
      EXPECT_TRUE(pages[p].contains(heading(p < n - 1 ? "現金" : "普通預金\\s*／\\s*みずほ銀行"))) << p;
      const int number = c.continuous ? c.startNumber + p : p < n - 1 ? p + 1 : 1;
      EXPECT_TRUE(pages[p].contains(QRegularExpression(QStringLiteral("\\n\\s+%1\\s*\\n").arg(number)))) << p;
    }
    EXPECT_FALSE(pages[n - 2].contains("普通預金 ／"));
    for (const char* t : {"開始残高", "50,000", "4月 〜 決算整理月"}) EXPECT_TRUE(pages[0].contains(t)) << t;
    // The next page carries the balance of the last entry of the page before.
    const auto& list = view->paginator().printingMotocyouArray();
    const size_t secondPage = static_cast<size_t>(view->paginator().rowsPerPage());
    ASSERT_EQ(list[secondPage + 1].motocyou.title(), "繰越金額");
    const QString carried =
        QString::fromStdString(books().kaisya().displayStringOfMemoryKingaku(list[secondPage + 1].motocyou.zandaka()));
    for (const QString& t : {QStringLiteral("繰越金額"), carried}) EXPECT_TRUE(pages[1].contains(t)) << t.toStdString();
    for (const char* t : {"売上25", "合計"}) EXPECT_TRUE(pages.join("").contains(t)) << t;
  }
}

TEST_F(LedgerPrintTest, TotalsBeyondTheOutputLimitPrintPrecisionTooSmallAPaperIsRefusedAndPageSetupsAreKept)
{
  openEntryBooks();
  for (int i = 0; i < 11; ++i) registerVoucher(Date(2024, 4, 1 + i), kGenkin, kUriagedaka, 99'999'999'999LL);
  auto view = KanjyoumotocyouPrintView::create(books(), PrintInfo::defaultPageLayout(), ledgerRows(kGenkin), 0, 12, {});
  ASSERT_TRUE(view);
  ASSERT_TRUE(PrintOperation::writePdf(path("precision.pdf"), *view, PrintInfo::defaultPageLayout()));
  const QString text = pdfText(path("precision.pdf"));
  // The month's and the period's debit sums and the last balances have left the limit.
  EXPECT_GE(text.count("#Precision!"), 3) << text.toStdString();
  EXPECT_FALSE(text.contains("1,099,999,999,989"));
  EXPECT_FALSE(text.contains("999,999,999,999"));
  EXPECT_TRUE(text.contains("99,999,999,999"));

  // A paper too small for five rows is refused.
  EXPECT_FALSE(KanjyoumotocyouPrintView::create(books(), smallPaper(150), ledgerRows(kGenkin), 0, 12, {}));
  EXPECT_FALSE(ShiwakenikkiPrintView::create(books(), smallPaper(150), books().journal().sortedByDate()));
  ASSERT_EQ(alerts.size(), 2u);
  for (const auto& a : alerts)
    EXPECT_EQ(std::pair(a.title, a.text),
              std::pair(QString("印刷できません"), QString("設定している用紙の印刷できる範囲が小さすぎます。")));

  // The page setup is stored per printout and read back.
  const QPageLayout chosen(QPageSize(QSizeF(300, 500), QPageSize::Point), QPageLayout::Landscape,
                           QMarginsF(10, 20, 30, 40), QPageLayout::Point);
  PrintOperation::setPageSetupResponderForTesting([&chosen](QPageLayout& layout) {
    layout = chosen;
    return true;
  });
  ASSERT_TRUE(PrintOperation::runPageSetup(nullptr, KIVOKanjyoumotocyouPrintInfoKey));
  const QPageLayout stored = PrintInfo::pageLayoutForKey(KIVOKanjyoumotocyouPrintInfoKey);
  EXPECT_EQ(
      std::tuple(stored.fullRect(QPageLayout::Point), stored.margins(QPageLayout::Point), stored.orientation()),
      std::tuple(chosen.fullRect(QPageLayout::Point), chosen.margins(QPageLayout::Point), QPageLayout::Landscape));
  EXPECT_EQ(PrintInfo::pageLayoutForKey(KIVOShiwakenikkiPrintInfoKey).pageSize().id(), QPageSize::A4);

  // Text that is not a layout reads as the default.
  QPageLayout layout;
  for (const char* bad : {"", "garbage", "page-layout-1;A4;595;842;portrait;300;0;300;0",
                          "page-layout-1;A4;x;842;portrait;1;1;1;1", "page-layout-1;A4;10;10;portrait;0;0;0;0"})
    EXPECT_FALSE(PrintInfo::unarchivePageLayout(QString::fromUtf8(bad), layout)) << bad;
}

TEST_F(LedgerPrintTest, FontsShrinkToTheWidthOfThePaperAndUnusedColumnsAreLeftOut)
{
  using Column = KanjyoumotocyouPrintView::Column;
  // What, the books, the created-type column, the paper width and the data text size
  // of the ledger (-1: between the limits; 0: refused).
  const BooksOptions both{.hojyoKamoku = true, .jigyoubu = true};
  const std::tuple<const char*, BooksOptions, bool, double, int> cases[] = {
      {"wide paper: the first sizes", {}, false, 3000.0, 16},
      {"A4, every column: the smallest sizes", both, true, 595.0, 5},
      {"A4: in between", both, false, 595.0, -1},
      {"narrow paper: too wide even at the smallest sizes", both, true, 200.0, 0},
  };
  for (const auto& [what, options, createdType, paperWidth, ledgerData] : cases) {
    openEntryBooks(options);
    UserDefaults::standardUserDefaults().setBool(createdType, KIVOKanjyoumotocyouShowCreatedTypeKey);
    const QPageLayout layout(QPageSize(QSizeF(paperWidth, 842.0), QPageSize::Point), QPageLayout::Portrait,
                             QMarginsF(36, 36, 36, 36), QPageLayout::Point);
    auto ledger = KanjyoumotocyouPrintView::create(books(), layout, ledgerRows(kGenkin), 0, 12, {});
    auto journal = ShiwakenikkiPrintView::create(books(), layout, {});
    if (ledgerData == 0) {
      EXPECT_EQ(
          std::tuple(ledger == nullptr, journal == nullptr, lastAlert().toStdString()),
          std::tuple(true, true, std::string("印刷できません / 設定している用紙の印刷できる範囲が小さすぎます。")))
          << what;
      continue;
    }
    ASSERT_TRUE(ledger && journal) << what;
    if (ledgerData > 0) {
      EXPECT_EQ(std::pair(ledger->dataTextSize(), ledger->titleTextSize()), std::pair(ledgerData, ledgerData + 2))
          << what;
    } else {
      EXPECT_GT(ledger->dataTextSize(), 5) << what;
      EXPECT_LT(ledger->dataTextSize(), 16) << what;
    }
    const double printable = paperWidth - 72.0;
    EXPECT_LE(ledger->bands().tableWidth + 0.5, printable) << what;
    EXPECT_LE(journal->bands().tableWidth + 0.5, printable) << what;
    EXPECT_EQ(ledger->columnWidth(Column::CreatedType) > 0, createdType) << what;
    EXPECT_EQ(ledger->columnWidth(Column::AiteHojyoKamoku) > 0, options.hojyoKamoku) << what;
    EXPECT_EQ(ledger->columnWidth(Column::AiteJigyoubu) > 0, options.jigyoubu) << what;
    EXPECT_EQ(ledger->columnWidth(Column::Jigyoubu) > 0, options.jigyoubu) << what;
    // The journal's amount columns are never narrower than its account columns.
    EXPECT_GE(journal->columnWidth(ShiwakenikkiPrintView::KarikataKingaku),
              journal->columnWidth(ShiwakenikkiPrintView::KarikataKamoku))
        << what;
  }
}

TEST_F(LedgerPrintTest, TheLedgerWindowPrintsAndPreviewsItsLedgerPageByPage)
{
  openEntryBooks();
  registerSales(25);
  KanjyoumotocyouController* w = KanjyoumotocyouController::showKanjyoumotocyouWindow(session);
  flush();
  QAction* previewItem = w->functionMenuAction(qs(KanjyoumotocyouController::kShowPrintPreviewTitle));
  w->validateMenuItems();
  EXPECT_FALSE(previewItem->isEnabled());
  w = KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kGenkin, -1);
  flush();
  EXPECT_TRUE(w->validatePrintMenuItem());
  w->validateMenuItems();
  EXPECT_TRUE(previewItem->isEnabled());

  // Printing numbers per ledger from 1, whatever the accessory said before.
  accessory()->setKanjyoumotocyouPrintAccessoryViewOnStatePageNumberRadioButtonCellRow(1, 40);
  PrintInfo::setPageLayoutForKey(smallPaper(), KIVOKanjyoumotocyouPrintInfoKey);
  const QString file = printToPdf("window.pdf");
  w->printDocument();
  EXPECT_FALSE(accessory()->doPrintContinuousPageNumberOnKanjyoumotocyou());
  EXPECT_GE(pdfPageCount(file), 2);
  EXPECT_TRUE(pdfText(file).contains("売上25"));

  // The preview steps through the pages and renumbers at once.
  auto view = KanjyoumotocyouPrintView::create(books(), smallPaper(), ledgerRows(kGenkin), 0, 12, [this] {
    return KanjyoumotocyouPrintView::PageNumbering{accessory()->doPrintContinuousPageNumberOnKanjyoumotocyou(),
                                                   accessory()->startPrintPageNumberOnKanjyoumotocyou()};
  });
  ASSERT_NE(view, nullptr);
  const int n = view->pageCount();
  ASSERT_GE(n, 2);
  auto* preview = KanjyoumotocyouPreviewController::previewControllerOfDocument(session);
  EXPECT_EQ(preview, KanjyoumotocyouPreviewController::previewControllerOfDocument(session));
  accessory()->resetKanjyoumotocyouPrintAccessoryView();
  preview->setPrintView(view.get());
  EXPECT_EQ(std::pair(preview->pagesField()->text(), preview->pageNo()), std::pair(QStringLiteral("of %1").arg(n), 1));
  // 140 %: the page is drawn 1.4 times its size in points.
  EXPECT_EQ(preview->previewView()->width(), static_cast<int>(std::ceil(420 * 1.4)));

  const int beeps = AlertSheet::beepCountForTesting();
  preview->pageUp();
  EXPECT_EQ(AlertSheet::beepCountForTesting(), beeps + 1);
  for (int i = 1; i < n; ++i) preview->pageDown();
  EXPECT_EQ(preview->pageNo(), n);
  preview->pageDown();
  EXPECT_EQ(AlertSheet::beepCountForTesting(), beeps + 2);

  preview->continuousNumberingButton()->click();
  EXPECT_TRUE(accessory()->doPrintContinuousPageNumberOnKanjyoumotocyou());
  preview->startPageNumberField()->setValue(7);
  emit preview->startPageNumberField()->editingFinished();
  EXPECT_EQ(accessory()->startPrintPageNumberOnKanjyoumotocyou(), 7);
  const QImage page = preview->previewView()->grab().toImage();
  EXPECT_EQ(page.pixelColor(2, 2), QColor(Qt::white));
  preview->endKanjyoumotocyouPreviewWindow();
  EXPECT_FALSE(preview->isVisible());
}

TEST_F(LedgerPrintTest, TheAccountSheetMovesWholeCategoriesAndPrintsTheChosenLedgers)
{
  openEntryBooks();
  registerSales(3);
  info()->selectPluralKamokuThenPrintKanjyoumotocyou();
  auto* sheet = SelectPluralKamokuController::controllerOfDocument(session);
  ASSERT_TRUE(sheet->isSheetAttached());
  EXPECT_EQ(std::tuple(sheet->selectedOutlineView()->topLevelItemCount(), sheet->okButtonWidget()->isEnabled(),
                       sheet->monthToPopUp()->currentText()),
            std::tuple(0, false, QString("決算整理月")));

  // Every active account can be reached in the not-chosen outline.
  size_t all = 0;
  for (int i = 0; i < sheet->unselectedOutlineView()->topLevelItemCount(); ++i)
    all += LedgerChoiceTree::ledgersOfItems({sheet->unselectedOutlineView()->topLevelItem(i)}).size();
  const auto& kamoku = books().codeSortedKamokuArray();
  EXPECT_EQ(all, static_cast<size_t>(
                     std::count_if(kamoku.begin(), kamoku.end(), [](const KamokuPtr& k) { return k->isActive(); })));

  // A drop from the same outline, or from elsewhere, is refused.
  QTreeWidgetItem* first = sheet->unselectedOutlineView()->topLevelItem(0);
  std::unique_ptr<QMimeData> data(sheet->unselectedOutlineView()->mimeDataOfItems({first}));
  EXPECT_FALSE(sheet->unselectedOutlineView()->acceptDrop(data.get(), sheet->unselectedOutlineView(), true));
  EXPECT_FALSE(sheet->selectedOutlineView()->acceptDrop(data.get(), nullptr, true));
  // Dragging the first category chooses all its accounts, 現金 among them.
  ASSERT_TRUE(sheet->selectedOutlineView()->acceptDrop(data.get(), sheet->unselectedOutlineView(), true));
  EXPECT_TRUE(books().kamokuOfCode(kGenkin)->isTempSelected());
  EXPECT_TRUE(sheet->okButtonWidget()->isEnabled());
  EXPECT_GT(sheet->selectedOutlineView()->topLevelItemCount(), 0);

  // OK prints the chosen ledgers that have something to show: here only 現金.
  PrintInfo::setPageLayoutForKey(smallPaper(), KIVOKanjyoumotocyouPrintInfoKey);
  QWidget* accessoryShown = nullptr;
  const QString file = printToPdf("chosen.pdf", &accessoryShown);
  sheet->continuousNumberingButton()->setChecked(true);
  sheet->okButtonWidget()->click();
  flush();
  EXPECT_FALSE(sheet->isSheetAttached());
  EXPECT_EQ(accessoryShown, accessory()->kanjyoumotocyouPrintAccessoryView());
  EXPECT_TRUE(accessory()->doPrintContinuousPageNumberOnKanjyoumotocyou());
  const QString text = pdfText(file);
  EXPECT_TRUE(text.contains(heading("現金")));
  EXPECT_FALSE(text.contains(heading("普通預金")));

  // Reopened, nothing is chosen; a choice without entries is refused with a message.
  info()->selectPluralKamokuThenPrintKanjyoumotocyou();
  EXPECT_FALSE(books().kamokuOfCode(kGenkin)->isTempSelected());
  sheet->setLedgersChosen({{kShoumouhinhi, -1}}, true);
  sheet->okButtonWidget()->click();
  flush();
  EXPECT_EQ(lastAlert(), "プリントを中止 / 指定した期間中に取引のある勘定科目がありません。");
}

// The page setup stored, A4 portrait; another paper chosen in the print panel: the
// journal, a ledger window's ledger and ledgers chosen in the sheet print on pages of
// that paper, every entry and column on them.
TEST_F(LedgerPrintTest, TheJournalAndLedgersAreLaidOutForThePaperChosenInThePanel)
{
  openEntryBooks();
  registerSales(30);
  ShiwakenikkiController* journal = showJournalOfEveryEntry();
  KanjyoumotocyouController* ledger =
      KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kGenkin, -1);
  flush();
  const auto chosenLedgers = [this] {
    info()->selectPluralKamokuThenPrintKanjyoumotocyou();
    auto* sheet = SelectPluralKamokuController::controllerOfDocument(session);
    sheet->setLedgersChosen({{kGenkin, -1}, {kUriagedaka, -1}}, true);
    sheet->okButtonWidget()->click();
    flush();
  };
  const std::tuple<const char*, std::function<void()>, QStringList> printouts[] = {
      {"journal", [journal] { journal->printDocument(); }, {"借方金額", "貸方金額", "摘要"}},
      {"ledger", [ledger] { ledger->printDocument(); }, {"借方金額", "貸方金額", "残高"}},
      {"chosen ledgers", chosenLedgers, {"借方金額", "貸方金額", "残高", "売上高"}},
  };
  // Every entry, by its description.
  QStringList entries{"5月の売上"};
  for (int i = 1; i <= 30; ++i) entries << QStringLiteral("売上%1(?!\\d)").arg(i);
  for (const PaperChosenInPanel& paper : kPapersChosenInPanel)
    for (const auto& [name, print, columns] : printouts) {
      SCOPED_TRACE(std::string(paper.name) + " " + name);
      EXPECT_EQ(printedOnPaperChosenInPanel(paper, path("paper.pdf"), print, entries + columns),
                std::pair(std::string(), std::string()));
    }
}

// Books with divisions and sub-accounts and the created type shown: a ledger's table
// at its widest. Paper that cannot hold a table across at the smallest fonts is
// refused after the print panel, as paper too short is, and nothing prints; paper
// that holds it prints every column whole, within the paper and the table's frame.
TEST_F(LedgerPrintTest, ALedgerOrJournalTooWideForThePaperChosenIsRefusedAndOneThatFitsPrintsEveryColumn)
{
  openEntryBooks(BooksOptions{.hojyoKamoku = true, .jigyoubu = true});
  UserDefaults::standardUserDefaults().setBool(true, KIVOKanjyoumotocyouShowCreatedTypeKey);
  registerVoucher(Date(2024, 4, 3), {VoucherLine{kGenkin, 3379, kUriagedaka, 3379, "製品売上", -1, -1, 1, 2}});
  registerVoucher(Date(2024, 4, 10), {VoucherLine{kFutsuuYokin, 1250000, kGenkin, 1250000, "預入", 1, -1, 2, 1}});
  registerVoucher(Date(2024, 5, 7), {VoucherLine{kGenkin, 98765432, kFutsuuYokin, 98765432,
                                                 "引出し　摘要の欄に入りきらない長い説明の続き", -1, 2, 1, 2}});
  const auto printLedger = [this](int32_t kamoku, int32_t hojyo) {
    return [this, kamoku, hojyo] { openLedger(kamoku, hojyo)->printDocument(); };
  };
  const auto printChosen = [this](bool hojyo, std::vector<SelectPluralLedgerSheet::Ledger> ledgers) {
    return [this, hojyo, ledgers] {
      SelectPluralLedgerSheet* sheet = nullptr;
      if (hojyo) {
        info()->selectPluralHojyoKamokuThenPrintHojyomotocyou();
        sheet = SelectPluralHojyoKamokuController::controllerOfDocument(session);
      } else {
        info()->selectPluralKamokuThenPrintKanjyoumotocyou();
        sheet = SelectPluralKamokuController::controllerOfDocument(session);
      }
      sheet->setLedgersChosen(ledgers, true);
      sheet->okButtonWidget()->click();
      flush();
    };
  };
  // Each printout with the figures, names and texts of its entries.
  const QStringList all{"3,379", "1,250,000", "98,765,432", "本店", "支店", "みずほ銀行", "振伝"};
  const QStringList columns{"日付", "生成",   "相手勘定", "相手補助", "相手事業部",
                            "摘要", "事業部", "借方金額", "貸方金額", "残高"};
  ShiwakenikkiController* journal = showJournalOfEveryEntry();
  const QStringList journalColumns{"番号", "借方科目", "補助科目", "借方事業部", "貸方事業部", "摘要", "貸方金額"};
  // The papers the printout fits, as the table is wide (the journal's two lines an
  // entry make it narrower), and what its pages must show.
  const std::vector<QPageSize::PageSizeId> a4{QPageSize::A4};
  const std::tuple<const char*, std::function<void()>, std::vector<QPageSize::PageSizeId>, QStringList> printouts[] = {
      {"ledger", printLedger(kGenkin, -1), a4, columns + all},
      {"sub ledger", printLedger(kFutsuuYokin, 1), a4,
       columns + QStringList{"1,250,000", "本店", "支店", "現金", "みずほ銀行"}},
      {"ledgers", printChosen(false, {{kGenkin, -1}, {kFutsuuYokin, -1}, {kUriagedaka, -1}}), a4, columns + all},
      {"sub ledgers", printChosen(true, {{kFutsuuYokin, 1}, {kFutsuuYokin, 2}}), a4,
       columns + QStringList{"1,250,000", "98,765,432", "みずほ銀行", "三井住友銀行", "本店", "支店"}},
      {"journal",
       [journal] { journal->printDocument(); },
       {QPageSize::A4, QPageSize::A5},
       journalColumns + QStringList{"3,379", "1,250,000", "98,765,432", "本店", "支店", "三井住友銀行"}},
  };
  const QString file = path("wide.pdf");
  for (const PaperChosenInPanel paper : {PaperChosenInPanel{"A5", QPageSize::A5, QPageLayout::Portrait},
                                         PaperChosenInPanel{"A6", QPageSize::A6, QPageLayout::Portrait},
                                         PaperChosenInPanel{"B6", QPageSize::B6, QPageLayout::Portrait},
                                         PaperChosenInPanel{"A4", QPageSize::A4, QPageLayout::Portrait}}) {
    for (const auto& [name, print, fitsOn, shown] : printouts) {
      SCOPED_TRACE(std::string(paper.name) + " " + name);
      alerts.clear();
      const auto [offPaper, missing] = printedOnPaperChosenInPanel(paper, file, print, shown);
      if (std::find(fitsOn.begin(), fitsOn.end(), paper.size) == fitsOn.end()) {
        EXPECT_EQ(std::pair(QFile::exists(file), lastAlert().toStdString()),
                  std::pair(false, std::string("印刷できません / 設定している用紙の印刷できる範囲が小さすぎます。")));
        continue;
      }
      EXPECT_EQ(std::tuple(offPaper, missing, textOutsideTable(file).toStdString(), lastAlert().toStdString()),
                std::tuple(std::string(), std::string(), std::string(), std::string()));
    }
  }
}

// Once an account is chosen (OK enabled), Return in the search field searches and
// does not print; in the empty field it is the sheet's OK.
TEST_F(LedgerPrintTest, AReturnThatSearchesTheAccountSheetDoesNotAlsoPrint)
{
  openEntryBooks();
  registerSales(1);
  info()->selectPluralKamokuThenPrintKanjyoumotocyou();
  auto* sheet = SelectPluralKamokuController::controllerOfDocument(session);
  sheet->setLedgersChosen({{kGenkin, -1}}, true);
  ASSERT_TRUE(sheet->okButtonWidget()->isEnabled());
  int panels = 0;  // print panels, each cancelled
  PrintOperation::setPrintPanelResponderForTesting([&panels](QPrinter&, QWidget*) { return ++panels < 0; });
  typeReturnIn(sheet->searchKamokuField(), QString::number(kUriagedaka));
  QTreeWidgetItem* found = sheet->unselectedOutlineView()->currentItem();
  EXPECT_EQ(std::tuple(sheet->isSheetAttached(), panels,
                       found ? found->data(0, LedgerChoiceTree::kKamokuCodeRole).toInt() : -1),
            std::tuple(true, 0, kUriagedaka));
  typeReturnIn(sheet->searchKamokuField(), {});
  EXPECT_EQ(std::pair(sheet->isSheetAttached(), panels), std::pair(false, 1));
}

TEST_F(LedgerPrintTest, TheSubAccountSheetMovesAnAccountsSubAccountsTogether)
{
  openEntryBooks(BooksOptions{.hojyoKamoku = true});
  info()->selectPluralHojyoKamokuThenPrintHojyomotocyou();
  auto* sheet = SelectPluralHojyoKamokuController::controllerOfDocument(session);
  ASSERT_TRUE(sheet->isSheetAttached());
  ASSERT_EQ(sheet->unselectedOutlineView()->topLevelItemCount(), 1);
  QTreeWidgetItem* yokin = sheet->unselectedOutlineView()->topLevelItem(0);
  EXPECT_EQ(std::pair(yokin->text(0), yokin->child(0)->text(1)), std::pair(QString("普通預金"), QString("01")));
  std::unique_ptr<QMimeData> data(sheet->unselectedOutlineView()->mimeDataOfItems({yokin}));
  ASSERT_TRUE(sheet->selectedOutlineView()->acceptDrop(data.get(), sheet->unselectedOutlineView(), true));
  EXPECT_EQ(sheet->unselectedOutlineView()->topLevelItemCount(), 0);
  EXPECT_EQ(sheet->selectedOutlineView()->topLevelItem(0)->childCount(), 2);
  // The month pop-ups: a "from" after the "to" goes back to it.
  sheet->monthToPopUp()->setCurrentIndex(2);
  sheet->monthFromPopUp()->setCurrentIndex(5);
  sheet->selectItemOfMonthFromPopUp();
  EXPECT_EQ(sheet->monthFromPopUp()->currentIndex(), 2);
  sheet->okButtonWidget()->click();
  flush();
  EXPECT_EQ(lastAlert(), "プリントを中止 / 指定した期間中に取引のある補助科目科目がありません。");
}

TEST_F(LedgerPrintTest, TheJournalWindowPrintsWhatItShowsWithProgressAndRefusesNothing)
{
  openEntryBooks();
  auto* journal = ShiwakenikkiController::showShiwakenikkiWindow(session);
  flush();
  if (SheetController* condition = journal->attachedSheetController()) condition->abortSheet();
  flush();
  EXPECT_FALSE(journal->validatePrintMenuItem());
  journal->printDocument();
  EXPECT_EQ(lastAlert(), "印刷できません / 印刷する仕訳がありません。");

  // Two lines an entry, with the headings on every page.
  registerSales(30);
  journal->setDisplayState(ShiwakenikkiController::kShowAndSelectFirstRow);
  journal->setDisplayShiwakeArray();
  ASSERT_TRUE(journal->validatePrintMenuItem());
  PrintInfo::setPageLayoutForKey(smallPaper(420), KIVOShiwakenikkiPrintInfoKey);
  const QString file = printToPdf("journal-window.pdf");
  journal->printDocument();
  const auto journalView = ShiwakenikkiPrintView::create(books(), smallPaper(420), {});
  ASSERT_TRUE(journalView);
  const int perPage = journalView->paginator().rowsPerPage();
  ASSERT_EQ(pdfPageCount(file), (31 + perPage - 1) / perPage);
  const QStringList pages = pdfText(file).split('\f');
  for (int p = 0; p < pdfPageCount(file); ++p)
    for (const char* t : {"仕訳日記帳", "借方科目", "番号"}) EXPECT_TRUE(pages[p].contains(t)) << p << t;
  // Japanese text copies out as the characters printed.
  for (const char* t : {"現金", "売上高", "日付"}) EXPECT_TRUE(pages[0].contains(t)) << t;
  EXPECT_TRUE(pages.join("").contains("売上30"));
  EXPECT_FALSE(pages.join("").contains(QChar(0x2F47)));  // the radical 日, not the kanji

  // A long printout shows the progress sheet, and its Cancel stops it.
  {
    PrintProgressSheet sheet(session, info());
    const PrintOperation::Progress progress = sheet.progress();
    EXPECT_TRUE(progress(0, PrintProgressSheet::kPagesWithoutSheet));
    EXPECT_FALSE(sheet.wasShown());
  }
  {
    // Pages come faster than the sheet is redrawn; the last one brings it up to date.
    PrintProgressSheet sheet(session, info());
    const PrintOperation::Progress progress = sheet.progress();
    for (int done = 0; done <= 40; ++done) EXPECT_TRUE(progress(done, 40));
    EXPECT_EQ(session->progressStateController()->progressIndicatorValue(), 40.0);
  }
  PrintProgressSheet sheet(session, info());
  const PrintOperation::Progress progress = sheet.progress();
  EXPECT_TRUE(progress(0, 40));
  EXPECT_TRUE(sheet.wasShown());
  ProgressStateController* sheetWindow = session->progressStateController();
  EXPECT_TRUE(sheetWindow->isRunningModalSession());
  EXPECT_TRUE(sheetWindow->cancelButton()->isEnabled());
  EXPECT_TRUE(progress(1, 40));
  sheetWindow->cancelButton()->click();
  EXPECT_FALSE(progress(2, 40));
}

// A long print on a machine slower than this one, its sheet showing only once the
// print has lasted the delay. Escape typed at once after the print panel, before the
// sheet showed, cancels the print once the sheet has the keyboard, and nothing is
// written. A click on another window in the print's first half second acts on
// nothing in its middle: the journal stays main, the print goes on to its last page,
// and the window clicked becomes main only after it.
TEST_F(LedgerPrintTest, APrintOnASlowMachineIsCancelledByEscapeTypedAtOnceAndAClickElsewhereWaitsForItsEnd)
{
  openEntryBooks();
  registerSales(150);
  ShiwakenikkiController* journal = showJournalOfEveryEntry();
  PrintInfo::setPageLayoutForKey(smallPaper(420), KIVOShiwakenikkiPrintInfoKey);
  const auto journalView = ShiwakenikkiPrintView::create(books(), smallPaper(420), {});
  ASSERT_TRUE(journalView);
  const int perPage = journalView->paginator().rowsPerPage();
  const int pages = (151 + perPage - 1) / perPage;
  ASSERT_GT(pages, PrintProgressSheet::kPagesWithoutSheet);
  ProgressStateController* progress = session->progressStateController();

  for (const bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "Escape typed at once" : "a click on the information window");
    activate(journal);
    ASSERT_EQ(app->mainWindowController(), journal);
    const QString file = path(escape ? "cancelled.pdf" : "whole.pdf");
    bool sheetShown = false;
    ShowWatch watch(progress, [&] { sheetShown = true; });
    std::set<WindowController*> mainDuring;
    SlowMachine slow(3 * ModalSession::kShowDelay);
    PrintOperation::setPrintPanelResponderForTesting([&](QPrinter& printer, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      // Typed as the panel goes, or clicked once the print has begun, before its sheet
      // shows (the window system activating the window clicked).
      if (escape) typeAheadToKeyboard(Qt::Key_Escape);
      slow.start([&, clicked = false](qint64) mutable {
        if (!escape && !clicked && progress->isRunningModalSession()) {
          clicked = true;
          QWindowSystemInterface::handleWindowActivated<Queued>(info()->windowHandle());
          clickAhead(info()->centralWidget(), QPoint(4, 4));
        }
        mainDuring.insert(app->mainWindowController());
      });
      return true;
    });
    journal->printDocument();
    slow.stop();
    flush();
    EXPECT_TRUE(sheetShown);
    EXPECT_EQ(mainDuring, std::set<WindowController*>{journal});
    if (escape) {
      EXPECT_FALSE(QFile::exists(file));
    } else {
      EXPECT_EQ(pdfPageCount(file), pages);
      EXPECT_EQ(app->mainWindowController(), info());
    }
  }
}

// A print that a book behind joins: while the pages print under their sheet, a cash
// book in the background is brought up to date. The book's work leaves the sheet the
// print's, its text and its cancel button as the print set them, so that the print's
// cancel still cancels it, and nothing is written.
TEST_F(LedgerPrintTest, APrintThatABookBehindJoinsStaysThePrintsAndCanBeCancelled)
{
  openEntryBooks();
  registerSales(150);
  auto* book = SuitoucyouController::showSuitoucyouWindow(session, kGenkin, -1);
  flush();
  book->setDoUpdateZandakaEvenNotMainWindow(true);
  ShiwakenikkiController* journal = showJournalOfEveryEntry();
  activate(journal);
  PrintInfo::setPageLayoutForKey(smallPaper(420), KIVOShiwakenikkiPrintInfoKey);
  ProgressStateController* progress = session->progressStateController();
  const QString file = path("joined.pdf");
  PrintOperation::setPrintPanelResponderForTesting([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  });
  std::optional<std::tuple<QString, bool>> sheetAfterTheBook;
  SlowMachine slow(3 * ModalSession::kShowDelay);
  slow.start([&](qint64) {
    if (sheetAfterTheBook || !progress->isVisible()) return;
    // The 現金 book behind brought up to date in the middle of the print.
    ChangedAccounts accounts;
    accounts.add(kGenkin, -1);
    books().journalDidChangeAccounts(accounts);
    sheetAfterTheBook = std::tuple(progress->progressFieldStringValue(), progress->cancelButton()->isEnabled());
    progress->cancelButton()->click();
  });
  journal->printDocument();
  slow.stop();
  flush();
  ASSERT_TRUE(sheetAfterTheBook);
  EXPECT_EQ(*sheetAfterTheBook, std::tuple(QString::fromUtf8(PrintProgressSheet::kPrintingText), true));
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_FALSE(progress->isRunningModalSession());
  book->setDoUpdateZandakaEvenNotMainWindow(false);
}

}  // namespace
}  // namespace kivo::test

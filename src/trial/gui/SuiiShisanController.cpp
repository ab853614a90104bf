#include "trial/gui/SuiiShisanController.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "document/MyDocument.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/ReportTextExportSheet.h"
#include "fields/FieldValue.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "files/ReportTextExporter.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "platform/AlertSheet.h"
#include "platform/MainMenu.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/SheetController.h"
#include "platform/ShiftJisEncoder.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "setup/gui/JigyoubuListController.h"
#include "trial/ShisanTextFields.h"
#include "trial/gui/SuiiShisanPrintView.h"
#include "trial/gui/SuiiShisanTableModel.h"

namespace kivo {
namespace {

constexpr int kCellPadding = 18;

bool addKaishiZandakaToGoukei()
{
  return UserDefaults::standardUserDefaults().boolForKey(KIVOSuiiShisanAddKaishizandkaToGoukeiKey);
}

}  // namespace

SuiiShisanController::SuiiShisanController(OpenDocument* document)
    : ShisanSectionsWindowController(document, Kind::SuiiShisan,
                                     {kWindowMenuTitle, MainMenu::kSuiiShisanItemTitle, KIVOSuiiShisanWindowWidthKey,
                                      KIVOSuiiShisanWindowHeightKey}),
      suiiShisan_(document->document())
{
}

SuiiShisanController::~SuiiShisanController()
{
  stopTableViewKeyDown();
  // The tables read the builder's rows: they go before it does.
  delete takeCentralWidget();
}

SuiiShisanController* SuiiShisanController::showSuiiShisanWindow(OpenDocument* document)
{
  if (!document) return nullptr;
  if (auto* shown = qobject_cast<SuiiShisanController*>(document->suiiShisanController())) {
    shown->showWindow();
    return shown;
  }
  auto* window = new SuiiShisanController(document);
  document->addWindowController(window);
  window->moveWindowToInitialPositionWithDisplay(true);
  window->showWindow();
  window->setInitialContentsThenDisplay();
  return window;
}

// --- loading

CyouhyouTableView* SuiiShisanController::makeTableView(SuiiShisanTableModel*& model, const std::vector<Shisan>& rows,
                                                       bool closing)
{
  auto* tableView = new CyouhyouTableView(tabView_);
  model = new SuiiShisanTableModel(document()->document().kaisya(), rows, closing, tableView);
  tableView->setModel(model);
  tableView->setController(this);
  applyColumnWidths(tableView);
  connect(tableView, &QAbstractItemView::doubleClicked, this, [this] { showKanjyoumotocyouOfSelectedKamoku(); });
  connect(tableView->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
          [this, tableView](int logical) { moveTitleColumnToDoubleClickedColumnOfTableView(tableView, logical); });
  return tableView;
}

void SuiiShisanController::applyColumnWidths(CyouhyouTableView* tableView)
{
  const QFontMetrics fm = tableView->fontMetrics();
  const QFontMetrics heading = tableView->horizontalHeader()->fontMetrics();
  const int title = fm.horizontalAdvance(QString(13, QChar(0x5B57))) + kCellPadding;
  const int amount = std::max({fm.horizontalAdvance(QStringLiteral("-999,999,999,999")),
                               fm.horizontalAdvance(QStringLiteral("#Precision!")),
                               heading.horizontalAdvance(QStringLiteral("決算整理月"))}) +
                     kCellPadding;
  QHeaderView* header = tableView->horizontalHeader();
  header->setStretchLastSection(false);
  header->setSectionsMovable(false);
  for (int i = 0; i < header->count(); ++i) {
    header->resizeSection(i, i == 0 ? title : amount);
    header->setSectionResizeMode(i, i == 0 ? QHeaderView::Interactive : QHeaderView::Fixed);
  }
}

void SuiiShisanController::buildLayout()
{
  const Body body = makeBodyWithJigyoubuStrip(22);
  progressIndicator_ = new QProgressBar(body.stripView);
  progressIndicator_->setRange(0, 0);
  progressIndicator_->setTextVisible(false);
  progressIndicator_->setFixedSize(60, 10);
  progressIndicator_->hide();
  body.strip->addStretch(1);
  body.strip->addWidget(progressIndicator_);
  // The strip keeps its height without the division row.
  body.stripView->setMinimumHeight(displayingJigyoubuField_->sizeHint().height() + 12);
  addTabView(body);
  watchStripFields({displayingJigyoubuField_});
}

void SuiiShisanController::windowDidLoad()
{
  const Kaisya& kaisya = document()->document().kaisya();
  buildLayout();
  buildPrintTargetView();

  CyouhyouTableView* taisyakuTaisyou =
      makeTableView(taisyakuTaisyouModel_, suiiShisan_.taisyakuTaisyouShisanArray(), true);
  CyouhyouTableView* sonekiKeisan = makeTableView(sonekiKeisanModel_, suiiShisan_.sonekiKeisanShisanArray(), false);
  addSectionTabs(
      taisyakuTaisyou, sonekiKeisan,
      kaisya.isSeizou() ? makeTableView(seizouGenkaModel_, suiiShisan_.seizouGenkaShisanArray(), false) : nullptr);
  setUpJigyoubuField();
  if (jigyoubuFieldInUse_) textFieldArray_.push_back(displayingJigyoubuField_);
  indexOfSelectedTextField_ = 0;
  paintTextFieldHighlight(true);

  addNextTabShortcut();

  resize(900, 560);
  if (doNeedUpdate()) setInitialContentsThenDisplay();
}

// --- refresh

void SuiiShisanController::recomputeUI()
{
  if (!isWindowLoaded()) return;
  setDisplayingJigyoubuFieldValue();
  struct Table {
    CyouhyouTableView* view;
    SuiiShisanTableModel* model;
    int keep;
  };
  std::vector<Table> tables;
  for (auto [view, model] :
       {std::pair{taisyakuTaisyouTableView_, taisyakuTaisyouModel_},
        std::pair{sonekiKeisanTableView_, sonekiKeisanModel_}, std::pair{seizouGenkaTableView_, seizouGenkaModel_}})
    if (view) tables.push_back({view, model, view->selectedRow()});

  progressIndicator_->show();
  suiiShisan_.setSuiiShisanArryForJigyoubuCode(displayJigyoubuCode_, addKaishiZandakaToGoukei());
  progressIndicator_->hide();

  for (const Table& t : tables) {
    const int columns = t.model->columnCount();
    t.model->reloadData();
    if (t.model->columnCount() != columns) applyColumnWidths(t.view);
    const int n = t.model->rowCount();
    const int row = selectFirstRowAfterUpdate_ ? 0 : std::min(t.keep, n - 1);
    if (n > 0 && row >= 0) {
      t.view->selectRow(row);
      t.view->scrollTo(t.model->index(row, 0));
    }
  }
  selectFirstRowAfterUpdate_ = false;
  validateMenuItems();
}

// --- sections and tabs

const std::vector<Shisan>& SuiiShisanController::shisanArrayOfTableView(const CyouhyouTableView& tableView) const
{
  if (&tableView == taisyakuTaisyouTableView_) return suiiShisan_.taisyakuTaisyouShisanArray();
  if (&tableView == sonekiKeisanTableView_) return suiiShisan_.sonekiKeisanShisanArray();
  return suiiShisan_.seizouGenkaShisanArray();
}

// --- commands

void SuiiShisanController::showKanjyoumotocyouOfSelectedKamoku()
{
  const CyouhyouTableView* table = selectedTableView();
  if (!table) return;
  const std::vector<Shisan>& rows = shisanArrayOfTableView(*table);
  const int row = table->selectedRow();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  const int32_t kamokuCode = rows[static_cast<size_t>(row)].kamokuCode();
  if (kamokuCode < 1) return;
  if (document()->wasOpenedByLimitedUserPassword()) {
    AlertSheet::beep();
    return;
  }
  // The ledger of the whole term: the first month to the closing adjustment.
  openKanjyoumotocyou(kamokuCode, 0, static_cast<int32_t>(document()->document().kaisya().monthArray().size()));
}

void SuiiShisanController::moveTitleColumnToDoubleClickedColumnOfTableView(CyouhyouTableView* tableView,
                                                                           int logicalColumn)
{
  if (!tableView) return;
  QHeaderView* header = tableView->horizontalHeader();
  const int k = header->visualIndex(logicalColumn);
  const int t = header->visualIndex(0);
  if (k < 0 || k == t) return;
  const int target = k < t ? k : k - 1;
  header->moveSection(t, target);
  tableView->scrollTo(tableView->model()->index(std::max(tableView->selectedRow(), 0), header->logicalIndex(target)));
}

void SuiiShisanController::saveToTextFile()
{
  if (hasAttachedSheet()) return;
  const QString path = ReportTextExportSheet::runSavePanel(this);
  if (path.isEmpty()) return;
  const int64_t kugiriCode = UserDefaults::standardUserDefaults().integerForKey(KIVOExportTextKugiriCodeKey);
  const Kaisya& kaisya = document()->document().kaisya();
  const ReportTextExporter exporter(ReportTextExporter::kugiriOfCode(static_cast<int32_t>(kugiriCode)));
  const CyouhyouTableView* table = selectedTableView();
  const std::vector<Shisan> rows = table ? shisanArrayOfTableView(*table) : std::vector<Shisan>();
  const std::string target = QFile::encodeName(path).toStdString();
  const auto lines =
      SuiiShisan::textLines(ShisanTextFields(kaisya), rows, static_cast<int32_t>(kaisya.monthArray().size()));
  ReportTextExportSheet::writeWithProgress(document(), this, [&](const ReportTextExporter::ContinuePoll& poll) {
    return exporter.writeLines(lines, target, ShiftJisEncoder::encoder(), poll);
  });
}

// --- printing

void SuiiShisanController::pageSetupForSuiiShisan() { PrintOperation::runPageSetup(this, KIVOSuiiShisanPrintInfoKey); }

void SuiiShisanController::printSuiiShisan()
{
  loadWindowIfNeeded();
  if (hasAttachedSheet()) return;
  // Every box cleared and enabled; the shown section's ticked and fixed.
  for (QCheckBox* box : {printTaisyakuTaisyouCheckbox_, printSonekiKeisanCheckbox_, printSeizouGenkaCheckbox_}) {
    box->setChecked(false);
    box->setEnabled(true);
  }
  printSeizouGenkaCheckbox_->setVisible(hasSeizouGenkaTab());
  printSeizouGenkaCheckbox_->setEnabled(hasSeizouGenkaTab());
  if (hasSeizouGenkaTab()) printSeizouGenkaCheckbox_->setText(tabView_->tabText(2));
  const QString shown = selectedTabIdentifier();
  QCheckBox* fixed = shown == qs(kTaisyakuTaisyouTab) ? printTaisyakuTaisyouCheckbox_
                     : shown == qs(kSonekiKeisanTab)  ? printSonekiKeisanCheckbox_
                                                      : printSeizouGenkaCheckbox_;
  fixed->setChecked(true);
  fixed->setEnabled(false);

  const MyDocument& books = document()->document();
  const int64_t monthPerPage = UserDefaults::standardUserDefaults().integerForKey(KIVOSuiiShisanPrintMonthPerPageKey);
  // The sections as they stand when the panel opens.
  const SuiiShisan::Sections rows = suiiShisan_.sections();
  printSections(KIVOSuiiShisanPrintInfoKey, [&](const QPageLayout& paper, const auto& sections) {
    return SuiiShisanPrintView::create(books, paper, rows.taisyakuTaisyou, rows.sonekiKeisan, rows.seizouGenka,
                                       monthPerPage, sections);
  });
}

bool SuiiShisanController::typeOnTextField(QLineEdit* field, const QString& typed)
{
  // The strip has no other field: every key is taken.
  typeOnJigyoubuField(field, typed);
  return true;
}

// --- "機能" menu

const std::vector<QAction*>& SuiiShisanController::functionMenuActions()
{
  if (!functionActions_.empty()) return functionActions_;
  const auto add = [this](const char* title, std::function<void()> run, const QKeySequence& shortcut = {}) {
    addFunctionMenuAction(title, std::move(run), shortcut);
  };
  if (jigyoubuFieldInUse_) {
    add(
        kShowJigyoubuTitle, [this] { showJigyoubuFormatterListWindowForDisplayingJigyoubuField(); },
        MainMenu::keySequenceForKeyEquivalent(QStringLiteral("B"),
                                              MainMenu::kCommandKeyMask | MainMenu::kShiftKeyMask));
    functionActions_.push_back(nullptr);
  }
  add(kShowKanjyoumotocyouTitle, [this] { showKanjyoumotocyouOfSelectedKamoku(); });
  functionActions_.push_back(nullptr);
  add(kSaveToTextFileTitle, [this] { saveToTextFile(); });
  return functionActions_;
}

void SuiiShisanController::validateMenuItems()
{
  for (QAction* a : functionActions_) {
    if (!a) continue;
    if (a->text() == qs(kShowJigyoubuTitle))
      a->setEnabled(selectDisplayingJigyoubuButton_ && selectDisplayingJigyoubuButton_->isEnabled());
    else if (a->text() == qs(kShowKanjyoumotocyouTitle))
      a->setEnabled(!document()->wasOpenedByLimitedUserPassword());
    else
      a->setEnabled(true);
  }
}

}  // namespace kivo

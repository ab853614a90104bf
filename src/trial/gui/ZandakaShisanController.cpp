#include "trial/gui/ZandakaShisanController.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
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
#include "journal/gui/PeriodController.h"
#include "platform/AlertSheet.h"
#include "platform/MainMenu.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/SheetController.h"
#include "platform/ShiftJisEncoder.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "setup/gui/JigyoubuListController.h"
#include "setup/gui/PropertiesController.h"
#include "trial/ShisanTextFields.h"
#include "trial/gui/PeriodToPrintZandakaShisanController.h"
#include "trial/gui/ZandakaShisanPrintView.h"
#include "trial/gui/ZandakaShisanTableModel.h"

namespace kivo {
namespace {

// Room on either side of a cell's text.
constexpr int kCellPadding = 18;

}  // namespace

// The whole company, from the first month to the closing adjustment.
ZandakaShisanController::ZandakaShisanController(OpenDocument* document)
    : ShisanSectionsWindowController(document, Kind::ZandakaShisan,
                                     {kWindowMenuTitle, MainMenu::kZandakaShisanItemTitle,
                                      KIVOZandakaShisanWindowWidthKey, KIVOZandakaShisanWindowHeightKey}),
      assembly_(document->document())
{
}

ZandakaShisanController::~ZandakaShisanController()
{
  stopTableViewKeyDown();
  // The tables read the computation's rows: they go before it does.
  delete takeCentralWidget();
}

// --- opening

ZandakaShisanController* ZandakaShisanController::showZandakaShisanWindow(OpenDocument* document)
{
  if (!document) return nullptr;
  if (auto* shown = qobject_cast<ZandakaShisanController*>(document->zandakaShisanController())) {
    shown->showWindow();
    return shown;
  }
  if (!document->canShowFurikaedenpyouWindow()) return nullptr;
  auto* window = new ZandakaShisanController(document);
  document->addWindowController(window);
  window->moveWindowToInitialPositionWithDisplay(true);
  window->showWindow();
  if (UserDefaults::standardUserDefaults().boolForKey(KIVOZandakaShisanSetPeriodWhenShowWindowKey))
    window->setDisplayingPeriod();
  else
    window->setInitialContentsThenDisplay();
  return window;
}

// --- loading

CyouhyouTableView* ZandakaShisanController::makeTableView(ZandakaShisanTableModel*& model,
                                                          const std::vector<Shisan>& rows)
{
  auto* tableView = new CyouhyouTableView(tabView_);
  model = new ZandakaShisanTableModel(document()->document().kaisya(), rows, tableView);
  tableView->setModel(model);
  tableView->setController(this);
  applyColumnWidths(tableView);
  connect(tableView, &QAbstractItemView::doubleClicked, this, [this] { handleDoubleClickOnTableView(); });
  return tableView;
}

void ZandakaShisanController::applyColumnWidths(CyouhyouTableView* tableView)
{
  const QFontMetrics fm = tableView->fontMetrics();
  const QFontMetrics heading = tableView->horizontalHeader()->fontMetrics();
  // Room for the longest captions of the charts (法人税、住民税及び事業税 indented).
  const int title = fm.horizontalAdvance(QString(15, QChar(0x5B57))) + kCellPadding;
  const int amount = std::max({fm.horizontalAdvance(QStringLiteral("-999,999,999,999")),
                               fm.horizontalAdvance(QStringLiteral("#Precision!")),
                               heading.horizontalAdvance(QStringLiteral("開始残高"))}) +
                     kCellPadding;
  const int percent =
      std::max(fm.horizontalAdvance(QStringLiteral("-1000.00")), heading.horizontalAdvance(QStringLiteral("構成比"))) +
      kCellPadding;
  QHeaderView* header = tableView->horizontalHeader();
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(24);
  const QStringList& ids = ZandakaShisanTableModel::columnIdentifiers();
  for (int i = 0; i < ids.size(); ++i) {
    const QString& id = ids[i];
    header->resizeSection(i, id == QLatin1String("title") ? title : id == QLatin1String("percent") ? percent : amount);
    // The caption takes what the window has beyond the amounts.
    header->setSectionResizeMode(i, i == 0 ? QHeaderView::Stretch : QHeaderView::Interactive);
  }
}

int ZandakaShisanController::naturalWindowWidth() const
{
  const CyouhyouTableView* t = taisyakuTaisyouTableView_;
  int width = 0;
  for (int i = 0; i < t->horizontalHeader()->count(); ++i) width += t->horizontalHeader()->sectionSize(i);
  // The table's scroll bar and frame, and the tab view's frame around it.
  return width + t->verticalScrollBar()->sizeHint().width() + t->frameWidth() * 2 + 28;
}

void ZandakaShisanController::buildLayout()
{
  const Body body = makeBodyWithJigyoubuStrip(22);
  makePeriodStripWidgets(body.stripView, 14);
  body.strip->addSpacing(16);
  addPeriodStripWidgets(body.strip, body.stripView);
  addTabView(body);
  watchStripFields({displayingJigyoubuField_, displayingPeriodFromField_, displayingPeriodToField_});
  connect(selectDisplayingPeriodButton_, &QToolButton::clicked, this, [this] { setDisplayingPeriod(); });
}

void ZandakaShisanController::windowDidLoad()
{
  const Kaisya& kaisya = document()->document().kaisya();
  buildLayout();
  buildPrintTargetView();

  CyouhyouTableView* taisyakuTaisyou = makeTableView(taisyakuTaisyouModel_, assembly_.taisyakuTaisyouShisanArray());
  CyouhyouTableView* sonekiKeisan = makeTableView(sonekiKeisanModel_, assembly_.sonekiKeisanShisanArray());
  addSectionTabs(taisyakuTaisyou, sonekiKeisan,
                 kaisya.isSeizou() ? makeTableView(seizouGenkaModel_, assembly_.seizouGenkaShisanArray()) : nullptr);
  // The period row takes the division row's place when the division is hidden.
  setUpJigyoubuField();
  displayPeriodFromMonthArrayIndex_ = 0;
  displayPeriodToMonthArrayIndex_ = static_cast<int32_t>(kaisya.monthArray().size());
  setDisplayingPeriodFieldValue();

  if (jigyoubuFieldInUse_) textFieldArray_.push_back(displayingJigyoubuField_);
  textFieldArray_.push_back(displayingPeriodFromField_);
  textFieldArray_.push_back(displayingPeriodToField_);
  indexOfSelectedTextField_ = 0;
  paintTextFieldHighlight(true);

  addNextTabShortcut();

  resize(naturalWindowWidth(), 560);
  if (doNeedUpdate()) setInitialContentsThenDisplay();
}

// --- refresh

void ZandakaShisanController::recomputeUI()
{
  if (!isWindowLoaded()) return;
  setDisplayingJigyoubuFieldValue();
  setDisplayingPeriodFieldValue();

  struct Table {
    CyouhyouTableView* view;
    ZandakaShisanTableModel* model;
    int keep;
  };
  std::vector<Table> tables;
  for (auto [view, model] :
       {std::pair{taisyakuTaisyouTableView_, taisyakuTaisyouModel_},
        std::pair{sonekiKeisanTableView_, sonekiKeisanModel_}, std::pair{seizouGenkaTableView_, seizouGenkaModel_}})
    if (view) tables.push_back({view, model, view->selectedRow()});

  progressIndicator_->show();
  const bool kamokuDoNotShowIfNoTorihiki =
      UserDefaults::standardUserDefaults().boolForKey(KIVOZandakaShisanKamokuDoNotShowIfNoTorihikiKey);
  assembly_.setZandakaShisanArrayForJigyoubuCode(displayJigyoubuCode_, displayPeriodFromMonthArrayIndex_,
                                                 displayPeriodToMonthArrayIndex_, kamokuDoNotShowIfNoTorihiki);
  progressIndicator_->hide();

  for (const Table& t : tables) {
    t.model->reloadData();
    const int n = t.model->rowCount();
    const int row = selectFirstRowAfterUpdate_ ? 0 : std::min(t.keep, n - 1);
    if (n > 0 && row >= 0) t.view->selectRow(row);
  }
  selectFirstRowAfterUpdate_ = false;
  validateMenuItems();
}

// --- sections and tabs

const std::vector<Shisan>& ZandakaShisanController::shisanArrayOfTableView(const CyouhyouTableView& tableView) const
{
  if (&tableView == taisyakuTaisyouTableView_) return assembly_.taisyakuTaisyouShisanArray();
  if (&tableView == sonekiKeisanTableView_) return assembly_.sonekiKeisanShisanArray();
  return assembly_.seizouGenkaShisanArray();
}

// --- commands

void ZandakaShisanController::setDisplayingPeriod()
{
  selectTextField(displayingPeriodFromField_);
  if (refuseForSheet(
          [](const SheetController& s) { return s.metaObject()->inherits(&PropertiesController::staticMetaObject); }))
    return;
  if (hasAttachedSheet()) return;
  PeriodController* period = PeriodController::periodControllerOfDocument(document());
  // Before anything was computed the sheet cannot be cancelled.
  period->setDoHideCancelButton(taisyakuTaisyouShisanArray().empty() && sonekiKeisanShisanArray().empty() &&
                                seizouGenkaShisanArray().empty());
  period->beginSheetForWindow(this);
}

bool ZandakaShisanController::canOpenKanjyoumotocyou() const
{
  // A document opened with the limited-user password shows no ledgers.
  return !document()->wasOpenedByLimitedUserPassword();
}

void ZandakaShisanController::showKanjyoumotocyouOfSelectedKamoku()
{
  const CyouhyouTableView* table = selectedTableView();
  if (!table) return;
  const std::vector<Shisan>& rows = shisanArrayOfTableView(*table);
  const int row = table->selectedRow();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  // Headings, subtotals and totals are no accounts.
  if (!rows[static_cast<size_t>(row)].isKamokuRow()) return;
  const int32_t kamokuCode = rows[static_cast<size_t>(row)].kamokuCode();
  if (!canOpenKanjyoumotocyou()) {
    AlertSheet::beep();
    return;
  }
  // The ledger shows the account over the same months; the division is not handed on.
  openKanjyoumotocyou(kamokuCode, displayPeriodFromMonthArrayIndex_, displayPeriodToMonthArrayIndex_);
}

void ZandakaShisanController::saveToTextFile()
{
  if (hasAttachedSheet()) return;
  ReportTextExportSheet::exportTextFile(
      document(), this, [this](const auto& exporter, const auto& path, const auto& poll) {
        // The rows of the shown section as they stand: the export does not recompute them.
        const CyouhyouTableView* table = selectedTableView();
        const std::vector<Shisan> rows = table ? shisanArrayOfTableView(*table) : std::vector<Shisan>();
        return exporter.writeLines(ShisanTextFields(document()->document().kaisya()).zandakaShisanLines(rows), path,
                                   ShiftJisEncoder::encoder(), poll);
      });
}

bool ZandakaShisanController::typeOnTextField(QLineEdit* field, const QString& typed)
{
  return typeOnJigyoubuField(field, typed);
}

// --- window life

void ZandakaShisanController::windowWillCloseHook()
{
  closeAttachedSheet();
  closeAttachedSheetToShowJigyoubuList();
}

void ZandakaShisanController::closeAttachedSheetToShowJigyoubuList()
{
  if (auto* sheet = qobject_cast<PeriodToPrintZandakaShisanController*>(attachedSheetController()))
    sheet->abortPeriodToPrintZandakaShisanWindow();
}

// --- printing

void ZandakaShisanController::pageSetupForZandakaShisan()
{
  PrintOperation::runPageSetup(this, KIVOZandakaShisanPrintInfoKey);
}

void ZandakaShisanController::runPrint(std::vector<Shisan> taisyakuTaisyou, std::vector<Shisan> sonekiKeisan,
                                       std::vector<Shisan> seizouGenka, int32_t periodFrom, int32_t periodTo,
                                       const bool* fixedSections)
{
  QCheckBox* boxes[] = {printTaisyakuTaisyouCheckbox_, printSonekiKeisanCheckbox_, printSeizouGenkaCheckbox_};
  for (int i = 0; i < 3; ++i) {
    boxes[i]->setChecked(fixedSections ? fixedSections[i] : false);
    boxes[i]->setEnabled(!fixedSections);
  }
  printSeizouGenkaCheckbox_->setVisible(hasSeizouGenkaTab());
  if (!hasSeizouGenkaTab()) {
    printSeizouGenkaCheckbox_->setChecked(false);
    printSeizouGenkaCheckbox_->setEnabled(false);
  } else {
    printSeizouGenkaCheckbox_->setText(tabView_->tabText(2));
  }
  if (!fixedSections) {
    // The shown section is always printed.
    const QString shown = selectedTabIdentifier();
    QCheckBox* fixed = shown == qs(kTaisyakuTaisyouTab) ? printTaisyakuTaisyouCheckbox_
                       : shown == qs(kSonekiKeisanTab)  ? printSonekiKeisanCheckbox_
                                                        : printSeizouGenkaCheckbox_;
    fixed->setChecked(true);
    fixed->setEnabled(false);
  }
  const MyDocument& books = document()->document();
  printSections(KIVOZandakaShisanPrintInfoKey, [&](const QPageLayout& paper, const auto& sections) {
    return ZandakaShisanPrintView::create(books, paper, taisyakuTaisyou, sonekiKeisan, seizouGenka, periodFrom,
                                          periodTo, sections);
  });
}

void ZandakaShisanController::printZandakaShisan()
{
  loadWindowIfNeeded();
  if (hasAttachedSheet()) return;
  runPrint(taisyakuTaisyouShisanArray(), sonekiKeisanShisanArray(), seizouGenkaShisanArray(),
           displayPeriodFromMonthArrayIndex_, displayPeriodToMonthArrayIndex_, nullptr);
}

void ZandakaShisanController::printZandakaShisanOfSelectedPeriod()
{
  if (!document()->canPrintKanjyoumotocyouOfPluralKamoku()) return;
  if (hasAttachedSheet()) return;
  QPointer<ZandakaShisanController> self = this;
  PeriodToPrintZandakaShisanController::controllerOfDocument(document())->beginSheetForWindow(this, [self] {
    if (self) self->printZandakaShisanForSelectedPeriod();
  });
}

void ZandakaShisanController::printZandakaShisanForSelectedPeriod()
{
  auto* sheet = document()->ownedControllerAs<PeriodToPrintZandakaShisanController>(
      OpenDocument::OwnedController::PeriodToPrintZandakaShisan);
  if (!sheet) return;
  progressIndicator_->show();
  const bool kamokuDoNotShowIfNoTorihiki =
      UserDefaults::standardUserDefaults().boolForKey(KIVOZandakaShisanKamokuDoNotShowIfNoTorihikiKey);
  // The chosen period is computed apart, so that the shown sections stay as they are.
  ZandakaShisanAssembly printed(document()->document());
  printed.setZandakaShisanArrayForJigyoubuCode(sheet->jigyoubuCode(), sheet->periodFromMonthArrayIndex(),
                                               sheet->periodToMonthArrayIndex(), kamokuDoNotShowIfNoTorihiki);
  progressIndicator_->hide();
  const bool sections[] = {sheet->doPrintTaisyakuTaisyou(), sheet->doPrintSonekiKeisan(), sheet->doPrintSeizouGenka()};
  runPrint(printed.taisyakuTaisyouShisanArray(), printed.sonekiKeisanShisanArray(), printed.seizouGenkaShisanArray(),
           sheet->periodFromMonthArrayIndex(), sheet->periodToMonthArrayIndex(), sections);
}

// --- "機能" menu

const std::vector<QAction*>& ZandakaShisanController::functionMenuActions()
{
  if (!functionActions_.empty()) return functionActions_;
  const auto key = [](const char* k, uint32_t mask) { return MainMenu::keySequenceForKeyEquivalent(qs(k), mask); };
  const uint32_t command = MainMenu::kCommandKeyMask;
  using F = FunctionCommand;
  const auto add = [this](F which, const char* title, std::function<void()> run, const QKeySequence& shortcut = {}) {
    setFunctionCommand(addFunctionMenuAction(title, std::move(run), shortcut), which);
  };
  if (jigyoubuFieldInUse_)
    add(
        F::ShowJigyoubu, kShowJigyoubuTitle, [this] { showJigyoubuFormatterListWindowForDisplayingJigyoubuField(); },
        key("B", command | MainMenu::kShiftKeyMask));
  add(
      F::SetPeriod, kSetPeriodTitle, [this] { setDisplayingPeriod(); }, key("M", command | MainMenu::kShiftKeyMask));
  functionActions_.push_back(nullptr);
  add(F::ShowKanjyoumotocyou, kShowKanjyoumotocyouTitle, [this] { showKanjyoumotocyouOfSelectedKamoku(); });
  functionActions_.push_back(nullptr);
  add(F::SaveToTextFile, kSaveToTextFileTitle, [this] { saveToTextFile(); });
  functionActions_.push_back(nullptr);
  add(
      F::PrintOfSelectedPeriod, kPrintOfSelectedPeriodTitle, [this] { printZandakaShisanOfSelectedPeriod(); },
      key("p", command | MainMenu::kAlternateKeyMask));
  return functionActions_;
}

void ZandakaShisanController::validateMenuItems()
{
  for (QAction* a : functionActions_) {
    if (!a) continue;
    switch (functionCommandOf<FunctionCommand>(a)) {
    case FunctionCommand::ShowJigyoubu:
      a->setEnabled(selectDisplayingJigyoubuButton_ && selectDisplayingJigyoubuButton_->isEnabled());
      break;
    case FunctionCommand::ShowKanjyoumotocyou: a->setEnabled(canOpenKanjyoumotocyou()); break;
    default: a->setEnabled(true); break;
    }
  }
}

}  // namespace kivo

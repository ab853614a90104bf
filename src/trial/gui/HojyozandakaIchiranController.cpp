#include "trial/gui/HojyozandakaIchiranController.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpacerItem>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "document/MyDocument.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/ReportTextExportSheet.h"
#include "fields/FieldValue.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "files/ReportTextExporter.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/PeriodController.h"
#include "platform/AlertSheet.h"
#include "platform/MainMenu.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/ShiftJisEncoder.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "trial/HojyoZandaka.h"
#include "trial/ShisanTextFields.h"
#include "trial/gui/HojyozandakaIchiranPrintView.h"
#include "trial/gui/ZandakaShisanTableModel.h"

namespace kivo {
namespace {

constexpr int kCellPadding = 18;

// The trial balance's columns, with the sub-account's caption and the share.
class HojyozandakaIchiranTableModel : public ZandakaShisanTableModel {
public:
  using ZandakaShisanTableModel::ZandakaShisanTableModel;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override
  {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
      if (section == 0) return QStringLiteral("補助科目");
      if (section == columnCount() - 1) return QStringLiteral("比率");
    }
    return ZandakaShisanTableModel::headerData(section, orientation, role);
  }
};

QString fieldText(const std::optional<std::string>& s) { return s ? QString::fromStdString(*s) : QString(); }

}  // namespace

HojyozandakaIchiranController::HojyozandakaIchiranController(OpenDocument* document)
    : JigyoubuReportWindowController(document, Kind::HojyozandakaIchiran,
                                     {kWindowMenuTitle, MainMenu::kHojyozandakaIchiranItemTitle,
                                      KIVOHojyozandakaIchiranWindowWidthKey, KIVOHojyozandakaIchiranWindowHeightKey})
{
}

HojyozandakaIchiranController::~HojyozandakaIchiranController()
{
  stopTableViewKeyDown();
  delete takeCentralWidget();
}

// --- opening

HojyozandakaIchiranController* HojyozandakaIchiranController::showHojyozandakaIchiranWindow(OpenDocument* document)
{
  if (!document) return nullptr;
  for (DocumentWindowController* wc : document->windowControllers()) {
    auto* w = qobject_cast<HojyozandakaIchiranController*>(wc);
    if (w && w->displayKamokuCode() == -1) {
      w->showWindow();
      return w;
    }
  }
  if (!document->canShowFurikaedenpyouWindow()) return nullptr;
  auto* w = new HojyozandakaIchiranController(document);
  document->addWindowController(w);
  w->moveWindowToInitialPositionWithDisplay(true);
  w->showWindow();
  return w;
}

// --- titles and placement

QString HojyozandakaIchiranController::windowMenuTitle() const
{
  // The windows tell themselves apart by account (and division).
  const MyDocument& doc = document()->document();
  const KamokuPtr kamoku = displayKamokuCode_ < 0 ? nullptr : doc.kamokuOfCode(displayKamokuCode_);
  if (!kamoku) return qs(kWindowMenuTitle);
  QString title = qs(kWindowMenuTitle) + QStringLiteral(" - ") + qs(kamoku->name());
  if (displayJigyoubuCode_ != Jigyoubu::kAllJigyoubuCode)
    for (const JigyoubuPtr& j : doc.jigyoubuArray())
      if (j->code() == displayJigyoubuCode_) title += QStringLiteral("（") + qs(j->name()) + QStringLiteral("）");
  return title;
}

// --- loading

void HojyozandakaIchiranController::buildLayout()
{
  const Body body = makeBodyWithJigyoubuStrip(18);
  body.layout->setContentsMargins(0, 0, 0, 0);
  body.layout->setSpacing(0);
  QWidget* stateView = body.stripView;
  QHBoxLayout* strip = body.strip;
  displayingKamokuField_ = makeSelectionField(stateView, 18);
  selectDisplayingKamokuButton_ = makeSelectButton(stateView, QStringLiteral("表示する勘定科目を選ぶ"));
  makePeriodStripWidgets(stateView, 12);
  jigyoubuSpacing_ = new QSpacerItem(12, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
  strip->addSpacerItem(jigyoubuSpacing_);
  strip->addWidget(new QLabel(QStringLiteral("勘定科目:"), stateView));
  strip->addWidget(displayingKamokuField_);
  strip->addWidget(selectDisplayingKamokuButton_);
  strip->addSpacing(12);
  addPeriodStripWidgets(strip, stateView);

  QWidget* central = body.central;
  QVBoxLayout* layout = body.layout;
  tableView_ = new CyouhyouTableView(central);
  tableModel_ = new HojyozandakaIchiranTableModel(document()->document().kaisya(), displayShisanArray_, tableView_);
  tableView_->setModel(tableModel_);
  tableView_->setController(this);
  layout->addWidget(tableView_, 1);
  setCentralWidget(central);

  watchStripFields(
      {displayingJigyoubuField_, displayingKamokuField_, displayingPeriodFromField_, displayingPeriodToField_});
  connect(selectDisplayingKamokuButton_, &QToolButton::clicked, this,
          [this] { showKamokuFormatterListWindowForDisplayingKamokuField(); });
  connect(selectDisplayingPeriodButton_, &QToolButton::clicked, this,
          [this] { setHojyozandakaIchiranDisplayingPeriod(); });
  connect(tableView_, &QAbstractItemView::doubleClicked, this, [this] { showHojyomotocyouOfSelectedHojyoKamoku(); });
}

void HojyozandakaIchiranController::applyColumnWidths()
{
  const QFontMetrics fm = tableView_->fontMetrics();
  const QFontMetrics heading = tableView_->horizontalHeader()->fontMetrics();
  const int title = fm.horizontalAdvance(QString(12, QChar(0x5B57))) + kCellPadding;
  const int amount = std::max({fm.horizontalAdvance(QStringLiteral("-999,999,999,999")),
                               fm.horizontalAdvance(QStringLiteral("#Precision!")),
                               heading.horizontalAdvance(QStringLiteral("開始残高"))}) +
                     kCellPadding;
  const int percent = fm.horizontalAdvance(QStringLiteral("100.00")) + kCellPadding;
  QHeaderView* header = tableView_->horizontalHeader();
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(24);
  for (int i = 0; i < tableModel_->columnCount(); ++i) {
    header->resizeSection(i, i == 0 ? title : i == tableModel_->columnCount() - 1 ? percent : amount);
    header->setSectionResizeMode(i, i == 0 ? QHeaderView::Stretch : QHeaderView::Interactive);
  }
  int width = 0;
  for (int i = 0; i < header->count(); ++i) width += header->sectionSize(i);
  resize(width + tableView_->verticalScrollBar()->sizeHint().width() + tableView_->frameWidth() * 2 + 4, 420);
}

void HojyozandakaIchiranController::windowDidLoad()
{
  const MyDocument& doc = document()->document();
  kamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, false);
  buildLayout();
  applyColumnWidths();

  setUpJigyoubuField();
  // Without divisions the account takes the division's place.
  if (!jigyoubuFieldInUse_) jigyoubuSpacing_->changeSize(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
  displayKamokuCode_ = -1;
  displayPeriodFromMonthArrayIndex_ = 0;
  displayPeriodToMonthArrayIndex_ = static_cast<int32_t>(doc.kaisya().monthArray().size());
  if (jigyoubuFieldInUse_) textFieldArray_.push_back(displayingJigyoubuField_);
  textFieldArray_.push_back(displayingKamokuField_);
  textFieldArray_.push_back(displayingPeriodFromField_);
  textFieldArray_.push_back(displayingPeriodToField_);
  indexOfSelectedTextField_ = 0;
  paintTextFieldHighlight(true);
  selectRowAfterUpdate_ = 0;
  updateUI(true);
}

// --- refresh

void HojyozandakaIchiranController::recomputeUI()
{
  if (!isWindowLoaded()) return;
  setDisplayingJigyoubuFieldValue();
  setDisplayingKamokuFieldValue();
  setDisplayingPeriodFieldValue();

  const int keep = tableView_->selectedRow();
  progressIndicator_->show();
  MyDocument& doc = document()->document();
  displayShisanArray_ =
      HojyoZandaka::hojyoZandakaArray(doc, {{displayJigyoubuCode_, displayKamokuCode_}},
                                      displayPeriodFromMonthArrayIndex_, displayPeriodToMonthArrayIndex_)
          .value_or(std::vector<Shisan>());
  progressIndicator_->hide();
  tableModel_->reloadData();

  const int n = static_cast<int>(displayShisanArray_.size());
  const int row = selectRowAfterUpdate_ >= 0 ? selectRowAfterUpdate_ : keep;
  if (n > 0 && row >= 0) {
    tableView_->selectRow(std::min(row, n - 1));
    tableView_->scrollTo(tableModel_->index(std::min(row, n - 1), 0));
  }
  selectRowAfterUpdate_ = -1;
  validateMenuItems();
}

void HojyozandakaIchiranController::updateAfterSelectDisplayingJigyoubu()
{
  // The user chose what this window shows: it shows it now.
  updateUI(true);
  synchronizeWindowTitleWithDocumentName();
}

bool HojyozandakaIchiranController::isTotalRow(int row, const CyouhyouTableView& tableView) const
{
  return &tableView == tableView_ && row >= 0 && row < static_cast<int>(displayShisanArray_.size()) &&
         HojyoZandaka::isGoukeiRow(displayShisanArray_[static_cast<size_t>(row)]);
}

// --- the strip

void HojyozandakaIchiranController::setDisplayingKamokuFieldValue()
{
  // An account that went away, or whose sub-accounts were all taken out of use,
  // leaves the window without account.
  const KamokuPtr kamoku = displayKamokuCode_ < 0 ? nullptr : document()->document().kamokuOfCode(displayKamokuCode_);
  if (kamoku && kamoku->isActive() && kamoku->activeHojyoKamokuNum() > 0) {
    displayingKamokuField_->setText(
        fieldText(kamokuFormatter_->stringForObjectValue(FieldValue::code(kamoku->code()))));
    return;
  }
  displayKamokuCode_ = -1;
  displayingKamokuField_->clear();
}

// --- commands

bool HojyozandakaIchiranController::refusesToShowJigyoubuList() { return document()->refuseForBlockingSheet(this); }

void HojyozandakaIchiranController::didChooseJigyoubu()
{
  selectRowAfterUpdate_ = -1;
  updateAfterSelectDisplayingJigyoubu();
}

void HojyozandakaIchiranController::showKamokuFormatterListWindowForDisplayingKamokuField(const QString& searchText)
{
  selectTextField(displayingKamokuField_);
  if (document()->refuseForBlockingSheet(this)) return;
  setDisplayingKamokuFieldValue();
  const QPoint topLeft = displayingKamokuField_->mapToGlobal(QPoint(0, displayingKamokuField_->height()));
  const int32_t code =
      KamokuFormatterListWindow::showKamokuWithActiveHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
          *kamokuFormatter_, topLeft, searchText, this);
  if (code < 0 || code == displayKamokuCode_) return;
  displayKamokuCode_ = code;
  selectRowAfterUpdate_ = 0;
  updateAfterSelectDisplayingJigyoubu();
}

void HojyozandakaIchiranController::setHojyozandakaIchiranDisplayingPeriod()
{
  selectTextField(displayingPeriodFromField_);
  if (document()->refuseForBlockingSheet(this) || hasAttachedSheet()) return;
  selectRowAfterUpdate_ = -1;
  PeriodController::periodControllerOfDocument(document())->beginSheetForWindow(this);
}

void HojyozandakaIchiranController::showHojyomotocyouOfSelectedHojyoKamoku()
{
  const int row = tableView_->selectedRow();
  if (row < 0 || row >= static_cast<int>(displayShisanArray_.size())) return;
  const Shisan& s = displayShisanArray_[static_cast<size_t>(row)];
  if (HojyoZandaka::isGoukeiRow(s)) return;
  // The row of what is on no sub-account opens the account's general ledger.
  const int32_t hojyo = HojyoZandaka::isSubAccountRow(s) ? s.hojyoKamokuCode() : -1;
  // A document opened with the limited-user password shows no ledgers.
  if (document()->wasOpenedByLimitedUserPassword()) {
    AlertSheet::beep();
    return;
  }
  if (document()->refuseForBlockingSheet(this)) return;
  // The ledger shows the same months; the division is not handed on.
  KanjyoumotocyouController::showKanjyoumotocyouOfPeriod(
      document(), s.kamokuCode(), hojyo, displayPeriodFromMonthArrayIndex_, displayPeriodToMonthArrayIndex_);
}

void HojyozandakaIchiranController::saveToTextFile()
{
  if (displayKamokuCode_ == -1 || hasAttachedSheet()) return;
  ReportTextExportSheet::exportTextFile(
      document(), this, [this](const auto& exporter, const auto& path, const auto& poll) {
        // The rows as shown, the total included: the export does not recompute them.
        // They have the trial balance's six fields.
        const std::vector<Shisan> rows = displayShisanArray_;
        return exporter.writeLines(ShisanTextFields(document()->document().kaisya()).zandakaShisanLines(rows), path,
                                   ShiftJisEncoder::encoder(), poll);
      });
}

void HojyozandakaIchiranController::printHojyozandakaIchiran()
{
  if (displayKamokuCode_ == -1) return;
  // The rows as they stand when the panel opens.
  const std::vector<Shisan> rows = displayShisanArray_;
  HojyozandakaIchiranPrintView::print(document(), this, rows, displayPeriodFromMonthArrayIndex_,
                                      displayPeriodToMonthArrayIndex_);
}

void HojyozandakaIchiranController::pageSetup()
{
  PrintOperation::runPageSetup(this, KIVOHojyozandakaIchiranPrintInfoKey);
}

bool HojyozandakaIchiranController::typeOnTextField(QLineEdit* field, const QString& typed)
{
  if (typeOnJigyoubuField(field, typed)) return true;
  if (field == displayingKamokuField_) {
    const bool accepted = kamokuFormatter_->isPartialStringValid(typed.toStdString());
    if (accepted) field->setText(typed);
    showKamokuFormatterListWindowForDisplayingKamokuField(accepted ? typed : QString());
    return true;
  }
  return false;
}

// --- window life

void HojyozandakaIchiranController::windowWillCloseHook() { closeAttachedSheet(); }

// --- "機能" menu

const std::vector<QAction*>& HojyozandakaIchiranController::functionMenuActions()
{
  if (!functionActions_.empty()) return functionActions_;
  const auto key = [](const char* k) {
    return MainMenu::keySequenceForKeyEquivalent(qs(k), MainMenu::kCommandKeyMask | MainMenu::kShiftKeyMask);
  };
  const auto add = [this](const char* title, std::function<void()> run, const QKeySequence& shortcut = {}) {
    addFunctionMenuAction(title, std::move(run), shortcut);
  };
  if (jigyoubuFieldInUse_)
    add(
        kShowJigyoubuTitle, [this] { showJigyoubuFormatterListWindowForDisplayingJigyoubuField(); }, key("B"));
  add(
      kShowKamokuTitle, [this] { showKamokuFormatterListWindowForDisplayingKamokuField(); }, key("K"));
  add(
      kSetPeriodTitle, [this] { setHojyozandakaIchiranDisplayingPeriod(); }, key("M"));
  functionActions_.push_back(nullptr);
  add(kShowHojyomotocyouTitle, [this] { showHojyomotocyouOfSelectedHojyoKamoku(); });
  functionActions_.push_back(nullptr);
  add(kSaveToTextFileTitle, [this] { saveToTextFile(); });
  return functionActions_;
}

void HojyozandakaIchiranController::validateMenuItems()
{
  const bool shown = displayKamokuCode_ != -1;
  for (QAction* a : functionActions_) {
    if (!a) continue;
    const QString t = a->text();
    if (t == qs(kShowJigyoubuTitle))
      a->setEnabled(selectDisplayingJigyoubuButton_ && selectDisplayingJigyoubuButton_->isEnabled());
    else if (t == qs(kShowKamokuTitle))
      a->setEnabled(selectDisplayingKamokuButton_ && selectDisplayingKamokuButton_->isEnabled());
    else if (t == qs(kShowHojyomotocyouTitle) || t == qs(kSaveToTextFileTitle))
      a->setEnabled(shown);
    else
      a->setEnabled(true);
  }
}

}  // namespace kivo

#include "journal/gui/ShiwakenikkiController.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "document/gui/OpenDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "document/gui/ProgressStateController.h"
#include "document/gui/ReportTextExportSheet.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "fields/HidukeFormatter.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "files/BoundedFileReader.h"
#include "files/SystemErrorText.h"
#include "journal/ShiwakeTextReader.h"
#include "journal/ShiwakeTextWriter.h"
#include "journal/ShiwakenikkiDeletion.h"
#include "journal/gui/ShiwakenikkiDisplayConditionController.h"
#include "journal/gui/ShiwakenikkiPrintView.h"
#include "platform/AlertSheet.h"
#include "platform/FilePanel.h"
#include "platform/MainMenu.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/SheetController.h"
#include "platform/ShiftJisEncoder.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

QString fieldText(const std::optional<std::string>& s) { return s ? QString::fromStdString(*s) : QString(); }

}  // namespace

ShiwakenikkiController::ShiwakenikkiController(OpenDocument* document, bool doDisplayMarkedShiwake)
    : DocumentWindowController(document, Kind::Shiwakenikki), doDisplayMarkedShiwakes_(doDisplayMarkedShiwake)
{
  // Marked mode shows its entries at once and never opens the condition sheet by
  // itself.
  if (doDisplayMarkedShiwake) {
    didShowConditionByAutomatic_ = true;
    displayState_ = kShowAndSelectFirstRow;
  }
  resize(1000, 620);
  setMinimumSize(520, 260);
}

ShiwakenikkiController::~ShiwakenikkiController() = default;

ShiwakenikkiController* ShiwakenikkiController::showShiwakenikkiWindow(OpenDocument* document)
{
  if (!document) return nullptr;
  auto* controller = qobject_cast<ShiwakenikkiController*>(document->shiwakenikkiController());
  if (!controller) {
    controller = new ShiwakenikkiController(document);
    document->addWindowController(controller);
    controller->moveWindowToInitialPositionWithDisplay(true);
  }
  controller->showWindow();
  return controller;
}

void ShiwakenikkiController::saveToTextFile()
{
  if (displayShiwakeArray_.empty()) return;
  const QString path = ReportTextExportSheet::runSavePanelWithLongLongKingaku(
      this, document()->document().kaisya().decimalPrecision() != 0);
  if (path.isEmpty()) return;
  const UserDefaults& defaults = UserDefaults::standardUserDefaults();
  const auto kugiri =
      ReportTextExporter::kugiriOfCode(static_cast<int32_t>(defaults.integerForKey(KIVOExportTextKugiriCodeKey)));
  const MyDocument& doc = document()->document();
  // Stored integers only where the amounts have decimals: a whole amount reads the same.
  const bool longLong =
      doc.kaisya().decimalPrecision() != 0 && defaults.boolForKey(KIVOExportTextSaveByLongLongKingakuKey);
  const ShiwakeTextWriter writer(doc, kugiri, longLong);
  const std::string target = QFile::encodeName(path).toStdString();
  const Journal::Entries shown = displayShiwakeArray_;
  ReportTextExportSheet::writeWithProgress(document(), this, [&](const ReportTextExporter::ContinuePoll& poll) {
    return writer.write(shown, target, ShiftJisEncoder::encoder(), poll).reportResult();
  });
}

void ShiwakenikkiController::importShiwakeFromTextFile(OpenDocument* document)
{
  if (!document) return;
  // The window the user gave the command in: the panel and the progress sheet are over
  // it, and it has the keyboard again as each of them, and the alert, closes.
  QWidget* window = document->frontWindowController();
  if (!window) return;
  const QString path = FilePanel::runOpenTextFilePanel(window, QStringLiteral("仕訳を取り込む"));
  if (path.isEmpty()) return;
  auto refuse = [&](const QString& message) {
    AlertSheet::runAlert(QString::fromUtf8(ShiwakeTextReader::kTitle), message);
  };
  std::string data;
  const BoundedFileReader::Result read =
      BoundedFileReader::read(QFile::encodeName(path).toStdString(), ShiwakeTextReader::kMaxFileSize, &data);
  switch (read.status) {
  case BoundedFileReader::Status::Read: break;
  case BoundedFileReader::Status::TooLarge: return refuse(QString::fromUtf8(ShiwakeTextReader::kTooLargeMessage));
  case BoundedFileReader::Status::NotRegularFile:
    return refuse(QStringLiteral("“%1”はファイルではないため取り込めません。").arg(QFileInfo(path).fileName()));
  case BoundedFileReader::Status::Failed:
    return refuse(QStringLiteral("ファイルを読めませんでした（%1）。")
                      .arg(QString::fromStdString(SystemErrorText::of(read.errorNumber))));
  }

  ProgressStateController* progress = document->progressStateController();
  progress->beginModalSession(window);
  progress->setProgressFieldStringValue(QStringLiteral("仕訳を取り込み中"));
  progress->setSubProgressFieldStringValue(QString());
  progress->setCancelButtonEnabled(true);
  progress->startProgressIndicatorAnimation();
  std::pair<int32_t, Date> latest;  // the line last read, and its date
  const ShiwakeTextReader::Result result = ShiwakeTextReader::importShiwake(
      document->document(), data, &ShiftJisEncoder::decode,
      [progress, &latest, polls = 0](int32_t) mutable {
        // A record takes about a microsecond: the clock is read every 256th, and the
        // sheet shows the latest line read and is polled when it is due.
        if (polls++ % 256 != 0 || !progress->isDueForUpdate()) return true;
        progress->setSubProgressFieldStringValue(
            QString::fromStdString(ShiwakeTextReader::progressText(latest.first, latest.second)));
        return progress->runModalSession() == ProgressStateController::ModalResponse::Continue;
      },
      [&latest](int32_t line, Date date) {
        latest = {line, date};
      },
      [progress] {
        // Every line has passed: the last chance to cancel, polled whether or not a
        // poll is due. Once the import has lasted the sheet's delay, this poll shows the
        // sheet, which takes an Escape typed before; sooner, no sheet shows and nothing
        // cancels. What follows cannot be taken back, and the sheet no longer offers to.
        const bool go = progress->runModalSession() == ProgressStateController::ModalResponse::Continue;
        progress->setCancelButtonEnabled(false);
        return go;
      });
  progress->stopProgressIndicatorAnimation();
  progress->endModalSession();
  if (!result.ok) refuse(QString::fromStdString(result.message));
}

QString ShiwakenikkiController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  return displayName + qs(kTitleSuffix);
}

QString ShiwakenikkiController::windowMenuTitle() const { return qs(kWindowMenuTitle); }
QString ShiwakenikkiController::denpyouAndCyouhyouItemTitle() const { return qs(MainMenu::kShiwakenikkiItemTitle); }
const char* ShiwakenikkiController::windowWidthDefaultsKey() const { return KIVOShiwakenikkiWindowWidthKey; }
const char* ShiwakenikkiController::windowHeightDefaultsKey() const { return KIVOShiwakenikkiWindowHeightKey; }

// --- loading

void ShiwakenikkiController::windowDidLoad()
{
  const MyDocument& doc = document()->document();
  hidukeFormatter_ = std::make_unique<HidukeFormatter>(doc, true);
  kamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, true);
  hojyoKamokuFormatter_ = std::make_unique<HojyoKamokuFormatter>(doc);
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(doc);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 4);
  layout->setSpacing(4);
  shiwakenikkiView_ = new ShiwakenikkiView(central);
  shiwakenikkiView_->setDataSource(this);
  layout->addWidget(shiwakenikkiView_, 1);
  auto* status = new QHBoxLayout;
  status->setContentsMargins(10, 0, 10, 0);
  stateField_ = new QLabel(central);
  progressIndicator_ = new QProgressBar(central);
  // Stepped by the filter itself, which holds the main thread while it runs: the bar
  // fills and starts again.
  progressIndicator_->setRange(0, 10);
  progressIndicator_->setMaximumWidth(80);
  progressIndicator_->setMaximumHeight(12);
  progressIndicator_->setTextVisible(false);
  progressIndicator_->hide();
  status->addWidget(stateField_, 1);
  status->addWidget(progressIndicator_);
  layout->addLayout(status);
  setCentralWidget(central);

  // Sub-account and division columns take part only when the books use them.
  const bool hojyo = doc.doesHaveKamokuWhichHasActiveHojyoKamoku();
  const bool jigyoubu = doc.numberOfActiveJigyoubu() > 0;
  for (Matrix m : {Matrix::KarikataHojyoKamoku, Matrix::KashikataHojyoKamoku})
    shiwakenikkiView_->setMatrixEnabled(m, hojyo);
  for (Matrix m : {Matrix::KarikataJigyoubu, Matrix::KashikataJigyoubu})
    shiwakenikkiView_->setMatrixEnabled(m, jigyoubu);
  editableMattrixArray_ = {Matrix::Date, Matrix::KarikataKamoku};
  if (hojyo) editableMattrixArray_.push_back(Matrix::KarikataHojyoKamoku);
  editableMattrixArray_.push_back(Matrix::KarikataKingaku);
  if (jigyoubu) editableMattrixArray_.push_back(Matrix::KarikataJigyoubu);
  editableMattrixArray_.push_back(Matrix::KashikataKamoku);
  if (hojyo) editableMattrixArray_.push_back(Matrix::KashikataHojyoKamoku);
  editableMattrixArray_.push_back(Matrix::KashikataKingaku);
  if (jigyoubu) editableMattrixArray_.push_back(Matrix::KashikataJigyoubu);
  editableMattrixArray_.push_back(Matrix::Tekiyou);

  displayShiwakeWhichMatchShiwakenikkiDisplayCondition();
  shiwakenikkiView_->setFocus();
}

void ShiwakenikkiController::showEvent(QShowEvent* event)
{
  WindowController::showEvent(event);
  if (didShowConditionByAutomatic_) return;
  didShowConditionByAutomatic_ = true;
  // Once the window stands on the screen, the condition sheet opens over it.
  QPointer<ShiwakenikkiController> self = this;
  QTimer::singleShot(0, this, [self] {
    if (self && self->isVisible()) self->setShiwakenikkiDisplayCondition(self);
  });
}

void ShiwakenikkiController::windowWillCloseHook() { closeAttachedSheet(); }

void ShiwakenikkiController::closeAttachedSheet()
{
  if (auto* sheet = qobject_cast<ShiwakenikkiDisplayConditionController*>(attachedSheetController()))
    sheet->abortShiwakenikkiDisplayConditionWindow();
}

// --- refresh

void ShiwakenikkiController::updateUI(bool force)
{
  if (displayState_ == kNothingShown) return;
  WindowController::updateUI(force);
}

void ShiwakenikkiController::recomputeUI()
{
  if (!isWindowLoaded()) return;
  displayShiwakeWhichMatchShiwakenikkiDisplayCondition();
}

void ShiwakenikkiController::setDisplayShiwakeArray()
{
  stateField_->setText(qs(ShiwakenikkiCondition::kSearchingStateString));
  progressIndicator_->setValue(0);
  progressIndicator_->show();
  stateField_->repaint();
  progressIndicator_->repaint();
  // The filter holds the main thread: the indicator takes a step at every tenth entry
  // of each stage's walk and is drawn again, a step on, when the progress sheet would
  // be (at most every ProgressStateController::kUpdateInterval), so that a long walk
  // spends its time on the entries rather than on drawing.
  filterProgressSteps_ = 0;
  QElapsedTimer sinceDrawn;
  sinceDrawn.start();
  const auto tick = [this, &sinceDrawn] {
    ++filterProgressSteps_;
    if (sinceDrawn.elapsed() < ProgressStateController::kUpdateInterval) return;
    sinceDrawn.restart();
    progressIndicator_->setValue((progressIndicator_->value() + 1) % (progressIndicator_->maximum() + 1));
    progressIndicator_->repaint();
  };
  MyDocument& doc = document()->document();
  ShiwakenikkiCondition::DisplayResult result = ShiwakenikkiDisplayConditionController::conditionOfDocument(document())
                                                    .displayShiwakeArrayOfDocument(doc, doDisplayMarkedShiwakes_, tick);
  const QString state = QString::fromStdString(result.stateString());
  displayShiwakeArray_ = std::move(result.displayShiwakeArray);
  progressIndicator_->hide();
  stateField_->setText(state);
}

void ShiwakenikkiController::displayShiwakeWhichMatchShiwakenikkiDisplayCondition()
{
  if (!shiwakenikkiView_) return;
  if (displayState_ == kNothingShown) {
    displayShiwakeArray_.clear();
    shiwakenikkiView_->renewRows(0);
    return;
  }
  const int previous = selectedShiwakenikkiRow();
  setDisplayShiwakeArray();
  const int n = static_cast<int>(displayShiwakeArray_.size());
  int row = 0;
  if (displayState_ == kShownKeepSelection) row = std::max(std::min(previous, n - 1), 0);
  shiwakenikkiView_->renewRows(n);
  if (n > 0) deselectSelectedCellAndThenSelectShiwakenikkiRow(row, Matrix::Date);
  displayState_ = kShownKeepSelection;
  validateMenuItems();
}

// --- rows and cells

int ShiwakenikkiController::numberOfShiwakenikkiRows() const
{
  return shiwakenikkiView_ ? shiwakenikkiView_->numberOfRows() : 0;
}

int ShiwakenikkiController::selectedShiwakenikkiRow() const
{
  if (!shiwakenikkiView_) return -1;
  const std::optional<Matrix> m = shiwakenikkiView_->selectedMatrix();
  if (!m || std::find(editableMattrixArray_.begin(), editableMattrixArray_.end(), *m) == editableMattrixArray_.end())
    return -1;
  return shiwakenikkiView_->selectedRow();
}

void ShiwakenikkiController::deselectSelectedCellAndThenSelectShiwakenikkiRow(int row, Matrix matrix)
{
  if (shiwakenikkiView_) shiwakenikkiView_->selectCell(row, matrix);
}

void ShiwakenikkiController::moveSelectShiwakenikkiCellByCommand(Command command)
{
  const int row = selectedShiwakenikkiRow();
  if (row < 0) return;
  const auto it =
      std::find(editableMattrixArray_.begin(), editableMattrixArray_.end(), *shiwakenikkiView_->selectedMatrix());
  const int column = static_cast<int>(it - editableMattrixArray_.begin());
  const int columns = static_cast<int>(editableMattrixArray_.size());
  const int rows = numberOfShiwakenikkiRows();
  int toRow = row;
  int toColumn = column;
  switch (command) {
  case Command::InsertTab:
    if (column + 1 < columns) {
      toColumn = column + 1;
    } else {
      if (row + 1 >= rows) return;
      toRow = row + 1;
      toColumn = 0;
    }
    break;
  case Command::InsertBacktab:
    if (column > 0) {
      toColumn = column - 1;
    } else {
      if (row == 0) return;
      toRow = row - 1;
      toColumn = columns - 1;
    }
    break;
  case Command::MoveUp:
    if (row == 0) return;
    toRow = row - 1;
    break;
  case Command::MoveDown:
    if (row + 1 >= rows) return;
    toRow = row + 1;
    break;
  }
  deselectSelectedCellAndThenSelectShiwakenikkiRow(toRow, editableMattrixArray_[toColumn]);
}

void ShiwakenikkiController::doCommandBySelector(Command command, bool isAutoRepeat)
{
  if (!isAutoRepeat) moveSelectShiwakenikkiCellByCommand(command);
}

void ShiwakenikkiController::mouseDownInCell(int row, Matrix matrix)
{
  // A click on a column that takes no part in the movement selects the cell of the
  // same entry above it (the number's date, an unused sub-account's account).
  if (std::find(editableMattrixArray_.begin(), editableMattrixArray_.end(), matrix) == editableMattrixArray_.end())
    matrix = ShiwakenikkiView::matrixAt(ShiwakenikkiView::blockOfMatrix(matrix), 0);
  deselectSelectedCellAndThenSelectShiwakenikkiRow(row, matrix);
  validateMenuItems();
}

QString ShiwakenikkiController::stringValue(int row, Matrix matrix) const
{
  if (row < 0 || row >= static_cast<int>(displayShiwakeArray_.size())) return {};
  const Shiwake& s = *displayShiwakeArray_[row];
  const Kaisya& kaisya = document()->document().kaisya();
  const bool karikata = matrix == Matrix::KarikataKamoku || matrix == Matrix::KarikataHojyoKamoku ||
                        matrix == Matrix::KarikataKingaku || matrix == Matrix::KarikataJigyoubu;
  const int32_t kamoku = karikata ? s.karikataKamokuCode() : s.kashikataKamokuCode();
  const int32_t hojyo = karikata ? s.karikataHojyoKamokuCode() : s.kashikataHojyoKamokuCode();
  const int32_t jigyoubu = karikata ? s.karikataJigyoubuCode() : s.kashikataJigyoubuCode();
  const int64_t kingaku = karikata ? s.karikataKingaku() : s.kashikataKingaku();
  switch (matrix) {
  case Matrix::Date: return fieldText(hidukeFormatter_->stringForObjectValue(FieldValue::date(s.date())));
  case Matrix::DenpyouNo: return QString::number(s.denpyouNo());
  case Matrix::Tekiyou: return QString::fromStdString(s.tekiyou());
  case Matrix::Empty: return {};
  default: break;
  }
  // A side without an account shows nothing at all.
  if (kamoku == -1) return {};
  switch (matrix) {
  case Matrix::KarikataKamoku:
  case Matrix::KashikataKamoku: return fieldText(kamokuFormatter_->stringForObjectValue(FieldValue::code(kamoku)));
  case Matrix::KarikataHojyoKamoku:
  case Matrix::KashikataHojyoKamoku:
    if (hojyo == -1) return {};
    hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(kamoku);
    return fieldText(hojyoKamokuFormatter_->stringForObjectValue(FieldValue::code(hojyo)));
  case Matrix::KarikataKingaku:
  case Matrix::KashikataKingaku: return QString::fromStdString(kaisya.displayStringOfMemoryKingaku(kingaku));
  case Matrix::KarikataJigyoubu:
  case Matrix::KashikataJigyoubu:
    if (jigyoubu == -1) return {};
    return fieldText(jigyoubuFormatter_->stringForObjectValue(FieldValue::code(jigyoubu)));
  default: return {};
  }
}

// --- printing

void ShiwakenikkiController::pageSetupForShiwakenikki()
{
  PrintOperation::runPageSetup(this, KIVOShiwakenikkiPrintInfoKey);
}

void ShiwakenikkiController::printShiwakenikki()
{
  if (displayShiwakeArray_.empty()) {
    AlertSheet::beginAlertSheet(this, qs(AlertSheet::kCannotPrintTitle), qs(kNothingToPrintMessage));
    return;
  }
  const MyDocument& books = document()->document();
  PrintProgressSheet::runPrintPanel(document(), this, PrintInfo::pageLayoutForKey(KIVOShiwakenikkiPrintInfoKey),
                                    [&books, entries = displayShiwakeArray_](const QPageLayout& paper) {
                                      return ShiwakenikkiPrintView::create(books, paper, entries);
                                    });
}

// --- commands

WindowController* ShiwakenikkiController::refuseForBlockingSheet() { return document()->refuseForBlockingSheet(this); }

void ShiwakenikkiController::setShiwakenikkiDisplayCondition(QObject* sender)
{
  if (refuseForBlockingSheet()) return;
  if (hasAttachedSheet()) return;
  auto* sheet = ShiwakenikkiDisplayConditionController::displayConditionControllerOfDocument(document());
  // Opened by the window itself the sheet must be confirmed; marked entries may
  // always be kept by cancelling.
  sheet->updateUIAndSetCancelButtonHidden(sender == this && !doDisplayMarkedShiwakes_);
  sheet->beginSheetForWindow(this);
}

void ShiwakenikkiController::showInputShiwakeWindow()
{
  const int row = selectedShiwakenikkiRow();
  if (row < 0) return;
  if (refuseForBlockingSheet()) return;
  if (!document()->deselectKanjyoumotocyouCellsOfAllShiwake()) return;
  const ShiwakePtr shiwake = displayShiwakeArray_[row];
  if (shiwake->kindOfShiwake() == ShiwakeKind::Furikaedenpyou) {
    FurikaedenpyouController::showDenpyouOfDenpyouNo(document(), shiwake->denpyouNo());
  } else if (const auto book = Suitoucyou::bookOfShiwake(document()->document(), *shiwake)) {
    SuitoucyouController::showSuitoucyouAtDenpyouNo(document(), book->first, book->second, shiwake->denpyouNo());
  }
  if (row < numberOfShiwakenikkiRows()) deselectSelectedCellAndThenSelectShiwakenikkiRow(row, Matrix::Date);
}

void ShiwakenikkiController::removeDisplayingShiwake()
{
  if (displayShiwakeArray_.empty()) return;
  for (DocumentWindowController* wc : document()->windowControllers()) {
    if (wc->windowKind() == Kind::Furikaedenpyou || wc->windowKind() == Kind::Suitoucyou) {
      AlertSheet::runAlert(qs(AlertSheet::kCannotExecuteTitle), qs(kCloseEntryWindowsMessage));
      return;
    }
  }
  // The question waits for the keyboard as it closes, while the program's own events
  // run: a window they closed meanwhile has nothing left to delete from.
  const QPointer<ShiwakenikkiController> self = this;
  const int chosen = AlertSheet::runQuestion(this, qs(kRemoveTitle), qs(kRemoveMessage),
                                             {qs(AlertSheet::kDeleteButton), qs(AlertSheet::kCancelButton)}, 1);
  if (chosen != 0 || !self) return;
  // A copy: the refresh that follows the removal replaces the shown list.
  const std::vector<ShiwakePtr> shown = displayShiwakeArray_;
  ShiwakenikkiDeletion::removeDisplayingShiwake(document()->document(), shown);
}

// --- "機能" menu

const std::vector<QAction*>& ShiwakenikkiController::functionMenuActions()
{
  if (!functionActions_.empty()) return functionActions_;
  using F = FunctionCommand;
  const auto add = [this](F which, const char* title, std::function<void(QAction*)> run, const QKeySequence& key = {}) {
    auto* a = new QAction(qs(title), this);
    setFunctionCommand(a, which);
    if (!key.isEmpty()) a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, [this, a, run] {
      validateMenuItems();
      if (!a->isEnabled()) return;
      // A command may wait (a panel, a question, its progress): the window may have
      // gone by its end.
      const QPointer<ShiwakenikkiController> self = this;
      run(a);
      if (self) validateMenuItems();
    });
    functionActions_.push_back(a);
  };
  add(
      F::SetCondition, kSetConditionTitle, [this](QAction* a) { setShiwakenikkiDisplayCondition(a); },
      MainMenu::keySequenceForKeyEquivalent(QStringLiteral("F"), MainMenu::kCommandKeyMask | MainMenu::kShiftKeyMask));
  functionActions_.push_back(nullptr);
  add(F::ShowInputShiwakeWindow, kShowInputShiwakeWindowTitle, [this](QAction*) { showInputShiwakeWindow(); });
  add(F::RemoveDisplayingShiwake, kRemoveDisplayingShiwakeTitle, [this](QAction*) { removeDisplayingShiwake(); });
  functionActions_.push_back(nullptr);
  add(F::SaveToTextFile, kSaveToTextFileTitle, [this](QAction*) { saveToTextFile(); });
  return functionActions_;
}

QAction* ShiwakenikkiController::functionMenuAction(const QString& title)
{
  for (QAction* a : functionMenuActions())
    if (a && a->text() == title) return a;
  return nullptr;
}

void ShiwakenikkiController::fillFunctionMenu(QMenu* menu)
{
  for (QAction* a : functionMenuActions()) {
    if (a)
      menu->addAction(a);
    else
      menu->addSeparator();
  }
  connect(menu, &QMenu::aboutToShow, this, &ShiwakenikkiController::validateMenuItems, Qt::UniqueConnection);
  validateMenuItems();
}

void ShiwakenikkiController::validateMenuItems()
{
  if (functionActions_.empty()) return;
  const bool shown = !displayShiwakeArray_.empty();
  for (QAction* a : functionActions_) {
    if (!a) continue;
    switch (functionCommandOf<FunctionCommand>(a)) {
    case FunctionCommand::RemoveDisplayingShiwake:
    case FunctionCommand::SaveToTextFile: a->setEnabled(shown); break;
    default: a->setEnabled(true); break;
    }
  }
}

}  // namespace kivo

#include "entry/gui/SuitoucyouController.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

#include "document/gui/OpenDocument.h"
#include "document/gui/ProgressStateController.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/RemoveSuitoucyouRowCommand.h"
#include "entry/gui/SuitoucyouView.h"
#include "fields/AmountFormatter.h"
#include "fields/HidukeFormatter.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/TekiyouFormatter.h"
#include "fields/gui/HojyoKamokuFormatterListWindow.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "platform/AlertSheet.h"
#include "platform/MainMenu.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "setup/gui/TekiyouListController.h"

namespace kivo {
namespace {

using Row = SuitoucyouRow;

constexpr uint32_t kCommand = MainMenu::kCommandKeyMask;
constexpr uint32_t kShift = MainMenu::kShiftKeyMask;
constexpr uint32_t kOption = MainMenu::kAlternateKeyMask;

// A balance computed while the journal was out of date order.
const QColor kGrayText(0x8c, 0x8c, 0x8c);

}  // namespace

// --- the movement's part in the window

class SuitoucyouController::MovementActions : public SuitoucyouCellMovement::Actions {
public:
  explicit MovementActions(SuitoucyouController* c) : c_(c) {}
  bool checkRowWithMessages() override
  {
    return c_->doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, c_->book_.selectDenpyouNo(), true);
  }
  void registerRowAndRefreshBalances() override
  {
    c_->setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray();
    c_->setZandakaMatrixCellsValue();
  }
  void addRow() override { c_->handleChooseAddSuitoucyouRow(); }
  void removeRow() override { c_->handleChooseRemoveSuitoucyouRow(); }
  void registerPendingRow() override { c_->setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(); }
  void setItemAsAboveRowItem() override
  {
    if (c_->book_.setItemAsAboveSuitoucyouRowItem()) c_->markEdited();
  }
  void resetInputedHojyoKamokuCode() override { c_->aiteKamokuFormatter_->setInputedHojyoKamokuCode(-1); }

private:
  SuitoucyouController* c_;
};

// --- life

SuitoucyouController::SuitoucyouController(OpenDocument* document, int32_t denpyouNo, int32_t kamokuCode,
                                           int32_t hojyoKamokuCode, bool doNeedToDisplayShiwakeWhenWindowDidLoad)
    : EntryWindowController(document, Kind::Suitoucyou, SuitoucyouView::kKeyDownNotification),
      book_(document->document(), kamokuCode, hojyoKamokuCode),
      initialDenpyouNo_(denpyouNo),
      doNeedToDisplayShiwakeWhenWindowDidLoad_(doNeedToDisplayShiwakeWhenWindowDidLoad)
{
  book_.setSelectDenpyouNo(denpyouNo);
}

SuitoucyouController::~SuitoucyouController() = default;

SuitoucyouController* SuitoucyouController::showSuitoucyouWindow(OpenDocument* document, int32_t kamokuCode,
                                                                 int32_t hojyoKamokuCode)
{
  if (!document) return nullptr;
  if (auto* open = qobject_cast<SuitoucyouController*>(
          document->suitoucyouControllerOfKamokuCode(kamokuCode, hojyoKamokuCode))) {
    open->showWindow();
    return open;
  }
  if (!document->deselectKanjyoumotocyouCellsOfAllShiwake()) return nullptr;
  auto* controller = new SuitoucyouController(document, 0, kamokuCode, hojyoKamokuCode, false);
  document->addWindowController(controller);
  controller->moveWindowToInitialPositionWithDisplay(true);
  controller->showWindow();
  controller->displayShiwake();
  return controller;
}

SuitoucyouController* SuitoucyouController::showSuitoucyouAtDenpyouNo(OpenDocument* document, int32_t kamokuCode,
                                                                      int32_t hojyoKamokuCode, int32_t denpyouNo,
                                                                      bool displayShiwake)
{
  if (auto* book = qobject_cast<SuitoucyouController*>(
          document->suitoucyouControllerOfKamokuCode(kamokuCode, hojyoKamokuCode))) {
    book->showWindow();
    book->showSuitoucyouOfDenpyouNo(denpyouNo);
    return book;
  }
  auto* book = new SuitoucyouController(document, denpyouNo, kamokuCode, hojyoKamokuCode, false);
  document->addWindowController(book);
  book->moveWindowToInitialPositionWithDisplay(true);
  book->showWindow();
  if (displayShiwake) book->displayShiwake();
  return book;
}

QString SuitoucyouController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  const KamokuPtr kamoku = book_.document().kamokuOfCode(book_.displayKamokuCode());
  if (book_.displayKamokuCode() == -1 || !kamoku) return displayName + qs(kTitleSuffix);
  QString name = qs(kamoku->name());
  if (const HojyoKamokuPtr hojyo = book_.displayHojyoKamoku()) name += QStringLiteral("／") + qs(hojyo->name());
  return displayName + qs(kTitleSuffix) + QStringLiteral("（") + name + QStringLiteral("）");
}

QString SuitoucyouController::windowMenuTitle() const
{
  // The Window menu indents a document's windows itself.
  const KamokuPtr kamoku = book_.document().kamokuOfCode(book_.displayKamokuCode());
  if (!kamoku) return qs(kWindowMenuTitle);
  QString name = qs(kamoku->name());
  if (const HojyoKamokuPtr hojyo = book_.displayHojyoKamoku()) name += QStringLiteral("／") + qs(hojyo->name());
  return qs(kWindowMenuTitle) + QStringLiteral("（") + name + QStringLiteral("）");
}

QString SuitoucyouController::denpyouAndCyouhyouItemTitle() const { return qs(MainMenu::kSuitoucyouItemTitle); }
const char* SuitoucyouController::windowWidthDefaultsKey() const { return KIVOSuitoucyouWindowWidthKey; }
const char* SuitoucyouController::windowHeightDefaultsKey() const { return KIVOSuitoucyouWindowHeightKey; }

void SuitoucyouController::windowDidLoad()
{
  MyDocument& doc = document()->document();
  const Kaisya& kaisya = doc.kaisya();
  displayingKamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, true);
  displayingHojyoKamokuFormatter_ = std::make_unique<HojyoKamokuFormatter>(doc);
  hidukeFormatter_ = std::make_unique<HidukeFormatter>(doc, false);
  aiteKamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, true);
  aiteHojyoKamokuFormatter_ = std::make_unique<HojyoKamokuFormatter>(doc);
  tekiyouFormatter_ = std::make_unique<TekiyouFormatter>(doc);
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(doc);
  kingakuFormatter_ = std::make_unique<AmountFormatter>(kaisya.decimalPrecision(), AmountFormatter::Range::Input);

  book_.setUpEditableMattrixArray();
  doc.journal().dateEditingEnded();
  buildLayout();
  book_.setDisplayKamokuCodeToShowShiwakeOfDenpyouNo(initialDenpyouNo_);
  book_.removeUnregisteredDenpyouNoFromShiwakeArray();
  setDisplayingKamokuFieldValue();
  if (doNeedToDisplayShiwakeWhenWindowDidLoad_) displayShiwake();
}

void SuitoucyouController::buildLayout()
{
  resize(980, 560);
  setMinimumSize(720, 300);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(8);

  titleLabel_ = makeTitleLabel(QStringLiteral("出 納 帳"), central);
  layout->addWidget(titleLabel_);

  // The header: the book's account and sub-account, each with the button that
  // chooses another book.
  auto* header = new QHBoxLayout();
  header->setSpacing(6);
  auto addField = [&](const QString& title, QLabel** label, QLineEdit** field, QPushButton** button) {
    *label = new QLabel(title, central);
    *field = new QLineEdit(central);
    (*field)->setReadOnly(true);
    (*field)->setFocusPolicy(Qt::NoFocus);
    (*field)->setFixedWidth(190);
    (*label)->setBuddy(*field);
    *button = new QPushButton(QStringLiteral("変更..."), central);
    (*button)->setFocusPolicy(Qt::NoFocus);
    header->addWidget(*label);
    header->addWidget(*field);
    header->addWidget(*button);
  };
  QLabel* kamokuTitle = nullptr;
  addField(QStringLiteral("勘定科目"), &kamokuTitle, &displayingKamokuField_, &selectDisplayingKamokuButton_);
  header->addSpacing(18);
  addField(QStringLiteral("補助科目"), &displayingHojyoKamokuTitleField_, &displayingHojyoKamokuField_,
           &selectDisplayingHojyoKamokuButton_);
  header->addStretch(1);
  progressIndicator_ = new QProgressBar(central);
  progressIndicator_->setRange(0, 0);
  progressIndicator_->setTextVisible(false);
  progressIndicator_->setFixedSize(80, 12);
  progressIndicator_->setVisible(false);
  header->addWidget(progressIndicator_);
  layout->addLayout(header);
  connect(selectDisplayingKamokuButton_, &QPushButton::clicked, this,
          [this] { showSuitouKamokuFormatterListWindowForDisplayingKamokuField(); });
  connect(selectDisplayingHojyoKamokuButton_, &QPushButton::clicked, this,
          [this] { showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField(); });
  // Only a document with a cash account kept by sub-account shows the sub-account.
  const bool hojyo = document()->document().doesHaveSuitouKamokuWhichHasActiveHojyoKamoku();
  displayingHojyoKamokuTitleField_->setVisible(hojyo);
  displayingHojyoKamokuField_->setVisible(hojyo);
  selectDisplayingHojyoKamokuButton_->setVisible(hojyo);

  suitoucyouView_ = new SuitoucyouView(central);
  suitoucyouView_->setDelegate(this);
  setUpMatrices();
  layout->addWidget(suitoucyouView_, 1);
  setCentralWidget(central);
}

void SuitoucyouController::setUpMatrices()
{
  const bool hojyo = book_.hasHojyoKamokuColumn();
  const bool jigyoubu = book_.hasJigyoubuColumns();
  const int dateW = 78, kamokuW = 150, tekiyouW = 280, kingakuW = 122, zandakaW = 134, kindW = 50;
  std::vector<EntryGridView::Matrix> m;
  auto add = [&](Column c, const char* title, int x, int w, int line, int span, Qt::Alignment a, bool editable,
                 bool strong) {
    EntryGridView::Matrix matrix;
    matrix.id = c;
    matrix.title = qs(title);
    matrix.x = x;
    matrix.width = w;
    matrix.line = line;
    matrix.lineSpan = span;
    matrix.alignment = a;
    matrix.selectable = editable;
    matrix.editable = editable;
    matrix.strongLeftRule = strong;
    m.push_back(matrix);
  };
  int x = 0;
  add(Row::DateMatrix, "日付", x, dateW, 0, 1, Qt::AlignHCenter, true, false);
  add(Row::DenpyouNoMatrix, "伝票番号", x, dateW, 1, 1, Qt::AlignHCenter, false, false);
  x += dateW;
  // Without sub-accounts or divisions their lines are left out and the column above
  // takes both lines of the row.
  add(Row::AiteKamokuMatrix, "相手科目", x, kamokuW, 0, hojyo ? 1 : 2, Qt::AlignLeft, true, true);
  if (hojyo) add(Row::AiteHojyoKamokuMatrix, "相手補助科目", x, kamokuW, 1, 1, Qt::AlignLeft, true, true);
  x += kamokuW;
  add(Row::TekiyouMatrix, "摘要", x, tekiyouW, 0, jigyoubu ? 1 : 2, Qt::AlignLeft, true, true);
  if (jigyoubu) {
    add(Row::AiteJigyoubuMatrix, "相手事業部", x, tekiyouW / 2, 1, 1, Qt::AlignLeft, true, true);
    add(Row::JigyoubuMatrix, "事業部", x + tekiyouW / 2, tekiyouW - tekiyouW / 2, 1, 1, Qt::AlignLeft, true, false);
  }
  x += tekiyouW;
  add(Row::InKingakuMatrix, "入金", x, kingakuW, 0, 2, Qt::AlignRight, true, true);
  x += kingakuW;
  add(Row::OutKingakuMatrix, "出金", x, kingakuW, 0, 2, Qt::AlignRight, true, false);
  x += kingakuW;
  add(Row::ZandakaMatrix, "残高", x, zandakaW, 0, 2, Qt::AlignRight, false, true);
  x += zandakaW;
  add(Row::KindOfShiwakeMatrix, "区分", x, kindW, 0, 2, Qt::AlignHCenter, false, true);
  m.back().stretches = true;
  x += kindW;
  suitoucyouView_->setMatrices(std::move(m));
  suitoucyouView_->setMinimumWidth(std::min(x + 24, 700));
}

// --- header

void SuitoucyouController::setDisplayingKamokuFieldValue()
{
  if (!displayingKamokuField_) return;
  const MyDocument& doc = document()->document();
  const std::optional<std::string> name =
      displayingKamokuFormatter_->stringForObjectValue(FieldValue::code(book_.displayKamokuCode()));
  displayingKamokuField_->setText(name ? qs(*name) : QString());
  selectDisplayingKamokuButton_->setEnabled(doc.codeSortedSuitouKamokuArray().size() > 1);
  const KamokuPtr kamoku = book_.displayKamoku();
  const bool byHojyo = kamoku && kamoku->activeHojyoKamokuNum() > 0;
  if (byHojyo) {
    displayingHojyoKamokuFormatter_->setParentKamokuFromKamokuCode(kamoku->code());
    const std::optional<std::string> hojyo =
        displayingHojyoKamokuFormatter_->stringForObjectValue(FieldValue::code(book_.displayHojyoKamokuCode()));
    displayingHojyoKamokuField_->setText(hojyo ? qs(*hojyo) : QString());
  } else {
    displayingHojyoKamokuFormatter_->setParentKamokuFromKamokuCode(std::nullopt);
    displayingHojyoKamokuField_->clear();
  }
  selectDisplayingHojyoKamokuButton_->setEnabled(kamoku && kamoku->activeHojyoKamokuNum() > 1);
}

void SuitoucyouController::updateWindowMenu() { updateWindowMenuItemTitle(); }

// --- showing the book

void SuitoucyouController::displayShiwake()
{
  if (!suitoucyouView_) return;
  suitoucyouView_->abortEditing();
  isSelectedRowEdited_ = false;
  const bool pending = book_.displayShiwake();
  setDisplayingKamokuFieldValue();
  setItemCheckmarkOfkeyEquivalentMenu();
  if (pending) setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray();
  if (isMainWindow() || doUpdateZandakaEvenNotMainWindow_) {
    setZandakaMatrixCellsValue();
    doNeedUpdateZandaka_ = false;
  } else {
    doNeedUpdateZandaka_ = true;
  }
  reloadSuitoucyouView();
  updateWindowMenu();
  validateMenuItems();
}

void SuitoucyouController::setZandakaMatrixCellsValue()
{
  if (!suitoucyouView_) return;
  if (book_.startRowWithInvalidZandaka() >= book_.numberOfSuitoucyouRows()) return;
  // A book in the background computes under the document's progress sheet, which
  // holds the user's input until it ends (and shows only if it lasts); it cannot be
  // cancelled. Within a job that runs (a print) it leaves that job's sheet as it is.
  ProgressStateController* progress = nullptr;
  if (!isMainWindow()) {
    progress = document()->progressStateController();
    progress->beginModalSession(this);
    progress->setProgressFieldStringValue(qs(kProgressMessage));
    progress->setSubProgressFieldStringValue(QString());
    progress->setCancelButtonEnabled(false);
    progress->startProgressIndicatorAnimation();
  }
  progressIndicator_->setVisible(true);
  book_.setZandakaMatrixCellsValue([progress] {
    if (progress) progress->runModalSession();
  });
  progressIndicator_->setVisible(false);
  if (progress) {
    progress->stopProgressIndicatorAnimation();
    progress->endModalSession();
  }
  suitoucyouView_->viewport()->update();
}

void SuitoucyouController::journalDidChangeAccounts(const ChangedAccounts& accounts)
{
  if (!accounts.contains(book_.displayKamokuCode(), book_.displayHojyoKamokuCode())) return;
  if (accounts.movePendingEntryLast && book_.isEditingUnregisteredLastRow())
    book_.document().journal().movePendingEntryLast(book_.displayKamokuCode(), book_.displayHojyoKamokuCode());
  recomputeUI();
}

void SuitoucyouController::recomputeUI()
{
  book_.setStartRowWithInvalidZandaka(0);
  updateSuitoucyouUI();
}

void SuitoucyouController::updateSuitoucyouUI()
{
  if (!suitoucyouView_) return;
  // The row being edited is written first; in the background too when it was typed
  // in, as the rows are rebuilt from the journal and would drop what was typed.
  if (!commitEditing()) suitoucyouView_->abortEditing();
  int row = book_.selectedSuitoucyouRow();
  if (row >= 0 && !book_.row(row).isFurikaedenpyouLine() && (isMainWindow() || isSelectedRowEdited_) &&
      setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray() == SuitoucyouRegistrar::Result::RefusedInvalidRow) {
    // Rebuilt from the journal, the row would lose what was typed into it: it stays as
    // typed, its sheet at it, and the book is rebuilt once the row is written.
    doesNeedToRebuildAfterEditedRow_ = true;
    return;
  }
  row = book_.selectedSuitoucyouRow();
  Column column = row >= 0 && book_.selectedEditableIndex() >= 0 ? book_.selectedColumn() : Row::DateMatrix;
  if (book_.indexOfShiwakeOfDenpyouNo(book_.selectDenpyouNo()) < 0) {
    // The entry went: the row that takes its place is selected.
    const int count = book_.numberOfSuitoucyouRows();
    int32_t n = 0;
    if (count > 1 && row >= 0) n = book_.row(row < count - 1 ? row + 1 : row - 1).denpyouNo;
    book_.setSelectDenpyouNo(n);
    column = Row::DateMatrix;
  }
  displayShiwake();
  const int r = book_.rowOfShiwakeOfDenpyouNo(book_.selectDenpyouNo());
  if (r >= 0) {
    book_.selectCell(r, column);
    reloadSuitoucyouView();
  }
}

bool SuitoucyouController::switchToKamokuCode(int32_t kamokuCode, int32_t hojyoKamokuCode)
{
  const auto choice = book_.bookOfKamokuChoice(kamokuCode, hojyoKamokuCode);
  if (!choice) return false;
  if (WindowController* open = document()->suitoucyouControllerOfKamokuCode(choice->first, choice->second)) {
    open->showWindow();
    return true;
  }
  suitoucyouView_->abortEditing();
  book_.switchToBook(choice->first, choice->second);
  displayShiwake();
  synchronizeWindowTitleWithDocumentName();
  updateWindowMenu();
  return true;
}

void SuitoucyouController::showSuitouKamokuFormatterListWindowForDisplayingKamokuField()
{
  if (!displayingKamokuField_ || !selectDisplayingKamokuButton_->isEnabled()) return;
  const QPoint p = displayingKamokuField_->mapToGlobal(QPoint(0, displayingKamokuField_->height()));
  if (!handleChoosesetSuitoucyouRowOfSelectDenpyouNoToShiwakeArrayMenu()) return;
  const int32_t k = KamokuFormatterListWindow::showSuitouKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
      *displayingKamokuFormatter_, p, QString(), this);
  if (k == -1) return;
  switchToKamokuCode(k, displayingKamokuFormatter_->selectedHojyoKamokuCodeOfFormatterList());
}

void SuitoucyouController::showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField()
{
  if (!displayingHojyoKamokuField_ || !selectDisplayingHojyoKamokuButton_->isEnabled()) return;
  const QPoint p = displayingHojyoKamokuField_->mapToGlobal(QPoint(0, displayingHojyoKamokuField_->height()));
  if (!handleChoosesetSuitoucyouRowOfSelectDenpyouNoToShiwakeArrayMenu()) return;
  displayingHojyoKamokuFormatter_->setParentKamokuFromKamokuCode(book_.displayKamokuCode());
  const int32_t h = HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
      *displayingHojyoKamokuFormatter_, p, QString(), this);
  if (h == -1 || h == book_.displayHojyoKamokuCode()) return;
  switchToKamokuCode(book_.displayKamokuCode(), h);
}

void SuitoucyouController::showSuitoucyouOfDenpyouNo(int32_t n)
{
  if (!suitoucyouView_) return;
  if (book_.selectDenpyouNo() == 0 && book_.isEmptySuitoucyouRowOfDenpyouNo(0)) {
    handleChooseRemoveSuitoucyouRow();
  } else if (!handleChoosesetSuitoucyouRowOfSelectDenpyouNoToShiwakeArrayMenu()) {
    return;
  }
  const int r = book_.rowOfShiwakeOfDenpyouNo(n);
  if (r >= 0) deselectSelectedCellAndThenSelectSuitoucyouRow(r, Row::DateMatrix);
}

std::vector<SuitoucyouController*> SuitoucyouController::otherSuitoucyouControllers() const
{
  std::vector<SuitoucyouController*> books;
  for (DocumentWindowController* wc : document()->windowControllers())
    if (auto* book = qobject_cast<SuitoucyouController*>(wc); book && book != this) books.push_back(book);
  return books;
}

void SuitoucyouController::recalculateZandaka()
{
  if (!suitoucyouView_ || !commitEditing()) return;
  // A numbered row that does not pass its check is never written back: its sheet
  // shows, and the journal stays as it was.
  if (setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray() == SuitoucyouRegistrar::Result::RefusedInvalidRow) return;
  MyDocument& doc = document()->document();
  // A pending entry has no place in date order: each book's stays on its last row.
  doc.journal().sortByDate();
  doc.updateChangeCount(MyDocument::ChangeType::Done);
  removeAllUndoActions();
  book_.setStartRowWithInvalidZandaka(0);
  updateSuitoucyouUI();
  for (SuitoucyouController* book : otherSuitoucyouControllers()) {
    book->setDoUpdateZandakaEvenNotMainWindow(true);
    book->recomputeUI();
    book->setDoUpdateZandakaEvenNotMainWindow(false);
  }
  doc.updateAllOutputWindowControllersUI();
}

// --- checks and registration

SuitoucyouRegistrar::Context SuitoucyouController::registrarContext() const
{
  SuitoucyouRegistrar::Context context;
  context.self = this;
  if (auto* voucher = qobject_cast<FurikaedenpyouController*>(document()->furikaedenpyouController());
      voucher && voucher->isWindowLoaded())
    context.furikaedenpyouDisplayingDenpyouNo = voucher->displayingDenpyouNo();
  return context;
}

bool SuitoucyouController::doAllSuitoucyouCellsHaveValidObjectValuesAtRow(int row, int32_t denpyouNo,
                                                                          bool showErrorMessage)
{
  const SuitoucyouCheckResult result = book_.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(row, denpyouNo);
  if (!result && showErrorMessage && !result.message.empty()) {
    beginAlertSheet(Suitoucyou::kInvalidShiwakeTitle, result.message);
    if (result.row >= 0) deselectSelectedCellAndThenSelectSuitoucyouRow(result.row, result.column);
  }
  return result.ok;
}

SuitoucyouRegistrar::Result SuitoucyouController::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(bool showErrorMessage)
{
  const SuitoucyouRegistrar::Result result =
      SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book_, registrarContext());
  if (result == SuitoucyouRegistrar::Result::Registered || result == SuitoucyouRegistrar::Result::DenpyouNoExhausted)
    isSelectedRowEdited_ = false;
  if (result == SuitoucyouRegistrar::Result::Registered && doesNeedToRebuildAfterEditedRow_) {
    // The refresh a kept row put off, once the caller is done with the rows.
    doesNeedToRebuildAfterEditedRow_ = false;
    QTimer::singleShot(0, this, [this] {
      book_.setStartRowWithInvalidZandaka(0);
      updateSuitoucyouUI();
    });
  }
  switch (showErrorMessage ? result : SuitoucyouRegistrar::Result::Registered) {
  case SuitoucyouRegistrar::Result::DenpyouNoExhausted:
    beginAlertSheet(Suitoucyou::kInvalidDenpyouNoTitle, Suitoucyou::denpyouNoExhaustedMessage());
    break;
  case SuitoucyouRegistrar::Result::RefusedInvalidRow:
    doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, book_.selectDenpyouNo(), true);
    break;
  default: break;
  }
  if (suitoucyouView_) suitoucyouView_->viewport()->update();
  return result;
}

bool SuitoucyouController::handleChoosesetSuitoucyouRowOfSelectDenpyouNoToShiwakeArrayMenu()
{
  if (!suitoucyouView_) return true;
  if (!commitEditing()) return false;
  const int32_t n = book_.selectDenpyouNo();
  if (!(n == 0 && book_.isEmptySuitoucyouRowOfDenpyouNo(0)) &&
      !doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, n, true)) {
    reloadSuitoucyouView();
    return false;
  }
  setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray();
  setZandakaMatrixCellsValue();
  reloadSuitoucyouView();
  return true;
}

void SuitoucyouController::settleFinishedEditing()
{
  if (!suitoucyouView_ || !isEditedTextReadable() || !commitEditing()) return;
  const int32_t n = book_.selectDenpyouNo();
  if (!(n == 0 && book_.isEmptySuitoucyouRowOfDenpyouNo(0)) &&
      !doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, n, false))
    return;
  setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(false);
  setZandakaMatrixCellsValue();
  reloadSuitoucyouView();
}

// --- rows and the selection

void SuitoucyouController::deselectSelectedCellAndThenSelectSuitoucyouRow(int row, Column column)
{
  book_.selectCell(row, column);
  reloadSuitoucyouView();
}

void SuitoucyouController::handleChooseAddSuitoucyouRow()
{
  if (!suitoucyouView_ || !commitEditing()) return;
  if (document()->document().kaisya().minAvailableDenpyouNo() > Kaisya::kMaxDenpyouNo) return;
  if (!doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, book_.selectDenpyouNo(), true)) return;
  setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray();
  book_.insertSuitoucyouRow(book_.numberOfSuitoucyouRows());
  book_.selectCell(book_.numberOfSuitoucyouRows() - 1, Row::DateMatrix);
  removeAllUndoActions();
  setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray();
  setZandakaMatrixCellsValue();
  reloadSuitoucyouView();
  validateMenuItems();
}

void SuitoucyouController::handleChooseInsertSuitoucyouRow()
{
  if (!suitoucyouView_ || !commitEditing()) return;
  const int r = book_.selectedSuitoucyouRow();
  if (r < 0 || document()->document().kaisya().minAvailableDenpyouNo() > Kaisya::kMaxDenpyouNo) return;
  if (!doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, book_.selectDenpyouNo(), true)) return;
  setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray();
  // Above the whole run of rows of the same number: a voucher's lines stay together.
  int at = r;
  while (at > 0 && book_.row(at - 1).denpyouNo == book_.row(r).denpyouNo) --at;
  book_.insertSuitoucyouRow(at);
  book_.selectCell(at, Row::DateMatrix);
  removeAllUndoActions();
  setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray();
  setZandakaMatrixCellsValue();
  reloadSuitoucyouView();
  validateMenuItems();
}

void SuitoucyouController::handleChooseDuplicateSuitoucyouRow()
{
  if (!suitoucyouView_ || !commitEditing()) return;
  if (book_.selectedSuitoucyouRow() < 0 ||
      document()->document().kaisya().minAvailableDenpyouNo() > Kaisya::kMaxDenpyouNo)
    return;
  if (!doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, book_.selectDenpyouNo(), true)) return;
  if (SuitoucyouRegistrar::duplicateSuitoucyouRow(book_, registrarContext()) < 0) return;
  removeAllUndoActions();
  setZandakaMatrixCellsValue();
  reloadSuitoucyouView();
  validateMenuItems();
}

void SuitoucyouController::handleChooseRemoveSuitoucyouRow()
{
  if (!suitoucyouView_) return;
  const int r = book_.selectedSuitoucyouRow();
  if (r < 0) return;
  if (book_.row(r).isFurikaedenpyouLine()) {
    beginAlertSheet(Suitoucyou::kRemoveErrorTitle, Suitoucyou::kRemoveFurikaedenpyouMessage);
    return;
  }
  removeAllUndoActions();
  removeSelectedRow();
}

void SuitoucyouController::removeSelectedRow()
{
  suitoucyouView_->abortEditing();
  SuitoucyouRegistrar::Removal removal = SuitoucyouRegistrar::removeSuitoucyouShiwake(book_, registrarContext());
  setZandakaMatrixCellsValue();
  reloadSuitoucyouView();
  validateMenuItems();
  if (removal.isUndoable)
    document()->undoManager()->push(new RemoveSuitoucyouRowCommand(document(), book_.displayKamokuCode(),
                                                                   book_.displayHojyoKamokuCode(), std::move(removal)));
}

void SuitoucyouController::restoreRemovedRow(const SuitoucyouRegistrar::Removal& removal)
{
  if (!suitoucyouView_) return;
  suitoucyouView_->abortEditing();
  SuitoucyouRegistrar::restoreSuitoucyouShiwake(book_, removal, registrarContext());
  if (isMainWindow())
    setZandakaMatrixCellsValue();
  else
    doNeedUpdateZandaka_ = true;
  reloadSuitoucyouView();
  validateMenuItems();
}

bool SuitoucyouController::redoRemoval(SuitoucyouRegistrar::Removal& removal)
{
  if (!suitoucyouView_ || !SuitoucyouRegistrar::selectRowOfShiwake(book_, removal.shiwake)) return false;
  suitoucyouView_->abortEditing();
  removal = SuitoucyouRegistrar::removeSuitoucyouShiwake(book_, registrarContext());
  setZandakaMatrixCellsValue();
  reloadSuitoucyouView();
  validateMenuItems();
  return removal.shiwake != nullptr;
}

void SuitoucyouController::setItemAsAboveSuitoucyouRowItem()
{
  if (!suitoucyouView_ || !commitEditing()) return;
  if (book_.setItemAsAboveSuitoucyouRowItem()) markEdited();
  reloadSuitoucyouView();
}

// --- cells as text

EntryGridView* SuitoucyouController::entryGridView() const { return suitoucyouView_; }

void SuitoucyouController::setCellValue(int row, int matrixId, const FieldValue& value)
{
  book_.setCell(row, static_cast<Column>(matrixId), value);
}

EntryWindowController::InputKind SuitoucyouController::inputKindOfMatrix(int matrixId) const
{
  // The two amount columns share the amount settings, the two division columns the
  // division settings.
  const Column column = static_cast<Column>(matrixId);
  if (column == Row::DateMatrix) return InputKind::Date;
  if (column == Row::AiteKamokuMatrix) return InputKind::Kamoku;
  if (column == Row::AiteHojyoKamokuMatrix) return InputKind::HojyoKamoku;
  if (SuitoucyouRow::isKingakuColumn(column)) return InputKind::Kingaku;
  if (SuitoucyouRow::isJigyoubuColumn(column)) return InputKind::Jigyoubu;
  return column == Row::TekiyouMatrix ? InputKind::Tekiyou : InputKind::None;
}

EntryWindowController::Picker SuitoucyouController::pickerOfMatrix(int matrixId) const
{
  const Column column = static_cast<Column>(matrixId);
  if (column == Row::AiteKamokuMatrix) return Picker::Kamoku;
  if (column == Row::AiteHojyoKamokuMatrix) return Picker::HojyoKamoku;
  if (SuitoucyouRow::isJigyoubuColumn(column)) return Picker::Jigyoubu;
  return column == Row::TekiyouMatrix ? Picker::Tekiyou : Picker::None;
}

bool SuitoucyouController::moveSelectedCell(EntryGridView::Command command)
{
  switch (command) {
  case EntryGridView::Command::InsertTab: return moveSelectSuitoucyouCellByCommand(Command::InsertTab);
  case EntryGridView::Command::InsertBacktab: return moveSelectSuitoucyouCellByCommand(Command::InsertBacktab);
  case EntryGridView::Command::MoveUp: return moveSelectSuitoucyouCellByCommand(Command::MoveUp);
  case EntryGridView::Command::MoveDown: return moveSelectSuitoucyouCellByCommand(Command::MoveDown);
  default: return false;
  }
}

Formatter* SuitoucyouController::formatterForMatrix(int matrixId, int row) const
{
  const Column column = static_cast<Column>(matrixId);
  switch (column) {
  case Row::DateMatrix: return hidukeFormatter_.get();
  case Row::AiteKamokuMatrix: return aiteKamokuFormatter_.get();
  case Row::AiteHojyoKamokuMatrix: {
    const FieldValue parent = book_.cell(row, Row::AiteKamokuMatrix);
    aiteHojyoKamokuFormatter_->setParentKamokuFromKamokuCode(
        parent.isCode() ? std::optional<int32_t>(parent.codeValue()) : std::nullopt);
    return aiteHojyoKamokuFormatter_.get();
  }
  case Row::TekiyouMatrix: return tekiyouFormatter_.get();
  case Row::AiteJigyoubuMatrix:
  case Row::JigyoubuMatrix: return jigyoubuFormatter_.get();
  case Row::InKingakuMatrix:
  case Row::OutKingakuMatrix: return kingakuFormatter_.get();
  default: return nullptr;
  }
}

int SuitoucyouController::numberOfRows() const { return book_.numberOfSuitoucyouRows(); }

QString SuitoucyouController::stringValue(int row, int matrixId) const
{
  if (row < 0 || row >= book_.numberOfSuitoucyouRows()) return {};
  const Column column = static_cast<Column>(matrixId);
  switch (column) {
  case Row::DenpyouNoMatrix: {
    const int32_t n = book_.row(row).denpyouNo;
    return n > 0 ? QString::number(n) : QString();
  }
  case Row::ZandakaMatrix: return qs(book_.zandakaString(row));
  case Row::KindOfShiwakeMatrix: return qs(book_.cell(row, column).textValue());
  default: break;
  }
  return formattedCellString(row, column, book_.cell(row, column));
}

QColor SuitoucyouController::textColor(int row, int matrixId) const
{
  // The balance is read like the amounts beside it; grey while the journal is out of
  // date order.
  if (matrixId != Row::ZandakaMatrix || row < 0 || row >= book_.numberOfSuitoucyouRows()) return {};
  return book_.row(row).zandakaIsGray ? kGrayText : suitoucyouView_->palette().color(QPalette::Text);
}

// --- editing

bool SuitoucyouController::textShouldBeginEditing(int row, int matrixId)
{
  // A transfer-voucher line is edited in the voucher window: that voucher is shown.
  const int32_t n = book_.selectDenpyouNo();
  const int found = book_.indexOfShiwakeOfDenpyouNo(n);
  if (found >= 0 &&
      document()->document().journal()[static_cast<size_t>(found)]->kindOfShiwake() == ShiwakeKind::Furikaedenpyou) {
    FurikaedenpyouController::showDenpyouOfDenpyouNo(document(), n);
    return false;
  }
  const Column column = static_cast<Column>(matrixId);
  if (column == Row::DateMatrix) document()->document().journal().dateEditingBegan();
  if (column == Row::DateMatrix || column == Row::AiteKamokuMatrix || column == Row::AiteHojyoKamokuMatrix ||
      SuitoucyouRow::isKingakuColumn(column))
    book_.setStartRowWithInvalidZandaka(std::min(book_.startRowWithInvalidZandaka(), row));
  return true;
}

void SuitoucyouController::textDidBeginEditing(int row, int matrixId)
{
  if (matrixId != Row::TekiyouMatrix) return;
  const FieldValue aite = book_.cell(row, Row::AiteKamokuMatrix);
  tekiyouFormatter_->setPrimeGroupNameToSearchFromFirstKamokuCode(
      aite.isCode() ? std::optional<int32_t>(aite.codeValue()) : std::nullopt, book_.displayKamokuCode());
}

void SuitoucyouController::textDidChange(int row, int matrixId, const QString&)
{
  const Column column = static_cast<Column>(matrixId);
  if (!book_.isEditableColumn(column)) return;
  markEdited();
  book_.textDidChangeAtRow(row, column);
  suitoucyouView_->updateRow(row);
}

void SuitoucyouController::markEdited()
{
  isSelectedRowEdited_ = true;
  document()->updateChangeCount(MyDocument::ChangeType::Done);
  removeAllUndoActions();
}

void SuitoucyouController::reloadSuitoucyouView()
{
  if (!suitoucyouView_) return;
  suitoucyouView_->reloadData();
  const int row = book_.selectedSuitoucyouRow();
  if (row < 0) {
    suitoucyouView_->deselectCell();
    return;
  }
  // A new selection starts afresh: no sub-account typed together with an account.
  aiteKamokuFormatter_->setInputedHojyoKamokuCode(-1);
  suitoucyouView_->selectCell(row, book_.selectedColumn());
}

void SuitoucyouController::mouseDownInCell(int row, int matrixId)
{
  // A click can reach the book before the window system makes it the active window:
  // the ledgers' corrections come first, so that the row clicked is not an older copy.
  if (!isMainWindow() && !document()->deselectKanjyoumotocyouCellsOfAllShiwake()) return;
  if (!commitEditing()) return;
  const Column column = static_cast<Column>(matrixId);
  const int s = book_.selectedSuitoucyouRow();
  const int last = book_.numberOfSuitoucyouRows() - 1;
  if (s >= 0 && s != row) {
    const int32_t n = book_.selectDenpyouNo();
    if (n == 0 && s == last && book_.isEmptySuitoucyouRowOfDenpyouNo(0)) {
      // Leaving the empty new last row drops it.
      SuitoucyouRegistrar::removeSuitoucyouRowAtUnregisteredDenpyouNo(book_);
    } else {
      // Leaving a row registers it; an invalid row keeps the selection, with its sheet.
      if (!doAllSuitoucyouCellsHaveValidObjectValuesAtRow(-1, n, true)) return;
      setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray();
      setZandakaMatrixCellsValue();
    }
  }
  deselectSelectedCellAndThenSelectSuitoucyouRow(std::min(row, book_.numberOfSuitoucyouRows() - 1), column);
  validateMenuItems();
}

// --- keys

bool SuitoucyouController::moveSelectSuitoucyouCellByCommand(Command command)
{
  if (book_.selectedEditableIndex() < 0) return false;
  const Column column = book_.selectedColumn();
  if (!commitEditing()) return false;
  SuitoucyouCellMovement::Options options;
  options.autoSetItemAsAboveRow =
      UserDefaults::standardUserDefaults().boolForKey(KIVOSuitoucyouAutoSetItemAsAboveRowKey);
  if (column == Row::AiteKamokuMatrix) options.inputedHojyoKamokuCode = aiteKamokuFormatter_->inputedHojyoKamokuCode();
  MovementActions actions(this);
  SuitoucyouCellMovement::moveSelectSuitoucyouCellByCommand(book_, command, options, actions);
  reloadSuitoucyouView();
  validateMenuItems();
  return true;
}

// --- "機能" menu

const std::vector<QAction*>& SuitoucyouController::functionMenuActions()
{
  if (!functionActions_.empty()) return functionActions_;
  using Self = SuitoucyouController;
  using F = FunctionCommand;
  auto key = [](const char* k, uint32_t mask) {
    return MainMenu::keySequenceForKeyEquivalent(QString::fromUtf8(k), mask);
  };
  auto add = [&](F command, const char* title, void (Self::*slot)(), const QKeySequence& k) {
    setFunctionCommand(addFunctionMenuAction(qs(title), k, [this, slot] { (this->*slot)(); }), command);
  };

  add(F::ShowKamoku, "表示する勘定科目...", &Self::showSuitouKamokuFormatterListWindowForDisplayingKamokuField,
      key("K", kCommand | kShift));
  if (document()->document().doesHaveSuitouKamokuWhichHasActiveHojyoKamoku())
    add(F::ShowHojyoKamoku, "表示する補助科目...",
        &Self::showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField, key("H", kCommand | kShift));
  shortcutMenu_ = new QMenu(qs(kShortcutMenuTitle), this);
  for (int digit = 1; digit <= Kamoku::kMaxKeyEquivalent; ++digit) {
    QAction* item = shortcutMenu_->addAction(QStringLiteral("Ctrl キー + %1").arg(digit));
    item->setData(digit);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, digit] { changeKeyEquivalentOfSuitoucyouSubMenu(digit); });
  }
  setFunctionCommand(shortcutMenu_->menuAction(), F::ShortcutMenu);
  functionActions_.push_back(shortcutMenu_->menuAction());
  addFunctionMenuSeparator();
  QAction* registerRow = addFunctionMenuAction(
      QStringLiteral("行を登録"), key("s", kCommand | kOption),
      [this] { handleChoosesetSuitoucyouRowOfSelectDenpyouNoToShiwakeArrayMenu(); }, Validation::After);
  setFunctionCommand(registerRow, F::Register);
  add(F::NewRow, "行の追加", &Self::handleChooseAddSuitoucyouRow, key("k", kCommand));
  add(F::NewRow, "行の挿入", &Self::handleChooseInsertSuitoucyouRow, key("i", kCommand));
  add(F::NewRow, "行の複製", &Self::handleChooseDuplicateSuitoucyouRow, key("d", kCommand));
  add(F::RemoveRow, "行の削除", &Self::handleChooseRemoveSuitoucyouRow, key("r", kCommand));
  addFunctionMenuSeparator();
  add(F::SetItemAsAboveRowItem, "前行同項目を転記", &Self::setItemAsAboveSuitoucyouRowItem,
      key("C", kCommand | kShift));
  addFunctionMenuSeparator();
  add(F::SortByDate, "日付順に並び替え", &Self::recalculateZandaka, key("J", kCommand | kShift));
  reserveFunctionMenuShortcuts(shortcutMenu_->menuAction());
  return functionActions_;
}

void SuitoucyouController::validateMenuItems()
{
  if (functionActions_.empty() || !suitoucyouView_) return;
  const bool counterLeft = document()->document().kaisya().minAvailableDenpyouNo() <= Kaisya::kMaxDenpyouNo;
  for (QAction* a : functionActions_) {
    if (!a) continue;
    switch (functionCommandOf<FunctionCommand>(a)) {
    case FunctionCommand::ShowKamoku: a->setEnabled(selectDisplayingKamokuButton_->isEnabled()); break;
    case FunctionCommand::ShowHojyoKamoku: a->setEnabled(selectDisplayingHojyoKamokuButton_->isEnabled()); break;
    case FunctionCommand::NewRow: a->setEnabled(counterLeft); break;
    default: a->setEnabled(true); break;
    }
  }
}

void SuitoucyouController::changeKeyEquivalentOfSuitoucyouSubMenu(int digit)
{
  if (!book_.changeKeyEquivalentOfSuitoucyouSubMenu(digit)) return;
  document()->updateChangeCount(MyDocument::ChangeType::Done);
  removeAllUndoActions();
  setItemCheckmarkOfkeyEquivalentMenu();
  document()->setSubmenuOfShowSuitoucyouWindow();
}

void SuitoucyouController::setItemCheckmarkOfkeyEquivalentMenu()
{
  if (!shortcutMenu_ || !isMainWindow()) return;
  const int32_t digit = book_.keyEquivalentOfSuitoucyouSubMenu();
  for (QAction* a : shortcutMenu_->actions()) a->setChecked(a->data().toInt() == digit);
}

// --- main, key and closing

void SuitoucyouController::windowDidBecomeMain()
{
  if (!document()->deselectKanjyoumotocyouCellsOfAllShiwake()) return;
  setItemCheckmarkOfkeyEquivalentMenu();
  if (doNeedUpdateZandaka_) {
    doNeedUpdateZandaka_ = false;
    setZandakaMatrixCellsValue();
  }
}

void SuitoucyouController::windowDidResignKey() { removeAllUndoActions(); }

void SuitoucyouController::windowWillCloseHook()
{
  removeAllUndoActions();
  closeAttachedSheet();
}

// --- sheets and the description list

void SuitoucyouController::closeAttachedSheet()
{
  if (auto* sheet = qobject_cast<TekiyouListController*>(attachedSheetController()))
    sheet->endTekiyouListWindow(nullptr);
}

void SuitoucyouController::beginAlertSheet(const char* title, const std::string& message)
{
  closeAttachedSheet();
  AlertSheet::beginAlertSheet(this, qs(title), qs(message));
}

bool SuitoucyouController::getSelectedRowKarikataKamokuCode(int& karikataKamokuCode, int& kashikataKamokuCode) const
{
  if (book_.selectedSuitoucyouRow() < 0) return false;
  const auto [karikata, kashikata] = book_.selectedSuitoucyouRowKarikataKashikataKamokuCode();
  karikataKamokuCode = karikata;
  kashikataKamokuCode = kashikata;
  return true;
}

void SuitoucyouController::writeTekiyouStringToPasteboard()
{
  const int row = book_.selectedSuitoucyouRow();
  if (row < 0) return;
  const std::string& tekiyou = book_.row(row).cell(Row::TekiyouMatrix).textValue();
  if (!tekiyou.empty()) QGuiApplication::clipboard()->setText(qs(tekiyou));
}

}  // namespace kivo

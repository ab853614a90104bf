#include "entry/gui/FurikaedenpyouController.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "entry/FurikaedenpyouBookmarks.h"
#include "entry/FurikaedenpyouDeletion.h"
#include "entry/FurikaedenpyouNavigator.h"
#include "entry/FurikaedenpyouRegistrar.h"
#include "entry/gui/FurikaedenpyouBookmarkController.h"
#include "entry/gui/FurikaedenpyouSelectController.h"
#include "entry/gui/FurikaedenpyouView.h"
#include "entry/gui/RemoveDenpyouCommand.h"
#include "entry/gui/RemoveDenpyouRowCommand.h"
#include "fields/AmountFormatter.h"
#include "fields/HidukeFormatter.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/TekiyouFormatter.h"
#include "platform/AlertSheet.h"
#include "platform/MainMenu.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "platform/WindowPlacement.h"
#include "setup/gui/TekiyouListController.h"

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;

// Modifier masks of the menu's key equivalents.
constexpr uint32_t kCommand = MainMenu::kCommandKeyMask;
constexpr uint32_t kShift = MainMenu::kShiftKeyMask;
constexpr uint32_t kOption = MainMenu::kAlternateKeyMask;

}  // namespace

// --- life

FurikaedenpyouController::FurikaedenpyouController(OpenDocument* document, int32_t denpyouNo)
    : EntryWindowController(document, Kind::Furikaedenpyou, FurikaedenpyouView::kKeyDownNotification),
      denpyou_(document->document())
{
  denpyou_.setDisplayingDenpyouNo(denpyouNo);
}

FurikaedenpyouController::~FurikaedenpyouController() = default;

FurikaedenpyouController* FurikaedenpyouController::showFurikaedenpyouWindow(OpenDocument* document)
{
  if (!document) return nullptr;
  auto* controller = qobject_cast<FurikaedenpyouController*>(document->furikaedenpyouController());
  if (!controller) {
    if (!document->deselectKanjyoumotocyouCellsOfAllShiwake()) return nullptr;
    controller = new FurikaedenpyouController(document, document->document().kaisya().minAvailableDenpyouNo());
    document->addWindowController(controller);
    controller->moveWindowToInitialPositionWithDisplay(true);
  }
  controller->showWindow();
  return controller;
}

FurikaedenpyouController* FurikaedenpyouController::showDenpyouOfDenpyouNo(OpenDocument* document, int32_t denpyouNo)
{
  if (!document) return nullptr;
  auto* controller = qobject_cast<FurikaedenpyouController*>(document->furikaedenpyouController());
  if (controller) {
    controller->showWindow();
    controller->showDenpyouOfDenpyouNo(denpyouNo);
    return controller;
  }
  controller = new FurikaedenpyouController(document, denpyouNo);
  document->addWindowController(controller);
  controller->moveWindowToInitialPositionWithDisplay(true);
  controller->showWindow();
  return controller;
}

QString FurikaedenpyouController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  return displayName + qs(kTitleSuffix);
}

QString FurikaedenpyouController::windowMenuTitle() const { return qs(kWindowMenuTitle); }
QString FurikaedenpyouController::denpyouAndCyouhyouItemTitle() const { return qs(MainMenu::kFurikaedenpyouItemTitle); }
const char* FurikaedenpyouController::windowWidthDefaultsKey() const { return KIVOFurikaedenpyouWindowWidthKey; }
const char* FurikaedenpyouController::windowHeightDefaultsKey() const { return KIVOFurikaedenpyouWindowHeightKey; }

void FurikaedenpyouController::windowDidLoad()
{
  const MyDocument& doc = document()->document();
  const Kaisya& kaisya = doc.kaisya();
  hidukeFormatter_ = std::make_unique<HidukeFormatter>(doc, true);
  karikataKamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, false);
  kashikataKamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, false);
  hojyoKamokuFormatter_ = std::make_unique<HojyoKamokuFormatter>(doc);
  kingakuFormatter_ = std::make_unique<AmountFormatter>(kaisya.decimalPrecision(), AmountFormatter::Range::Input);
  balanceFormatter_ = std::make_unique<AmountFormatter>(kaisya.decimalPrecision(), AmountFormatter::Range::Unlimited);
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(doc);
  tekiyouFormatter_ = std::make_unique<TekiyouFormatter>(doc);

  denpyou_.setUpEditableMattrixArray();
  if (doc.wasOpenedByLimitedUserPassword())
    limitedUserBookmarkArray_ = FurikaedenpyouBookmarks::limitedUserBookmarkArray(doc.furikaedenpyouBookmarkArray());

  buildLayout();
  displayShiwakeOfDenpyouNo(denpyou_.displayingDenpyouNo());

  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  const double drawerWidth = defaults.doubleForKey(KIVOFurikaedenpyouDrawerContentSizeWidthKey);
  const double drawerHeight = defaults.doubleForKey(KIVOFurikaedenpyouDrawerContentSizeHeightKey);
  const bool open = drawerWidth > 0 && drawerHeight > 0;
  bookmarkDrawer_->setVisible(open);
  if (open) resizeDocks({bookmarkDrawer_}, {static_cast<int>(drawerWidth)}, Qt::Horizontal);
}

void FurikaedenpyouController::buildLayout()
{
  resize(960, 440);
  setMinimumSize(640, 260);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(kGridSideMargin, 10, kGridSideMargin, 10);
  layout->setSpacing(8);

  layout->addWidget(makeTitleLabel(QStringLiteral("振 替 伝 票"), central));

  denpyouView_ = new FurikaedenpyouView(central);
  denpyouView_->setDelegate(this);
  setUpMatrices();
  layout->addWidget(denpyouView_, 1);

  auto* bottom = new QHBoxLayout();
  selectDisplayDenpyouButton_ = new QPushButton(QStringLiteral("日付を指定し伝票を表示..."), central);
  selectDisplayDenpyouButton_->setFocusPolicy(Qt::NoFocus);
  connect(selectDisplayDenpyouButton_, &QPushButton::clicked, this, [this] {
    selectDisplayDenpyou();
    validateMenuItems();
  });
  bottom->addWidget(selectDisplayDenpyouButton_);
  bottom->addStretch(1);
  auto* balanceLabel = new QLabel(QStringLiteral("貸借差額"), central);
  bottom->addWidget(balanceLabel);
  taisyakuBalanceField_ = new QLineEdit(central);
  taisyakuBalanceField_->setReadOnly(true);
  taisyakuBalanceField_->setFocusPolicy(Qt::NoFocus);
  taisyakuBalanceField_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  taisyakuBalanceField_->setFixedWidth(170);
  balanceLabel->setBuddy(taisyakuBalanceField_);
  bottom->addWidget(taisyakuBalanceField_);
  layout->addLayout(bottom);
  setCentralWidget(central);

  buildBookmarkDrawer();
}

void FurikaedenpyouController::buildBookmarkDrawer()
{
  // The bookmark drawer beside the voucher: the months of the term and the named
  // bookmarks. The tables never take the focus from the grid.
  bookmarkDrawer_ = new QDockWidget(QStringLiteral("ブックマーク"), this);
  bookmarkDrawer_->setObjectName(QStringLiteral("bookmarkDrawer"));
  bookmarkDrawer_->setFeatures(QDockWidget::NoDockWidgetFeatures);
  auto* drawer = new QWidget(bookmarkDrawer_);
  auto* drawerLayout = new QVBoxLayout(drawer);
  drawerLayout->setContentsMargins(6, 6, 6, 6);
  monthTableView_ = new QTableWidget(0, 1, drawer);
  monthTableView_->setObjectName(QStringLiteral("monthTableView"));
  monthTableView_->setHorizontalHeaderLabels({QStringLiteral("月")});
  bookmarkTableView_ = new QTableWidget(0, 2, drawer);
  bookmarkTableView_->setObjectName(QStringLiteral("bookmarkTableView"));
  bookmarkTableView_->setHorizontalHeaderLabels({QStringLiteral("伝票番号"), QStringLiteral("ブックマーク")});
  bookmarkTableView_->horizontalHeaderItem(0)->setData(Qt::UserRole, QStringLiteral("denpyouNo"));
  bookmarkTableView_->horizontalHeaderItem(1)->setData(Qt::UserRole, QStringLiteral("name"));
  bookmarkTableView_->setColumnWidth(0, 64);
  for (QTableWidget* t : {monthTableView_, bookmarkTableView_}) {
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->hide();
    t->setFocusPolicy(Qt::NoFocus);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
  }
  drawerLayout->addWidget(monthTableView_, 2);
  drawerLayout->addWidget(bookmarkTableView_, 3);
  auto* buttons = new QHBoxLayout();
  const bool limited = document()->wasOpenedByLimitedUserPassword();
  for (const char* label : {"編集...", "削除", "上へ", "下へ"}) {
    auto* b = new QPushButton(qs(label), drawer);
    b->setEnabled(!limited);
    b->setFocusPolicy(Qt::NoFocus);
    bookmarkButtons_.push_back(b);
    buttons->addWidget(b);
  }
  drawerLayout->addLayout(buttons);
  bookmarkDrawer_->setWidget(drawer);
  addDockWidget(Qt::RightDockWidgetArea, bookmarkDrawer_);
  bookmarkDrawer_->installEventFilter(this);

  connect(monthTableView_, &QTableWidget::itemSelectionChanged, this, [this] { monthTableViewSelectionDidChange(); });
  connect(bookmarkTableView_, &QTableWidget::itemSelectionChanged, this,
          [this] { bookmarkTableViewSelectionDidChange(); });
  connect(editBookmarkButton(), &QPushButton::clicked, this, [this] { showFurikaedenpyouBookmarkWindow(); });
  connect(removeBookmarkButton(), &QPushButton::clicked, this, [this] { removeBookmark(); });
  connect(moveBookmarkUpButton(), &QPushButton::clicked, this, [this] { moveBookmarkUp(); });
  connect(moveBookmarkDownButton(), &QPushButton::clicked, this, [this] { moveBookmarkDown(); });
  reloadBookmarkTables();
}

void FurikaedenpyouController::setUpMatrices()
{
  const bool hojyo = denpyou_.hasHojyoKamokuColumns();
  const bool jigyoubu = denpyou_.hasJigyoubuColumns();
  const int dateW = 78, kamokuW = 150, kingakuW = 124, tekiyouW = 250;
  std::vector<EntryGridView::Matrix> m;
  auto add = [&](Column c, const char* title, int x, int w, int line, int span, Qt::Alignment a, bool enabled,
                 bool editable, bool strong) {
    EntryGridView::Matrix matrix;
    matrix.id = c;
    matrix.title = enabled ? qs(title) : QString();
    matrix.x = x;
    matrix.width = w;
    matrix.line = line;
    matrix.lineSpan = span;
    matrix.alignment = a;
    matrix.enabled = enabled;
    matrix.selectable = editable && enabled;
    matrix.editable = editable && enabled;
    matrix.strongLeftRule = strong;
    m.push_back(matrix);
  };
  int x = 0;
  add(Row::DateMatrix, "日付", x, dateW, 0, 1, Qt::AlignHCenter, true, true, false);
  add(Row::DenpyouNoMatrix, "伝票番号", x, dateW, 1, 1, Qt::AlignHCenter, true, false, false);
  x += dateW;
  for (const Row::Side* side : {&Row::kKarikata, &Row::kKashikata}) {
    const bool kari = side == &Row::kKarikata;
    add(side->kamoku, kari ? "借方科目" : "貸方科目", x, kamokuW, 0, 1, Qt::AlignLeft, true, true, true);
    add(side->hojyoKamoku, "補助科目", x, kamokuW, 1, 1, Qt::AlignLeft, hojyo, true, true);
    x += kamokuW;
    add(side->kingaku, kari ? "借方金額" : "貸方金額", x, kingakuW, 0, 1, Qt::AlignRight, true, true, false);
    add(side->jigyoubu, "事業部", x, kingakuW, 1, 1, Qt::AlignLeft, jigyoubu, true, false);
    x += kingakuW;
  }
  add(Row::TekiyouMatrix, "摘要", x, tekiyouW, 0, 2, Qt::AlignLeft, true, true, true);
  m.back().stretches = true;
  denpyouView_->setMatrices(std::move(m));
  // Narrower than its columns (the drawer open on a small screen), the grid scrolls.
  denpyouView_->setMinimumWidth(dateW + kamokuW + kingakuW + 24);
}

// --- showing a voucher

void FurikaedenpyouController::displayShiwakeOfDenpyouNo(int32_t n)
{
  denpyouView_->abortEditing();
  denpyou_.displayShiwakeOfDenpyouNo(n);
  denpyou_.forgetRemovedRow();
  ++displayGeneration_;
  reloadDenpyouView();
  // A deletion or its undo may have changed the bookmarks as well.
  reloadBookmarkTables();
  validateMenuItems();
}

void FurikaedenpyouController::showDenpyouOfDenpyouNo(int32_t n)
{
  if (handleChooseDenpyouToShiwakeArrayMenu()) displayShiwakeOfDenpyouNo(n);
}

void FurikaedenpyouController::recomputeUI()
{
  if (denpyouView_) displayShiwakeOfDenpyouNo(denpyou_.displayingDenpyouNo());
}

void FurikaedenpyouController::reloadDenpyouView()
{
  denpyouView_->reloadData();
  setTaisyakuBalanceFieldValue();
  const int row = denpyou_.selectedDenpyouRow();
  if (row < 0) {
    denpyouView_->deselectCell();
    return;
  }
  // A new selection starts afresh: no sub-account typed together with an account.
  karikataKamokuFormatter_->setInputedHojyoKamokuCode(-1);
  kashikataKamokuFormatter_->setInputedHojyoKamokuCode(-1);
  denpyouView_->selectCell(row, denpyou_.selectedColumn());
}

void FurikaedenpyouController::deselectSelectedCellAndThenSelectDenpyouRow(int row, Column column)
{
  denpyou_.selectCell(row, column);
  reloadDenpyouView();
}

// --- cells as text

EntryGridView* FurikaedenpyouController::entryGridView() const { return denpyouView_; }

bool FurikaedenpyouController::isEditableMatrix(int matrixId) const
{
  return denpyou_.isEditableColumn(static_cast<Column>(matrixId));
}

void FurikaedenpyouController::setCellValue(int row, int matrixId, const FieldValue& value)
{
  denpyou_.setCell(row, static_cast<Column>(matrixId), value);
}

EntryWindowController::InputKind FurikaedenpyouController::inputKindOfMatrix(int matrixId) const
{
  const Column column = static_cast<Column>(matrixId);
  if (column == Row::DateMatrix) return InputKind::Date;
  if (Row::isKamokuColumn(column)) return InputKind::Kamoku;
  if (Row::isHojyoKamokuColumn(column)) return InputKind::HojyoKamoku;
  if (Row::isKingakuColumn(column)) return InputKind::Kingaku;
  if (Row::isJigyoubuColumn(column)) return InputKind::Jigyoubu;
  return column == Row::TekiyouMatrix ? InputKind::Tekiyou : InputKind::None;
}

EntryWindowController::Picker FurikaedenpyouController::pickerOfMatrix(int matrixId) const
{
  const Column column = static_cast<Column>(matrixId);
  if (Row::isKamokuColumn(column)) return Picker::Kamoku;
  if (Row::isHojyoKamokuColumn(column)) return Picker::HojyoKamoku;
  if (Row::isJigyoubuColumn(column)) return Picker::Jigyoubu;
  return column == Row::TekiyouMatrix ? Picker::Tekiyou : Picker::None;
}

int FurikaedenpyouController::hojyoKamokuMatrixOfKamokuMatrix(int matrixId) const
{
  return Row::sideOfColumn(static_cast<Column>(matrixId)).hojyoKamoku;
}

bool FurikaedenpyouController::moveSelectedCell(EntryGridView::Command command)
{
  switch (command) {
  case EntryGridView::Command::InsertTab: return moveSelectDenpyouCellByCommand(Command::InsertTab);
  case EntryGridView::Command::InsertBacktab: return moveSelectDenpyouCellByCommand(Command::InsertBacktab);
  case EntryGridView::Command::MoveUp: return moveSelectDenpyouCellByCommand(Command::MoveUp);
  case EntryGridView::Command::MoveDown: return moveSelectDenpyouCellByCommand(Command::MoveDown);
  default: return false;
  }
}

Formatter* FurikaedenpyouController::formatterForMatrix(int matrixId, int row) const
{
  const Column column = static_cast<Column>(matrixId);
  switch (column) {
  case Row::DateMatrix: return hidukeFormatter_.get();
  case Row::KarikataKamokuMatrix: return karikataKamokuFormatter_.get();
  case Row::KashikataKamokuMatrix: return kashikataKamokuFormatter_.get();
  case Row::KarikataHojyoKamokuMatrix:
  case Row::KashikataHojyoKamokuMatrix: {
    const FieldValue parent = denpyou_.cell(row, Row::sideOfColumn(column).kamoku);
    hojyoKamokuFormatter_->setParentKamokuFromKamokuCode(parent.isCode() ? std::optional<int32_t>(parent.codeValue())
                                                                         : std::nullopt);
    return hojyoKamokuFormatter_.get();
  }
  case Row::KarikataKingakuMatrix:
  case Row::KashikataKingakuMatrix: return kingakuFormatter_.get();
  case Row::KarikataJigyoubuMatrix:
  case Row::KashikataJigyoubuMatrix: return jigyoubuFormatter_.get();
  case Row::TekiyouMatrix: return tekiyouFormatter_.get();
  default: return nullptr;
  }
}

int FurikaedenpyouController::numberOfRows() const { return denpyou_.numberOfDenpyouRows(); }

QString FurikaedenpyouController::stringValue(int row, int matrixId) const
{
  const Column column = static_cast<Column>(matrixId);
  if (row < 0 || row >= denpyou_.numberOfDenpyouRows()) return {};
  const FieldValue value = denpyou_.cell(row, column);
  if (column == Row::DenpyouNoMatrix) return QString::number(value.codeValue());
  return formattedCellString(row, column, value);
}

// --- editing

bool FurikaedenpyouController::refuseUnchangeableDenpyou()
{
  const char* message = nullptr;
  if (denpyou_.hasHiddenShiwake())
    message = Furikaedenpyou::kHiddenShiwakeMessage;
  else if (denpyou_.isBeyondDenpyouNoLimit())
    message = Furikaedenpyou::kDenpyouNoExhaustedMessage;
  if (!message) return false;
  AlertSheet::beginAlertSheet(this, qs(Furikaedenpyou::kHiddenShiwakeTitle), qs(message));
  return true;
}

bool FurikaedenpyouController::textShouldBeginEditing(int row, int matrixId)
{
  if (refuseUnchangeableDenpyou()) return false;
  // A regular-type voucher keeps its date.
  if (matrixId == Row::DateMatrix && denpyou_.displayingDenpyouNo() < 0) return false;
  return true;
}

void FurikaedenpyouController::textDidBeginEditing(int row, int matrixId)
{
  const Column column = static_cast<Column>(matrixId);
  if (column == Row::TekiyouMatrix) {
    auto codeOf = [&](Column c) -> std::optional<int32_t> {
      const FieldValue v = denpyou_.cell(row, c);
      return v.isCode() ? std::optional<int32_t>(v.codeValue()) : std::nullopt;
    };
    tekiyouFormatter_->setPrimeGroupNameToSearchFromFirstKamokuCode(codeOf(Row::KarikataKamokuMatrix),
                                                                    codeOf(Row::KashikataKamokuMatrix));
  }
}

void FurikaedenpyouController::textDidChange(int row, int matrixId, const QString&)
{
  const Column column = static_cast<Column>(matrixId);
  if (!denpyou_.isEditableColumn(column)) return;
  markEdited();
  denpyou_.setDoesNeedToSetDenpyouToShiwakeArray(true);
  denpyou_.textDidChangeAtRow(row, column);
  denpyouView_->updateRow(row);
}

void FurikaedenpyouController::textDidEndEditing(int row, int matrixId, const QString& text)
{
  handleTextDidEndEditingForMatrix(static_cast<Column>(matrixId), text);
}

void FurikaedenpyouController::handleTextDidEndEditingForMatrix(Column column, const QString& inputString)
{
  if (column == Row::DateMatrix) {
    FieldValue date;
    if (hidukeFormatter_->getObjectValue(date, inputString.toStdString(), nullptr) && date.isDate()) {
      denpyou_.setCell(0, Row::DateMatrix, date);
      denpyou_.setAllDateMatrixCellValuesEqualToValueAtRow(0);
      denpyouView_->viewport()->update();
    }
  } else if (Row::isKamokuColumn(column) || Row::isKingakuColumn(column)) {
    setTaisyakuBalanceFieldValue();
  }
}

void FurikaedenpyouController::markEdited()
{
  document()->updateChangeCount(MyDocument::ChangeType::Done);
  removeAllUndoActions();
}

void FurikaedenpyouController::mouseDownInCell(int row, int matrixId)
{
  if (!commitEditing()) return;
  deselectSelectedCellAndThenSelectDenpyouRow(row, static_cast<Column>(matrixId));
  validateMenuItems();
}

// --- balance, checks, registration

void FurikaedenpyouController::setTaisyakuBalanceFieldValue()
{
  if (!taisyakuBalanceField_) return;
  const std::optional<int64_t> balance = denpyou_.taisyakuBalance();
  if (!balance) {
    taisyakuBalanceField_->setText(qs(Kaisya::overFlowAmountValueString()));
    return;
  }
  const std::optional<std::string> text = balanceFormatter_->stringForObjectValue(FieldValue::amount(*balance));
  taisyakuBalanceField_->setText(text ? qs(*text) : QString());
}

void FurikaedenpyouController::showInvalidDenpyouSheet(const FurikaedenpyouCheckResult& result)
{
  closeAttachedSheet();
  AlertSheet::beginAlertSheet(this, qs(Furikaedenpyou::kInvalidDenpyouTitle), qs(result.message));
  if (result.row >= 0) deselectSelectedCellAndThenSelectDenpyouRow(result.row, result.column);
}

bool FurikaedenpyouController::isDenpyouAbleToSetShiwakeArrayWithErrorMessage(bool showErrorMessage)
{
  const FurikaedenpyouCheckResult result = denpyou_.isDenpyouAbleToSetShiwakeArray();
  denpyouView_->viewport()->update();
  if (!result && showErrorMessage) showInvalidDenpyouSheet(result);
  return result.ok;
}

void FurikaedenpyouController::setDenpyouToShiwakeArray()
{
  FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(denpyou_);
  denpyouView_->viewport()->update();
  validateMenuItems();
}

bool FurikaedenpyouController::handleChooseDenpyouToShiwakeArrayMenu()
{
  if (!denpyouView_) return true;
  if (!denpyou_.isRegistered() && denpyou_.numberOfDenpyouRows() == 1 && denpyou_.isEmptyDenpyouRow(0) &&
      !isEditingCell())
    return true;
  if (!denpyou_.doesNeedToSetDenpyouToShiwakeArray() && !isEditingCell()) return true;
  // The text being typed counts.
  const int row = denpyou_.selectedDenpyouRow();
  if (!commitEditing()) return false;
  if (row >= 0) denpyouView_->selectCell(row, denpyou_.selectedColumn());
  setTaisyakuBalanceFieldValue();
  if (!denpyou_.isRegistered() && denpyou_.numberOfDenpyouRows() == 1 && denpyou_.isEmptyDenpyouRow(0)) return true;
  if (!denpyou_.doesNeedToSetDenpyouToShiwakeArray()) return true;
  if (!isDenpyouAbleToSetShiwakeArrayWithErrorMessage(true)) return false;
  setDenpyouToShiwakeArray();
  return true;
}

// --- new, duplicate, delete

void FurikaedenpyouController::displayEmptyDenpyou()
{
  if (document()->document().kaisya().minAvailableDenpyouNo() > Kaisya::kMaxDenpyouNo) return;
  const int row = denpyou_.selectedDenpyouRow();
  if (!commitEditing()) return;
  setTaisyakuBalanceFieldValue();
  // An untouched, empty voucher has nothing to check or keep: the new voucher is
  // shown without a word (nothing changes when it is the new voucher already).
  const int32_t next = document()->document().kaisya().minAvailableDenpyouNo();
  if (!denpyou_.isRegistered() && denpyou_.numberOfDenpyouRows() == 1 && denpyou_.isEmptyDenpyouRow(0)) {
    if (denpyou_.displayingDenpyouNo() != next)
      displayShiwakeOfDenpyouNo(next);
    else if (row >= 0)
      denpyouView_->selectCell(row, denpyou_.selectedColumn());
    return;
  }
  if (!isDenpyouAbleToSetShiwakeArrayWithErrorMessage(true)) return;
  if (denpyou_.doesNeedToSetDenpyouToShiwakeArray()) setDenpyouToShiwakeArray();
  displayShiwakeOfDenpyouNo(document()->document().kaisya().minAvailableDenpyouNo());
}

void FurikaedenpyouController::displayDuplicateDenpyou()
{
  if (document()->document().kaisya().minAvailableDenpyouNo() > Kaisya::kMaxDenpyouNo) return;
  if (!commitEditing()) return;
  setTaisyakuBalanceFieldValue();
  if (!isDenpyouAbleToSetShiwakeArrayWithErrorMessage(true)) return;
  if (denpyou_.doesNeedToSetDenpyouToShiwakeArray()) setDenpyouToShiwakeArray();
  denpyou_.duplicateDenpyou();
  reloadDenpyouView();
  markEdited();
  validateMenuItems();
}

std::vector<BookmarkPtr>* FurikaedenpyouController::drawerBookmarkArray()
{
  return document()->wasOpenedByLimitedUserPassword() ? &limitedUserBookmarkArray_ : nullptr;
}

void FurikaedenpyouController::removeDenpyouFromShiwake()
{
  // No entry carries a number past the counter's limit: deleting such a voucher only
  // drops what was typed, which must stay possible since it can never be registered.
  if (!denpyou_.isBeyondDenpyouNoLimit() && refuseUnchangeableDenpyou()) return;
  removeAllUndoActions();
  denpyouView_->abortEditing();
  FurikaedenpyouDeletion deletion = FurikaedenpyouDeletion::removeDenpyou(
      document()->document(), denpyou_.displayingDenpyouNo(), drawerBookmarkArray());
  showAfterDeletion(deletion);
  if (deletion.didRemove()) document()->undoManager()->push(new RemoveDenpyouCommand(document(), std::move(deletion)));
}

void FurikaedenpyouController::showAfterDeletion(const FurikaedenpyouDeletion& deletion)
{
  const std::optional<int32_t> following = deletion.followingDenpyouNo();
  displayShiwakeOfDenpyouNo(following ? *following : document()->document().kaisya().minAvailableDenpyouNo());
}

// --- navigation

void FurikaedenpyouController::navigateTo(std::optional<int32_t> (*target)(const MyDocument&, int32_t))
{
  if (!handleChooseDenpyouToShiwakeArrayMenu()) return;
  if (const std::optional<int32_t> n = target(document()->document(), denpyou_.displayingDenpyouNo()))
    displayShiwakeOfDenpyouNo(*n);
}

void FurikaedenpyouController::showNextDenpyou() { navigateTo(&FurikaedenpyouNavigator::showNextDenpyou); }
void FurikaedenpyouController::showPreviousDenpyou() { navigateTo(&FurikaedenpyouNavigator::showPreviousDenpyou); }
void FurikaedenpyouController::skipDenpyou() { navigateTo(&FurikaedenpyouNavigator::skipDenpyou); }
void FurikaedenpyouController::reverseSkipDenpyou() { navigateTo(&FurikaedenpyouNavigator::reverseSkipDenpyou); }
void FurikaedenpyouController::showNextMonthDenpyou() { navigateTo(&FurikaedenpyouNavigator::showNextMonthDenpyou); }
void FurikaedenpyouController::showPreviousMonthDenpyou()
{
  navigateTo(&FurikaedenpyouNavigator::showPreviousMonthDenpyou);
}
void FurikaedenpyouController::showStartDenpyou() { navigateTo(&FurikaedenpyouNavigator::showStartDenpyou); }
void FurikaedenpyouController::showEndDenpyou() { navigateTo(&FurikaedenpyouNavigator::showEndDenpyou); }

void FurikaedenpyouController::selectDisplayDenpyou()
{
  if (!handleChooseDenpyouToShiwakeArrayMenu()) return;
  auto* browser = FurikaedenpyouSelectController::selectControllerOfDocument(document());
  browser->removeDenpyouLayers();
  browser->setWindowFrameToCoverWindow(this);
  browser->show();
  browser->raise();
  browser->activateWindow();
  browser->dateField()->setFocus();
}

// --- row commands

void FurikaedenpyouController::handleChooseAddDenpyouRow()
{
  if (refuseUnchangeableDenpyou() || !commitEditing()) return;
  if (!denpyou_.addDenpyouRow()) return;
  reloadDenpyouView();
  markEdited();
  validateMenuItems();
}

void FurikaedenpyouController::handleChooseInsertDenpyouRow()
{
  if (refuseUnchangeableDenpyou() || !commitEditing()) return;
  if (!denpyou_.insertDenpyouRowAtSelection()) return;
  reloadDenpyouView();
  markEdited();
  validateMenuItems();
}

void FurikaedenpyouController::handleChooseRemoveDenpyouRow()
{
  const int row = denpyou_.selectedDenpyouRow();
  if (row < 0) return;
  if (denpyou_.numberOfDenpyouRows() == 1) {
    removeDenpyouFromShiwake();
    return;
  }
  if (refuseUnchangeableDenpyou() || !commitEditing()) return;
  removeAllUndoActions();
  denpyou_.forgetRemovedRow();
  undoableRemoveDenpyouRow(row);
}

void FurikaedenpyouController::undoableRemoveDenpyouRow(int row)
{
  toggleRemovedRow(row);
  document()->undoManager()->push(new RemoveDenpyouRowCommand(document(), row, displayGeneration_));
}

void FurikaedenpyouController::toggleRemovedRow(int row)
{
  denpyouView_->abortEditing();
  denpyou_.undoableRemoveDenpyouRow(row);
  reloadDenpyouView();
  document()->updateChangeCount(MyDocument::ChangeType::Done);
  validateMenuItems();
}

void FurikaedenpyouController::setItemAsAboveDenpyouRowItem()
{
  if (!denpyou_.canSetItemAsAboveDenpyouRowItem() || refuseUnchangeableDenpyou() || !commitEditing()) return;
  if (!denpyou_.setItemAsAboveDenpyouRowItem()) return;
  reloadDenpyouView();
  markEdited();
}

// --- cell movement

bool FurikaedenpyouController::moveSelectDenpyouCellByCommand(Command command)
{
  if (denpyou_.selectedEditableIndex() < 0) return false;
  const Column column = denpyou_.selectedColumn();
  if (!commitEditing()) return false;
  FurikaedenpyouCellMovement::Options options;
  options.autoSetBalance = UserDefaults::standardUserDefaults().boolForKey(KIVOFurikaedenpyouAutoSetBalanceKey);
  if (column == Row::KarikataKamokuMatrix)
    options.inputedHojyoKamokuCode = karikataKamokuFormatter_->inputedHojyoKamokuCode();
  if (column == Row::KashikataKamokuMatrix)
    options.inputedHojyoKamokuCode = kashikataKamokuFormatter_->inputedHojyoKamokuCode();

  const FurikaedenpyouCellMovement::Outcome outcome =
      FurikaedenpyouCellMovement::moveSelectDenpyouCellByCommand(denpyou_, command, options);
  if (outcome == FurikaedenpyouCellMovement::Outcome::FinishDenpyou) {
    if (denpyou_.doesNeedToSetDenpyouToShiwakeArray()) setDenpyouToShiwakeArray();
    const int32_t next = document()->document().kaisya().minAvailableDenpyouNo();
    if (next > Kaisya::kMaxDenpyouNo)
      deselectSelectedCellAndThenSelectDenpyouRow(0, Row::DateMatrix);
    else
      displayShiwakeOfDenpyouNo(next);
    return true;
  }
  reloadDenpyouView();
  validateMenuItems();
  return true;
}

// --- bookmark drawer

bool FurikaedenpyouController::isBookmarkDrawerOpen() const { return bookmarkDrawer_ && bookmarkDrawer_->isVisible(); }

void FurikaedenpyouController::toggleBookmarkDrawer()
{
  if (!bookmarkDrawer_) return;
  const bool open = !bookmarkDrawer_->isVisible();
  if (open) {
    // The drawer comes out beside the voucher: the window widens by the drawer's width.
    const int drawerWidth = bookmarkDrawer_->sizeHint().width();
    widenForDrawer(width() + drawerWidth);
    bookmarkDrawer_->setVisible(true);
    resizeDocks({bookmarkDrawer_}, {drawerWidth}, Qt::Horizontal);
  } else {
    bookmarkDrawer_->setVisible(false);
    if (widthAddedForDrawer_ > 0) resize(std::max(width() - widthAddedForDrawer_, minimumWidth()), height());
    widthAddedForDrawer_ = 0;
  }
  storeDrawerSize(open);
  validateMenuItems();
}

void FurikaedenpyouController::widenForDrawer(int wantedWidth)
{
  // As far as the screen allows, moved to stay on it; what is still too narrow, the
  // grid scrolls. What was added is given back when the drawer closes.
  const QRect frame = frameGeometry();
  const int frameExtra = frame.width() - width();
  const QRect available = WindowPlacement::availableGeometryAt(frame.center());
  int newWidth = wantedWidth;
  if (!available.isEmpty()) newWidth = std::max(std::min(newWidth, available.width() - frameExtra), minimumWidth());
  widthAddedForDrawer_ = std::max(newWidth - width(), 0);
  move(WindowPlacement::keptOnScreen(QRect(frame.topLeft(), QSize(newWidth + frameExtra, frame.height())), available));
  resize(newWidth, height());
}

void FurikaedenpyouController::moveWindowToInitialPositionWithDisplay(bool display)
{
  EntryWindowController::moveWindowToInitialPositionWithDisplay(false);
  // A drawer open since the window loaded leaves the grid the room of every column
  // when the screen has it.
  if (bookmarkDrawer_ && !bookmarkDrawer_->isHidden()) {
    const int gridRoom = denpyouView_->contentWidth() + denpyouView_->verticalScrollBar()->sizeHint().width() +
                         2 * denpyouView_->frameWidth() + 2 * kGridSideMargin +
                         style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent) + kGridSlack;
    const int drawerWidth = std::max(bookmarkDrawer_->sizeHint().width(),
                                     static_cast<int>(UserDefaults::standardUserDefaults().doubleForKey(
                                         KIVOFurikaedenpyouDrawerContentSizeWidthKey)));
    const int wanted = gridRoom + drawerWidth;
    if (width() < wanted) widenForDrawer(wanted);
  }
  if (display) showWindow();
}

void FurikaedenpyouController::storeDrawerSize(bool open)
{
  // While the drawer is open the defaults hold its size; once closed, 0 and 0, so a
  // window opened later starts without it.
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  const QSize size = open ? bookmarkDrawer_->size() : QSize();
  defaults.setDouble(open ? size.width() : 0.0, KIVOFurikaedenpyouDrawerContentSizeWidthKey);
  defaults.setDouble(open ? size.height() : 0.0, KIVOFurikaedenpyouDrawerContentSizeHeightKey);
}

bool FurikaedenpyouController::eventFilter(QObject* watched, QEvent* event)
{
  // The user's resizing of the open drawer is remembered, never limited.
  if (watched == bookmarkDrawer_ && event->type() == QEvent::Resize && bookmarkDrawer_->isVisible() && isVisible())
    storeDrawerSize(true);
  return EntryWindowController::eventFilter(watched, event);
}

const std::vector<BookmarkPtr>& FurikaedenpyouController::bookmarkArray() const
{
  const MyDocument& doc = document()->document();
  return doc.wasOpenedByLimitedUserPassword() ? limitedUserBookmarkArray_ : doc.furikaedenpyouBookmarkArray();
}

void FurikaedenpyouController::reloadBookmarkTables()
{
  if (!monthTableView_) return;
  const QSignalBlocker monthBlocker(monthTableView_);
  const QSignalBlocker bookmarkBlocker(bookmarkTableView_);
  const std::vector<Month>& months = document()->document().kaisya().monthArray();
  monthTableView_->setRowCount(static_cast<int>(months.size()) + 1);
  for (int r = 0; r <= static_cast<int>(months.size()); ++r) {
    const QString name = r < static_cast<int>(months.size())
                             ? QString::fromStdString(months[static_cast<size_t>(r)].name())
                             : QStringLiteral("決算整理月");
    monthTableView_->setItem(r, 0, new QTableWidgetItem(name));
  }
  monthTableView_->clearSelection();

  const std::vector<BookmarkPtr>& bookmarks = bookmarkArray();
  bookmarkTableView_->setRowCount(static_cast<int>(bookmarks.size()));
  for (int r = 0; r < static_cast<int>(bookmarks.size()); ++r) {
    const Bookmark& b = *bookmarks[static_cast<size_t>(r)];
    auto* number = new QTableWidgetItem(QString::number(b.denpyouNo()));
    number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bookmarkTableView_->setItem(r, 0, number);
    bookmarkTableView_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(b.name())));
  }
  selectBookmarkForDisplayingDenpyouNo();
}

void FurikaedenpyouController::selectBookmarkForDisplayingDenpyouNo()
{
  if (!bookmarkTableView_) return;
  const QSignalBlocker blocker(bookmarkTableView_);
  const int row = FurikaedenpyouBookmarks::indexOfDenpyouNo(bookmarkArray(), denpyou_.displayingDenpyouNo());
  if (row < 0) {
    bookmarkTableView_->clearSelection();
    return;
  }
  if (bookmarkTableView_->currentRow() != row || !bookmarkTableView_->selectionModel()->isRowSelected(row, {}))
    bookmarkTableView_->selectRow(row);
}

bool FurikaedenpyouController::jumpToDenpyouNo(int32_t n)
{
  if (n == denpyou_.displayingDenpyouNo()) return true;
  if (!handleChooseDenpyouToShiwakeArrayMenu()) {
    selectBookmarkForDisplayingDenpyouNo();
    return false;
  }
  // A bookmark whose voucher is gone (or hidden from this user) leads nowhere.
  if (document()->document().journal().numberOfEntriesOfDenpyouNo(n) > 0) displayShiwakeOfDenpyouNo(n);
  return true;
}

void FurikaedenpyouController::bookmarkTableViewSelectionDidChange()
{
  const QList<QTableWidgetItem*> selected = bookmarkTableView_->selectedItems();
  if (selected.isEmpty()) return;
  const int row = selected.front()->row();
  const std::vector<BookmarkPtr>& bookmarks = bookmarkArray();
  if (row < 0 || row >= static_cast<int>(bookmarks.size())) return;
  jumpToDenpyouNo(bookmarks[static_cast<size_t>(row)]->denpyouNo());
}

void FurikaedenpyouController::monthTableViewSelectionDidChange()
{
  const QList<QTableWidgetItem*> selected = monthTableView_->selectedItems();
  if (selected.isEmpty()) return;
  const int32_t n = FurikaedenpyouBookmarks::firstDenpyouNoOfMonthRow(document()->document(), selected.front()->row());
  {
    // The month list never keeps a selected row.
    const QSignalBlocker blocker(monthTableView_);
    monthTableView_->clearSelection();
    monthTableView_->setCurrentItem(nullptr);
  }
  if (n == 0) {
    AlertSheet::beep();
    return;
  }
  jumpToDenpyouNo(n);
  validateMenuItems();
}

void FurikaedenpyouController::bookmarksDidChange()
{
  reloadBookmarkTables();
  document()->updateChangeCount(MyDocument::ChangeType::Done);
  document()->undoManager()->clear();
  validateMenuItems();
}

void FurikaedenpyouController::showFurikaedenpyouBookmarkWindow()
{
  if (document()->wasOpenedByLimitedUserPassword()) return;
  const int32_t n = denpyou_.displayingDenpyouNo();
  if (document()->document().journal().numberOfEntriesOfDenpyouNo(n) == 0) {
    closeAttachedSheet();
    AlertSheet::beginAlertSheet(this, QStringLiteral("未登録の伝票"),
                                QStringLiteral("登録していない伝票は、ブックマークに追加できません。"));
    return;
  }
  closeAttachedSheet();
  auto* sheet = FurikaedenpyouBookmarkController::bookmarkControllerOfDocument(document());
  sheet->setDisplayDenpyouNoOfBookmark(n);
  sheet->updateUI();
  QPointer<FurikaedenpyouController> self(this);
  sheet->beginSheet(this, [self, sheet](int returnCode) {
    if (!self || returnCode != SheetController::kOK || !sheet->didEditBookmarkName()) return;
    self->bookmarksDidChange();
  });
}

void FurikaedenpyouController::removeBookmark()
{
  if (document()->wasOpenedByLimitedUserPassword()) return;
  const int row = bookmarkTableView_->currentRow();
  const std::vector<BookmarkPtr>& bookmarks = bookmarkArray();
  if (row < 0 || row >= static_cast<int>(bookmarks.size()) || bookmarkTableView_->selectedItems().isEmpty()) return;
  // Removing is a change of the document like adding or renaming: it must be saved.
  if (document()->document().removeFurikaedenpyouBookmarkOfDenpyouNo(bookmarks[static_cast<size_t>(row)]->denpyouNo()))
    bookmarksDidChange();
}

void FurikaedenpyouController::moveBookmark(bool up)
{
  if (document()->wasOpenedByLimitedUserPassword()) return;
  const int row = bookmarkTableView_->currentRow();
  if (row < 0 || bookmarkTableView_->selectedItems().isEmpty()) return;
  const int target =
      FurikaedenpyouBookmarks::moveBookmark(document()->document().furikaedenpyouBookmarkArray(), row, up);
  if (target < 0) return;
  bookmarksDidChange();
  const QSignalBlocker blocker(bookmarkTableView_);
  bookmarkTableView_->selectRow(target);
}

// --- "機能" menu

const std::vector<QAction*>& FurikaedenpyouController::functionMenuActions()
{
  if (!functionActions_.empty()) return functionActions_;
  using Self = FurikaedenpyouController;
  using F = FunctionCommand;
  auto key = [](const char* k, uint32_t mask) {
    return MainMenu::keySequenceForKeyEquivalent(QString::fromUtf8(k), mask);
  };
  auto item = [&](F command, const char* title, const QKeySequence& k, std::function<void()> perform,
                  Validation validation = Validation::BeforeAndAfter) {
    setFunctionCommand(addFunctionMenuAction(qs(title), k, std::move(perform), validation), command);
  };
  auto add = [&](F command, const char* title, void (Self::*slot)(), const QKeySequence& k) {
    item(command, title, k, [this, slot] { (this->*slot)(); });
  };
  // Moving to another voucher checks the items afterwards only.
  auto addMove = [&](F command, const char* title, void (Self::*slot)(), const QKeySequence& k) {
    item(
        command, title, k, [this, slot] { (this->*slot)(); }, Validation::After);
  };
  item(
      F::Register, "伝票を登録", key("s", kCommand | kOption), [this] { handleChooseDenpyouToShiwakeArrayMenu(); },
      Validation::None);
  add(F::NewDenpyou, "新規伝票", &Self::displayEmptyDenpyou, key("N", kCommand | kShift));
  add(F::DuplicateDenpyou, "伝票の複製", &Self::displayDuplicateDenpyou, key("D", kCommand | kShift));
  add(F::RemoveDenpyou, "伝票の削除", &Self::removeDenpyouFromShiwake, key("R", kCommand | kShift));
  addFunctionMenuSeparator();
  // The month and end commands share "]" and "[" with different modifiers on a Mac;
  // here each needs a key of its own, so they go on Page Down and Page Up.
  addMove(F::Navigate, "次の伝票", &Self::showNextDenpyou, QKeySequence(Qt::CTRL | Qt::Key_BracketRight));
  addMove(F::Navigate, "１０個後の伝票", &Self::skipDenpyou, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_BracketRight));
  addMove(F::Navigate, "次月の伝票", &Self::showNextMonthDenpyou, QKeySequence(Qt::CTRL | Qt::Key_PageDown));
  addMove(F::Navigate, "最後の伝票", &Self::showEndDenpyou, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_PageDown));
  addMove(F::Navigate, "前の伝票", &Self::showPreviousDenpyou, QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
  addMove(F::Navigate, "１０個前の伝票", &Self::reverseSkipDenpyou,
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_BracketLeft));
  addMove(F::Navigate, "月初の伝票", &Self::showPreviousMonthDenpyou, QKeySequence(Qt::CTRL | Qt::Key_PageUp));
  addMove(F::Navigate, "最初の伝票", &Self::showStartDenpyou, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_PageUp));
  addMove(F::SelectDisplayDenpyou, "日付を指定し伝票を表示...", &Self::selectDisplayDenpyou, QKeySequence());
  addFunctionMenuSeparator();
  addMove(F::ToggleBookmarkDrawer, kShowBookmarkTitle, &Self::toggleBookmarkDrawer, QKeySequence());
  add(F::AddBookmark, "ブックマークに追加...", &Self::showFurikaedenpyouBookmarkWindow, key("B", kCommand | kShift));
  addFunctionMenuSeparator();
  add(F::EditRow, "行の追加", &Self::handleChooseAddDenpyouRow, key("k", kCommand));
  add(F::EditRow, "行の挿入", &Self::handleChooseInsertDenpyouRow, key("i", kCommand));
  add(F::EditRow, "行の削除", &Self::handleChooseRemoveDenpyouRow, key("r", kCommand));
  addFunctionMenuSeparator();
  add(F::SetItemAsAboveRowItem, "前行同項目をコピー", &Self::setItemAsAboveDenpyouRowItem, key("C", kCommand | kShift));
  reserveFunctionMenuShortcuts();
  return functionActions_;
}

QAction* FurikaedenpyouController::functionMenuAction(const QString& title)
{
  if (title == qs(kShowBookmarkTitle))
    if (QAction* a = EntryWindowController::functionMenuAction(qs(kHideBookmarkTitle))) return a;
  return EntryWindowController::functionMenuAction(title);
}

void FurikaedenpyouController::validateMenuItems()
{
  if (functionActions_.empty() || !denpyouView_) return;
  const MyDocument& doc = document()->document();
  const bool counterLeft = doc.kaisya().minAvailableDenpyouNo() <= Kaisya::kMaxDenpyouNo;
  const int row = denpyou_.selectedEditableIndex() >= 0 ? denpyou_.selectedDenpyouRow() : -1;
  for (QAction* a : functionActions_) {
    if (!a) continue;
    switch (functionCommandOf<FunctionCommand>(a)) {
    case FunctionCommand::NewDenpyou:
    case FunctionCommand::DuplicateDenpyou: a->setEnabled(counterLeft); break;
    case FunctionCommand::ToggleBookmarkDrawer:
      a->setText(qs(isBookmarkDrawerOpen() ? kHideBookmarkTitle : kShowBookmarkTitle));
      a->setEnabled(true);
      break;
    case FunctionCommand::AddBookmark:
      a->setEnabled(!doc.wasOpenedByLimitedUserPassword() &&
                    FurikaedenpyouBookmarks::indexOfDenpyouNo(bookmarkArray(), denpyou_.displayingDenpyouNo()) < 0);
      break;
    case FunctionCommand::EditRow: a->setEnabled(row >= 0); break;
    case FunctionCommand::SetItemAsAboveRowItem: a->setEnabled(denpyou_.canSetItemAsAboveDenpyouRowItem()); break;
    default: a->setEnabled(true); break;
    }
  }
}

// --- key state and closing

void FurikaedenpyouController::windowDidBecomeKey() {}

void FurikaedenpyouController::windowDidResignKey()
{
  // A deletion can be undone only while the window stays key.
  removeAllUndoActions();
}

void FurikaedenpyouController::windowWillCloseHook()
{
  removeAllUndoActions();
  closeAttachedSheet();
}

// --- the description list

void FurikaedenpyouController::closeAttachedSheet()
{
  if (auto* sheet = qobject_cast<TekiyouListController*>(attachedSheetController()))
    sheet->endTekiyouListWindow(nullptr);
  if (auto* sheet = qobject_cast<FurikaedenpyouBookmarkController*>(attachedSheetController())) sheet->abortSheet();
}

bool FurikaedenpyouController::getSelectedRowKarikataKamokuCode(int& karikataKamokuCode, int& kashikataKamokuCode) const
{
  if (denpyou_.selectedDenpyouRow() < 0) return false;
  const auto [karikata, kashikata] = denpyou_.selectedDenpyouRowKarikataKashikataKamokuCode();
  karikataKamokuCode = karikata;
  kashikataKamokuCode = kashikata;
  return true;
}

void FurikaedenpyouController::writeTekiyouStringToPasteboard()
{
  const int row = denpyou_.selectedDenpyouRow();
  if (row < 0) return;
  // The description being typed counts as written.
  const bool typing = isEditingCell() && denpyou_.selectedColumn() == Row::TekiyouMatrix;
  const QString tekiyou =
      typing ? denpyouView_->fieldEditor()->text() : qs(denpyou_.row(row).cell(Row::TekiyouMatrix).textValue());
  if (!tekiyou.isEmpty()) QGuiApplication::clipboard()->setText(tekiyou);
}

}  // namespace kivo

#include "journal/gui/KanjyoumotocyouController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "document/gui/OpenDocument.h"
#include "document/gui/ReportTextExportSheet.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "fields/AmountFormatter.h"
#include "fields/HidukeFormatter.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/TekiyouFormatter.h"
#include "fields/gui/HojyoKamokuFormatterListWindow.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "fields/gui/StopKeyDialog.h"
#include "fields/gui/TekiyouFormatterListWindow.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/KanjyoumotocyouShortcut.h"
#include "journal/KanjyoumotocyouTextWriter.h"
#include "journal/gui/KanjyoumotocyouPrintAccessory.h"
#include "journal/gui/KanjyoumotocyouPrintView.h"
#include "journal/gui/KanjyoumotocyouPrinting.h"
#include "journal/gui/PeriodController.h"
#include "journal/gui/RemoveKanjyoumotocyouRowCommand.h"
#include "platform/AlertSheet.h"
#include "platform/MainMenu.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/SheetController.h"
#include "platform/ShiftJisEncoder.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

// The step of a new ledger away from one it would cover.
constexpr int kCascadeRight = 21;
constexpr int kCascadeDown = 23;

QString fieldText(const std::optional<std::string>& s) { return s ? QString::fromStdString(*s) : QString(); }

// The strip above the table that holds the selection fields: a plain light grey.
class StateView : public QWidget {
public:
  explicit StateView(QWidget* parent) : QWidget(parent) {}

protected:
  void paintEvent(QPaintEvent*) override
  {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(230, 230, 230));
  }
};

using Cell = KanjyoumotocyouRowEdit::Cell;

std::optional<Cell> cellOfColumn(KanjyoumotocyouTableModel::Column column)
{
  using C = KanjyoumotocyouTableModel::Column;
  switch (column) {
  case C::Date: return Cell::Date;
  case C::AiteKamoku: return Cell::AiteKamoku;
  case C::AiteHojyoKamoku: return Cell::AiteHojyoKamoku;
  case C::AiteJigyoubu: return Cell::AiteJigyoubu;
  case C::Tekiyou: return Cell::Tekiyou;
  case C::HojyoKamoku: return Cell::HojyoKamoku;
  case C::Jigyoubu: return Cell::Jigyoubu;
  case C::KarikataKingaku: return Cell::KarikataKingaku;
  case C::KashikataKingaku: return Cell::KashikataKingaku;
  default: return std::nullopt;
  }
}

// A description typed as up to 12 ASCII letters and digits may be a kana key.
bool isTekiyouKanaKey(const QString& text)
{
  if (text.isEmpty() || text.size() > 12) return false;
  return std::all_of(text.begin(), text.end(), [](QChar c) {
    return c.isDigit() || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
  });
}

// The editor of a ledger cell: a plain line edit whose edit ends only when the window
// accepts the text, however the user ends it, and whose value the window applies
// itself when the edit ends. Escape alone takes the text back.
class LedgerCellDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

  std::function<void(const QModelIndex&, QLineEdit*)> didBegin;
  // The user ends the edit by a key (true: a picker may open) or by moving on (false);
  // answers whether it ended.
  std::function<bool(bool byKey)> userEnds;
  std::function<void()> commit;
  std::function<bool()> isValidating;
  // The focus left the editor other than to a picker, an alert, a menu or another window.
  std::function<void(QLineEdit*)> focusLeft;
  // An arrow key that ended the edit, for the table to move its selection by.
  std::function<void(QKeyEvent&)> moveSelection;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
  {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (didBegin) didBegin(index, editor);
    return editor;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override
  {
    if (auto* e = qobject_cast<QLineEdit*>(editor)) {
      e->setText(index.data(Qt::EditRole).toString());
      e->selectAll();
    }
  }
  void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override
  {
    if (commit) commit();
  }
  // Applies the checked value and closes the editor.
  void endEdit(QLineEdit* editor)
  {
    emit commitData(editor);
    emit closeEditor(editor, NoHint);
  }

protected:
  bool eventFilter(QObject* object, QEvent* event) override
  {
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (!editor) return QStyledItemDelegate::eventFilter(object, event);
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (isEndingKey(*key)) {
        userEnds(true);
        return true;
      }
      if (isMovingKey(*key)) {
        QKeyEvent move(key->type(), key->key(), key->modifiers(), key->text());
        if (userEnds(false)) moveSelection(move);
        return true;
      }
      return QStyledItemDelegate::eventFilter(object, event);
    }
    if (event->type() == QEvent::FocusOut) {
      // A picker or an alert of the check itself, another window, or a menu opening:
      // the edit goes on (a menu's command ends the edit itself).
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if ((isValidating && isValidating()) || !editor->isActiveWindow() || QApplication::activeModalWidget() ||
          StopKeyDialog::runningDialog() || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason ||
          reason == Qt::MenuBarFocusReason)
        return false;
      // Elsewhere in the window: the edit is decided once the focus has settled (a
      // click on the table decides it first), never dropped here.
      if (focusLeft) focusLeft(editor);
      return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }

private:
  static bool isEndingKey(const QKeyEvent& key)
  {
    const int k = key.key();
    return k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Tab || k == Qt::Key_Backtab;
  }
  // The keys the table moves its selection by; the line edit has no use for them.
  static bool isMovingKey(const QKeyEvent& key)
  {
    const int k = key.key();
    const bool moves = k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_PageUp || k == Qt::Key_PageDown;
    return moves && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  }
};

}  // namespace

// A new window shows no account, from the first month to the closing adjustment.
KanjyoumotocyouController::KanjyoumotocyouController(OpenDocument* document)
    : PeriodReportWindowController(document, Kind::Kanjyoumotocyou)
{
}

KanjyoumotocyouController::~KanjyoumotocyouController() = default;

// --- opening

KanjyoumotocyouController* KanjyoumotocyouController::showKanjyoumotocyouWindow(OpenDocument* document)
{
  if (!document) return nullptr;
  for (DocumentWindowController* wc : document->windowControllers()) {
    auto* ledger = qobject_cast<KanjyoumotocyouController*>(wc);
    if (ledger && ledger->displayKamokuCode() == -1) {
      ledger->showWindow();
      return ledger;
    }
  }
  if (!document->canShowFurikaedenpyouWindow()) return nullptr;
  auto* ledger = new KanjyoumotocyouController(document);
  document->addWindowController(ledger);
  ledger->moveWindowToInitialPositionWithDisplay(true);
  ledger->showWindow();
  return ledger;
}

KanjyoumotocyouController* KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(OpenDocument* document,
                                                                                        int32_t kamokuCode,
                                                                                        int32_t hojyoKamokuCode)
{
  if (!document) return nullptr;
  KanjyoumotocyouController* showing = nullptr;
  KanjyoumotocyouController* empty = nullptr;
  for (DocumentWindowController* wc : document->windowControllers()) {
    auto* ledger = qobject_cast<KanjyoumotocyouController*>(wc);
    if (!ledger) continue;
    if (!showing && ledger->displayKamokuCode() == kamokuCode && ledger->displayHojyoKamokuCode() == hojyoKamokuCode)
      showing = ledger;
    if (!empty && ledger->displayKamokuCode() == -1) empty = ledger;
  }
  if (showing) {
    showing->showWindow();
    return showing;
  }
  if (!empty && !document->canShowFurikaedenpyouWindow()) return nullptr;
  return showInLedger(document, empty, kamokuCode, hojyoKamokuCode, nullptr);
}

KanjyoumotocyouController* KanjyoumotocyouController::showKanjyoumotocyouOfPeriod(OpenDocument* document,
                                                                                  int32_t kamokuCode,
                                                                                  int32_t hojyoKamokuCode,
                                                                                  int32_t periodFrom, int32_t periodTo)
{
  KanjyoumotocyouController* empty = nullptr;
  for (DocumentWindowController* wc : document->windowControllers()) {
    auto* ledger = qobject_cast<KanjyoumotocyouController*>(wc);
    if (!ledger) continue;
    if (ledger->displayKamokuCode() == kamokuCode && ledger->displayHojyoKamokuCode() == hojyoKamokuCode &&
        ledger->displayPeriodFromMonthArrayIndex() == periodFrom &&
        ledger->displayPeriodToMonthArrayIndex() == periodTo) {
      ledger->showWindow();
      return ledger;
    }
    if (!empty && ledger->displayKamokuCode() == -1) empty = ledger;
  }
  const std::pair<int32_t, int32_t> period(periodFrom, periodTo);
  return showInLedger(document, empty, kamokuCode, hojyoKamokuCode, &period);
}

KanjyoumotocyouController* KanjyoumotocyouController::showInLedger(OpenDocument* document,
                                                                   KanjyoumotocyouController* empty, int32_t kamokuCode,
                                                                   int32_t hojyoKamokuCode,
                                                                   const std::pair<int32_t, int32_t>* period)
{
  KanjyoumotocyouController* ledger = empty;
  if (!ledger) {
    ledger = new KanjyoumotocyouController(document);
    document->addWindowController(ledger);
    ledger->moveWindowToInitialPositionWithDisplay(true);
  }
  ledger->showWindow();
  ledger->setDisplayKamokuCode(kamokuCode);
  ledger->setDisplayHojyoKamokuCode(hojyoKamokuCode);
  if (period) {
    ledger->setDisplayPeriodFromMonthArrayIndex(period->first);
    ledger->setDisplayPeriodToMonthArrayIndex(period->second);
  }
  ledger->updateAfterSelectDisplayingKamoku();
  return ledger;
}

// --- titles and placement

QString KanjyoumotocyouController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  if (displayKamokuCode_ < 0) return displayName + QStringLiteral(" - ") + qs(kWindowMenuTitle);
  return displayName + QStringLiteral(" - ") + qs(displayHojyoKamokuCode_ >= 0 ? kHojyoTitle : kSoukanjyouTitle);
}

QString KanjyoumotocyouController::windowMenuTitle() const
{
  const KamokuPtr kamoku = displayKamokuCode_ < 0 ? nullptr : document()->document().kamokuOfCode(displayKamokuCode_);
  if (!kamoku) return qs(kWindowMenuTitle);
  const HojyoKamokuPtr hojyo =
      displayHojyoKamokuCode_ < 0 ? nullptr : kamoku->hojyoKamokuOfCode(displayHojyoKamokuCode_);
  if (!hojyo) return qs(kSoukanjyouTitle) + QStringLiteral(" - ") + qs(kamoku->name());
  return qs(kHojyoTitle) + QStringLiteral(" - ") + qs(kamoku->name()) + QStringLiteral("／") + qs(hojyo->name());
}

QString KanjyoumotocyouController::denpyouAndCyouhyouItemTitle() const
{
  return qs(MainMenu::kKanjyoumotocyouItemTitle);
}

const char* KanjyoumotocyouController::windowWidthDefaultsKey() const
{
  // Each number of columns keeps its own width.
  return widthDefaultsKey_.isEmpty() ? nullptr : widthDefaultsKey_.constData();
}

const char* KanjyoumotocyouController::windowHeightDefaultsKey() const { return KIVOKanjyoumotocyouWindowHeightKey; }

// --- loading

void KanjyoumotocyouController::buildLayout()
{
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  stateView_ = new StateView(central);
  auto* strip = new QHBoxLayout(stateView_);
  strip->setContentsMargins(10, 6, 10, 6);
  strip->setSpacing(4);
  displayingKamokuField_ = makeSelectionField(stateView_, 20);
  selectDisplayingKamokuButton_ = makeSelectButton(stateView_, QStringLiteral("表示する勘定科目を選ぶ"));
  displayingHojyoKamokuTitleField_ = new QLabel(QStringLiteral("補助科目:"), stateView_);
  displayingHojyoKamokuField_ = makeSelectionField(stateView_, 18);
  selectDisplayingHojyoKamokuButton_ = makeSelectButton(stateView_, QStringLiteral("表示する補助科目を選ぶ"));
  makePeriodStripWidgets(stateView_, 16);
  strip->addWidget(new QLabel(QStringLiteral("勘定科目:"), stateView_));
  strip->addWidget(displayingKamokuField_);
  strip->addWidget(selectDisplayingKamokuButton_);
  strip->addSpacing(12);
  strip->addWidget(displayingHojyoKamokuTitleField_);
  strip->addWidget(displayingHojyoKamokuField_);
  strip->addWidget(selectDisplayingHojyoKamokuButton_);
  strip->addSpacing(12);
  addPeriodStripWidgets(strip, stateView_);
  layout->addWidget(stateView_);

  tableView_ = new CyouhyouTableView(central);
  tableModel_ = new KanjyoumotocyouTableModel(this, this);
  tableView_->setModel(tableModel_);
  tableView_->setController(this);
  layout->addWidget(tableView_, 1);
  setCentralWidget(central);

  watchStripFields(
      {displayingKamokuField_, displayingHojyoKamokuField_, displayingPeriodFromField_, displayingPeriodToField_});
  connect(selectDisplayingKamokuButton_, &QToolButton::clicked, this,
          [this] { showKamokuFormatterListWindowForDisplayingKamokuField(); });
  connect(selectDisplayingHojyoKamokuButton_, &QToolButton::clicked, this,
          [this] { showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField(); });
  connect(selectDisplayingPeriodButton_, &QToolButton::clicked, this, [this] { setKanjyoumotocyouDisplayingPeriod(); });
  connect(tableView_, &QAbstractItemView::doubleClicked, this, [this] { showInputShiwakeWindow(); });

  // A click on a cell of the selected row opens it for editing, where the cell allows it.
  auto* delegate = new LedgerCellDelegate(tableView_);
  delegate->didBegin = [this](const QModelIndex& index, QLineEdit* editor) {
    editor_ = editor;
    const std::vector<Column>& columns = tableModel_->columns();
    if (index.column() < static_cast<int>(columns.size()))
      controlTextDidBeginEditing(index.row(), columns[static_cast<size_t>(index.column())]);
    connect(editor, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
  };
  delegate->userEnds = [this](bool byKey) { return endEditingByUser(byKey ? EndMode::Key : EndMode::Move); };
  delegate->commit = [this] { commitEditedCell(); };
  delegate->isValidating = [this] { return validating_; };
  delegate->focusLeft = [this](QLineEdit* editor) { editorDidLoseFocus(editor); };
  delegate->moveSelection = [this](QKeyEvent& key) { QApplication::sendEvent(tableView_, &key); };
  connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this] { editorDidClose(); });
  cellDelegate_ = delegate;
  tableView_->viewport()->installEventFilter(this);
  tableView_->setItemDelegate(delegate);
  tableView_->setEditTriggers(QAbstractItemView::SelectedClicked);
  tableView_->setShouldEditHandler([this](const QModelIndex& index) {
    const std::vector<Column>& columns = tableModel_->columns();
    return index.column() < static_cast<int>(columns.size()) &&
           shouldEditTableColumn(index.row(), columns[static_cast<size_t>(index.column())]);
  });
  // A correction reaches this window's rows, the books and the reports once no cell is
  // open any more (runWhatWaitedForTheEdit), and at the latest as the selection moves on.
  connect(
      tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
      [this] {
        updateAllWindowControllersUIIfShiwakeWasEdited();
        validateMenuItems();
      },
      Qt::QueuedConnection);
  connect(tableView_, &CyouhyouTableView::clickDidEnd, this, [this] { runWhatWaitedForTheEdit(); });
}

void KanjyoumotocyouController::windowDidLoad()
{
  const MyDocument& doc = document()->document();
  hidukeFormatter_ = std::make_unique<HidukeFormatter>(doc, false);
  kamokuFieldFormatter_ = std::make_unique<KamokuFormatter>(doc, false);
  hojyoKamokuFieldFormatter_ = std::make_unique<HojyoKamokuFormatter>(doc);
  aiteKamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, true);
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(doc);
  hojyoKamokuColumnFormatter_ = std::make_unique<HojyoKamokuFormatter>(doc);
  tekiyouFormatter_ = std::make_unique<TekiyouFormatter>(doc);
  buildLayout();

  tableModel_->setColumns(visibleColumns());
  applyColumnWidths();
  setMaximumWidth(maximumWindowWidth());
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int available = screen ? screen->availableGeometry().width() : 1280;
  resize(std::min(maximumWindowWidth(), available), 560);

  if (!doc.doesHaveKamokuWhichHasActiveHojyoKamoku()) {
    displayingHojyoKamokuTitleField_->hide();
    displayingHojyoKamokuField_->hide();
    selectDisplayingHojyoKamokuButton_->hide();
  }
  textFieldArray_ = {displayingKamokuField_, displayingPeriodFromField_, displayingPeriodToField_};
  indexOfSelectedTextField_ = 0;
  paintTextFieldHighlight(true);

  recomputeUI();
  setHojyoKamokuColumnWidth();
}

std::vector<KanjyoumotocyouController::Column> KanjyoumotocyouController::visibleColumns() const
{
  const MyDocument& doc = document()->document();
  const bool createdType = UserDefaults::standardUserDefaults().boolForKey(KIVOKanjyoumotocyouShowCreatedTypeKey);
  const bool hojyo = doc.doesHaveKamokuWhichHasActiveHojyoKamoku();
  const bool jigyoubu = doc.numberOfActiveJigyoubu() > 0;
  std::vector<Column> columns{Column::Date};
  if (createdType) columns.push_back(Column::CreatedType);
  columns.push_back(Column::AiteKamoku);
  if (hojyo) columns.push_back(Column::AiteHojyoKamoku);
  if (jigyoubu) columns.push_back(Column::AiteJigyoubu);
  columns.push_back(Column::Tekiyou);
  if (hojyoKamokuColumnAttached_) columns.push_back(Column::HojyoKamoku);
  if (jigyoubu) columns.push_back(Column::Jigyoubu);
  columns.push_back(Column::KarikataKingaku);
  columns.push_back(Column::KashikataKingaku);
  columns.push_back(Column::Zandaka);
  return columns;
}

int KanjyoumotocyouController::columnWidth(Column column, bool maximum) const
{
  const int unit = std::max(fontMetrics().averageCharWidth(), 6);
  const int characters = maximum ? KanjyoumotocyouTableModel::maxWidthCharactersOfColumn(column)
                                 : KanjyoumotocyouTableModel::widthCharactersOfColumn(column);
  int width = characters * unit;
  if (column == Column::KarikataKingaku || column == Column::KashikataKingaku || column == Column::Zandaka) {
    // Digits are wider than an average character: the column is measured on the
    // largest figure itself, signed, with the cell's margins.
    const Kaisya& kaisya = document()->document().kaisya();
    const QFontMetrics metrics(tableView_->font());
    const QString largest = qs("-" + kaisya.displayStringOfMemoryKingaku(kaisya.maxOutputAmountValue()));
    const int figure = std::max(metrics.horizontalAdvance(largest),
                                metrics.horizontalAdvance(qs(Kaisya::overFlowAmountValueString())));
    width = std::max(width, figure + 2 * metrics.horizontalAdvance(QLatin1Char('0')));
  }
  return width;
}

void KanjyoumotocyouController::moveWindowToInitialPositionWithDisplay(bool display)
{
  PeriodReportWindowController::moveWindowToInitialPositionWithDisplay(false);
  const QRect available = availableScreenGeometry();
  QRect frame = windowFrame();
  auto covers = [this, &frame] {
    for (DocumentWindowController* wc : document()->windowControllers())
      if (wc != this && qobject_cast<KanjyoumotocyouController*>(wc) && wc->isVisible() &&
          (wc->windowFrame().topLeft() - frame.topLeft()).manhattanLength() < 8)
        return true;
    return false;
  };
  for (int step = 0; step < 20 && covers(); ++step) {
    frame.translate(kCascadeRight, kCascadeDown);
    // Past the screen's right or bottom edge the cascade starts again at its left or
    // top; a ledger as wide as the screen goes on down it.
    const QRect fitted = frameOnScreen(frame, available);
    if (fitted.x() < frame.x()) frame.moveLeft(available.left() + step * kCascadeRight / 4);
    if (fitted.y() < frame.y()) frame.moveTop(available.top());
    frame = frameOnScreen(frame, available);
  }
  if (frame != windowFrame()) {
    setWindowFrame(frame);
    document()->setWindowFrame(windowKind(), frame);
  }
  if (display) showWindow();
}

void KanjyoumotocyouController::applyColumnWidths()
{
  QHeaderView* header = tableView_->horizontalHeader();
  header->setStretchLastSection(false);
  const std::vector<Column>& columns = tableModel_->columns();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    header->resizeSection(i, columnWidth(columns[i], false));
    // The description takes what the window has left.
    header->setSectionResizeMode(i, columns[i] == Column::Tekiyou ? QHeaderView::Stretch : QHeaderView::Interactive);
  }
  widthDefaultsKey_ =
      UserDefaults::columnsKey(KIVOKanjyoumotocyouWindowWidthKey, static_cast<int>(columns.size())).toUtf8();
}

int KanjyoumotocyouController::maximumWindowWidth() const
{
  int width = 0;
  for (Column c : tableModel_->columns()) width += columnWidth(c, true);
  width += tableView_->verticalScrollBar()->sizeHint().width() + tableView_->frameWidth() * 2 + 2;
  return width;
}

void KanjyoumotocyouController::setHojyoKamokuColumnWidth()
{
  const KamokuPtr kamoku = displayKamokuCode_ < 0 ? nullptr : document()->document().kamokuOfCode(displayKamokuCode_);
  const bool attach = displayHojyoKamokuCode_ < 0 && kamoku && kamoku->activeHojyoKamokuNum() >= 1;
  if (attach) hojyoKamokuColumnFormatter_->setParentKamokuFromKamokuCode(kamoku->code());
  if (attach != hojyoKamokuColumnAttached_) {
    hojyoKamokuColumnAttached_ = attach;
    const int keep = tableView_->selectedRow();
    tableModel_->setColumns(visibleColumns());
    applyColumnWidths();
    tableView_->selectRow(keep);
  }
  const int maximum = maximumWindowWidth();
  setMaximumWidth(maximum);
  if (width() > maximum) resize(maximum, height());
}

// --- refresh

void KanjyoumotocyouController::recomputeUI()
{
  if (!isWindowLoaded()) return;
  // Rows built anew would take the cell being edited, and its text, with them.
  if (isEditingCell()) {
    recomputeWhenEditEnds_ = true;
    return;
  }
  recomputeWhenEditEnds_ = false;
  setDisplayingKamokuFieldValue();
  setItemCheckmarkOfkeyEquivalentMenu();
  setDisplayingPeriodFieldValue();

  const KanjyoumotocyouRowEdit::SelectedRow kept =
      KanjyoumotocyouRowEdit::selectedRowOf(displayMotocyouArray_, rowShiwakeArray_, tableView_->selectedRow());
  progressIndicator_->show();
  MyDocument& doc = document()->document();
  displayMotocyouArray_ =
      Kanjyoumotocyou::motocyouArray(doc, displayKamokuCode_, displayHojyoKamokuCode_,
                                     displayPeriodFromMonthArrayIndex_, displayPeriodToMonthArrayIndex_);
  // Each entry row keeps its entry: the window may wait for its next refresh while
  // the journal is sorted anew, and must never read another entry at the old place.
  const std::vector<ShiwakePtr>& sorted = doc.journal().sortedByDate();
  rowShiwakeArray_.assign(displayMotocyouArray_.size(), nullptr);
  for (size_t i = 0; i < displayMotocyouArray_.size(); ++i) {
    const Motocyou& m = displayMotocyouArray_[i];
    if (m.isShiwakeRow() && m.indexOfSortedShiwakeArray() < static_cast<int32_t>(sorted.size()))
      rowShiwakeArray_[i] = sorted[m.indexOfSortedShiwakeArray()];
  }
  progressIndicator_->hide();
  tableModel_->reloadData();

  const int n = numberOfRowsInTableView();
  if (selectRowAfterUpdate_ == -1) {
    const int row = KanjyoumotocyouRowEdit::rowToSelectAfterUpdate(displayMotocyouArray_, rowShiwakeArray_, kept);
    if (row >= 0) tableView_->selectRow(row);
  } else if (n > 0) {
    tableView_->selectRow(std::min(selectRowAfterUpdate_, n - 1));
  }
  selectRowAfterUpdate_ = -1;
  tableView_->setFocus();
  validateMenuItems();
}

void KanjyoumotocyouController::updateAfterSelectDisplayingKamoku()
{
  updateAllWindowControllersUIIfShiwakeWasEdited();
  selectRowAfterUpdate_ = 0;
  // The user chose what this window shows: it shows it now.
  updateUI(true);
  synchronizeWindowTitleWithDocumentName();
  setHojyoKamokuColumnWidth();
}

// --- cells

QString KanjyoumotocyouController::stringValue(int row, Column column) const
{
  if (row < 0 || row >= numberOfRowsInTableView()) return {};
  const Motocyou& m = displayMotocyouArray_[row];
  const Kaisya& kaisya = document()->document().kaisya();
  switch (m.kind()) {
  case Motocyou::Kind::Balance:
    if (column == Column::Tekiyou) return qs(m.title());
    if (column == Column::Zandaka) return qs(kaisya.outputStringOfMemoryKingaku(m.zandaka()));
    return {};
  case Motocyou::Kind::Total:
    // A sum beyond the output limit reads "#Precision!", never the limit itself.
    if (column == Column::Tekiyou) return qs(m.title());
    if (column == Column::KarikataKingaku) return qs(kaisya.outputStringOfMemoryKingaku(m.karikataKingaku()));
    if (column == Column::KashikataKingaku) return qs(kaisya.outputStringOfMemoryKingaku(m.kashikataKingaku()));
    return {};
  case Motocyou::Kind::Heading: return {};
  case Motocyou::Kind::Shiwake: break;
  }
  if (!rowShiwakeArray_[row]) return {};
  const Shiwake& e = *rowShiwakeArray_[row];
  const bool karikataMatches = e.karikataKamokuCode() == displayKamokuCode_ &&
                               (displayHojyoKamokuCode_ < 0 || e.karikataHojyoKamokuCode() == displayHojyoKamokuCode_);
  const bool kashikataMatches =
      e.kashikataKamokuCode() == displayKamokuCode_ &&
      (displayHojyoKamokuCode_ < 0 || e.kashikataHojyoKamokuCode() == displayHojyoKamokuCode_);
  // The own side is the debit side when it is the ledger's, else the credit side.
  const bool ownKarikata = karikataMatches;
  const int32_t aiteKamoku = ownKarikata ? e.aiteKashikataKamokuCode() : e.aiteKarikataKamokuCode();
  const int32_t aiteHojyo = ownKarikata ? e.aiteKashikataHojyoKamokuCode() : e.aiteKarikataHojyoKamokuCode();
  const int32_t aiteJigyoubu = ownKarikata ? e.aiteKashikataJigyoubuCode() : e.aiteKarikataJigyoubuCode();
  const int32_t ownHojyo = ownKarikata ? e.karikataHojyoKamokuCode() : e.kashikataHojyoKamokuCode();
  const int32_t ownJigyoubu = ownKarikata ? e.karikataJigyoubuCode() : e.kashikataJigyoubuCode();
  switch (column) {
  case Column::Date: return fieldText(hidukeFormatter_->stringForObjectValue(FieldValue::date(e.date())));
  case Column::CreatedType:
    return e.kindOfShiwake() == ShiwakeKind::Furikaedenpyou ? qs(kCreatedTypeFurikaedenpyou) : QString();
  case Column::AiteKamoku:
    return aiteKamoku < 0 ? QString()
                          : fieldText(aiteKamokuFormatter_->stringForObjectValue(FieldValue::code(aiteKamoku)));
  case Column::AiteHojyoKamoku: {
    if (aiteHojyo < 0) return {};
    const KamokuPtr k = document()->document().kamokuOfCode(aiteKamoku);
    const HojyoKamokuPtr h = k ? k->hojyoKamokuOfCode(aiteHojyo) : nullptr;
    return h ? qs(h->name()) : QString();
  }
  case Column::AiteJigyoubu:
    return aiteJigyoubu < 0 ? QString()
                            : fieldText(jigyoubuFormatter_->stringForObjectValue(FieldValue::code(aiteJigyoubu)));
  case Column::Tekiyou: return qs(e.tekiyou());
  case Column::HojyoKamoku:
    return ownHojyo < 0 ? QString()
                        : fieldText(hojyoKamokuColumnFormatter_->stringForObjectValue(FieldValue::code(ownHojyo)));
  case Column::Jigyoubu:
    return ownJigyoubu < 0 ? QString()
                           : fieldText(jigyoubuFormatter_->stringForObjectValue(FieldValue::code(ownJigyoubu)));
  case Column::KarikataKingaku:
    return karikataMatches ? qs(kaisya.displayStringOfMemoryKingaku(e.karikataKingaku())) : QString();
  case Column::KashikataKingaku:
    return kashikataMatches ? qs(kaisya.displayStringOfMemoryKingaku(e.kashikataKingaku())) : QString();
  case Column::Zandaka: return qs(kaisya.outputStringOfMemoryKingaku(m.zandaka()));
  }
  return {};
}

bool KanjyoumotocyouController::isTotalRow(int row, const CyouhyouTableView&) const
{
  return row >= 0 && row < numberOfRowsInTableView() && displayMotocyouArray_[row].isTotalRow();
}

// --- the selection strip

void KanjyoumotocyouController::setTextFieldInUse(QLineEdit* field, bool inUse)
{
  const auto it = std::find(textFieldArray_.begin(), textFieldArray_.end(), field);
  if (inUse) {
    if (it == textFieldArray_.end()) {
      QLineEdit* selected = selectedTextField();
      textFieldArray_.insert(textFieldArray_.begin() + 1, field);
      indexOfSelectedTextField_ = static_cast<int>(std::find(textFieldArray_.begin(), textFieldArray_.end(), selected) -
                                                   textFieldArray_.begin());
    }
  } else if (it != textFieldArray_.end()) {
    // A highlighted field that goes hands the highlight to the account field.
    QLineEdit* selected = selectedTextField() == field ? displayingKamokuField_ : selectedTextField();
    textFieldArray_.erase(it);
    indexOfSelectedTextField_ =
        static_cast<int>(std::find(textFieldArray_.begin(), textFieldArray_.end(), selected) - textFieldArray_.begin());
  }
  paintTextFieldHighlight(isActiveWindow() || !isVisible());
}

void KanjyoumotocyouController::setDisplayingKamokuFieldValue()
{
  const MyDocument& doc = document()->document();
  const bool hojyoFieldExists = doc.doesHaveKamokuWhichHasActiveHojyoKamoku();
  const KamokuPtr kamoku = displayKamokuCode_ < 0 ? nullptr : doc.kamokuOfCode(displayKamokuCode_);
  if (kamoku) {
    displayingKamokuField_->setText(
        fieldText(kamokuFieldFormatter_->stringForObjectValue(FieldValue::code(kamoku->code()))));
    if (kamoku->activeHojyoKamokuNum() == 0 || !hojyoFieldExists) {
      selectDisplayingHojyoKamokuButton_->setEnabled(false);
      setTextFieldInUse(displayingHojyoKamokuField_, false);
      displayHojyoKamokuCode_ = -1;
    } else {
      hojyoKamokuFieldFormatter_->setParentKamokuFromKamokuCode(kamoku->code());
      selectDisplayingHojyoKamokuButton_->setEnabled(true);
      setTextFieldInUse(displayingHojyoKamokuField_, true);
    }
    if (displayHojyoKamokuCode_ >= 0) {
      if (kamoku->hojyoKamokuOfCode(displayHojyoKamokuCode_))
        displayingHojyoKamokuField_->setText(
            fieldText(hojyoKamokuFieldFormatter_->stringForObjectValue(FieldValue::code(displayHojyoKamokuCode_))));
      else
        displayHojyoKamokuCode_ = -1;
    }
  } else {
    displayKamokuCode_ = -1;
    displayingKamokuField_->clear();
    selectDisplayingHojyoKamokuButton_->setEnabled(false);
    setTextFieldInUse(displayingHojyoKamokuField_, false);
    displayHojyoKamokuCode_ = -1;
  }
  if (displayHojyoKamokuCode_ < 0) displayingHojyoKamokuField_->clear();
}

// --- commands

WindowController* KanjyoumotocyouController::refuseForBlockingSheet()
{
  return document()->refuseForBlockingSheet(this);
}

void KanjyoumotocyouController::showKamokuFormatterListWindowForDisplayingKamokuField(const QString& searchText)
{
  selectTextField(displayingKamokuField_);
  if (!deselectEditingCell() || refuseForBlockingSheet()) return;
  setDisplayingKamokuFieldValue();
  const QPoint topLeft = displayingKamokuField_->mapToGlobal(QPoint(0, 0));
  const int32_t code = KamokuFormatterListWindow::showKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
      *kamokuFieldFormatter_, topLeft, searchText, true, this);
  if (code < 0) return;
  const int32_t hojyo = kamokuFieldFormatter_->selectedHojyoKamokuCodeOfFormatterList();
  if (code == displayKamokuCode_ && hojyo == displayHojyoKamokuCode_) return;
  displayKamokuCode_ = code;
  displayHojyoKamokuCode_ = hojyo;
  updateAfterSelectDisplayingKamoku();
}

void KanjyoumotocyouController::showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField(
    const QString& searchText)
{
  if (std::find(textFieldArray_.begin(), textFieldArray_.end(), displayingHojyoKamokuField_) == textFieldArray_.end())
    return;
  selectTextField(displayingHojyoKamokuField_);
  if (!deselectEditingCell() || refuseForBlockingSheet()) return;
  setDisplayingKamokuFieldValue();
  hojyoKamokuFieldFormatter_->setParentKamokuFromKamokuCode(displayKamokuCode_);
  const QPoint topLeft = displayingHojyoKamokuField_->mapToGlobal(QPoint(0, 0));
  const int32_t code = HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
      *hojyoKamokuFieldFormatter_, topLeft, searchText, this);
  if (code < 0 || code == displayHojyoKamokuCode_) return;
  displayHojyoKamokuCode_ = code;
  updateAfterSelectDisplayingKamoku();
}

void KanjyoumotocyouController::clearDisplayingHojyoKamokuField()
{
  if (!deselectEditingCell() || refuseForBlockingSheet()) return;
  displayHojyoKamokuCode_ = -1;
  updateAfterSelectDisplayingKamoku();
}

void KanjyoumotocyouController::setKanjyoumotocyouDisplayingPeriod()
{
  selectTextField(displayingPeriodFromField_);
  if (!deselectEditingCell() || refuseForBlockingSheet()) return;
  if (hasAttachedSheet()) return;
  PeriodController::periodControllerOfDocument(document())->beginSheetForWindow(this);
}

void KanjyoumotocyouController::updateDisplayPeriodUI()
{
  // Another period chosen shows its rows from the top. Only then: a sheet cancelled
  // leaves the selection to the next refresh (a correction's, which keeps its entry).
  selectRowAfterUpdate_ = 0;
  updateUI(true);
}

void KanjyoumotocyouController::showInputShiwakeWindow()
{
  const int row = tableView_->selectedRow();
  if (row < 0 || row >= numberOfRowsInTableView() || !rowShiwakeArray_[row]) return;
  const ShiwakePtr e = rowShiwakeArray_[row];
  // The ledgers pass their changes on (this one's too) before the book or voucher
  // shows the entry: the book must never show, and then write back, its older copy.
  if (!deselectEditingCell() || !document()->canShowFurikaedenpyouWindow() ||
      !document()->deselectKanjyoumotocyouCellsOfAllShiwake())
    return;
  selectRowOfShiwake(e);
  if (e->kindOfShiwake() == ShiwakeKind::Furikaedenpyou) {
    FurikaedenpyouController::showDenpyouOfDenpyouNo(document(), e->denpyouNo());
    return;
  }
  // A cash-book entry opens its book: the shown one when it is a cash book, else the
  // book of the entry's debit side, else of its credit side.
  const MyDocument& doc = document()->document();
  const KamokuPtr shown = doc.kamokuOfCode(displayKamokuCode_);
  std::optional<std::pair<int32_t, int32_t>> book;
  if (shown && shown->isSuitouKamoku() && (shown->activeHojyoKamokuNum() == 0 || displayHojyoKamokuCode_ >= 0))
    book = std::pair(displayKamokuCode_, displayHojyoKamokuCode_);
  else
    book = Suitoucyou::bookOfShiwake(doc, *e);
  if (!book) return;
  // No change is pending any more: a book opened here fills itself.
  SuitoucyouController::showSuitoucyouAtDenpyouNo(document(), book->first, book->second, e->denpyouNo(), true);
}

void KanjyoumotocyouController::changeKeyEquivalentOfKanjyoumotocyouSubMenu(const QString& digit)
{
  if (displayKamokuCode_ < 0) return;
  MyDocument& doc = document()->document();
  if (!KanjyoumotocyouShortcut::setShortcut(doc, {displayKamokuCode_, displayHojyoKamokuCode_}, digit.toStdString()))
    return;
  document()->removeAllUndoActions();
  setItemCheckmarkOfkeyEquivalentMenu();
  document()->setSubmenuOfDenpyouAndCyouhyouMenuItem();
}

void KanjyoumotocyouController::printKanjyoumotocyou()
{
  if (displayKamokuCode_ < 0 || !deselectEditingCell()) return;
  KanjyoumotocyouPrintAccessory::of(document())->resetKanjyoumotocyouPrintAccessoryView();
  // The rows as they stand when the panel opens.
  const std::vector<Motocyou> rows = displayMotocyouArray_;
  KanjyoumotocyouPrinting::print(document(), this, rows, displayPeriodFromMonthArrayIndex_,
                                 displayPeriodToMonthArrayIndex_, false);
}

void KanjyoumotocyouController::showPrintPreview()
{
  if (displayKamokuCode_ < 0) return;
  const std::unique_ptr<KanjyoumotocyouPrintView> view = KanjyoumotocyouPrinting::printView(
      document(), displayMotocyouArray_, displayPeriodFromMonthArrayIndex_, displayPeriodToMonthArrayIndex_);
  if (!view) return;
  KanjyoumotocyouPrintAccessory::of(document())->resetKanjyoumotocyouPrintAccessoryView();
  KanjyoumotocyouPrinting::preview(document(), *view);
}

void KanjyoumotocyouController::pageSetup() { PrintOperation::runPageSetup(this, KIVOKanjyoumotocyouPrintInfoKey); }

void KanjyoumotocyouController::setItemCheckmarkOfkeyEquivalentMenu()
{
  if (!shortcutMenu_) return;
  const QString key = displayKamokuCode_ < 0
                          ? QString()
                          : qs(KanjyoumotocyouShortcut::keyEquivalentOfLedger(
                                document()->document(), {displayKamokuCode_, displayHojyoKamokuCode_}));
  for (QAction* a : shortcutMenu_->actions()) a->setChecked(!key.isEmpty() && a->data().toString() == key);
}

void KanjyoumotocyouController::deleteOnTextField(QLineEdit* field)
{
  if (field == displayingHojyoKamokuField_ && displayHojyoKamokuCode_ >= 0) clearDisplayingHojyoKamokuField();
}

bool KanjyoumotocyouController::typeOnTextField(QLineEdit* field, const QString& typed)
{
  if (field == displayingKamokuField_) {
    if (kamokuFieldFormatter_->isPartialStringValid(typed.toStdString())) field->setText(typed);
    showKamokuFormatterListWindowForDisplayingKamokuField(typed);
    return true;
  }
  if (field == displayingHojyoKamokuField_) {
    if (hojyoKamokuFieldFormatter_->isPartialStringValid(typed.toStdString())) field->setText(typed);
    showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField(typed);
    return true;
  }
  return false;
}

// --- after an edit

void KanjyoumotocyouController::updateAllWindowControllersUIIfShiwakeWasEdited()
{
  // An open cell passes the correction on as its edit ends (editorDidClose).
  if (editedShiwakeDenpyouNo_ < 0 || isEditingCell()) return;
  updateSuitoucyouWindowControllersUI();
  // Cleared first: the refresh below changes this window's selection.
  editedShiwakeDenpyouNo_ = -1;
  document()->updateAllOutputWindowControllersUI();
}

void KanjyoumotocyouController::shiwakeDidChange(int32_t denpyouNo, int selectRow)
{
  editedShiwakeDenpyouNo_ = denpyouNo;
  if (selectRow >= 0) selectRowAfterUpdate_ = selectRow;
  updateAllWindowControllersUIIfShiwakeWasEdited();
}

void KanjyoumotocyouController::updateSuitoucyouWindowControllersUI()
{
  MyDocument& doc = document()->document();
  ChangedAccounts accounts;
  for (const ShiwakePtr& s : doc.journal())
    if (s->denpyouNo() == editedShiwakeDenpyouNo_) accounts.addSidesOf(*s);
  // Also a book that still shows the entry under its former account.
  std::vector<SuitoucyouController*> books;
  for (DocumentWindowController* wc : document()->windowControllers()) {
    auto* book = qobject_cast<SuitoucyouController*>(wc);
    if (book && (accounts.contains(book->displayKamokuCode(), book->displayHojyoKamokuCode()) ||
                 book->book().rowOfShiwakeOfDenpyouNo(editedShiwakeDenpyouNo_) >= 0))
      books.push_back(book);
  }
  if (books.empty()) return;
  doc.journal().dateEditingEnded();
  for (SuitoucyouController* book : books) {
    book->book().setStartRowWithInvalidZandaka(0);
    book->updateSuitoucyouUI();
  }
}

// --- editing rows

ShiwakePtr KanjyoumotocyouController::shiwakeOfRow(int row) const
{
  return row < 0 || row >= static_cast<int>(rowShiwakeArray_.size()) ? nullptr : rowShiwakeArray_[row];
}

QModelIndex KanjyoumotocyouController::indexOfCell(int row, Column column) const
{
  return tableModel_->index(row, tableModel_->indexOfColumn(column));
}

bool KanjyoumotocyouController::isEditableCell(int row, Column column) const
{
  const ShiwakePtr e = shiwakeOfRow(row);
  const std::optional<Cell> cell = cellOfColumn(column);
  return e && cell && KanjyoumotocyouRowEdit::isEditable(document()->document(), *e, ledger(), *cell);
}

bool KanjyoumotocyouController::isSelectedInSuitoucyou(int32_t denpyouNo) const
{
  for (DocumentWindowController* wc : document()->windowControllers())
    if (auto* book = qobject_cast<SuitoucyouController*>(wc); book && book->book().selectDenpyouNo() == denpyouNo)
      return true;
  return false;
}

bool KanjyoumotocyouController::isShownInFurikaedenpyou(int32_t denpyouNo) const
{
  auto* voucher = qobject_cast<FurikaedenpyouController*>(document()->furikaedenpyouController());
  return voucher && voucher->displayingDenpyouNo() == denpyouNo;
}

bool KanjyoumotocyouController::shouldEditTableColumn(int row, Column column)
{
  if (!isEditableCell(row, column) || !document()->canShowFurikaedenpyouWindow()) return false;
  const int32_t n = shiwakeOfRow(row)->denpyouNo();
  return !isSelectedInSuitoucyou(n) && !isShownInFurikaedenpyou(n);
}

void KanjyoumotocyouController::editFirstEditableColumn()
{
  const int row = tableView_->selectedRow();
  if (!shiwakeOfRow(row) || isEditingCell()) return;
  for (Column column : tableModel_->columns()) {
    if (!isEditableCell(row, column)) continue;
    if (!shouldEditTableColumn(row, column)) return;
    // The cell becomes the table's current one, as a click makes it: the edit then ends
    // the same way however it was opened.
    const QModelIndex index = indexOfCell(row, column);
    tableView_->setCurrentIndex(index);
    tableView_->edit(index);
    return;
  }
}

bool KanjyoumotocyouController::isEditingCell() const { return editingRow_ >= 0 && editor_; }

bool KanjyoumotocyouController::isEditingShiwakeOfDenpyouNo(int32_t denpyouNo) const
{
  const ShiwakePtr e = isEditingCell() ? shiwakeOfRow(editingRow_) : nullptr;
  return e && e->denpyouNo() == denpyouNo;
}

void KanjyoumotocyouController::controlTextDidBeginEditing(int row, Column column)
{
  editingRow_ = row;
  editingColumn_ = column;
  pendingValue_.reset();
  editorTextChanged_ = false;
}

void KanjyoumotocyouController::controlTextDidChange()
{
  // Editing counts as a change once the text changes: a cell opened and left as it was
  // (Escape) leaves the document as it was.
  if (editorTextChanged_ || !isEditingCell()) return;
  editorTextChanged_ = true;
  document()->updateChangeCount(MyDocument::ChangeType::Done);
  document()->removeAllUndoActions();
}

bool KanjyoumotocyouController::deselectEditingCell()
{
  if (!isEditingCell()) return true;
  QLineEdit* editor = editor_;
  const int row = editingRow_;
  if (!tableViewTextShouldEndEditing(editor, false)) return false;
  static_cast<LedgerCellDelegate*>(cellDelegate_)->endEdit(editor);
  tableView_->selectRow(row);
  tableView_->setFocus();
  // Another window coming forward ended the edit: this one has already resigned main.
  if (!isMainWindow()) updateAllWindowControllersUIIfShiwakeWasEdited();
  return true;
}

bool KanjyoumotocyouController::endEditingByUser(EndMode mode)
{
  if (!isEditingCell()) return true;
  QLineEdit* editor = editor_;
  if (checkEditedText(editor, mode)) {
    static_cast<LedgerCellDelegate*>(cellDelegate_)->endEdit(editor);
    // A key (Return, Enter, Tab) leaves the row where it is: the correction shows now,
    // before the next key. An arrow or a click goes on first (the selection moving, the
    // click reaching its row), and the refresh follows.
    if (mode == EndMode::Key) runWhatWaitedForTheEdit();
    return true;
  }
  if (editor_ == editor && !editor->hasFocus()) editor->setFocus(Qt::OtherFocusReason);
  return false;
}

void KanjyoumotocyouController::editorDidLoseFocus(QLineEdit* editor)
{
  QTimer::singleShot(0, this, [this, left = QPointer<QLineEdit>(editor)] {
    // Still open, still without the keyboard, in the active window with nothing over it.
    if (!left || left != editor_ || !isEditingCell() || left->hasFocus() || !isActiveWindow() ||
        QApplication::activeModalWidget() || validating_)
      return;
    endEditingByUser(EndMode::Move);
  });
}

void KanjyoumotocyouController::editorDidClose()
{
  editingRow_ = -1;
  editor_ = nullptr;
  pendingValue_.reset();
  editorTextChanged_ = false;
  if (!recomputeWhenEditEnds_ && editedShiwakeDenpyouNo_ < 0) return;
  // After the table has let the editor go, however the edit ended.
  QTimer::singleShot(0, this, [this] { runWhatWaitedForTheEdit(); });
}

void KanjyoumotocyouController::runWhatWaitedForTheEdit()
{
  // A cell opened again meanwhile, or a click that is to open another cell of the row,
  // keeps them waiting for that edit's end: the rows stay still under the user.
  if (isEditingCell() || tableView_->isClickPending()) return;
  // The refresh of every window may run events of its own (a progress sheet).
  const QPointer<KanjyoumotocyouController> self = this;
  updateAllWindowControllersUIIfShiwakeWasEdited();
  if (self && recomputeWhenEditEnds_) updateUI();
}

bool KanjyoumotocyouController::eventFilter(QObject* watched, QEvent* event)
{
  if (tableView_ && watched == tableView_->viewport()) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      // The editor takes its own clicks; this one is elsewhere on the table. A press
      // moves on from the cell; a double click is the row's command (its book).
      clickRefused_ = false;
      if (isEditingCell()) {
        const bool ended =
            event->type() == QEvent::MouseButtonPress ? endEditingByUser(EndMode::Move) : deselectEditingCell();
        if (!ended) {
          clickRefused_ = true;
          if (editor_) editor_->setFocus(Qt::OtherFocusReason);
          return true;
        }
      }
      break;
    case QEvent::MouseMove:
      // A drag of the refused press goes nowhere; a move without the button means its
      // release went elsewhere (to the alert it raised), and the press is over.
      if (clickRefused_ && static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) return true;
      clickRefused_ = false;
      break;
    case QEvent::MouseButtonRelease:
      if (clickRefused_) {
        clickRefused_ = false;
        return true;
      }
      break;
    default: break;
    }
  }
  return PeriodReportWindowController::eventFilter(watched, event);
}

bool KanjyoumotocyouController::settleEditing()
{
  if (!deselectEditingCell()) return false;
  updateAllWindowControllersUIIfShiwakeWasEdited();
  return true;
}

void KanjyoumotocyouController::setPriorityTekiyouGroupNameToSearch(int row)
{
  const ShiwakePtr e = shiwakeOfRow(row);
  const FieldValue aite = e ? KanjyoumotocyouRowEdit::rowValuesOf(*e, ledger())[Cell::AiteKamoku] : FieldValue();
  tekiyouFormatter_->setPrimeGroupNameToSearchFromFirstKamokuCode(
      aite.isCode() ? std::optional<int32_t>(aite.codeValue()) : std::nullopt, displayKamokuCode_);
}

bool KanjyoumotocyouController::tableViewTextShouldEndEditing(QLineEdit* editor, bool doShowFormatterListWindow)
{
  return checkEditedText(editor, doShowFormatterListWindow ? EndMode::Key : EndMode::Command);
}

bool KanjyoumotocyouController::checkEditedText(QLineEdit* editor, EndMode mode)
{
  const bool doShowFormatterListWindow = mode == EndMode::Key;
  const bool byCommand = mode == EndMode::Command;
  pendingValue_.reset();
  const int row = editingRow_;
  const Column column = editingColumn_;
  const ShiwakePtr e = shiwakeOfRow(row);
  if (!editor || !e) return true;
  const QScopedValueRollback<bool> guard(validating_, true);
  MyDocument& doc = document()->document();
  const QString text = editor->text();
  const std::string typed = text.trimmed().toStdString();
  // A command that ends the edit says why it cannot, once: while an alert is already on
  // the window (a second command, the window coming forward), that one is brought
  // forward with the keyboard. The user's own end keeps the cell as it is.
  auto invalid = [&] {
    if (byCommand) {
      const bool alerted = hasAttachedSheet() && !attachedSheetController();
      showWindow();
      if (!alerted) {
        closeAttachedSheet();
        AlertSheet::beginAlertSheet(this, qs(AlertSheet::kInvalidShiwakeTitle), qs(kInvalidCellMessage),
                                    [this, cell = QPointer<QLineEdit>(editor_)] {
                                      if (cell && cell == editor_) cell->setFocus(Qt::OtherFocusReason);
                                    });
      }
    }
    return false;
  };
  // Pickers open only while the user ends the edit in the main window.
  auto mayPick = [&] { return doShowFormatterListWindow && isMainWindow(); };
  const QRect cellRect = tableView_->visualRect(indexOfCell(row, column));
  const QPoint at = tableView_->viewport()->mapToGlobal(cellRect.bottomLeft() + QPoint(0, 1));
  const KanjyoumotocyouRowEdit::RowValues values = KanjyoumotocyouRowEdit::rowValuesOf(*e, ledger());
  FieldValue v;

  // The code columns with a picker: a code is taken, text opens the picker.
  auto pickCode = [&](Formatter& formatter, const std::function<int32_t()>& pick,
                      const std::function<std::string(int32_t)>& nameOf) {
    if (typed.empty() || !formatter.getObjectValue(v, typed, nullptr)) return invalid();
    if (v.isCode()) {
      pendingValue_ = v;
      return true;
    }
    if (!mayPick()) return doShowFormatterListWindow ? false : invalid();
    const int32_t code = pick();
    if (code < 0) return false;
    editor->setText(qs(nameOf(code)));
    pendingValue_ = FieldValue::code(code);
    return true;
  };
  auto jigyoubuName = [&](int32_t code) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", code);
    const JigyoubuPtr j = doc.matchJigyoubuCode(buf);
    return j ? j->name() : std::string();
  };

  switch (column) {
  case Column::Date:
    if (typed.empty() || !hidukeFormatter_->getObjectValue(v, typed, nullptr) || !v.isDate()) return invalid();
    pendingValue_ = v;
    return true;
  case Column::AiteKamoku: {
    if (typed.empty() || !aiteKamokuFormatter_->getObjectValue(v, typed, nullptr)) return invalid();
    // 諸口 stands for several accounts of a voucher: never the account of an entry.
    if (v.isCode()) {
      if (v.codeValue() == Kamoku::kSyokuchiCode) return invalid();
      pendingValue_ = v;
      return true;
    }
    if (!mayPick()) return doShowFormatterListWindow ? false : invalid();
    const int32_t code = KamokuFormatterListWindow::showKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
        *aiteKamokuFormatter_, at, text, true, this);
    if (code < 0 || code == Kamoku::kSyokuchiCode) return false;
    setObjectValue(row, Column::AiteKamoku, FieldValue::code(code));
    const int32_t hojyo = aiteKamokuFormatter_->selectedHojyoKamokuCodeOfFormatterList();
    if (hojyo >= 0) setObjectValue(row, Column::AiteHojyoKamoku, FieldValue::code(hojyo));
    const KamokuPtr k = doc.kamokuOfCode(code);
    editor->setText(k ? qs(k->name()) : QString());
    pendingValue_ = FieldValue::code(code);
    return true;
  }
  case Column::AiteHojyoKamoku: {
    const int32_t aite = values[Cell::AiteKamoku].codeValue();
    const KamokuPtr k = values[Cell::AiteKamoku].isCode() ? doc.kamokuOfCode(aite) : nullptr;
    if (!k) return invalid();
    if (k->activeHojyoKamokuNum() == 0) return typed.empty() ? true : invalid();
    HojyoKamokuFormatter formatter(doc);
    formatter.setParentKamokuFromKamokuCode(aite);
    return pickCode(
        formatter,
        [&] {
          return HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
              formatter, at, text, this);
        },
        [&](int32_t code) {
          const HojyoKamokuPtr h = k->hojyoKamokuOfCode(code);
          return h ? h->name() : std::string();
        });
  }
  case Column::AiteJigyoubu:
  case Column::Jigyoubu:
    return pickCode(
        *jigyoubuFormatter_,
        [&] {
          return JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(
              *jigyoubuFormatter_, at, text, this);
        },
        jigyoubuName);
  case Column::HojyoKamoku: {
    const KamokuPtr shown = doc.kamokuOfCode(displayKamokuCode_);
    if (!shown || shown->activeHojyoKamokuNum() == 0) return typed.empty() ? true : invalid();
    return pickCode(
        *hojyoKamokuColumnFormatter_,
        [&] {
          return HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
              *hojyoKamokuColumnFormatter_, at, text, this);
        },
        [&](int32_t code) {
          const HojyoKamokuPtr h = shown->hojyoKamokuOfCode(code);
          return h ? h->name() : std::string();
        });
  }
  case Column::KarikataKingaku:
  case Column::KashikataKingaku: {
    // Emptied, the entry keeps its other side, which must then hold the amount.
    const Cell other = column == Column::KarikataKingaku ? Cell::KashikataKingaku : Cell::KarikataKingaku;
    if (typed.empty()) {
      if (!values[other].isAmount()) return invalid();
      pendingValue_ = FieldValue::nil();
      return true;
    }
    AmountFormatter formatter(doc.kaisya().decimalPrecision());
    if (!formatter.getObjectValue(v, typed, nullptr) || !v.isAmount()) return invalid();
    pendingValue_ = v;
    return true;
  }
  case Column::Tekiyou: {
    const bool pick =
        text.isEmpty() || (isTekiyouKanaKey(text) && doc.matchTekiyouKana(text.toUpper().toStdString(), "", ""));
    pendingValue_ = FieldValue::text(text.toStdString());
    // The list opens also for a command; not as the focus merely leaves.
    if (!pick || (!doShowFormatterListWindow && !byCommand)) return true;
    setPriorityTekiyouGroupNameToSearch(row);
    const TekiyouPtr chosen = TekiyouFormatterListWindow::showTekiyouFormatterListWindowTextFieldFrameTopLeftPoint(
        *tekiyouFormatter_, at, text, this);
    if (chosen) {
      editor->setText(qs(chosen->tekiyou()));
      pendingValue_ = FieldValue::text(chosen->tekiyou());
    }
    return true;
  }
  default: return invalid();
  }
}

void KanjyoumotocyouController::commitEditedCell()
{
  if (!pendingValue_ || editingRow_ < 0) return;
  const FieldValue value = *pendingValue_;
  pendingValue_.reset();
  const int row = editingRow_;
  setObjectValue(row, editingColumn_, value);
  // An account typed with its sub-account code (10301) brings the sub-account.
  if (editingColumn_ == Column::AiteKamoku && aiteKamokuFormatter_->inputedHojyoKamokuCode() >= 0)
    setObjectValue(row, Column::AiteHojyoKamoku, FieldValue::code(aiteKamokuFormatter_->inputedHojyoKamokuCode()));
}

void KanjyoumotocyouController::setObjectValue(int row, Column column, const FieldValue& value)
{
  const ShiwakePtr e = shiwakeOfRow(row);
  const std::optional<Cell> cell = cellOfColumn(column);
  if (!e || !cell) return;
  if (!KanjyoumotocyouRowEdit::setObjectValue(document()->document(), e, ledger(), *cell, value)) return;
  document()->removeAllUndoActions();
  editedShiwakeDenpyouNo_ = e->denpyouNo();
  tableModel_->reloadRow(row);
}

void KanjyoumotocyouController::selectRowOfShiwake(const ShiwakePtr& s)
{
  KanjyoumotocyouRowEdit::SelectedRow entry;
  entry.entry = s;
  const int row = KanjyoumotocyouRowEdit::rowToSelectAfterUpdate(displayMotocyouArray_, rowShiwakeArray_, entry);
  if (row >= 0) tableView_->selectRow(row);
}

void KanjyoumotocyouController::handleChooseDuplicateKanjyoumotocyouRow()
{
  const int row = tableView_->selectedRow();
  const ShiwakePtr e = shiwakeOfRow(row);
  if (!e) return;
  const QString cannot = qs(AlertSheet::kCannotExecuteTitle);
  if (isSelectedInSuitoucyou(e->denpyouNo())) {
    AlertSheet::beginAlertSheet(this, cannot, qs(kDuplicateInSuitoucyouMessage));
    return;
  }
  if (isShownInFurikaedenpyou(e->denpyouNo())) {
    AlertSheet::beginAlertSheet(this, cannot, qs(kDuplicateInFurikaedenpyouMessage));
    return;
  }
  if (!deselectEditingCell()) return;
  auto* voucher = qobject_cast<FurikaedenpyouController*>(document()->furikaedenpyouController());
  const KanjyoumotocyouRowEdit::Duplication d =
      KanjyoumotocyouRowEdit::duplicateRow(document()->document(), e, voucher ? voucher->displayingDenpyouNo() : -1);
  switch (d.refusal) {
  case KanjyoumotocyouRowEdit::Refusal::PartOfVoucher:
    AlertSheet::beginAlertSheet(this, cannot, qs(KanjyoumotocyouRowEdit::kPartOfVoucherMessage));
    return;
  case KanjyoumotocyouRowEdit::Refusal::DenpyouNoExhausted:
    AlertSheet::beginAlertSheet(
        this, qs(kInvalidDenpyouNoTitle),
        qs(kDenpyouNoExhaustedMessage).replace(QStringLiteral("%d"), QString::number(Kaisya::kMaxDenpyouNo)));
    return;
  case KanjyoumotocyouRowEdit::Refusal::None: break;
  }
  if (!d.copy) return;
  document()->removeAllUndoActions();
  shiwakeDidChange(d.copy->denpyouNo(), -1);
  selectRowOfShiwake(d.copy);
}

void KanjyoumotocyouController::handleChooseRemoveKanjyoumotocyouRow()
{
  const int row = tableView_->selectedRow();
  const ShiwakePtr e = shiwakeOfRow(row);
  if (!e) return;
  const QString cannot = qs(AlertSheet::kCannotExecuteTitle);
  if (e->kindOfShiwake() != ShiwakeKind::Suitoucyou) {
    AlertSheet::beginAlertSheet(this, cannot, qs(kRemoveNotSuitoucyouMessage));
    return;
  }
  if (isSelectedInSuitoucyou(e->denpyouNo())) {
    AlertSheet::beginAlertSheet(this, cannot, qs(kRemoveInSuitoucyouMessage));
    return;
  }
  if (!deselectEditingCell()) return;
  document()->removeAllUndoActions();
  std::optional<KanjyoumotocyouRowEdit::Removal> removal = KanjyoumotocyouRowEdit::removeRow(document()->document(), e);
  if (!removal) return;
  shiwakeDidChange(e->denpyouNo(), -1);
  if (document()->undoManager())
    document()->undoManager()->push(
        new RemoveKanjyoumotocyouRowCommand(document(), ledger(), std::move(*removal), row));
}

// --- window life

void KanjyoumotocyouController::windowDidBecomeMain() { setItemCheckmarkOfkeyEquivalentMenu(); }

void KanjyoumotocyouController::windowDidResignMain()
{
  updateAllWindowControllersUIIfShiwakeWasEdited();
  paintTextFieldHighlight(false);
}

void KanjyoumotocyouController::windowDidResignKey()
{
  if (document() && document()->undoManager()) document()->undoManager()->clear();
}

void KanjyoumotocyouController::windowWillCloseHook()
{
  if (document() && document()->undoManager()) document()->undoManager()->clear();
  closeAttachedSheet();
  updateAllWindowControllersUIIfShiwakeWasEdited();
}

// --- "機能" menu

const std::vector<QAction*>& KanjyoumotocyouController::functionMenuActions()
{
  if (!functionActions_.empty()) return functionActions_;
  using F = FunctionCommand;
  const auto key = [](const char* k, uint32_t mask) { return MainMenu::keySequenceForKeyEquivalent(qs(k), mask); };
  const uint32_t command = MainMenu::kCommandKeyMask;
  const uint32_t shift = MainMenu::kShiftKeyMask;
  const auto add = [this](F which, const char* title, std::function<void()> run, const QKeySequence& shortcut = {}) {
    auto* a = new QAction(qs(title), this);
    setFunctionCommand(a, which);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, [this, a, run] {
      validateMenuItems();
      if (!a->isEnabled()) return;
      // A command acts on the rows as they stand, as the application's commands do: a
      // cell being corrected ends first and the correction is passed on, so that an
      // export, a preview or a row command never works on rows the correction left
      // behind; a text that cannot be taken stops the command with its one alert.
      if (!settleEditing()) return;
      // A command may wait (a panel, a question, its progress): the window may have
      // gone by its end.
      const QPointer<KanjyoumotocyouController> self = this;
      run();
      if (self) validateMenuItems();
    });
    functionActions_.push_back(a);
  };
  add(
      F::ShowKamoku, kShowKamokuTitle, [this] { showKamokuFormatterListWindowForDisplayingKamokuField(); },
      key("K", command | shift));
  if (document()->document().doesHaveKamokuWhichHasActiveHojyoKamoku()) {
    add(
        F::ShowHojyoKamoku, kShowHojyoKamokuTitle,
        [this] { showHojyoKamokuFormatterListWindowForDisplayingHojyoKamokuField(); }, key("H", command | shift));
    add(F::ClearHojyoKamoku, kClearHojyoKamokuTitle, [this] { clearDisplayingHojyoKamokuField(); });
  }
  add(
      F::SetPeriod, kSetPeriodTitle, [this] { setKanjyoumotocyouDisplayingPeriod(); }, key("M", command | shift));

  shortcutMenu_ = new QMenu(qs(kShortcutTitle), this);
  for (int i = 1; i <= 9; ++i) {
    auto* a = shortcutMenu_->addAction(qs(kShortcutItemTitle) + QString::number(i));
    a->setData(QString::number(i));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, a] {
      changeKeyEquivalentOfKanjyoumotocyouSubMenu(a->data().toString());
      setItemCheckmarkOfkeyEquivalentMenu();
    });
  }
  shortcutMenuAction_ = shortcutMenu_->menuAction();
  setFunctionCommand(shortcutMenuAction_, F::ShortcutMenu);
  functionActions_.push_back(shortcutMenuAction_);
  functionActions_.push_back(nullptr);
  add(
      F::DuplicateRow, kDuplicateRowTitle, [this] { handleChooseDuplicateKanjyoumotocyouRow(); }, key("d", command));
  add(
      F::RemoveRow, kRemoveRowTitle, [this] { handleChooseRemoveKanjyoumotocyouRow(); }, key("r", command));
  functionActions_.push_back(nullptr);
  add(F::ShowInputShiwakeWindow, kShowInputShiwakeWindowTitle, [this] { showInputShiwakeWindow(); });
  functionActions_.push_back(nullptr);
  add(F::SaveToTextFile, kSaveToTextFileTitle, [this] { saveToTextFile(); });
  functionActions_.push_back(nullptr);
  add(
      F::ShowPrintPreview, kShowPrintPreviewTitle, [this] { showPrintPreview(); },
      key("p", command | MainMenu::kAlternateKeyMask));
  return functionActions_;
}

void KanjyoumotocyouController::fillFunctionMenu(QMenu* menu)
{
  PeriodReportWindowController::fillFunctionMenu(menu);
  setItemCheckmarkOfkeyEquivalentMenu();
}

void KanjyoumotocyouController::validateMenuItems()
{
  if (functionActions_.empty()) return;
  const bool shown = displayKamokuCode_ >= 0;
  const bool hojyoInUse =
      std::find(textFieldArray_.begin(), textFieldArray_.end(), displayingHojyoKamokuField_) != textFieldArray_.end();
  for (QAction* a : functionActions_) {
    if (!a) continue;
    switch (functionCommandOf<FunctionCommand>(a)) {
    case FunctionCommand::ShowKamoku:
      a->setEnabled(!selectDisplayingKamokuButton_ || selectDisplayingKamokuButton_->isEnabled());
      break;
    case FunctionCommand::ShowHojyoKamoku: a->setEnabled(hojyoInUse); break;
    case FunctionCommand::ClearHojyoKamoku: a->setEnabled(displayHojyoKamokuCode_ >= 0); break;
    case FunctionCommand::ShortcutMenu:
    case FunctionCommand::ShowInputShiwakeWindow:
    case FunctionCommand::ShowPrintPreview:
    case FunctionCommand::SaveToTextFile: a->setEnabled(shown); break;
    case FunctionCommand::DuplicateRow:
    case FunctionCommand::RemoveRow: a->setEnabled(shiwakeOfRow(tableView_->selectedRow()) != nullptr); break;
    default: a->setEnabled(true); break;
    }
  }
  if (shortcutMenu_)
    for (QAction* a : shortcutMenu_->actions()) a->setEnabled(shown);
}

// --- the description list

bool KanjyoumotocyouController::getSelectedRowKarikataKamokuCode(int& karikataKamokuCode,
                                                                 int& kashikataKamokuCode) const
{
  const int row = tableView_->selectedRow();
  if (displayKamokuCode_ < 0 || row < 0 || row >= numberOfRowsInTableView()) return false;
  const ShiwakePtr e = shiwakeOfRow(row);
  const auto [karikata, kashikata] =
      KanjyoumotocyouRowEdit::karikataKashikataKamokuCodeOfRow(document()->document(), e.get(), ledger());
  karikataKamokuCode = karikata;
  kashikataKamokuCode = kashikata;
  return true;
}

void KanjyoumotocyouController::writeTekiyouStringToPasteboard()
{
  // The description being typed counts as written.
  QString tekiyou;
  if (isEditingCell() && editingColumn_ == Column::Tekiyou)
    tekiyou = editor_->text();
  else if (const ShiwakePtr e = shiwakeOfRow(tableView_->selectedRow()))
    tekiyou = qs(e->tekiyou());
  if (!tekiyou.isEmpty()) QGuiApplication::clipboard()->setText(tekiyou);
}

void KanjyoumotocyouController::saveToTextFile()
{
  if (displayKamokuCode_ < 0 || !deselectEditingCell()) return;
  const QString path = ReportTextExportSheet::runSavePanel(this);
  if (path.isEmpty()) return;
  const auto kugiri = ReportTextExporter::kugiriOfCode(
      static_cast<int32_t>(UserDefaults::standardUserDefaults().integerForKey(KIVOExportTextKugiriCodeKey)));
  const KanjyoumotocyouTextWriter writer(document()->document(), kugiri);
  const std::string target = QFile::encodeName(path).toStdString();
  const std::vector<Motocyou> rows = displayMotocyouArray_;
  ReportTextExportSheet::writeWithProgress(document(), this, [&](const ReportTextExporter::ContinuePoll& poll) {
    return writer.write(rows, target, ShiftJisEncoder::encoder(), poll).reportResult();
  });
}

}  // namespace kivo

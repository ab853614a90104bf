#include "journal/gui/CyouhyouTableView.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "platform/KeyCharacter.h"
#include "platform/NotificationCenter.h"

namespace kivo {
namespace {

// Shift and the like, pressed on their way to a typed character.
bool isModifierKey(int key)
{
  switch (key) {
  case Qt::Key_Shift:
  case Qt::Key_Control:
  case Qt::Key_Meta:
  case Qt::Key_Alt:
  case Qt::Key_AltGr:
  case Qt::Key_CapsLock:
  case Qt::Key_NumLock:
  case Qt::Key_Super_L:
  case Qt::Key_Super_R:
  case Qt::Key_Hyper_L:
  case Qt::Key_Hyper_R: return true;
  default: return false;
  }
}

}  // namespace

CyouhyouTableView::CyouhyouTableView(QWidget* parent) : QTableView(parent)
{
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setAlternatingRowColors(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  verticalHeader()->hide();
  // Fixed row heights: the table never measures its rows, whatever their number.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsMovable(false);
  setShowGrid(true);
  setGridStyle(Qt::SolidLine);
}

bool CyouhyouTableView::isPostedCharacter(uint16_t c)
{
  switch (c) {
  case 3:
  case 13:
  case 9:
  case 25:
  case 127:
  case 32: return true;
  default: break;
  }
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void CyouhyouTableView::keyPressEvent(QKeyEvent* event)
{
  const uint16_t c = KeyCharacter::of(*event);
  // A key with the command key held is a menu's, never the table's command key.
  const bool commandHeld = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  if (clickEditTimer_.isActive() && !isModifierKey(event->key())) {
    // Typed right after a click that opens a cell: the text is the cell's. Any other
    // key (an arrow, Return) drops the click's edit and is the table's as usual.
    const bool typesText = !commandHeld && c >= 32 && c != 127 && !event->text().isEmpty();
    if (typesText && openClickedCell()) {
      if (QWidget* editor = QApplication::focusWidget(); editor && editor != this)
        QApplication::sendEvent(editor, event);
      noteClickEnded();
      return;
    }
    clickEditTimer_.stop();
    noteClickEnded();
  }
  if (c == 0 || commandHeld || !isPostedCharacter(c)) {
    QTableView::keyPressEvent(event);
    return;
  }
  NotificationCenter::Notification n;
  n.name = QString::fromUtf8(kKeyDownNotification);
  n.object = this;
  n.event = event;
  NotificationCenter::defaultCenter().postNotification(n);
  event->accept();
}

void CyouhyouTableView::inputMethodEvent(QInputMethodEvent* event)
{
  // Japanese typed right after the click goes into the cell too.
  if (clickEditTimer_.isActive() && (!event->commitString().isEmpty() || !event->preeditString().isEmpty()) &&
      openClickedCell()) {
    if (QWidget* editor = QApplication::focusWidget(); editor && editor != this) QApplication::sendEvent(editor, event);
    noteClickEnded();
    return;
  }
  QTableView::inputMethodEvent(event);
}

bool CyouhyouTableView::focusNextPrevChild(bool) { return false; }

void CyouhyouTableView::setModel(QAbstractItemModel* model)
{
  QTableView::setModel(model);
  if (!model) return;
  const auto rebuilt = [this] { rowsRebuiltSincePress_ = true; };
  connect(model, &QAbstractItemModel::modelReset, this, rebuilt);
  connect(model, &QAbstractItemModel::layoutChanged, this, rebuilt);
  connect(model, &QAbstractItemModel::rowsInserted, this, rebuilt);
  connect(model, &QAbstractItemModel::rowsRemoved, this, rebuilt);
}

bool CyouhyouTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
  if (releasingDoubleClick_ && trigger == SelectedClicked) return false;
  if (shouldEdit_ && trigger != AllEditTriggers && (editTriggers() & trigger) && state() != EditingState &&
      !shouldEdit_(index))
    return false;
  if (trigger == SelectedClicked && (editTriggers() & trigger) && state() != EditingState && index.isValid() &&
      (model()->flags(index) & Qt::ItemIsEditable) && selectionModel()->isSelected(index)) {
    // The table keeps the wait for a double click itself, so that typing can end it.
    clickedIndex_ = index;
    clickEditTimer_.start(QApplication::doubleClickInterval(), this);
    return true;
  }
  return QTableView::edit(index, trigger, event);
}

bool CyouhyouTableView::openClickedCell()
{
  clickEditTimer_.stop();
  const QModelIndex index = clickedIndex_;
  clickedIndex_ = QPersistentModelIndex();
  if (!index.isValid() || state() == EditingState || !selectionModel()->isSelected(index)) return false;
  if (shouldEdit_ && !shouldEdit_(index)) return false;
  setCurrentIndex(index);
  return QTableView::edit(index, AllEditTriggers, nullptr) && state() == EditingState;
}

void CyouhyouTableView::timerEvent(QTimerEvent* event)
{
  if (event->timerId() == clickEditTimer_.timerId()) {
    openClickedCell();
    noteClickEnded();
    return;
  }
  QTableView::timerEvent(event);
}

void CyouhyouTableView::mousePressEvent(QMouseEvent* event)
{
  // Another click (the second one of a double click too) is not the wait's end.
  clickEditTimer_.stop();
  rowsRebuiltSincePress_ = false;
  doubleClickTaken_ = false;
  buttonDown_ = true;
  QTableView::mousePressEvent(event);
}

void CyouhyouTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
  clickEditTimer_.stop();
  buttonDown_ = true;
  QModelIndex index = indexAt(event->position().toPoint());
  if (rowsRebuiltSincePress_ && selectedRow() >= 0) index = model()->index(selectedRow(), std::max(index.column(), 0));
  if (index.isValid() && selectionModel() && selectionModel()->isSelected(index)) {
    doubleClickTaken_ = true;
    emit doubleClicked(index);
    return;
  }
  QTableView::mouseDoubleClickEvent(event);
}

void CyouhyouTableView::mouseReleaseEvent(QMouseEvent* event)
{
  releasingDoubleClick_ = std::exchange(doubleClickTaken_, false);
  QTableView::mouseReleaseEvent(event);
  releasingDoubleClick_ = false;
  buttonDown_ = false;
  noteClickEnded();
}

void CyouhyouTableView::mouseMoveEvent(QMouseEvent* event)
{
  // No button held: the release of the last press went elsewhere.
  if (buttonDown_ && event->buttons() == Qt::NoButton) {
    buttonDown_ = false;
    noteClickEnded();
  }
  QTableView::mouseMoveEvent(event);
}

void CyouhyouTableView::noteClickEnded()
{
  if (!isClickPending()) emit clickDidEnd();
}

void CyouhyouTableView::focusOutEvent(QFocusEvent* event)
{
  // Focus going to another widget of the window ends the wait; the window merely
  // becoming inactive for a moment does not.
  if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) clickEditTimer_.stop();
  // A release that will not come here (the button is up already).
  if (QGuiApplication::mouseButtons() == Qt::NoButton) buttonDown_ = false;
  QTableView::focusOutEvent(event);
  noteClickEnded();
}

QColor CyouhyouTableView::tintColorForRow(int row)
{
  return row % 2 == 0 ? QColor(225, 231, 215) : QColor(212, 231, 197);
}

int CyouhyouTableView::selectedRow() const
{
  const QItemSelectionModel* selection = selectionModel();
  if (!selection) return -1;
  const QModelIndexList rows = selection->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void CyouhyouTableView::selectRow(int row)
{
  if (!model() || row < 0 || row >= model()->rowCount()) {
    clearSelection();
    return;
  }
  QTableView::selectRow(row);
  setCurrentIndex(model()->index(row, 0));
  scrollTo(model()->index(row, 0));
}

QColor CyouhyouTableView::backgroundColorOfRow(int row) const
{
  if (!controller_ || !model() || row < 0 || row >= model()->rowCount()) return {};
  if (!controller_->isTotalRow(row, *this)) return {};
  if (selectionModel() && selectionModel()->isRowSelected(row, QModelIndex())) return {};
  return tintColorForRow(row);
}

void CyouhyouTableView::paintEvent(QPaintEvent* event)
{
  // The tints go under the cells; the cells are then drawn over them as usual.
  if (controller_ && model() && model()->rowCount() > 0) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    int first = rowAt(area.top());
    int last = rowAt(area.bottom());
    if (first < 0) first = 0;
    if (last < 0) last = model()->rowCount() - 1;
    for (int row = first; row <= last; ++row) {
      const QColor tint = backgroundColorOfRow(row);
      if (!tint.isValid()) continue;
      painter.fillRect(QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row)), tint);
    }
  }
  QTableView::paintEvent(event);
}

}  // namespace kivo

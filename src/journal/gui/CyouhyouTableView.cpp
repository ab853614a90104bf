#include "journal/gui/CyouhyouTableView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/NotificationCenter.h"

namespace kivo {

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

uint16_t CyouhyouTableView::characterOfKeyEvent(const QKeyEvent* event)
{
  switch (event->key()) {
  case Qt::Key_Enter: return 3;
  case Qt::Key_Return: return 13;
  case Qt::Key_Backspace: return 127;
  case Qt::Key_Backtab: return 25;
  case Qt::Key_Tab: return (event->modifiers() & Qt::ShiftModifier) ? 25 : 9;
  default: break;
  }
  const QString text = event->text();
  return text.isEmpty() ? 0 : text.at(0).unicode();
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
  const uint16_t c = characterOfKeyEvent(event);
  // A key with the command key held is a menu's, never the table's command key.
  const bool commandHeld = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
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

bool CyouhyouTableView::focusNextPrevChild(bool) { return false; }

bool CyouhyouTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
  if (shouldEdit_ && trigger != AllEditTriggers && (editTriggers() & trigger) && state() != EditingState &&
      !shouldEdit_(index))
    return false;
  return QTableView::edit(index, trigger, event);
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

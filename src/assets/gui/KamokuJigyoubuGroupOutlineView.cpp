#include "assets/gui/KamokuJigyoubuGroupOutlineView.h"

#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>

namespace kivo {

KamokuJigyoubuGroupOutlineView::KamokuJigyoubuGroupOutlineView(QWidget* parent) : QTreeView(parent)
{
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformRowHeights(true);
}

QItemSelectionModel::SelectionFlags KamokuJigyoubuGroupOutlineView::selectionCommand(const QModelIndex& index,
                                                                                     const QEvent* event) const
{
  const QItemSelectionModel::SelectionFlags flags = QTreeView::selectionCommand(index, event);
  if (flags == QItemSelectionModel::NoUpdate || !guardEnabled_ || !selectionShouldChange) return flags;
  // A press on a row that is already the whole selection changes nothing.
  if (selectionModel() && selectionModel()->selectedRows().size() == 1 &&
      selectionModel()->isRowSelected(index.row(), index.parent()) &&
      !(flags & (QItemSelectionModel::Toggle | QItemSelectionModel::Deselect)))
    return flags;
  if (event && event->type() == QEvent::MouseMove) return QItemSelectionModel::NoUpdate;
  if (selectionShouldChange()) return flags;
  refused_ = true;
  return QItemSelectionModel::NoUpdate;
}

template <typename Handle>
void KamokuJigyoubuGroupOutlineView::keepingCurrentRowOnRefusal(Handle handle)
{
  const QPersistentModelIndex current = currentIndex();
  refused_ = false;
  handle();
  if (refused_ && selectionModel()) selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

void KamokuJigyoubuGroupOutlineView::mousePressEvent(QMouseEvent* event)
{
  keepingCurrentRowOnRefusal([&] { QTreeView::mousePressEvent(event); });
}

void KamokuJigyoubuGroupOutlineView::keyPressEvent(QKeyEvent* event)
{
  keepingCurrentRowOnRefusal([&] { QTreeView::keyPressEvent(event); });
}

bool KamokuJigyoubuGroupOutlineView::event(QEvent* event)
{
  // The widget takes a Tab for moving the focus before any key handler sees it.
  if (event->type() == QEvent::KeyPress && tabPressed && state() != QAbstractItemView::EditingState) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab &&
        !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
      tabPressed();
      return true;
    }
  }
  return QTreeView::event(event);
}

void KamokuJigyoubuGroupOutlineView::startDrag(Qt::DropActions)
{
  const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
  if (rows.isEmpty()) return;
  QMimeData* data = model()->mimeData(rows);
  if (!data) return;  // a group among the rows
  if (dragShouldBegin && !dragShouldBegin()) {
    delete data;
    return;
  }
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  drag->exec(Qt::MoveAction, Qt::MoveAction);
  if (dragDidEnd) dragDidEnd();
}

// --- model

QStringList GenkasyoukyakuShisanOutlineModel::mimeTypes() const
{
  return {QString::fromUtf8(KamokuJigyoubuGroupOutlineView::kPasteboardType)};
}

QMimeData* GenkasyoukyakuShisanOutlineModel::mimeData(const QModelIndexList& indexes) const
{
  for (const QModelIndex& i : indexes)
    if (!(flags(i) & Qt::ItemIsDragEnabled)) return nullptr;
  auto* data = new QMimeData;
  // The assets themselves travel through the register; the data only marks the drag.
  data->setData(QString::fromUtf8(KamokuJigyoubuGroupOutlineView::kPasteboardType), QByteArray("1"));
  return data;
}

bool GenkasyoukyakuShisanOutlineModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                                       const QModelIndex& parent) const
{
  return data && data->hasFormat(QString::fromUtf8(KamokuJigyoubuGroupOutlineView::kPasteboardType)) &&
         parent.isValid() && (flags(parent) & Qt::ItemIsDropEnabled);
}

bool GenkasyoukyakuShisanOutlineModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                                    const QModelIndex& parent)
{
  if (!canDropMimeData(data, action, row, column, parent) || !dropHandler) return false;
  return dropHandler(parent, row);
}

}  // namespace kivo

#include "statements/gui/RiekiSyobunanTableView.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QMimeData>

namespace kivo {

RiekiSyobunanTableView::RiekiSyobunanTableView(int rows, int columns, QWidget* parent)
    : QTableWidget(rows, columns, parent)
{
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDragDropOverwriteMode(false);
  setDefaultDropAction(Qt::CopyAction);
}

QMimeData* RiekiSyobunanTableView::mimeDataOfRow(int row) const
{
  if (row < 0 || row >= rowCount()) return nullptr;
  auto* data = new QMimeData();
  data->setData(QString::fromUtf8(kMimeType), QByteArray::number(row));
  return data;
}

QMimeData* RiekiSyobunanTableView::mimeData(const QList<QTableWidgetItem*>& items) const
{
  return items.isEmpty() ? nullptr : mimeDataOfRow(items.front()->row());
}

bool RiekiSyobunanTableView::dropMimeData(int row, int /*column*/, const QMimeData* data, Qt::DropAction /*action*/)
{
  if (!data || !data->hasFormat(QString::fromUtf8(kMimeType)) || !mover_ || rowCount() == 0) return false;
  bool ok = false;
  const int from = data->data(QString::fromUtf8(kMimeType)).toInt(&ok);
  if (!ok || from < 0 || from >= rowCount()) return false;
  return mover_(from, row < 0 || row > rowCount() ? rowCount() : row);
}

void RiekiSyobunanTableView::dragEnterEvent(QDragEnterEvent* event)
{
  if (event->source() != this) {
    event->ignore();
    return;
  }
  QTableWidget::dragEnterEvent(event);
}

void RiekiSyobunanTableView::dragMoveEvent(QDragMoveEvent* event)
{
  if (event->source() != this) {
    event->ignore();
    return;
  }
  QTableWidget::dragMoveEvent(event);
}

}  // namespace kivo

#include "statements/gui/HendouReasonOutline.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QMimeData>

namespace kivo {

HendouReasonOutline::HendouReasonOutline(QWidget* parent) : QTreeWidget(parent)
{
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
}

void HendouReasonOutline::setHandlers(Writer writer, Dropper dropper)
{
  writer_ = std::move(writer);
  dropper_ = std::move(dropper);
}

void HendouReasonOutline::dragEnterEvent(QDragEnterEvent* event)
{
  if (event->source() != this) {
    event->ignore();
    return;
  }
  QTreeWidget::dragEnterEvent(event);
}

void HendouReasonOutline::dragMoveEvent(QDragMoveEvent* event)
{
  if (event->source() != this) {
    event->ignore();
    return;
  }
  QTreeWidget::dragMoveEvent(event);
}

QMimeData* HendouReasonOutline::mimeData(const QList<QTreeWidgetItem*>& items) const
{
  return writer_ ? writer_(items) : nullptr;
}

bool HendouReasonOutline::dropMimeData(QTreeWidgetItem* parent, int index, const QMimeData* data,
                                       Qt::DropAction /*action*/)
{
  if (!data || !data->hasFormat(QString::fromUtf8(kMimeType)) || !dropper_) return false;
  return dropper_(parent, index, data);
}

}  // namespace kivo

// The table of the appropriation items (利益処分案): an item is dragged to another
// place in the list. The drag carries the dragged row; the drop is handed to the
// sheet, which moves the item and reloads the table. Drags are copies to Qt, so the
// table never removes rows itself, and drops come from this table only.
#pragma once

#include <QTableWidget>
#include <functional>

namespace kivo {

class RiekiSyobunanTableView : public QTableWidget {
  Q_OBJECT
public:
  static constexpr const char* kMimeType = "application/x-kivo-rieki-syobunan-item";
  // Moves the item of the row before the row given (the row count: to the end).
  using Mover = std::function<bool(int fromRow, int toRow)>;

  RiekiSyobunanTableView(int rows, int columns, QWidget* parent = nullptr);
  void setMover(Mover mover) { mover_ = std::move(mover); }

  // What a drag of the row writes, and a drop of the data before a row: as the mouse
  // does.
  QMimeData* mimeDataOfRow(int row) const;
  bool dropData(int row, const QMimeData* data) { return dropMimeData(row, 0, data, Qt::CopyAction); }
  QStringList mimeTypes() const override { return {QString::fromUtf8(kMimeType)}; }

protected:
  QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
  bool dropMimeData(int row, int column, const QMimeData* data, Qt::DropAction action) override;
  Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;

private:
  Mover mover_;
};

}  // namespace kivo

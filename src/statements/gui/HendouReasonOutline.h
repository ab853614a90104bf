// The outline of the change-reason editor: the document's reasons with their entries
// below them. A reason or an entry is dragged within the outline: a reason to another
// place among the reasons (never above the first), an entry onto another reason. The
// drag carries the first dragged row as the reason's name or the entry's place in the
// sorted journal; the drop is handed to the sheet, which changes the reasons and
// reloads the outline. Drags are copies to Qt, so it never removes rows itself.
#pragma once

#include <QTreeWidget>
#include <functional>

namespace kivo {

class HendouReasonOutline : public QTreeWidget {
  Q_OBJECT
public:
  static constexpr const char* kMimeType = "application/x-kivo-hendou-reason-array";
  // Item data of column 0: the row's kind, and the reason's index or the entry.
  static constexpr int kKindRole = Qt::UserRole;
  static constexpr int kValueRole = Qt::UserRole + 1;
  enum Kind { ReasonRow = 0, ShiwakeRow = 1 };

  // Builds the drag data of the items (empty data when the drag is refused).
  using Writer = std::function<QMimeData*(const QList<QTreeWidgetItem*>& items)>;
  // Takes a drop under the parent (nullptr: the top level) at the child index.
  using Dropper = std::function<bool(QTreeWidgetItem* parent, int index, const QMimeData* data)>;

  explicit HendouReasonOutline(QWidget* parent = nullptr);
  void setHandlers(Writer writer, Dropper dropper);

  // What a drag of the items writes, and a drop of the data: as the mouse does.
  QMimeData* mimeDataOfItems(const QList<QTreeWidgetItem*>& items) const { return mimeData(items); }
  bool dropData(QTreeWidgetItem* parent, int index, const QMimeData* data)
  {
    return dropMimeData(parent, index, data, Qt::CopyAction);
  }
  QStringList mimeTypes() const override { return {QString::fromUtf8(kMimeType)}; }

protected:
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
  bool dropMimeData(QTreeWidgetItem* parent, int index, const QMimeData* data, Qt::DropAction action) override;
  Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
  // Drops come from this outline only.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;

private:
  Writer writer_;
  Dropper dropper_;
};

}  // namespace kivo

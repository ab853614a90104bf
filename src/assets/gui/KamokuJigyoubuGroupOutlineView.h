// The outline of the asset register: groups and assets over a GenkasyoukyakuShisan
// outline model. It asks the register before the selection moves (an asset being
// edited must be complete to let go), starts drags of assets only (after the register
// has committed and cleared its detail), and hands a Tab to the detail.
#pragma once

#include <QStandardItemModel>
#include <QTreeView>
#include <functional>

namespace kivo {

class KamokuJigyoubuGroupOutlineView : public QTreeView {
  Q_OBJECT
public:
  explicit KamokuJigyoubuGroupOutlineView(QWidget* parent = nullptr);

  // Answers whether the selection may change (false keeps it).
  std::function<bool()> selectionShouldChange;
  // Called before a drag starts; false refuses the drag.
  std::function<bool()> dragShouldBegin;
  // Called once a drag has ended, dropped or not.
  std::function<void()> dragDidEnd;
  // A Tab typed in the outline.
  std::function<void()> tabPressed;

  // The selection changes the program makes itself pass without asking.
  void setSelectionGuardEnabled(bool v) { guardEnabled_ = v; }

  static constexpr const char* kPasteboardType = "application/x-kivo-genkasyoukyakushisan-array";

protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event = nullptr) const override;
  // A Tab goes to the detail rather than to the next widget.
  bool event(QEvent* event) override;
  // A press or a key whose selection change is refused leaves the current row (where
  // the arrow keys start) on the row still selected.
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;

private:
  // Runs the view's handling of an event, and puts the current row back when the
  // selection change it asked for was refused.
  template <typename Handle>
  void keepingCurrentRowOnRefusal(Handle handle);

  bool guardEnabled_ = true;
  // Set when selectionShouldChange refuses a change.
  mutable bool refused_ = false;
};

// The model behind the outline: items carry the group codes or the asset they stand
// for; a drop is handed to the register, which rebuilds the model afterwards.
class GenkasyoukyakuShisanOutlineModel : public QStandardItemModel {
  Q_OBJECT
public:
  using QStandardItemModel::QStandardItemModel;

  // Accepts a drop of the dragged assets into the group item (parent) before its
  // child row (-1: onto the group); false refuses it.
  std::function<bool(const QModelIndex& parent, int row)> dropHandler;

  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
  bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                       const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;
};

}  // namespace kivo

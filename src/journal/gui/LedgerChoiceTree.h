// One of the two outlines of a sheet that chooses ledgers for printing: the ledgers
// not chosen, or the chosen ones. Items are dragged from one outline of the sheet to
// the other (never within one, never from elsewhere); the drag carries the ledgers
// under the dragged items as (account, sub-account) codes in the sheet's private
// format, and the sheet moves them.
#pragma once

#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace kivo {

class LedgerChoiceTree : public QTreeWidget {
  Q_OBJECT
public:
  using Ledger = std::pair<int32_t, int32_t>;  // account, sub-account (-1: none)
  // The data roles of an item: its ledger, or none (-2 as account) for an item that
  // only groups others.
  static constexpr int kKamokuCodeRole = Qt::UserRole;
  static constexpr int kHojyoKamokuCodeRole = Qt::UserRole + 1;

  LedgerChoiceTree(const QString& mimeType, QWidget* parent = nullptr);

  // The outline the drags come from; drops from it run onDrop with the ledgers.
  void setPartner(LedgerChoiceTree* partner) { partner_ = partner; }
  void setDropHandler(std::function<void(const std::vector<Ledger>&)> onDrop) { onDrop_ = std::move(onDrop); }

  // The ledgers under the items (an item's own, or its descendants').
  static std::vector<Ledger> ledgersOfItems(const QList<QTreeWidgetItem*>& items);
  QMimeData* mimeDataOfItems(const QList<QTreeWidgetItem*>& items) const { return mimeData(items); }
  // Whether a drop of the data from the source would be taken; takes it when doDrop.
  bool acceptDrop(const QMimeData* data, const QObject* source, bool doDrop);

  QStringList mimeTypes() const override { return {mimeType_}; }

protected:
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
  Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  QString mimeType_;
  LedgerChoiceTree* partner_ = nullptr;
  std::function<void(const std::vector<Ledger>&)> onDrop_;
};

}  // namespace kivo

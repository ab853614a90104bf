#include "journal/gui/LedgerChoiceTree.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <algorithm>

namespace kivo {
namespace {

void collect(const QTreeWidgetItem* item, std::vector<LedgerChoiceTree::Ledger>& out)
{
  const int32_t kamoku = item->data(0, LedgerChoiceTree::kKamokuCodeRole).toInt();
  if (kamoku >= 0) {
    const LedgerChoiceTree::Ledger ledger{kamoku, item->data(0, LedgerChoiceTree::kHojyoKamokuCodeRole).toInt()};
    if (std::find(out.begin(), out.end(), ledger) == out.end()) out.push_back(ledger);
    return;
  }
  for (int i = 0; i < item->childCount(); ++i) collect(item->child(i), out);
}

}  // namespace

LedgerChoiceTree::LedgerChoiceTree(const QString& mimeType, QWidget* parent) : QTreeWidget(parent), mimeType_(mimeType)
{
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
}

std::vector<LedgerChoiceTree::Ledger> LedgerChoiceTree::ledgersOfItems(const QList<QTreeWidgetItem*>& items)
{
  std::vector<Ledger> out;
  for (const QTreeWidgetItem* item : items) collect(item, out);
  return out;
}

QMimeData* LedgerChoiceTree::mimeData(const QList<QTreeWidgetItem*>& items) const
{
  const std::vector<Ledger> ledgers = ledgersOfItems(items);
  if (ledgers.empty()) return nullptr;
  QByteArray bytes;
  for (const auto& [kamoku, hojyo] : ledgers)
    bytes += QByteArray::number(kamoku) + ',' + QByteArray::number(hojyo) + ';';
  auto* data = new QMimeData();
  data->setData(mimeType_, bytes);
  return data;
}

bool LedgerChoiceTree::acceptDrop(const QMimeData* data, const QObject* source, bool doDrop)
{
  if (!data || !partner_ || source != partner_ || !data->hasFormat(mimeType_)) return false;
  if (!doDrop) return true;
  std::vector<Ledger> ledgers;
  for (const QByteArray& pair : data->data(mimeType_).split(';')) {
    const QList<QByteArray> codes = pair.split(',');
    if (codes.size() != 2) continue;
    bool okKamoku = false;
    bool okHojyo = false;
    const int kamoku = codes[0].toInt(&okKamoku);
    const int hojyo = codes[1].toInt(&okHojyo);
    if (okKamoku && okHojyo) ledgers.emplace_back(kamoku, hojyo);
  }
  if (onDrop_) onDrop_(ledgers);
  return true;
}

void LedgerChoiceTree::dragEnterEvent(QDragEnterEvent* event)
{
  if (acceptDrop(event->mimeData(), event->source(), false)) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void LedgerChoiceTree::dragMoveEvent(QDragMoveEvent* event)
{
  if (acceptDrop(event->mimeData(), event->source(), false)) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void LedgerChoiceTree::dropEvent(QDropEvent* event)
{
  if (!acceptDrop(event->mimeData(), event->source(), true)) {
    event->ignore();
    return;
  }
  // The sheet rebuilds both outlines; the view must not remove the dragged items again.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

}  // namespace kivo

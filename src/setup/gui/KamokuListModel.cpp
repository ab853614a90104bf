#include "setup/gui/KamokuListModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include "fields/AmountFormatter.h"
#include "model/KamokuKubun.h"
#include "platform/QtStrings.h"
#include "setup/KamokuListEditor.h"

namespace kivo {

KamokuListModel::KamokuListModel(KamokuListEditor& editor, const Kaisya& kaisya, QObject* parent)
    : QAbstractItemModel(parent),
      editor_(&editor),
      kaisya_(&kaisya),
      amountFormatter_(std::make_unique<AmountFormatter>(kaisya.decimalPrecision(), AmountFormatter::Range::Input))
{
  nodeOfKamoku_.assign(editor.kamokuCount(), -1);
  addKubun(editor.root(), -1);
}

KamokuListModel::~KamokuListModel() = default;

void KamokuListModel::addKubun(const KamokuKubun& kubun, int parent)
{
  // The tree's order: sub-categories, then the category's own accounts.
  // nodes_ grows as nodes are added: a parent's child list is looked up afresh each
  // time, never held across a push_back.
  const auto siblingCount = [&] {
    return static_cast<int>((parent < 0 ? rootChildren_ : nodes_[parent].children).size());
  };
  for (const KamokuKubunPtr& child : kubun.children()) {
    Node n;
    n.kubun = child.get();
    n.parent = parent;
    n.row = siblingCount();
    nodes_.push_back(n);
    const int id = static_cast<int>(nodes_.size()) - 1;
    (parent < 0 ? rootChildren_ : nodes_[parent].children).push_back(id);
    addKubun(*child, id);
  }
  for (const KamokuPtr& k : kubun.childrenKamoku()) {
    Node n;
    n.kamokuIndex = editor_->indexOfKamoku(k.get());
    n.parent = parent;
    n.row = siblingCount();
    nodes_.push_back(n);
    const int id = static_cast<int>(nodes_.size()) - 1;
    (parent < 0 ? rootChildren_ : nodes_[parent].children).push_back(id);
    if (n.kamokuIndex >= 0) nodeOfKamoku_[n.kamokuIndex] = id;
  }
}

void KamokuListModel::setJigyoubuCode(int32_t code)
{
  if (code == jigyoubuCode_) return;
  jigyoubuCode_ = code;
  // Every account row's balance column.
  for (size_t i = 0; i < nodes_.size(); ++i) {
    if (nodes_[i].kamokuIndex < 0) continue;
    const QModelIndex idx = createIndex(nodes_[i].row, BalanceColumn, static_cast<quintptr>(i));
    emit dataChanged(idx, idx);
  }
}

const KamokuListModel::Node* KamokuListModel::nodeOf(const QModelIndex& index) const
{
  if (!index.isValid() || index.internalId() >= nodes_.size()) return nullptr;
  return &nodes_[index.internalId()];
}

int KamokuListModel::kamokuIndexOf(const QModelIndex& index) const
{
  const Node* n = nodeOf(index);
  return n ? n->kamokuIndex : -1;
}

QModelIndex KamokuListModel::indexOfKamoku(int kamokuIndex, int column) const
{
  if (kamokuIndex < 0 || kamokuIndex >= static_cast<int>(nodeOfKamoku_.size())) return {};
  const int id = nodeOfKamoku_[kamokuIndex];
  if (id < 0) return {};
  return createIndex(nodes_[id].row, column, static_cast<quintptr>(id));
}

QModelIndex KamokuListModel::index(int row, int column, const QModelIndex& parent) const
{
  if (column < 0 || column >= ColumnCount || row < 0) return {};
  if (parent.isValid() && parent.column() != 0) return {};
  const std::vector<int>& list = parent.isValid() ? nodes_[parent.internalId()].children : rootChildren_;
  if (row >= static_cast<int>(list.size())) return {};
  return createIndex(row, column, static_cast<quintptr>(list[row]));
}

QModelIndex KamokuListModel::parent(const QModelIndex& child) const
{
  const Node* n = nodeOf(child);
  if (!n || n->parent < 0) return {};
  return createIndex(nodes_[n->parent].row, 0, static_cast<quintptr>(n->parent));
}

int KamokuListModel::rowCount(const QModelIndex& parent) const
{
  if (!parent.isValid()) return static_cast<int>(rootChildren_.size());
  if (parent.column() != 0) return 0;
  const Node* n = nodeOf(parent);
  return n ? static_cast<int>(n->children.size()) : 0;
}

int KamokuListModel::columnCount(const QModelIndex&) const { return ColumnCount; }

QVariant KamokuListModel::data(const QModelIndex& index, int role) const
{
  const Node* n = nodeOf(index);
  if (!n) return {};
  if (n->kamokuIndex < 0) {
    if (index.column() != NameColumn) return {};
    if (role == Qt::DisplayRole) return qs(n->kubun->kubunName());
    if (role == Qt::FontRole) {
      QFont f;
      f.setBold(true);
      return f;
    }
    return {};
  }
  const KamokuListEditor::KamokuRow& r = editor_->row(n->kamokuIndex);
  const Kamoku& k = *r.original;
  if (role == Qt::ForegroundRole && !r.isActive) return QBrush(QColor(150, 150, 150));
  if (role == Qt::TextAlignmentRole) {
    if (index.column() == BalanceColumn) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (index.column() == CodeColumn || index.column() == KeyColumn) return int(Qt::AlignCenter);
    return {};
  }
  if (role == Qt::CheckStateRole) {
    if (index.column() == ActiveColumn) return r.isActive ? Qt::Checked : Qt::Unchecked;
    if (index.column() == SuitouColumn) return r.isSuitouKamoku ? Qt::Checked : Qt::Unchecked;
    return {};
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  switch (index.column()) {
  case NameColumn: return qs(r.name);
  case CodeColumn: return k.code();
  case KanaColumn: return qs(r.kana);
  case KeyColumn: return r.isSuitouKamoku && r.keyEquivalent > 0 ? QString::number(r.keyEquivalent) : QString();
  case BalanceColumn: {
    const int64_t b = r.startBalance.balanceOfJigyoubuCode(jigyoubuCode_);
    if (b == 0 && !editor_->canEditStartBalance(n->kamokuIndex, jigyoubuCode_)) return QString();
    return qs(kaisya_->displayStringOfMemoryKingaku(b));
  }
  default: return {};
  }
}

Qt::ItemFlags KamokuListModel::flags(const QModelIndex& index) const
{
  const Node* n = nodeOf(index);
  if (!n) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (n->kamokuIndex < 0) return f;
  const KamokuListEditor::KamokuRow& r = editor_->row(n->kamokuIndex);
  switch (index.column()) {
  case NameColumn:
  case KanaColumn: f |= Qt::ItemIsEditable; break;
  case ActiveColumn:
  case SuitouColumn: f |= Qt::ItemIsUserCheckable; break;
  case KeyColumn:
    if (r.isSuitouKamoku) f |= Qt::ItemIsEditable;
    break;
  case BalanceColumn:
    if (editor_->canEditStartBalance(n->kamokuIndex, jigyoubuCode_)) f |= Qt::ItemIsEditable;
    break;
  default: break;
  }
  return f;
}

bool KamokuListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  const Node* n = nodeOf(index);
  if (!n || n->kamokuIndex < 0) return false;
  const int k = n->kamokuIndex;
  std::string refusal;
  bool isCommandRefusal = false;
  if (role == Qt::CheckStateRole) {
    const bool on = value.toInt() == Qt::Checked;
    if (index.column() == ActiveColumn) {
      refusal = editor_->setIsActive(k, on);
      isCommandRefusal = true;
    } else if (index.column() == SuitouColumn) {
      refusal = editor_->setIsSuitouKamoku(k, on);
    } else {
      return false;
    }
  } else if (role == Qt::EditRole) {
    const std::string text = value.toString().toStdString();
    switch (index.column()) {
    case NameColumn: refusal = editor_->setName(k, text); break;
    case KanaColumn: refusal = editor_->setKana(k, text); break;
    case KeyColumn: refusal = editor_->setKeyEquivalent(k, text); break;
    case BalanceColumn: {
      FieldValue v;
      std::string error;
      if (!amountFormatter_->getObjectValue(v, text, &error)) {
        refusal = error;
        break;
      }
      refusal = editor_->setStartBalance(k, jigyoubuCode_, v.amountValue());
      break;
    }
    default: return false;
    }
  } else {
    return false;
  }
  if (!refusal.empty()) {
    emit refused(QString::fromUtf8(isCommandRefusal ? "実行できません" : KamokuListEditor::kInvalidTitle), qs(refusal));
    return false;
  }
  emit dataChanged(this->index(index.row(), 0, index.parent()),
                   this->index(index.row(), ColumnCount - 1, index.parent()));
  emit edited();
  return true;
}

QVariant KamokuListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const titles[] = {"勘定科目", "コード", "カナ", "有効", "出納帳", "キー", "開始残高"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

}  // namespace kivo

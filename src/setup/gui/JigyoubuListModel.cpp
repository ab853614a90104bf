#include "setup/gui/JigyoubuListModel.h"

#include <QBrush>
#include <QColor>

#include "setup/JigyoubuListEditor.h"

namespace kivo {

JigyoubuListModel::JigyoubuListModel(JigyoubuListEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), editor_(&editor)
{
}

int JigyoubuListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : editor_->slotCount(); }

int JigyoubuListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant JigyoubuListModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.row() >= editor_->slotCount()) return {};
  const JigyoubuListEditor::Slot& s = editor_->slot(index.row());
  if (role == Qt::ForegroundRole && !s.isActive) return QBrush(QColor(150, 150, 150));
  if (role == Qt::TextAlignmentRole && index.column() == CodeColumn) return int(Qt::AlignCenter);
  if (role == Qt::CheckStateRole)
    return index.column() == ActiveColumn ? QVariant(s.isActive ? Qt::Checked : Qt::Unchecked) : QVariant();
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  switch (index.column()) {
  case CodeColumn: return QString::asprintf("%02d", s.code);
  case NameColumn: return QString::fromStdString(s.name);
  case KanaColumn: return QString::fromStdString(s.kana);
  default: return {};
  }
}

Qt::ItemFlags JigyoubuListModel::flags(const QModelIndex& index) const
{
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == ActiveColumn) f |= Qt::ItemIsUserCheckable;
  if (index.column() == NameColumn || index.column() == KanaColumn) f |= Qt::ItemIsEditable;
  return f;
}

bool JigyoubuListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  if (!index.isValid() || index.row() >= editor_->slotCount()) return false;
  const int i = index.row();
  std::string refusal;
  bool isCommandRefusal = false;
  if (role == Qt::CheckStateRole && index.column() == ActiveColumn) {
    refusal = editor_->setIsActive(i, value.toInt() == Qt::Checked);
    isCommandRefusal = true;
  } else if (role == Qt::EditRole && index.column() == NameColumn) {
    refusal = editor_->setName(i, value.toString().toStdString());
  } else if (role == Qt::EditRole && index.column() == KanaColumn) {
    refusal = editor_->setKana(i, value.toString().toStdString());
  } else {
    return false;
  }
  if (!refusal.empty()) {
    emit refused(QString::fromUtf8(isCommandRefusal ? "実行できません" : JigyoubuListEditor::kInvalidTitle),
                 QString::fromStdString(refusal));
    return false;
  }
  emit dataChanged(this->index(i, 0), this->index(i, ColumnCount - 1));
  return true;
}

QVariant JigyoubuListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  static const char* const titles[] = {"コード", "有効", "事業部名", "カナ"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

}  // namespace kivo

#include "setup/gui/TekiyouListModel.h"

#include "setup/TekiyouListEditor.h"

namespace kivo {

TekiyouListModel::TekiyouListModel(TekiyouListEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), editor_(&editor)
{
}

void TekiyouListModel::setGroup(int group)
{
  beginResetModel();
  group_ = group;
  endResetModel();
}

void TekiyouListModel::reload()
{
  beginResetModel();
  endResetModel();
}

int TekiyouListModel::rowCount(const QModelIndex& parent) const
{
  if (parent.isValid() || group_ < 0 || group_ >= editor_->groupCount()) return 0;
  return static_cast<int>(editor_->group(group_).items.size());
}

int TekiyouListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TekiyouListModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const TekiyouListEditor::Item& item = editor_->group(group_).items[index.row()];
  return QString::fromStdString(index.column() == TekiyouColumn ? item.tekiyou : item.kana);
}

bool TekiyouListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  if (!index.isValid() || role != Qt::EditRole || index.row() >= rowCount()) return false;
  const std::string text = value.toString().toStdString();
  const std::string refusal = index.column() == TekiyouColumn ? editor_->setTekiyou(group_, index.row(), text)
                                                              : editor_->setKana(group_, index.row(), text);
  if (!refusal.empty()) {
    emit refused(QString::fromUtf8(TekiyouListEditor::kInvalidTitle), QString::fromStdString(refusal));
    return false;
  }
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags TekiyouListModel::flags(const QModelIndex& index) const
{
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TekiyouListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return section == TekiyouColumn ? QString::fromUtf8("摘要") : QString::fromUtf8("カナ");
}

}  // namespace kivo

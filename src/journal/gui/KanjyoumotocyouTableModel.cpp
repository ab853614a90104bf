#include "journal/gui/KanjyoumotocyouTableModel.h"

#include <algorithm>

namespace kivo {

KanjyoumotocyouTableModel::KanjyoumotocyouTableModel(const DataSource* dataSource, QObject* parent)
    : QAbstractTableModel(parent), dataSource_(dataSource)
{
}

QString KanjyoumotocyouTableModel::headingOfColumn(Column column)
{
  switch (column) {
  case Column::Date: return QStringLiteral("日付");
  case Column::CreatedType: return QStringLiteral("作成");
  case Column::AiteKamoku: return QStringLiteral("相手勘定科目");
  case Column::AiteHojyoKamoku: return QStringLiteral("相手補助科目");
  case Column::AiteJigyoubu: return QStringLiteral("相手事業部");
  case Column::Tekiyou: return QStringLiteral("摘要");
  case Column::HojyoKamoku: return QStringLiteral("補助科目");
  case Column::Jigyoubu: return QStringLiteral("事業部");
  case Column::KarikataKingaku: return QStringLiteral("借方金額");
  case Column::KashikataKingaku: return QStringLiteral("貸方金額");
  case Column::Zandaka: return QStringLiteral("残高");
  }
  return {};
}

Qt::Alignment KanjyoumotocyouTableModel::alignmentOfColumn(Column column)
{
  switch (column) {
  case Column::Date:
  case Column::CreatedType: return Qt::AlignHCenter | Qt::AlignVCenter;
  case Column::KarikataKingaku:
  case Column::KashikataKingaku:
  case Column::Zandaka: return Qt::AlignRight | Qt::AlignVCenter;
  default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

int KanjyoumotocyouTableModel::widthCharactersOfColumn(Column column)
{
  switch (column) {
  case Column::Date: return 8;
  case Column::CreatedType: return 6;
  case Column::AiteKamoku: return 18;
  case Column::AiteHojyoKamoku: return 16;
  case Column::AiteJigyoubu: return 12;
  case Column::Tekiyou: return 34;
  case Column::HojyoKamoku: return 16;
  case Column::Jigyoubu: return 12;
  case Column::KarikataKingaku:
  case Column::KashikataKingaku: return 16;
  case Column::Zandaka: return 17;
  }
  return 10;
}

int KanjyoumotocyouTableModel::maxWidthCharactersOfColumn(Column column)
{
  switch (column) {
  case Column::Date: return 10;
  case Column::CreatedType: return 7;
  case Column::Tekiyou: return 60;
  case Column::KarikataKingaku:
  case Column::KashikataKingaku:
  case Column::Zandaka: return 22;
  default: return widthCharactersOfColumn(column) + 10;
  }
}

void KanjyoumotocyouTableModel::setColumns(std::vector<Column> columns)
{
  beginResetModel();
  columns_ = std::move(columns);
  endResetModel();
}

int KanjyoumotocyouTableModel::indexOfColumn(Column column) const
{
  const auto it = std::find(columns_.begin(), columns_.end(), column);
  return it == columns_.end() ? -1 : static_cast<int>(it - columns_.begin());
}

void KanjyoumotocyouTableModel::reloadData()
{
  beginResetModel();
  endResetModel();
}

void KanjyoumotocyouTableModel::reloadRow(int row)
{
  if (row < 0 || row >= rowCount() || columns_.empty()) return;
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

Qt::ItemFlags KanjyoumotocyouTableModel::flags(const QModelIndex& index) const
{
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() < static_cast<int>(columns_.size()) && dataSource_ &&
      dataSource_->isEditableCell(index.row(), columns_[index.column()]))
    f |= Qt::ItemIsEditable;
  return f;
}

int KanjyoumotocyouTableModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() || !dataSource_ ? 0 : dataSource_->numberOfRowsInTableView();
}

int KanjyoumotocyouTableModel::columnCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant KanjyoumotocyouTableModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.column() >= static_cast<int>(columns_.size()) || !dataSource_) return {};
  const Column column = columns_[index.column()];
  switch (role) {
  case Qt::DisplayRole:
  case Qt::EditRole: return dataSource_->stringValue(index.row(), column);
  case Qt::TextAlignmentRole: return QVariant::fromValue(alignmentOfColumn(column));
  default: return {};
  }
}

QVariant KanjyoumotocyouTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size())) return {};
  if (role == Qt::DisplayRole) return headingOfColumn(columns_[section]);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  return {};
}

}  // namespace kivo

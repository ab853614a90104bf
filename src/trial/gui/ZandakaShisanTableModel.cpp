#include "trial/gui/ZandakaShisanTableModel.h"

#include "model/Kaisya.h"
#include "trial/Shisan.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {

const QStringList& ZandakaShisanTableModel::columnIdentifiers()
{
  static const QStringList ids{QStringLiteral("title"),           QStringLiteral("kaishiZandaka"),
                               QStringLiteral("karikataGoukei"),  QStringLiteral("kashikataGoukei"),
                               QStringLiteral("syuuryouZandaka"), QStringLiteral("percent")};
  return ids;
}

QString ZandakaShisanTableModel::headingOfColumn(const QString& identifier)
{
  if (identifier == QLatin1String("title")) return QStringLiteral("勘定科目");
  if (identifier == QLatin1String("kaishiZandaka")) return QStringLiteral("開始残高");
  if (identifier == QLatin1String("karikataGoukei")) return QStringLiteral("借方合計");
  if (identifier == QLatin1String("kashikataGoukei")) return QStringLiteral("貸方合計");
  if (identifier == QLatin1String("syuuryouZandaka")) return QStringLiteral("終了残高");
  if (identifier == QLatin1String("percent")) return QStringLiteral("構成比");
  return {};
}

ZandakaShisanTableModel::ZandakaShisanTableModel(const Kaisya& kaisya, const std::vector<Shisan>& rows, QObject* parent)
    : QAbstractTableModel(parent), kaisya_(kaisya), rows_(&rows)
{
}

void ZandakaShisanTableModel::reloadData()
{
  beginResetModel();
  endResetModel();
}

int ZandakaShisanTableModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(rows_->size());
}

int ZandakaShisanTableModel::columnCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(columnIdentifiers().size());
}

QVariant ZandakaShisanTableModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const QString& id = columnIdentifiers()[index.column()];
  switch (role) {
  case Qt::DisplayRole:
    return QString::fromStdString(
        ZandakaShisanAssembly::cellText(kaisya_, (*rows_)[static_cast<size_t>(index.row())], id.toStdString()));
  case Qt::TextAlignmentRole:
    return QVariant::fromValue(index.column() == 0 ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)
                                                   : Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  default: return {};
  }
}

QVariant ZandakaShisanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) return headingOfColumn(columnIdentifiers()[section]);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  return {};
}

}  // namespace kivo

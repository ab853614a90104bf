#include "trial/gui/SuiiShisanTableModel.h"

#include "model/Kaisya.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "trial/Shisan.h"
#include "trial/SuiiShisan.h"

namespace kivo {

QStringList SuiiShisanTableModel::columnIdentifiersOfSection(int numberOfMonth, bool isTaisyakuTaisyou)
{
  QStringList ids{QStringLiteral("title")};
  if (isTaisyakuTaisyou) ids << QStringLiteral("kaishiZandaka");
  for (int i = 0; i < numberOfMonth; ++i) ids << QStringLiteral("month%1").arg(i);
  ids << QStringLiteral("kessanSeiriduki");
  if (!isTaisyakuTaisyou) ids << QStringLiteral("goukei");
  return ids;
}

SuiiShisanTableModel::SuiiShisanTableModel(const Kaisya& kaisya, const std::vector<Shisan>& rows,
                                           bool isTaisyakuTaisyou, QObject* parent)
    : QAbstractTableModel(parent), kaisya_(kaisya), rows_(&rows), isTaisyakuTaisyou_(isTaisyakuTaisyou)
{
  reloadData();
}

void SuiiShisanTableModel::reloadData()
{
  beginResetModel();
  identifiers_ = columnIdentifiersOfSection(static_cast<int>(kaisya_.monthArray().size()), isTaisyakuTaisyou_);
  titleColor_ = UserDefaults::standardUserDefaults().colorForKey(QString::fromUtf8(KIVOSuiiShisanTitleTextColorKey));
  endResetModel();
}

int SuiiShisanTableModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(rows_->size());
}

int SuiiShisanTableModel::columnCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(identifiers_.size());
}

QVariant SuiiShisanTableModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const QString& id = identifiers_[index.column()];
  const bool title = index.column() == 0;
  switch (role) {
  case Qt::DisplayRole:
    return QString::fromStdString(SuiiShisan::cellText(kaisya_, (*rows_)[static_cast<size_t>(index.row())],
                                                       id.toStdString(), isTaisyakuTaisyou_));
  case Qt::ForegroundRole:
    if (title && titleColor_.isValid()) return titleColor_;
    return {};
  case Qt::TextAlignmentRole:
    return QVariant::fromValue(title ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)
                                     : Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  default: return {};
  }
}

QVariant SuiiShisanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  if (role != Qt::DisplayRole) return {};
  if (section == 0) return QStringLiteral("勘定科目");
  // The amount columns in the order of the rows' amounts.
  return QString::fromStdString(SuiiShisan::columnTitle(kaisya_, section - 1, isTaisyakuTaisyou_));
}

}  // namespace kivo

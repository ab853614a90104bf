// One section of the trial-balance window (balance sheet, income statement or
// manufacturing cost) as a table model over the rows its computation holds: the
// caption, the opening balance, the debit and credit totals of the period, the
// closing balance and the percent of the section's base row.
//
// The cell text is the report's own (ZandakaShisanAssembly::cellText): a heading row
// shows its caption alone, an amount beyond the output limit "#Precision!", an
// invalid percent "--". Amounts and percents are right-aligned.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <vector>

namespace kivo {

class Kaisya;
class Shisan;

class ZandakaShisanTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  // The column identifiers, in the order the table shows them.
  static const QStringList& columnIdentifiers();
  static QString headingOfColumn(const QString& identifier);

  // The rows stay owned by the window's computation, which refills them in place.
  ZandakaShisanTableModel(const Kaisya& kaisya, const std::vector<Shisan>& rows, QObject* parent = nullptr);

  const std::vector<Shisan>& rows() const { return *rows_; }
  // Rebuilds the whole table after the rows were computed again.
  void reloadData();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  const Kaisya& kaisya_;
  const std::vector<Shisan>* rows_;
};

}  // namespace kivo

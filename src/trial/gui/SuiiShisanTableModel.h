// One section of the monthly trial-balance window as a table model over the rows
// its builder holds: the caption, then for the balance sheet the opening balance,
// the month-end balances and the balance after the closing-adjustment month, for
// the other sections the monthly movements, the closing-adjustment month and the
// total. The cell text is the report's own (SuiiShisan::cellText); the caption is
// drawn in the user's title colour ("SuiiShisan Title Text Color").
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <vector>

namespace kivo {

class Kaisya;
class Shisan;

class SuiiShisanTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  // The column identifiers of a section: "title", "kaishiZandaka" (balance sheet),
  // "month0".."month{n-1}", "kessanSeiriduki", "goukei" (the others).
  static QStringList columnIdentifiersOfSection(int numberOfMonth, bool isTaisyakuTaisyou);

  SuiiShisanTableModel(const Kaisya& kaisya, const std::vector<Shisan>& rows, bool isTaisyakuTaisyou,
                       QObject* parent = nullptr);

  const QStringList& columnIdentifiers() const { return identifiers_; }
  // Rebuilds the table after the rows were computed again (the title colour and the
  // months are read afresh).
  void reloadData();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  const Kaisya& kaisya_;
  const std::vector<Shisan>* rows_;
  bool isTaisyakuTaisyou_;
  QStringList identifiers_;
  QColor titleColor_;
};

}  // namespace kivo

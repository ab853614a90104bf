// The rows of a ledger window as a table model: the window's controller answers the
// text of each cell it is asked for, so a ledger of many thousand rows is never
// turned into text beyond the rows in view.
//
// The columns are the identifiers the window shows, in order; the window removes and
// puts back columns (the created-by, counter sub-account, division and own
// sub-account columns) by giving the model a new list.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace kivo {

class KanjyoumotocyouTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum class Column {
    Date,
    CreatedType,
    AiteKamoku,
    AiteHojyoKamoku,
    AiteJigyoubu,
    Tekiyou,
    HojyoKamoku,
    Jigyoubu,
    KarikataKingaku,
    KashikataKingaku,
    Zandaka,
  };

  class DataSource {
  public:
    virtual ~DataSource() = default;
    virtual int numberOfRowsInTableView() const = 0;
    virtual QString stringValue(int row, Column column) const = 0;
    // Whether the entry's value in that cell may be changed at all.
    virtual bool isEditableCell(int row, Column column) const
    {
      (void)row;
      (void)column;
      return false;
    }
  };

  explicit KanjyoumotocyouTableModel(const DataSource* dataSource, QObject* parent = nullptr);

  // "date", "createdType", "aiteKamoku", ... as the columns are known by name.
  static QString headingOfColumn(Column column);
  static Qt::Alignment alignmentOfColumn(Column column);
  // Default and largest width of a column, in average character widths.
  static int widthCharactersOfColumn(Column column);
  static int maxWidthCharactersOfColumn(Column column);

  const std::vector<Column>& columns() const { return columns_; }
  void setColumns(std::vector<Column> columns);
  // The position of the column in the table, -1 when it is not shown.
  int indexOfColumn(Column column) const;

  // Rebuilds the whole table after the rows changed.
  void reloadData();
  // Shows a row's cells again after its entry changed.
  void reloadRow(int row);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  const DataSource* dataSource_;
  std::vector<Column> columns_;
};

}  // namespace kivo

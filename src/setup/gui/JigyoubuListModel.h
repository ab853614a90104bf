// The table of the division-list sheet: the 99 slots of the sheet's working copy
// (code, active, name, kana). Edits go through the editor; a refused edit changes
// nothing and is reported through `refused`.
#pragma once

#include <QAbstractTableModel>

namespace kivo {

class JigyoubuListEditor;

class JigyoubuListModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Column { CodeColumn, ActiveColumn, NameColumn, KanaColumn, ColumnCount };

  explicit JigyoubuListModel(JigyoubuListEditor& editor, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
  void refused(const QString& title, const QString& message);

private:
  JigyoubuListEditor* editor_;
};

}  // namespace kivo

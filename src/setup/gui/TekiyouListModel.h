// The descriptions of one group of the description sheet's working copy: text and
// kana. Edits go through the editor; a refused edit changes nothing and is reported
// through `refused`.
#pragma once

#include <QAbstractTableModel>

namespace kivo {

class TekiyouListEditor;

class TekiyouListModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Column { TekiyouColumn, KanaColumn, ColumnCount };

  explicit TekiyouListModel(TekiyouListEditor& editor, QObject* parent = nullptr);

  int group() const { return group_; }
  void setGroup(int group);
  void reload();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
  void refused(const QString& title, const QString& message);

private:
  TekiyouListEditor* editor_;
  int group_ = 0;
};

}  // namespace kivo

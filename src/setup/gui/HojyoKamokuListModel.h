// The sub-account table of the account-list sheet: the sub-accounts of the account
// selected in the tree, over the sheet's working copy. Columns: code, name, kana,
// active, cash-book shortcut and the opening balance of the chosen division.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>

namespace kivo {

class AmountFormatter;
class Kaisya;
class KamokuListEditor;

class HojyoKamokuListModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Column { CodeColumn, NameColumn, KanaColumn, ActiveColumn, KeyColumn, BalanceColumn, ColumnCount };

  HojyoKamokuListModel(KamokuListEditor& editor, const Kaisya& kaisya, QObject* parent = nullptr);
  ~HojyoKamokuListModel() override;

  // The account whose sub-accounts are shown (-1: none).
  int kamokuIndex() const { return kamokuIndex_; }
  void setKamokuIndex(int kamokuIndex);
  void setJigyoubuCode(int32_t code);
  // The rows changed under the model (added or moved sub-accounts).
  void reload();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
  void refused(const QString& title, const QString& message);
  void edited();

private:
  KamokuListEditor* editor_;
  const Kaisya* kaisya_;
  std::unique_ptr<AmountFormatter> amountFormatter_;
  int kamokuIndex_ = -1;
  int32_t jigyoubuCode_ = 99;
};

}  // namespace kivo

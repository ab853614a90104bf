// The account tree of the account-list sheet: the categories of the chart with their
// accounts, over the sheet's working copy (KamokuListEditor). Columns: name, code,
// kana, active, cash book, cash-book shortcut and the opening balance of the chosen
// division. Edits go through the editor; a refused edit changes nothing and is
// reported through `refused`.
#pragma once

#include <QAbstractItemModel>
#include <cstdint>
#include <vector>

namespace kivo {

class AmountFormatter;
class Kaisya;
class KamokuKubun;
class KamokuListEditor;

class KamokuListModel : public QAbstractItemModel {
  Q_OBJECT
public:
  enum Column { NameColumn, CodeColumn, KanaColumn, ActiveColumn, SuitouColumn, KeyColumn, BalanceColumn, ColumnCount };

  KamokuListModel(KamokuListEditor& editor, const Kaisya& kaisya, QObject* parent = nullptr);
  ~KamokuListModel() override;

  // The division whose opening balances the balance column shows and edits (99: the
  // whole company).
  int32_t jigyoubuCode() const { return jigyoubuCode_; }
  void setJigyoubuCode(int32_t code);

  // The editor's row of an account index (-1 for a category or an invalid index), and
  // the index of an editor row.
  int kamokuIndexOf(const QModelIndex& index) const;
  QModelIndex indexOfKamoku(int kamokuIndex, int column = NameColumn) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
  void refused(const QString& title, const QString& message);
  // An account's fields changed (the opening-balance total may have moved).
  void edited();

private:
  struct Node {
    const KamokuKubun* kubun = nullptr;
    int kamokuIndex = -1;  // -1: a category
    int parent = -1;
    int row = 0;
    std::vector<int> children;
  };
  void addKubun(const KamokuKubun& kubun, int parent);
  const Node* nodeOf(const QModelIndex& index) const;

  KamokuListEditor* editor_;
  const Kaisya* kaisya_;
  std::unique_ptr<AmountFormatter> amountFormatter_;
  int32_t jigyoubuCode_ = 99;
  std::vector<Node> nodes_;
  std::vector<int> rootChildren_;
  std::vector<int> nodeOfKamoku_;
};

}  // namespace kivo

// The account-list sheet (勘定科目): the chart's categories with their accounts (active
// or not, name, kana, cash book and its shortcut digit, opening balance), the selected
// account's sub-accounts (add, rename, reorder), and the opening balances of the whole
// company or, with divisions, of each division (the company figure is then their sum).
// It edits a copy; OK writes it back after its checks and voids the report caches.
// Below the lists it says whether the opening balances balance.
#pragma once

#include <memory>

#include "setup/KamokuListEditor.h"
#include "setup/gui/ListSheetController.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTreeView;

namespace kivo {

class HojyoKamokuListModel;
class KamokuListModel;

class KamokuListController : public ListSheetController {
  Q_OBJECT
public:
  explicit KamokuListController(OpenDocument* document);
  ~KamokuListController() override;

  bool blocksDocumentCommands() const override { return true; }

  KamokuListEditor& editor() { return *editor_; }
  KamokuListModel* kamokuModel() const { return kamokuModel_; }
  HojyoKamokuListModel* hojyoKamokuModel() const { return hojyoModel_; }
  QTreeView* kamokuOutlineView() const { return kamokuOutlineView_; }
  QTableView* hojyoKamokuTableView() const { return hojyoTableView_; }
  QComboBox* jigyoubuPopUp() const { return jigyoubuPopUp_; }
  QLabel* startBalanceField() const { return startBalanceField_; }
  QPushButton* addHojyoKamokuButton() const { return addHojyoButton_; }

  // Selects the account's row in the tree (its sub-accounts show below).
  void selectKamoku(int kamokuIndex);
  int selectedKamokuIndex() const;
  // Adds a sub-account to the selected account; answers its row, -1 when refused.
  int addHojyoKamoku();
  void moveSelectedHojyoKamoku(int delta);
  // The division whose opening balances are shown and typed.
  void selectJigyoubuCode(int32_t code);

protected:
  bool validateChoice() override;
  void storeChoice() override;

private:
  void kamokuSelectionDidChange();
  void updateStartBalanceField();
  void refuse(const QString& title, const QString& message);

  std::unique_ptr<KamokuListEditor> editor_;
  KamokuListModel* kamokuModel_;
  HojyoKamokuListModel* hojyoModel_;
  QTreeView* kamokuOutlineView_;
  QTableView* hojyoTableView_;
  QComboBox* jigyoubuPopUp_;
  QLabel* hojyoTitle_;
  QLabel* startBalanceField_;
  QPushButton* addHojyoButton_;
  QPushButton* moveUpButton_;
  QPushButton* moveDownButton_;
};

}  // namespace kivo

// The description sheet (摘要): the description groups ("その他", always there, and
// groups named after accounts) with their descriptions and kana keys; add, edit,
// remove, reorder and move descriptions between groups. Opened from an entry window,
// it shows the groups of the row's accounts first and offers the row's description
// (put on the clipboard by the entry window) for adding. It edits a copy; OK writes
// it back after its checks.
#pragma once

#include <memory>

#include "setup/TekiyouListEditor.h"
#include "setup/TekiyouListSource.h"
#include "setup/gui/ListSheetController.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace kivo {

class TekiyouListModel;

class TekiyouListController : public ListSheetController {
  Q_OBJECT
public:
  explicit TekiyouListController(OpenDocument* document);
  ~TekiyouListController() override;

  // Ends the sheet: with the OK button as sender it keeps the edits (after the checks),
  // with any other sender it drops them. Entry windows end it this way before another
  // sheet opens on them.
  void endTekiyouListWindow(QObject* sender);

  // The accounts of the entry row it was opened for (-1 none): the group of the first
  // one that has a group is shown first.
  void setPrimeKamokuCodes(int firstKamokuCode, int secondKamokuCode);
  // Offers the clipboard's text as the new description (opened from an entry row).
  void setOffersPasteboardText(bool offers);

  TekiyouListEditor& editor() { return *editor_; }
  TekiyouListModel* model() const { return model_; }
  QListWidget* groupListView() const { return groupListView_; }
  QTableView* tekiyouTableView() const { return tekiyouTableView_; }
  QComboBox* newGroupPopUp() const { return newGroupPopUp_; }
  QLineEdit* newTekiyouField() const { return newTekiyouField_; }
  QComboBox* moveToGroupPopUp() const { return moveToGroupPopUp_; }

  int selectedGroup() const;
  void selectGroup(int group);
  int selectedTekiyou() const;
  void selectTekiyou(int row);
  // The commands of the sheet's buttons.
  int addGroup();
  void removeGroup();
  int addTekiyou();
  void removeTekiyou();
  void moveSelectedTekiyou(int delta);
  void moveSelectedTekiyouToGroup();

protected:
  bool validateChoice() override;
  void storeChoice() override;

private:
  void reloadGroups();
  void groupSelectionDidChange();
  void validateButtons();

  std::unique_ptr<TekiyouListEditor> editor_;
  TekiyouListModel* model_;
  QListWidget* groupListView_;
  QComboBox* newGroupPopUp_;
  QPushButton* addGroupButton_;
  QPushButton* removeGroupButton_;
  QTableView* tekiyouTableView_;
  QLineEdit* newTekiyouField_;
  QPushButton* addTekiyouButton_;
  QPushButton* removeTekiyouButton_;
  QPushButton* moveUpButton_;
  QPushButton* moveDownButton_;
  QComboBox* moveToGroupPopUp_;
  QPushButton* moveToGroupButton_;
};

}  // namespace kivo

// The asset register (資産管理台帳): the document's depreciable assets as an outline
// grouped by account, sub-account and division (KamokuJigyoubuGroup), and beside it
// the detail of the one asset selected, whose figures of the term are recomputed as
// the user types.
//
// Showing an asset changes nothing in it. Once the user has edited it, the asset
// takes its dates, cost, method, life, ratios and charges each time a field's edit
// ends with the figures of the term computable from the fields, and a method as soon
// as it is chosen; its outline row shows them at once; the rest (quantity, kind of
// acquisition, reference) is written into it when it is committed
// (setEditingGenkasyoukyakuShisanToArray). Every
// selection change, tab switch, command, save and close commits first, and an
// incomplete asset is not let go: an alert says what is missing and the field is
// selected.
#pragma once

#include <QPointer>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "assets/KamokuJigyoubuGroup.h"
#include "assets/SyoukyakuKikan.h"
#include "document/gui/DocumentWindowController.h"
#include "model/GenkasyoukyakuShisan.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QStandardItem;
class QTabWidget;
class QTableWidget;
class QWidget;

namespace kivo {

class AmountFormatter;
class CheckedItemDelegate;
class GenkasyoukyakuShisanOutlineModel;
class GenkasyoukyakuShisanToAddController;
class KamokuJigyoubuGroupOutlineView;
class SelectShisanToSetSansyutsuchiController;
class SyoukyakushisanShinkokusyoController;
class WarekiDateFormatter;

class GenkasyoukyakuShisanListController : public DocumentWindowController {
  Q_OBJECT
public:
  static constexpr const char* kTitleSuffix = " - 資産管理台帳";
  static constexpr const char* kInvalidShisanTitle = "無効な資産";
  static constexpr const char* kCannotPrintTitle = "プリントできません";
  static constexpr const char* kAddShisanTitle = "資産を追加";
  static constexpr const char* kRemoveShisanTitle = "選択中の資産を削除";
  static constexpr const char* kSetSansyutsuchiTitle = "普通償却費に算出償却費をセットする...";
  static constexpr const char* kPrintShinkokusyoTitle = "償却資産申告書をプリントする...";

  explicit GenkasyoukyakuShisanListController(OpenDocument* document);
  ~GenkasyoukyakuShisanListController() override;

  static GenkasyoukyakuShisanListController* showGenkasyoukyakuShisanListWindow(OpenDocument* document);

  // --- outline
  // Rebuilds the outline from the document; expanded groups stay expanded and the
  // shown asset stays selected.
  void reloadOutline();
  // Shows the asset's values in its row, in place.
  void refreshOutlineRowOfGenkasyoukyakuShisan(const GenkasyoukyakuShisanPtr& asset);
  // Reveals and selects the asset's row alone.
  void selectGenkasyoukyakuShisan(const GenkasyoukyakuShisanPtr& asset);
  // The selected rows: assets, and whether a group is among them.
  std::vector<GenkasyoukyakuShisanPtr> selectedAssets() const;
  bool isGroupSelected() const;
  const std::vector<KamokuJigyoubuGroup>& groups() const { return groups_; }

  // --- detail
  const GenkasyoukyakuShisanPtr& selectedGenkasyoukyakuShisan() const { return selected_; }
  void updateForSelectedGenkasyoukyakuShisan();
  // Validates the shown asset and writes the user's edits into it; true when nothing
  // is shown or the asset is complete.
  bool setEditingGenkasyoukyakuShisanToArray();
  bool settleEditing() override { return setEditingGenkasyoukyakuShisanToArray(); }
  // Recomputes the figures from the fields (after a field was left); an asset the
  // user edited takes them.
  void updateUneditableField();
  void updateEditableField();

  // --- commands
  void handleChooseAddShisan();
  void editShisanBasicInformation();
  void handleChooseRemoveShisan();
  void handleChooseSetSansyutsuSyoukyakuhiToFutsuuSyoukyakuhi();
  // Moves the assets (the objects themselves) into the group before its child at
  // index; false when the group takes no drop.
  bool dropGenkasyoukyakuShisan(const std::vector<GenkasyoukyakuShisanPtr>& assets, const KamokuJigyoubuGroup& target,
                                size_t index);
  // Begins a drag of the selected assets: commits and clears the detail first.
  bool beginDragOfSelection();
  const std::vector<GenkasyoukyakuShisanPtr>& draggedAssets() const { return dragged_; }
  void addDecreaseHistory();
  void removeDecreaseHistory();

  // --- widgets, for tests and the sheets
  KamokuJigyoubuGroupOutlineView* outlineView() const { return outlineView_; }
  QStackedWidget* selectedTabView() const { return selectedTabView_; }
  QTabWidget* infoTabView() const { return infoTabView_; }
  QLineEdit* quantityField() const { return quantityField_; }
  QLineEdit* dateOfAddedField() const { return dateOfAddedField_; }
  QLineEdit* dateOfRemovedField() const { return dateOfRemovedField_; }
  QComboBox* syoukyakuTypeComboBox() const { return syoukyakuTypeComboBox_; }
  QLineEdit* taiyouYearsField() const { return taiyouYearsField_; }
  QLineEdit* syutokuKagakuField() const { return syutokuKagakuField_; }
  QLineEdit* kisyuSyoukyakugakuRuikeiField() const { return kisyuSyoukyakugakuRuikeiField_; }
  QLineEdit* referenceField() const { return referenceField_; }
  QLineEdit* sansyutsuSyoukyakuhiField() const { return sansyutsuSyoukyakuhiField_; }
  QLineEdit* futsuuSyoukyakuhiField() const { return futsuuSyoukyakuhiField_; }
  QLineEdit* tokubetsuSyoukyakuhiField() const { return tokubetsuSyoukyakuhiField_; }
  QLineEdit* jigyouSenyouWariaiField() const { return jigyouSenyouWariaiField_; }
  QLineEdit* toukiSyoukyakuhiGoukeiField() const { return toukiSyoukyakuhiGoukeiField_; }
  QLineEdit* kimatsuCyoubokagakuField() const { return kimatsuCyoubokagakuField_; }
  QLineEdit* syoukyakuRitsuField() const { return syoukyakuRitsuField_; }
  QLineEdit* kisyuCyoubokagakuField() const { return kisyuCyoubokagakuField_; }
  QTableWidget* decreaseHistoryTableView() const { return decreaseHistoryTableView_; }
  GenkasyoukyakuShisanToAddController* addController() const { return addController_; }
  SelectShisanToSetSansyutsuchiController* setSansyutsuchiController() const { return setSansyutsuchiController_; }
  QAction* functionAction(const char* title) const;

  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;
  bool validatePrintMenuItem() const override { return true; }
  // The register printout through the application's print and page-setup commands.
  void printDocument() override { printGenkasyoukyakuShisanList(); }
  void pageSetup() override { pageSetupForGenkasyoukyakuShisanList(); }
  void printGenkasyoukyakuShisanList();
  // The declaration: the year sheet, then its printout and page setup.
  void setTargetYearOfSyoukyakushisanShinkokusyo();
  void printSyoukyakushisanShinkokusyoForYear(int year);
  void pageSetupForSyoukyakushisanShinkokusyo();
  SyoukyakushisanShinkokusyoController* shinkokusyoController() const { return shinkokusyoController_; }
  void pageSetupForGenkasyoukyakuShisanList();

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  QString denpyouAndCyouhyouItemTitle() const override;
  // The width is kept per number of the outline's columns.
  const char* windowWidthDefaultsKey() const override;
  const char* windowHeightDefaultsKey() const override;
  void recomputeUI() override;
  void fillFunctionMenu(QMenu* menu) override;
  // Tab in the detail's last field and back-Tab in its first, or in the decrease
  // table's first cell, go back to the outline.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct Inputs;
  QLineEdit* addField(QWidget* parent, int row, int column, const char* title, bool editable,
                      QLabel** titleLabel = nullptr);
  void buildDetail(QWidget* detail);
  std::optional<Inputs> readInputs(bool* gateFailed) const;
  void fillFields();
  void clearUneditableField();
  bool shouldFinishEditingSelectedGenkasyoukyakuShisan();
  // What only the asset as a whole is checked for, when it is let go (committed, a
  // tab switch too): no decrease before the acquisition, no decrease or charge the
  // user changed beyond what is left of the asset, no special charge after a removal
  // before the term. Refuses with what the user changed selected, the decrease's date
  // or amount or the field, on its tab, so that a conflict is always corrected where
  // it was made.
  bool shouldLetGoSelectedGenkasyoukyakuShisan();
  void refuse(const char* message, QWidget* field);
  void refuse(const QString& message, QWidget* field);
  // Refuses with the decrease's cell in the column (0 date, 1 amount) selected.
  void refuseDecrease(const char* message, int row, int column);
  // Shows a tab of the detail without asking whether the shown one may be left.
  void showInfoTab(int index);
  QStringList outlineRowTexts(const GenkasyoukyakuShisan& asset) const;
  void writeFieldsIntoAsset();
  void userEdited();
  // A decrease added, changed or removed: an edit of the asset like any other.
  void decreasesEdited();
  void updateItemsOfDecreaseHistory();
  void fillDecreaseTable();
  // Puts the decreases in date order after an edit of the row, the edited decrease
  // selected, or the cell a Tab has just opened open again on its decrease.
  void sortDecreasesKeepingTheirCells(int editedRow);
  void decreaseItemChanged(int row, int column);
  void updateFunctionMenu();
  void syoukyakuTypeChosen();
  void infoTabChanged(int index);
  bool isOlderRuleShown() const;
  SyoukyakuKikan kikan() const;
  const KamokuJigyoubuGroup* groupOfIndex(const QModelIndex& index) const;
  GenkasyoukyakuShisanPtr assetOfIndex(const QModelIndex& index) const;
  QModelIndex indexOfAsset(const GenkasyoukyakuShisanPtr& asset) const;
  std::string groupKey(const KamokuJigyoubuGroup& g) const;

  // Whether a decrease cell's typed text may end its edit (a date for the date, an
  // amount or nothing for the amount).
  bool acceptsDecreaseText(int column, const QString& text) const;
  // The decrease cell's text refused: a beep, and beside a date cell the reason its
  // text is no date.
  void refuseDecreaseText();
  // Refuses a date field's text that reads as no date with the formatter's own sentence
  // (an empty one is not this refusal's); answers whether it refused.
  bool refuseUnreadableDate(QLineEdit* field);

  std::vector<KamokuJigyoubuGroup> groups_;
  // The group each group row stands for, by the row's number.
  std::vector<const KamokuJigyoubuGroup*> groupOfRow_;
  GenkasyoukyakuShisanPtr selected_;
  std::vector<GenkasyoukyakuShisanPtr> dragged_;
  // Assets added in this window and not committed yet: the only ones whose reference
  // follows the method between the provisions of immediate depreciation.
  std::vector<GenkasyoukyakuShisanPtr> neverCommitted_;
  QByteArray widthDefaultsKey_;
  bool dirty_ = false;
  // The shown asset as it was shown or last committed: what the user changed since
  // is told from it.
  std::optional<GenkasyoukyakuShisan> shown_;
  // The ordinary charge the user entered for the shown asset (none: the charge
  // follows the computed one), and whether its field was typed into since it was
  // last read.
  std::optional<int64_t> enteredFutsuu_;
  bool futsuuTyped_ = false;
  bool filling_ = false;
  // Counts the refusals that select a decrease's cell, which the sort an edit leaves
  // pending must not undo.
  int decreaseRefusals_ = 0;
  bool switchingTab_ = false;
  int shownInfoTab_ = 0;
  std::unique_ptr<WarekiDateFormatter> dateFormatter_;
  // The decrease table's dates, in the common era whatever the company's setting.
  std::unique_ptr<WarekiDateFormatter> decreaseDateFormatter_;
  // The amount fields and the decrease amounts, at the company's precision.
  std::unique_ptr<AmountFormatter> amountFormatter_;

  KamokuJigyoubuGroupOutlineView* outlineView_ = nullptr;
  GenkasyoukyakuShisanOutlineModel* model_ = nullptr;
  QStackedWidget* selectedTabView_ = nullptr;
  QTabWidget* infoTabView_ = nullptr;
  QLabel* nameField_ = nullptr;
  QLabel* kanriCodeField_ = nullptr;
  QLabel* kamokuField_ = nullptr;
  QLabel* ruleField_ = nullptr;
  QLineEdit* quantityField_ = nullptr;
  QLineEdit* dateOfAddedField_ = nullptr;
  QComboBox* addedTypePopUp_ = nullptr;
  QLineEdit* dateOfRemovedField_ = nullptr;
  QComboBox* syoukyakuTypeComboBox_ = nullptr;
  QLineEdit* taiyouYearsField_ = nullptr;
  QLineEdit* syoukyakuRitsuField_ = nullptr;
  QLineEdit* hosyouRitsuField_ = nullptr;
  QLineEdit* hosyouGakuField_ = nullptr;
  QLineEdit* syutokuKagakuField_ = nullptr;
  QLineEdit* referenceField_ = nullptr;
  QLineEdit* kisyuSyoukyakugakuRuikeiField_ = nullptr;
  QLineEdit* kisyuCyoubokagakuField_ = nullptr;
  QLineEdit* zanzonWariaiField_ = nullptr;
  QLineEdit* zanzonKagakuField_ = nullptr;
  QLineEdit* zanzonGendoWariaiField_ = nullptr;
  QLineEdit* zanzonGendoGakuField_ = nullptr;
  QLineEdit* sansyutsuSyoukyakuhiField_ = nullptr;
  QLineEdit* futsuuSyoukyakuhiField_ = nullptr;
  QLineEdit* tokubetsuSyoukyakuhiField_ = nullptr;
  QLineEdit* toukiSyoukyakuhiGoukeiField_ = nullptr;
  QLineEdit* kimatsuCyoubokagakuField_ = nullptr;
  QLineEdit* kimatsuSyoukyakugakuRuikeiField_ = nullptr;
  QLineEdit* jigyouSenyouWariaiField_ = nullptr;
  QLineEdit* keihisannyuugakuField_ = nullptr;
  std::vector<QWidget*> olderRuleOnly_;
  std::vector<QWidget*> newerRuleOnly_;
  std::vector<QWidget*> kojinOnly_;
  QTableWidget* decreaseHistoryTableView_ = nullptr;
  CheckedItemDelegate* decreaseDelegate_ = nullptr;
  QPushButton* addDecreaseHistoryButton_ = nullptr;
  QPushButton* removeDecreaseHistoryButton_ = nullptr;
  QPointer<QMenu> functionMenu_;
  GenkasyoukyakuShisanToAddController* addController_ = nullptr;
  SelectShisanToSetSansyutsuchiController* setSansyutsuchiController_ = nullptr;
  SyoukyakushisanShinkokusyoController* shinkokusyoController_ = nullptr;
};

}  // namespace kivo

// The transfer-voucher window (振替伝票) of a document: one voucher at a time as a
// grid of two-line rows (date and number; debit account and sub-account; debit
// amount and division; the same for the credit side; description), the voucher's
// balance, the button of the voucher browser and the bookmark drawer.
//
// The rules live in the voucher model (Furikaedenpyou) and its helpers; this window
// turns typed text into cell values through the field formatters, shows the check's
// sheets, registers and deletes through the document (with undo), and offers the
// commands of its "機能" menu.
#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>
#include <vector>

#include "entry/Furikaedenpyou.h"
#include "entry/FurikaedenpyouCellMovement.h"
#include "entry/gui/EntryWindowController.h"
#include "setup/TekiyouListSource.h"

class QAction;
class QDockWidget;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kivo {

class AmountFormatter;
class FurikaedenpyouDeletion;
class Formatter;
class FurikaedenpyouView;
class HidukeFormatter;
class HojyoKamokuFormatter;
class JigyoubuFormatter;
class KamokuFormatter;
class TekiyouFormatter;

class FurikaedenpyouController : public EntryWindowController, public TekiyouListSource {
  Q_OBJECT
public:
  using Column = FurikaedenpyouRow::Column;
  using Command = FurikaedenpyouCellMovement::Command;

  // The commands of the "機能" menu, as its items carry them.
  enum class FunctionCommand {
    Register,
    NewDenpyou,
    DuplicateDenpyou,
    RemoveDenpyou,
    Navigate,  // to another voucher
    SelectDisplayDenpyou,
    ToggleBookmarkDrawer,
    AddBookmark,
    EditRow,  // add, insert or remove the selected row
    SetItemAsAboveRowItem,
  };

  static constexpr const char* kWindowMenuTitle = "振替伝票";
  static constexpr const char* kTitleSuffix = " - 振替伝票";
  static constexpr const char* kShowBookmarkTitle = "ブックマークを表示";
  static constexpr const char* kHideBookmarkTitle = "ブックマークを隠す";

  // The window of the voucher numbered n (a new, empty voucher for a number no entry
  // carries).
  FurikaedenpyouController(OpenDocument* document, int32_t denpyouNo);
  ~FurikaedenpyouController() override;

  // The application's "振替伝票" command: the document's voucher window, made on an
  // empty new voucher when it has none, brought to the front.
  static FurikaedenpyouController* showFurikaedenpyouWindow(OpenDocument* document);
  // How other windows show a voucher: in the document's voucher window, made first
  // when there is none.
  static FurikaedenpyouController* showDenpyouOfDenpyouNo(OpenDocument* document, int32_t denpyouNo);

  Furikaedenpyou& denpyou() { return denpyou_; }
  const Furikaedenpyou& denpyou() const { return denpyou_; }
  FurikaedenpyouView* denpyouView() const { return denpyouView_; }
  QLineEdit* taisyakuBalanceField() const { return taisyakuBalanceField_; }
  QPushButton* selectDisplayDenpyouButton() const { return selectDisplayDenpyouButton_; }
  int32_t displayingDenpyouNo() const { return denpyou_.displayingDenpyouNo(); }

  // --- showing a voucher
  void displayShiwakeOfDenpyouNo(int32_t n);
  // Registers the shown voucher when it changed; then shows voucher n. An invalid
  // voucher stays, with its sheet.
  void showDenpyouOfDenpyouNo(int32_t n);
  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;

  // --- balance, checks, registration
  void setTaisyakuBalanceFieldValue();
  bool isDenpyouAbleToSetShiwakeArrayWithErrorMessage(bool showErrorMessage);
  void setDenpyouToShiwakeArray();
  // The register command ("伝票を登録"): true when there was nothing to register or it
  // registered; false after a sheet said why not.
  bool handleChooseDenpyouToShiwakeArrayMenu();

  // --- new, duplicate, delete, navigation
  void displayEmptyDenpyou();
  void displayDuplicateDenpyou();
  void removeDenpyouFromShiwake();
  // After a deletion: the voucher that followed, else an empty new voucher.
  void showAfterDeletion(const FurikaedenpyouDeletion& deletion);
  // The drawer's own list of bookmarks (a limited user's), nullptr when the drawer
  // shows the document's.
  std::vector<BookmarkPtr>* drawerBookmarkArray();
  void showNextDenpyou();
  void showPreviousDenpyou();
  void skipDenpyou();
  void reverseSkipDenpyou();
  void showNextMonthDenpyou();
  void showPreviousMonthDenpyou();
  void showStartDenpyou();
  void showEndDenpyou();
  void selectDisplayDenpyou();

  // --- rows and the selection
  int numberOfDenpyouRows() const { return denpyou_.numberOfDenpyouRows(); }
  int selectedDenpyouRow() const { return denpyou_.selectedDenpyouRow(); }
  void deselectSelectedCellAndThenSelectDenpyouRow(int row, Column column);
  void handleChooseAddDenpyouRow();
  void handleChooseInsertDenpyouRow();
  void handleChooseRemoveDenpyouRow();
  // Removes row r, or puts the last removed row back at r (its own undo).
  void undoableRemoveDenpyouRow(int row);
  // Removes the row or puts the kept one back, without recording undo.
  void toggleRemovedRow(int row);
  // Counts the showings of a voucher: a removed row can be put back only into the
  // showing it was removed from.
  uint64_t displayGeneration() const { return displayGeneration_; }
  void setItemAsAboveDenpyouRowItem();

  // --- keys
  // Tab, Back-tab and the arrows; false when the typed text of the cell is refused
  // (the selection stays).
  bool moveSelectDenpyouCellByCommand(Command command);

  // --- bookmark drawer
  void toggleBookmarkDrawer();
  // Placed as every window; a drawer open from the start widens the window as well.
  void moveWindowToInitialPositionWithDisplay(bool display) override;
  bool isBookmarkDrawerOpen() const;
  // The bookmarks the drawer lists: the document's, or a limited user's own copy of
  // those marked for it.
  const std::vector<BookmarkPtr>& bookmarkArray() const;
  // Adds a bookmark for the voucher on show, or renames its bookmark, in the naming
  // sheet ("ブックマークに追加..." and the drawer's edit button).
  void showFurikaedenpyouBookmarkWindow();
  void removeBookmark();
  void moveBookmarkUp() { moveBookmark(true); }
  void moveBookmarkDown() { moveBookmark(false); }
  // Selects the row of the shown voucher's bookmark, or no row.
  void selectBookmarkForDisplayingDenpyouNo();
  QDockWidget* bookmarkDrawer() const { return bookmarkDrawer_; }
  QTableWidget* monthTableView() const { return monthTableView_; }
  QTableWidget* bookmarkTableView() const { return bookmarkTableView_; }
  QPushButton* editBookmarkButton() const { return bookmarkButtons_.at(0); }
  QPushButton* removeBookmarkButton() const { return bookmarkButtons_.at(1); }
  QPushButton* moveBookmarkUpButton() const { return bookmarkButtons_.at(2); }
  QPushButton* moveBookmarkDownButton() const { return bookmarkButtons_.at(3); }

  // --- "機能" menu
  const std::vector<QAction*>& functionMenuActions() override;
  // Also finds the bookmark item by its other title.
  QAction* functionMenuAction(const QString& title);
  void validateMenuItems() override;

  // --- the description list opened over this window
  bool getSelectedRowKarikataKamokuCode(int& karikataKamokuCode, int& kashikataKamokuCode) const override;
  void writeTekiyouStringToPasteboard() override;
  // Ends an attached description-list sheet before another sheet opens or the window
  // closes.
  void closeAttachedSheet() override;

  // --- the document's hooks
  bool settleEditing() override { return handleChooseDenpyouToShiwakeArrayMenu(); }

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  QString denpyouAndCyouhyouItemTitle() const override;
  const char* windowWidthDefaultsKey() const override;
  const char* windowHeightDefaultsKey() const override;
  void recomputeUI() override;
  void windowDidBecomeKey() override;
  void windowDidResignKey() override;
  void windowWillCloseHook() override;

private:
  // EntryGridView::Delegate
  int numberOfRows() const override;
  QString stringValue(int row, int matrixId) const override;
  bool textShouldBeginEditing(int row, int matrixId) override;
  void textDidBeginEditing(int row, int matrixId) override;
  void textDidChange(int row, int matrixId, const QString& text) override;
  void textDidEndEditing(int row, int matrixId, const QString& text) override;
  void mouseDownInCell(int row, int matrixId) override;

  // EntryWindowController
  EntryGridView* entryGridView() const override;
  bool isEditableMatrix(int matrixId) const override;
  Formatter* formatterForMatrix(int matrixId, int row) const override;
  FieldValue cellValue(int row, int matrixId) const override
  {
    return denpyou_.cell(row, static_cast<Column>(matrixId));
  }
  void setCellValue(int row, int matrixId, const FieldValue& value) override;
  int selectedEntryRow() const override { return denpyou_.selectedDenpyouRow(); }
  int selectedEntryMatrix() const override { return denpyou_.selectedColumn(); }
  bool moveSelectedCell(EntryGridView::Command command) override;
  Picker pickerOfMatrix(int matrixId) const override;
  InputKind inputKindOfMatrix(int matrixId) const override;
  int hojyoKamokuMatrixOfKamokuMatrix(int matrixId) const override;
  // A picker writes into the cell as typing would: refused where typing is.
  bool mayPickInCell(int row, int matrixId) override { return textShouldBeginEditing(row, matrixId); }

  void buildLayout();
  void setUpMatrices();
  void handleTextDidEndEditingForMatrix(Column column, const QString& inputString);
  // Shows the grid as the model has it: the rows, the selection, the balance.
  void reloadDenpyouView();
  void markEdited();
  void showInvalidDenpyouSheet(const FurikaedenpyouCheckResult& result);
  // A voucher the window must not change: says why and answers true.
  bool refuseUnchangeableDenpyou();
  void navigateTo(std::optional<int32_t> (*target)(const MyDocument&, int32_t));
  void buildBookmarkDrawer();
  void reloadBookmarkTables();
  void bookmarkTableViewSelectionDidChange();
  void monthTableViewSelectionDidChange();
  // Registers the shown voucher and shows voucher n when the journal has it; false
  // when the shown voucher could not be registered.
  bool jumpToDenpyouNo(int32_t n);
  void moveBookmark(bool up);
  void bookmarksDidChange();
  void storeDrawerSize(bool open);
  // Widens the window toward the width, within the screen.
  void widenForDrawer(int wantedWidth);
  static constexpr int kGridSideMargin = 12;
  // The dock's own borders around the drawer.
  static constexpr int kGridSlack = 12;
  bool eventFilter(QObject* watched, QEvent* event) override;

  Furikaedenpyou denpyou_;
  FurikaedenpyouView* denpyouView_ = nullptr;
  QLineEdit* taisyakuBalanceField_ = nullptr;
  QPushButton* selectDisplayDenpyouButton_ = nullptr;
  QDockWidget* bookmarkDrawer_ = nullptr;
  // What opening the drawer added to the window's width, given back when it closes.
  int widthAddedForDrawer_ = 0;
  QTableWidget* monthTableView_ = nullptr;
  QTableWidget* bookmarkTableView_ = nullptr;
  std::vector<QPushButton*> bookmarkButtons_;

  std::unique_ptr<HidukeFormatter> hidukeFormatter_;
  std::unique_ptr<KamokuFormatter> karikataKamokuFormatter_;
  std::unique_ptr<KamokuFormatter> kashikataKamokuFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> hojyoKamokuFormatter_;
  std::unique_ptr<AmountFormatter> kingakuFormatter_;
  std::unique_ptr<AmountFormatter> balanceFormatter_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;
  std::unique_ptr<TekiyouFormatter> tekiyouFormatter_;

  // A limited user's drawer lists only the bookmarks marked for it.
  std::vector<BookmarkPtr> limitedUserBookmarkArray_;
  uint64_t displayGeneration_ = 0;
  // Set while the window itself changes a drawer table's selection.
  bool changingDrawerSelection_ = false;
};

}  // namespace kivo

// The journal window (仕訳日記帳) of a document: the registered entries that pass the
// document's display condition, in date order (the closing-adjustment month last),
// two lines per entry. It is read-only: the user finds entries, opens the voucher an
// entry was entered in, and deletes whole transactions.
//
// Two modes, fixed at creation:
//   - filtered (the normal one): the first time the window shows, the condition sheet
//     opens by itself without its Cancel button, and the list stays empty until the
//     user confirms it;
//   - marked: only the entries the condition marks for the journal, as the
//     import of older data shows the entries it could not give a sub-account.
//
// A document has at most one journal window. It is an output window: changes of the
// journal refresh it under the document's refresh rule, and a refresh keeps the
// selected row (or the last row when fewer remain).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "document/gui/DocumentWindowController.h"
#include "journal/gui/ShiwakenikkiView.h"
#include "model/Shiwake.h"

class QAction;
class QLabel;
class QProgressBar;

namespace kivo {

class HidukeFormatter;
class HojyoKamokuFormatter;
class JigyoubuFormatter;
class KamokuFormatter;

class ShiwakenikkiController : public DocumentWindowController, private ShiwakenikkiView::DataSource {
  Q_OBJECT
public:
  using Matrix = ShiwakenikkiView::Matrix;
  using Command = ShiwakenikkiView::Command;

  // displayState values.
  static constexpr int32_t kNothingShown = 0;
  static constexpr int32_t kShowAndSelectFirstRow = 1;
  static constexpr int32_t kShownKeepSelection = 2;

  static constexpr const char* kWindowMenuTitle = "仕訳日記帳";
  static constexpr const char* kTitleSuffix = " - 仕訳日記帳";
  // The commands of the "機能" menu, as its items carry them.
  enum class FunctionCommand { SetCondition, ShowInputShiwakeWindow, RemoveDisplayingShiwake, SaveToTextFile };

  static constexpr const char* kSetConditionTitle = "表示する仕訳の条件...";
  static constexpr const char* kShowInputShiwakeWindowTitle = "仕訳を入力した出納帳／振替伝票を表示";
  static constexpr const char* kRemoveDisplayingShiwakeTitle = "表示中の仕訳を含むすべての取引を削除";
  static constexpr const char* kSaveToTextFileTitle = "テキストファイルに書き出す...";
  static constexpr const char* kRemoveTitle = "仕訳の削除";
  static constexpr const char* kRemoveMessage =
      "仕訳日記帳に表示中の仕訳を含むすべての取引を、削除してもよろしいですか。";
  static constexpr const char* kCloseEntryWindowsMessage = "出納帳および振替伝票を閉じてください。";

  explicit ShiwakenikkiController(OpenDocument* document, bool doDisplayMarkedShiwake = false);
  ~ShiwakenikkiController() override;

  // The application's "仕訳日記帳" command: the document's journal window, made (in
  // filtered mode) when it has none, brought to the front.
  static ShiwakenikkiController* showShiwakenikkiWindow(OpenDocument* document);

  // --- state
  void setDisplayState(int32_t v) { displayState_ = v; }
  bool doDisplayMarkedShiwakes() const { return doDisplayMarkedShiwakes_; }
  void setDoDisplayMarkedShiwakes(bool v) { doDisplayMarkedShiwakes_ = v; }
  const std::vector<ShiwakePtr>& displayShiwakeArray() const { return displayShiwakeArray_; }
  // The columns that take part in keyboard movement, in Tab order.
  const std::vector<Matrix>& editableMattrixArray() const { return editableMattrixArray_; }

  // --- refresh
  // Nothing while nothing is shown yet; otherwise the document's refresh rule.
  void updateUI(bool force) override;
  using WindowController::updateUI;
  void displayShiwakeWhichMatchShiwakenikkiDisplayCondition();
  // Runs the display condition into displayShiwakeArray and the status line, the
  // window's progress indicator stepped as the filter walks the entries.
  void setDisplayShiwakeArray();
  // The steps the progress indicator took in the last run of the filter: one at every
  // tenth entry of each stage's walk.
  int filterProgressSteps() const { return filterProgressSteps_; }

  // --- rows and cells
  int numberOfShiwakenikkiRows() const;
  // The selected row of the first movable column that has one, else -1.
  int selectedShiwakenikkiRow() const;
  void deselectSelectedCellAndThenSelectShiwakenikkiRow(int row, Matrix matrix);
  void moveSelectShiwakenikkiCellByCommand(Command command);
  // The text a cell shows.
  QString stringValue(int row, Matrix matrix) const override;

  // --- commands of the "機能" menu
  void setShiwakenikkiDisplayCondition(QObject* sender);
  void showInputShiwakeWindow();
  void removeDisplayingShiwake();
  // Writes the shown entries (each voucher whole) to a journal text file.
  void saveToTextFile();
  // The application's import command: reads a journal text file into the current
  // document, all or nothing. Its panel and progress sheet are over the window the
  // user gave the command in (the main window), which has the keyboard again once
  // they, or the alert of a refusal, close.
  static void importShiwakeFromTextFile(OpenDocument* document);
  // Ends an attached condition sheet as Cancel would.
  void closeAttachedSheet() override;
  const std::vector<QAction*>& functionMenuActions();
  // The item a user reads as the title (how the tests find an item); enabling goes
  // by the items' commands.
  QAction* functionMenuAction(const QString& title);
  void validateMenuItems();

  ShiwakenikkiView* shiwakenikkiView() const { return shiwakenikkiView_; }
  QLabel* stateField() const { return stateField_; }
  QProgressBar* progressIndicator() const { return progressIndicator_; }

  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;

  // --- printing, through the application's page-setup and print commands
  static constexpr const char* kNothingToPrintMessage = "印刷する仕訳がありません。";
  bool validatePrintMenuItem() const override { return !displayShiwakeArray_.empty(); }
  void pageSetup() override { pageSetupForShiwakenikki(); }
  void printDocument() override { printShiwakenikki(); }
  // The page setup stored under "Shiwakenikki Print Info".
  void pageSetupForShiwakenikki();
  // Prints the shown entries through the print panel.
  void printShiwakenikki();

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  QString denpyouAndCyouhyouItemTitle() const override;
  const char* windowWidthDefaultsKey() const override;
  const char* windowHeightDefaultsKey() const override;
  void recomputeUI() override;
  void fillFunctionMenu(QMenu* menu) override;
  void windowWillCloseHook() override;
  void showEvent(QShowEvent* event) override;

private:
  // ShiwakenikkiView::DataSource
  void doCommandBySelector(Command command, bool isAutoRepeat) override;
  void mouseDownInCell(int row, Matrix matrix) override;

  // A window of the document holding a sheet that edits the company or its master
  // lists, after telling the user to close it; nullptr when there is none.
  WindowController* refuseForBlockingSheet();

  int32_t displayState_ = kNothingShown;
  bool didShowConditionByAutomatic_ = false;
  bool doDisplayMarkedShiwakes_ = false;
  int filterProgressSteps_ = 0;
  std::vector<Matrix> editableMattrixArray_;
  std::vector<ShiwakePtr> displayShiwakeArray_;
  ShiwakenikkiView* shiwakenikkiView_ = nullptr;
  QLabel* stateField_ = nullptr;
  QProgressBar* progressIndicator_ = nullptr;
  std::vector<QAction*> functionActions_;

  std::unique_ptr<HidukeFormatter> hidukeFormatter_;
  std::unique_ptr<KamokuFormatter> kamokuFormatter_;
  std::unique_ptr<HojyoKamokuFormatter> hojyoKamokuFormatter_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;
};

}  // namespace kivo

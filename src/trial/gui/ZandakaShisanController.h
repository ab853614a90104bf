// The trial-balance window (合計残高試算表) of a document: the trial balance of one
// division, or of the whole company (99), over a run of months of the term, in a tab
// per section: the balance sheet ("taisyakuTaisyou"), the income statement
// ("sonekiKeisan") and, for a manufacturer only, the manufacturing cost report
// ("seizouGenka", titled "完成工事原価報告書" for a construction company).
//
// Above the tabs stand the division (hidden when the document has no active
// division) and the period; one of the fields is highlighted, and the keys typed in
// a table act on it: Tab and Back-tab move the highlight, a letter or digit opens the
// division picker or the date panel. Return, Enter or a double click on an account
// row opens the general ledger of that account for the months shown; Ctrl+K shows
// the next tab.
//
// The window is an output window: changes of the journal refresh it under the
// document's refresh rule (in the background, with "Auto Update All Output Windows"
// off, it waits until it becomes main). A document has at most one.
//
// The shown section exports to a text file (Shift-JIS, tab or comma, CR line ends).
// The sections print as shown (the application's print command, with the sections
// ticked in the print panel), or for a division, months and sections chosen in the
// period-to-print sheet ("期間を指定してプリント...").
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "journal/gui/CyouhyouTableView.h"
#include "trial/ZandakaShisanAssembly.h"
#include "trial/gui/ShisanSectionsWindowController.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QLabel;
class QTabWidget;
class QToolButton;

namespace kivo {

class JigyoubuFormatter;
class SheetController;
class ZandakaShisanTableModel;

class ZandakaShisanController : public ShisanSectionsWindowController {
  Q_OBJECT
public:
  static constexpr const char* kWindowMenuTitle = "合計残高試算表";
  // The commands of the "機能" menu, as its items carry them.
  enum class FunctionCommand { ShowJigyoubu, SetPeriod, ShowKanjyoumotocyou, SaveToTextFile, PrintOfSelectedPeriod };

  // The items of the "機能" menu (the division's is kShowJigyoubuTitle).
  static constexpr const char* kSetPeriodTitle = "表示する期間...";
  static constexpr const char* kShowKanjyoumotocyouTitle = "選択している勘定科目の総勘定元帳を表示";
  static constexpr const char* kSaveToTextFileTitle = "テキストファイルに書き出す...";
  static constexpr const char* kPrintOfSelectedPeriodTitle = "期間を指定してプリント...";

  explicit ZandakaShisanController(OpenDocument* document);
  ~ZandakaShisanController() override;

  // The application's "合計残高試算表" command: the document's window brought to the
  // front; a new one is placed, shown and then either asks for the period (when the
  // user's setting says so) or computes at once.
  static ZandakaShisanController* showZandakaShisanWindow(OpenDocument* document);

  // --- the sections
  const std::vector<Shisan>& taisyakuTaisyouShisanArray() const { return assembly_.taisyakuTaisyouShisanArray(); }
  const std::vector<Shisan>& sonekiKeisanShisanArray() const { return assembly_.sonekiKeisanShisanArray(); }
  const std::vector<Shisan>& seizouGenkaShisanArray() const { return assembly_.seizouGenkaShisanArray(); }
  // The rows a table shows (see ShisanSectionsWindowController).
  const std::vector<Shisan>& shisanArrayOfTableView(const CyouhyouTableView& tableView) const override;

  // --- commands
  // The strip's fields in Tab order (textFieldArray): the division field (while
  // shown), the period from and to.
  void setDisplayingPeriod();
  // The general ledger of the account of the selected row of the shown section.
  void showKanjyoumotocyouOfSelectedKamoku();
  void handleDoubleClickOnTableView() { showKanjyoumotocyouOfSelectedKamoku(); }
  // The shown section to a text file.
  void saveToTextFile();

  // --- printing
  void pageSetupForZandakaShisan();
  // The shown sections over the shown months.
  void printZandakaShisan();
  // Opens the period-to-print sheet; its OK prints what it chose
  // (printZandakaShisanForSelectedPeriod).
  void printZandakaShisanOfSelectedPeriod();
  void printZandakaShisanForSelectedPeriod();
  bool validatePrintMenuItem() const override { return true; }
  void printDocument() override { printZandakaShisan(); }
  void pageSetup() override { pageSetupForZandakaShisan(); }
  // Before the division or account list opens: only a period-to-print sheet ends, a
  // period sheet stays.
  void closeAttachedSheetToShowJigyoubuList();
  void closeAttachedSheetToShowKamokuList() { closeAttachedSheetToShowJigyoubuList(); }

  // --- "機能" menu
  const std::vector<QAction*>& functionMenuActions() override;
  void validateMenuItems() override;

protected:
  void windowDidLoad() override;
  void recomputeUI() override;
  void windowWillCloseHook() override;
  void openSelectedRow() override { showKanjyoumotocyouOfSelectedKamoku(); }
  bool typeOnTextField(QLineEdit* field, const QString& typed) override;

private:
  void buildLayout();
  CyouhyouTableView* makeTableView(ZandakaShisanTableModel*& model, const std::vector<Shisan>& rows);
  void applyColumnWidths(CyouhyouTableView* tableView);
  int naturalWindowWidth() const;
  bool canOpenKanjyoumotocyou() const;
  // Runs the print panel over the rows; fixedSections: the boxes take the choice and
  // are disabled, else the shown section's box is ticked and fixed.
  void runPrint(std::vector<Shisan> taisyakuTaisyou, std::vector<Shisan> sonekiKeisan, std::vector<Shisan> seizouGenka,
                int32_t periodFrom, int32_t periodTo, const bool* fixedSections);

  ZandakaShisanAssembly assembly_;
  ZandakaShisanTableModel* taisyakuTaisyouModel_ = nullptr;
  ZandakaShisanTableModel* sonekiKeisanModel_ = nullptr;
  ZandakaShisanTableModel* seizouGenkaModel_ = nullptr;
};

}  // namespace kivo

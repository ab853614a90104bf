// The monthly trial-balance window (年間推移試算表) of a document: every account month
// by month over the whole term, for one division or the whole company (99), in a
// tab per section: the balance sheet ("taisyakuTaisyou": the opening balance and
// the month-end balances), the income statement ("sonekiKeisan") and, for a
// manufacturer only, the manufacturing cost report ("seizouGenka", titled
// "完成工事原価報告書" for a construction company): the monthly movements and the
// total. The closing-adjustment month has a column of its own (決算整理月).
//
// Above the tabs stands the division (hidden when the document has no active
// division); a letter or digit typed in a table opens the division picker. Return,
// Enter or a double click on an account row opens the account's general ledger for
// the whole term; a double click on a column header moves the caption column next
// to that column; Ctrl+K shows the next tab.
//
// The window is an output window: changes of the books refresh it under the
// document's refresh rule. A document has at most one. The shown section exports
// to a text file; the three sections print, in column groups of the months per
// page set in the preferences, the sections ticked in the print panel.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "journal/gui/CyouhyouTableView.h"
#include "trial/SuiiShisan.h"
#include "trial/gui/ShisanSectionsWindowController.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace kivo {

class JigyoubuFormatter;
class SheetController;
class SuiiShisanTableModel;

class SuiiShisanController : public ShisanSectionsWindowController {
  Q_OBJECT
public:
  static constexpr const char* kWindowMenuTitle = "年間推移試算表";
  static constexpr const char* kShowKanjyoumotocyouTitle = "選択している勘定科目の総勘定元帳を表示";
  static constexpr const char* kSaveToTextFileTitle = "テキストファイルに書き出す...";

  explicit SuiiShisanController(OpenDocument* document);
  ~SuiiShisanController() override;

  // The application's "年間推移試算表" command: the document's window brought to the
  // front, or a new one placed, shown and computed.
  static SuiiShisanController* showSuiiShisanWindow(OpenDocument* document);

  const SuiiShisan& suiiShisan() const { return suiiShisan_; }
  const std::vector<Shisan>& shisanArrayOfTableView(const CyouhyouTableView& tableView) const override;

  // --- commands
  void showKanjyoumotocyouOfSelectedKamoku();
  // The caption column moved directly left of the column (a header double click).
  void moveTitleColumnToDoubleClickedColumnOfTableView(CyouhyouTableView* tableView, int logicalColumn);
  void saveToTextFile();
  void pageSetupForSuiiShisan();
  // The sections ticked in the print panel; the shown section is always printed.
  void printSuiiShisan();

  bool validatePrintMenuItem() const override { return true; }
  void printDocument() override { printSuiiShisan(); }
  void pageSetup() override { pageSetupForSuiiShisan(); }

  const std::vector<QAction*>& functionMenuActions() override;
  void validateMenuItems() override;

protected:
  void windowDidLoad() override;
  void recomputeUI() override;
  void openSelectedRow() override { showKanjyoumotocyouOfSelectedKamoku(); }
  bool typeOnTextField(QLineEdit* field, const QString& typed) override;

private:
  void buildLayout();
  CyouhyouTableView* makeTableView(SuiiShisanTableModel*& model, const std::vector<Shisan>& rows, bool closing);
  void applyColumnWidths(CyouhyouTableView* tableView);

  SuiiShisan suiiShisan_;
  SuiiShisanTableModel* taisyakuTaisyouModel_ = nullptr;
  SuiiShisanTableModel* sonekiKeisanModel_ = nullptr;
  SuiiShisanTableModel* seizouGenkaModel_ = nullptr;
};

}  // namespace kivo

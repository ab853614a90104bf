// What the two trial-balance windows (合計残高試算表 and 年間推移試算表) share: a tab
// per section (the balance sheet "taisyakuTaisyou", the income statement
// "sonekiKeisan" and, for a manufacturer only, the manufacturing cost report
// "seizouGenka", titled "完成工事原価報告書" for a construction company), Ctrl+K for
// the next tab and the print panel's tab with one box per section.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "journal/gui/CyouhyouTableView.h"
#include "trial/Shisan.h"
#include "trial/gui/JigyoubuReportWindowController.h"
#include "trial/gui/ShisanSectionsPrintView.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace kivo {

class JigyoubuFormatter;
class SheetController;

class ShisanSectionsWindowController : public JigyoubuReportWindowController, protected CyouhyouTableView::Controller {
  Q_OBJECT
public:
  // Tab identifiers and labels.
  static constexpr const char* kTaisyakuTaisyouTab = "taisyakuTaisyou";
  static constexpr const char* kSonekiKeisanTab = "sonekiKeisan";
  static constexpr const char* kSeizouGenkaTab = "seizouGenka";
  static constexpr const char* kTaisyakuTaisyouLabel = "貸借対照表";
  static constexpr const char* kSonekiKeisanLabel = "損益計算書";
  static constexpr const char* kSeizouGenkaLabel = "製造原価報告書";
  static constexpr const char* kKanseiKoujiGenkaLabel = "完成工事原価報告書";

  ~ShisanSectionsWindowController() override;

  // Computes the sections for what is shown and selects the first row of every table.
  void setInitialContentsThenDisplay();

  // --- the sections
  // The rows a table shows: the balance-sheet table its array, the income-statement
  // table its array, any other table the manufacturing cost.
  virtual const std::vector<Shisan>& shisanArrayOfTableView(const CyouhyouTableView& tableView) const = 0;
  bool isTotalRow(int row, const CyouhyouTableView& tableView) const override;

  // --- tabs and tables
  QTabWidget* tabView() const { return tabView_; }
  bool hasSeizouGenkaTab() const { return seizouGenkaTableView_ != nullptr; }
  QString selectedTabIdentifier() const;
  void selectTabWithIdentifier(const QString& identifier);
  // The next tab, after the last the first.
  void selectNextTab();
  CyouhyouTableView* taisyakuTaisyouTableView() const { return taisyakuTaisyouTableView_; }
  CyouhyouTableView* sonekiKeisanTableView() const { return sonekiKeisanTableView_; }
  CyouhyouTableView* seizouGenkaTableView() const { return seizouGenkaTableView_; }
  CyouhyouTableView* selectedTableView() const;

  // --- the print panel's tab: one box per section.
  QWidget* selectPrintTargetView() const { return selectPrintTargetView_; }
  bool doPrintTaisyakuTaisyou() const;
  bool doPrintSonekiKeisan() const;
  bool doPrintSeizouGenka() const;

protected:
  ShisanSectionsWindowController(OpenDocument* document, Kind kind, const Names& names);

  // Below the body's strip, the tab view that will hold the sections; the body becomes
  // the window's content.
  void addTabView(const Body& body);
  // The tables in their tabs (the cost report's may be null: no tab).
  void addSectionTabs(CyouhyouTableView* taisyakuTaisyou, CyouhyouTableView* sonekiKeisan,
                      CyouhyouTableView* seizouGenka);
  // Ctrl+K steps through the tabs; it is no item of the menus.
  void addNextTabShortcut();
  void buildPrintTargetView();
  // Prints through the print panel with the sections' tab, over the page setup stored
  // under the key: the printout is laid out for each page layout with the sections
  // ticked in the tab (asked when its pages are counted).
  using SectionsLayOut = std::function<std::unique_ptr<Printout>(
      const QPageLayout& layout, const ShisanSectionsPrintView::SectionChoiceSource& sections)>;
  void printSections(const char* pageSetupKey, const SectionsLayOut& layOut);

  bool isOwnTableView(const QObject* sender) const override;
  // The general ledger of the account over the months: a ledger window showing it
  // already, else one showing no account, else a new one. A sheet that blocks the
  // document's commands refuses (the user is told).
  void openKanjyoumotocyou(int32_t kamokuCode, int32_t periodFrom, int32_t periodTo);

  // The next computation selects the first row of every table (else keeps the rows).
  bool selectFirstRowAfterUpdate_ = false;

  QTabWidget* tabView_ = nullptr;
  CyouhyouTableView* taisyakuTaisyouTableView_ = nullptr;
  CyouhyouTableView* sonekiKeisanTableView_ = nullptr;
  CyouhyouTableView* seizouGenkaTableView_ = nullptr;
  QWidget* selectPrintTargetView_ = nullptr;
  QCheckBox* printTaisyakuTaisyouCheckbox_ = nullptr;
  QCheckBox* printSonekiKeisanCheckbox_ = nullptr;
  QCheckBox* printSeizouGenkaCheckbox_ = nullptr;
};

}  // namespace kivo

// The sub-account balance list window (補助残高一覧表): for one account with active
// sub-accounts, a row per sub-account with its opening balance, debit and credit
// totals over a run of months, closing balance and share, the row "補助科目なし" when
// something of the account is on no active sub-account, and the total "合計"; for one
// division or the whole company (99).
//
// Above the table a strip shows the division (hidden when the document has no active
// division), the account and the period; the highlighted field takes the keys typed
// in the table (Tab and Back-tab move the highlight, a letter or digit opens the
// field's picker or the date panel). Return, Enter or a double click opens the sub
// ledger of the selected row over the same months (the general ledger for the row
// "補助科目なし").
//
// A document may hold several of these windows, each with its own account; the
// command brings one that shows no account to the front, else opens a new one. The
// window is an output window and follows changes of the journal under the document's
// refresh rule. It exports the list to a text file and prints it.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "journal/gui/CyouhyouTableView.h"
#include "trial/Shisan.h"
#include "trial/gui/JigyoubuReportWindowController.h"

class QLabel;
class QLineEdit;
class QSpacerItem;
class QToolButton;

namespace kivo {

class JigyoubuFormatter;
class KamokuFormatter;
class ZandakaShisanTableModel;

class HojyozandakaIchiranController : public JigyoubuReportWindowController, private CyouhyouTableView::Controller {
  Q_OBJECT
public:
  static constexpr const char* kWindowMenuTitle = "補助残高一覧表";
  // The items of the "機能" menu.
  static constexpr const char* kShowKamokuTitle = "表示する勘定科目...";
  static constexpr const char* kSetPeriodTitle = "表示する期間...";
  static constexpr const char* kShowHojyomotocyouTitle = "選択している補助科目の補助元帳を表示";
  static constexpr const char* kSaveToTextFileTitle = "テキストファイルに書き出す...";

  explicit HojyozandakaIchiranController(OpenDocument* document);
  ~HojyozandakaIchiranController() override;

  // The application's "補助残高一覧表" command: a window of the document that shows no
  // account brought to the front, else a new one.
  static HojyozandakaIchiranController* showHojyozandakaIchiranWindow(OpenDocument* document);

  // --- what is shown: the setters only store; the caller then asks updateUI.
  int displayKamokuCode() const { return displayKamokuCode_; }
  void setDisplayKamokuCode(int32_t v) { displayKamokuCode_ = v; }
  const std::vector<Shisan>& displayShisanArray() const { return displayShisanArray_; }
  // After the division, account or period was chosen: the rows, then the titles.
  void updateAfterSelectDisplayingJigyoubu();

  // --- the strip
  void setDisplayingKamokuFieldValue();
  QLineEdit* displayingKamokuField() const { return displayingKamokuField_; }
  QToolButton* selectDisplayingJigyoubuButton() const { return selectDisplayingJigyoubuButton_; }
  CyouhyouTableView* tableView() const { return tableView_; }
  bool isTotalRow(int row, const CyouhyouTableView& tableView) const override;

  // --- commands
  void showKamokuFormatterListWindowForDisplayingKamokuField(const QString& searchText = QString());
  void setHojyozandakaIchiranDisplayingPeriod();
  void showHojyomotocyouOfSelectedHojyoKamoku();
  void saveToTextFile();
  void printHojyozandakaIchiran();

  // --- printing, through the application's print commands
  bool validatePrintMenuItem() const override { return displayKamokuCode_ != -1; }
  void printDocument() override { printHojyozandakaIchiran(); }
  void pageSetup() override;

  // --- "機能" menu
  const std::vector<QAction*>& functionMenuActions() override;
  void validateMenuItems() override;

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  void recomputeUI() override;
  void windowWillCloseHook() override;
  bool isOwnTableView(const QObject* sender) const override { return sender == tableView_; }
  void openSelectedRow() override { showHojyomotocyouOfSelectedHojyoKamoku(); }
  bool typeOnTextField(QLineEdit* field, const QString& typed) override;
  // Any sheet of the document stops the division picker; a division chosen selects
  // no row.
  bool refusesToShowJigyoubuList() override;
  void didChooseJigyoubu() override;

private:
  void buildLayout();
  void applyColumnWidths();

  int32_t displayKamokuCode_ = -1;
  int selectRowAfterUpdate_ = -1;
  std::vector<Shisan> displayShisanArray_;

  QSpacerItem* jigyoubuSpacing_ = nullptr;  // between the division and the account
  QLineEdit* displayingKamokuField_ = nullptr;
  QToolButton* selectDisplayingKamokuButton_ = nullptr;
  CyouhyouTableView* tableView_ = nullptr;
  ZandakaShisanTableModel* tableModel_ = nullptr;

  std::unique_ptr<KamokuFormatter> kamokuFormatter_;
};

}  // namespace kivo

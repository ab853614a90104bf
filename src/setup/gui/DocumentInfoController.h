// The document information window: the hub of a document. It shows the company, its
// kind and its term, whether the opening balances balance, and has a button for every
// window of the document (vouchers, cash books, journal, ledgers, trial balances,
// statements, assets) and for the editors of the company and its master lists. A
// button works once the program has the window behind it (the command has a handler).
// Closing this window closes the document and all its windows.
//
// It also prints several ledgers at once: its ledger print accessory (numbering per
// ledger or continuous, the start page) goes with the print panel, and the sheets that
// choose the ledgers are attached to it.
#pragma once

#include <QPointer>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/MainMenu.h"
#include "platform/WindowController.h"

class QAbstractButton;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kivo {

class AppController;

class DocumentInfoController : public WindowController {
  Q_OBJECT
public:
  using Command = MainMenu::Command;

  explicit DocumentInfoController(DocumentSession* document);
  ~DocumentInfoController() override;

  bool shouldCloseDocument() const override { return true; }

  // --- the hub
  // The button of a command, nullptr when the window has none.
  QAbstractButton* buttonOfCommand(Command command) const;
  QPushButton* suitoucyouButton() const { return suitoucyouButton_; }
  QLabel* companyField() const { return companyField_; }
  QLabel* kindField() const { return kindField_; }
  QLabel* termField() const { return termField_; }
  QLabel* startBalanceField() const { return startBalanceField_; }
  // Enables each button when its command has a handler (and the user may use it).
  void validateCommandButtons();

  // --- sheets
  // Ends a sheet attached to this window (a selection or settings sheet of a printout)
  // before another opens; the master-list editors are never ended this way.
  void closeAttachedSheet();
  void closeAttachedSheetToShowProperties() { closeAttachedSheet(); }
  void closeAttachedSheetToShowKamokuList() { closeAttachedSheet(); }
  void closeAttachedSheetToShowJigyoubuList() { closeAttachedSheet(); }

  // --- ledger print accessory
  QWidget* kanjyoumotocyouPrintAccessoryView() const { return accessoryView_; }
  // Numbering per ledger, start page 1.
  void resetKanjyoumotocyouPrintAccessoryView();
  bool doPrintContinuousPageNumberOnKanjyoumotocyou() const;
  void setDoPrintContinuousPageNumberOnKanjyoumotocyou(bool continuous);
  int startPrintPageNumberOnKanjyoumotocyou() const;
  void setStartPrintPageNumberOnKanjyoumotocyou(int number);
  // Row 0 numbering per ledger, row 1 continuous.
  void setKanjyoumotocyouPrintAccessoryViewOnStatePageNumberRadioButtonCellRow(int row, int startPageNumber);

  // --- ledger printing
  // The page-setup panel of the ledger printouts; OK stores it under "Kanjyoumotocyou
  // Print Info".
  void pageSetupForKanjyoumotocyou();
  // --- trial-balance printing from here: the page-setup panel of the trial balance
  // ("ZandakaShisan Print Info"), and the period-to-print sheet on the document's
  // trial-balance window (shown first, made when there is none).
  void pageSetupForZandakaShisan();
  void printZandakaShisanOfSelectedPeriod();
  // Opens the sheet that chooses the accounts (sub-accounts) whose ledgers to print,
  // with nothing chosen, the whole term and numbering per ledger from page 1.
  void selectPluralKamokuThenPrintKanjyoumotocyou();
  void selectPluralHojyoKamokuThenPrintHojyomotocyou();
  // Builds the ledgers of the chosen accounts (sub-accounts) over the sheet's months,
  // leaves out those with nothing to show, and prints or previews them; says so when
  // none is left.
  void printKanjyoumotocyouOfSelectedKamokuInPreviewWindow(bool preview);
  void printHojyomotocyouOfSelectedHojyoKamokuInPreviewWindow(bool preview);
  // The application's commands for printing several ledgers and sub-account balance
  // lists.
  static void installCommandHandlers(AppController* app);

  // --- sub-account balance list printing
  // The page-setup panel of the list; OK stores it under "HojyozandakaIchiran Print
  // Info".
  void pageSetupForHojyozandakaIchiran();
  // Opens the sheet that chooses the accounts, with nothing chosen, the whole company
  // and the whole term.
  void selectPluralKamokuThenPrintHojyozandakaIchiran();
  // Computes the lists of the chosen accounts in one pass (under the progress sheet,
  // which can cancel, for several) and prints them.
  void printHojyozandakaIchiranOfSelectedKamoku();

  static constexpr const char* kStopPrintingTitle = "プリントを中止";
  static constexpr const char* kNoKamokuMessage = "指定した期間中に取引のある勘定科目がありません。";
  static constexpr const char* kNoHojyoKamokuMessage = "指定した期間中に取引のある補助科目科目がありません。";

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  void recomputeUI() override;
  void windowDidBecomeMain() override;

private:
  void printLedgers(const std::vector<std::pair<int32_t, int32_t>>& pairs, int32_t periodFrom, int32_t periodTo,
                    bool preview, const char* noneMessage);
  QPushButton* addCommandButton(Command command, const QString& title);

  QLabel* companyField_ = nullptr;
  QLabel* kindField_ = nullptr;
  QLabel* termField_ = nullptr;
  QLabel* startBalanceField_ = nullptr;
  QPushButton* suitoucyouButton_ = nullptr;
  QMenu* commandMenu_ = nullptr;  // holds the buttons' actions; never shown
  std::vector<std::pair<Command, QPushButton*>> commandButtons_;

  QPointer<QWidget> accessoryView_;
  QRadioButton* perLedgerNumberingButton_ = nullptr;
  QRadioButton* continuousNumberingButton_ = nullptr;
  QSpinBox* startPageNumberField_ = nullptr;
};

}  // namespace kivo

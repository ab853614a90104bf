// The document information window: the hub of a document. It shows the company, its
// kind and its term, whether the opening balances balance, and has a button for every
// window of the document (vouchers, cash books, journal, ledgers, trial balances,
// statements, assets) and for the editors of the company and its master lists. A
// button works once the program has the window behind it (the command has a handler).
// Closing this window closes the document and all its windows.
//
// It also holds what printing several ledgers and the statements needs of it: the
// ledger print accessory (numbering per ledger or continuous, the start page) and the
// page-setup and print entry points, which the printing of each report supplies
// through setPrintEntryHandler.
#pragma once

#include <QPointer>
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

class DocumentInfoController : public WindowController {
  Q_OBJECT
public:
  using Command = MainMenu::Command;

  // The printing operations other windows and the application call on this window.
  enum class PrintEntry {
    PageSetupForKanjyoumotocyou,
    SelectPluralKamokuThenPrintKanjyoumotocyou,
    SelectPluralHojyoKamokuThenPrintHojyomotocyou,
    PrintKanjyoumotocyouOfSelectedKamoku,
    PrintHojyomotocyouOfSelectedHojyoKamoku,
    PageSetupForHojyozandakaIchiran,
    SelectPluralKamokuThenPrintHojyozandakaIchiran,
    PrintHojyozandakaIchiranOfSelectedKamoku,
    SetContentsOfHoukokusyoThenPrintIt,
    PrintHoukokusyo,
    PageSetupForHoukokusyo,
    SetContentsOfKaisyahouHoukokusyoThenPrintIt,
    PrintKaisyahouHoukokusyo,
  };
  // preview: whether a preview was asked for (the ledger printing), else false.
  using PrintEntryHandler = std::function<void(DocumentInfoController& info, bool preview)>;
  static void setPrintEntryHandler(PrintEntry entry, PrintEntryHandler handler);
  static bool hasPrintEntryHandler(PrintEntry entry);

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

  // --- page setup and printing (supplied by the printing of each report)
  void pageSetupForKanjyoumotocyou() { runPrintEntry(PrintEntry::PageSetupForKanjyoumotocyou); }
  void selectPluralKamokuThenPrintKanjyoumotocyou()
  {
    runPrintEntry(PrintEntry::SelectPluralKamokuThenPrintKanjyoumotocyou);
  }
  void selectPluralHojyoKamokuThenPrintHojyomotocyou()
  {
    runPrintEntry(PrintEntry::SelectPluralHojyoKamokuThenPrintHojyomotocyou);
  }
  void printKanjyoumotocyouOfSelectedKamokuInPreviewWindow(bool preview)
  {
    runPrintEntry(PrintEntry::PrintKanjyoumotocyouOfSelectedKamoku, preview);
  }
  void printHojyomotocyouOfSelectedHojyoKamokuInPreviewWindow(bool preview)
  {
    runPrintEntry(PrintEntry::PrintHojyomotocyouOfSelectedHojyoKamoku, preview);
  }
  void pageSetupForHojyozandakaIchiran() { runPrintEntry(PrintEntry::PageSetupForHojyozandakaIchiran); }
  void selectPluralKamokuThenPrintHojyozandakaIchiran()
  {
    runPrintEntry(PrintEntry::SelectPluralKamokuThenPrintHojyozandakaIchiran);
  }
  void printHojyozandakaIchiranOfSelectedKamoku()
  {
    runPrintEntry(PrintEntry::PrintHojyozandakaIchiranOfSelectedKamoku);
  }
  void setContentsOfHoukokusyoThenPrintIt() { runPrintEntry(PrintEntry::SetContentsOfHoukokusyoThenPrintIt); }
  void printHoukokusyo() { runPrintEntry(PrintEntry::PrintHoukokusyo); }
  void pageSetupForHoukokusyo() { runPrintEntry(PrintEntry::PageSetupForHoukokusyo); }
  void setContentsOfKaisyahouHoukokusyoThenPrintIt()
  {
    runPrintEntry(PrintEntry::SetContentsOfKaisyahouHoukokusyoThenPrintIt);
  }
  void printKaisyahouHoukokusyo() { runPrintEntry(PrintEntry::PrintKaisyahouHoukokusyo); }

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  void recomputeUI() override;
  void windowDidBecomeMain() override;

private:
  void runPrintEntry(PrintEntry entry, bool preview = false);
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

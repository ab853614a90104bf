// The document information window: the hub of a document. It shows the company, its
// kind and its term, whether the opening balances balance, and has a button for every
// window of the document (vouchers, cash books, journal, ledgers, trial balances,
// statements, assets) and for the editors of the company and its master lists. A
// button works once the program has the window behind it (the command has a handler).
// Closing this window closes the document and all its windows.
//
// The sheets that choose several ledgers or sub-account lists to print are attached
// to it.
#pragma once

#include <QPointer>
#include <cstdint>
#include <functional>
#include <vector>

#include "document/gui/DocumentWindowController.h"
#include "platform/MainMenu.h"

class QAbstractButton;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kivo {

class DocumentInfoController : public DocumentWindowController {
  Q_OBJECT
public:
  using Command = MainMenu::Command;

  explicit DocumentInfoController(OpenDocument* document);
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

  // --- trial-balance printing from here: the page-setup panel of the trial balance
  // ("ZandakaShisan Print Info"), and the period-to-print sheet on the document's
  // trial-balance window (shown first, made when there is none).
  void pageSetupForZandakaShisan();
  void printZandakaShisanOfSelectedPeriod();
  // Opens the sheet that chooses the accounts (sub-accounts) whose ledgers to print,
  // with nothing chosen, the whole term and numbering per ledger from page 1.
  void selectPluralKamokuThenPrintKanjyoumotocyou();
  void selectPluralHojyoKamokuThenPrintHojyomotocyou();

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

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  void recomputeUI() override;
  void windowDidBecomeMain() override;

private:
  // The steps between documents' information windows: across the cascade
  // (kCascadeRight, kCascadeDown), never along it nor along one of its axes, so that
  // two documents' windows never stand on each other, also where the screen's edge
  // pulls windows of the same size to one column or row; the next row starts half a
  // step right and further down.
  static constexpr QPoint kDocumentStep{94, 12};
  static constexpr QPoint kDocumentRowStep{47, 17};
  // How near two windows' places may come: anywhere, and along one axis.
  static constexpr int kNearby = 8;
  static constexpr int kNearbyAlongAxis = 5;

  QPushButton* addCommandButton(Command command, const QString& title);
  // The first place no other open document's first window stands on and no window
  // of whose cascade would stand on one of another open document's.
  void moveToFirstFreePlace();

  QLabel* companyField_ = nullptr;
  QLabel* kindField_ = nullptr;
  QLabel* termField_ = nullptr;
  QLabel* startBalanceField_ = nullptr;
  QPushButton* suitoucyouButton_ = nullptr;
  QMenu* commandMenu_ = nullptr;  // holds the buttons' actions; never shown
  std::vector<std::pair<Command, QPushButton*>> commandButtons_;
};

}  // namespace kivo

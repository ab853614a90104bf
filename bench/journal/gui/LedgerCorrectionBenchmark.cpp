// A correction typed into a ledger cell of a user's year (99,999 vouchers, 138,959
// lines, every third voucher a cash-book entry of 現金), ended by Return: the time until
// the ledger of 現金 and every window beside it (the journal of every entry, the trial
// balance) show the corrected books. Return shows them before the next key is read.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <memory>

#include "app/DocumentSession.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "model/Shiwake.h"
#include "support/TestBooks.h"
#include "support/TestDocuments.h"
#include "trial/gui/ZandakaShisanController.h"

namespace kivo {
namespace {

using Column = KanjyoumotocyouTableModel::Column;

void settle()
{
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void BM_LedgerCorrectionByReturnShownInEveryWindow(benchmark::State& state)
{
  auto session = std::make_unique<DocumentSession>(test::makeImportedBooks());
  auto* journal = new ShiwakenikkiController(session.get(), true);
  journal->setDoDisplayMarkedShiwakes(false);
  session->addWindowController(journal);
  journal->loadWindowIfNeeded();
  journal->moveWindowToInitialPositionWithDisplay(true);
  ZandakaShisanController::showZandakaShisanWindow(session.get());
  auto* ledger = new KanjyoumotocyouController(session.get());
  session->addWindowController(ledger);
  ledger->loadWindowIfNeeded();
  ledger->moveWindowToInitialPositionWithDisplay(true);
  ledger->setDisplayKamokuCode(test::kGenkin);
  ledger->updateAfterSelectDisplayingKamoku();
  ledger->showWindow();
  QApplication::setActiveWindow(ledger);
  settle();

  // A cash-book entry in the middle of the year.
  int row = ledger->numberOfRowsInTableView() / 2;
  while (row < ledger->numberOfRowsInTableView() &&
         !(ledger->shiwakeOfRow(row) && ledger->shiwakeOfRow(row)->kindOfShiwake() == ShiwakeKind::Suitoucyou))
    ++row;
  const ShiwakePtr entry = ledger->shiwakeOfRow(row);
  if (!entry) {
    state.SkipWithError("no cash-book entry in the ledger");
    return;
  }
  const bool debit = entry->karikataKamokuCode() == test::kGenkin;
  const Column column = debit ? Column::KarikataKingaku : Column::KashikataKingaku;
  int64_t amount = debit ? entry->karikataKingaku() : entry->kashikataKingaku();
  CyouhyouTableView* table = ledger->tableView();
  for (auto _ : state) {
    const int shown = [&] {
      for (int r = 0; r < ledger->numberOfRowsInTableView(); ++r)
        if (ledger->shiwakeOfRow(r) == entry) return r;
      return -1;
    }();
    table->selectRow(shown);
    table->edit(ledger->tableModel()->index(shown, ledger->tableModel()->indexOfColumn(column)));
    auto* editor = table->findChild<QLineEdit*>();
    if (!editor) {
      state.SkipWithError("the cell did not open");
      return;
    }
    amount = amount == 1000 ? 2000 : 1000;
    editor->setText(QString::number(amount));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(editor, &press);
    state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    settle();
  }
  state.counters["ledger rows"] = ledger->numberOfRowsInTableView();
  state.counters["journal rows"] = journal->numberOfShiwakenikkiRows();
  for (DocumentWindowController* w : session->windowControllers()) w->closeWithoutAsking();
  settle();
}
BENCHMARK(BM_LedgerCorrectionByReturnShownInEveryWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace
}  // namespace kivo

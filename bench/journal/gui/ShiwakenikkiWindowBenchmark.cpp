// The journal window over a year of 100,000 entries, every one of them shown: the
// time from asking for the window until its grid has been painted once, offscreen.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <memory>

#include "app/DocumentSession.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "journal/gui/ShiwakenikkiDisplayConditionController.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

constexpr int32_t kBusyKamoku = 100;

// A year of 100,000 entries; every fifth is a receipt of 科目100, which no other
// entry touches, so that its ledger holds 20,000 entries.
DocumentSession& yearOfBooks()
{
  static DocumentSession* session = [] {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 100000;
    auto doc = test::makeGeneratedBooks(size);
    int i = 0;
    for (const ShiwakePtr& s : doc->journal()) {
      if (s->kashikataKamokuCode() == kBusyKamoku) s->setKashikataKamokuCode(kBusyKamoku + 1);
      if (i++ % 5 == 0)
        s->setKarikataKamokuCode(kBusyKamoku);
      else if (s->karikataKamokuCode() == kBusyKamoku)
        s->setKarikataKamokuCode(kBusyKamoku + 1);
    }
    return new DocumentSession(std::move(doc));
  }();
  return *session;
}

// Notes the first paint of a widget.
class FirstPaint : public QObject {
public:
  explicit FirstPaint(QWidget* widget) { widget->installEventFilter(this); }
  bool painted = false;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
};

void waitForPaint(const FirstPaint& paint)
{
  while (!paint.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void closeAndDelete(WindowController* w)
{
  w->closeWithoutAsking();
  for (int i = 0; i < 3; ++i) {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// From the window's creation, with the condition already confirmed and every stage
// off, to the first paint of its grid. The journal's date order is made afresh each
// time, as after a change of the journal.
void BM_OpenJournalWindowEveryEntryShownToFirstPaint(benchmark::State& state)
{
  DocumentSession& session = yearOfBooks();
  size_t rows = 0;
  for (auto _ : state) {
    session.document().journal().replaceAt(0, session.document().journal()[0]);  // a change
    QElapsedTimer timer;
    timer.start();
    // Marked mode left at once: what the condition sheet's OK leaves, without the
    // sheet opening by itself.
    auto* w = new ShiwakenikkiController(&session, true);
    w->setDoDisplayMarkedShiwakes(false);
    session.addWindowController(w);
    w->loadWindowIfNeeded();
    FirstPaint paint(w->shiwakenikkiView()->viewport());
    w->moveWindowToInitialPositionWithDisplay(true);
    waitForPaint(paint);
    state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    rows = static_cast<size_t>(w->numberOfShiwakenikkiRows());
    closeAndDelete(w);
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenJournalWindowEveryEntryShownToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// The user's road: the journal opens with its condition sheet; from OK (every stage
// off) to the first paint of the filled grid.
void BM_ConfirmConditionEveryEntryShownToFirstPaint(benchmark::State& state)
{
  DocumentSession& session = yearOfBooks();
  for (auto _ : state) {
    session.document().journal().replaceAt(0, session.document().journal()[0]);  // a change
    ShiwakenikkiController* w = ShiwakenikkiController::showShiwakenikkiWindow(&session);
    auto* sheet = ShiwakenikkiDisplayConditionController::displayConditionControllerOfDocument(&session);
    while (!sheet->isSheetAttached()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
    FirstPaint paint(w->shiwakenikkiView()->viewport());
    QElapsedTimer timer;
    timer.start();
    sheet->okButton()->click();
    waitForPaint(paint);
    state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    closeAndDelete(w);
  }
}
BENCHMARK(BM_ConfirmConditionEveryEntryShownToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// The ledger window of the account with 20,000 entries, from its creation to the
// first paint of its table.
void BM_OpenLedgerWindowOfBusyAccountToFirstPaint(benchmark::State& state)
{
  DocumentSession& session = yearOfBooks();
  size_t rows = 0;
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    auto* w = new KanjyoumotocyouController(&session);
    session.addWindowController(w);
    w->loadWindowIfNeeded();
    FirstPaint paint(w->tableView()->viewport());
    w->moveWindowToInitialPositionWithDisplay(true);
    w->setDisplayKamokuCode(kBusyKamoku);
    w->updateAfterSelectDisplayingKamoku();
    waitForPaint(paint);
    state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    rows = static_cast<size_t>(w->numberOfRowsInTableView());
    closeAndDelete(w);
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenLedgerWindowOfBusyAccountToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo

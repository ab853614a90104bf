// The monthly trial-balance window over a year of 100,000 entries, 300 accounts and
// 5 divisions: the time from asking for the window until its table has been painted
// once, offscreen, with the monthly sums posted afresh.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include "app/DocumentSession.h"
#include "trial/TrialBooks.h"
#include "trial/gui/SuiiShisanController.h"

namespace kivo {
namespace {

DocumentSession& yearOfBooks()
{
  static DocumentSession* session = [] {
    test::GeneratedTrialBooksSize size;
    size.shiwakeCount = 100000;
    size.kamokuCount = 300;
    size.jigyoubuCount = 5;
    return new DocumentSession(test::makeGeneratedTrialBooks(test::ChartKind::HoujinKaisyahou, true, size, 3));
  }();
  return *session;
}

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

// After a change of the journal: sorted afresh, posted, built, shown and painted.
void BM_OpenSuiiShisanWindowToFirstPaint(benchmark::State& state)
{
  DocumentSession& session = yearOfBooks();
  size_t rows = 0;
  for (auto _ : state) {
    session.document().makeAllOutputWindowDisplayArrayVoid();
    QElapsedTimer timer;
    timer.start();
    auto* w = new SuiiShisanController(&session);
    session.addWindowController(w);
    w->loadWindowIfNeeded();
    FirstPaint paint(w->taisyakuTaisyouTableView()->viewport());
    w->moveWindowToInitialPositionWithDisplay(true);
    w->showWindow();
    w->setInitialContentsThenDisplay();
    while (!paint.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
    state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    rows = w->suiiShisan().taisyakuTaisyouShisanArray().size() + w->suiiShisan().sonekiKeisanShisanArray().size();
    w->closeWithoutAsking();
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenSuiiShisanWindowToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo

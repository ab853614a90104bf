// Writing the whole journal of a year of 100,000 entries as a PDF file on A4
// portrait, offscreen: the time and the page count.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "document/MyDocument.h"
#include "journal/gui/ShiwakenikkiPrintView.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

void BM_WriteWholeJournalAsPdf(benchmark::State& state)
{
  test::GeneratedBooksSize size;
  size.shiwakeCount = 100000;
  auto doc = test::makeGeneratedBooks(size);
  QTemporaryDir dir;
  const QPageLayout layout = PrintInfo::defaultPageLayout();
  auto view = ShiwakenikkiPrintView::create(*doc, layout, doc->journal().sortedByDate());
  int pages = 0;
  for (auto _ : state) {
    PrintOperation::writePdf(dir.filePath("journal.pdf"), *view, layout);
    pages = view->pageCount();
  }
  state.counters["pages"] = pages;
  state.counters["MB"] = QFileInfo(dir.filePath("journal.pdf")).size() / 1e6;
}
BENCHMARK(BM_WriteWholeJournalAsPdf)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace kivo

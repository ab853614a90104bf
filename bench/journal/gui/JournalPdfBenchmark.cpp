// Writing printouts as PDF files on A4 portrait, offscreen: the whole journal of a
// year of 100,000 entries; and, of books the size of a year's import (138,959 lines
// in 99,999 vouchers, each voucher with a description of its own), the whole journal
// and the general ledgers of every account (300) printed together, under the
// document's progress sheet as a window prints them. The time, the page count and the
// file's size.
//
// KIVO_BENCH_PDF_DIR names a folder to keep the files in (to compare the pages of two
// builds); otherwise they go to a temporary folder.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/DocumentSession.h"
#include "document/MyDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/gui/KanjyoumotocyouPrintView.h"
#include "journal/gui/ShiwakenikkiPrintView.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

DocumentSession& yearOfBooks()
{
  static DocumentSession* session = [] {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 100000;
    return new DocumentSession(test::makeGeneratedBooks(size));
  }();
  return *session;
}

DocumentSession& importedBooks()
{
  static DocumentSession* session = [] {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 138959;
    size.denpyouCount = 99999;
    auto doc = test::makeGeneratedBooks(size);
    for (const ShiwakePtr& s : doc->journal()) s->setTekiyou("㈱髙橋商店 ①" + std::to_string(s->denpyouNo()));
    doc->journal().sortedByDate();
    return new DocumentSession(std::move(doc));
  }();
  return *session;
}

QString pdfPath(const QTemporaryDir& temporary, const char* name)
{
  const QString kept = qEnvironmentVariable("KIVO_BENCH_PDF_DIR");
  return kept.isEmpty() ? temporary.filePath(name) : QDir(kept).filePath(name);
}

void writePdf(benchmark::State& state, const char* name, Printout& view, const QPageLayout& layout,
              DocumentSession* progressSheetOf)
{
  QTemporaryDir dir;
  const QString path = pdfPath(dir, name);
  for (auto _ : state) {
    if (progressSheetOf) {
      PrintProgressSheet sheet(progressSheetOf, nullptr);
      PrintOperation::writePdf(path, view, layout, sheet.progress());
    } else {
      PrintOperation::writePdf(path, view, layout);
    }
  }
  state.counters["pages"] = view.pageCount();
  state.counters["MB"] = QFileInfo(path).size() / 1e6;
}

void BM_WriteWholeJournalAsPdf(benchmark::State& state)
{
  const MyDocument& doc = yearOfBooks().document();
  const QPageLayout layout = PrintInfo::defaultPageLayout();
  auto view = ShiwakenikkiPrintView::create(doc, layout, doc.journal().sortedByDate());
  writePdf(state, "journal.pdf", *view, layout, nullptr);
}
BENCHMARK(BM_WriteWholeJournalAsPdf)->Unit(benchmark::kSecond)->Iterations(1);

void BM_WriteWholeJournalOfImportedBooksAsPdf(benchmark::State& state)
{
  DocumentSession& session = importedBooks();
  const MyDocument& doc = session.document();
  const QPageLayout layout = PrintInfo::defaultPageLayout();
  auto view = ShiwakenikkiPrintView::create(doc, layout, doc.journal().sortedByDate());
  writePdf(state, "imported-journal.pdf", *view, layout, &session);
}
BENCHMARK(BM_WriteWholeJournalOfImportedBooksAsPdf)->Unit(benchmark::kSecond)->Iterations(1);

// The rows as the document information window makes them for its ledger printing.
void BM_WriteEveryLedgerOfImportedBooksAsPdf(benchmark::State& state)
{
  DocumentSession& session = importedBooks();
  const MyDocument& doc = session.document();
  const int32_t monthCount = static_cast<int32_t>(doc.kaisya().monthArray().size());
  std::vector<Kanjyoumotocyou::KamokuCodes> codes;
  for (const KamokuPtr& k : doc.codeSortedKamokuArray()) codes.push_back({k->code(), -1});
  std::vector<Motocyou> rows;
  Kanjyoumotocyou::setKanjyoumotocyouArray(doc, rows, codes, 0, monthCount);
  Kanjyoumotocyou::removeLedgersWithoutTorihiki(rows);
  const QPageLayout layout = PrintInfo::defaultPageLayout();
  auto view = KanjyoumotocyouPrintView::create(doc, layout, rows, 0, monthCount, {});
  writePdf(state, "imported-ledgers.pdf", *view, layout, &session);
}
BENCHMARK(BM_WriteEveryLedgerOfImportedBooksAsPdf)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace kivo

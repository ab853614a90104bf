// The journal text file in code page 932: importing 139,000 lines into an empty
// document and into one that already holds 100,000 entries, and exporting 100,000
// entries (bytes in memory, the encoding included). Then the import as a user runs
// it: the application's command reads a user's year (99,999 vouchers of 138,959
// lines, cash-book entries among them) from a file under its progress sheet.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>

#include "app/DocumentSession.h"
#include "journal/ShiwakeTextReader.h"
#include "journal/ShiwakeTextWriter.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "platform/AlertSheet.h"
#include "platform/FilePanel.h"
#include "platform/ShiftJisEncoder.h"
#include "support/TestBooks.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

// The file of test::makeJournalText in code page 932.
std::string journalFile(int lineCount, int voucherCount, int bookEvery = 0, int tekiyouCount = 0)
{
  std::string bytes;
  if (!ShiftJisEncoder::encode(test::makeJournalText(lineCount, voucherCount, bookEvery, tekiyouCount), bytes))
    std::abort();
  return bytes;
}

std::unique_ptr<MyDocument> emptyBooks() { return test::makeBooks({.hojyoKamoku = true, .jigyoubu = true}); }

void importOrAbort(MyDocument& doc, const std::string& file)
{
  const ShiwakeTextReader::Result r = ShiwakeTextReader::importShiwake(doc, file, &ShiftJisEncoder::decode);
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.message.c_str());
    std::abort();
  }
}

void BM_Import139000LinesIntoAnEmptyDocument(benchmark::State& state)
{
  // 99,999 vouchers: the counter's last number.
  static const std::string file = journalFile(139000, 99999);
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = emptyBooks();
    state.ResumeTiming();
    importOrAbort(*doc, file);
    benchmark::DoNotOptimize(doc->journal().size());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Import139000LinesIntoAnEmptyDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Import139000LinesIntoADocumentOf100000Entries(benchmark::State& state)
{
  // The document's 100,000 entries take 50,000 numbers; the file's vouchers the rest.
  static const std::string held = journalFile(100000, 50000);
  static const std::string file = journalFile(139000, 49999);
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = emptyBooks();
    importOrAbort(*doc, held);
    state.ResumeTiming();
    importOrAbort(*doc, file);
    benchmark::DoNotOptimize(doc->journal().size());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Import139000LinesIntoADocumentOf100000Entries)->Unit(benchmark::kMillisecond)->Iterations(5);

// From the command to the journal holding every line: the file read, decoded and
// checked, the entries merged, the progress sheet shown and updated, over the
// document's information window.
void BM_ImportAUsersYearThroughTheCommand(benchmark::State& state)
{
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("year.txt"));
  const test::ImportedBooksSize year;
  {
    const std::string bytes = journalFile(year.lineCount, year.voucherCount, year.bookEvery, year.tekiyouCount);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0) std::abort();
  }
  FilePanel::setResponderForTesting([&](FilePanel::Kind, const QString&, QWidget*) { return path; });
  AlertSheet::setResponderForTesting([&](const AlertSheet::Alert& alert) {
    state.SkipWithError(alert.text.toStdString().c_str());
    return 0;
  });
  for (auto _ : state) {
    state.PauseTiming();
    auto* session = new DocumentSession(emptyBooks());
    session->showDocumentInfoWindow();
    QApplication::processEvents();
    state.ResumeTiming();
    ShiwakenikkiController::importShiwakeFromTextFile(session);
    if (session->document().journal().size() != static_cast<size_t>(year.lineCount))
      state.SkipWithError("not every line imported");
    state.PauseTiming();
    delete session;
    QApplication::processEvents();
    state.ResumeTiming();
  }
  FilePanel::setResponderForTesting({});
  AlertSheet::setResponderForTesting({});
}
BENCHMARK(BM_ImportAUsersYearThroughTheCommand)->Unit(benchmark::kMillisecond)->Iterations(7)->UseRealTime();

void BM_Export100000Entries(benchmark::State& state)
{
  static const std::unique_ptr<MyDocument> doc = [] {
    auto d = emptyBooks();
    importOrAbort(*d, journalFile(100000, 50000));
    return d;
  }();
  const Journal::Entries shown = doc->journal().entries();
  const ShiwakeTextWriter writer(*doc, ShiwakeTextWriter::Kugiri::Tab, false);
  std::string data;
  for (auto _ : state) {
    if (!writer.encode(shown, ShiftJisEncoder::encoder(), {}, data).ok()) std::abort();
    benchmark::DoNotOptimize(data.size());
  }
}
BENCHMARK(BM_Export100000Entries)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace kivo

// A year of books: 100,000 journal entries, 300 accounts, 5 divisions, 50 sub-accounts;
// and the books a user's import makes (99,999 vouchers of 138,959 lines, cash-book
// entries among them, the journal in two date-ordered runs as earlier versions
// stored it).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "document/DocumentFile.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

const MyDocument& yearOfBooks()
{
  static const auto doc = [] {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 100000;
    return test::makeGeneratedBooks(size);
  }();
  return *doc;
}

// A fresh copy of the imported books, read back from their file's bytes.
std::unique_ptr<MyDocument> importedYear()
{
  static const std::string data =
      DocumentFile::dataOfDocument(*test::makeImportedBooks({.cashBookEntriesFirst = true}));
  return DocumentFile::documentFromData(data, nullptr);
}

std::string benchPath()
{
  return (std::filesystem::temp_directory_path() / ("kivo-bench-" + std::to_string(::getpid()) + ".kivo")).string();
}

void BM_SaveDocument(benchmark::State& state)
{
  const MyDocument& doc = yearOfBooks();
  const std::string path = benchPath();
  for (auto _ : state) {
    const DocumentFile::Result r = DocumentFile::writeToFile(doc, path);
    if (!r.ok()) state.SkipWithError(r.detail.c_str());
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_OpenDocument(benchmark::State& state)
{
  const std::string path = benchPath();
  DocumentFile::writeToFile(yearOfBooks(), path);
  for (auto _ : state) {
    DocumentFile::Result r;
    auto doc = DocumentFile::readFromFile(path, &r);
    if (!doc) state.SkipWithError(r.detail.c_str());
    benchmark::DoNotOptimize(doc);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

void setSortedShiwakeArray(benchmark::State& state, MyDocument& doc)
{
  for (auto _ : state) {
    doc.journal().entryDidChange(doc.journal()[0].get());  // a change the view does not follow: made again
    benchmark::DoNotOptimize(doc.journal().sortedByDate().data());
  }
}

void BM_SetSortedShiwakeArray(benchmark::State& state)
{
  auto doc = DocumentFile::documentFromData(DocumentFile::dataOfDocument(yearOfBooks()), nullptr);
  setSortedShiwakeArray(state, *doc);
}
BENCHMARK(BM_SetSortedShiwakeArray)->Unit(benchmark::kMillisecond);

void BM_SetSortedShiwakeArrayOfImportedYear(benchmark::State& state) { setSortedShiwakeArray(state, *importedYear()); }
BENCHMARK(BM_SetSortedShiwakeArrayOfImportedYear)->Unit(benchmark::kMillisecond);

void BM_InsertFurikaedenpyouShiwake(benchmark::State& state)
{
  auto doc = DocumentFile::documentFromData(DocumentFile::dataOfDocument(yearOfBooks()), nullptr);
  auto entry = std::make_shared<Shiwake>();
  entry->setDenpyouNo(60000);
  entry->setDate(Date(2024, 10, 15));
  doc->journal().append(entry);
  int i = 0;
  for (auto _ : state) {
    // Move the entry to another day each time: take out, find the place, put in.
    entry->setDate(Date(2024, 4, 1).addingDays((i++ * 37) % 365));
    doc->journal().registerVoucher(60000, entry->date(), {entry});
  }
}
BENCHMARK(BM_InsertFurikaedenpyouShiwake)->Unit(benchmark::kMicrosecond);

// A registration as the windows see it: the voucher goes in, then the ledgers and the
// journal window read the date-sorted view.
void registerAndReadSortedView(benchmark::State& state, MyDocument& doc)
{
  Journal& journal = doc.journal();
  benchmark::DoNotOptimize(journal.sortedByDate().data());
  int i = 0;
  for (auto _ : state) {
    const Date date = Date(2024, 4, 1).addingDays((i++ * 37) % 365);
    auto entry = std::make_shared<Shiwake>();
    entry->setDenpyouNo(60000);
    entry->setDate(date);
    benchmark::DoNotOptimize(journal.entriesOfDenpyouNo(60000).size());  // the registrar's check
    journal.registerVoucher(60000, date, {entry});
    benchmark::DoNotOptimize(journal.sortedByDate().data());
  }
}

void BM_RegisterAndReadSortedView(benchmark::State& state)
{
  auto doc = DocumentFile::documentFromData(DocumentFile::dataOfDocument(yearOfBooks()), nullptr);
  registerAndReadSortedView(state, *doc);
}
BENCHMARK(BM_RegisterAndReadSortedView)->Unit(benchmark::kMicrosecond);

void BM_RegisterAndReadSortedViewOfImportedYear(benchmark::State& state)
{
  registerAndReadSortedView(state, *importedYear());
}
BENCHMARK(BM_RegisterAndReadSortedViewOfImportedYear)->Unit(benchmark::kMicrosecond);

// A registered transfer voucher of several lines, in the middle of the term, moved to
// another day as the voucher window registers it: new entries of the new date take
// the place of the old ones. The argument is how many days each move goes on (round
// the term): a move costs with the entries it passes.
void BM_MoveVoucherOfImportedYear(benchmark::State& state)
{
  auto doc = importedYear();
  Journal& journal = doc->journal();
  int32_t n = 60000;
  while (journal.entriesOfDenpyouNo(n).size() < 2) ++n;
  Journal::Entries lines = journal.entriesOfDenpyouNo(n);
  benchmark::DoNotOptimize(journal.sortedByDate().data());
  int i = 0;
  for (auto _ : state) {
    const Date date = Date(2024, 4, 1).addingDays(static_cast<int>((i++ * state.range(0)) % 365));
    for (ShiwakePtr& s : lines) {
      s = std::make_shared<Shiwake>(*s);
      s->setDate(date);
    }
    journal.registerVoucher(n, date, lines);
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_MoveVoucherOfImportedYear)->Unit(benchmark::kMicrosecond)->Arg(1)->Arg(37);

}  // namespace
}  // namespace kivo

// A year of books: 100,000 journal entries, 300 accounts, 5 divisions, 50 sub-accounts.
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

void BM_SetSortedShiwakeArray(benchmark::State& state)
{
  auto doc = DocumentFile::documentFromData(DocumentFile::dataOfDocument(yearOfBooks()), nullptr);
  for (auto _ : state) {
    doc->journal().mergeNewEntries({}, {});  // a change the view does not follow: made again
    benchmark::DoNotOptimize(doc->journal().sortedByDate().data());
  }
}
BENCHMARK(BM_SetSortedShiwakeArray)->Unit(benchmark::kMillisecond);

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
void BM_RegisterAndReadSortedView(benchmark::State& state)
{
  auto doc = DocumentFile::documentFromData(DocumentFile::dataOfDocument(yearOfBooks()), nullptr);
  Journal& journal = doc->journal();
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
BENCHMARK(BM_RegisterAndReadSortedView)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kivo

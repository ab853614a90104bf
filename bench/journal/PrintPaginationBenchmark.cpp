// Paginating a year of 100,000 entries: the journal printout's pages, and the pages
// of the ledgers of every account (300) printed together.
#include <benchmark/benchmark.h>

#include "journal/Kanjyoumotocyou.h"
#include "journal/KanjyoumotocyouPaginator.h"
#include "journal/ShiwakenikkiPaginator.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

MyDocument& yearOfBooks()
{
  static const auto doc = [] {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 100000;
    auto d = test::makeGeneratedBooks(size);
    return d;
  }();
  return *doc;
}

void BM_PaginateWholeJournal(benchmark::State& state)
{
  MyDocument& doc = yearOfBooks();
  const size_t entries = doc.journal().sortedByDate().size();
  int pages = 0;
  for (auto _ : state) {
    // A4 with the fonts of a full table: 20 entries a page.
    const ShiwakenikkiPaginator p(entries, 20);
    size_t drawn = 0;
    for (int page = 0; page < p.pageCount(); ++page) drawn += p.rowsOfPage(page).size();
    pages = p.pageCount();
    benchmark::DoNotOptimize(drawn);
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_PaginateWholeJournal)->Unit(benchmark::kMillisecond);

void BM_PaginateLedgersOfEveryAccount(benchmark::State& state)
{
  MyDocument& doc = yearOfBooks();
  const int32_t monthCount = static_cast<int32_t>(doc.kaisya().monthArray().size());
  std::vector<Kanjyoumotocyou::KamokuCodes> codes;
  for (const KamokuPtr& k : doc.codeSortedKamokuArray()) codes.push_back({k->code(), -1});
  std::vector<Motocyou> rows;
  Kanjyoumotocyou::setKanjyoumotocyouArray(doc, rows, codes, 0, monthCount);
  int pages = 0;
  for (auto _ : state) {
    const KanjyoumotocyouPaginator p(doc, rows, 50);
    pages = p.pageCount();
    benchmark::DoNotOptimize(p.printingMotocyouArray().data());
  }
  state.counters["rows"] = static_cast<double>(rows.size());
  state.counters["pages"] = pages;
}
BENCHMARK(BM_PaginateLedgersOfEveryAccount)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo

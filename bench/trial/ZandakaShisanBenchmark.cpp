// The trial balance of the whole company for the whole term, recomputed from a
// journal of 100,000 entries over 300 accounts and 5 divisions.
#include <benchmark/benchmark.h>

#include "trial/TrialBooks.h"
#include "trial/ZandakaShisanAssembly.h"

namespace {

using namespace kivo;

std::unique_ptr<MyDocument> makeBooks()
{
  test::GeneratedTrialBooksSize size;
  size.shiwakeCount = 100000;
  size.kamokuCount = 300;
  size.jigyoubuCount = 5;
  auto doc = test::makeGeneratedTrialBooks(test::ChartKind::HoujinKaisyahou, true, size, 3);
  doc->journal().sortedByDate();
  return doc;
}

int32_t wholeTerm(const MyDocument& doc) { return static_cast<int32_t>(doc.kaisya().monthArray().size()); }

// After a change of the journal: the journal walked again, the sections rebuilt.
void BM_ZandakaShisanWholeCompanyWholeTerm(benchmark::State& state)
{
  auto doc = makeBooks();
  ZandakaShisanAssembly assembly(*doc);
  for (auto _ : state) {
    doc->makeAllOutputWindowDisplayArrayVoid();
    assembly.setZandakaShisanArrayForJigyoubuCode(99, 0, wholeTerm(*doc), false);
    benchmark::DoNotOptimize(assembly.taisyakuTaisyouShisanArray().data());
  }
  state.counters["accounts"] = static_cast<double>(doc->codeSortedKamokuArray().size());
}
BENCHMARK(BM_ZandakaShisanWholeCompanyWholeTerm)->Unit(benchmark::kMillisecond);

// The same with the journal's date order rebuilt first, as after an edit.
void BM_ZandakaShisanWholeCompanyWholeTermWithSort(benchmark::State& state)
{
  auto doc = makeBooks();
  ZandakaShisanAssembly assembly(*doc);
  for (auto _ : state) {
    doc->journal().replaceAt(0, doc->journal()[0]);  // a change: the sorted view is stale
    doc->makeAllOutputWindowDisplayArrayVoid();
    assembly.setZandakaShisanArrayForJigyoubuCode(99, 0, wholeTerm(*doc), false);
    benchmark::DoNotOptimize(assembly.taisyakuTaisyouShisanArray().data());
  }
}
BENCHMARK(BM_ZandakaShisanWholeCompanyWholeTermWithSort)->Unit(benchmark::kMillisecond);

// Sums still current (the window becoming main again): the sections alone.
void BM_ZandakaShisanSectionsOnly(benchmark::State& state)
{
  auto doc = makeBooks();
  ZandakaShisanAssembly assembly(*doc);
  assembly.setZandakaShisanArrayForJigyoubuCode(99, 0, wholeTerm(*doc), false);
  for (auto _ : state) {
    assembly.setZandakaShisanArrayForJigyoubuCode(99, 0, wholeTerm(*doc), false);
    benchmark::DoNotOptimize(assembly.taisyakuTaisyouShisanArray().data());
  }
}
BENCHMARK(BM_ZandakaShisanSectionsOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

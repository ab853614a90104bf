// The monthly trial balance of the whole company, recomputed from a journal of
// 100,000 entries over 300 accounts and 5 divisions.
#include <benchmark/benchmark.h>

#include "trial/SuiiShisan.h"
#include "trial/TrialBooks.h"

namespace {

using namespace kivo;

std::unique_ptr<MyDocument> makeBooks()
{
  test::GeneratedTrialBooksSize size;
  size.shiwakeCount = 100000;
  size.kamokuCount = 300;
  size.jigyoubuCount = 5;
  auto doc = test::makeGeneratedTrialBooks(test::ChartKind::HoujinKaisyahou, true, size, 3);
  doc->setSortedShiwakeArray();
  return doc;
}

// After a change of the journal: the monthly sums posted again, the sections rebuilt.
void BM_SuiiShisanWholeCompany(benchmark::State& state)
{
  auto doc = makeBooks();
  SuiiShisan suiiShisan(*doc);
  for (auto _ : state) {
    doc->makeAllOutputWindowDisplayArrayVoid();
    suiiShisan.setSuiiShisanArryForJigyoubuCode(99, true);
    benchmark::DoNotOptimize(suiiShisan.taisyakuTaisyouShisanArray().data());
  }
  state.counters["accounts"] = static_cast<double>(doc->codeSortedKamokuArray().size());
}
BENCHMARK(BM_SuiiShisanWholeCompany)->Unit(benchmark::kMillisecond);

// Sums still current (another division shown): the sections alone.
void BM_SuiiShisanSectionsOnly(benchmark::State& state)
{
  auto doc = makeBooks();
  SuiiShisan suiiShisan(*doc);
  suiiShisan.setSuiiShisanArryForJigyoubuCode(99, true);
  for (auto _ : state) {
    suiiShisan.setSuiiShisanArryForJigyoubuCode(99, true);
    benchmark::DoNotOptimize(suiiShisan.taisyakuTaisyouShisanArray().data());
  }
}
BENCHMARK(BM_SuiiShisanSectionsOnly)->Unit(benchmark::kMillisecond);

}  // namespace

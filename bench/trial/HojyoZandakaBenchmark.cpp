// The sub-account balance lists of every account with sub-accounts, for the whole
// company over the whole term, from a journal of 100,000 entries (in one pass).
#include <benchmark/benchmark.h>

#include "trial/HojyoZandaka.h"
#include "trial/HojyoZandakaBooks.h"

namespace {

using namespace kivo;

void BM_HojyoZandakaEveryAccountWithSubAccounts(benchmark::State& state)
{
  test::GeneratedTrialBooksSize size;
  size.shiwakeCount = 100000;
  size.kamokuCount = 300;
  size.jigyoubuCount = 5;
  auto doc = test::makeGeneratedTrialBooks(test::ChartKind::HoujinKaisyahou, true, size, 3);
  const std::vector<KamokuPtr> accounts = test::addHojyoKamokuToGeneratedBooks(*doc);
  std::vector<HojyoZandaka::KamokuCodes> codes;
  for (const KamokuPtr& k : accounts) codes.push_back({static_cast<int32_t>(state.range(0)), k->code()});
  const int32_t months = static_cast<int32_t>(doc->kaisya().monthArray().size());
  size_t rows = 0;
  for (auto _ : state) {
    const auto list = HojyoZandaka::hojyoZandakaArray(*doc, codes, 0, months);
    rows = list->size();
    benchmark::DoNotOptimize(list->data());
  }
  state.counters["accounts"] = static_cast<double>(accounts.size());
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_HojyoZandakaEveryAccountWithSubAccounts)->Arg(99)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

// Crafted files that pass the checksum must be opened or refused in time linear in
// their size: a million opening balances of one account.
#include <benchmark/benchmark.h>

#include "document/DocumentFile.h"
#include "support/CraftedDocumentFile.h"

namespace kivo {
namespace {

void BM_OpenMillionOpeningBalances(benchmark::State& state)
{
  const std::string file = test::fileWithOpeningBalances(1000000, state.range(0) != 0);
  for (auto _ : state) {
    DocumentFile::Result r;
    auto doc = DocumentFile::documentFromData(file, &r);
    benchmark::DoNotOptimize(doc);
  }
  state.counters["bytes"] = static_cast<double>(file.size());
}
// 0: a million distinct divisions (opens); 1: one division a million times (refused).
BENCHMARK(BM_OpenMillionOpeningBalances)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo

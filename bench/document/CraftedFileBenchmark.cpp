// Crafted files that pass the checksum must be opened or refused in time linear in
// their size, and what opens must be reported on in time and memory that follow
// its figures: a million opening balances.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <fstream>
#include <string>

#include "assets/KurikoshiZandaka.h"
#include "document/DocumentFile.h"
#include "support/CraftedDocumentFile.h"
#include "trial/ZandakaShisanAssembly.h"

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
// 0: a million balances over a hundred accounts, their sub-accounts and 99 divisions
// (opens); 1: one division a million times in one list (refused).
BENCHMARK(BM_OpenMillionOpeningBalances)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The process's resident memory in MiB: its peak since the last reset, or now.
double residentMiB(const char* field)
{
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(line.find(':') + 1)) / 1024.0;
  return 0;
}
// Hands freed memory back first, so that the peak counts only what is used after it.
void resetPeakResident()
{
  ::malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

// The trial balance (0) and the carry-forward's closing balances (1) of a million
// opening balances, 96 of whose 99 divisions the document lacks. "peakMiB" is the
// most the process held while they ran beyond what the open document holds.
void BM_ReportsOfMillionOpeningBalances(benchmark::State& state)
{
  DocumentFile::Result r;
  const auto doc = DocumentFile::documentFromData(test::fileWithOpeningBalances(1000000), &r);
  if (!doc) {
    state.SkipWithError(r.detail.c_str());
    return;
  }
  ZandakaShisanAssembly assembly(*doc);
  const auto wholeTerm = static_cast<int32_t>(doc->kaisya().monthArray().size());
  resetPeakResident();
  const double before = residentMiB("VmRSS:");
  for (auto _ : state) {
    if (state.range(0) == 0) {
      doc->makeAllOutputWindowDisplayArrayVoid();
      assembly.setZandakaShisanArrayForJigyoubuCode(99, 0, wholeTerm, false);
      benchmark::DoNotOptimize(assembly.taisyakuTaisyouShisanArray().data());
    } else {
      benchmark::DoNotOptimize(KurikoshiZandaka::compute(*doc));
    }
  }
  state.counters["peakMiB"] = residentMiB("VmHWM:") - before;
  state.counters["documentMiB"] = before;
}
BENCHMARK(BM_ReportsOfMillionOpeningBalances)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo

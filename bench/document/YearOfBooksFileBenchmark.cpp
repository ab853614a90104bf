// The document file of a year of books as a user has them: 100,000 vouchers of
// 139,000 journal lines over 300 accounts, 50 sub-accounts and 5 divisions, opened,
// saved, and opened with its whole-company trial balance computed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "document/DocumentFile.h"
#include "support/TestDocuments.h"
#include "trial/ZandakaShisanAssembly.h"

namespace kivo {
namespace {

const MyDocument& yearOfVouchers()
{
  static const auto doc = [] {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 139000;
    size.denpyouCount = 100000;
    return test::makeGeneratedBooks(size);
  }();
  return *doc;
}

// In a folder of its own, as a user keeps the year's books: opening looks through the
// document's folder for temporaries left by a save that never finished, and the
// shared temporary folder may hold thousands of files.
struct SavedYear {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / ("kivo-year-" + std::to_string(::getpid()));
  std::string path = (folder / "year.kivo").string();
  SavedYear()
  {
    std::filesystem::create_directory(folder);
    DocumentFile::writeToFile(yearOfVouchers(), path);
  }
  ~SavedYear() { std::filesystem::remove_all(folder); }
};

void BM_OpenYearOfVouchers(benchmark::State& state)
{
  SavedYear file;
  for (auto _ : state) {
    DocumentFile::Result r;
    auto doc = DocumentFile::readFromFile(file.path, &r);
    if (!doc) state.SkipWithError(r.detail.c_str());
    benchmark::DoNotOptimize(doc);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file.path));
}
BENCHMARK(BM_OpenYearOfVouchers)->Unit(benchmark::kMillisecond);

void BM_SaveYearOfVouchers(benchmark::State& state)
{
  SavedYear file;
  for (auto _ : state) {
    const DocumentFile::Result r = DocumentFile::writeToFile(yearOfVouchers(), file.path);
    if (!r.ok()) state.SkipWithError(r.detail.c_str());
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file.path));
}
BENCHMARK(BM_SaveYearOfVouchers)->Unit(benchmark::kMillisecond);

void BM_OpenYearOfVouchersAndTrialBalance(benchmark::State& state)
{
  SavedYear file;
  for (auto _ : state) {
    DocumentFile::Result r;
    auto doc = DocumentFile::readFromFile(file.path, &r);
    if (!doc) state.SkipWithError(r.detail.c_str());
    ZandakaShisanAssembly assembly(*doc);
    assembly.setZandakaShisanArrayForJigyoubuCode(99, 0, static_cast<int32_t>(doc->kaisya().monthArray().size()),
                                                  false);
    benchmark::DoNotOptimize(assembly.taisyakuTaisyouShisanArray().data());
  }
}
BENCHMARK(BM_OpenYearOfVouchersAndTrialBalance)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo

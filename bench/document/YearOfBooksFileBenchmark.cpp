// The document file of a year of books as a user has them: 99,999 vouchers (as many
// as a term numbers) of 139,000 journal lines over 300 accounts, 50 sub-accounts and
// 5 divisions, opened, saved, and opened with its whole-company trial balance
// computed; a file four times that size (556,000 lines in the 99,999 vouchers a term
// allows), opened. Then the books a user's import makes (cash-book entries among the
// transfer vouchers, the journal in two date-ordered runs as earlier versions stored
// it), freshly written: opened with the trial balance in this process, and by
// kivo_trial_balance as a whole process.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
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
    size.denpyouCount = 99999;
    return test::makeGeneratedBooks(size);
  }();
  return *doc;
}

const MyDocument& importedYear()
{
  static const auto doc = test::makeImportedBooks({.cashBookEntriesFirst = true});
  return *doc;
}

// In a folder of its own, as a user keeps the year's books: opening looks through the
// document's folder for temporaries left by a save that never finished, and the
// shared temporary folder may hold thousands of files.
struct SavedYear {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / ("kivo-year-" + std::to_string(::getpid()));
  std::string path = (folder / "year.kivo").string();
  explicit SavedYear(const MyDocument& doc = yearOfVouchers())
  {
    std::filesystem::create_directory(folder);
    DocumentFile::writeToFile(doc, path);
  }
  ~SavedYear() { std::filesystem::remove_all(folder); }
};

void openRepeatedly(benchmark::State& state, const SavedYear& file)
{
  for (auto _ : state) {
    DocumentFile::Result r;
    auto doc = DocumentFile::readFromFile(file.path, &r);
    if (!doc) state.SkipWithError(r.detail.c_str());
    benchmark::DoNotOptimize(doc);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file.path));
}

void BM_OpenYearOfVouchers(benchmark::State& state)
{
  SavedYear file;
  openRepeatedly(state, file);
}
BENCHMARK(BM_OpenYearOfVouchers)->Unit(benchmark::kMillisecond);

// Four times a year's lines in one file (18 MB): more than is read whole at once, so its
// checksum is checked in blocks before the body is read into memory of its size.
void BM_OpenFourYearsOfLines(benchmark::State& state)
{
  static const auto books = [] {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 4 * 139000;
    size.denpyouCount = 99999;
    return test::makeGeneratedBooks(size);
  }();
  SavedYear file(*books);
  openRepeatedly(state, file);
}
BENCHMARK(BM_OpenFourYearsOfLines)->Unit(benchmark::kMillisecond);

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

void openAndTrialBalance(benchmark::State& state, const MyDocument& books)
{
  SavedYear file(books);
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

void BM_OpenYearOfVouchersAndTrialBalance(benchmark::State& state) { openAndTrialBalance(state, yearOfVouchers()); }
BENCHMARK(BM_OpenYearOfVouchersAndTrialBalance)->Unit(benchmark::kMillisecond);

void BM_OpenImportedYearAndTrialBalance(benchmark::State& state) { openAndTrialBalance(state, importedYear()); }
BENCHMARK(BM_OpenImportedYearAndTrialBalance)->Unit(benchmark::kMillisecond);

// The whole process, from its start to its exit: kivo_trial_balance on the file.
void BM_TrialBalanceProcessOnImportedYear(benchmark::State& state)
{
  SavedYear file(importedYear());
  std::string program = KIVO_TRIAL_BALANCE_PATH;
  std::vector<char*> argv{program.data(), file.path.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0 || ::waitpid(pid, &status, 0) < 0 ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0)
      state.SkipWithError("kivo_trial_balance failed");
  }
  posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_TrialBalanceProcessOnImportedYear)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kivo

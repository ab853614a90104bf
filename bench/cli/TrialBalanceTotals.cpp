// kivo_trial_balance FILE: opens a document and prints its whole-company trial
// balance for the whole term: the debit and credit totals over every account, and the
// closing row of each section (title, opening balance, debits, credits, closing
// balance), so that a whole process — start-up, open, posting — can
// be timed against other tools on the same books.
//
// Once the figures are out the process ends without taking the document apart, as
// compilers do at their end: the system takes the memory back at once, and freeing
// it piece by piece first would only add to the time. (The document frees itself
// properly where it is closed in the application and in the benchmarks.)
#include <cstdio>
#include <cstdlib>

#include "document/DocumentFile.h"
#include "trial/ZandakaShisanAssembly.h"

int main(int argc, char** argv)
{
  using namespace kivo;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DOCUMENT\n", argv[0]);
    return 2;
  }
  DocumentFile::Result result;
  std::unique_ptr<MyDocument> doc = DocumentFile::readFromFile(argv[1], &result);
  if (!doc) {
    std::fprintf(stderr, "%s (%s)\n", result.message.c_str(), result.detail.c_str());
    return 1;
  }
  ZandakaShisanAssembly assembly(*doc);
  const auto months = static_cast<int32_t>(doc->kaisya().monthArray().size());
  assembly.setZandakaShisanArrayForJigyoubuCode(99, 0, months, false);
  const Kaisya& k = doc->kaisya();
  std::printf("%s  entries %zu\n", k.name().c_str(), doc->journal().size());
  // Every account's debits and credits for the company: the trial balance's two totals.
  int64_t debits = 0, credits = 0;
  for (const KamokuPtr& kamoku : doc->codeSortedKamokuArray()) {
    const ZandakaShisanPeriodSums::Sums& sums = assembly.displaySums().ofKamoku(kamoku->code(), 99);
    debits += sums.karikataGoukei;
    credits += sums.kashikataGoukei;
  }
  std::printf("借方合計\t%s\n貸方合計\t%s\n", k.outputStringOfMemoryKingaku(debits).c_str(),
              k.outputStringOfMemoryKingaku(credits).c_str());
  for (const auto* rows : {&assembly.seizouGenkaShisanArray(), &assembly.sonekiKeisanShisanArray(),
                           &assembly.taisyakuTaisyouShisanArray()}) {
    if (rows->empty()) continue;
    const Shisan& total = rows->back();
    std::printf("%s\t%s\t%s\t%s\t%s\n", total.title().c_str(),
                k.outputStringOfMemoryKingaku(total.kaishiZandaka()).c_str(),
                k.outputStringOfMemoryKingaku(total.karikataGoukei()).c_str(),
                k.outputStringOfMemoryKingaku(total.kashikataGoukei()).c_str(),
                k.outputStringOfMemoryKingaku(total.syuuryouZandaka()).c_str());
  }
  const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
  std::quick_exit(written ? 0 : 1);
}

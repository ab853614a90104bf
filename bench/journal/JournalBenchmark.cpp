// The journal filter and the ledger rows over a year of 100,000 entries, one
// account of which (科目100) carries 20,000 of them.
#include <benchmark/benchmark.h>

#include "journal/Kanjyoumotocyou.h"
#include "journal/ShiwakenikkiCondition.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

constexpr int32_t kBusyKamoku = 100;

MyDocument& yearOfBooks()
{
  static const auto doc = [] {
    test::GeneratedBooksSize size;
    size.shiwakeCount = 100000;
    auto d = test::makeGeneratedBooks(size);
    // Every fifth entry is a cash receipt; no other entry touches the account.
    int i = 0;
    for (const ShiwakePtr& s : d->journal()) {
      if (s->kashikataKamokuCode() == kBusyKamoku) s->setKashikataKamokuCode(kBusyKamoku + 1);
      if (i++ % 5 == 0) {
        s->setKarikataKamokuCode(kBusyKamoku);
        if (s->kashikataKamokuCode() == kBusyKamoku) s->setKashikataKamokuCode(kBusyKamoku + 1);
      } else if (s->karikataKamokuCode() == kBusyKamoku) {
        s->setKarikataKamokuCode(kBusyKamoku + 1);
      }
    }
    d->journal().sortedByDate();
    return d;
  }();
  return *doc;
}

void BM_LedgerRowsOfAccountWith20000Entries(benchmark::State& state)
{
  MyDocument& doc = yearOfBooks();
  const int32_t monthCount = static_cast<int32_t>(doc.kaisya().monthArray().size());
  std::vector<Motocyou> rows;
  for (auto _ : state) {
    Kanjyoumotocyou::setKanjyoumotocyouArray(doc, rows, {{kBusyKamoku, -1}}, 0, monthCount);
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_LedgerRowsOfAccountWith20000Entries)->Unit(benchmark::kMillisecond);

void BM_LedgerRowsOfEveryAccount(benchmark::State& state)
{
  MyDocument& doc = yearOfBooks();
  const int32_t monthCount = static_cast<int32_t>(doc.kaisya().monthArray().size());
  std::vector<Kanjyoumotocyou::KamokuCodes> codes;
  for (const KamokuPtr& k : doc.codeSortedKamokuArray()) codes.push_back({k->code(), -1});
  std::vector<Motocyou> rows;
  for (auto _ : state) {
    Kanjyoumotocyou::setKanjyoumotocyouArray(doc, rows, codes, 0, monthCount,
                                             [](int, int, const std::string&) { return true; });
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["ledgers"] = static_cast<double>(codes.size());
  state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_LedgerRowsOfEveryAccount)->Unit(benchmark::kMillisecond);

void runFilter(benchmark::State& state, const ShiwakenikkiCondition& condition)
{
  MyDocument& doc = yearOfBooks();
  ShiwakenikkiCondition c = condition;
  size_t shown = 0;
  int ticks = 0;
  for (auto _ : state) {
    const auto result = c.displayShiwakeArrayOfDocument(doc, false, [&] { ++ticks; });
    shown = result.displayShiwakeArray.size();
    benchmark::DoNotOptimize(result.displayShiwakeArray.data());
  }
  state.counters["shown"] = static_cast<double>(shown);
}

void BM_FilterJournalByAccountAndDescription(benchmark::State& state)
{
  ShiwakenikkiCondition c;
  c.setKamokuConditionState(ShiwakenikkiCondition::kStateOr);
  c.kamokuConditionArray().push_back({kBusyKamoku, -1, ShiwakenikkiSubCondition::kEitherSide});
  c.setTekiyouConditionState(ShiwakenikkiCondition::kTekiyouContains);
  c.setTekiyou("テキスト 5");
  runFilter(state, c);
}
BENCHMARK(BM_FilterJournalByAccountAndDescription)->Unit(benchmark::kMillisecond);

void BM_FilterJournalByDescriptionAlone(benchmark::State& state)
{
  ShiwakenikkiCondition c;
  c.setTekiyouConditionState(ShiwakenikkiCondition::kTekiyouContains);
  c.setTekiyou("テキスト 5");
  runFilter(state, c);
}
BENCHMARK(BM_FilterJournalByDescriptionAlone)->Unit(benchmark::kMillisecond);

void BM_FilterJournalEveryEntryShown(benchmark::State& state) { runFilter(state, ShiwakenikkiCondition()); }
BENCHMARK(BM_FilterJournalEveryEntryShown)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivo

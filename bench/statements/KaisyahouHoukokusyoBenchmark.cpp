// The whole set of Companies-Act statements of the company for the whole term,
// computed from a journal of 100,000 entries over 300 accounts and 5 divisions.
#include <benchmark/benchmark.h>

#include "statements/KaisyahouHoukokusyo.h"
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
  doc->updateHendouReasonArray();
  return doc;
}

KaisyahouHoukokusyoOptions wholeTerm(const MyDocument& doc)
{
  KaisyahouHoukokusyoOptions o;
  o.period = {doc.kaisya().termStartDate(), Date::kessanSeiridukiDate(), false};
  return o;
}

// After a change of the journal: the balance pass and every statement.
void BM_KaisyahouHoukokusyoWholeSet(benchmark::State& state)
{
  auto doc = makeBooks();
  KaisyahouHoukokusyo model;
  const KaisyahouHoukokusyoOptions o = wholeTerm(*doc);
  for (auto _ : state) {
    doc->makeAllOutputWindowDisplayArrayVoid();
    const auto& st = model.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, o);
    benchmark::DoNotOptimize(st.kabunushiShihon.columns.data());
  }
  state.counters["accounts"] = static_cast<double>(doc->codeSortedKamokuArray().size());
}
BENCHMARK(BM_KaisyahouHoukokusyoWholeSet)->Unit(benchmark::kMillisecond);

// The same with the journal's sorted copy stale, as right after an edit.
void BM_KaisyahouHoukokusyoWholeSetUnsortedJournal(benchmark::State& state)
{
  auto doc = makeBooks();
  KaisyahouHoukokusyo model;
  const KaisyahouHoukokusyoOptions o = wholeTerm(*doc);
  for (auto _ : state) {
    doc->makeAllOutputWindowDisplayArrayVoid();
    const auto& st = model.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, o);
    benchmark::DoNotOptimize(st.kabunushiShihon.columns.data());
  }
}
BENCHMARK(BM_KaisyahouHoukokusyoWholeSetUnsortedJournal)->Unit(benchmark::kMillisecond);

// Nothing changed (the sheet confirmed again): the balance pass reused.
void BM_KaisyahouHoukokusyoBuildersOnly(benchmark::State& state)
{
  auto doc = makeBooks();
  KaisyahouHoukokusyo model;
  const KaisyahouHoukokusyoOptions o = wholeTerm(*doc);
  model.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, o);
  for (auto _ : state) {
    const auto& st = model.setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(*doc, 99, o);
    benchmark::DoNotOptimize(st.kabunushiShihon.columns.data());
  }
}
BENCHMARK(BM_KaisyahouHoukokusyoBuildersOnly)->Unit(benchmark::kMillisecond);

}  // namespace

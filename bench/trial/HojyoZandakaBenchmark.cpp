// The sub-account balance lists of every account with sub-accounts, for the whole
// company over the whole term, from a journal of 100,000 entries (in one pass).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "trial/HojyoZandaka.h"
#include "trial/TrialBooks.h"

namespace {

using namespace kivo;

// Gives every seventh balance-sheet account of the chart (one that carries opening
// balances) four sub-accounts, the last taken out of use, splits its opening balances
// over the first two and leaves a little with the account alone; then puts the
// entries of those accounts on a sub-account: one of the three active ones, the
// inactive one, a code no sub-account has, or none. Answers the accounts.
std::vector<KamokuPtr> addHojyoKamokuToGeneratedBooks(MyDocument& doc, unsigned seed = 7)
{
  std::vector<KamokuPtr> withSubs;
  int n = 0;
  for (const KamokuPtr& k : doc.codeSortedKamokuArray()) {
    if (k->startBalanceArray().isEmpty() || n++ % 7 != 0) continue;
    for (int32_t c = 1; c <= 4; ++c) {
      auto h = std::make_shared<HojyoKamoku>();
      h->setCode(c);
      h->setName(k->name() + "補助" + std::to_string(c));
      h->setParentKamokuCode(k->code());
      h->setIsActive(c != 4);
      k->hojyoKamokuArray().push_back(h);
    }
    for (const StartBalance& b : k->startBalanceArray().entries()) {
      const int64_t first = b.balance / 2;
      const int64_t second = b.balance - first - (b.balance > 10 ? 7 : 0);
      k->hojyoKamokuArray()[0]->setStartBalance(first, b.jigyoubuCode);
      k->hojyoKamokuArray()[1]->setStartBalance(second, b.jigyoubuCode);
    }
    withSubs.push_back(k);
  }
  std::vector<char> hasSubs(1000, 0);
  for (const KamokuPtr& k : withSubs) hasSubs[static_cast<size_t>(k->code())] = 1;
  std::mt19937 rng(seed);
  const int32_t codes[] = {1, 1, 2, 2, 3, 4, 9, -1};
  for (const ShiwakePtr& s : doc.shiwakeArray()) {
    if (s->karikataKamokuCode() >= 0 && s->karikataKamokuCode() < 1000 && hasSubs[s->karikataKamokuCode()])
      s->setKarikataHojyoKamokuCode(codes[rng() % 8]);
    if (s->kashikataKamokuCode() >= 0 && s->kashikataKamokuCode() < 1000 && hasSubs[s->kashikataKamokuCode()])
      s->setKashikataHojyoKamokuCode(codes[rng() % 8]);
  }
  doc.setSortedKamokuArray();
  doc.setDidSortedShiwakeArrayUpdate(false);
  doc.setSortedShiwakeArray();
  return withSubs;
}

void BM_HojyoZandakaEveryAccountWithSubAccounts(benchmark::State& state)
{
  test::GeneratedTrialBooksSize size;
  size.shiwakeCount = 100000;
  size.kamokuCount = 300;
  size.jigyoubuCount = 5;
  auto doc = test::makeGeneratedTrialBooks(test::ChartKind::HoujinKaisyahou, true, size, 3);
  const std::vector<KamokuPtr> accounts = addHojyoKamokuToGeneratedBooks(*doc);
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

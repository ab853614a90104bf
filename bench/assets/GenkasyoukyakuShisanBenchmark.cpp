// The register's figures of 10,000 assets for one term: the computed charge and
// every derived amount, over every method and both rules.
#include <benchmark/benchmark.h>

#include <vector>

#include "assets/ShisanSyoukyaku.h"
#include "model/GenkasyoukyakuShisan.h"

namespace {

using namespace kivo;

std::vector<GenkasyoukyakuShisan> makeAssets(int count)
{
  const char* methods[] = {GenkasyoukyakuShisan::kTeigakuHou, GenkasyoukyakuShisan::kTeiritsuHou,
                           GenkasyoukyakuShisan::kKintouSyoukyaku, GenkasyoukyakuShisan::kIkkatsuSyoukyaku,
                           GenkasyoukyakuShisan::kSokujiSyoukyaku};
  std::vector<GenkasyoukyakuShisan> assets;
  assets.reserve(count);
  for (int i = 0; i < count; ++i) {
    GenkasyoukyakuShisan a(methods[i % 5]);
    a.setSyutokuKagaku(100'000 + 7'919LL * i);
    a.setTaiyouYears(2 + i % 60);
    a.setDateOfAdded(Date(1995 + i % 30, 1 + i % 12, 1 + i % 28));
    if (a.dateOfAdded() < Date(2007, 4, 1)) a.setPListResource(GenkasyoukyakuShisan::kKyuuTableName);
    a.setKisyuSyoukyakugakuRuikei(a.dateOfAdded() < Date(2024, 4, 1) ? a.syutokuKagaku() * (i % 9) / 10 : 0);
    a.setFutsuuSyoukyakuhi(i % 7 == 0 ? -1 : 10'000);
    if (i % 11 == 0) a.decreaseArray().emplace_back(Date(2024, 8, 1), 5'000);
    if (i % 13 == 0) a.setDateOfRemoved(Date(2025, 1, 10));
    assets.push_back(a);
  }
  return assets;
}

void BM_ChargesAndDerivedAmountsOf10000Assets(benchmark::State& state)
{
  const std::vector<GenkasyoukyakuShisan> assets = makeAssets(10'000);
  const SyoukyakuKikan kikan(Date(2024, 4, 1), Date(2025, 3, 31), true, SyoukyakuKikan::RoundHalfUp);
  for (auto _ : state) {
    int64_t sum = 0;
    for (const GenkasyoukyakuShisan& a : assets) {
      int32_t kaitei = -1;
      sum += ShisanSyoukyaku::sansyutuSyoukyakuhiForKaisya(a, kikan, &kaitei) + kaitei;
      sum += ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(a, kikan) + ShisanSyoukyaku::hosyouGaku(a, kikan);
      sum += ShisanSyoukyaku::kisyuCyoubokagakuForKaisya(a, kikan) +
             ShisanSyoukyaku::kimatsuCyoubokagakuForKaisya(a, kikan);
      sum += ShisanSyoukyaku::zanzonKagaku(a, kikan) + ShisanSyoukyaku::zanzonGendoGaku(a, kikan) +
             ShisanSyoukyaku::keihisannyuugaku(a, kikan);
      sum += ShisanSyoukyaku::toukiGensyougakuForKaisya(a, kikan) + a.kimatsuSyoukyakugakuRuikei();
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ChargesAndDerivedAmountsOf10000Assets)->Unit(benchmark::kMillisecond);

}  // namespace

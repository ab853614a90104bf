#include "assets/SelectShisanToSetSansyutsuchi.h"

#include "assets/ShisanSyoukyaku.h"

namespace kivo {

int SelectShisanToSetSansyutsuchi::setSansyutsuchi(const std::vector<GenkasyoukyakuShisanPtr>& assets,
                                                   const SyoukyakuKikan& kikan, bool onlyZeroFutsuuSyoukyakuhi)
{
  int changed = 0;
  for (const GenkasyoukyakuShisanPtr& a : assets) {
    if (!a->isOlderRule()) continue;
    if (a->syoukyakuTypeStr() != GenkasyoukyakuShisan::kTeigakuHou &&
        a->syoukyakuTypeStr() != GenkasyoukyakuShisan::kTeiritsuHou)
      continue;
    if (onlyZeroFutsuuSyoukyakuhi && a->futsuuSyoukyakuhi() != 0) continue;
    const int64_t charge = ShisanSyoukyaku::futsuuSyoukyakuhiOfProgram(*a, kikan);
    if (charge < 0) continue;
    a->setFutsuuSyoukyakuhi(charge);
    a->setIsFutsuuSyoukyakuhiSetByProgram(true);
    ++changed;
  }
  return changed;
}

}  // namespace kivo

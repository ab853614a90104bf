#include "assets/SelectShisanToSetSansyutsuchi.h"

#include "assets/ShisanSyoukyaku.h"
namespace kivo {
#include "assets/ShisanSyoukyaku.h"
int SelectShisanToSetSansyutsuchi::setSansyutsuchi(const std::vector<GenkasyoukyakuShisanPtr>& assets,
#include "assets/ShisanSyoukyaku.h"
                                                   const SyoukyakuKikan& kikan, bool onlyZeroFutsuuSyoukyakuhi)
#include "assets/ShisanSyoukyaku.h"
{
#include "assets/ShisanSyoukyaku.h"
  int changed = 0;
#include "assets/ShisanSyoukyaku.h"
  for (const GenkasyoukyakuShisanPtr& a : assets) {
#include "assets/ShisanSyoukyaku.h"
    if (!a->isOlderRule()) continue;
#include "assets/ShisanSyoukyaku.h"
    if (a->syoukyakuTypeStr() != GenkasyoukyakuShisan::kTeigakuHou &&
#include "assets/ShisanSyoukyaku.h"
        a->syoukyakuTypeStr() != GenkasyoukyakuShisan::kTeiritsuHou)
#include "assets/ShisanSyoukyaku.h"
      continue;
#include "assets/ShisanSyoukyaku.h"
    if (onlyZeroFutsuuSyoukyakuhi && a->futsuuSyoukyakuhi() != 0) continue;
#include "assets/ShisanSyoukyaku.h"
    const int64_t charge = ShisanSyoukyaku::sansyutuSyoukyakuhiForKaisya(*a, kikan);
#include "assets/ShisanSyoukyaku.h"
    if (charge < 0) continue;
#include "assets/ShisanSyoukyaku.h"
    a->setFutsuuSyoukyakuhi(charge);
#include "assets/ShisanSyoukyaku.h"
    ++changed;
#include "assets/ShisanSyoukyaku.h"
  }
#include "assets/ShisanSyoukyaku.h"
  return changed;
#include "assets/ShisanSyoukyaku.h"
}
#include "assets/ShisanSyoukyaku.h"
}  // namespace kivo

// The command that books the computed charge of the term as the ordinary charge of
// the assets under the older rule (定額法 and 定率法): the newer rule's charges are
// entered by the register as they are computed, the older rule's by this command.
#pragma once

#include <vector>

#include "assets/SyoukyakuKikan.h"
#include "model/GenkasyoukyakuShisan.h"

namespace kivo {

class SelectShisanToSetSansyutsuchi {
public:
  // Sets the ordinary charge of every older-rule 定額法 or 定率法 asset to the charge
  // the program sets (ShisanSyoukyaku::futsuuSyoukyakuhiOfProgram), in array order;
  // with onlyZeroFutsuuSyoukyakuhi only those whose ordinary charge is 0 (one not
  // entered, -1, is left alone). An asset whose charge cannot be computed is left as it
  // is. A charge set so is the program's: it follows the computed charge, in the
  // saved document too. Answers how many assets changed.
  static int setSansyutsuchi(const std::vector<GenkasyoukyakuShisanPtr>& assets, const SyoukyakuKikan& kikan,
                             bool onlyZeroFutsuuSyoukyakuhi);
};

}  // namespace kivo

#include "statements/KaisyahouHoukokusyoPass.h"

namespace kivo {

bool KaisyahouHoukokusyoPass::update(const MyDocument& document, const KaisyahouHoukokusyoPeriod& period)
{
  const CacheKey key{&document, document.reportDataGeneration(), period};
  if (balances_ && key == key_) return false;
  order_.emplace(document);
  balances_ = KaisyahouHoukokusyoBalances::postShiwakeArray(document, period, *order_);
  key_ = key;
  return true;
}

}  // namespace kivo

// The balance pass behind the statements, remembered: it walks the journal again only
// when the document's report data (journal, accounts, divisions) or the period has
// changed. The journal order it walked is kept with it, for the builders that read
// the entries themselves.
#pragma once

#include <optional>

#include "document/MyDocument.h"
#include "statements/KaisyahouHoukokusyoBalances.h"
#include "statements/KaisyahouHoukokusyoPeriod.h"
#include "statements/KaisyahouShiwakeOrder.h"

namespace kivo {

class KaisyahouHoukokusyoPass {
public:
  // Brings the pass up to date; answers whether it walked the journal.
  bool update(const MyDocument& document, const KaisyahouHoukokusyoPeriod& period);
  // Valid after update().
  const KaisyahouHoukokusyoBalances& balances() const { return *balances_; }
  const KaisyahouShiwakeOrder& order() const { return *order_; }

private:
  struct CacheKey {
    const MyDocument* document = nullptr;
    MyDocument::DataGeneration reportDataGeneration;
    KaisyahouHoukokusyoPeriod period;
    friend bool operator==(const CacheKey&, const CacheKey&) = default;
  };
  CacheKey key_;
  std::optional<KaisyahouShiwakeOrder> order_;
  std::optional<KaisyahouHoukokusyoBalances> balances_;
};

}  // namespace kivo

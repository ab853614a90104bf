// The older-form financial statements (決算報告書) of a corporation on the older
// chart (資本の部) or of a sole proprietor, for one division and period: the cost
// report, the schedule of selling and administrative expenses, the income statement
// ending in the unappropriated profit, and the two-column balance sheet.
//
// build() is the whole computation as a pure function of the balance pass's sums,
// which it shares with the Companies-Act statements. The cost report, schedule and
// income statement are built twice: from the period's movements (printed) and from
// the closing amounts, whose profit figures go into the balance sheet and the
// appropriation of profit.
//
// An object of this class is what the settings sheet keeps: it remembers the last
// balance pass and reuses it while the document's report data and the period are
// unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/MyDocument.h"
#include "statements/KaisyahouHoukokusyoBalances.h"
#include "statements/KaisyahouHoukokusyoPeriod.h"
#include "trial/Shisan.h"

namespace kivo {

struct HoukokusyoStatements {
  int32_t jigyoubuCode = 99;
  // Balance sheet: assets; liabilities and capital.
  std::vector<Shisan> taisyakuTaisyouShisannobuShisanArray;
  std::vector<Shisan> taisyakuTaisyouFusainobuShisanArray;
  // Printed statements (period movements) and the same on closing amounts.
  std::vector<Shisan> taisyakuBalanceSonekiKeisanShisanArray;
  std::vector<Shisan> syuuryouZandakaSonekiKeisanShisanArray;
  std::vector<Shisan> taisyakuBalanceHanbaihiShisanArray;
  std::vector<Shisan> syuuryouZandakaHanbaihiShisanArray;
  std::vector<Shisan> taisyakuBalanceSeizouGenkaShisanArray;
  std::vector<Shisan> syuuryouZandakaSeizouGenkaShisanArray;
  // The term's profit and the unappropriated profit (losses negative) of each
  // income statement; the closing ones feed the balance sheet and appropriation.
  int64_t toukiSonekiOfTaisyakuBalance = 0;
  int64_t toukiMisyobunSonekiOfTaisyakuBalance = 0;
  int64_t toukiSonekiOfSyuuryouZandaka = 0;
  int64_t toukiMisyobunSonekiOfSyuuryouZandaka = 0;
};

class Houkokusyo {
public:
  static HoukokusyoStatements build(const MyDocument& document, const KaisyahouHoukokusyoBalances& balances,
                                    int32_t jigyoubuCode);

  // The whole computation for the division (99: the whole company); the balance
  // pass runs only when its remembered sums are stale.
  const HoukokusyoStatements& setHoukokusyoShisanArrayForJigyoubuCode(const MyDocument& document, int32_t jigyoubuCode,
                                                                      const KaisyahouHoukokusyoPeriod& period);
  const HoukokusyoStatements& statements() const { return statements_; }
  bool didPostShiwakeArray() const { return didPost_; }

private:
  struct CacheKey {
    const MyDocument* document = nullptr;
    MyDocument::DataGeneration reportDataGeneration;
    KaisyahouHoukokusyoPeriod period;
    friend bool operator==(const CacheKey&, const CacheKey&) = default;
  };
  std::optional<KaisyahouHoukokusyoBalances> balances_;
  CacheKey key_;
  HoukokusyoStatements statements_;
  bool didPost_ = false;
};

}  // namespace kivo

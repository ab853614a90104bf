// The balance sheet (貸借対照表) of the Companies-Act form from the closing amounts:
// the assets on the left, the liabilities and the net assets (純資産の部, broken down
// into 株主資本, 評価・換算差額等 and 新株予約権) on the right. The profit of the term
// is folded into 繰越利益剰余金. Blank rows give both sides the same length, with
// 資産合計 and 負債・純資産合計 on the last line. No asset with an amount: both empty.
#pragma once

#include <cstdint>
#include <vector>

#include "trial/Shisan.h"

namespace kivo {

class KaisyahouHoukokusyoRowMaker;

class KaisyahouTaisyakuTaisyouBuilder {
public:
  struct Sides {
    std::vector<Shisan> shisannobu;  // assets
    std::vector<Shisan> fusainobu;   // liabilities and net assets
  };

  // maker: bound to the closing column; toukiSoneki: the net profit of the income
  // statement built on closing amounts (a loss negative).
  static Sides build(const KaisyahouHoukokusyoRowMaker& maker, int64_t toukiSoneki);
};

}  // namespace kivo

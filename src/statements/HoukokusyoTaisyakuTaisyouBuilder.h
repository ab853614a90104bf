// The balance sheet (貸借対照表) of the older-form 決算報告書 in two columns: assets
// on the left; liabilities and capital (資本の部, with the unappropriated profit and
// the term's profit under 剰余金) on the right. Built from closing amounts. The two
// columns end on the same line with 資産の部合計 and 負債・資本の部合計; the shorter
// one is filled with blank rows. A sheet without asset rows has no rows at all.
#pragma once

#include <cstdint>
#include <vector>

#include "trial/Shisan.h"

namespace kivo {

class KaisyahouHoukokusyoRowMaker;

class HoukokusyoTaisyakuTaisyouBuilder {
public:
  struct Sides {
    std::vector<Shisan> shisannobu;  // assets
    std::vector<Shisan> fusainobu;   // liabilities and capital
  };
  // toukiSoneki: the term's profit (a loss negative); toukiMisyobunSoneki: the
  // unappropriated profit (an undisposed loss negative), both up to the closing.
  static Sides build(const KaisyahouHoukokusyoRowMaker& closing, int64_t toukiSoneki, int64_t toukiMisyobunSoneki);
};

}  // namespace kivo

// The income statement (損益計算書) of the Companies-Act form: operating section
// (sales, cost of sales with the cost of products manufactured, SG&A), non-operating
// and extraordinary sections, taxes, and the net profit or loss, which it hands on
// signed (a loss negative; absent when the result is 0). A loss line shows the size
// of the loss.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "statements/KaisyahouStatementRows.h"

namespace kivo {

class KaisyahouHoukokusyoRowMaker;

class KaisyahouSonekiKeisanBuilder {
public:
  // toukiSeihinSeizouGenka: the cost report's cost of products manufactured;
  // hanbaihiGoukei: the SG&A statement's total; each absent when that statement has none.
  static KaisyahouStatementRows build(const KaisyahouHoukokusyoRowMaker& maker,
                                      std::optional<int64_t> toukiSeihinSeizouGenka,
                                      std::optional<int64_t> hanbaihiGoukei);

  // The older form of the 決算報告書: the net result titled 当期利益 / 当期損失, then
  // the profit or loss brought forward (group 8) and the unappropriated profit
  // (当期未処分利益) or undisposed loss (当期未処理損失). Both figures come back signed.
  // The brought-forward amount is always the closing column's (closing), so that
  // every column ends on the balance sheet's figure for a period of the whole term.
  struct OlderForm {
    std::vector<Shisan> rows;
    int64_t toukiSoneki = 0;
    int64_t toukiMisyobunSoneki = 0;
  };
  static OlderForm buildOlderForm(const KaisyahouHoukokusyoRowMaker& maker, const KaisyahouHoukokusyoRowMaker& closing,
                                  std::optional<int64_t> toukiSeihinSeizouGenka, std::optional<int64_t> hanbaihiGoukei);
};

}  // namespace kivo

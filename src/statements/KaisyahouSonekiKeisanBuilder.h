// The income statement (損益計算書) of the Companies-Act form: operating section
// (sales, cost of sales with the cost of products manufactured, SG&A), non-operating
// and extraordinary sections, taxes, and the net profit or loss, which it hands on
// signed (a loss negative; absent when the result is 0). A loss line shows the size
// of the loss.
#pragma once

#include <cstdint>
#include <optional>

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
};

}  // namespace kivo

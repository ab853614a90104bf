// What the older-form and the Companies-Act statements hold alike: the cost report,
// the SG&A schedule and the income statement on the period's movements (the printed
// column) and on the closing amounts, the two sides of the balance sheet, and the
// term's profit of each income statement.
#pragma once

#include <cstdint>
#include <vector>

#include "trial/Shisan.h"

namespace kivo {

struct KaisyahouStatementArrays {
  int32_t jigyoubuCode = 99;
  // Printed columns (period movements).
  std::vector<Shisan> taisyakuBalanceSeizouGenkaShisanArray;
  std::vector<Shisan> taisyakuBalanceHanbaihiShisanArray;
  std::vector<Shisan> taisyakuBalanceSonekiKeisanShisanArray;
  // The same statements on the closing amounts.
  std::vector<Shisan> syuuryouZandakaSeizouGenkaShisanArray;
  std::vector<Shisan> syuuryouZandakaHanbaihiShisanArray;
  std::vector<Shisan> syuuryouZandakaSonekiKeisanShisanArray;
  // Balance sheet: assets; liabilities and capital or net assets. Of equal length.
  std::vector<Shisan> taisyakuTaisyouShisannobuShisanArray;
  std::vector<Shisan> taisyakuTaisyouFusainobuShisanArray;
  // The term's profit (a loss negative) of the income statement on each column.
  int64_t toukiSonekiOfTaisyakuBalance = 0;
  int64_t toukiSonekiOfSyuuryouZandaka = 0;
};

}  // namespace kivo

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
#include <vector>

#include "document/MyDocument.h"
#include "statements/KaisyahouHoukokusyoBalances.h"
#include "statements/KaisyahouHoukokusyoPass.h"
#include "statements/KaisyahouHoukokusyoPeriod.h"
#include "statements/KaisyahouStatementArrays.h"
#include "trial/Shisan.h"

namespace kivo {

struct HoukokusyoStatements : KaisyahouStatementArrays {
  // The unappropriated profit (a loss negative) of each income statement; the closing
  // one feeds the balance sheet and the appropriation of profit.
  int64_t toukiMisyobunSonekiOfTaisyakuBalance = 0;
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
  KaisyahouHoukokusyoPass pass_;
  HoukokusyoStatements statements_;
  bool didPost_ = false;
};

}  // namespace kivo

// The first steps both forms of statements take alike: a row maker for each column
// (the period's movements, printed, and the closing amounts), and on each the cost
// report and the SG&A schedule, whose totals the income statement goes on with.
// finish() moves every statement into the result once the income statements and the
// balance sheet are built.
#pragma once

#include <cstdint>
#include <vector>

#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouStatementArrays.h"
#include "statements/KaisyahouStatementRows.h"

namespace kivo {

class KaisyahouStatementColumns {
public:
  KaisyahouStatementColumns(const MyDocument& document, const KaisyahouHoukokusyoBalances& balances,
                            int32_t jigyoubuCode);

  const KaisyahouHoukokusyoRowMaker period;
  const KaisyahouHoukokusyoRowMaker closing;
  KaisyahouStatementRows seizouP, seizouC, hanbaihiP, hanbaihiC;

  void finish(KaisyahouStatementArrays& out, std::vector<Shisan> sonekiP, std::vector<Shisan> sonekiC,
              std::vector<Shisan> shisannobu, std::vector<Shisan> fusainobu);
};

}  // namespace kivo

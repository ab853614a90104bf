// The trial balance's period sums: the document's journal posted, per account and
// division, into an opening balance, a debit total, a credit total and a closing
// balance for one run of months of the term.
//
// Every account keeps two sets of these sums: the display set, which the
// trial-balance window shows and the section builder reads, and the print set, for
// a printout of another period. This class only walks the journal into one of them;
// deciding when a set is still current is the caller's (ZandakaShisanAssembly).
#pragma once

#include <cstdint>

#include "model/Date.h"

namespace kivo {

class Kaisya;
class MyDocument;

class ZandakaShisanPeriodSums {
public:
  struct Period {
    Date startDate;
    Date endDate;
  };

  // The dates of a run of month indexes into the company's monthArray; the index
  // equal to the number of months (and any index beyond it) is the
  // closing-adjustment month, whose date sorts after every real date.
  static Period periodOfMonthIndexes(const Kaisya& kaisya, int32_t periodFrom, int32_t periodTo);

  // Recomputes the chosen set of every account, inactive ones included, for the
  // period: opening balances per division, then every registered entry up to the
  // end date (entries before the start go into the opening balances), then the
  // company column (99) as the sum of every other division column. Amounts beyond
  // the company's maxOutputAmountValue stop changing, as the capped sums do.
  // Sorts the journal first when its sorted copy is stale.
  static void postShiwakeArray(MyDocument& document, const Period& period, bool intoPrintSet);
};

}  // namespace kivo

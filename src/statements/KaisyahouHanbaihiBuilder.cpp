#include "statements/KaisyahouHanbaihiBuilder.h"

#include "model/Kamoku.h"
#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {

KaisyahouStatementRows KaisyahouHanbaihiBuilder::build(const KaisyahouHoukokusyoRowMaker& m)
{
  KaisyahouStatementRows out;
  int64_t total = 0;
  for (const Kamoku* k : m.kamokuOfKubun("販売費及び一般管理費")) {
    if (!m.isEligible(*k)) continue;
    const int64_t a = m.gassanAmountOf(*k);
    if (a == 0) continue;
    m.addRow(out.rows, k->code(), KaisyahouHoukokusyoRowMaker::rowName(*k), a);
    m.addAmount(a, *k, true, total);
  }
  if (!out.rows.empty()) {
    m.addRow(out.rows, KaisyahouSubtotalRowCode, "　販売費及び一般管理費合計", total);
    out.handedOn = total;
  }
  return out;
}

}  // namespace kivo

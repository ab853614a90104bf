// The Companies-Act statements (会社法) of one document for one division and period:
// the cost report (製造原価報告書), the SG&A statement (販売費及び一般管理費), the
// income statement (損益計算書), the balance sheet (貸借対照表) with its net-assets
// section, and the statement of changes in net assets (株主資本等変動計算書).
//
// build() is the whole computation as a pure function: the balance pass's sums in,
// every statement out, built in the fixed order cost report, SG&A, income statement,
// balance sheet, statement of changes, each handed what the earlier ones produced.
// The cost report, SG&A and income statement are built twice, from the period's
// movements (the printed column) and from the closing amounts (which give the net
// profit up to the period's end for the balance sheet).
//
// An object of this class is what the statements sheet keeps: it remembers the last
// balance pass and reuses it while the document's report data (journal, accounts,
// divisions), the period and the opening-balance option are unchanged.
#pragma once

#include <cstdint>
#include <vector>

#include "document/MyDocument.h"
#include "statements/KabunushiShihonHendouBuilder.h"
#include "statements/KaisyahouHoukokusyoBalances.h"
#include "statements/KaisyahouHoukokusyoPass.h"
#include "statements/KaisyahouHoukokusyoPeriod.h"
#include "statements/KaisyahouStatementArrays.h"
#include "trial/Shisan.h"

namespace kivo {

class KaisyahouShiwakeOrder;
class MyDocument;

struct KaisyahouHoukokusyoOptions {
  KaisyahouHoukokusyoPeriod period;
  // The user default "Tate Kabunushi Shihonnado Keisansyo": column titles of the
  // statement of changes for the vertical printout (else for the horizontal one).
  bool tateKabunushiShihonTitles = true;
};

struct KaisyahouHoukokusyoStatements : KaisyahouStatementArrays {
  KabunushiShihonHendouBuilder::Statement kabunushiShihon;
};

class KaisyahouHoukokusyo {
public:
  static KaisyahouHoukokusyoStatements build(const MyDocument& document, const KaisyahouHoukokusyoBalances& balances,
                                             int32_t jigyoubuCode, const KaisyahouHoukokusyoOptions& options);
  static KaisyahouHoukokusyoStatements build(const MyDocument& document, const KaisyahouHoukokusyoBalances& balances,
                                             const KaisyahouShiwakeOrder& order, int32_t jigyoubuCode,
                                             const KaisyahouHoukokusyoOptions& options);

  // The whole computation for the division (99: the whole company); the balance pass
  // runs only when its remembered sums are stale. Returns the statements, which stay
  // readable through statements() until the next computation.
  const KaisyahouHoukokusyoStatements& setKaisyahouHoukokusyoShisanArrayForJigyoubuCode(
      const MyDocument& document, int32_t jigyoubuCode, const KaisyahouHoukokusyoOptions& options);
  const KaisyahouHoukokusyoStatements& statements() const { return statements_; }
  // Whether the last computation walked the journal.
  bool didPostShiwakeArray() const { return didPost_; }

private:
  KaisyahouHoukokusyoPass pass_;
  KaisyahouHoukokusyoStatements statements_;
  bool didPost_ = false;
};

}  // namespace kivo

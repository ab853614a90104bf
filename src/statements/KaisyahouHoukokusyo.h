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
#include <optional>
#include <vector>

#include "document/MyDocument.h"
#include "statements/KabunushiShihonHendouBuilder.h"
#include "statements/KaisyahouHoukokusyoBalances.h"
#include "statements/KaisyahouHoukokusyoPeriod.h"
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

struct KaisyahouHoukokusyoStatements {
  int32_t jigyoubuCode = 99;
  // Printed columns (period movements).
  std::vector<Shisan> taisyakuBalanceSeizouGenkaShisanArray;
  std::vector<Shisan> taisyakuBalanceHanbaihiShisanArray;
  std::vector<Shisan> taisyakuBalanceSonekiKeisanShisanArray;
  // The same statements on the closing amounts.
  std::vector<Shisan> syuuryouZandakaSeizouGenkaShisanArray;
  std::vector<Shisan> syuuryouZandakaHanbaihiShisanArray;
  std::vector<Shisan> syuuryouZandakaSonekiKeisanShisanArray;
  // Balance sheet: assets; liabilities and net assets. Of equal length.
  std::vector<Shisan> taisyakuTaisyouShisannobuShisanArray;
  std::vector<Shisan> taisyakuTaisyouFusainobuShisanArray;
  KabunushiShihonHendouBuilder::Statement kabunushiShihon;
  // Net profit (a loss negative) of the income statement on each column.
  int64_t toukiSonekiOfTaisyakuBalance = 0;
  int64_t toukiSonekiOfSyuuryouZandaka = 0;
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
  struct CacheKey {
    const MyDocument* document = nullptr;
    MyDocument::DataGeneration reportDataGeneration;
    KaisyahouHoukokusyoPeriod period;
    friend bool operator==(const CacheKey&, const CacheKey&) = default;
  };
  std::optional<KaisyahouHoukokusyoBalances> balances_;
  CacheKey key_;
  KaisyahouHoukokusyoStatements statements_;
  bool didPost_ = false;
};

}  // namespace kivo

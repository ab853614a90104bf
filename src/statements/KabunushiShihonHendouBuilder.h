// The statement of changes in net assets (株主資本等変動計算書): a grid whose columns
// are the equity accounts of the category 純資産の部 with their merged and total
// columns (株主資本, 評価・換算差額等, 新株予約権, 純資産合計), and whose rows are the
// opening balance, one row per change reason, the total change and the closing
// balance. Every column foots: opening + total change = closing.
//
// The reasons' entries are taken as the document's reason lists assign them (an
// entry moved to another reason belongs to that reason; any other entry that touches
// an equity account belongs to the reason its hendouReasonStr names, "no reason" when
// empty), read from the journal as it is now, so the statement never shows a stale
// assignment. Entries numbered 0 or below never count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/HendouReason.h"
#include "statements/KaisyahouHoukokusyoPeriod.h"
#include "trial/Shisan.h"

namespace kivo {

class KaisyahouHoukokusyoBalances;
class KaisyahouShiwakeOrder;
class MyDocument;

class KabunushiShihonHendouBuilder {
public:
  struct RowLabel {
    enum class Kind { Zenkimatsu, ToukiHendouHeading, Reason, ToukiHendouGoukei, Toukimatsu };
    Kind kind = Kind::Zenkimatsu;
    std::string title;  // "前期末残高", "当期変動額", the reason's name, "当期変動額合計", "当期末残高"
    HendouReasonPtr reason;  // the document's reason of a reason row
  };

  struct Statement {
    std::vector<RowLabel> rowLabels;
    // One Shisan per column, left to right: kamokuCode is the account's code, -402 for
    // a merged column, -401 for a total column; title to title4 the heading from the
    // top level down; monthlyAmountArray one cell per row label. jigyoubuCode is 99.
    std::vector<Shisan> columns;
    // Row of the reason "当期純損益", -1 when it has none.
    int32_t toukiSonekiRow = -1;
  };

  // In the row of "当期純損益", a 0 under 繰越利益剰余金, 利益剰余金合計 or 株主資本合計
  // is stored as this value: the printouts show it as 0, where the zero cells of
  // other change rows stay blank.
  static int64_t shownZeroAmount(int64_t maxOutputAmountValue) { return maxOutputAmountValue + 2; }
  // A cell's amount, the shown-zero marker read as 0.
  static int64_t amountOfCell(int64_t cell, int64_t maxOutputAmountValue)
  {
    return cell == shownZeroAmount(maxOutputAmountValue) ? 0 : cell;
  }

  // jigyoubuCode: 99 for the whole company, else only entry sides of that division
  // count. toukiSonekiOfTaisyakuBalance / OfSyuuryouZandaka: the net profit of the
  // income statement on the period movements and on the closing amounts.
  // tateTitles: column titles for the vertical printout (indented), else for the
  // horizontal one (with line breaks).
  static Statement build(const MyDocument& document, const KaisyahouHoukokusyoBalances& balances,
                         const KaisyahouShiwakeOrder& order, int32_t jigyoubuCode, int64_t toukiSonekiOfTaisyakuBalance,
                         int64_t toukiSonekiOfSyuuryouZandaka, bool tateTitles);

  // The entries of each reason as the statement counts them, in the order of the
  // reasons (the three fixed reasons when the document has none yet).
  static std::vector<std::pair<HendouReasonPtr, std::vector<const Shiwake*>>> shiwakeOfHendouReasons(
      const MyDocument& document, const KaisyahouShiwakeOrder& order);
};

}  // namespace kivo

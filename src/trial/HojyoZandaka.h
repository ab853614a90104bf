// The rows of the sub-account balance list (補助残高一覧表): for an account with
// sub-accounts, one row per active sub-account with its opening balance, debit and
// credit totals over a run of months, closing balance and share of the account's
// closing balance, then the total row "合計".
//
// The total always equals the account's own figures in the trial balance of the same
// division and period. So entries of the account that carry no active sub-account
// (none, or one taken out of use), and an opening balance of the account that its
// active sub-accounts do not make up, are not dropped: when there are any, a row
// "補助科目なし" stands before the total with their figures.
//
// Opening balances are taken as the trial balance takes them: a division's own, and
// for the whole company (99) the sum of the divisions' while divisions are in use.
// Only entries numbered above 0 count. Amounts beyond the company's
// maxOutputAmountValue stop changing, as every report sum does.
//
// The builder reads the document and writes nothing into it; it walks the journal's
// date-sorted view (Journal::sortedByDate), which the journal keeps current.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/StartBalanceList.h"
#include "trial/Shisan.h"

namespace kivo {

class MyDocument;

class HojyoZandaka {
public:
  // hojyoKamokuCode of the rows that are no sub-account.
  static constexpr int32_t kGoukeiRowCode = -1;
  static constexpr int32_t kNashiRowCode = -3;
  static constexpr const char* kGoukeiTitle = "合計";
  static constexpr const char* kNashiTitle = "補助科目なし";

  // One list: a division (99 the whole company) and an account.
  struct KamokuCodes {
    int32_t jigyoubuCode = 99;
    int32_t kamokuCode = -1;
  };

  // Told before each list is added: how many of the total are done and the account's
  // name. Answering false cancels.
  using Progress = std::function<bool(int done, int total, const std::string& kamokuName)>;

  // The lists of the accounts, one after the other in the order asked, all built in
  // one pass over the journal. periodFrom and periodTo index the company's monthArray,
  // both included; the index equal to the month count is the closing-adjustment month
  // (indexes beyond the term are held to it). An account code that no account has
  // adds no rows; an account without active sub-accounts gets the rows that apply
  // ("補助科目なし" and the total). Nothing when the progress cancelled.
  static std::optional<std::vector<Shisan>> hojyoZandakaArray(const MyDocument& document,
                                                              const std::vector<KamokuCodes>& forKamokuCodes,
                                                              int32_t periodFrom, int32_t periodTo,
                                                              const Progress& progress = {});

  // The opening balance of a balance list for the division, as the trial balance
  // takes it: with divisions in use the division's own and for 99 the sum of every
  // division's; without them the stored company figure, for 99 and for entries that
  // carry no division (-1).
  static int64_t startBalanceOfJigyoubuCode(const StartBalanceList& balances, int32_t jigyoubuCode, bool usesJigyoubu);

  static bool isSubAccountRow(const Shisan& row) { return row.hojyoKamokuCode() >= 0; }
  static bool isGoukeiRow(const Shisan& row) { return row.hojyoKamokuCode() == kGoukeiRowCode; }
};

}  // namespace kivo

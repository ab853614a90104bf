// The ledger row builder: turns the document's date-sorted journal into the rows
// (Motocyou) of general ledgers (one account over all its sub-accounts) and sub
// ledgers (one sub-account of one account) for a range of months of the term.
//
// A ledger is always kept for the whole company: its opening balance is the one of
// division 99 and the entries' divisions play no part. Only entries numbered above 0
// take part (pending cash-book rows and regular-type vouchers never do).
//
// The builder holds no state and reads no settings: the ledger window calls it with
// one ledger, the printing of several ledgers with many and a progress callback.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "journal/Motocyou.h"

namespace kivo {

class MyDocument;

class Kanjyoumotocyou {
public:
  // One ledger: an account code and a sub-account code, -1 for the general ledger.
  // A pair whose account code is -1 yields no rows.
  struct KamokuCodes {
    int32_t kamokuCode = -1;
    int32_t hojyoKamokuCode = -1;
  };

  // Told before each ledger's rows are added: how many of the total are done, and the
  // name of the ledger ("現金", or "売掛金 ／ 得意先A" for a sub ledger; empty for a
  // pair without account). Answering false cancels the build.
  using Progress = std::function<bool(int done, int total, const std::string& ledgerName)>;

  // Period: periodFrom and periodTo index the company's monthArray, both included;
  // the index equal to the month count is the closing-adjustment month (決算整理月).
  // Indexes outside 0 to the month count are held to it.
  //
  // Empties rows, then appends for each ledger in order: the balance row "開始残高",
  // an entry row per entry of the period that touches the ledger (one row also when
  // both sides do) with the running balance, after each month with such entries the
  // month's total row ("　4月合計", "　決算整理月合計") and last the total row "　合計".
  // Answers false when progress cancelled; rows then hold the ledgers added so far.
  //
  // All ledgers are built in one pass over the journal, however many are asked for.
  static bool setKanjyoumotocyouArray(const MyDocument& document, std::vector<Motocyou>& rows,
                                      const std::vector<KamokuCodes>& kamokuCodes, int32_t periodFrom, int32_t periodTo,
                                      const Progress& progress = {});

  // The rows of one ledger.
  static std::vector<Motocyou> motocyouArray(const MyDocument& document, int32_t kamokuCode, int32_t hojyoKamokuCode,
                                             int32_t periodFrom, int32_t periodTo);

  // Drops from rows (as built above) every ledger without an entry row whose opening
  // balance is 0: the printing of several ledgers leaves out ledgers with nothing to
  // show.
  static void removeLedgersWithoutTorihiki(std::vector<Motocyou>& rows);

  static constexpr const char* kKaishiZandakaTitle = "開始残高";
  static constexpr const char* kGoukeiTitle = "　合計";
  static constexpr const char* kKessanSeiridukiName = "決算整理月";
};

}  // namespace kivo

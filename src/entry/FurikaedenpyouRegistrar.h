// Registration of a transfer voucher: the shown voucher's rows replace the journal
// entries that carry its number, one entry per row, numbered from the company's
// counters and placed in date order, each recording the other side of the voucher.
// Then the document's refresh protocol runs and the open cash books of the accounts
// touched are told to recompute.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "entry/Furikaedenpyou.h"
#include "entry/SuitoucyouWindow.h"

namespace kivo {

class FurikaedenpyouRegistrar {
public:
  // Registers the voucher without any check (the caller ran the voucher check). A
  // voucher dated "00/00" that has an ordinary number becomes a regular-type voucher
  // with the next free regular-type number; the voucher's number is updated. The
  // dirty flag is cleared. Entries hidden from a limited user are never removed.
  static void setDenpyouToShiwakeArray(Furikaedenpyou& denpyou);

  // The regular-type number n (the voucher carries -n) a new regular-type voucher
  // takes: the counter when no voucher carries it yet, else the smallest free n from
  // 1 to 9999; nullopt when all are taken.
  static std::optional<int32_t> availableRegularTypeDenpyouNo(const MyDocument& document);

  // After the journal changed under open cash books: each recomputes its balances
  // from the first row. With movePendingEntries, a book whose unregistered last row
  // is being edited first gets its pending entry moved to the end of the journal, so
  // that the row stays last.
  static void refreshSuitoucyou(MyDocument& document, const std::vector<SuitoucyouWindow*>& books,
                                bool movePendingEntries);
};

}  // namespace kivo

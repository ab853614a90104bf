// Registration of a transfer voucher: the shown voucher's rows replace the journal
// entries that carry its number, one entry per row, numbered from the company's
// counters and placed in date order, each recording the other side of the voucher.
// Then the document's refresh protocol runs and tells the open windows which
// accounts the voucher touched.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "entry/Furikaedenpyou.h"

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
};

}  // namespace kivo

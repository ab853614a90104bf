// The journal window's "delete the shown transactions": every voucher that one of the
// shown entries belongs to is taken out of the journal whole, its lines that are not
// shown included. Entries hidden from a limited user are never removed, and a bookmark
// goes with its voucher once no line of the voucher is left.
#pragma once

#include <cstdint>
#include <vector>

#include "document/MyDocument.h"

namespace kivo {

class ShiwakenikkiDeletion {
public:
  // The voucher numbers (above 0) of the shown entries, once each, in the order they
  // first appear.
  static std::vector<int32_t> denpyouNoArrayOfShiwakeArray(const std::vector<ShiwakePtr>& displayShiwakeArray);

  // Removes the vouchers of the shown entries from the document's journal in one pass
  // and answers the number of entries removed. When any was removed the document's
  // refresh protocol runs (changed, undo cleared, sorted journal and report caches
  // void, output windows told). The deletion cannot be undone.
  static int removeDisplayingShiwake(MyDocument& document, const std::vector<ShiwakePtr>& displayShiwakeArray);
};

}  // namespace kivo

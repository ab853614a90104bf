// The user's keyboard shortcuts for ledgers: records of the document's shortcut list
// (SubMenuItemOfDenpyouAndCyouhyouMenuItem) under "総勘定元帳／補助元帳", each opening
// one general or sub ledger with control, command and a digit.
//
// A digit belongs to at most one record of the document, whatever window kind it
// opens, and a ledger has at most one record. The record names its ledger by
// (sub-account code + 1) × 1000 + account code, so a general ledger (sub-account -1)
// is its account code alone.
#pragma once

#include <cstdint>
#include <string>

#include "document/MyDocument.h"

namespace kivo {

class KanjyoumotocyouShortcut {
public:
  static constexpr const char* kParentMenuItemTitle = "総勘定元帳／補助元帳";
  // Control plus command, as the shortcut records store their modifiers.
  static constexpr uint32_t kControlKeyMask = 1u << 18;
  static constexpr uint32_t kCommandKeyMask = 1u << 20;

  struct Ledger {
    int32_t kamokuCode = -1;
    int32_t hojyoKamokuCode = -1;
    friend bool operator==(const Ledger&, const Ledger&) = default;
  };

  static int64_t representedObjectOfLedger(Ledger ledger);
  static Ledger ledgerOfRepresentedObject(int64_t representedObject);

  // "現金", or "普通預金 ／ A銀行" for a sub ledger; empty when the account is unknown.
  static std::string titleOfLedger(const MyDocument& document, Ledger ledger);

  // Gives the digit ("1" to "9") to the ledger: every record holding the digit and
  // every earlier record of the ledger go, the new record is added, the records are
  // sorted by key and the document counts a change. False (nothing changed) for a
  // ledger without a known account or a key that is not one digit.
  static bool setShortcut(MyDocument& document, Ledger ledger, const std::string& digit);

  // The digit of the ledger's record, empty when it has none.
  static std::string keyEquivalentOfLedger(const MyDocument& document, Ledger ledger);
};

}  // namespace kivo

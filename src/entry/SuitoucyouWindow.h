// What the transfer-voucher code asks of an open cash book (出納帳) after it changed
// the journal: which book it is, whether its last, still unnumbered row is being
// edited, and to recompute its balances from the top.
//
// The cash-book window implements this beside DocumentWindow; the voucher code finds
// the open books among the document's windows by this interface, so registration
// and deletion refresh them without knowing the window class.
#pragma once

#include <cstdint>
#include <vector>

#include "document/MyDocument.h"

namespace kivo {

class SuitoucyouWindow {
public:
  virtual ~SuitoucyouWindow() = default;

  virtual int32_t displayKamokuCode() const = 0;
  virtual int32_t displayHojyoKamokuCode() const = 0;
  // The selected row is the book's last row and has no number yet: its pending
  // entry (number 0) is being typed.
  virtual bool isEditingUnregisteredLastRow() const = 0;
  virtual void setStartRowWithInvalidZandaka(int row) = 0;
  virtual void updateSuitoucyouUI() = 0;

  // The open book of (account, sub-account) among the document's windows, nullptr
  // when none is open.
  static SuitoucyouWindow* suitoucyouControllerOfKamokuCode(const MyDocument& document, int32_t kamokuCode,
                                                            int32_t hojyoKamokuCode);
  // Adds the open book of the pair to the list, once.
  static void addSuitoucyouToRefresh(const MyDocument& document, int32_t kamokuCode, int32_t hojyoKamokuCode,
                                     std::vector<SuitoucyouWindow*>& books);
};

}  // namespace kivo

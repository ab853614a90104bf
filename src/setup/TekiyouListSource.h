// What the description list asks of the window it is opened from: an entry window
// (voucher, cash book, ledger) that implements this hands over the accounts of its
// selected row, whose description groups are then shown first, and puts the row's
// description on the clipboard, from where the list offers to add it.
#pragma once

namespace kivo {

class TekiyouListSource {
public:
  virtual ~TekiyouListSource() = default;
  // The debit and credit accounts of the selected row (-1 for none); false when no row
  // is selected.
  virtual bool getSelectedRowKarikataKamokuCode(int& karikataKamokuCode, int& kashikataKamokuCode) const = 0;
  // Puts the selected row's description, when it has one, on the clipboard as text.
  virtual void writeTekiyouStringToPasteboard() = 0;
};

}  // namespace kivo

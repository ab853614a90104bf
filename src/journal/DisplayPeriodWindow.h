// A report window that shows its report over a range of months and takes a new range
// from the period sheet: the ledgers, the trial balance and the sub-account balance
// list implement it beside their window controller.
//
// Months are indexes into the company's monthArray, first and last included; the
// index equal to the month count is the closing-adjustment month (決算整理月).
#pragma once

#include <cstdint>

namespace kivo {

class DisplayPeriodWindow {
public:
  virtual ~DisplayPeriodWindow() = default;

  virtual int32_t displayPeriodFromMonthArrayIndex() const = 0;
  virtual int32_t displayPeriodToMonthArrayIndex() const = 0;
  // Only store the index; the caller then asks for the report again.
  virtual void setDisplayPeriodFromMonthArrayIndex(int32_t index) = 0;
  virtual void setDisplayPeriodToMonthArrayIndex(int32_t index) = 0;
  // Recomputes and shows the report for the stored range.
  virtual void updateDisplayPeriodUI() = 0;
};

}  // namespace kivo

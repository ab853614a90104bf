// The term a depreciation charge is computed for, and how its amounts are rounded.
//
// Built once from the company record (first and last day of the term, months of the
// term, corporation or sole proprietor) and the rounding type the user chose in the
// preferences ("Gankasyoukyakuhi Rounding Type"), which the window reads and passes
// in. Every amount is formed as a product scaled by 1,000 (or 100,000) and divided
// back by amountFromMultiplyThousandOfAmount.
#pragma once

#include <cstdint>

#include "model/Date.h"

namespace kivo {

class Kaisya;

class SyoukyakuKikan {
public:
  enum RoundingType : int32_t { RoundDown = 0, RoundHalfUp = 1, RoundUp = 2 };

  SyoukyakuKikan(const Kaisya& kaisya, int32_t roundingType);
  SyoukyakuKikan(Date startDate, Date endDate, bool isHoujin, int32_t roundingType);

  Date startDate() const { return startDate_; }
  Date endDate() const { return endDate_; }
  bool isHoujin() const { return isHoujin_; }
  int32_t roundingType() const { return roundingType_; }
  // Months of the term, a partial first or last month counting whole (m); 0 when
  // the company has no term.
  int32_t numberOfKaikeiMonth() const { return numberOfKaikeiMonth_; }
  static int32_t numberOfKaikeiMonth(Date startDate, Date endDate);

  // Whether the date lies within the term, both days included.
  bool containsDate(Date date) const;

  // x / 1,000 rounded by the rounding type: 0 toward zero, 1 half up, any other up.
  // A negative x always rounds toward zero.
  int64_t amountFromMultiplyThousandOfAmount(int64_t x) const { return roundedQuotient(x, 1000); }
  int64_t amountFromMultiplyHundredThousandOfAmount(int64_t x) const { return roundedQuotient(x, 100000); }

private:
  int64_t roundedQuotient(int64_t x, int64_t divisor) const;

  Date startDate_;
  Date endDate_;
  bool isHoujin_ = true;
  int32_t roundingType_ = RoundDown;
  int32_t numberOfKaikeiMonth_ = 0;
};

}  // namespace kivo

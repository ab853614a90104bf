#include "assets/SyoukyakuKikan.h"

#include "document/MyDocument.h"
#include "model/Kaisya.h"

namespace kivo {

SyoukyakuKikan::SyoukyakuKikan(const Kaisya& kaisya, int32_t roundingType)
    : SyoukyakuKikan(kaisya.termStartDate(), kaisya.termEndDate(), kaisya.isHoujin(), roundingType)
{
}

SyoukyakuKikan::SyoukyakuKikan(Date startDate, Date endDate, bool isHoujin, int32_t roundingType)
    : startDate_(startDate),
      endDate_(endDate),
      isHoujin_(isHoujin),
      roundingType_(roundingType),
      numberOfKaikeiMonth_(numberOfKaikeiMonth(startDate, endDate))
{
}

int32_t SyoukyakuKikan::numberOfKaikeiMonth(Date startDate, Date endDate)
{
  if (startDate.isNull() || endDate.isNull() || endDate < startDate) return 0;
  return (endDate.year() - startDate.year()) * 12 + endDate.month() - startDate.month() + 1;
}

bool SyoukyakuKikan::containsDate(Date date) const
{
  if (date.isNull()) return false;
  return Journal::compareDate(date, startDate_) >= 0 && Journal::compareDate(date, endDate_) <= 0;
}

int64_t SyoukyakuKikan::roundedQuotient(int64_t x, int64_t divisor) const
{
  const int64_t q = x / divisor;
  const int64_t rest = x % divisor;
  if (rest <= 0) return q;
  if (roundingType_ == RoundDown) return q;
  if (roundingType_ == RoundHalfUp) return rest * 2 >= divisor ? q + 1 : q;
  return q + 1;
}

}  // namespace kivo

// One partial decrease of a depreciable asset (a part sold or scrapped): its date
// and the book value that left with it.
#pragma once

#include <cstdint>

#include "model/Date.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class GenkasyoukyakuShisanDecrease {
public:
  GenkasyoukyakuShisanDecrease() = default;
  GenkasyoukyakuShisanDecrease(Date date, int64_t amount) : dateOfDecrease_(date), amountOfDecrease_(amount) {}

  Date dateOfDecrease() const { return dateOfDecrease_; }
  void setDateOfDecrease(Date v) { dateOfDecrease_ = v; }
  int64_t amountOfDecrease() const { return amountOfDecrease_; }
  void setAmountOfDecrease(int64_t v) { amountOfDecrease_ = v; }

  // Decreases without a date sort after every dated one; dated ones by calendar.
  static int decreaseDateSort(const GenkasyoukyakuShisanDecrease& a, const GenkasyoukyakuShisanDecrease& b);

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

  friend bool operator==(const GenkasyoukyakuShisanDecrease&, const GenkasyoukyakuShisanDecrease&) = default;

private:
  Date dateOfDecrease_;
  int64_t amountOfDecrease_ = 0;
};

}  // namespace kivo

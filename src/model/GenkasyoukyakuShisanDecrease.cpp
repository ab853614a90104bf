#include "model/GenkasyoukyakuShisanDecrease.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {

int GenkasyoukyakuShisanDecrease::decreaseDateSort(const GenkasyoukyakuShisanDecrease& a,
                                                   const GenkasyoukyakuShisanDecrease& b)
{
  if (a.dateOfDecrease_.isNull()) return b.dateOfDecrease_.isNull() ? 0 : 1;
  if (b.dateOfDecrease_.isNull()) return -1;
  if (a.dateOfDecrease_ < b.dateOfDecrease_) return -1;
  return a.dateOfDecrease_ == b.dateOfDecrease_ ? 0 : 1;
}

void GenkasyoukyakuShisanDecrease::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("GenkasyoukyakuShisanDecrease", kClassVersion);
  c.writeDate(dateOfDecrease_);
  c.writeInt64(amountOfDecrease_);
}

bool GenkasyoukyakuShisanDecrease::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("GenkasyoukyakuShisanDecrease", kClassVersion) < 0) return false;
  dateOfDecrease_ = c.readDate();
  amountOfDecrease_ = c.readInt64();
  return c.ok();
}

}  // namespace kivo

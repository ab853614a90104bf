#include "model/HendouReason.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {

void HendouReason::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("HendouReason", kClassVersion);
  c.writeString(reasonString_);
}

bool HendouReason::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("HendouReason", kClassVersion) < 0) return false;
  reasonString_ = c.readString();
  shiwakeArray_.clear();
  return c.ok();
}

}  // namespace kivo

#include "model/Bookmark.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/Kaisya.h"

namespace kivo {

void Bookmark::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("Bookmark", kClassVersion);
  c.writeInt32(denpyouNo_);
  c.writeString(name_);
  c.writeBool(isActiveWithLimitedUserPassword_);
}

bool Bookmark::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("Bookmark", kClassVersion) < 0) return false;
  denpyouNo_ = c.readInt32();
  name_ = c.readString();
  isActiveWithLimitedUserPassword_ = c.readBool();
  if (c.ok() && !Kaisya::isDenpyouNoInRange(denpyouNo_)) c.fail("bookmark number out of range");
  return c.ok();
}

}  // namespace kivo

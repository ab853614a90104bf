#include "model/SubMenuItemOfDenpyouAndCyouhyouMenuItem.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {

void SubMenuItemOfDenpyouAndCyouhyouMenuItem::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("SubMenuItemOfDenpyouAndCyouhyouMenuItem", kClassVersion);
  c.writeString(title_);
  c.writeString(parentMenuItemTitle_);
  c.writeString(keyEquivalent_);
  c.writeUInt32(keyEquivalentModifierMask_);
  c.writeInt64(representedObject_);
}

bool SubMenuItemOfDenpyouAndCyouhyouMenuItem::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("SubMenuItemOfDenpyouAndCyouhyouMenuItem", kClassVersion) < 0) return false;
  title_ = c.readString();
  parentMenuItemTitle_ = c.readString();
  keyEquivalent_ = c.readString();
  keyEquivalentModifierMask_ = c.readUInt32();
  representedObject_ = c.readInt64();
  if (c.ok() && !isRepresentedObjectInRange(representedObject_)) c.fail("menu item value out of range");
  return c.ok();
}

}  // namespace kivo

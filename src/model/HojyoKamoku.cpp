#include "model/HojyoKamoku.h"

#include <cstdio>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/Kamoku.h"

namespace kivo {

std::string HojyoKamoku::codeString() const
{
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", code_);
  return buf;
}

void HojyoKamoku::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("HojyoKamoku", kClassVersion);
  c.writeInt32(code_);
  c.writeString(name_);
  c.writeString(kana_);
  c.writeBool(isActive_);
  c.writeInt32(parentKamokuCode_);
  c.writeInt32(keyEquivalentOfSuitoucyouSubMenu_);
  startBalanceArray_.encodeWithCoder(c);
}

bool HojyoKamoku::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("HojyoKamoku", kClassVersion) < 0) return false;
  code_ = c.readInt32();
  name_ = c.readString();
  kana_ = c.readString();
  isActive_ = c.readBool();
  parentKamokuCode_ = c.readInt32();
  keyEquivalentOfSuitoucyouSubMenu_ = c.readInt32();
  if (!isCodeInRange(code_)) c.fail("sub-account code out of range");
  if (!Kamoku::isCodeInRange(parentKamokuCode_)) c.fail("account code out of range");
  if (!Kamoku::isKeyEquivalentInRange(keyEquivalentOfSuitoucyouSubMenu_)) c.fail("shortcut digit out of range");
  startBalanceArray_.initWithCoder(c);
  return c.ok();
}

}  // namespace kivo

#include "model/Jigyoubu.h"

#include <cstdio>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {

std::string Jigyoubu::codeString() const
{
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", code_);
  return buf;
}

void Jigyoubu::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("Jigyoubu", kClassVersion);
  c.writeInt32(code_);
  c.writeString(name_);
  c.writeString(kana_);
  c.writeBool(isActive_);
}

bool Jigyoubu::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("Jigyoubu", kClassVersion) < 0) return false;
  code_ = c.readInt32();
  name_ = c.readString();
  kana_ = c.readString();
  isActive_ = c.readBool();
  if (!isCodeInRange(code_)) c.fail("division code out of range");
  return c.ok();
}

}  // namespace kivo

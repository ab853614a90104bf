#include "model/Tekiyou.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {

void Tekiyou::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("Tekiyou", kClassVersion);
  c.writeString(tekiyou_);
  c.writeString(kana_);
}

bool Tekiyou::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("Tekiyou", kClassVersion) < 0) return false;
  tekiyou_ = c.readString();
  kana_ = c.readString();
  return c.ok();
}

}  // namespace kivo

#include "model/TekiyouGroup.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {

void TekiyouGroup::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("TekiyouGroup", kClassVersion);
  c.writeString(name_);
  c.writeBool(isOthersGroup_);
  c.writeCount(tekiyouArray_.size());
  for (const TekiyouPtr& t : tekiyouArray_) t->encodeWithCoder(c);
}

bool TekiyouGroup::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("TekiyouGroup", kClassVersion) < 0) return false;
  name_ = c.readString();
  isOthersGroup_ = c.readBool();
  tekiyouArray_.clear();
  const size_t n = c.readCount(16);
  for (size_t i = 0; i < n && c.ok(); ++i) {
    auto t = std::make_shared<Tekiyou>();
    if (!t->initWithCoder(c)) return false;
    if (!c.checkOnly()) tekiyouArray_.push_back(std::move(t));
  }
  return c.ok();
}

}  // namespace kivo

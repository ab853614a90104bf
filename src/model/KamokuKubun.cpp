#include "model/KamokuKubun.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/Kaisya.h"
#include "model/KamokuChartTemplate.h"

namespace kivo {
namespace {
// A chart is a handful of levels deep; a deeper archive is damage, not a chart.
constexpr int kMaxDepth = 32;
}  // namespace

KamokuKubunPtr KamokuKubun::rootKamokuKubunForKaisya(const Kaisya& kaisya, bool useKaisyahouChart)
{
  return KamokuChartTemplate::templateForKaisya(kaisya, useKaisyahouChart).build();
}

KamokuPtr KamokuKubun::matchKamokuCode(const std::string& text, bool acceptInactive) const
{
  for (const KamokuKubunPtr& child : children_)
    if (KamokuPtr k = child->matchKamokuCode(text, acceptInactive)) return k;
  for (const KamokuPtr& k : childrenKamoku_) {
    if (!acceptInactive && !k->isActive()) continue;
    const std::string code = std::to_string(k->code());
    if (code.compare(0, text.size(), text) == 0) return k;
  }
  return nullptr;
}

KamokuPtr KamokuKubun::kamokuOfCode(int32_t code, bool acceptInactive) const
{
  for (const KamokuKubunPtr& child : children_)
    if (KamokuPtr k = child->kamokuOfCode(code, acceptInactive)) return k;
  for (const KamokuPtr& k : childrenKamoku_)
    if (k->code() == code && (acceptInactive || k->isActive())) return k;
  return nullptr;
}

KamokuPtr KamokuKubun::kamokuForName(const std::string& name) const
{
  for (const KamokuKubunPtr& child : children_)
    if (KamokuPtr k = child->kamokuForName(name)) return k;
  for (const KamokuPtr& k : childrenKamoku_)
    if (k->isActive() && k->name() == name) return k;
  return nullptr;
}

KamokuKubunPtr KamokuKubun::childForName(const std::string& name) const
{
  for (const KamokuKubunPtr& child : children_)
    if (KamokuKubunPtr found = child->childForName(name)) return found;
  for (const KamokuKubunPtr& child : children_)
    if (child->kubunName() == name) return child;
  return nullptr;
}

const KamokuKubun* KamokuKubun::childWhichHasChildrenKamokuCode(const std::string& text) const
{
  for (const KamokuKubunPtr& child : children_)
    if (const KamokuKubun* found = child->childWhichHasChildrenKamokuCode(text)) return found;
  for (const KamokuPtr& k : childrenKamoku_)
    if (k->isActive() && std::to_string(k->code()).compare(0, text.size(), text) == 0) return this;
  return nullptr;
}

void KamokuKubun::getChildrenKamokuArray(std::vector<KamokuPtr>& out) const
{
  for (const KamokuKubunPtr& child : children_) child->getChildrenKamokuArray(out);
  out.insert(out.end(), childrenKamoku_.begin(), childrenKamoku_.end());
}

void KamokuKubun::forEachKamoku(const std::function<void(const KamokuPtr&)>& f) const
{
  for (const KamokuKubunPtr& child : children_) child->forEachKamoku(f);
  for (const KamokuPtr& k : childrenKamoku_) f(k);
}

int KamokuKubun::countTemp(bool selected) const
{
  int n = 0;
  for (const KamokuKubunPtr& child : children_) n += child->countTemp(selected);
  for (const KamokuPtr& k : childrenKamoku_)
    if (k->isActive() && k->isTempSelected() == selected) ++n;
  return n;
}

int KamokuKubun::countChildrenWithTemp(bool selected) const
{
  int n = 0;
  for (const KamokuKubunPtr& child : children_)
    if (child->countTemp(selected) > 0) ++n;
  return n;
}

KamokuKubunPtr KamokuKubun::childWithTempAt(bool selected, int index) const
{
  for (const KamokuKubunPtr& child : children_)
    if (child->countTemp(selected) > 0 && index-- == 0) return child;
  return nullptr;
}

KamokuPtr KamokuKubun::ownTempAt(bool selected, int index) const
{
  for (const KamokuPtr& k : childrenKamoku_)
    if (k->isActive() && k->isTempSelected() == selected && index-- == 0) return k;
  return nullptr;
}

void KamokuKubun::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("KamokuKubun", kClassVersion);
  c.writeString(kubunName_);
  c.writeString(longKubunName_);
  c.writeString(pListResource_);
  c.writeCount(children_.size());
  for (const KamokuKubunPtr& child : children_) child->encodeWithCoder(c);
  c.writeCount(childrenKamoku_.size());
  for (const KamokuPtr& k : childrenKamoku_) k->encodeWithCoder(c);
}

bool KamokuKubun::initWithCoder(ArchiveReader& c)
{
  // The chart's templates give every account its own code, and nothing renumbers one:
  // two accounts of one code would both be counted under it in every report.
  SeenCodes<Kamoku::kMaxCode> codes;
  return initWithCoder(c, 0, codes);
}

bool KamokuKubun::initWithCoder(ArchiveReader& c, int depth, SeenCodes<Kamoku::kMaxCode>& codes)
{
  if (depth > kMaxDepth) {
    c.fail("account categories nested too deeply");
    return false;
  }
  if (c.beginRecord("KamokuKubun", kClassVersion) < 0) return false;
  kubunName_ = c.readString();
  longKubunName_ = c.readString();
  pListResource_ = c.readString();
  children_.clear();
  childrenKamoku_.clear();
  size_t n = c.readCount(16);
  for (size_t i = 0; i < n && c.ok(); ++i) {
    auto child = std::make_shared<KamokuKubun>();
    if (!child->initWithCoder(c, depth + 1, codes)) return false;
    // Categories are as many as the archive says: a check lets each go.
    if (!c.checkOnly()) children_.push_back(std::move(child));
  }
  n = c.readCount(16);
  for (size_t i = 0; i < n && c.ok(); ++i) {
    auto k = std::make_shared<Kamoku>();
    if (!k->initWithCoder(c)) return false;
    if (!codes.insert(k->code())) {
      c.fail("two accounts with code " + std::to_string(k->code()));
      return false;
    }
    childrenKamoku_.push_back(std::move(k));
  }
  return c.ok();
}

}  // namespace kivo

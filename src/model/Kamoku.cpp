#include "model/Kamoku.h"

#include <cstdio>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/SeenCodes.h"

namespace kivo {

uint32_t Kamoku::typeBitsOfLetter(char letter)
{
  switch (letter) {
  case 'f': return kTypeF;
  case 'o': return kTypeO;
  case 'b': return kTypeB;
  case 'p': return kTypeP;
  case 'a': return kTypeA;
  default: return 0;
  }
}

std::string Kamoku::nameWithoutNonPrintChar() const
{
  static const std::string mark = "\xEF\xBC\x83";  // ＃ U+FF03
  const size_t at = name_.find(mark);
  if (at == std::string::npos) return name_;
  std::string s = name_;
  s.erase(at, mark.size());
  return s;
}

int Kamoku::activeHojyoKamokuNum() const
{
  int n = 0;
  for (const HojyoKamokuPtr& h : hojyoKamokuArray_)
    if (h->isActive()) ++n;
  return n;
}

HojyoKamokuPtr Kamoku::firstActiveHojyoKamoku() const
{
  for (const HojyoKamokuPtr& h : hojyoKamokuArray_)
    if (h->isActive()) return h;
  return nullptr;
}

HojyoKamokuPtr Kamoku::hojyoKamokuOfCode(int32_t code) const
{
  for (const HojyoKamokuPtr& h : hojyoKamokuArray_)
    if (h->code() == code) return h;
  return nullptr;
}

void Kamoku::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("Kamoku", kClassVersion);
  c.writeInt32(code_);
  c.writeString(name_);
  c.writeString(kana_);
  c.writeBool(isActive_);
  c.writeBool(isKarikataKamoku_);
  c.writeBool(isSuitouKamoku_);
  c.writeBool(isGenkasyoukyakuShisanKamoku_);
  c.writeBool(isSyoukyakushisanShinkokusyoKamoku_);
  c.writeBool(isKabunushiShihonKamoku_);
  c.writeInt32(group_);
  c.writeUInt32(type_);
  c.writeInt32(gassanRepresentKamokuCode_);
  c.writeString(gassanKamokuName_);
  c.writeInt32(keyEquivalentOfSuitoucyouSubMenu_);
  startBalanceArray_.encodeWithCoder(c);
  c.writeCount(hojyoKamokuArray_.size());
  for (const HojyoKamokuPtr& h : hojyoKamokuArray_) h->encodeWithCoder(c);
}

bool Kamoku::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("Kamoku", kClassVersion) < 0) return false;
  code_ = c.readInt32();
  name_ = c.readString();
  kana_ = c.readString();
  isActive_ = c.readBool();
  isKarikataKamoku_ = c.readBool();
  isSuitouKamoku_ = c.readBool();
  isGenkasyoukyakuShisanKamoku_ = c.readBool();
  isSyoukyakushisanShinkokusyoKamoku_ = c.readBool();
  isKabunushiShihonKamoku_ = c.readBool();
  group_ = c.readInt32();
  type_ = c.readUInt32();
  gassanRepresentKamokuCode_ = c.readInt32();
  gassanKamokuName_ = c.readString();
  keyEquivalentOfSuitoucyouSubMenu_ = c.readInt32();
  if (!isCodeInRange(code_) || !isCodeInRange(gassanRepresentKamokuCode_)) c.fail("account code out of range");
  if (!isKeyEquivalentInRange(keyEquivalentOfSuitoucyouSubMenu_)) c.fail("shortcut digit out of range");
  startBalanceArray_.initWithCoder(c);
  hojyoKamokuArray_.clear();
  // No list editor gives one code to two sub-accounts of an account: the ledgers would
  // take the entries of that code for both.
  SeenCodes<HojyoKamoku::kMaxCode> codes;
  const size_t n = c.readCount(16);
  for (size_t i = 0; i < n && c.ok(); ++i) {
    auto h = std::make_shared<HojyoKamoku>();
    if (!h->initWithCoder(c)) return false;
    if (!codes.insert(h->code())) {
      c.fail("two sub-accounts with code " + std::to_string(h->code()));
      return false;
    }
    hojyoKamokuArray_.push_back(std::move(h));
  }
  return c.ok();
}

}  // namespace kivo

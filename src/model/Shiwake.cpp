#include "model/Shiwake.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {

void Shiwake::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("Shiwake", kClassVersion);
  c.writeDate(date_);
  c.writeInt32(denpyouNo_);
  c.writeInt32(karikataKamokuCode_);
  c.writeInt32(karikataHojyoKamokuCode_);
  c.writeInt32(karikataJigyoubuCode_);
  c.writeInt64(karikataKingaku_);
  c.writeInt32(kashikataKamokuCode_);
  c.writeInt32(kashikataHojyoKamokuCode_);
  c.writeInt32(kashikataJigyoubuCode_);
  c.writeInt64(kashikataKingaku_);
  c.writeInt32(aiteKarikataKamokuCode_);
  c.writeInt32(aiteKarikataHojyoKamokuCode_);
  c.writeInt32(aiteKarikataJigyoubuCode_);
  c.writeInt32(aiteKashikataKamokuCode_);
  c.writeInt32(aiteKashikataHojyoKamokuCode_);
  c.writeInt32(aiteKashikataJigyoubuCode_);
  c.writeString(tekiyou_.str());
  c.writeInt32(static_cast<int32_t>(kindOfShiwake_));
  c.writeString(hendouReasonStr_.str());
  c.writeInt32(suitoucyouKamokuCode_);
  c.writeInt32(suitoucyouHojyoKamokuCode_);
  c.writeBool(didCreateBeforeOpen_);
}

bool Shiwake::initWithCoder(ArchiveReader& c)
{
  if (c.beginRecord("Shiwake", kClassVersion) < 0) return false;
  date_ = c.readDate();
  denpyouNo_ = c.readInt32();
  karikataKamokuCode_ = c.readInt32();
  karikataHojyoKamokuCode_ = c.readInt32();
  karikataJigyoubuCode_ = c.readInt32();
  karikataKingaku_ = c.readInt64();
  kashikataKamokuCode_ = c.readInt32();
  kashikataHojyoKamokuCode_ = c.readInt32();
  kashikataJigyoubuCode_ = c.readInt32();
  kashikataKingaku_ = c.readInt64();
  aiteKarikataKamokuCode_ = c.readInt32();
  aiteKarikataHojyoKamokuCode_ = c.readInt32();
  aiteKarikataJigyoubuCode_ = c.readInt32();
  aiteKashikataKamokuCode_ = c.readInt32();
  aiteKashikataHojyoKamokuCode_ = c.readInt32();
  aiteKashikataJigyoubuCode_ = c.readInt32();
  tekiyou_ = SharedText(c.readString());
  kindOfShiwake_ = static_cast<ShiwakeKind>(c.readInt32());
  hendouReasonStr_ = SharedText(c.readString());
  suitoucyouKamokuCode_ = c.readInt32();
  suitoucyouHojyoKamokuCode_ = c.readInt32();
  didCreateBeforeOpen_ = c.readBool();
  return c.ok();
}

}  // namespace kivo

#include "model/Shiwake.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/Jigyoubu.h"
#include "model/Kaisya.h"
#include "model/Kamoku.h"

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
  if (c.ok() && !valuesInRange()) c.fail("journal value out of range");
  return c.ok();
}

bool Shiwake::valuesInRange() const
{
  // From -1 up to the kind's largest code: one unsigned comparison each (-1 becomes 0,
  // anything below it a huge number), taken together without a branch apiece: a
  // year's file asks this of every entry.
  const auto in = [](int32_t code, int32_t max) -> unsigned {
    return static_cast<uint32_t>(code) + 1u <= static_cast<uint32_t>(max) + 1u;
  };
  // The same from lo to hi.
  const auto between = [](int32_t v, int32_t lo, int32_t hi) -> unsigned {
    return static_cast<uint32_t>(v) - static_cast<uint32_t>(lo) <=
           static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo);
  };
  constexpr int32_t kamoku = Kamoku::kMaxCode, hojyo = HojyoKamoku::kMaxCode, jigyoubu = Jigyoubu::kAllJigyoubuCode;
  constexpr int32_t firstNo = -Kaisya::kMaxRegularTypeDenpyouNo, lastNo = Kaisya::kMaxDenpyouNo;
  constexpr auto lastKind = static_cast<int32_t>(ShiwakeKind::SuitoucyouNoAmount);
  // Number 0 is only ever a cash book's row being typed, which the book writes as an
  // entry of its own kinds: a voucher is registered under the counter's number or a
  // regular-type one, and the voucher window never shows number 0 to register it
  // again. A transfer-voucher line numbered 0 (a record of zeros among them) is made
  // by no version.
  const unsigned numberedAsItsKind = (denpyouNo_ != 0) | (kindOfShiwake_ != ShiwakeKind::Furikaedenpyou);
  return (in(karikataKamokuCode_, kamoku) & in(kashikataKamokuCode_, kamoku) & in(aiteKarikataKamokuCode_, kamoku) &
          in(aiteKashikataKamokuCode_, kamoku) & in(suitoucyouKamokuCode_, kamoku) &
          in(karikataHojyoKamokuCode_, hojyo) & in(kashikataHojyoKamokuCode_, hojyo) &
          in(aiteKarikataHojyoKamokuCode_, hojyo) & in(aiteKashikataHojyoKamokuCode_, hojyo) &
          in(suitoucyouHojyoKamokuCode_, hojyo) & in(karikataJigyoubuCode_, jigyoubu) &
          in(kashikataJigyoubuCode_, jigyoubu) & in(aiteKarikataJigyoubuCode_, jigyoubu) &
          in(aiteKashikataJigyoubuCode_, jigyoubu) & between(denpyouNo_, firstNo, lastNo) &
          between(static_cast<int32_t>(kindOfShiwake_), 0, lastKind) & numberedAsItsKind) != 0;
}

void Shiwake::copyOwnSidesToAite()
{
  aiteKarikataKamokuCode_ = karikataKamokuCode_;
  aiteKarikataHojyoKamokuCode_ = karikataHojyoKamokuCode_;
  aiteKarikataJigyoubuCode_ = karikataJigyoubuCode_;
  aiteKashikataKamokuCode_ = kashikataKamokuCode_;
  aiteKashikataHojyoKamokuCode_ = kashikataHojyoKamokuCode_;
  aiteKashikataJigyoubuCode_ = kashikataJigyoubuCode_;
}

void Shiwake::recordVoucherSides(std::span<const std::shared_ptr<Shiwake>> lines)
{
  struct Side {
    int32_t kamoku = -1, hojyoKamoku = -1, jigyoubu = -1;
  };
  const auto sideOf = [&](int32_t Shiwake::*kamoku, int32_t Shiwake::*hojyoKamoku, int32_t Shiwake::*jigyoubu) {
    Side side;
    bool found = false;
    for (const std::shared_ptr<Shiwake>& s : lines) {
      if ((*s).*kamoku < 0) continue;
      if (found) return Side{Kamoku::kSyokuchiCode, -1, -1};
      found = true;
      side = {(*s).*kamoku, (*s).*hojyoKamoku, (*s).*jigyoubu};
    }
    return side;
  };
  const Side kari =
      sideOf(&Shiwake::karikataKamokuCode_, &Shiwake::karikataHojyoKamokuCode_, &Shiwake::karikataJigyoubuCode_);
  const Side kashi =
      sideOf(&Shiwake::kashikataKamokuCode_, &Shiwake::kashikataHojyoKamokuCode_, &Shiwake::kashikataJigyoubuCode_);
  for (const std::shared_ptr<Shiwake>& s : lines) {
    s->aiteKarikataKamokuCode_ = kari.kamoku;
    s->aiteKarikataHojyoKamokuCode_ = kari.hojyoKamoku;
    s->aiteKarikataJigyoubuCode_ = kari.jigyoubu;
    s->aiteKashikataKamokuCode_ = kashi.kamoku;
    s->aiteKashikataHojyoKamokuCode_ = kashi.hojyoKamoku;
    s->aiteKashikataJigyoubuCode_ = kashi.jigyoubu;
  }
}

}  // namespace kivo

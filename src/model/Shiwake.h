// One journal entry line: a date, a voucher number and, for the debit (karikata) and
// the credit (kashikata) side, the account, sub-account, division and amount.
//
// Voucher number 0 marks a cash-book row not yet registered (no report shows it);
// negative numbers are regular-type vouchers. Absent codes are -1. The aite codes
// record the other side of the voucher (999 when that side has several rows).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "model/Date.h"
#include "model/SharedText.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

// Where an entry was made; the file stores the integer.
enum class ShiwakeKind : int32_t {
  Furikaedenpyou = 0,      // a transfer-voucher line
  Suitoucyou = 1,          // entered in a cash book
  SuitoucyouNoAmount = 2,  // cash-book row without amount (a pending row)
};

class Shiwake {
public:
  Shiwake() = default;

  Date date() const { return date_; }
  void setDate(Date v) { date_ = v; }
  int32_t denpyouNo() const { return denpyouNo_; }
  void setDenpyouNo(int32_t v) { denpyouNo_ = v; }

  int32_t karikataKamokuCode() const { return karikataKamokuCode_; }
  void setKarikataKamokuCode(int32_t v) { karikataKamokuCode_ = v; }
  int32_t karikataHojyoKamokuCode() const { return karikataHojyoKamokuCode_; }
  void setKarikataHojyoKamokuCode(int32_t v) { karikataHojyoKamokuCode_ = v; }
  int32_t karikataJigyoubuCode() const { return karikataJigyoubuCode_; }
  void setKarikataJigyoubuCode(int32_t v) { karikataJigyoubuCode_ = v; }
  int64_t karikataKingaku() const { return karikataKingaku_; }
  void setKarikataKingaku(int64_t v) { karikataKingaku_ = v; }

  int32_t kashikataKamokuCode() const { return kashikataKamokuCode_; }
  void setKashikataKamokuCode(int32_t v) { kashikataKamokuCode_ = v; }
  int32_t kashikataHojyoKamokuCode() const { return kashikataHojyoKamokuCode_; }
  void setKashikataHojyoKamokuCode(int32_t v) { kashikataHojyoKamokuCode_ = v; }
  int32_t kashikataJigyoubuCode() const { return kashikataJigyoubuCode_; }
  void setKashikataJigyoubuCode(int32_t v) { kashikataJigyoubuCode_ = v; }
  int64_t kashikataKingaku() const { return kashikataKingaku_; }
  void setKashikataKingaku(int64_t v) { kashikataKingaku_ = v; }

  int32_t aiteKarikataKamokuCode() const { return aiteKarikataKamokuCode_; }
  void setAiteKarikataKamokuCode(int32_t v) { aiteKarikataKamokuCode_ = v; }
  int32_t aiteKarikataHojyoKamokuCode() const { return aiteKarikataHojyoKamokuCode_; }
  void setAiteKarikataHojyoKamokuCode(int32_t v) { aiteKarikataHojyoKamokuCode_ = v; }
  int32_t aiteKarikataJigyoubuCode() const { return aiteKarikataJigyoubuCode_; }
  void setAiteKarikataJigyoubuCode(int32_t v) { aiteKarikataJigyoubuCode_ = v; }
  int32_t aiteKashikataKamokuCode() const { return aiteKashikataKamokuCode_; }
  void setAiteKashikataKamokuCode(int32_t v) { aiteKashikataKamokuCode_ = v; }
  int32_t aiteKashikataHojyoKamokuCode() const { return aiteKashikataHojyoKamokuCode_; }
  void setAiteKashikataHojyoKamokuCode(int32_t v) { aiteKashikataHojyoKamokuCode_ = v; }
  int32_t aiteKashikataJigyoubuCode() const { return aiteKashikataJigyoubuCode_; }
  void setAiteKashikataJigyoubuCode(int32_t v) { aiteKashikataJigyoubuCode_ = v; }

  const std::string& tekiyou() const { return tekiyou_.str(); }
  void setTekiyou(const std::string& v) { tekiyou_ = SharedText(v); }
  void setTekiyou(SharedText v) { tekiyou_ = std::move(v); }
  ShiwakeKind kindOfShiwake() const { return kindOfShiwake_; }
  void setKindOfShiwake(ShiwakeKind v) { kindOfShiwake_ = v; }
  const std::string& hendouReasonStr() const { return hendouReasonStr_.str(); }
  void setHendouReasonStr(const std::string& v) { hendouReasonStr_ = SharedText(v); }
  void setHendouReasonStr(SharedText v) { hendouReasonStr_ = std::move(v); }
  // The cash book that a pending entry (number 0) belongs to; -1 none.
  int32_t suitoucyouKamokuCode() const { return suitoucyouKamokuCode_; }
  void setSuitoucyouKamokuCode(int32_t v) { suitoucyouKamokuCode_ = v; }
  int32_t suitoucyouHojyoKamokuCode() const { return suitoucyouHojyoKamokuCode_; }
  void setSuitoucyouHojyoKamokuCode(int32_t v) { suitoucyouHojyoKamokuCode_ = v; }
  bool didCreateBeforeOpen() const { return didCreateBeforeOpen_; }
  void setDidCreateBeforeOpen(bool v) { didCreateBeforeOpen_ = v; }

  // The other-side codes. A one-line entry (a cash-book entry) records each side's own
  // codes as that side's copy.
  void copyOwnSidesToAite();
  // Every line of a voucher records the voucher's two sides: the one line that uses a
  // side gives its codes, a second line makes them 諸口 (999); an unused side is -1.
  static void recordVoucherSides(std::span<const std::shared_ptr<Shiwake>> lines);
  // Whether every account, sub-account and division code is one the program makes
  // (or -1), the voucher number one a voucher or cash book gives, the kind one of the
  // three and number 0 only on a cash book's kinds: a file holding any other is
  // damaged.
  bool valuesInRange() const;

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  // The four-byte fields first, then the eight-byte ones: no padding between them.
  Date date_;
  int32_t denpyouNo_ = 0;
  int32_t karikataKamokuCode_ = -1;
  int32_t karikataHojyoKamokuCode_ = -1;
  int32_t karikataJigyoubuCode_ = -1;
  int32_t kashikataKamokuCode_ = -1;
  int32_t kashikataHojyoKamokuCode_ = -1;
  int32_t kashikataJigyoubuCode_ = -1;
  int32_t aiteKarikataKamokuCode_ = -1;
  int32_t aiteKarikataHojyoKamokuCode_ = -1;
  int32_t aiteKarikataJigyoubuCode_ = -1;
  int32_t aiteKashikataKamokuCode_ = -1;
  int32_t aiteKashikataHojyoKamokuCode_ = -1;
  int32_t aiteKashikataJigyoubuCode_ = -1;
  ShiwakeKind kindOfShiwake_ = ShiwakeKind::Furikaedenpyou;
  int32_t suitoucyouKamokuCode_ = -1;
  int32_t suitoucyouHojyoKamokuCode_ = -1;
  bool didCreateBeforeOpen_ = false;
  int64_t karikataKingaku_ = 0;
  int64_t kashikataKingaku_ = 0;
  SharedText tekiyou_;
  SharedText hendouReasonStr_;
};

using ShiwakePtr = std::shared_ptr<Shiwake>;

}  // namespace kivo

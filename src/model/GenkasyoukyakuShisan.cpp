#include "model/GenkasyoukyakuShisan.h"

#include <algorithm>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/Jigyoubu.h"
#include "model/Kaisya.h"
#include "model/Kamoku.h"

namespace kivo {

GenkasyoukyakuShisan::GenkasyoukyakuShisan() : GenkasyoukyakuShisan(kTeigakuHou) {}

GenkasyoukyakuShisan::GenkasyoukyakuShisan(std::string syoukyakuTypeStr, double zanzonWariai, double zanzonGendoWariai)
    : syoukyakuTypeStr_(std::move(syoukyakuTypeStr)), zanzonWariai_(zanzonWariai), zanzonGendoWariai_(zanzonGendoWariai)
{
}

const char* GenkasyoukyakuShisan::newerRuleTableNameForDate(Date dateOfAdded)
{
  return !dateOfAdded.isNull() && dateOfAdded < shin200StartDate() ? kShin250TableName : kShin200TableName;
}

bool GenkasyoukyakuShisan::isValidDateOfAdded(Date date) const
{
  if (date.isNull()) return false;
  return isOlderRule() ? date < newerRuleStartDate() : !(date < newerRuleStartDate());
}

void GenkasyoukyakuShisan::sortDecreaseArrayByDate()
{
  std::stable_sort(decreaseArray_.begin(), decreaseArray_.end(),
                   [](const GenkasyoukyakuShisanDecrease& a, const GenkasyoukyakuShisanDecrease& b) {
                     return GenkasyoukyakuShisanDecrease::decreaseDateSort(a, b) < 0;
                   });
}

// Decreases are dated on calendar days, never in the closing-adjustment month.
bool GenkasyoukyakuShisan::doDecreaseFrom(Date from, Date to) const
{
  for (const GenkasyoukyakuShisanDecrease& d : decreaseArray_) {
    const Date date = d.dateOfDecrease();
    if (!date.isNull() && !(date < from) && !(to < date)) return true;
  }
  return false;
}

int64_t GenkasyoukyakuShisan::toukiSyoukyakuhiGoukei() const
{
  return std::max<int64_t>(futsuuSyoukyakuhi_, 0) + zoukaSyoukyakugaku_ + warimashiSyoukyakuhi_ + tokubetsuSyoukyakuhi_;
}

bool GenkasyoukyakuShisan::isAmountInRange(int64_t amount)
{
  return amount >= 0 && amount <= Kaisya::kMaxInputAmountValue;
}

bool GenkasyoukyakuShisan::hasValuesInRange() const
{
  const auto amountOrNone = [](int64_t v) { return v == -1 || isAmountInRange(v); };
  if (quantity_ < 0 || !isTaiyouYearsInRange(taiyouYears_)) return false;
  if (!isWariaiInRange(zanzonWariai_) || !isWariaiInRange(zanzonGendoWariai_) || !isWariaiInRange(jigyouSenyouWariai_))
    return false;
  if (!amountOrNone(syutokuKagaku_) || !amountOrNone(futsuuSyoukyakuhi_) ||
      !amountOrNone(basedCyoubokagakuForKaiteiSyoukyakuhi_))
    return false;
  for (int64_t v : {kisyuSyoukyakugakuRuikei_, zoukaSyoukyakugaku_, warimashiSyoukyakuhi_, tokubetsuSyoukyakuhi_})
    if (!isAmountInRange(v)) return false;
  for (const GenkasyoukyakuShisanDecrease& d : decreaseArray_)
    if (!isAmountInRange(d.amountOfDecrease())) return false;
  return Kamoku::isCodeInRange(kamokuCode_) && HojyoKamoku::isCodeInRange(hojyoKamokuCode_) &&
         Jigyoubu::isCodeInRange(jigyoubuCode_);
}

// ---------------------------------------------------------------- archiving

void GenkasyoukyakuShisan::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("GenkasyoukyakuShisan", kClassVersion);
  c.writeString(name_);
  c.writeString(kanriCode_);
  c.writeInt32(quantity_);
  c.writeInt32(kamokuCode_);
  c.writeInt32(hojyoKamokuCode_);
  c.writeInt32(jigyoubuCode_);
  c.writeString(reference_);
  c.writeDate(dateOfAdded_);
  c.writeString(addedTypeStr_);
  c.writeDate(dateOfRemoved_);
  c.writeInt64(syutokuKagaku_);
  c.writeInt64(kisyuSyoukyakugakuRuikei_);
  c.writeString(syoukyakuTypeStr_);
  c.writeInt32(taiyouYears_);
  c.writeDouble(zanzonWariai_);
  c.writeDouble(zanzonGendoWariai_);
  c.writeDouble(jigyouSenyouWariai_);
  c.writeInt64(futsuuSyoukyakuhi_);
  c.writeInt64(zoukaSyoukyakugaku_);
  c.writeInt64(warimashiSyoukyakuhi_);
  c.writeInt64(tokubetsuSyoukyakuhi_);
  c.writeInt64(basedCyoubokagakuForKaiteiSyoukyakuhi_);
  c.writeCount(decreaseArray_.size());
  for (const GenkasyoukyakuShisanDecrease& d : decreaseArray_) d.encodeWithCoder(c);
  c.writeString(pListResource_);
  c.writeInt32(indexToDrag_);
}

bool GenkasyoukyakuShisan::initWithCoder(ArchiveReader& c)
{
  const int32_t v = c.beginRecord("GenkasyoukyakuShisan", kClassVersion);
  if (v < 0) return false;
  name_ = c.readString();
  kanriCode_ = c.readString();
  quantity_ = v >= 1 ? c.readInt32() : 1;
  kamokuCode_ = c.readInt32();
  hojyoKamokuCode_ = c.readInt32();
  jigyoubuCode_ = c.readInt32();
  reference_ = v >= 1 ? c.readString() : std::string();
  dateOfAdded_ = c.readDate();
  addedTypeStr_ = v >= 5 ? c.readString() : std::string(kShinpin);
  dateOfRemoved_ = c.readDate();
  syutokuKagaku_ = c.readInt64();
  kisyuSyoukyakugakuRuikei_ = c.readInt64();
  if (v >= 2) {
    syoukyakuTypeStr_ = c.readString();
  } else {
    const int32_t code = c.readInt32();
    syoukyakuTypeStr_ = code == 0 ? kTeigakuHou : code == 1 ? kTeiritsuHou : kIkkatsuSyoukyaku;
  }
  taiyouYears_ = c.readInt32();
  zanzonWariai_ = c.readDouble();
  zanzonGendoWariai_ = c.readDouble();
  jigyouSenyouWariai_ = c.readDouble();
  futsuuSyoukyakuhi_ = c.readInt64();
  // The coding does not say whose the charge is: the document's reader marks the
  // program's once every asset is read.
  futsuuSyoukyakuhiSetByProgram_.value = false;
  zoukaSyoukyakugaku_ = c.readInt64();
  warimashiSyoukyakuhi_ = c.readInt64();
  tokubetsuSyoukyakuhi_ = c.readInt64();
  // Extra depreciation is no longer kept apart from special depreciation; the two
  // are added only once each is known to be an amount the program takes.
  if (!isAmountInRange(warimashiSyoukyakuhi_) || !isAmountInRange(tokubetsuSyoukyakuhi_)) {
    c.fail("asset charge out of range");
    return false;
  }
  tokubetsuSyoukyakuhi_ += warimashiSyoukyakuhi_;
  warimashiSyoukyakuhi_ = 0;
  basedCyoubokagakuForKaiteiSyoukyakuhi_ = v >= 7 ? c.readInt64() : -1;
  decreaseArray_.clear();
  if (v >= 4) {
    const size_t n = c.readCount(16);
    for (size_t i = 0; i < n && c.ok(); ++i) {
      GenkasyoukyakuShisanDecrease d;
      if (!d.initWithCoder(c)) break;
      // Each decrease's bound as it comes: a check keeps none of them.
      if (!isAmountInRange(d.amountOfDecrease())) c.fail("asset value out of range");
      if (!c.checkOnly()) decreaseArray_.push_back(d);
    }
  }
  if (v >= 6) {
    pListResource_ = c.readString();
  } else if (!dateOfAdded_.isNull() && dateOfAdded_ < newerRuleStartDate()) {
    pListResource_ = kKyuuTableName;
  } else {
    pListResource_ = newerRuleTableNameForDate(dateOfAdded_);
  }
  indexToDrag_ = v >= 3 ? c.readInt32() : 0;
  // Assets written off at once or over three years are never recorded as removed.
  if (syoukyakuTypeStr_ == kSokujiSyoukyaku || syoukyakuTypeStr_ == kIkkatsuSyoukyaku) dateOfRemoved_ = Date();
  if (c.ok() && !hasValuesInRange()) c.fail("asset value out of range");
  return c.ok();
}

}  // namespace kivo

#include "model/Kaisya.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {
namespace {

// The most months a term can have: it is at most a year and no month is empty.
constexpr size_t kMaxMonthsOfTerm = 366;

// Whether the months read from a file form a term the program could have made: each
// month a range that starts the day after the one before ends, the whole starting no
// earlier than the first allowed day and lasting at most a year (the bound the term's
// entry applies). No term at all is a document without one.
bool isTermWithinRules(const std::vector<Month>& months)
{
  if (months.empty()) return true;
  for (size_t i = 0; i < months.size(); ++i) {
    const Month& m = months[i];
    if (m.startDate().isNull() || m.endDate().isNull() || m.endDate() < m.startDate()) return false;
    if (i > 0 && m.startDate() != months[i - 1].endDate().addingDays(1)) return false;
  }
  const Date start = months.front().startDate();
  const Date end = months.back().endDate();
  if (start < Date::earliestTermStartDate()) return false;
  const Date limit = start.addingMonths(12);
  return end < limit || (end == limit && limit.day() != start.day());
}

}  // namespace

void Kaisya::setMonthOfTermArrayFrom(Date startDate, Date endDate)
{
  std::vector<Month> months;
  Date e = endDate;
  // A term is at most a year; the bound only guards against nonsense dates.
  for (int guard = 0; guard < 400 && !(e < startDate); ++guard) {
    Date s;
    if (e.day() == Date::daysInMonth(e.year(), e.month()))
      s = Date(e.year(), e.month(), 1);
    else
      s = e.addingMonths(-1).addingDays(1);
    if (s < startDate) s = startDate;
    months.insert(months.begin(), Month(Month::nameForRange(s, e), s, e));
    e = s.addingDays(-1);
  }
  monthArray_ = std::move(months);
}

double Kaisya::displayKingakuOfMemoryKingaku(int64_t v) const
{
  switch (decimalPrecision_) {
  case 1: return static_cast<double>(v) / 10.0;
  case 2: return static_cast<double>(v) / 100.0;
  default: return static_cast<double>(v);
  }
}

std::optional<int64_t> Kaisya::memoryKingakuOfDisplayString(const std::string& text) const
{
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t whole = 0;
  int digits = 0, decimals = 0;
  bool inFraction = false;
  int64_t fraction = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ',' && !inFraction) continue;
    if (c == '.' && !inFraction) {
      inFraction = true;
      continue;
    }
    if (c == ' ') break;
    if (c < '0' || c > '9') return std::nullopt;
    if (inFraction) {
      if (++decimals > decimalPrecision_) {
        if (c != '0') return std::nullopt;  // trailing zeros beyond the precision are harmless
        --decimals;
        continue;
      }
      fraction = fraction * 10 + (c - '0');
    } else {
      if (whole > (INT64_MAX / 10) / 1000) return std::nullopt;
      whole = whole * 10 + (c - '0');
    }
    ++digits;
  }
  for (; i < text.size(); ++i)
    if (text[i] != ' ') return std::nullopt;
  if (digits == 0) return std::nullopt;
  for (int d = decimals; d < decimalPrecision_; ++d) fraction *= 10;
  int64_t scale = decimalPrecision_ == 2 ? 100 : decimalPrecision_ == 1 ? 10 : 1;
  int64_t v = whole * scale + fraction;
  return negative ? -v : v;
}

std::string Kaisya::formatMemoryKingaku(int64_t v, bool grouped) const
{
  const bool negative = v < 0;
  // Magnitude as unsigned so that INT64_MIN formats too.
  uint64_t m = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  const uint64_t scale = decimalPrecision_ == 2 ? 100 : decimalPrecision_ == 1 ? 10 : 1;
  const uint64_t whole = m / scale;
  const uint64_t frac = m % scale;
  std::string digits = std::to_string(whole);
  std::string out;
  if (grouped) {
    const int n = static_cast<int>(digits.size());
    for (int k = 0; k < n; ++k) {
      if (k > 0 && (n - k) % 3 == 0) out += ',';
      out += digits[k];
    }
  } else {
    out = digits;
  }
  if (decimalPrecision_ > 0) {
    std::string f = std::to_string(frac);
    while (static_cast<int>(f.size()) < decimalPrecision_) f.insert(f.begin(), '0');
    out += '.';
    out += f;
  }
  if (negative) out.insert(out.begin(), '-');
  return out;
}

std::string Kaisya::displayStringOfMemoryKingaku(int64_t v) const { return formatMemoryKingaku(v, true); }

std::string Kaisya::outputStringOfMemoryKingaku(int64_t v) const
{
  return isOutputOverflow(v) ? overFlowAmountValueString() : formatMemoryKingaku(v, true);
}

std::string Kaisya::textFileStringOfMemoryKingaku(int64_t v) const { return formatMemoryKingaku(v, false); }

void Kaisya::encodeWithCoder(ArchiveWriter& c) const
{
  c.beginRecord("Kaisya", kClassVersion);
  c.writeString(name_);
  c.writeString(address_);
  c.writeBool(isHoujin_);
  c.writeBool(isSeizou_);
  c.writeBool(isKensetu_);
  c.writeBool(isKakeibo_);
  c.writeBool(doUseWareki_);
  c.writeInt32(termNo_);
  c.writeString(termYear_);
  c.writeInt32(decimalPrecision_);
  c.writeString(password_);
  c.writeString(limitedUserPassword_);
  c.writeInt32(minAvailableDenpyouNo_);
  c.writeInt32(minAvailableRegularTypeDenpyouNo_);
  c.writeCount(monthArray_.size());
  for (const Month& m : monthArray_) m.encodeWithCoder(c);
  c.writeBool(hasDoneKurikoshi_);
  c.writeBool(isCreatedByKurikoshiFunction_);
  c.writeDate(termStartDateOfHoukokusyo_);
  c.writeDate(termEndDateOfHoukokusyo_);
  c.writeBool(doAddStartBalanceToHoukokusyo_);
  c.writeString(titleOfHoukokusyo_);
  c.writeDate(termStartDateOfHoukokusyoCover_);
  c.writeDate(termEndDateOfHoukokusyoCover_);
  c.writeBool(doUseWarekiForTermStartDateOfHoukokusyoCover_);
  c.writeBool(doUseWarekiForTermEndDateOfHoukokusyoCover_);
  c.writeString(currencyUnitOfHoukokusyo_);
  c.writeBytes(noteOfKaisyahouHoukokusyo_);
  c.writeString(noteOfTaisyakuTaisyouhyouOfHoukokusyo_);
  c.writeString(noteOfSonekiKeisansyoOfHoukokusyo_);
  c.writeString(noteOfHanbaihiOfHoukokusyo_);
  c.writeString(noteOfSeizougenkaOfHoukokusyo_);
  c.writeString(noteOfRiekisyobunanOfHoukokusyo_);
  c.writeString(titleOfRiekisyobunanOfHoukokusyo_);
  c.writeCount(riekisyobunanKamokuArray_.size());
  for (const RiekiSyobunanItem& item : riekisyobunanKamokuArray_) {
    c.writeString(item.name);
    c.writeInt64(item.kingaku);
  }
}

bool Kaisya::initWithCoder(ArchiveReader& c)
{
  const int32_t version = c.beginRecord("Kaisya", kClassVersion);
  if (version < 0) return false;
  name_ = c.readString();
  address_ = c.readString();
  isHoujin_ = c.readBool();
  isSeizou_ = c.readBool();
  isKensetu_ = c.readBool();
  isKakeibo_ = c.readBool();
  doUseWareki_ = c.readBool();
  // Earlier versions carried a corporation's last term forward, its number left empty,
  // into term kMaxTermNo + 1 and on: such a file reads as the last term.
  termNo_ = std::min(c.readInt32(), kMaxTermNo);
  termYear_ = c.readString();
  decimalPrecision_ = c.readInt32();
  password_ = c.readString();
  limitedUserPassword_ = c.readString();
  // Earlier versions left the counter past the used-up mark when they refused a
  // ledger's 行の複製: every number is used all the same.
  minAvailableDenpyouNo_ = std::min(c.readInt32(), kMaxDenpyouNo + 1);
  minAvailableRegularTypeDenpyouNo_ = c.readInt32();
  monthArray_.clear();
  const size_t n = c.readCount(16);
  if (n > kMaxMonthsOfTerm) {
    c.fail("term of more than a year");
    return false;
  }
  for (size_t i = 0; i < n && c.ok(); ++i) {
    Month m;
    if (!m.initWithCoder(c)) return false;
    monthArray_.push_back(std::move(m));
  }
  if (c.ok() && !isTermWithinRules(monthArray_)) {
    c.fail("term outside the rules");
    return false;
  }
  hasDoneKurikoshi_ = c.readBool();
  isCreatedByKurikoshiFunction_ = c.readBool();
  termStartDateOfHoukokusyo_ = c.readDate();
  termEndDateOfHoukokusyo_ = c.readDate();
  doAddStartBalanceToHoukokusyo_ = c.readBool();
  titleOfHoukokusyo_ = c.readString();
  termStartDateOfHoukokusyoCover_ = c.readDate();
  termEndDateOfHoukokusyoCover_ = c.readDate();
  doUseWarekiForTermStartDateOfHoukokusyoCover_ = c.readBool();
  doUseWarekiForTermEndDateOfHoukokusyoCover_ = c.readBool();
  currencyUnitOfHoukokusyo_ = c.readString();
  noteOfKaisyahouHoukokusyo_ = c.readBytes();
  noteOfTaisyakuTaisyouhyouOfHoukokusyo_ = c.readString();
  noteOfSonekiKeisansyoOfHoukokusyo_ = c.readString();
  noteOfHanbaihiOfHoukokusyo_ = c.readString();
  noteOfSeizougenkaOfHoukokusyo_ = c.readString();
  noteOfRiekisyobunanOfHoukokusyo_ = c.readString();
  titleOfRiekisyobunanOfHoukokusyo_ = c.readString();
  riekisyobunanKamokuArray_.clear();
  if (version >= 1) {
    const size_t items = c.readCount(12);
    for (size_t i = 0; i < items && c.ok(); ++i) {
      RiekiSyobunanItem item;
      item.name = c.readString();
      item.kingaku = c.readInt64();
      // Each item's bound as it comes: a check keeps none of them.
      if (!isRiekisyobunanKingakuInRange(item.kingaku)) c.fail("company value out of range");
      if (!c.checkOnly()) riekisyobunanKamokuArray_.push_back(std::move(item));
    }
  }
  if (c.ok() && !hasValuesInRange()) c.fail("company value out of range");
  return c.ok();
}

bool Kaisya::hasValuesInRange() const
{
  if (!isTermNoInRange(termNo_) || !isDecimalPrecisionInRange(decimalPrecision_)) return false;
  if (!isMinAvailableDenpyouNoInRange(minAvailableDenpyouNo_) ||
      !isMinAvailableRegularTypeDenpyouNoInRange(minAvailableRegularTypeDenpyouNo_))
    return false;
  if (isKakeibo_ && (isHoujin_ || isSeizou_ || isKensetu_)) return false;
  for (const RiekiSyobunanItem& item : riekisyobunanKamokuArray_)
    if (!isRiekisyobunanKingakuInRange(item.kingaku)) return false;
  return true;
}

}  // namespace kivo

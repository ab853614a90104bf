#include "fields/WarekiDateFormatter.h"

#include <cstdio>
#include <string_view>

#include "fields/FieldText.h"
#include "model/Wareki.h"

namespace kivo {
namespace {

// The Latin letter each era is abbreviated by.
const char* letterOfGengou(const std::string& gengou)
{
  static const std::pair<const char*, const char*> letters[] = {
      {"明治", "M"}, {"大正", "T"}, {"昭和", "S"}, {"平成", "H"}, {"令和", "R"}};
  for (const auto& [name, letter] : letters)
    if (gengou == name) return letter;
  return nullptr;
}

class Reader {
public:
  explicit Reader(std::string_view s) : s_(s) {}
  void skipSpaces()
  {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }
  bool take(std::string_view token)
  {
    skipSpaces();
    if (s_.substr(pos_, token.size()) != token) return false;
    pos_ += token.size();
    return true;
  }
  // Up to maxDigits digits; -1 when there is none.
  int number(int maxDigits, int* digitCount = nullptr)
  {
    skipSpaces();
    int v = 0, n = 0;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9' && n < maxDigits) {
      v = v * 10 + (s_[pos_] - '0');
      ++pos_;
      ++n;
    }
    if (digitCount) *digitCount = n;
    return n == 0 ? -1 : v;
  }
  bool atEnd()
  {
    skipSpaces();
    return pos_ == s_.size();
  }
  std::string_view rest() const { return s_.substr(pos_); }
  void advance(size_t n) { pos_ += n; }

private:
  std::string_view s_;
  size_t pos_ = 0;
};

}  // namespace

std::optional<std::string> WarekiDateFormatter::stringForObjectValue(const FieldValue& value) const
{
  if (!value.isDate() || value.dateValue().isNull()) return std::nullopt;
  const Date date = value.dateValue();
  if (isWareki_ && Wareki::eraOfDate(date)) return Wareki::warekiDateStringWithJapaneseSeparater(date, false);
  // A common-era year is read as one only with four digits: a shorter one (a day
  // before 1000, outside every era) is shown with its leading zeros.
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d/%d/%d", date.year(), date.month(), date.day());
  return std::string(buf);
}

std::optional<Date> WarekiDateFormatter::dateOfString(const std::string& typed) const
{
  const std::string text = FieldText::normalizedInput(typed);
  Reader r(text);

  // An era, by name or by letter.
  const Wareki::Era* era = nullptr;
  for (const Wareki::Era& e : Wareki::eras()) {
    if (r.take(e.gengou)) {
      era = &e;
      break;
    }
    const char* letter = letterOfGengou(e.gengou);
    if (letter && !r.rest().empty() && FieldText::equalsIgnoringCase(r.rest().substr(0, 1), letter)) {
      r.advance(1);
      era = &e;
      break;
    }
  }

  int yearDigits = 0;
  int year = r.number(4, &yearDigits);
  if (year < 0 && era && r.take("元")) year = 1;
  if (year < 0) return std::nullopt;
  if (!r.take("/") && !r.take("年")) return std::nullopt;
  const int month = r.number(2);
  if (month < 0 || (!r.take("/") && !r.take("月"))) return std::nullopt;
  const int day = r.number(2);
  if (day < 0) return std::nullopt;
  r.take("日");
  if (!r.atEnd()) return std::nullopt;

  if (!era && yearDigits < 4) {
    // A short year is an era year only in the era form: of the era in force.
    if (!isWareki_ || Wareki::eras().empty()) return std::nullopt;
    era = &Wareki::eras().back();
  }
  if (!era) {
    if (!Date::isValidDate(year, month, day)) return std::nullopt;
    return Date(year, month, day);
  }
  const std::optional<Date> date = Wareki::dateOfGengou(era->gengou, year, month, day);
  if (!date || *date < era->startDate || (!era->endDate.isNull() && era->endDate < *date)) return std::nullopt;
  return date;
}

bool WarekiDateFormatter::getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription)
{
  if (FieldText::normalizedInput(text).empty()) {
    value = FieldValue::text("");
    return true;
  }
  if (std::optional<Date> date = dateOfString(text)) {
    value = FieldValue::date(*date);
    return true;
  }
  if (errorDescription) *errorDescription = kInvalidDateMessage;
  return false;
}

}  // namespace kivo

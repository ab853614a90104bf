#include "fields/HidukeFormatter.h"

#include <cstdio>

#include "fields/FieldText.h"

namespace kivo {
namespace {

// Month and day of "m/d", "mm/dd", "mmdd" or "mdd"; nullopt for anything else.
std::optional<std::pair<int, int>> readMonthDay(const std::string& text)
{
  const size_t slash = text.find('/');
  std::string m, d;
  if (slash != std::string::npos) {
    m = text.substr(0, slash);
    d = text.substr(slash + 1);
    if (m.empty() || m.size() > 2 || d.empty() || d.size() > 2) return std::nullopt;
  } else if (text.size() == 3 || text.size() == 4) {
    m = text.substr(0, text.size() - 2);
    d = text.substr(text.size() - 2);
  } else {
    return std::nullopt;
  }
  if (!FieldText::isAsciiDigits(m) || !FieldText::isAsciiDigits(d)) return std::nullopt;
  return std::make_pair(std::stoi(m), std::stoi(d));
}

}  // namespace

HidukeFormatter::HidukeFormatter(const MyDocument& document, bool doAcceptRegularTypeDenpyouDate)
    : document_(&document), doAcceptRegularTypeDenpyouDate_(doAcceptRegularTypeDenpyouDate)
{
}

std::optional<std::string> HidukeFormatter::stringForObjectValue(const FieldValue& value) const
{
  if (value.isText()) return value.textValue();
  if (!value.isDate() || value.dateValue().isNull()) return std::nullopt;
  const Date date = value.dateValue();
  if (date == Date::kessanSeiridukiDate()) return std::string("13/00");
  if (date == Date::regularTypeDenpyouDate()) return std::string("00/00");
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d", date.month(), date.day());
  return std::string(buf);
}

std::optional<Date> HidukeFormatter::dateInTerm(int month, int day, Date termStart, Date termEnd)
{
  if (termStart.isNull() || termEnd.isNull()) return std::nullopt;
  // A term is at most a year, so its days lie in its first year or the next.
  for (int year = termStart.year(); year <= termEnd.year(); ++year) {
    if (!Date::isValidDate(year, month, day)) continue;
    const Date date(year, month, day);
    if (termStart <= date && date <= termEnd) return date;
  }
  return std::nullopt;
}

namespace {

// Whether the month of that year shares a day with the term.
bool monthOverlapsTerm(int year, int month, Date termStart, Date termEnd)
{
  const Date first(year, month, 1);
  const Date last(year, month, Date::daysInMonth(year, month));
  return first <= termEnd && termStart <= last;
}

}  // namespace

bool HidukeFormatter::getObjectValue(FieldValue& value, const std::string& typed, std::string* errorDescription)
{
  const std::string text = FieldText::normalizedInput(typed);
  if (text.empty()) {
    value = FieldValue::text("");
    return true;
  }
  const auto md = readMonthDay(text);
  const char* error = kInvalidDateMessage;
  if (md) {
    const auto [month, day] = *md;
    if (month == 13 && day == 0) {
      value = FieldValue::date(Date::kessanSeiridukiDate());
      return true;
    }
    if (month == 0 && day == 0) {
      if (doAcceptRegularTypeDenpyouDate_) {
        value = FieldValue::date(Date::regularTypeDenpyouDate());
        return true;
      }
    } else if (month >= 1 && month <= 12 && day >= 1) {
      const Kaisya& kaisya = document_->kaisya();
      const Date start = kaisya.termStartDate();
      const Date end = kaisya.termEndDate();
      if (auto date = dateInTerm(month, day, start, end)) {
        value = FieldValue::date(*date);
        return true;
      }
      // Refused: say whether the day does not exist in the year its month falls in
      // the term (2/29 of a common year), or lies outside the term.
      error = kOutOfTermMessage;
      if (!start.isNull() && !end.isNull()) {
        for (int year = start.year(); year <= end.year(); ++year)
          if (monthOverlapsTerm(year, month, start, end) && !Date::isValidDate(year, month, day))
            error = kInvalidDateMessage;
      }
      if (!Date::isValidDate(2000, month, day)) error = kInvalidDateMessage;  // 2000: leap year
    }
  }
  if (errorDescription) *errorDescription = error;
  return false;
}

bool HidukeFormatter::isPartialStringValid(const std::string& partial) const
{
  const std::string text = FieldText::halfWidth(partial);
  const size_t slash = text.find('/');
  if (slash == std::string::npos) return text.size() <= 4 && (text.empty() || FieldText::isAsciiDigits(text));
  const std::string m = text.substr(0, slash);
  const std::string d = text.substr(slash + 1);
  auto ok = [](const std::string& part) {
    return part.size() <= 2 && (part.empty() || FieldText::isAsciiDigits(part));
  };
  return ok(m) && ok(d);
}

}  // namespace kivo

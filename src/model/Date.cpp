#include "model/Date.h"

#include <cstdio>

namespace kivo {
namespace {

// Days from civil and back (proleptic Gregorian), after Howard Hinnant's algorithms.
int32_t daysFromCivil(int y, int m, int d)
{
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// In 64 bits, so that every day number has a year without overflow.
void civilFromDays(int32_t serial, int& y, int& m, int& d)
{
  const int64_t z = int64_t{serial} + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp + (mp < 10 ? 3 : -9));
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

Date::Date(int year, int month, int day) : serial_(daysFromCivil(year, month, day)) {}

bool Date::isValidDate(int year, int month, int day)
{
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

int Date::daysInMonth(int year, int month)
{
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
  }
  return days[month - 1];
}

std::optional<Date> Date::fromString(const std::string& text)
{
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d/%d/%d%c", &y, &m, &d, &tail) != 3) return std::nullopt;
  if (!isValidDate(y, m, d)) return std::nullopt;
  return Date(y, m, d);
}

Date Date::latestSupportedDate() { return Date(9999, 12, 31); }

bool Date::isInSupportedRange() const
{
  static const int32_t first = Date(1, 1, 1).serial();
  static const int32_t last = latestSupportedDate().serial();
  return serial_ >= first && serial_ <= last;
}

int Date::year() const
{
  int y, m, d;
  civilFromDays(serial_, y, m, d);
  return y;
}
int Date::month() const
{
  int y, m, d;
  civilFromDays(serial_, y, m, d);
  return m;
}
int Date::day() const
{
  int y, m, d;
  civilFromDays(serial_, y, m, d);
  return d;
}

Date Date::addingMonths(int months) const
{
  int y, m, d;
  civilFromDays(serial_, y, m, d);
  // Floor division: a year before 1 still gives a month from 1 to 12.
  const int64_t total = int64_t{y} * 12 + (m - 1) + months;
  const int64_t year = total >= 0 ? total / 12 : (total - 11) / 12;
  y = static_cast<int>(year);
  m = static_cast<int>(total - year * 12) + 1;
  if (d > daysInMonth(y, m)) d = daysInMonth(y, m);
  return Date(y, m, d);
}

std::string Date::toString() const
{
  if (isNull()) return {};
  int y, m, d;
  civilFromDays(serial_, y, m, d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d/%d/%d", y, m, d);
  return buf;
}

}  // namespace kivo

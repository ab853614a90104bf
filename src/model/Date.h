// A calendar day: "midnight, Japan time" of one date, with no time or zone in it.
//
// Every date of the books is one of these: entry dates, month bounds, the term and
// the sentinel dates that mark the closing-adjustment month and regular-type
// vouchers. A default-constructed Date is null (no date), which compares equal to
// nothing but another null date.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kivo {

class Date {
public:
  constexpr Date() = default;
  Date(int year, int month, int day);

  // Days since 1970-01-01; the value written to the document file.
  static constexpr Date fromSerial(int32_t serial)
  {
    Date d;
    d.serial_ = serial;
    return d;
  }
  constexpr int32_t serial() const { return serial_; }
  constexpr bool isNull() const { return serial_ == kNull; }

  // Whether year/month/day name a real day of the Gregorian calendar.
  static bool isValidDate(int year, int month, int day);
  // Reads "yyyy/m/d" (the common-era text form); nullopt when it is not a real day.
  static std::optional<Date> fromString(const std::string& text);

  // Whether the date is a day of the years 1 to 9999, the range every calculation of
  // the program handles; a file holding another day is damaged.
  bool isInSupportedRange() const;
  // The last of those days, 9999/12/31.
  static Date latestSupportedDate();

  int year() const;
  int month() const;
  int day() const;
  static int daysInMonth(int year, int month);

  Date addingDays(int days) const { return fromSerial(serial_ + days); }
  // The same day n months later, clamped to the last day of a shorter month.
  Date addingMonths(int months) const;

  friend constexpr bool operator==(const Date&, const Date&) = default;
  friend constexpr auto operator<=>(const Date&, const Date&) = default;

  // "%d/%d/%d" in the common era (no zero padding), "" for a null date.
  std::string toString() const;

  // The three sentinel dates. They are real calendar days in 1984, which no term
  // may contain (the earliest term starts on EarliestTermStartDate).
  // Constant serials: the journal compares every entry date with the first.
  static constexpr Date kessanSeiridukiDate() { return fromSerial(5113); }     // 1984/1/1: the closing-adjustment month
  static constexpr Date regularTypeDenpyouDate() { return fromSerial(5114); }  // 1984/1/2: regular-type vouchers
  static constexpr Date earliestTermStartDate() { return fromSerial(5136); }   // 1984/1/24

private:
  static constexpr int32_t kNull = INT32_MIN;
  int32_t serial_ = kNull;
};

}  // namespace kivo

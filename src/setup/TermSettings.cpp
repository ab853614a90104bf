#include "setup/TermSettings.h"

#include <string_view>

#include "fields/FieldText.h"

namespace kivo {
namespace {

TermSettings::Refusal noteAt(TermSettings::Field field, const char* note) { return {field, {}, {}, note}; }

TermSettings::Refusal alertAt(TermSettings::Field field, const char* message)
{
  return {field, TermSettings::kInvalidDateTitle, message, {}};
}

}  // namespace

TermSettings::Refusal TermSettings::check() const
{
  if (trimmedName(name).empty()) return noteAt(Field::Name, kEmptyNameNote);
  if (isHoujin && !FieldText::normalizedInput(termNoText).empty() && !termNoOfText(termNoText))
    return noteAt(Field::TermNo, kTermNoNote);
  if (!startDate || startDate->isNull()) return noteAt(Field::StartDate, kStartDateNote);
  if (*startDate < Date::earliestTermStartDate()) return alertAt(Field::StartDate, kTooEarlyStartMessage);
  // The document file holds no later day (nor does any calculation of the program).
  if (!startDate->isInSupportedRange()) return alertAt(Field::StartDate, kTooLateStartMessage);
  if (!endDate || endDate->isNull()) return noteAt(Field::EndDate, kEndDateNote);
  if (*endDate < *startDate) return noteAt(Field::EndDate, kEndBeforeStartNote);
  if (!endDate->isInSupportedRange()) return alertAt(Field::EndDate, kTooLateEndMessage);
  if (!isKakeibo && endDate->addingDays(1).month() == endDate->month())
    return alertAt(Field::EndDate, kEndOfMonthMessage);
  // One year on from the start; a start on 29 February gives 28 February.
  const Date limit = startDate->addingMonths(12);
  if (*endDate > limit || (*endDate == limit && limit.day() == startDate->day()))
    return alertAt(Field::EndDate, kTermTooLongMessage);
  return {};
}

std::optional<int32_t> TermSettings::termNoOfText(const std::string& text)
{
  const std::string digits = FieldText::normalizedInput(text);
  if (digits.empty() || digits.size() > 4 || !FieldText::isAsciiDigits(digits)) return std::nullopt;
  const int32_t n = std::stoi(digits);
  if (!Kaisya::isTermNoInRange(n)) return std::nullopt;
  return n;
}

Date TermSettings::defaultEndDateForStartDate(Date startDate)
{
  Date end = startDate.addingMonths(12);
  if (end.day() == startDate.day()) end = end.addingDays(-1);
  return end;
}

std::string TermSettings::trimmedName(const std::string& text)
{
  static constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
  std::string_view v(text);
  for (bool changed = true; changed;) {
    changed = false;
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1), changed = true;
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1), changed = true;
    if (v.substr(0, kIdeographicSpace.size()) == kIdeographicSpace)
      v.remove_prefix(kIdeographicSpace.size()), changed = true;
    if (v.size() >= kIdeographicSpace.size() && v.substr(v.size() - kIdeographicSpace.size()) == kIdeographicSpace)
      v.remove_suffix(kIdeographicSpace.size()), changed = true;
  }
  return std::string(v);
}

std::string TermSettings::yearTextOfDateText(const std::string& dateText)
{
  const size_t slash = dateText.find('/');
  return slash == std::string::npos ? std::string() : dateText.substr(0, slash);
}

}  // namespace kivo

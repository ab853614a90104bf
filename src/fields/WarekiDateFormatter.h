// A full date field or printout column, in the common era ("2024/4/1") or, with
// isWareki, in the Japanese-era form ("令和6/4/1"). It reads either form whatever
// its setting: "2024/4/1", "2024年4月1日", "R6/4/1", "令和6年4月1日", "令和元年5月1日"; an
// era year has one to four digits ("令和100/4/1" is 2118/4/1, the last day it holds
// "令和7981/12/31"); a year without an era and of fewer than four digits is a year of
// the era in force, and only in the era form. An era date must lie within its era
// ("平成31/5/1" is refused). Anything it cannot read is refused with "無効な日付です。".
// Every date it shows, in either setting, reads back as the same date.
#pragma once

#include <optional>

#include "fields/Formatter.h"

namespace kivo {

class WarekiDateFormatter : public Formatter {
public:
  static constexpr const char* kInvalidDateMessage = "無効な日付です。";

  WarekiDateFormatter() = default;

  void setIsWareki(bool v) { isWareki_ = v; }

  // "%d/%d/%d" without leading zeros (but a year before 1000 in four digits), or the
  // era form; nullopt for anything that is not a date.
  std::optional<std::string> stringForObjectValue(const FieldValue& value) const override;
  // Empty text gives empty text; a readable date that date.
  bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) override;

  // The date a text names, as getObjectValue reads it.
  std::optional<Date> dateOfString(const std::string& text) const;

private:
  bool isWareki_ = false;
};

}  // namespace kivo

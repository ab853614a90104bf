// The Japanese eras and the era form of a date ("令和6年 4月 1日", "令和6/4/1").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Date.h"

namespace kivo {

class Wareki {
public:
  struct Era {
    std::string gengou;
    Date startDate;
    Date endDate;  // null for the era in force
  };

  // The eras the program carries, oldest first.
  static const std::vector<Era>& eras();
  // The era holding the date, or nullptr.
  static const Era* eraOfDate(Date date);
  // "%d年%2d月%2d日" with a Japanese separator, else "%d/%d/%d", led by the era name
  // and the era year; a date outside every era keeps its common-era year, unnamed.
  static std::string warekiDateStringWithJapaneseSeparater(Date date, bool japaneseSeparater);
  // The date of an era year, month and day; nullopt when the era is unknown or the
  // day is not a real day.
  static std::optional<Date> dateOfGengou(const std::string& gengou, int eraYear, int month, int day);

  // Reads an era table ("name<TAB>start<TAB>end" lines, '#' comments).
  static std::vector<Era> parse(std::string_view text);
};

}  // namespace kivo

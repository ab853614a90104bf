// The depreciation rate tables of the tax law, compiled in from
// resources/depreciation-rates.csv (lives 2 to 100).
//
// Three tables, each named by the text an asset stores in `pListResource`
// (GenkasyoukyakuShisan::kKyuuTableName and the two newer names):
//   "GenkasyoukyakuShisan"          the older rule, assets acquired before 2007-04-01:
//                                   straight line, and declining balance for a
//                                   residual ratio of 10 %;
//   "GenkasyoukyakuShisan20070401"  the newer rule, acquired 2007-04-01 to 2012-03-31:
//                                   straight line, declining balance at 250 %;
//   "GenkasyoukyakuShisan20120401"  the newer rule, acquired from 2012-04-01:
//                                   straight line, declining balance at 200 %.
// An asset records only whether it follows the older or the newer rule; under the
// newer rule its acquisition date picks the 250 % or the 200 % table.
//
// Rates are held in fixed point, units of 1/100,000, exactly as the law prints them
// (0.334 is 33400, the guarantee rate 0.06552 is 6552); -1 marks a cell the law
// leaves empty (a two-year life has no revised rate and no guarantee rate).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/Date.h"
#include "model/GenkasyoukyakuShisan.h"

namespace kivo {

class SyoukyakuRitsuTable {
public:
  static constexpr int32_t kMinTaiyouYears = 2;
  static constexpr int32_t kMaxTaiyouYears = GenkasyoukyakuShisan::kMaxTaiyouYears;
  static constexpr int32_t kScale = 100000;
  // The older table's declining-balance rates are those of this residual ratio.
  static constexpr double kTeiritsuHouZanzonWariai = 10.0;

  struct Row {
    int32_t teigakuHou = -1;            // straight-line rate
    int32_t teiritsuHou = -1;           // declining-balance rate
    int32_t kaiteiSyoukyakuRitsu = -1;  // revised rate (newer rule)
    int32_t hosyouRitsu = -1;           // guarantee rate (newer rule)
  };

  static const SyoukyakuRitsuTable& kyuu();
  static const SyoukyakuRitsuTable& shin250();
  static const SyoukyakuRitsuTable& shin200();
  // The table of that name; the older table for the older rule's name, and for any
  // other text the newer rule's table of the acquisition date.
  static const SyoukyakuRitsuTable& tableNamed(std::string_view name, Date dateOfAdded);
  // The newer rule's table for an acquisition date (the latest for no date).
  static const SyoukyakuRitsuTable& newerRuleTableForDate(Date dateOfAdded);

  std::string_view name() const { return name_; }
  bool isNewerRule() const { return isNewerRule_; }
  // First and last acquisition date the table serves; null for no bound.
  Date startDate() const { return startDate_; }
  Date endDate() const { return endDate_; }
  // The row of a useful life, nullptr outside 2 to 100.
  const Row* rowOfTaiyouYears(int32_t taiyouYears) const;

private:
  SyoukyakuRitsuTable() = default;
  // Reads "0.334" as 33400; -1 for an empty cell; -2 for text that is not such a
  // number.
  static int32_t parseRate(std::string_view text);
  static void load();

  std::string_view name_;
  bool isNewerRule_ = false;
  Date startDate_;
  Date endDate_;
  std::array<Row, kMaxTaiyouYears + 1> rows_{};
};

}  // namespace kivo

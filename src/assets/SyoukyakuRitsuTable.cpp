#include "assets/SyoukyakuRitsuTable.h"

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "model/GenkasyoukyakuShisan.h"
#include "resources/Resources.h"

namespace kivo {

namespace {

SyoukyakuRitsuTable* gKyuu;
SyoukyakuRitsuTable* gShin250;
SyoukyakuRitsuTable* gShin200;
std::once_flag gLoaded;

std::vector<std::string_view> split(std::string_view line, char sep)
{
  std::vector<std::string_view> cells;
  size_t from = 0;
  for (;;) {
    const size_t at = line.find(sep, from);
    cells.push_back(line.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
    if (at == std::string_view::npos) break;
    from = at + 1;
  }
  return cells;
}

}  // namespace

int32_t SyoukyakuRitsuTable::parseRate(std::string_view text)
{
  while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
  if (text.empty()) return -1;
  int64_t whole = 0;
  size_t i = 0;
  for (; i < text.size() && text[i] != '.'; ++i) {
    if (text[i] < '0' || text[i] > '9' || i > 2) return -2;
    whole = whole * 10 + (text[i] - '0');
  }
  int64_t frac = 0;
  int digits = 0;
  if (i < text.size()) {
    for (++i; i < text.size(); ++i, ++digits) {
      if (text[i] < '0' || text[i] > '9' || digits >= 5) return -2;
      frac = frac * 10 + (text[i] - '0');
    }
  }
  for (; digits < 5; ++digits) frac *= 10;
  const int64_t v = whole * kScale + frac;
  return v > kScale ? -2 : static_cast<int32_t>(v);
}

void SyoukyakuRitsuTable::load()
{
  static SyoukyakuRitsuTable kyuu, shin250, shin200;
  kyuu.name_ = GenkasyoukyakuShisan::kKyuuTableName;
  kyuu.endDate_ = GenkasyoukyakuShisan::newerRuleStartDate().addingDays(-1);
  shin250.name_ = GenkasyoukyakuShisan::kShin250TableName;
  shin250.isNewerRule_ = true;
  shin250.startDate_ = GenkasyoukyakuShisan::newerRuleStartDate();
  shin250.endDate_ = GenkasyoukyakuShisan::shin200StartDate().addingDays(-1);
  shin200.name_ = GenkasyoukyakuShisan::kShin200TableName;
  shin200.isNewerRule_ = true;
  shin200.startDate_ = GenkasyoukyakuShisan::shin200StartDate();

  // 耐用年数,旧定額法,旧定率法,新定額法,250%償却率,250%改定償却率,250%保証率,
  // 200%償却率,200%改定償却率,200%保証率
  const std::string_view csv = Resources::get("depreciation-rates.csv").value_or("");
  bool header = true;
  for (std::string_view line : split(csv, '\n')) {
    if (header) {
      header = false;
      continue;
    }
    const std::vector<std::string_view> c = split(line, ',');
    if (c.size() < 10) continue;
    const int life = std::atoi(std::string(c[0]).c_str());
    if (life < kMinTaiyouYears || life > kMaxTaiyouYears) continue;
    auto rate = [&](int i) {
      const int32_t r = parseRate(c[i]);
      return r < -1 ? -1 : r;
    };
    kyuu.rows_[life] = {rate(1), rate(2), -1, -1};
    shin250.rows_[life] = {rate(3), rate(4), rate(5), rate(6)};
    shin200.rows_[life] = {rate(3), rate(7), rate(8), rate(9)};
  }
  gKyuu = &kyuu;
  gShin250 = &shin250;
  gShin200 = &shin200;
}

const SyoukyakuRitsuTable& SyoukyakuRitsuTable::kyuu()
{
  std::call_once(gLoaded, load);
  return *gKyuu;
}

const SyoukyakuRitsuTable& SyoukyakuRitsuTable::shin250()
{
  std::call_once(gLoaded, load);
  return *gShin250;
}

const SyoukyakuRitsuTable& SyoukyakuRitsuTable::shin200()
{
  std::call_once(gLoaded, load);
  return *gShin200;
}

const SyoukyakuRitsuTable& SyoukyakuRitsuTable::newerRuleTableForDate(Date dateOfAdded)
{
  if (!dateOfAdded.isNull() && dateOfAdded < shin200().startDate()) return shin250();
  return shin200();
}

const SyoukyakuRitsuTable& SyoukyakuRitsuTable::tableNamed(std::string_view name, Date dateOfAdded)
{
  if (name == GenkasyoukyakuShisan::kKyuuTableName) return kyuu();
  return newerRuleTableForDate(dateOfAdded);
}

const SyoukyakuRitsuTable::Row* SyoukyakuRitsuTable::rowOfTaiyouYears(int32_t taiyouYears) const
{
  if (taiyouYears < kMinTaiyouYears || taiyouYears > kMaxTaiyouYears) return nullptr;
  return &rows_[taiyouYears];
}

}  // namespace kivo

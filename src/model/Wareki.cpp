#include "model/Wareki.h"

#include <cstdio>

#include "resources/Resources.h"

namespace kivo {

std::vector<Wareki::Era> Wareki::parse(std::string_view text)
{
  std::vector<Era> eras;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(pos, end - pos));
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const size_t t1 = line.find('\t');
    if (t1 == std::string::npos) continue;
    const size_t t2 = line.find('\t', t1 + 1);
    Era era;
    era.gengou = line.substr(0, t1);
    const std::string start = line.substr(t1 + 1, t2 == std::string::npos ? std::string::npos : t2 - t1 - 1);
    auto s = Date::fromString(start);
    if (!s) continue;
    era.startDate = *s;
    if (t2 != std::string::npos) {
      if (auto e = Date::fromString(line.substr(t2 + 1))) era.endDate = *e;
    }
    eras.push_back(std::move(era));
  }
  return eras;
}

const std::vector<Wareki::Era>& Wareki::eras()
{
  static const std::vector<Era> all = parse(Resources::get("wareki.txt").value_or(""));
  return all;
}

const Wareki::Era* Wareki::eraOfDate(Date date)
{
  for (const Era& era : eras()) {
    if (date < era.startDate) continue;
    if (!era.endDate.isNull() && era.endDate < date) continue;
    return &era;
  }
  return nullptr;
}

std::string Wareki::warekiDateStringWithJapaneseSeparater(Date date, bool japanese)
{
  if (date.isNull()) return {};
  const Era* era = eraOfDate(date);
  const int year = era ? date.year() - era->startDate.year() + 1 : date.year();
  char buf[64];
  if (japanese)
    std::snprintf(buf, sizeof buf, "%d年%2d月%2d日", year, date.month(), date.day());
  else
    std::snprintf(buf, sizeof buf, "%d/%d/%d", year, date.month(), date.day());
  return era ? era->gengou + buf : std::string(buf);
}

std::optional<Date> Wareki::dateOfGengou(const std::string& gengou, int eraYear, int month, int day)
{
  for (const Era& era : eras()) {
    if (era.gengou != gengou) continue;
    const int year = era.startDate.year() + eraYear - 1;
    if (eraYear < 1 || !Date::isValidDate(year, month, day)) return std::nullopt;
    return Date(year, month, day);
  }
  return std::nullopt;
}

}  // namespace kivo

#include "trial/SuiiShisanPrintPaginator.h"

#include <algorithm>

namespace kivo {

int SuiiShisanPrintPaginator::monthPerPageOfSetting(int64_t setting, int columnCount)
{
  const int64_t clamped = std::clamp<int64_t>(setting, 0, columnCount);
  return clamped == 0 ? columnCount : static_cast<int>(clamped);
}

SuiiShisanPrintPaginator::SuiiShisanPrintPaginator(const std::vector<Shisan>& taisyakuTaisyou,
                                                   const std::vector<Shisan>& sonekiKeisan,
                                                   const std::vector<Shisan>& seizouGenka, int linesPerPage,
                                                   int columnCount, int monthPerPage)
    : PrintPaginator(linesPerPage),
      columnCount_(std::max(columnCount, 1)),
      monthPerPage_(monthPerPageOfSetting(monthPerPage, std::max(columnCount, 1))),
      pagePerLine_((columnCount_ + monthPerPage_ - 1) / monthPerPage_)
{
  if (isTooSmall()) return;
  layoutSection(taisyakuTaisyou, Section::TaisyakuTaisyou);
  layoutSection(sonekiKeisan, Section::SonekiKeisan);
  layoutSection(seizouGenka, Section::SeizouGenka);
  setRowCount(static_cast<size_t>(pages_.size()) * static_cast<size_t>(rowsPerPage()));
}

void SuiiShisanPrintPaginator::layoutSection(const std::vector<Shisan>& rows, Section section)
{
  const size_t L = static_cast<size_t>(rowsPerPage());
  const size_t first = lines_.size();
  for (const Shisan& r : rows) {
    const size_t n = lines_.size() - first;
    if (r.kamokuCode() == ShisanHeadingRowCode && n % L >= L - 3) {
      while ((lines_.size() - first) % L != 0) lines_.push_back(nullptr);
    } else if (r.kamokuCode() == ShisanTotalRowCode && n > 0 && n % L == 0 && lines_.back() &&
               lines_.back()->kamokuCode() != ShisanTotalRowCode) {
      lines_.insert(lines_.end() - 1, nullptr);
    }
    lines_.push_back(&r);
  }
  while ((lines_.size() - first) % L != 0) lines_.push_back(nullptr);
  // Every block of lines once per column group.
  for (size_t block = first; block < lines_.size(); block += L)
    for (int g = 0; g < pagePerLine_; ++g) pages_.push_back({section, g, block});
}

std::pair<int, int> SuiiShisanPrintPaginator::columnsOfGroup(int g) const
{
  const int from = std::clamp(g * monthPerPage_, 0, columnCount_);
  return {from, std::min(from + monthPerPage_, columnCount_)};
}

std::vector<int> SuiiShisanPrintPaginator::chosenPages(bool taisyakuTaisyou, bool sonekiKeisan, bool seizouGenka) const
{
  std::vector<int> out;
  for (size_t p = 0; p < pages_.size(); ++p) {
    const Section s = pages_[p].section;
    if ((s == Section::TaisyakuTaisyou && taisyakuTaisyou) || (s == Section::SonekiKeisan && sonekiKeisan) ||
        (s == Section::SeizouGenka && seizouGenka))
      out.push_back(static_cast<int>(p));
  }
  return out;
}

}  // namespace kivo

#include "trial/ZandakaShisanPrintPaginator.h"

#include <algorithm>

#include "model/Kaisya.h"

namespace kivo {

ZandakaShisanPrintPaginator::ZandakaShisanPrintPaginator(const std::vector<Shisan>& taisyakuTaisyou,
                                                         const std::vector<Shisan>& sonekiKeisan,
                                                         const std::vector<Shisan>& seizouGenka, int linesPerPage)
    : PrintPaginator(linesPerPage)
{
  if (isTooSmall()) return;
  layoutSection(taisyakuTaisyou, Section::TaisyakuTaisyou);
  layoutSection(sonekiKeisan, Section::SonekiKeisan);
  layoutSection(seizouGenka, Section::SeizouGenka);
  setRowCount(lines_.size());
}

void ZandakaShisanPrintPaginator::layoutSection(const std::vector<Shisan>& rows, Section section)
{
  const size_t L = static_cast<size_t>(rowsPerPage());
  const size_t first = lines_.size();
  const Line period{Line::Kind::Period, nullptr};
  const Line empty{Line::Kind::Empty, nullptr};
  for (const Shisan& r : rows) {
    const size_t n = lines_.size();
    const bool pageStart = n % L == 0;
    if (r.kamokuCode() == ShisanHeadingRowCode) {
      if (n % L >= L - 3) {
        while (lines_.size() % L != 0) lines_.push_back(empty);
        lines_.push_back(period);
      } else if (pageStart) {
        lines_.push_back(period);
      }
    } else if (r.kamokuCode() == ShisanTotalRowCode && pageStart) {
      // The last line of the previous page of this section comes along, unless it
      // is a total row itself or blank; the first row of a section has none.
      if (n > first && lines_[n - 1].kind == Line::Kind::Row && lines_[n - 1].row->kamokuCode() != ShisanTotalRowCode) {
        const Line moved = lines_[n - 1];
        lines_[n - 1] = empty;
        lines_.push_back(period);
        lines_.push_back(moved);
      } else {
        lines_.push_back(period);
      }
    } else if (pageStart) {
      lines_.push_back(period);
    }
    lines_.push_back({Line::Kind::Row, &r});
  }
  while (lines_.size() % L != 0) lines_.push_back(empty);
  sectionOfPage_.insert(sectionOfPage_.end(), (lines_.size() - first) / L, section);
}

std::vector<int> ZandakaShisanPrintPaginator::chosenPages(bool taisyakuTaisyou, bool sonekiKeisan,
                                                          bool seizouGenka) const
{
  std::vector<int> out;
  for (size_t p = 0; p < sectionOfPage_.size(); ++p) {
    const Section s = sectionOfPage_[p];
    if ((s == Section::TaisyakuTaisyou && taisyakuTaisyou) || (s == Section::SonekiKeisan && sonekiKeisan) ||
        (s == Section::SeizouGenka && seizouGenka))
      out.push_back(static_cast<int>(p));
  }
  return out;
}

std::string ZandakaShisanPrintPaginator::periodTitle(const Kaisya& kaisya, int32_t from, int32_t to)
{
  const std::vector<Month>& months = kaisya.monthArray();
  const int32_t n = static_cast<int32_t>(months.size());
  auto name = [&](int32_t i) {
    i = std::clamp(i, 0, n);
    return i == n ? std::string("決算整理月") : months[static_cast<size_t>(i)].name();
  };
  std::string title = name(from);
  if (std::clamp(from, 0, n) != std::clamp(to, 0, n)) title += " 〜 " + name(to);
  return title;
}

int ZandakaShisanPrintPaginator::linesPerPageOfBands(const PrintBands& bands)
{
  return linesThatFit(bands.geometry.printableHeight() - bands.titleHeight - bands.lineHeight, bands.lineHeight);
}

}  // namespace kivo

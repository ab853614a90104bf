#include "print/PrintPaginator.h"

#include <algorithm>
#include <cmath>

namespace kivo {

int PrintPaginator::pageCount() const
{
  if (rowsPerPage_ <= 0) return 0;
  const size_t perPage = static_cast<size_t>(rowsPerPage_);
  return static_cast<int>((rowCount_ + perPage - 1) / perPage);
}

PrintPaginator::RowRange PrintPaginator::rowsOfPage(int page) const
{
  if (page < 0 || rowsPerPage_ <= 0) return {};
  const size_t perPage = static_cast<size_t>(rowsPerPage_);
  const size_t first = std::min(static_cast<size_t>(page) * perPage, rowCount_);
  return {first, std::min(first + perPage, rowCount_)};
}

int PrintPaginator::pageNumber(int page, bool continuous, int startNumber) const
{
  int number = page + 1;
  if (!continuous) number = page - std::clamp(firstPageOfSection(page), 0, page) + 1;
  if (startNumber >= 1 && static_cast<int64_t>(startNumber) + pageCount() - 1 <= kMaxPageNumber)
    number += startNumber - 1;
  return number;
}

int PrintPaginator::linesThatFit(double height, double lineHeight)
{
  if (!(lineHeight > 0.0) || !(height > 0.0)) return 0;
  // A hair of tolerance, so that lines that fit exactly are not lost to rounding.
  return static_cast<int>(std::floor(height / lineHeight + 1e-9));
}

}  // namespace kivo

namespace kivo {

int PrintBands::linesBelowTitle() const
{
  return PrintPaginator::linesThatFit(geometry.printableHeight() - titleHeight, lineHeight);
}

}  // namespace kivo

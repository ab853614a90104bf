// The pages of the journal printout (仕訳日記帳): each entry takes two printed lines and
// is never split across pages; every page has the title and the two heading lines
// (lines 1 and 2 below the title), then its entries.
#pragma once

#include <cstddef>

#include "print/PrintPaginator.h"

namespace kivo {

class ShiwakenikkiPaginator : public PrintPaginator {
public:
  ShiwakenikkiPaginator(size_t entryCount, int entriesPerPage) : PrintPaginator(entriesPerPage)
  {
    setRowCount(entryCount);
  }

  // The entries that fit below the title and the two heading lines.
  static int entriesPerPageOfBands(const PrintBands& bands)
  {
    const int lines = bands.linesBelowTitle() - 2;
    return lines > 0 ? lines / 2 : 0;
  }

  // The first of the two lines (below the title band) that entry i takes on its page.
  int firstLineOfEntry(size_t i) const { return 2 * static_cast<int>(i % static_cast<size_t>(rowsPerPage())) + 3; }
};

}  // namespace kivo

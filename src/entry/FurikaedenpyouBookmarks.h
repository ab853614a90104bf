// The rules of the voucher window's drawer: the bookmarks named on vouchers (at most
// one per voucher number, in the order the user gave them) and the month list's jump
// to the first transfer voucher of a month.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/MyDocument.h"

namespace kivo {

class FurikaedenpyouBookmarks {
public:
  // The first bookmark of the list that points to the voucher, nullptr for none.
  static BookmarkPtr bookmarkOfDenpyouNo(const std::vector<BookmarkPtr>& bookmarks, int32_t denpyouNo);
  // Its index in the list, -1 for none.
  static int indexOfDenpyouNo(const std::vector<BookmarkPtr>& bookmarks, int32_t denpyouNo);

  // The bookmarks a limited user sees: those marked for it, in the same order.
  static std::vector<BookmarkPtr> limitedUserBookmarkArray(const std::vector<BookmarkPtr>& bookmarks);

  // Names the voucher's bookmark, or adds one at the end; answers whether anything
  // changed (the same name and flag again change nothing).
  static bool storeBookmark(std::vector<BookmarkPtr>& bookmarks, int32_t denpyouNo, const std::string& name,
                            bool isActiveWithLimitedUserPassword);

  // Swaps the bookmark at row with the one above it (the first with the last) or
  // below it (the last with the first); answers the row it went to, -1 when row is
  // not in the list.
  static int moveBookmark(std::vector<BookmarkPtr>& bookmarks, int row, bool up);

  // The number of the first transfer voucher in journal order dated within the
  // period (both ends included), 0 when there is none. Cash-book lines never count,
  // nor entries a limited user cannot see.
  static int32_t firstDenpyouNoOfPeriod(const MyDocument& document, Date startDate, Date endDate);
  // The same for a row of the month list: the months of the term, then the
  // closing-adjustment month as the last row.
  static int32_t firstDenpyouNoOfMonthRow(const MyDocument& document, int row);
};

}  // namespace kivo

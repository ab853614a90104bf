#include "entry/FurikaedenpyouBookmarks.h"

#include <algorithm>
#include <utility>

namespace kivo {

BookmarkPtr FurikaedenpyouBookmarks::bookmarkOfDenpyouNo(const std::vector<BookmarkPtr>& bookmarks, int32_t denpyouNo)
{
  const int i = indexOfDenpyouNo(bookmarks, denpyouNo);
  return i < 0 ? nullptr : bookmarks[static_cast<size_t>(i)];
}

int FurikaedenpyouBookmarks::indexOfDenpyouNo(const std::vector<BookmarkPtr>& bookmarks, int32_t denpyouNo)
{
  for (size_t i = 0; i < bookmarks.size(); ++i)
    if (bookmarks[i] && bookmarks[i]->denpyouNo() == denpyouNo) return static_cast<int>(i);
  return -1;
}

std::vector<BookmarkPtr> FurikaedenpyouBookmarks::limitedUserBookmarkArray(const std::vector<BookmarkPtr>& bookmarks)
{
  std::vector<BookmarkPtr> result;
  std::copy_if(bookmarks.begin(), bookmarks.end(), std::back_inserter(result),
               [](const BookmarkPtr& b) { return b && b->isActiveWithLimitedUserPassword(); });
  return result;
}

bool FurikaedenpyouBookmarks::storeBookmark(std::vector<BookmarkPtr>& bookmarks, int32_t denpyouNo,
                                            const std::string& name, bool isActiveWithLimitedUserPassword)
{
  if (BookmarkPtr found = bookmarkOfDenpyouNo(bookmarks, denpyouNo)) {
    if (found->name() == name && found->isActiveWithLimitedUserPassword() == isActiveWithLimitedUserPassword)
      return false;
    found->setName(name);
    found->setIsActiveWithLimitedUserPassword(isActiveWithLimitedUserPassword);
    return true;
  }
  auto bookmark = std::make_shared<Bookmark>();
  bookmark->setDenpyouNo(denpyouNo);
  bookmark->setName(name);
  bookmark->setIsActiveWithLimitedUserPassword(isActiveWithLimitedUserPassword);
  bookmarks.push_back(std::move(bookmark));
  return true;
}

int FurikaedenpyouBookmarks::moveBookmark(std::vector<BookmarkPtr>& bookmarks, int row, bool up)
{
  const int count = static_cast<int>(bookmarks.size());
  if (row < 0 || row >= count) return -1;
  const int target = up ? (row == 0 ? count - 1 : row - 1) : (row == count - 1 ? 0 : row + 1);
  std::swap(bookmarks[static_cast<size_t>(row)], bookmarks[static_cast<size_t>(target)]);
  return target;
}

int32_t FurikaedenpyouBookmarks::firstDenpyouNoOfPeriod(const MyDocument& document, Date startDate, Date endDate)
{
  for (const ShiwakePtr& s : document.journal()) {
    if (s->kindOfShiwake() != ShiwakeKind::Furikaedenpyou) continue;
    // An entry a limited user cannot see leads nowhere: its voucher shows without it.
    if (s->didCreateBeforeOpen() || s->denpyouNo() == 0) continue;
    if (startDate <= s->date() && s->date() <= endDate) return s->denpyouNo();
  }
  return 0;
}

int32_t FurikaedenpyouBookmarks::firstDenpyouNoOfMonthRow(const MyDocument& document, int row)
{
  const std::vector<Month>& months = document.kaisya().monthArray();
  if (row < 0 || row > static_cast<int>(months.size())) return 0;
  if (row == static_cast<int>(months.size()))
    return firstDenpyouNoOfPeriod(document, Date::kessanSeiridukiDate(), Date::kessanSeiridukiDate());
  const Month& m = months[static_cast<size_t>(row)];
  return firstDenpyouNoOfPeriod(document, m.startDate(), m.endDate());
}

}  // namespace kivo

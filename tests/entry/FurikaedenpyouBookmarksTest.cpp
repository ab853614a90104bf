// The drawer's rules: naming (one bookmark per voucher), moving with wrap-around, a
// limited user's list and the month list's jump.
#include <gtest/gtest.h>

#include "entry/FurikaedenpyouBookmarks.h"
#include "support/TestBooks.h"

namespace kivo::test {
namespace {

using B = FurikaedenpyouBookmarks;

std::vector<BookmarkPtr> bookmarksOf(std::initializer_list<int32_t> numbers)
{
  std::vector<BookmarkPtr> list;
  for (int32_t n : numbers) B::storeBookmark(list, n, "印" + std::to_string(n), n < 0);
  return list;
}

std::vector<int32_t> numbersOf(const std::vector<BookmarkPtr>& list)
{
  std::vector<int32_t> numbers;
  for (const BookmarkPtr& b : list) numbers.push_back(b->denpyouNo());
  return numbers;
}

TEST(FurikaedenpyouBookmarksTest, MovingWrapsAroundAndNamingEditsTheVouchersBookmarkOrAppendsOne)
{
  // The row moved, upwards or not, where it lands (-1: nowhere) and the numbers after.
  const std::tuple<int, bool, int, std::vector<int32_t>> cases[] = {
      {1, true, 0, {2, 1, 3, 4}},  {0, true, 3, {4, 2, 3, 1}},   // first up: swapped with the last
      {3, false, 0, {4, 2, 3, 1}}, {2, false, 3, {1, 2, 4, 3}},  // last down: swapped with the first
      {4, true, -1, {1, 2, 3, 4}}, {-1, false, -1, {1, 2, 3, 4}},
  };
  for (const auto& [row, up, target, after] : cases) {
    std::vector<BookmarkPtr> list = bookmarksOf({1, 2, 3, 4});
    EXPECT_EQ(B::moveBookmark(list, row, up), target) << row << (up ? " up" : " down");
    EXPECT_EQ(numbersOf(list), after) << row << (up ? " up" : " down");
  }
  std::vector<BookmarkPtr> one = bookmarksOf({7});
  EXPECT_EQ(B::moveBookmark(one, 0, true), 0);
  EXPECT_EQ(numbersOf(one), std::vector<int32_t>{7});

  // Naming edits the voucher's bookmark and appends a new one.
  std::vector<BookmarkPtr> list = bookmarksOf({5, 2});
  const BookmarkPtr second = list[1];
  EXPECT_FALSE(B::storeBookmark(list, 2, "印2", false));  // the same name and flag again
  EXPECT_TRUE(B::storeBookmark(list, 2, "家賃", false));
  EXPECT_TRUE(B::storeBookmark(list, 2, "家賃", true));
  EXPECT_EQ(std::tuple(list[1], second->name(), second->isActiveWithLimitedUserPassword()),
            std::tuple(second, std::string("家賃"), true));
  EXPECT_TRUE(B::storeBookmark(list, 1, "最初", false));  // new: at the end, whatever its number
  EXPECT_EQ(numbersOf(list), (std::vector<int32_t>{5, 2, 1}));
  EXPECT_EQ(B::indexOfDenpyouNo(list, 1), 2);
  EXPECT_EQ(B::bookmarkOfDenpyouNo(list, 9), nullptr);
  EXPECT_EQ(numbersOf(B::limitedUserBookmarkArray(bookmarksOf({3, -1, 4, -2}))), (std::vector<int32_t>{-1, -2}));
}

TEST(FurikaedenpyouBookmarksTest, AMonthRowFindsItsFirstVisibleTransferVoucher)
{
  auto doc = makeBooks();
  auto hidden = makeEntry(Date(2024, 4, 3), 7, kShoumouhinhi, kGenkin, 5);
  hidden->setDidCreateBeforeOpen(true);
  doc->journal().assign({
      makeEntry(Date(2024, 3, 31), -1, kGenkin, kUriagedaka, 1),  // regular type: no month
      makeCashEntry(Date(2024, 4, 2), 3, kGenkin, kUriagedaka, 10),
      hidden,
      makeEntry(Date(2024, 4, 30), 4, kGenkin, kUriagedaka, 10),
      makeEntry(Date(2024, 4, 1), 9, kGenkin, kUriagedaka, 10),  // journal order decides
      makeCashEntry(Date(2024, 5, 10), 5, kGenkin, kUriagedaka, 10),
      makeEntry(Date::kessanSeiridukiDate(), 6, kGenkin, kUriagedaka, 10),
  });
  struct Case {
    int row;
    int32_t denpyouNo;
  } const cases[] = {{0, 4}, {1, 0}, {11, 0}, {12, 6}, {13, 0}, {-1, 0}};
  for (const Case& c : cases) EXPECT_EQ(B::firstDenpyouNoOfMonthRow(*doc, c.row), c.denpyouNo) << "row " << c.row;
}

}  // namespace
}  // namespace kivo::test

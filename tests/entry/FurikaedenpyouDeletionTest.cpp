#include <gtest/gtest.h>

#include "entry/FurikaedenpyouBookmarks.h"
#include "entry/FurikaedenpyouDeletion.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using test::kGenkin;
using test::kUriagedaka;

std::vector<int32_t> numbers(const MyDocument& doc)
{
  std::vector<int32_t> out;
  for (const ShiwakePtr& s : doc.journal()) out.push_back(s->denpyouNo());
  return out;
}

struct DeletionBooks {
  std::unique_ptr<MyDocument> doc = test::makeBooks();
  std::vector<BookmarkPtr> drawer;  // a limited user's drawer: its own list

  DeletionBooks()
  {
    const Date d(2024, 4, 10);
    doc->journal().assign(
        {test::makeEntry(d, 1, kGenkin, kUriagedaka, 1), test::makeEntry(d, 2, kGenkin, kUriagedaka, 2),
         test::makeEntry(d, 7, kGenkin, kUriagedaka, 3, ShiwakeKind::Suitoucyou),
         test::makeEntry(d, 2, kUriagedaka, kGenkin, 4), test::makeEntry(d, 3, kGenkin, kUriagedaka, 5)});
    for (int32_t n : {1, 3, 2})
      FurikaedenpyouBookmarks::storeBookmark(doc->furikaedenpyouBookmarkArray(), n, "印", n != 1);
    drawer = {doc->furikaedenpyouBookmarkArray()[1], doc->furikaedenpyouBookmarkArray()[2]};
  }
};

TEST(FurikaedenpyouDeletion, DeleteThenRestorePutsEntriesAndBookmarkBackAndNothingIsDeletedOfNone)
{
  DeletionBooks b;
  const std::vector<ShiwakePtr> before = b.doc->journal().entries();
  const std::vector<BookmarkPtr> bookmarksBefore = b.doc->furikaedenpyouBookmarkArray();
  const std::vector<BookmarkPtr> drawerBefore = b.drawer;

  FurikaedenpyouDeletion d = FurikaedenpyouDeletion::removeDenpyou(*b.doc, 2, &b.drawer);
  EXPECT_EQ(numbers(*b.doc), (std::vector<int32_t>{1, 7, 3}));
  // The following voucher passes the cash-book entry over.
  EXPECT_EQ(
      std::tuple(d.didRemove(), d.followingDenpyouNo(), d.shiwakeIndex(), d.bookmarkIndex(), d.drawerBookmarkIndex(),
                 b.doc->furikaedenpyouBookmarkArray().size(), b.drawer.size(), b.doc->isDocumentEdited()),
      std::tuple(true, std::optional(3), 1, 2, 1, size_t{2}, size_t{1}, true));

  d.restore(*b.doc, &b.drawer);
  // The voucher comes back as one run where its first entry stood.
  EXPECT_EQ(numbers(*b.doc), (std::vector<int32_t>{1, 2, 2, 7, 3}));
  EXPECT_EQ(std::pair(b.doc->journal()[1], b.doc->journal()[2]), std::pair(before[1], before[3]));
  EXPECT_EQ(std::pair(b.doc->furikaedenpyouBookmarkArray(), b.drawer), std::pair(bookmarksBefore, drawerBefore));

  // The last voucher has none following; an unregistered voucher deletes nothing.
  EXPECT_EQ(FurikaedenpyouDeletion::removeDenpyou(*b.doc, 3, nullptr).followingDenpyouNo(), std::nullopt);

  // An unregistered voucher: nothing removed, the document unchanged.
  DeletionBooks c;
  FurikaedenpyouDeletion none = FurikaedenpyouDeletion::removeDenpyou(*c.doc, 42, nullptr);
  EXPECT_EQ(std::tuple(none.didRemove(), c.doc->isDocumentEdited(), c.doc->journal().size()),
            std::tuple(false, false, size_t{5}));
}

}  // namespace
}  // namespace kivo

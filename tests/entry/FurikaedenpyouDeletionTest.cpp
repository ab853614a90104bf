#include <gtest/gtest.h>

#include "entry/FurikaedenpyouDeletion.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using test::kGenkin;
using test::kUriagedaka;

BookmarkPtr bookmark(int32_t n, bool limited)
{
  auto b = std::make_shared<Bookmark>();
  b->setDenpyouNo(n);
  b->setName("印" + std::to_string(n));
  b->setIsActiveWithLimitedUserPassword(limited);
  return b;
}

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
    doc->furikaedenpyouBookmarkArray() = {bookmark(1, false), bookmark(3, true), bookmark(2, true)};
    drawer = {doc->furikaedenpyouBookmarkArray()[1], doc->furikaedenpyouBookmarkArray()[2]};
  }
};

TEST(FurikaedenpyouDeletion, DeleteThenRestorePutsEntriesAndBookmarkBackInPlace)
{
  DeletionBooks b;
  const std::vector<ShiwakePtr> before = b.doc->journal().entries();
  const std::vector<BookmarkPtr> bookmarksBefore = b.doc->furikaedenpyouBookmarkArray();
  const std::vector<BookmarkPtr> drawerBefore = b.drawer;

  FurikaedenpyouDeletion d = FurikaedenpyouDeletion::removeDenpyou(*b.doc, 2, &b.drawer);
  EXPECT_TRUE(d.didRemove());
  EXPECT_EQ(numbers(*b.doc), (std::vector<int32_t>{1, 7, 3}));
  EXPECT_EQ(d.followingDenpyouNo(), 3);  // the cash-book entry is passed over
  EXPECT_EQ(d.shiwakeIndex(), 1);
  EXPECT_EQ(b.doc->furikaedenpyouBookmarkArray().size(), 2u);
  EXPECT_EQ(b.drawer.size(), 1u);
  EXPECT_EQ(d.bookmarkIndex(), 2);
  EXPECT_EQ(d.drawerBookmarkIndex(), 1);
  EXPECT_TRUE(b.doc->isDocumentEdited());

  d.restore(*b.doc, &b.drawer);
  // The voucher comes back as one run where its first entry stood.
  EXPECT_EQ(numbers(*b.doc), (std::vector<int32_t>{1, 2, 2, 7, 3}));
  EXPECT_EQ(b.doc->journal()[1], before[1]);
  EXPECT_EQ(b.doc->journal()[2], before[3]);
  EXPECT_EQ(b.doc->furikaedenpyouBookmarkArray(), bookmarksBefore);
  EXPECT_EQ(b.drawer, drawerBefore);
}

TEST(FurikaedenpyouDeletion, FollowingVoucherAndNothingToDelete)
{
  DeletionBooks b;
  EXPECT_EQ(FurikaedenpyouDeletion::removeDenpyou(*b.doc, 3, nullptr).followingDenpyouNo(), std::nullopt);

  // An unregistered voucher: nothing removed, the document unchanged.
  DeletionBooks c;
  FurikaedenpyouDeletion none = FurikaedenpyouDeletion::removeDenpyou(*c.doc, 42, nullptr);
  EXPECT_FALSE(none.didRemove());
  EXPECT_FALSE(c.doc->isDocumentEdited());
  EXPECT_EQ(c.doc->journal().size(), 5u);
}

}  // namespace
}  // namespace kivo

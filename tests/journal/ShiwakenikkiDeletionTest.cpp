#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "journal/ShiwakenikkiDeletion.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

class Host : public DocumentHost {
public:
  void documentEditedChanged(bool) override {}
  void removeAllUndoActions() override { ++undoCleared; }
  int undoCleared = 0;
};

// A journal of vouchers 1 (three lines), 2 and 3, with a bookmark on each voucher.
class DeletionBooks : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc.setHost(&host);
    fill();
  }

  void fill()
  {
    doc.journal().assign({});
    doc.furikaedenpyouBookmarkArray().clear();
    for (int32_t no : {1, 2, 1, 3, 1}) doc.journal().append(test::makeEntry(Date(2024, 4, 1), no, -1, -1, 0));
    for (int32_t no : {1, 2, 3}) {
      auto b = std::make_shared<Bookmark>();
      b->setDenpyouNo(no);
      doc.furikaedenpyouBookmarkArray().push_back(b);
    }
  }

  std::vector<int32_t> journalNumbers() const
  {
    std::vector<int32_t> out;
    for (const ShiwakePtr& s : doc.journal()) out.push_back(s->denpyouNo());
    return out;
  }

  std::vector<int32_t> bookmarkNumbers() const
  {
    std::vector<int32_t> out;
    for (const BookmarkPtr& b : doc.furikaedenpyouBookmarkArray()) out.push_back(b->denpyouNo());
    return out;
  }

  ShiwakePtr line(size_t i) const { return doc.journal()[i]; }

  Host host;
  MyDocument doc;
};

TEST_F(DeletionBooks, EveryShownVoucherGoesWholeAndOnlyThoseButEntriesHiddenFromALimitedUser)
{
  using Numbers = std::vector<int32_t>;
  // What, the lines shown, the journal and bookmarks left, the lines removed.
  const std::tuple<const char*, std::vector<size_t>, Numbers, Numbers, int> cases[] = {
      {"one line of a three-line voucher", {2}, {2, 3}, {2, 3}, 3},
      {"lines of two vouchers, one shown twice", {0, 3, 4}, {2}, {2}, 4},
      {"nothing shown", {}, {1, 2, 1, 3, 1}, {1, 2, 3}, 0},
  };
  for (const auto& [what, shownLines, journalLeft, bookmarksLeft, removed] : cases) {
    SCOPED_TRACE(what);
    fill();
    std::vector<ShiwakePtr> shown;
    for (size_t i : shownLines) shown.push_back(line(i));
    const int undoBefore = host.undoCleared;
    EXPECT_EQ(ShiwakenikkiDeletion::removeDisplayingShiwake(doc, shown), removed);
    EXPECT_EQ(std::pair(journalNumbers(), bookmarkNumbers()), std::pair(journalLeft, bookmarksLeft));
    // The refresh protocol runs only when something went.
    EXPECT_EQ(std::pair(host.undoCleared - undoBefore, doc.isDocumentEdited()),
              std::pair(removed > 0 ? 1 : 0, removed > 0));
    doc.updateChangeCount(MyDocument::ChangeType::Cleared);
  }

  // Entries hidden from a limited user stay, with their voucher's bookmark.
  fill();
  line(4)->setDidCreateBeforeOpen(true);  // the third line of voucher 1
  EXPECT_EQ(ShiwakenikkiDeletion::removeDisplayingShiwake(doc, {line(0), line(1)}), 3);
  EXPECT_EQ(journalNumbers(), (std::vector<int32_t>{3, 1}));
  EXPECT_TRUE(doc.journal()[1]->didCreateBeforeOpen());
  // Voucher 1 still has a line: its bookmark stays; voucher 2's went with it.
  EXPECT_EQ(bookmarkNumbers(), (std::vector<int32_t>{1, 3}));
}

TEST(ShiwakenikkiDeletion, NumbersOfShownEntriesComeOnceInOrderAndOnlyAboveZero)
{
  std::vector<ShiwakePtr> shown;
  for (int32_t no : {5, 5, 2, 0, -1, 5, 9, 2}) shown.push_back(test::makeEntry(Date(2024, 4, 1), no, -1, -1, 0));
  EXPECT_EQ(ShiwakenikkiDeletion::denpyouNoArrayOfShiwakeArray(shown), (std::vector<int32_t>{5, 2, 9}));
}

}  // namespace
}  // namespace kivo

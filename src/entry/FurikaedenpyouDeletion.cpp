#include "entry/FurikaedenpyouDeletion.h"

#include <algorithm>

#include "entry/FurikaedenpyouNavigator.h"

namespace kivo {
namespace {

// The open cash books of ordinary vouchers' entries recompute.
ChangedAccounts accountsOf(const std::vector<ShiwakePtr>& entries)
{
  ChangedAccounts accounts;
  for (const ShiwakePtr& s : entries)
    if (s->denpyouNo() > 0) accounts.addSidesOf(*s);
  return accounts;
}

int indexOfBookmark(const std::vector<BookmarkPtr>& array, int32_t n)
{
  auto it = std::find_if(array.begin(), array.end(), [&](const BookmarkPtr& b) { return b->denpyouNo() == n; });
  return it == array.end() ? -1 : static_cast<int>(it - array.begin());
}

}  // namespace

FurikaedenpyouDeletion FurikaedenpyouDeletion::removeDenpyou(MyDocument& document, int32_t n,
                                                             std::vector<BookmarkPtr>* drawerBookmarkArray)
{
  FurikaedenpyouDeletion d;
  d.denpyouNo_ = n;
  d.removal_ = document.journal().removeVoucher(n);
  if (d.didRemove()) {
    const Journal& journal = document.journal();
    for (size_t i = d.removal_.index; i < journal.size() && !d.followingDenpyouNo_; ++i)
      if (FurikaedenpyouNavigator::isCandidate(*journal[i])) d.followingDenpyouNo_ = journal[i]->denpyouNo();
  }

  std::vector<BookmarkPtr>& bookmarks = document.furikaedenpyouBookmarkArray();
  d.bookmarkIndex_ = indexOfBookmark(bookmarks, n);
  if (d.bookmarkIndex_ >= 0) {
    d.removedBookmark_ = bookmarks[d.bookmarkIndex_];
    document.removeFurikaedenpyouBookmarkOfDenpyouNo(n);
  }
  if (drawerBookmarkArray) {
    d.drawerBookmarkIndex_ = indexOfBookmark(*drawerBookmarkArray, n);
    if (d.drawerBookmarkIndex_ >= 0) drawerBookmarkArray->erase(drawerBookmarkArray->begin() + d.drawerBookmarkIndex_);
  }

  if (d.didRemove()) {
    document.shiwakeArrayDidChange(false);
    document.journalDidChangeAccounts(accountsOf(d.removal_.entries));
  }
  return d;
}

void FurikaedenpyouDeletion::restore(MyDocument& document, std::vector<BookmarkPtr>* drawerBookmarkArray)
{
  document.journal().restore(removal_);

  if (removedBookmark_ && bookmarkIndex_ >= 0) {
    std::vector<BookmarkPtr>& bookmarks = document.furikaedenpyouBookmarkArray();
    bookmarks.insert(bookmarks.begin() + std::min(static_cast<size_t>(bookmarkIndex_), bookmarks.size()),
                     removedBookmark_);
    if (drawerBookmarkArray && drawerBookmarkIndex_ >= 0)
      drawerBookmarkArray->insert(drawerBookmarkArray->begin() +
                                      std::min(static_cast<size_t>(drawerBookmarkIndex_), drawerBookmarkArray->size()),
                                  removedBookmark_);
  }

  if (didRemove()) {
    document.shiwakeArrayDidChange(false);
    document.journalDidChangeAccounts(accountsOf(removal_.entries));
  }
}

}  // namespace kivo

#include "entry/FurikaedenpyouDeletion.h"

#include <algorithm>

#include "entry/FurikaedenpyouNavigator.h"
#include "entry/FurikaedenpyouRegistrar.h"

namespace kivo {
namespace {

std::vector<SuitoucyouWindow*> booksOf(const MyDocument& document, const std::vector<ShiwakePtr>& entries)
{
  std::vector<SuitoucyouWindow*> books;
  if (!document.firstWindowOfKind(DocumentWindow::Kind::Suitoucyou)) return books;
  for (const ShiwakePtr& s : entries) {
    if (s->denpyouNo() <= 0) continue;
    SuitoucyouWindow::addSuitoucyouToRefresh(document, s->karikataKamokuCode(), s->karikataHojyoKamokuCode(), books);
    SuitoucyouWindow::addSuitoucyouToRefresh(document, s->kashikataKamokuCode(), s->kashikataHojyoKamokuCode(), books);
  }
  return books;
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
  std::vector<ShiwakePtr>& journal = document.shiwakeArray();
  size_t kept = 0;
  for (size_t i = 0; i < journal.size(); ++i) {
    ShiwakePtr& s = journal[i];
    if (s->denpyouNo() == n && !s->didCreateBeforeOpen()) {
      if (d.shiwakeIndex_ < 0) d.shiwakeIndex_ = static_cast<int>(kept);
      d.removedShiwakeArray_.push_back(std::move(s));
      continue;
    }
    if (d.shiwakeIndex_ >= 0 && !d.followingDenpyouNo_ && FurikaedenpyouNavigator::isCandidate(*s))
      d.followingDenpyouNo_ = s->denpyouNo();
    if (kept != i) journal[kept] = std::move(s);
    ++kept;
  }
  journal.resize(kept);

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
    FurikaedenpyouRegistrar::refreshSuitoucyou(document, booksOf(document, d.removedShiwakeArray_), false);
  }
  return d;
}

void FurikaedenpyouDeletion::restore(MyDocument& document, std::vector<BookmarkPtr>* drawerBookmarkArray)
{
  std::vector<ShiwakePtr>& journal = document.shiwakeArray();
  const size_t at = std::min(static_cast<size_t>(std::max(shiwakeIndex_, 0)), journal.size());
  journal.insert(journal.begin() + at, removedShiwakeArray_.begin(), removedShiwakeArray_.end());

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
    FurikaedenpyouRegistrar::refreshSuitoucyou(document, booksOf(document, removedShiwakeArray_), false);
  }
}

}  // namespace kivo

// Deleting a transfer voucher, kept so that it can be undone: the entries taken out
// of the journal and where the first stood, the bookmark that pointed to the voucher
// and its places in the document's list and in the drawer's own list (a limited
// user's drawer shows a filtered copy).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/MyDocument.h"

namespace kivo {

class FurikaedenpyouDeletion {
public:
  // Takes voucher n out of the journal (entries hidden from a limited user stay: the
  // caller refuses such a voucher first) and its bookmark out of the document and of
  // the drawer's list when it has its own (nullptr otherwise). When anything was
  // removed the refresh protocol runs (the undo stack is left alone) and the open
  // cash books of the entries recompute.
  static FurikaedenpyouDeletion removeDenpyou(MyDocument& document, int32_t n,
                                              std::vector<BookmarkPtr>* drawerBookmarkArray);

  // Puts the entries back as one run where the first stood, and the bookmark back
  // at its places; the same refresh follows.
  void restore(MyDocument& document, std::vector<BookmarkPtr>* drawerBookmarkArray);

  int32_t denpyouNo() const { return denpyouNo_; }
  bool didRemove() const { return !removedShiwakeArray_.empty(); }
  // The voucher that followed the deleted one in the journal, if any.
  std::optional<int32_t> followingDenpyouNo() const { return followingDenpyouNo_; }
  int shiwakeIndex() const { return shiwakeIndex_; }
  int bookmarkIndex() const { return bookmarkIndex_; }
  int drawerBookmarkIndex() const { return drawerBookmarkIndex_; }

private:
  int32_t denpyouNo_ = 0;
  std::optional<int32_t> followingDenpyouNo_;
  std::vector<ShiwakePtr> removedShiwakeArray_;
  int shiwakeIndex_ = -1;
  BookmarkPtr removedBookmark_;
  int bookmarkIndex_ = -1;
  int drawerBookmarkIndex_ = -1;
};

}  // namespace kivo

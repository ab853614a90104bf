// The undo of "伝票の削除" in the transfer-voucher window.
//
// The command keeps the deletion (FurikaedenpyouDeletion, the record of what left the
// journal) with the document it changed, not with a window. Undo puts the voucher
// back and redo deletes it again; either runs the document's refresh protocol, and
// the document's voucher window then shows the voucher put back, or the one that
// followed the deleted one. With the voucher window gone there is nothing to do: the
// window empties the undo stack as it closes.
#pragma once

#include <QPointer>
#include <QUndoCommand>

#include "entry/FurikaedenpyouDeletion.h"

namespace kivo {

class OpenDocument;
class FurikaedenpyouController;

class RemoveDenpyouCommand : public QUndoCommand {
public:
  static constexpr const char* kActionName = "伝票の削除";

  // Recorded once the deletion is done: the stack's first redo leaves it as it is.
  RemoveDenpyouCommand(OpenDocument* document, FurikaedenpyouDeletion deletion);

  void undo() override;
  void redo() override;

private:
  FurikaedenpyouController* voucherWindow() const;

  QPointer<OpenDocument> document_;
  FurikaedenpyouDeletion deletion_;
  bool recorded_ = false;
};

}  // namespace kivo

// The undo of "行の削除" in a ledger window.
//
// The command keeps the removal (KanjyoumotocyouRowEdit::Removal: the cash-book entry
// taken out of the journal and where it stood) with the document it changed, and
// names the ledger by its account and sub-account and the row the entry stood on.
// Undo puts the entry back at its place and, in the ledger window that shows that
// ledger, selects its row; redo removes it again. The books and reports refresh
// either way, whether that ledger window is still open or not.
#pragma once

#include <QPointer>
#include <QUndoCommand>

#include "journal/KanjyoumotocyouRowEdit.h"

namespace kivo {

class OpenDocument;

class RemoveKanjyoumotocyouRowCommand : public QUndoCommand {
public:
  static constexpr const char* kActionName = "行の削除";

  // Recorded once the removal is done: the stack's first redo leaves it as it is.
  RemoveKanjyoumotocyouRowCommand(OpenDocument* document, KanjyoumotocyouRowEdit::Ledger ledger,
                                  KanjyoumotocyouRowEdit::Removal removal, int row);

  void undo() override;
  void redo() override;

private:
  void refresh(int selectRow);

  QPointer<OpenDocument> document_;
  KanjyoumotocyouRowEdit::Ledger ledger_;
  KanjyoumotocyouRowEdit::Removal removal_;
  int row_;
  bool recorded_ = false;
};

}  // namespace kivo

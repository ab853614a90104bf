#include "journal/gui/RemoveKanjyoumotocyouRowCommand.h"

#include "document/gui/OpenDocument.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "platform/QtStrings.h"

namespace kivo {

RemoveKanjyoumotocyouRowCommand::RemoveKanjyoumotocyouRowCommand(OpenDocument* document,
                                                                 KanjyoumotocyouRowEdit::Ledger ledger,
                                                                 KanjyoumotocyouRowEdit::Removal removal, int row)
    : QUndoCommand(qs(kActionName)), document_(document), ledger_(ledger), removal_(std::move(removal)), row_(row)
{
}

void RemoveKanjyoumotocyouRowCommand::refresh(int selectRow)
{
  for (DocumentWindowController* wc : document_->windowControllers()) {
    auto* ledger = qobject_cast<KanjyoumotocyouController*>(wc);
    if (ledger && ledger->displayKamokuCode() == ledger_.kamokuCode &&
        ledger->displayHojyoKamokuCode() == ledger_.hojyoKamokuCode) {
      ledger->shiwakeDidChange(removal_.entry->denpyouNo(), selectRow);
      return;
    }
  }
  ChangedAccounts accounts;
  accounts.addSidesOf(*removal_.entry);
  document_->document().journalDidChangeAccounts(accounts);
  document_->updateAllOutputWindowControllersUI();
}

void RemoveKanjyoumotocyouRowCommand::undo()
{
  if (!document_) return;
  KanjyoumotocyouRowEdit::restoreRow(document_->document(), removal_);
  refresh(row_);
}

void RemoveKanjyoumotocyouRowCommand::redo()
{
  if (!recorded_) {
    recorded_ = true;
    return;
  }
  if (!document_) return;
  const std::optional<KanjyoumotocyouRowEdit::Removal> again =
      KanjyoumotocyouRowEdit::removeRow(document_->document(), removal_.entry);
  if (!again) {
    setObsolete(true);
    return;
  }
  removal_ = *again;
  refresh(-1);
}

}  // namespace kivo

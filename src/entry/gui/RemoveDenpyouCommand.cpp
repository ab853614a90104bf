#include "entry/gui/RemoveDenpyouCommand.h"

#include "document/gui/OpenDocument.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "platform/QtStrings.h"

namespace kivo {

RemoveDenpyouCommand::RemoveDenpyouCommand(OpenDocument* document, FurikaedenpyouDeletion deletion)
    : QUndoCommand(qs(kActionName)), document_(document), deletion_(std::move(deletion))
{
}

FurikaedenpyouController* RemoveDenpyouCommand::voucherWindow() const
{
  return document_ ? qobject_cast<FurikaedenpyouController*>(document_->furikaedenpyouController()) : nullptr;
}

void RemoveDenpyouCommand::undo()
{
  FurikaedenpyouController* window = voucherWindow();
  if (!window) return;
  deletion_.restore(document_->document(), window->drawerBookmarkArray());
  window->displayShiwakeOfDenpyouNo(deletion_.denpyouNo());
}

void RemoveDenpyouCommand::redo()
{
  if (!recorded_) {
    recorded_ = true;
    return;
  }
  FurikaedenpyouController* window = voucherWindow();
  if (!window) return;
  deletion_ = FurikaedenpyouDeletion::removeDenpyou(document_->document(), deletion_.denpyouNo(),
                                                    window->drawerBookmarkArray());
  window->showAfterDeletion(deletion_);
}

}  // namespace kivo

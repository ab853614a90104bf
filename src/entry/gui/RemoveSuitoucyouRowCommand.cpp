#include "entry/gui/RemoveSuitoucyouRowCommand.h"

#include "document/gui/OpenDocument.h"
#include "entry/gui/SuitoucyouController.h"
#include "platform/QtStrings.h"

namespace kivo {

RemoveSuitoucyouRowCommand::RemoveSuitoucyouRowCommand(OpenDocument* document, int32_t kamokuCode,
                                                       int32_t hojyoKamokuCode, SuitoucyouRegistrar::Removal removal)
    : QUndoCommand(qs(kActionName)),
      document_(document),
      kamokuCode_(kamokuCode),
      hojyoKamokuCode_(hojyoKamokuCode),
      removal_(std::move(removal))
{
}

SuitoucyouController* RemoveSuitoucyouRowCommand::bookWindow() const
{
  return document_ ? qobject_cast<SuitoucyouController*>(
                         document_->suitoucyouControllerOfKamokuCode(kamokuCode_, hojyoKamokuCode_))
                   : nullptr;
}

void RemoveSuitoucyouRowCommand::undo()
{
  if (SuitoucyouController* window = bookWindow()) window->restoreRemovedRow(removal_);
}

void RemoveSuitoucyouRowCommand::redo()
{
  if (!recorded_) {
    recorded_ = true;
    return;
  }
  SuitoucyouController* window = bookWindow();
  if (!window || !window->redoRemoval(removal_)) setObsolete(true);
}

}  // namespace kivo

#include "entry/gui/RemoveDenpyouRowCommand.h"

#include "document/gui/OpenDocument.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "platform/QtStrings.h"

namespace kivo {

RemoveDenpyouRowCommand::RemoveDenpyouRowCommand(OpenDocument* document, int row, uint64_t displayGeneration)
    : QUndoCommand(qs(kActionName)), document_(document), row_(row), displayGeneration_(displayGeneration)
{
}

void RemoveDenpyouRowCommand::redo()
{
  if (!recorded_) {
    recorded_ = true;
    return;
  }
  toggle();
}

void RemoveDenpyouRowCommand::toggle()
{
  auto* window = document_ ? qobject_cast<FurikaedenpyouController*>(document_->furikaedenpyouController()) : nullptr;
  if (!window || window->displayGeneration() != displayGeneration_) {
    setObsolete(true);
    return;
  }
  window->toggleRemovedRow(row_);
}

}  // namespace kivo

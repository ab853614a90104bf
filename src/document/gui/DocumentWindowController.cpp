#include "document/gui/DocumentWindowController.h"

#include "document/gui/OpenDocument.h"

namespace kivo {

DocumentWindowController::DocumentWindowController(OpenDocument* document, Kind kind, QWidget* parent)
    : WindowController(document, parent), document_(document), kind_(kind)
{
}

DocumentWindowController* DocumentWindowController::of(WindowController* controller)
{
  return qobject_cast<DocumentWindowController*>(controller);
}

const DocumentWindowController* DocumentWindowController::of(const WindowController* controller)
{
  return qobject_cast<const DocumentWindowController*>(controller);
}

}  // namespace kivo

// The base of every window of a document: the platform's window controller, with the
// open document it belongs to and its kind, through which the document refreshes it
// (DocumentWindow).
#pragma once

#include "document/DocumentWindow.h"
#include "platform/WindowController.h"

namespace kivo {

class OpenDocument;

class DocumentWindowController : public WindowController, public DocumentWindow {
  Q_OBJECT
public:
  DocumentWindowController(OpenDocument* document, Kind kind, QWidget* parent = nullptr);

  OpenDocument* document() const { return document_; }
  Kind windowKind() const override { return kind_; }

  // The refresh rule is the window controller's.
  void updateUI(bool force) override { WindowController::updateUI(force); }
  bool doNeedUpdate() const override { return WindowController::doNeedUpdate(); }
  void updateUI() { WindowController::updateUI(false); }

  // The document window a window controller is, or nullptr.
  static DocumentWindowController* of(WindowController* controller);
  static const DocumentWindowController* of(const WindowController* controller);

private:
  OpenDocument* document_;
  Kind kind_;
};

}  // namespace kivo

// The new-document window: the first window of a new document, where its company is
// set up. Closing it closes the document.
//
// Minimal for now: it names the document and closes; setting up the company and
// taking over older data come with the setup of documents.
#pragma once

#include "platform/WindowController.h"

namespace kivo {

class NewDocumentController : public WindowController {
  Q_OBJECT
public:
  explicit NewDocumentController(DocumentSession* document);

  bool shouldCloseDocument() const override { return true; }

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;
};

}  // namespace kivo

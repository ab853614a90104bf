// The document information window: the hub of a document. Closing it closes the
// document and all its windows.
//
// Minimal for now: it shows the company and closes; its lists, settings and print
// commands come with the setup of documents.
#pragma once

#include "platform/WindowController.h"

class QLabel;

namespace kivo {

class DocumentInfoController : public WindowController {
  Q_OBJECT
public:
  explicit DocumentInfoController(DocumentSession* document);

  bool shouldCloseDocument() const override { return true; }

protected:
  void windowDidLoad() override;
  QString windowMenuTitle() const override;
  void recomputeUI() override;

private:
  QLabel* companyField_ = nullptr;
  QLabel* termField_ = nullptr;
};

}  // namespace kivo

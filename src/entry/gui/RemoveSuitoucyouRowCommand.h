// The undo of "行の削除" in a cash-book window.
//
// The command keeps the removal (SuitoucyouRegistrar::Removal: the entry taken out of
// the journal and where it stood) with the document it changed, and names the book
// by its account and sub-account. Undo puts the entry back at its place, redo
// removes that entry's row again; the registrar runs the document's refresh protocol
// and the book's window shows its rows again. A command whose book is no longer open,
// or whose entry the book no longer shows, goes.
#pragma once

#include <QPointer>
#include <QUndoCommand>
#include <cstdint>

#include "entry/SuitoucyouRegistrar.h"

namespace kivo {

class OpenDocument;
class SuitoucyouController;

class RemoveSuitoucyouRowCommand : public QUndoCommand {
public:
  static constexpr const char* kActionName = "行の削除";

  // Recorded once the removal from the book of (kamokuCode, hojyoKamokuCode) is done:
  // the stack's first redo leaves it as it is.
  RemoveSuitoucyouRowCommand(OpenDocument* document, int32_t kamokuCode, int32_t hojyoKamokuCode,
                             SuitoucyouRegistrar::Removal removal);

  void undo() override;
  void redo() override;

private:
  SuitoucyouController* bookWindow() const;

  QPointer<OpenDocument> document_;
  int32_t kamokuCode_;
  int32_t hojyoKamokuCode_;
  SuitoucyouRegistrar::Removal removal_;
  bool recorded_ = false;
};

}  // namespace kivo

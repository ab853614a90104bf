// The undo of "行の削除" in the transfer-voucher window.
//
// A voucher's rows live in the voucher being typed (Furikaedenpyou), which keeps the
// last removed row itself: the one operation removes the row or puts it back. The
// command names the row and the showing of the voucher it was removed from, and
// finds the voucher through the document's voucher window. Once the window shows a
// voucher afresh there is nothing left to put back and the command goes.
#pragma once

#include <QPointer>
#include <QUndoCommand>
#include <cstdint>

namespace kivo {

class OpenDocument;
class FurikaedenpyouController;

class RemoveDenpyouRowCommand : public QUndoCommand {
public:
  static constexpr const char* kActionName = "行の削除";

  // Recorded once row was removed from the voucher shown in showing displayGeneration:
  // the stack's first redo leaves it as it is.
  RemoveDenpyouRowCommand(OpenDocument* document, int row, uint64_t displayGeneration);

  void undo() override { toggle(); }
  void redo() override;

private:
  void toggle();

  QPointer<OpenDocument> document_;
  int row_;
  uint64_t displayGeneration_;
  bool recorded_ = false;
};

}  // namespace kivo

// The document's progress sheet over a long print job: the job's progress callback
// shows it, with a cancel button, once a printout has more pages than a short one,
// counts the pages and answers false when the user cancels. The sheet goes when the
// object does.
//
// A page takes well under a millisecond to print, so the sheet is brought up to date
// (and the application's events handled) only when it is due
// (ProgressStateController::isDueForUpdate) and at the last page; a cancel already
// seen stops the job at its next page.
//
// runPrintPanel() is how every window prints: the print panel with the document's
// name on the job and this sheet over the printing.
#pragma once

#include <QPointer>
#include <QString>

#include "platform/PrintOperation.h"

class QWidget;

namespace kivo {

class OpenDocument;
class ProgressStateController;

class PrintProgressSheet {
public:
  // Printouts of this many pages or fewer print without the sheet.
  static constexpr int kPagesWithoutSheet = 10;
  static constexpr const char* kPrintingText = "プリント中";

  PrintProgressSheet(OpenDocument* document, QWidget* window);
  ~PrintProgressSheet();
  PrintProgressSheet(const PrintProgressSheet&) = delete;
  PrintProgressSheet& operator=(const PrintProgressSheet&) = delete;

  PrintOperation::Progress progress();

  // Prints the printout of the document from its window (PrintOperation::runPrintPanel,
  // with the document's name set on the options); answers what that answers.
  static bool runPrintPanel(OpenDocument* document, QWidget* window, const QPageLayout& layout,
                            const PrintOperation::LayOut& layOut, PrintOperation::Options options = {});
  bool wasShown() const { return shown_; }

private:
  bool step(int done, int total);

  OpenDocument* document_;
  QPointer<QWidget> window_;
  QPointer<ProgressStateController> sheet_;
  bool shown_ = false;
};

}  // namespace kivo

#include "document/gui/PrintProgressSheet.h"

#include "document/gui/OpenDocument.h"
#include "document/gui/ProgressStateController.h"

namespace kivo {

PrintProgressSheet::PrintProgressSheet(OpenDocument* document, QWidget* window) : document_(document), window_(window)
{
}

PrintProgressSheet::~PrintProgressSheet()
{
  if (sheet_ && sheet_->isRunningModalSession()) sheet_->endModalSession();
}

PrintOperation::Progress PrintProgressSheet::progress()
{
  return [this](int done, int total) { return step(done, total); };
}

bool PrintProgressSheet::step(int done, int total)
{
  if (total <= kPagesWithoutSheet || !document_) return true;
  if (!sheet_) {
    sheet_ = document_->progressStateController();
    sheet_->beginModalSession(window_);
    sheet_->setProgressFieldStringValue(QString::fromUtf8(kPrintingText));
    sheet_->setSubProgressFieldStringValue(QString());
    sheet_->setCancelButtonEnabled(true);
    sheet_->setProgressIndicatorMaxValue(total);
    shown_ = true;
  } else if (done < total && !sheet_->isDueForUpdate()) {
    return !sheet_->isModalSessionAborted();
  }
  if (!sheet_ || sheet_->runModalSession() != ProgressStateController::ModalResponse::Continue) return false;
  sheet_->setProgressIndicatorValue(done);
  sheet_->setSubProgressFieldStringValue(QStringLiteral("%1 / %2 ページ").arg(done).arg(total));
  return true;
}

bool PrintProgressSheet::runPrintPanel(OpenDocument* document, QWidget* window, const QPageLayout& layout,
                                       const PrintOperation::LayOut& layOut, PrintOperation::Options options)
{
  options.documentName = document->displayName();
  PrintProgressSheet sheet(document, window);
  return PrintOperation::runPrintPanel(window, layout, layOut, options, sheet.progress());
}

}  // namespace kivo

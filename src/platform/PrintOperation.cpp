#include "platform/PrintOperation.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <algorithm>

#include "platform/PrintInfo.h"
#include "platform/TextShapeCache.h"

namespace kivo {
namespace {

PrintOperation::PrintPanelResponder& printResponder()
{
  static PrintOperation::PrintPanelResponder responder;
  return responder;
}

PrintOperation::PageSetupResponder& pageSetupResponder()
{
  static PrintOperation::PageSetupResponder responder;
  return responder;
}

void setUpPrinter(QPrinter& printer, const QPageLayout& layout)
{
  printer.setPageLayout(layout);
  // The printout places everything itself, from the paper's corner.
  printer.setFullPage(true);
}

}  // namespace

void PrintOperation::setPrintPanelResponderForTesting(PrintPanelResponder responder)
{
  printResponder() = std::move(responder);
}

void PrintOperation::setPageSetupResponderForTesting(PageSetupResponder responder)
{
  pageSetupResponder() = std::move(responder);
}

bool PrintOperation::runPageSetup(QWidget* parent, const char* defaultsKey)
{
  QPageLayout layout = PrintInfo::pageLayoutForKey(defaultsKey);
  bool accepted = false;
  if (pageSetupResponder()) {
    accepted = pageSetupResponder()(layout);
  } else {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, layout);
    QPageSetupDialog dialog(&printer, parent);
    accepted = dialog.exec() == QDialog::Accepted;
    if (accepted) layout = printer.pageLayout();
  }
  if (accepted) PrintInfo::setPageLayoutForKey(layout, defaultsKey);
  return accepted;
}

bool PrintOperation::runPrintPanel(QWidget* parent, Printout& printout, const QPageLayout& layout,
                                   const Options& options, const Progress& progress)
{
  const int pages = printout.pageCount();
  if (pages <= 0) return false;
  QPrinter printer(QPrinter::HighResolution);
  setUpPrinter(printer, layout);
  printer.setDocName(options.documentName);
  printer.setFromTo(0, 0);

  bool accepted = false;
  if (printResponder()) {
    accepted = printResponder()(printer, options.accessory);
  } else {
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, pages);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    QWidget* accessory = options.accessory;
    QWidget* accessoryParent = accessory ? accessory->parentWidget() : nullptr;
    if (accessory) {
      accessory->setWindowTitle(options.accessoryTitle);
      dialog.setOptionTabs({accessory});
    }
    accepted = dialog.exec() == QDialog::Accepted;
    // The panel would take the caller's accessory with it.
    if (accessory) {
      accessory->hide();
      accessory->setParent(accessoryParent);
    }
  }
  if (!accepted) return false;
  int from = 0;
  int to = pages - 1;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    from = printer.fromPage() - 1;
    to = std::max(printer.toPage(), printer.fromPage()) - 1;
  }
  return printPages(printer, printout, from, to, progress);
}

bool PrintOperation::printPages(QPrinter& printer, Printout& printout, int from, int to, const Progress& progress)
{
  from = std::max(from, 0);
  to = std::min(to, printout.pageCount() - 1);
  if (from > to) return false;
  printer.setFullPage(true);
  // The strings the job has shaped go with it, however it ends.
  struct ShapedTextRelease {
    ~ShapedTextRelease() { TextShapeCache::shared().releaseAll(); }
  } release;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const double scale = printer.resolution() / 72.0;
  const int total = to - from + 1;
  for (int page = from; page <= to; ++page) {
    if (progress && !progress(page - from, total)) {
      printer.abort();
      painter.end();
      return false;
    }
    if (page > from && !printer.newPage()) {
      painter.end();
      return false;
    }
    painter.save();
    painter.scale(scale, scale);
    printout.drawPage(painter, page);
    painter.restore();
  }
  if (progress) progress(total, total);
  return painter.end();
}

bool PrintOperation::writePdf(const QString& path, Printout& printout, const QPageLayout& layout,
                              const Progress& progress)
{
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  setUpPrinter(printer, layout);
  return printPages(printer, printout, 0, printout.pageCount() - 1, progress);
}

}  // namespace kivo

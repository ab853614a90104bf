#include "platform/PrintOperation.h"

#include <QFile>
#include <QFileInfo>
#include <QPageRanges>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "files/SafeFileWriter.h"
#include "platform/AlertSheet.h"
#include "platform/KeyboardReturn.h"
#include "platform/PrintInfo.h"
#include "platform/TextShapeCache.h"
#include "print/PrintPaginator.h"

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

// Whether the file ends as a whole PDF does: the printer writes by name and does not
// say when a write fell short (a full disk), so the end of the file tells.
bool endsAsPdf(const std::string& path)
{
  QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
  if (!file.open(QIODevice::ReadOnly) || file.size() < 8) return false;
  file.seek(std::max<qint64>(0, file.size() - 32));
  return file.readAll().contains("%%EOF");
}

// Whether the print panel handed back the page layout it was given: the same paper as
// oriented, margins and printable area. The panel gives its layout back in millimetres
// rounded to a hundredth, so lengths are compared within that rounding; an exact
// comparison would find every layout changed and lay each printout out twice.
bool isSamePageLayout(QPageLayout a, QPageLayout b)
{
  constexpr double kPanelRoundingMm = 0.01;
  a.setUnits(QPageLayout::Millimeter);
  b.setUnits(QPageLayout::Millimeter);
  const auto near = [](double x, double y) { return std::abs(x - y) <= kPanelRoundingMm + 1e-9; };
  const auto nearMargins = [&near](const QMarginsF& m, const QMarginsF& n) {
    return near(m.left(), n.left()) && near(m.top(), n.top()) && near(m.right(), n.right()) &&
           near(m.bottom(), n.bottom());
  };
  const QRectF paperA = a.fullRect();
  const QRectF paperB = b.fullRect();
  return a.orientation() == b.orientation() && a.mode() == b.mode() && near(paperA.width(), paperB.width()) &&
         near(paperA.height(), paperB.height()) && nearMargins(a.margins(), b.margins()) &&
         nearMargins(a.minimumMargins(), b.minimumMargins());
}

// Runs the print panel over the printer; answers whether the user chose to print. The
// window printed from has the keyboard again before the pages are drawn.
bool runPrintDialog(QPrinter& printer, QWidget* parent, const PrintOperation::Options& options)
{
  KeyboardReturn back(parent);
  if (printResponder()) return printResponder()(printer, options.accessory);
  QPrintDialog dialog(&printer, parent);
  // The paper chosen in the panel decides how many pages there are: a range may
  // reach any page number, and one beyond the last page is said after the panel.
  dialog.setMinMax(1, PrintPaginator::kMaxPageNumber);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  QWidget* accessory = options.accessory;
  QWidget* accessoryParent = accessory ? accessory->parentWidget() : nullptr;
  if (accessory) {
    accessory->setWindowTitle(options.accessoryTitle);
    dialog.setOptionTabs({accessory});
  }
  const bool accepted = back.exec(dialog) == QDialog::Accepted;
  // The panel would take the caller's accessory with it.
  if (accessory) {
    accessory->hide();
    accessory->setParent(accessoryParent);
  }
  return accepted;
}

enum class PdfOutcome { Written, Cancelled, Failed };

// Prints the pages into the printer's PDF file through the safe write: into a
// temporary beside the file, which takes the file's place once every page is written
// whole. A failure or a cancel leaves the previous file as it was; why it failed, in
// a sentence for the user, goes to *why.
PdfOutcome printToPdfFile(QPrinter& printer, Printout& printout, const std::vector<int>& pages,
                          const PrintOperation::Progress& progress, QString* why)
{
  const QString target = printer.outputFileName();
  // Every PDF begins so; a leftover of a killed print is known by it.
  SafeFileWriter out(QFile::encodeName(target).toStdString(), "%PDF-");
  const auto failed = [&](const QString& reason) {
    QString text =
        QStringLiteral("PDF ファイル“%1”を書き出せませんでした（%2）。").arg(QFileInfo(target).fileName(), reason);
    if (QFileInfo(target).isFile()) text += QStringLiteral("前からあったファイルはそのまま残っています。");
    *why = text;
    return PdfOutcome::Failed;
  };
  const auto reason = [&] { return QString::fromStdString(out.reason()); };
  if (!out.open()) return failed(reason());
  printer.setOutputFileName(QFile::decodeName(QByteArray::fromStdString(out.temporaryPath())));
  bool cancelled = false;
  const bool printed = PrintOperation::printPages(printer, printout, pages, [&](int done, int total) {
    cancelled = progress && !progress(done, total);
    return !cancelled;
  });
  printer.setOutputFileName(target);
  if (cancelled) return PdfOutcome::Cancelled;
  if (!printed || !endsAsPdf(out.temporaryPath()))
    return failed(QStringLiteral("最後まで書き込めませんでした。ディスクの空き容量を確かめてください"));
  if (!out.commit()) return failed(reason());
  return PdfOutcome::Written;
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
  KeyboardReturn back(parent);
  if (pageSetupResponder()) {
    accepted = pageSetupResponder()(layout);
  } else {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, layout);
    QPageSetupDialog dialog(&printer, parent);
    accepted = back.exec(dialog) == QDialog::Accepted;
    if (accepted) layout = printer.pageLayout();
  }
  if (accepted) PrintInfo::setPageLayoutForKey(layout, defaultsKey);
  return accepted;
}

bool PrintOperation::runPrintPanel(QWidget* parent, const QPageLayout& layout, const LayOut& layOut,
                                   const Options& options, const Progress& progress)
{
  std::unique_ptr<Printout> printout = layOut(layout);
  if (!printout || printout->pageCountAtMost() <= 0) return false;
  QPrinter printer(QPrinter::HighResolution);
  setUpPrinter(printer, layout);
  printer.setDocName(options.documentName);
  printer.setFromTo(0, 0);

  const bool accepted = runPrintDialog(printer, parent, options);
  if (!accepted) return false;
  // The paper, orientation and margins the panel ends with, the chosen printer's
  // printable area and what the accessory chose decide the pages: they are laid out
  // again when the panel changed the layout, and counted only now.
  if (!isSamePageLayout(printer.pageLayout(), layout)) printout = layOut(printer.pageLayout());
  if (!printout) return false;
  const int pageCount = printout->pageCount();
  if (pageCount <= 0) return false;
  const std::vector<int> pages = pagesInRange(printer, pageCount);
  if (pages.empty()) {
    AlertSheet::runAlert(
        QString::fromUtf8(AlertSheet::kCannotPrintTitle),
        QStringLiteral("指定したページ範囲にはプリントするページがありません（全部で %1 ページです）。")
            .arg(pageCount));
    return false;
  }
  if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
    return printPages(printer, *printout, pages, progress);
  QString why;
  const PdfOutcome outcome = printToPdfFile(printer, *printout, pages, progress, &why);
  if (outcome == PdfOutcome::Failed) AlertSheet::runAlert(QStringLiteral("PDF ファイルを保存できません"), why);
  return outcome == PdfOutcome::Written;
}

std::vector<int> PrintOperation::pagesInRange(const QPrinter& printer, int pageCount)
{
  std::vector<int> pages;
  const QPageRanges ranges = printer.pageRanges();
  if (printer.printRange() != QPrinter::PageRange || ranges.isEmpty()) {
    for (int page = 0; page < pageCount; ++page) pages.push_back(page);
    return pages;
  }
  // The ranges come sorted and apart; page numbers count from 1.
  for (const QPageRanges::Range& r : ranges.toRangeList())
    for (int page = std::max(r.from, 1); page <= std::min(r.to, pageCount); ++page) pages.push_back(page - 1);
  return pages;
}

bool PrintOperation::printPages(QPrinter& printer, Printout& printout, const std::vector<int>& pages,
                                const Progress& progress)
{
  const int count = printout.pageCount();
  std::vector<int> drawn;
  for (int page : pages)
    if (page >= 0 && page < count) drawn.push_back(page);
  if (drawn.empty()) return false;
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
  const int total = static_cast<int>(drawn.size());
  for (int done = 0; done < total; ++done) {
    if (progress && !progress(done, total)) {
      printer.abort();
      painter.end();
      return false;
    }
    if (done > 0 && !printer.newPage()) {
      painter.end();
      return false;
    }
    painter.save();
    painter.scale(scale, scale);
    printout.drawPage(painter, drawn[static_cast<size_t>(done)]);
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
  QString why;
  return printToPdfFile(printer, printout, pagesInRange(printer, printout.pageCount()), progress, &why) ==
         PdfOutcome::Written;
}

}  // namespace kivo

// The one way the program prints: every printout (journal, ledgers, trial balances,
// statements, asset register, ...) implements Printout and goes through here.
//
//   - page setup: the page-setup panel over the layout stored under the printout's
//     user-defaults key; OK stores the new layout there (PrintInfo);
//   - printing: the print panel (printer, paper, copies, pages, or a PDF file, which is
//     the panel's own choice) with the printout's accessory tab, then the printout laid
//     out for the page layout the panel ends with and every chosen page drawn;
//   - PDF: the same drawing into a PDF file without a panel (tests, tools).
//
// A PDF file, chosen in the panel or written here, goes through the safe write: the
// pages go to a temporary beside the file, which takes its place only once every
// page is written whole, so a full disk, a failure or a cancel leaves the previous
// file as it was. The print panel tells the user when a PDF could not be written.
//
// A printout draws one page at a time with the painter's units in points and the
// origin at the top-left corner of the paper (margins included), so the same code
// draws paper, PDF and the on-screen preview. Long jobs report each page to a
// progress callback, which answers false to cancel.
#pragma once

#include <QPageLayout>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QWidget;

namespace kivo {

class Printout {
public:
  virtual ~Printout() = default;
  // The pages as the print panel's accessory now chooses them.
  virtual int pageCount() const = 0;
  // The most pages any choice in the accessory can give: with none, the print panel
  // is not shown. A printout without such choices answers its count.
  virtual int pageCountAtMost() const { return pageCount(); }
  // Draws the 0-based page (see above for the units).
  virtual void drawPage(QPainter& painter, int page) = 0;
};

class PrintOperation {
public:
  // Told before each page: pages done and the total; false cancels the job.
  using Progress = std::function<bool(int done, int total)>;

  struct Options {
    QString documentName;
    // A tab of the print panel with the printout's own settings (kept by the caller;
    // the panel gives it back when it closes).
    QPointer<QWidget> accessory;
    QString accessoryTitle;
  };

  // Runs the page-setup panel over the layout stored under the key; OK stores the
  // new layout. Answers whether it was stored.
  static bool runPageSetup(QWidget* parent, const char* defaultsKey);

  // Lays the printout out for a page layout: the paper as oriented, its margins and,
  // once a printer is chosen, the paper outside the printer's printable area (the
  // layout's minimum margins). nullptr when the paper cannot hold it: the user has
  // been told why.
  using LayOut = std::function<std::unique_ptr<Printout>(const QPageLayout& layout)>;

  // Runs the print panel over the page layout (the printout's stored page setup),
  // then prints the chosen pages. The printout is laid out on that layout first, so
  // that paper too small for it, or a printout with nothing to print, shows no panel;
  // then again for the paper, orientation, margins and printer the panel ends with
  // (unless they are the layout's own, to the panel's rounding of a hundredth of a
  // millimetre), and counted only then, after the accessory has chosen what it prints:
  // a page range typed in the panel counts those pages. Answers false when the user
  // cancelled (panel or progress), the chosen paper cannot hold the printout, nothing
  // was left to print or the printer failed; a PDF file that could not be written, or
  // a range beyond the last page, is said in an alert.
  static bool runPrintPanel(QWidget* parent, const QPageLayout& layout, const LayOut& layOut, const Options& options,
                            const Progress& progress = {});

  // The 0-based pages, in order, of a printout of pageCount pages that the printer's
  // range chooses: every page, or those of the typed ranges that the printout has.
  static std::vector<int> pagesInRange(const QPrinter& printer, int pageCount);

  // Draws the pages (0-based, in the order given) on the printer, which is set up and
  // not yet begun; pages the printout does not have are passed over.
  static bool printPages(QPrinter& printer, Printout& printout, const std::vector<int>& pages,
                         const Progress& progress = {});

  // Writes every page as a PDF file; false (the previous file left whole) when it
  // could not be written.
  static bool writePdf(const QString& path, Printout& printout, const QPageLayout& layout,
                       const Progress& progress = {});

  // Tests: answer the panels instead of showing them. The print responder gets the
  // set-up printer (it may direct it to a PDF file) and answers whether to print; the
  // page-setup responder may change the layout and answers whether OK was chosen.
  using PrintPanelResponder = std::function<bool(QPrinter& printer, QWidget* accessory)>;
  using PageSetupResponder = std::function<bool(QPageLayout& layout)>;
  static void setPrintPanelResponderForTesting(PrintPanelResponder responder);
  static void setPageSetupResponderForTesting(PageSetupResponder responder);
};

}  // namespace kivo

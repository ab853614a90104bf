#include "journal/gui/KanjyoumotocyouPrinting.h"

#include <QPointer>

#include "document/gui/OpenDocument.h"
#include "document/gui/PrintProgressSheet.h"
#include "document/gui/ProgressStateController.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/gui/KanjyoumotocyouPreviewController.h"
#include "journal/gui/KanjyoumotocyouPrintAccessory.h"
#include "platform/AlertSheet.h"
#include "platform/PrintInfo.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

// The view of the rows on the layout, numbered as the document's ledger print
// accessory says when a page is drawn.
std::unique_ptr<KanjyoumotocyouPrintView> printViewOnLayout(OpenDocument* document, const QPageLayout& layout,
                                                            const std::vector<Motocyou>& motocyouArray,
                                                            int32_t periodFrom, int32_t periodTo)
{
  QPointer<KanjyoumotocyouPrintAccessory> accessory = KanjyoumotocyouPrintAccessory::of(document);
  auto numbering = [accessory]() {
    KanjyoumotocyouPrintView::PageNumbering n;
    if (accessory) {
      n.continuous = accessory->doPrintContinuousPageNumberOnKanjyoumotocyou();
      n.startNumber = accessory->startPrintPageNumberOnKanjyoumotocyou();
    }
    return n;
  };
  return KanjyoumotocyouPrintView::create(document->document(), layout, motocyouArray, periodFrom, periodTo, numbering);
}

}  // namespace

std::unique_ptr<KanjyoumotocyouPrintView> KanjyoumotocyouPrinting::printView(OpenDocument* document,
                                                                             const std::vector<Motocyou>& motocyouArray,
                                                                             int32_t periodFrom, int32_t periodTo)
{
  return printViewOnLayout(document, PrintInfo::pageLayoutForKey(KIVOKanjyoumotocyouPrintInfoKey), motocyouArray,
                           periodFrom, periodTo);
}

bool KanjyoumotocyouPrinting::print(OpenDocument* document, QWidget* window, const std::vector<Motocyou>& motocyouArray,
                                    int32_t periodFrom, int32_t periodTo, bool withAccessory)
{
  PrintOperation::Options options;
  if (withAccessory) {
    options.accessory = KanjyoumotocyouPrintAccessory::of(document)->kanjyoumotocyouPrintAccessoryView();
    options.accessoryTitle = qs("ページ番号");
  }
  return PrintProgressSheet::runPrintPanel(
      document, window, PrintInfo::pageLayoutForKey(KIVOKanjyoumotocyouPrintInfoKey),
      [&](const QPageLayout& paper) { return printViewOnLayout(document, paper, motocyouArray, periodFrom, periodTo); },
      options);
}

void KanjyoumotocyouPrinting::preview(OpenDocument* document, KanjyoumotocyouPrintView& view)
{
  KanjyoumotocyouPreviewController::previewControllerOfDocument(document)->runModalForPrintView(&view);
}

void KanjyoumotocyouPrinting::printLedgers(OpenDocument* document, QWidget* window,
                                           const std::vector<std::pair<int32_t, int32_t>>& kamokuAndHojyoCodes,
                                           int32_t periodFrom, int32_t periodTo, bool preview, const char* noneMessage)
{
  std::vector<Kanjyoumotocyou::KamokuCodes> codes;
  for (const auto& [kamoku, hojyo] : kamokuAndHojyoCodes) codes.push_back({kamoku, hojyo});
  std::vector<Motocyou> rows;
  bool done = true;
  if (codes.size() > 1) {
    ProgressStateController* progress = document->progressStateController();
    progress->beginNamedSteps(window, codes.size());
    done = Kanjyoumotocyou::setKanjyoumotocyouArray(
        document->document(), rows, codes, periodFrom, periodTo,
        [progress](int, int, const std::string& name) { return progress->nextNamedStep(name); });
    progress->endModalSession();
  } else {
    done = Kanjyoumotocyou::setKanjyoumotocyouArray(document->document(), rows, codes, periodFrom, periodTo);
  }
  if (!done) return;
  Kanjyoumotocyou::removeLedgersWithoutTorihiki(rows);
  if (rows.empty()) {
    AlertSheet::runAlert(qs(kStopPrintingTitle), qs(noneMessage));
    return;
  }
  if (!preview) {
    print(document, window, rows, periodFrom, periodTo, true);
    return;
  }
  std::unique_ptr<KanjyoumotocyouPrintView> view = printView(document, rows, periodFrom, periodTo);
  if (view) KanjyoumotocyouPrinting::preview(document, *view);
}

}  // namespace kivo

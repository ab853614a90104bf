#include "journal/gui/KanjyoumotocyouPrinting.h"

#include <QPointer>

#include "document/gui/DocumentSession.h"
#include "document/gui/PrintProgressSheet.h"
#include "journal/gui/KanjyoumotocyouPreviewController.h"
#include "platform/PrintInfo.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaultsKeys.h"
#include "setup/gui/DocumentInfoController.h"

namespace kivo {

std::unique_ptr<KanjyoumotocyouPrintView> KanjyoumotocyouPrinting::printView(DocumentSession* document,
                                                                             const std::vector<Motocyou>& motocyouArray,
                                                                             int32_t periodFrom, int32_t periodTo)
{
  QPointer<DocumentInfoController> info = qobject_cast<DocumentInfoController*>(document->documentInfoController());
  auto numbering = [info]() {
    KanjyoumotocyouPrintView::PageNumbering n;
    if (info) {
      n.continuous = info->doPrintContinuousPageNumberOnKanjyoumotocyou();
      n.startNumber = info->startPrintPageNumberOnKanjyoumotocyou();
    }
    return n;
  };
  return KanjyoumotocyouPrintView::create(document->document(),
                                          PrintInfo::pageLayoutForKey(KIVOKanjyoumotocyouPrintInfoKey), motocyouArray,
                                          periodFrom, periodTo, numbering);
}

bool KanjyoumotocyouPrinting::print(DocumentSession* document, QWidget* window, KanjyoumotocyouPrintView& view,
                                    bool withAccessory)
{
  PrintOperation::Options options;
  if (withAccessory)
    if (auto* info = qobject_cast<DocumentInfoController*>(document->documentInfoController())) {
      options.accessory = info->kanjyoumotocyouPrintAccessoryView();
      options.accessoryTitle = qs("ページ番号");
    }
  return PrintProgressSheet::runPrintPanel(document, window, view,
                                           PrintInfo::pageLayoutForKey(KIVOKanjyoumotocyouPrintInfoKey), options);
}

void KanjyoumotocyouPrinting::preview(DocumentSession* document, KanjyoumotocyouPrintView& view)
{
  KanjyoumotocyouPreviewController::previewControllerOfDocument(document)->runModalForPrintView(&view);
}

}  // namespace kivo

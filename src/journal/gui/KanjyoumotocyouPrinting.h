// What the ledger window and the document information window share to print and
// preview ledgers: the print view on the stored ledger page setup ("Kanjyoumotocyou
// Print Info"), numbered as the information window's ledger print accessory says,
// printed through the shared print operation (with the progress sheet for long
// printouts) or shown in the document's ledger preview.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "journal/Motocyou.h"
#include "journal/gui/KanjyoumotocyouPrintView.h"

class QWidget;

namespace kivo {

class DocumentSession;

class KanjyoumotocyouPrinting {
public:
  // The view of the rows, or nullptr after the refusal when the paper is too small.
  static std::unique_ptr<KanjyoumotocyouPrintView> printView(DocumentSession* document,
                                                             const std::vector<Motocyou>& motocyouArray,
                                                             int32_t periodFrom, int32_t periodTo);
  // The print panel over the window, then the chosen pages; withAccessory adds the
  // page-numbering tab. False when cancelled or failed.
  static bool print(DocumentSession* document, QWidget* window, KanjyoumotocyouPrintView& view, bool withAccessory);
  // The document's ledger preview, run modally until the user closes it.
  static void preview(DocumentSession* document, KanjyoumotocyouPrintView& view);
};

}  // namespace kivo

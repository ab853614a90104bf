// What the ledger window and the sheets that choose several ledgers share to print and
// preview ledgers: the print view on the stored ledger page setup ("Kanjyoumotocyou
// Print Info"), numbered as the document's ledger print accessory says, printed
// through the shared print operation (with the progress sheet for long printouts) or
// shown in the document's ledger preview.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "journal/Motocyou.h"
#include "journal/gui/KanjyoumotocyouPrintView.h"

class QWidget;

namespace kivo {

class OpenDocument;

class KanjyoumotocyouPrinting {
public:
  // The view of the rows on the stored page setup, or nullptr after the refusal when
  // the paper is too small.
  static std::unique_ptr<KanjyoumotocyouPrintView> printView(OpenDocument* document,
                                                             const std::vector<Motocyou>& motocyouArray,
                                                             int32_t periodFrom, int32_t periodTo);
  // The print panel over the window, then the chosen pages of the rows laid out for
  // the paper chosen there; withAccessory adds the page-numbering tab. False when
  // cancelled or failed.
  static bool print(OpenDocument* document, QWidget* window, const std::vector<Motocyou>& motocyouArray,
                    int32_t periodFrom, int32_t periodTo, bool withAccessory);
  // The document's ledger preview, run modally until the user closes it.
  static void preview(OpenDocument* document, KanjyoumotocyouPrintView& view);
  // Builds the ledgers of the accounts and sub-accounts (-1: the account's own
  // ledger) over the months, leaves out those with nothing to show, and prints them
  // over the window with the accessory, or previews them; says noneMessage when none
  // is left. Several ledgers are built under the progress sheet, which can cancel.
  static void printLedgers(OpenDocument* document, QWidget* window,
                           const std::vector<std::pair<int32_t, int32_t>>& kamokuAndHojyoCodes, int32_t periodFrom,
                           int32_t periodTo, bool preview, const char* noneMessage);

  static constexpr const char* kStopPrintingTitle = "プリントを中止";
};

}  // namespace kivo

// What the new-document window asks for, and how it makes a new document of it:
// the company record filled for the term, and the chart of accounts of the company's
// kind with the accounts of its industry turned on.
#pragma once

#include <cstdint>

#include "setup/TermSettings.h"

namespace kivo {

class KamokuKubun;
class MyDocument;

class NewDocumentSettings {
public:
  TermSettings term;
  bool isSeizou = false;
  bool isKensetu = false;
  bool doUseWareki = false;
  int32_t decimalPrecision = 0;  // 0, 1 or 2 decimal places
  // A corporation's chart: the Companies-Act chart (the default) or the older form.
  bool useKaisyahouChart = true;

  // The term's checks (TermSettings::check).
  TermSettings::Refusal check() const { return term.check(); }

  // Fills the document's company record (name, kind, industry, era form, term number
  // or year, precision, the months of the term, both voucher counters at 1) and gives
  // it the chart of its kind. Only for settings that pass check().
  void applyToDocument(MyDocument& document) const;

  // Turns on the accounts a manufacturer or a construction company keeps: every
  // account of the manufacturing-cost categories (materials, labour, expenses,
  // subcontracting and work in process), and for construction also the construction
  // accounts (those named with 工事). The charts ship them inactive, so that the cost
  // report is not empty for the companies that need it.
  static void activateIndustryKamoku(KamokuKubun& root, bool isSeizou, bool isKensetu);
};

}  // namespace kivo

// The sheet that chooses sub-accounts whose sub ledgers (補助元帳) print together: the
// outlines show the accounts in code order with their active sub-accounts; dragging
// an account moves all its sub-accounts shown under it.
#pragma once

#include "journal/gui/SelectPluralLedgerSheet.h"

namespace kivo {

class SelectPluralHojyoKamokuController : public SelectPluralLedgerSheet {
  Q_OBJECT
public:
  static constexpr const char* kHojyoKamokuArrayDataPboardType = "Hojyo Kamoku Array Data Paste board";
  static constexpr const char* kNoHojyoKamokuMessage = "指定した期間中に取引のある補助科目科目がありません。";

  explicit SelectPluralHojyoKamokuController(OpenDocument* document);

  // The document's sheet, made on first use.
  static SelectPluralHojyoKamokuController* controllerOfDocument(OpenDocument* document);
  // Ends the sheet as Cancel would.
  void abortSelectPluralHojyoKamokuWindow() { abortSheet(); }

protected:
  void fillOutline(LedgerChoiceTree* outline, bool chosen) override;
  void setLedgerChosen(const Ledger& ledger, bool chosen) override;
  void printChosen(QWidget* window, bool preview) override;
};

}  // namespace kivo

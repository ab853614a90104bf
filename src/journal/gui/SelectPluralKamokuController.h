// The sheet that chooses accounts whose general ledgers (総勘定元帳) print together:
// the outlines show the account categories with their active accounts, every
// category with its sub-categories and then its own accounts, so that every active
// account can be reached. A search field finds an account by code or name.
#pragma once

#include <memory>

#include "journal/gui/SelectPluralLedgerSheet.h"

class QLineEdit;

namespace kivo {

class KamokuFormatter;
class KamokuKubun;

class SelectPluralKamokuController : public SelectPluralLedgerSheet {
  Q_OBJECT
public:
  static constexpr const char* kKamokuArrayDataPboardType = "Kamoku Array Data Paste board";
  static constexpr const char* kNoKamokuMessage = "指定した期間中に取引のある勘定科目がありません。";

  explicit SelectPluralKamokuController(OpenDocument* document);
  ~SelectPluralKamokuController() override;

  // The document's sheet, made on first use.
  static SelectPluralKamokuController* controllerOfDocument(OpenDocument* document);

  void updateUI() override;
  // The search field's action: selects the account of the typed code in the outline
  // that holds it, or opens the account list with the typed text.
  void searchKamokuFromOutlineView();
  QLineEdit* searchKamokuField() const { return searchKamokuField_; }
  // Ends the sheet as Cancel would.
  void abortSelectPluralKamokuWindow() { abortSheet(); }

protected:
  void fillOutline(LedgerChoiceTree* outline, bool chosen) override;
  void setLedgerChosen(const Ledger& ledger, bool chosen) override;
  void printChosen(QWidget* window, bool preview) override;

private:
  void addKubun(LedgerChoiceTree* outline, QTreeWidgetItem* parent, const KamokuKubun& kubun, bool chosen);

  QLineEdit* searchKamokuField_ = nullptr;
  std::unique_ptr<KamokuFormatter> searchFormatter_;
};

}  // namespace kivo

#include "journal/gui/SelectPluralHojyoKamokuController.h"

#include <cstdio>

#include "document/gui/OpenDocument.h"
#include "journal/gui/KanjyoumotocyouPrinting.h"
#include "platform/QtStrings.h"

namespace kivo {

SelectPluralHojyoKamokuController::SelectPluralHojyoKamokuController(OpenDocument* document)
    : SelectPluralLedgerSheet(document, qs("複数の補助元帳をプリント"), qs(kHojyoKamokuArrayDataPboardType))
{
}

SelectPluralHojyoKamokuController* SelectPluralHojyoKamokuController::controllerOfDocument(OpenDocument* document)
{
  using Owned = OpenDocument::OwnedController;
  auto* sheet = document->ownedControllerAs<SelectPluralHojyoKamokuController>(Owned::SelectPluralHojyoKamoku);
  if (!sheet) {
    sheet = new SelectPluralHojyoKamokuController(document);
    document->setOwnedController(Owned::SelectPluralHojyoKamoku, sheet);
  }
  return sheet;
}

void SelectPluralHojyoKamokuController::fillOutline(LedgerChoiceTree* outline, bool chosen)
{
  for (const KamokuPtr& k : document()->document().codeSortedKamokuArray()) {
    if (!k->isActive()) continue;
    QTreeWidgetItem* account = nullptr;
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray()) {
      if (!h->isActive() || h->isTempSelected() != chosen) continue;
      if (!account) {
        account = new QTreeWidgetItem(outline);
        account->setText(0, qs(k->name()));
        account->setData(0, LedgerChoiceTree::kKamokuCodeRole, -2);
      }
      auto* item = new QTreeWidgetItem(account);
      char code[16];
      std::snprintf(code, sizeof code, "%02d", static_cast<int>(h->code()));
      item->setText(1, QString::fromLatin1(code));
      item->setText(0, qs(h->name()));
      item->setData(0, LedgerChoiceTree::kKamokuCodeRole, k->code());
      item->setData(0, LedgerChoiceTree::kHojyoKamokuCodeRole, h->code());
    }
  }
  outline->expandAll();
}

void SelectPluralHojyoKamokuController::setLedgerChosen(const Ledger& ledger, bool chosen)
{
  const KamokuPtr k = document()->document().kamokuOfCode(ledger.first);
  if (const HojyoKamokuPtr h = k ? k->hojyoKamokuOfCode(ledger.second) : nullptr) h->setIsTempSelected(chosen);
}

void SelectPluralHojyoKamokuController::printChosen(QWidget* window, bool preview)
{
  std::vector<std::pair<int32_t, int32_t>> pairs;
  for (const KamokuPtr& k : document()->document().codeSortedKamokuArray())
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray())
      if (h->isTempSelected()) pairs.emplace_back(k->code(), h->code());
  KanjyoumotocyouPrinting::printLedgers(document(), window, pairs, periodFromMonthArrayIndex(),
                                        periodToMonthArrayIndex(), preview, kNoHojyoKamokuMessage);
}

}  // namespace kivo

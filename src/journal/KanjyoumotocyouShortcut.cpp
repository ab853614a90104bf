#include "journal/KanjyoumotocyouShortcut.h"

#include <algorithm>

namespace kivo {
namespace {

bool isLedgerRecord(const SubMenuItemOfDenpyouAndCyouhyouMenuItem& record)
{
  return record.parentMenuItemTitle() == KanjyoumotocyouShortcut::kParentMenuItemTitle;
}

}  // namespace

int64_t KanjyoumotocyouShortcut::representedObjectOfLedger(Ledger ledger)
{
  return (static_cast<int64_t>(ledger.hojyoKamokuCode) + 1) * 1000 + ledger.kamokuCode;
}

KanjyoumotocyouShortcut::Ledger KanjyoumotocyouShortcut::ledgerOfRepresentedObject(int64_t v)
{
  return Ledger{static_cast<int32_t>(v % 1000), static_cast<int32_t>(v / 1000 - 1)};
}

std::string KanjyoumotocyouShortcut::titleOfLedger(const MyDocument& document, Ledger ledger)
{
  const KamokuPtr kamoku = document.kamokuOfCode(ledger.kamokuCode);
  if (!kamoku) return {};
  std::string title = kamoku->name();
  if (ledger.hojyoKamokuCode >= 0)
    if (const HojyoKamokuPtr hojyo = kamoku->hojyoKamokuOfCode(ledger.hojyoKamokuCode)) title += " ／ " + hojyo->name();
  return title;
}

bool KanjyoumotocyouShortcut::setShortcut(MyDocument& document, Ledger ledger, const std::string& digit)
{
  if (digit.size() != 1 || digit[0] < '1' || digit[0] > '9') return false;
  if (!document.kamokuOfCode(ledger.kamokuCode)) return false;
  std::vector<SubMenuItemPtr>& records = document.subMenuItemArray();
  std::erase_if(records, [&](const SubMenuItemPtr& r) {
    return r->keyEquivalent() == digit ||
           (isLedgerRecord(*r) && ledgerOfRepresentedObject(r->representedObject()) == ledger);
  });
  auto record = std::make_shared<SubMenuItemOfDenpyouAndCyouhyouMenuItem>();
  record->setTitle(titleOfLedger(document, ledger));
  record->setParentMenuItemTitle(kParentMenuItemTitle);
  record->setKeyEquivalent(digit);
  record->setKeyEquivalentModifierMask(kControlKeyMask | kCommandKeyMask);
  record->setRepresentedObject(representedObjectOfLedger(ledger));
  records.push_back(record);
  document.sortSubMenuItemArrayByKeyEquivalent();
  document.updateChangeCount(MyDocument::ChangeType::Done);
  return true;
}

std::string KanjyoumotocyouShortcut::keyEquivalentOfLedger(const MyDocument& document, Ledger ledger)
{
  for (const SubMenuItemPtr& r : document.subMenuItemArray())
    if (isLedgerRecord(*r) && ledgerOfRepresentedObject(r->representedObject()) == ledger) return r->keyEquivalent();
  return {};
}

}  // namespace kivo

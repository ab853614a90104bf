#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "journal/KanjyoumotocyouShortcut.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using Ledger = KanjyoumotocyouShortcut::Ledger;

// 現金 (100), and 普通預金 (103) with the sub-account みずほ銀行 (1).
class ShortcutBooks : public ::testing::Test {
protected:
  void addRecord(const std::string& parent, const std::string& key, int64_t represented)
  {
    auto r = std::make_shared<SubMenuItemOfDenpyouAndCyouhyouMenuItem>();
    r->setParentMenuItemTitle(parent);
    r->setKeyEquivalent(key);
    r->setRepresentedObject(represented);
    r->setTitle(parent + key);
    doc.subMenuItemArray().push_back(r);
  }

  std::vector<std::string> keys() const
  {
    std::vector<std::string> out;
    for (const SubMenuItemPtr& r : doc.subMenuItemArray()) out.push_back(r->keyEquivalent());
    return out;
  }

  std::unique_ptr<MyDocument> books = test::makeBooks({.hojyoKamoku = true});
  MyDocument& doc = *books;
};

TEST_F(ShortcutBooks, RepresentedObjectNamesTheLedgerAndNothingChangesForAnUnknownAccountOrAKeyNoDigit)
{
  const std::pair<Ledger, int64_t> cases[] = {{{100, -1}, 100}, {{103, 1}, 2103}, {{103, 0}, 1103}, {{5, 42}, 43005}};
  for (const auto& [ledger, value] : cases) {
    EXPECT_EQ(KanjyoumotocyouShortcut::representedObjectOfLedger(ledger), value);
    EXPECT_EQ(KanjyoumotocyouShortcut::ledgerOfRepresentedObject(value), ledger);
  }
  // Nothing changes for an unknown account or a key that is no digit.
  addRecord(KanjyoumotocyouShortcut::kParentMenuItemTitle, "1", 100);
  for (auto [ledger, key] : {std::pair{Ledger{998, -1}, "2"}, std::pair{Ledger{100, -1}, "0"},
                             std::pair{Ledger{100, -1}, "12"}, std::pair{Ledger{100, -1}, "a"}})
    EXPECT_FALSE(KanjyoumotocyouShortcut::setShortcut(doc, ledger, key));
  EXPECT_EQ(keys(), std::vector<std::string>{"1"});
  EXPECT_FALSE(doc.isDocumentEdited());
}

TEST_F(ShortcutBooks, ADigitMovesToTheLedgerAndTheLedgerKeepsOneDigit)
{
  addRecord("出納帳", "3", 100);                                        // another window kind holding 3
  addRecord(KanjyoumotocyouShortcut::kParentMenuItemTitle, "5", 2103);  // this ledger, under 5
  addRecord(KanjyoumotocyouShortcut::kParentMenuItemTitle, "7", 100);   // another ledger
  ASSERT_TRUE(KanjyoumotocyouShortcut::setShortcut(doc, {103, 1}, "3"));
  EXPECT_EQ(keys(), (std::vector<std::string>{"3", "7"}));
  const SubMenuItemPtr& r = doc.subMenuItemArray()[0];
  EXPECT_EQ(std::tuple(r->title(), r->parentMenuItemTitle(), r->representedObject(), r->keyEquivalentModifierMask()),
            std::tuple(std::string("普通預金 ／ みずほ銀行"), std::string("総勘定元帳／補助元帳"), int64_t{2103},
                       (1u << 18) | (1u << 20)));
  EXPECT_TRUE(doc.isDocumentEdited());
  EXPECT_EQ(KanjyoumotocyouShortcut::keyEquivalentOfLedger(doc, {103, 1}), "3");
  EXPECT_EQ(KanjyoumotocyouShortcut::keyEquivalentOfLedger(doc, {103, -1}), "");
  EXPECT_EQ(KanjyoumotocyouShortcut::titleOfLedger(doc, {100, -1}), "現金");
}

}  // namespace
}  // namespace kivo

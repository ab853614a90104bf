// The add-asset sheet on a stand-in register window.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "assets/gui/GenkasyoukyakuShisanToAddController.h"
#include "support/AppTestFixture.h"

namespace kivo::test {
namespace {

using G = GenkasyoukyakuShisan;

class GenkasyoukyakuShisanSheetsTest : public AppTest {
protected:
  void openBooksOfTerm(Date start, Date end)
  {
    session = openBooks();
    session->document().kaisya().setMonthOfTermArrayFrom(start, end);
    register_ = addStub(session, DocumentWindow::Kind::GenkasyoukyakuShisanList);
  }
  MyDocument& books() { return session->document(); }

  DocumentSession* session = nullptr;
  StubWindow* register_ = nullptr;
};

TEST_F(GenkasyoukyakuShisanSheetsTest, AddSheetAppendsANewAssetOnlyWhenItsFieldsAreComplete)
{
  openBooksOfTerm(Date(2024, 4, 1), Date(2025, 3, 31));
  GenkasyoukyakuShisanToAddController sheet(session);
  auto asset = std::make_shared<G>(G::kTeiritsuHou);
  sheet.updateUIToEditGenkasyoukyakuShisan(asset);
  sheet.beginSheet(register_, {});
  EXPECT_EQ(sheet.okButton()->text(), QStringLiteral("新規"));
  EXPECT_TRUE(sheet.jigyoubuField()->isHidden());  // no active division

  sheet.nameField()->setText(QStringLiteral("営業車"));
  sheet.kamokuField()->setText(QStringLiteral("156"));
  const int beeps = AlertSheet::beepCountForTesting();
  sheet.endGenkasyoukyakuShisanToAddWindow(sheet.okButton());
  EXPECT_GT(AlertSheet::beepCountForTesting(), beeps);  // no management code
  EXPECT_TRUE(books().genkasyoukyakuShisanArray().empty());
  EXPECT_TRUE(sheet.isSheetAttached());

  sheet.kanriCodeField()->setText(QStringLiteral("V-1"));
  sheet.endGenkasyoukyakuShisanToAddWindow(sheet.okButton());
  ASSERT_EQ(books().genkasyoukyakuShisanArray().size(), 1u);
  EXPECT_EQ(books().genkasyoukyakuShisanArray().front(), asset);
  EXPECT_EQ(asset->name(), "営業車");
  EXPECT_EQ(asset->kanriCode(), "V-1");
  EXPECT_EQ(asset->kamokuCode(), 156);
  EXPECT_EQ(asset->jigyoubuCode(), -1);
  EXPECT_FALSE(asset->isOlderRule());
  EXPECT_TRUE(books().isDocumentEdited());
  EXPECT_FALSE(sheet.isSheetAttached());

  // Shown again for the asset now in the document (its rule fixed, as the next test
  // shows), the sheet changes it.
  sheet.updateUIToEditGenkasyoukyakuShisan(asset);
  EXPECT_EQ(sheet.okButton()->text(), QStringLiteral("変更"));
}

TEST_F(GenkasyoukyakuShisanSheetsTest, RuleCheckBoxFollowsTheTermAndTheAsset)
{
  struct Case {
    Date termEnd;
    bool olderRule, inDocument;
    bool checked, enabled;
  } cases[] = {
      {Date(2007, 3, 31), false, false, true, false},  // a term before the newer rule: older rule only
      {Date(2025, 3, 31), false, false, false, true},
      {Date(2025, 3, 31), true, true, true, false},
      {Date(2025, 3, 31), false, true, false, false},
  };
  for (const Case& c : cases) {
    openBooksOfTerm(c.termEnd.addingDays(1).addingMonths(-12), c.termEnd);
    GenkasyoukyakuShisanToAddController sheet(session);
    auto asset = std::make_shared<G>(G::kTeigakuHou);
    if (c.olderRule) asset->setPListResource(SyoukyakuRitsuTable::kKyuuTableName);
    if (c.inDocument) books().genkasyoukyakuShisanArray().push_back(asset);
    sheet.updateUIToEditGenkasyoukyakuShisan(asset);
    EXPECT_EQ(sheet.isShisanAddedBefore20070401Checkbox()->isChecked(), c.checked) << c.termEnd.toString();
    EXPECT_EQ(sheet.isShisanAddedBefore20070401Checkbox()->isEnabled(), c.enabled) << c.termEnd.toString();
  }
}

}  // namespace
}  // namespace kivo::test

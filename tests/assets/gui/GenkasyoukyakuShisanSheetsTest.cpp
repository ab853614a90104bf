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

TEST_F(GenkasyoukyakuShisanSheetsTest, RuleCheckBoxFollowsTheTermAndTheAssetAndNewAssetsComeOnlyComplete)
{
  const std::tuple<Date, bool, bool, bool, bool> cases[] = {
      {Date(2007, 3, 31), false, false, true, false},  // a term before the newer rule: older rule only
      {Date(2025, 3, 31), false, false, false, true},
      {Date(2025, 3, 31), true, true, true, false},
      {Date(2025, 3, 31), false, true, false, false}};
  for (const auto& [termEnd, olderRule, inDocument, checked, enabled] : cases) {
    openBooksOfTerm(termEnd.addingDays(1).addingMonths(-12), termEnd);
    GenkasyoukyakuShisanToAddController sheet(session);
    auto asset = std::make_shared<G>(G::kTeigakuHou);
    if (olderRule) asset->setPListResource(GenkasyoukyakuShisan::kKyuuTableName);
    if (inDocument) books().genkasyoukyakuShisanArray().push_back(asset);
    sheet.updateUIToEditGenkasyoukyakuShisan(asset);
    const QCheckBox* box = sheet.isShisanAddedBefore20070401Checkbox();
    EXPECT_EQ(std::tuple(box->isChecked(), box->isEnabled()), std::tuple(checked, enabled)) << termEnd.toString();
  }

  // The add sheet appends a new asset only when its fields are complete.
  openBooksOfTerm(Date(2024, 4, 1), Date(2025, 3, 31));
  GenkasyoukyakuShisanToAddController sheet(session);
  auto asset = std::make_shared<G>(G::kTeiritsuHou);
  sheet.updateUIToEditGenkasyoukyakuShisan(asset);
  sheet.beginSheet(register_, {});
  // No active division: no division field.
  EXPECT_EQ(std::tuple(sheet.okButton()->text(), sheet.jigyoubuField()->isHidden()), std::tuple("新規", true));

  sheet.nameField()->setText(QStringLiteral("営業車"));
  sheet.kamokuField()->setText(QStringLiteral("156"));
  const int beeps = AlertSheet::beepCountForTesting();
  sheet.endGenkasyoukyakuShisanToAddWindow(sheet.okButton());
  EXPECT_GT(AlertSheet::beepCountForTesting(), beeps);  // no management code
  EXPECT_EQ(std::tuple(books().genkasyoukyakuShisanArray().size(), sheet.isSheetAttached()), std::tuple(0u, true));

  sheet.kanriCodeField()->setText(QStringLiteral("V-1"));
  sheet.endGenkasyoukyakuShisanToAddWindow(sheet.okButton());
  EXPECT_EQ(books().genkasyoukyakuShisanArray(), std::vector<GenkasyoukyakuShisanPtr>{asset});
  EXPECT_EQ(std::tuple(asset->name(), asset->kanriCode(), asset->kamokuCode(), asset->jigyoubuCode(),
                       asset->isOlderRule(), books().isDocumentEdited(), sheet.isSheetAttached()),
            std::tuple("営業車", "V-1", 156, -1, false, true, false));

  // Shown again for the asset now in the document (its rule fixed, as the checks above
  // show), the sheet changes it.
  sheet.updateUIToEditGenkasyoukyakuShisan(asset);
  EXPECT_EQ(sheet.okButton()->text(), QStringLiteral("変更"));
}

}  // namespace
}  // namespace kivo::test

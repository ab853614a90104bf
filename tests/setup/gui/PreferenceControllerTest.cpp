// The preferences window stores what it shows only on 適用, and keeps the months per
// printed page of the monthly trial balance within 1 to 13.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>

#include "SetupWindowTest.h"

namespace kivo::test {
namespace {

class PreferenceControllerTest : public SetupWindowTest {
protected:
  void TearDown() override
  {
    UserDefaults& d = UserDefaults::standardUserDefaults();
    for (const char* key : {KIVOSuiiShisanPrintMonthPerPageKey, KIVOFurikaedenpyouAutoSetBalanceKey,
                            KIVOInputTypeForKamokuKey, KIVOInputSourceForTekiyouKey, KIVOSuiiShisanTitleTextColorKey,
                            KIVOGankasyoukyakuhiRoundingTypeKey, KIVOGankasyoukyakuhiDefaultZanzonWariaiKey})
      d.removeObjectForKey(key);
    SetupWindowTest::TearDown();
  }
};

TEST_F(PreferenceControllerTest, MonthsPerPageStayWithinZeroToFourteenAndApplyStoresTheControls)
{
  UserDefaults& d = UserDefaults::standardUserDefaults();
  PreferenceController* p = PreferenceController::sharedPreferenceController();
  const std::pair<int64_t, int> cases[] = {{0, 0}, {-4, 0}, {40, 0}, {6, 6}, {14, 14}};
  for (const auto& [stored, shown] : cases) {
    d.setInteger(stored, KIVOSuiiShisanPrintMonthPerPageKey);
    p->updateUI();
    EXPECT_EQ(p->suiiShisanPrintMonthPerPageField()->value(), shown) << stored;
  }
  for (int typed : {0, -3, 14, 99}) {
    p->suiiShisanPrintMonthPerPageField()->setValue(typed);
    p->handleClickApplyButton();
    const int64_t stored = d.integerForKey(KIVOSuiiShisanPrintMonthPerPageKey);
    EXPECT_GE(stored, 0) << typed;
    EXPECT_LE(stored, 14) << typed;
  }

  // 適用 stores the controls, and the guards see the window.
  app->performCommand(MainMenu::Command::ShowPreferencesWindow, nullptr);
  EXPECT_TRUE(p->isVisible());
  EXPECT_TRUE(p->checkboxOfKey(KIVOFurikaedenpyouAutoSetBalanceKey)->isChecked());  // registered YES
  p->checkboxOfKey(KIVOFurikaedenpyouAutoSetBalanceKey)->setChecked(false);
  using Column = PreferenceController::EntryColumn;
  p->inputTypePopUp(Column::Kamoku)->setCurrentIndex(p->inputTypePopUp(Column::Kamoku)->findData(1));
  p->inputSourcePopUp(Column::Tekiyou)
      ->setCurrentIndex(p->inputSourcePopUp(Column::Tekiyou)->findData(QStringLiteral("ja")));
  p->roundingTypePopUp()->setCurrentIndex(1);
  p->zanzonWariaiField()->setValue(0.0);
  // Nothing is stored before 適用.
  EXPECT_TRUE(d.boolForKey(KIVOFurikaedenpyouAutoSetBalanceKey));
  p->handleClickApplyButton();
  EXPECT_FALSE(d.boolForKey(KIVOFurikaedenpyouAutoSetBalanceKey));
  EXPECT_EQ(d.integerForKey(KIVOInputTypeForKamokuKey), 1);
  EXPECT_EQ(d.stringForKey(KIVOInputSourceForTekiyouKey), QStringLiteral("ja"));
  EXPECT_EQ(d.integerForKey(KIVOGankasyoukyakuhiRoundingTypeKey), 1);
  EXPECT_EQ(d.doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey), 0.0);
  // "切り替えない" removes the stored source.
  p->inputSourcePopUp(Column::Tekiyou)->setCurrentIndex(0);
  p->handleClickApplyButton();
  EXPECT_FALSE(d.objectForKey(QString::fromUtf8(KIVOInputSourceForTekiyouKey)).isValid());

  // The colour is stored at once and the monthly trial balances are told.
  DocumentSession* doc = openBooks();
  StubWindow* suii = addStub(doc, Kind::SuiiShisan, QStringLiteral("年間推移試算表"));
  const int before = suii->recomputeCount;
  p->changeColor(QColor(200, 10, 10));
  EXPECT_EQ(d.colorForKey(KIVOSuiiShisanTitleTextColorKey), QColor(200, 10, 10));
  EXPECT_GT(suii->recomputeCount, before);

  // While the window is shown, vouchers wait.
  EXPECT_FALSE(AppController::canShowFurikaedenpyouWindow());
  EXPECT_EQ(lastAlert(), QStringLiteral("実行できません / 環境設定を閉じてください。"));
}

}  // namespace
}  // namespace kivo::test

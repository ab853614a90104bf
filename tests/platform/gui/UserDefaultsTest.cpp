#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <tuple>

#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

class UserDefaultsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(dir_.isValid());
    UserDefaults::registerDefaults();
    defaults_ = std::make_unique<UserDefaults>(path());
  }

  QString path() const { return dir_.filePath(QStringLiteral("settings.ini")); }

  // Writes what was set and opens the file afresh, as the next run of the
  // application would; values then come back as the text the file holds.
  void reopen()
  {
    defaults_->synchronize();
    defaults_ = std::make_unique<UserDefaults>(path());
  }

  QTemporaryDir dir_;
  std::unique_ptr<UserDefaults> defaults_;
};

TEST_F(UserDefaultsTest, OnlyStoredValuesAreWrittenAndSurviveReopeningAndTheStandardInstanceFollowsTheChosenFile)
{
  EXPECT_TRUE(defaults_->boolForKey(KIVOAutoUpdateAllOutputWindowsKey));
  EXPECT_TRUE(defaults_->colorForKey(KIVOSuiiShisanTitleTextColorKey).isValid());
  defaults_->setInteger(1, KIVOExportTextKugiriCodeKey);
  defaults_->synchronize();

  QSettings file(path(), QSettings::IniFormat);
  EXPECT_EQ(file.allKeys(), QStringList{QString::fromUtf8(KIVOExportTextKugiriCodeKey)});

  // Colours round-trip, and bad data falls back to the registered colour.
  const QColor colors[] = {QColor(12, 34, 56, 78), QColor(Qt::black), QColor::fromRgbF(0.25f, 0.5f, 0.75f)};
  for (const QColor& c : colors) {
    defaults_->setColor(c, KIVOSuiiShisanTitleTextColorKey);
    reopen();
    EXPECT_EQ(defaults_->colorForKey(KIVOSuiiShisanTitleTextColorKey), c);
  }

  defaults_->setData(QByteArray("not a colour"), KIVOSuiiShisanTitleTextColorKey);
  EXPECT_EQ(defaults_->colorForKey(KIVOSuiiShisanTitleTextColorKey), QColor(0, 0, 255));
  defaults_->setData(QByteArray("junk"), KIVOShiwakenikkiPrintInfoKey);
  EXPECT_FALSE(defaults_->colorForKey(KIVOShiwakenikkiPrintInfoKey).isValid());

  // Stored values override the registered ones and survive reopening.
  const QByteArray printInfo("\x00\x01print\xff", 8);
  const QString width7 = UserDefaults::columnsKey(KIVOKanjyoumotocyouWindowWidthKey, 7);
  defaults_->setBool(false, KIVOAutoUpdateAllOutputWindowsKey);
  defaults_->setBool(true, KIVOSuitoucyouAutoSetItemAsAboveRowKey);
  defaults_->setInteger(1, KIVOInputTypeForKingakuKey);
  defaults_->setDouble(12.5, KIVOGankasyoukyakuhiDefaultZanzonWariaiKey);
  defaults_->setDouble(612.75, width7);
  defaults_->setData(printInfo, KIVOKanjyoumotocyouPrintInfoKey);

  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass == 0 ? "before reopening" : "after reopening");
    // The date input type is untouched.
    EXPECT_EQ(std::tuple(defaults_->boolForKey(KIVOAutoUpdateAllOutputWindowsKey),
                         defaults_->boolForKey(KIVOSuitoucyouAutoSetItemAsAboveRowKey),
                         defaults_->integerForKey(KIVOInputTypeForKingakuKey),
                         defaults_->integerForKey(KIVOInputTypeForDateKey),
                         defaults_->doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey),
                         defaults_->doubleForKey(width7), defaults_->dataForKey(KIVOKanjyoumotocyouPrintInfoKey)),
              std::tuple(false, true, 1, 2, 12.5, 612.75, printInfo));
    reopen();
  }

  defaults_->removeObjectForKey(KIVOAutoUpdateAllOutputWindowsKey);
  defaults_->removeObjectForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey);
  EXPECT_TRUE(defaults_->boolForKey(KIVOAutoUpdateAllOutputWindowsKey));
  EXPECT_DOUBLE_EQ(defaults_->doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey), 10.0);

  // The standard instance follows the chosen file.
  UserDefaults& standard = UserDefaults::standardUserDefaults();
  const QString other = dir_.filePath(QStringLiteral("other.ini"));

  UserDefaults::useSettingsFile(path());
  standard.setDouble(480.0, KIVOSuitoucyouWindowWidthKey);
  UserDefaults::useSettingsFile(other);
  EXPECT_EQ(standard.doubleForKey(KIVOSuitoucyouWindowWidthKey), 0.0);
  EXPECT_EQ(&UserDefaults::standardUserDefaults(), &standard);
  UserDefaults::useSettingsFile(path());
  EXPECT_DOUBLE_EQ(standard.doubleForKey(KIVOSuitoucyouWindowWidthKey), 480.0);
  UserDefaults::useSettingsFile(other);  // leave it on a test file, never on the user's settings
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <tuple>

#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

TEST(UserDefaultsTest, OnlyStoredValuesAreWrittenAndSurviveReopeningAndTheStandardInstanceFollowsTheChosenFile)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  UserDefaults::registerDefaults();
  const QString path = dir.filePath(QStringLiteral("settings.ini"));
  auto defaults = std::make_unique<UserDefaults>(path);
  // Writes what was set and opens the file afresh, as the next run of the
  // application would; values then come back as the text the file holds.
  const auto reopen = [&] {
    defaults->synchronize();
    defaults = std::make_unique<UserDefaults>(path);
  };

  EXPECT_TRUE(defaults->boolForKey(KIVOAutoUpdateAllOutputWindowsKey));
  EXPECT_TRUE(defaults->colorForKey(KIVOSuiiShisanTitleTextColorKey).isValid());
  defaults->setInteger(1, KIVOExportTextKugiriCodeKey);
  defaults->synchronize();

  QSettings file(path, QSettings::IniFormat);
  EXPECT_EQ(file.allKeys(), QStringList{QString::fromUtf8(KIVOExportTextKugiriCodeKey)});

  // Colours round-trip, and bad data falls back to the registered colour.
  const QColor colors[] = {QColor(12, 34, 56, 78), QColor(Qt::black), QColor::fromRgbF(0.25f, 0.5f, 0.75f)};
  for (const QColor& c : colors) {
    defaults->setColor(c, KIVOSuiiShisanTitleTextColorKey);
    reopen();
    EXPECT_EQ(defaults->colorForKey(KIVOSuiiShisanTitleTextColorKey), c);
  }

  defaults->setData(QByteArray("not a colour"), KIVOSuiiShisanTitleTextColorKey);
  EXPECT_EQ(defaults->colorForKey(KIVOSuiiShisanTitleTextColorKey), QColor(0, 0, 255));
  defaults->setData(QByteArray("junk"), KIVOShiwakenikkiPrintInfoKey);
  EXPECT_FALSE(defaults->colorForKey(KIVOShiwakenikkiPrintInfoKey).isValid());

  // Stored values override the registered ones and survive reopening.
  const QByteArray printInfo("\x00\x01print\xff", 8);
  const QString width7 = UserDefaults::columnsKey(KIVOKanjyoumotocyouWindowWidthKey, 7);
  defaults->setBool(false, KIVOAutoUpdateAllOutputWindowsKey);
  defaults->setBool(true, KIVOSuitoucyouAutoSetItemAsAboveRowKey);
  defaults->setInteger(1, KIVOInputTypeForKingakuKey);
  defaults->setDouble(12.5, KIVOGankasyoukyakuhiDefaultZanzonWariaiKey);
  defaults->setDouble(612.75, width7);
  defaults->setData(printInfo, KIVOKanjyoumotocyouPrintInfoKey);

  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass == 0 ? "before reopening" : "after reopening");
    // The date input type is untouched.
    EXPECT_EQ(std::tuple(defaults->boolForKey(KIVOAutoUpdateAllOutputWindowsKey),
                         defaults->boolForKey(KIVOSuitoucyouAutoSetItemAsAboveRowKey),
                         defaults->integerForKey(KIVOInputTypeForKingakuKey),
                         defaults->integerForKey(KIVOInputTypeForDateKey),
                         defaults->doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey),
                         defaults->doubleForKey(width7), defaults->dataForKey(KIVOKanjyoumotocyouPrintInfoKey)),
              std::tuple(false, true, 1, 2, 12.5, 612.75, printInfo));
    reopen();
  }

  defaults->removeObjectForKey(KIVOAutoUpdateAllOutputWindowsKey);
  defaults->removeObjectForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey);
  EXPECT_TRUE(defaults->boolForKey(KIVOAutoUpdateAllOutputWindowsKey));
  EXPECT_DOUBLE_EQ(defaults->doubleForKey(KIVOGankasyoukyakuhiDefaultZanzonWariaiKey), 10.0);

  // The standard instance follows the chosen file.
  UserDefaults& standard = UserDefaults::standardUserDefaults();
  const QString other = dir.filePath(QStringLiteral("other.ini"));

  UserDefaults::useSettingsFile(path);
  standard.setDouble(480.0, KIVOSuitoucyouWindowWidthKey);
  UserDefaults::useSettingsFile(other);
  EXPECT_EQ(standard.doubleForKey(KIVOSuitoucyouWindowWidthKey), 0.0);
  EXPECT_EQ(&UserDefaults::standardUserDefaults(), &standard);
  UserDefaults::useSettingsFile(path);
  EXPECT_DOUBLE_EQ(standard.doubleForKey(KIVOSuitoucyouWindowWidthKey), 480.0);
  UserDefaults::useSettingsFile(other);  // leave it on a test file, never on the user's settings
}

}  // namespace
}  // namespace kivo

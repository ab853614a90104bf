// GoogleTest entry for the window tests: one QApplication for the whole run, and
// user defaults in a throwaway file so that no test touches the real settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/KeyRouting.h"
#include "platform/UserDefaults.h"

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  kivo::KeyRouting::install();
  QTemporaryDir settingsDir;
  kivo::UserDefaults::useSettingsFile(settingsDir.filePath("settings.ini"));
  kivo::UserDefaults::registerDefaults();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

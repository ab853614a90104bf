// Entry of the window benchmarks: one offscreen application for the whole run, and
// user defaults in a throwaway file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/UserDefaults.h"

int main(int argc, char** argv)
{
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir settingsDir;
  kivo::UserDefaults::useSettingsFile(settingsDir.filePath("settings.ini"));
  kivo::UserDefaults::registerDefaults();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

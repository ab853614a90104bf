// GoogleTest entry for the window tests: one QApplication for the whole run, and
// user defaults in a throwaway file so that no test touches the real settings.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>

#include "platform/KeyRouting.h"
#include "platform/UserDefaults.h"

namespace {

// Whether a window manager names its window on the display's root window, within ten
// seconds.
bool waitForWindowManager()
{
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return false;
  }
  static const char kCheck[] = "_NET_SUPPORTING_WM_CHECK";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kCheck - 1, kCheck), nullptr);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  bool there = false;
  QElapsedTimer waited;
  waited.start();
  while (atom && !there && waited.elapsed() < 10000) {
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    there = reply && xcb_get_property_value_length(reply) >= 4;
    free(reply);
    if (!there) QThread::msleep(20);
  }
  free(atom);
  xcb_disconnect(c);
  return there;
}

}  // namespace

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  // Run beside a window manager started with the program: it takes the display first, as
  // on a desktop.
  if (qEnvironmentVariableIsSet("KIVO_TESTS_WAIT_FOR_WINDOW_MANAGER") && !waitForWindowManager()) {
    std::fprintf(stderr, "no window manager came up\n");
    return 1;
  }
  QApplication app(argc, argv);
  kivo::KeyRouting::install();
  QTemporaryDir settingsDir;
  kivo::UserDefaults::useSettingsFile(settingsDir.filePath("settings.ini"));
  kivo::UserDefaults::registerDefaults();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

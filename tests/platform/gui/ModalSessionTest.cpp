#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/ModalSession.h"

namespace kivo {
namespace {

TEST(ModalSessionTest, RunAndPollLastUntilTheWindowStopsThemAndClosingAborts)
{
  QWidget window;
  {
    ModalSession session(&window);
    EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(window.isVisible());
    QTimer::singleShot(0, [&] { session.stop(7); });
    EXPECT_EQ(session.run(), 7);
    EXPECT_FALSE(session.isRunning());
  }
  // Ended: hidden, its modality given back.
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.windowModality(), Qt::NonModal);

  ModalSession closed(&window);
  QTimer::singleShot(0, [&] { window.close(); });
  EXPECT_EQ(closed.run(), -1);

  // Polling continues until stopped or aborted.
  QWidget polled;
  for (bool viaAbort : {false, true}) {
    ModalSession session(&polled);
    EXPECT_EQ(session.poll(), ModalSession::Response::Continue);
    EXPECT_EQ(session.poll(), ModalSession::Response::Continue);
    if (viaAbort)
      polled.hide();
    else
      session.stop();
    EXPECT_EQ(session.poll(), viaAbort ? ModalSession::Response::Aborted : ModalSession::Response::Stopped);
    // Stays ended.
    session.stop(3);
    EXPECT_NE(session.poll(), ModalSession::Response::Continue);
  }
}

// A window manager may focus a dialog shown over the focused window even when it is
// shown without activating, and hands the keyboard back only after the dialog is
// gone. Sessions for a window the user is not in, one after another, each end with
// the keyboard back in the user's window, never left in the hidden one, where the
// next session would catch the hand-back and the user's keys would go nowhere.
TEST(ModalSessionTest, SessionsForAnotherWindowEachEndWithTheKeyboardBackInTheUsersWindow)
{
  QWidget user;
  user.show();
  user.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&user));
  auto* sheet = new QWidget(&user, Qt::Dialog | Qt::Sheet);
  for (int i = 0; i < 3; ++i) {
    {
      ModalSession session(sheet, ModalSession::Activation::WithoutActivating);
      sheet->activateWindow();  // the window manager's doing
      ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
      EXPECT_EQ(session.poll(), ModalSession::Response::Continue);
    }
    EXPECT_EQ(QGuiApplication::focusWindow(), user.windowHandle()) << "session " << i;
  }
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>

#include <QApplication>
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

// Work for a window the user is not in: its window shows without activating, and the
// window the user is in is the active one when it ends. The same window in a later
// session that activates shows as any other.
TEST(ModalSessionTest, ASessionWithoutActivatingLeavesTheUserInTheActiveWindow)
{
  QWidget user;
  user.show();
  QApplication::setActiveWindow(&user);
  QWidget window;
  {
    ModalSession session(&window, ModalSession::Activation::WithoutActivating);
    EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(session.poll(), ModalSession::Response::Continue);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), &user);
  {
    ModalSession session(&window);
    EXPECT_FALSE(window.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(window.windowHandle()->property("_q_showWithoutActivating").toBool());
  }
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

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

}  // namespace
}  // namespace kivo

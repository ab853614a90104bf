#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/ModalSession.h"
#include "support/TypedAhead.h"

namespace kivo::test {
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

// A session shown after a delay, for polled work: work that ends sooner shows no
// window, and what the user types or clicks meanwhile waits, in order, until the
// session ends, then goes where it was typed or clicked, with no further call needed.
// Work that lasts shows the window at the first poll past the delay.
TEST(ModalSessionTest, ASessionShownAfterADelayHoldsTheUsersInputUntilItEnds)
{
  QWidget user;
  auto* field = new QLineEdit(&user);
  auto* button = new QPushButton(QStringLiteral("OK"), &user);
  button->move(0, 40);
  button->setFocusPolicy(Qt::NoFocus);  // the keys after the click stay in the field
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  user.show();
  user.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&user));
  field->setFocus();
  auto* sheet = new QWidget(&user, Qt::Dialog | Qt::Sheet);
  {
    ModalSession session(sheet, ModalSession::Showing::AfterDelay);
    typeAhead(&user, QStringLiteral("4/1"));
    clickAhead(button, button->rect().center());
    typeAhead(&user, QStringLiteral("0"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(session.poll(), ModalSession::Response::Continue);
    EXPECT_EQ(std::tuple(field->text(), clicks, sheet->isVisible(), session.isWindowShown()),
              std::tuple(QString(), 0, false, false));
  }
  QEventLoop loop;  // the application's own loop, woken by the session's end
  QTimer::singleShot(200, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(std::pair(field->text(), clicks), std::pair(QStringLiteral("4/10"), 1));
  EXPECT_EQ(QGuiApplication::focusWindow(), user.windowHandle());

  {
    ModalSession session(sheet, ModalSession::Showing::AfterDelay);
    QThread::msleep(ModalSession::kShowDelay);
    EXPECT_EQ(session.poll(), ModalSession::Response::Continue);
    EXPECT_EQ(std::pair(sheet->isVisible(), sheet->windowModality()), std::pair(true, Qt::ApplicationModal));
  }
  EXPECT_FALSE(sheet->isVisible());
}

// What is put off until polled work ends runs then, from the event loop and in order,
// not for a receiver gone meanwhile; a session that is only run is no work.
TEST(ModalSessionTest, WhatIsPutOffUntilTheWorkEndsRunsOnceItHasEnded)
{
  QStringList ran;
  ModalSession::afterWork(nullptr, [&] { ran << "at once"; });
  EXPECT_EQ(ran, QStringList{"at once"});
  ran.clear();
  QWidget sheet;
  auto gone = std::make_unique<QObject>();
  QObject kept;
  {
    ModalSession session(&sheet, ModalSession::Showing::AfterDelay);
    EXPECT_FALSE(ModalSession::isWorkRunning());
    session.poll();
    EXPECT_TRUE(ModalSession::isWorkRunning());
    ModalSession::afterWork(&kept, [&] { ran << "first"; });
    ModalSession::afterWork(gone.get(), [&] { ran << "gone"; });
    ModalSession::afterWork(&kept, [&] { ran << "second"; });
    gone.reset();
    session.poll();
    EXPECT_TRUE(ran.isEmpty());
  }
  EXPECT_FALSE(ModalSession::isWorkRunning());
  EXPECT_TRUE(ran.isEmpty());  // not within the code that ended the work
  QCoreApplication::processEvents();
  EXPECT_EQ(ran, (QStringList{"first", "second"}));

  ModalSession run(&sheet);
  QTimer::singleShot(0, [&] {
    EXPECT_FALSE(ModalSession::isWorkRunning());
    run.stop();
  });
  run.run();
}

// The session's window deleted by the program while the session, ending, waits for the
// keyboard to return to the user's window: the session ends without touching it.
TEST(ModalSessionTest, AWindowDeletedWhileTheEndWaitsForTheKeyboardIsLeftAlone)
{
  QWidget user;
  user.show();
  QWindowSystemInterface::handleWindowActivated<Queued>(user.windowHandle());
  QCoreApplication::processEvents();
  ASSERT_EQ(QGuiApplication::focusWindow(), user.windowHandle());
  QPointer<QWidget> progress = new QWidget;
  {
    ModalSession session(progress);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == progress->windowHandle(); }, 1000));
    // The user's window takes the keyboard back only after a while; meanwhile the
    // program deletes the session's window.
    user.windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, true);
    QTimer::singleShot(50, [&] { delete progress.data(); });
    QTimer::singleShot(100, [&] {
      user.windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, false);
      user.windowHandle()->requestActivate();
    });
  }
  EXPECT_TRUE(progress.isNull());
  EXPECT_EQ(QGuiApplication::focusWindow(), user.windowHandle());
}

}  // namespace
}  // namespace kivo::test

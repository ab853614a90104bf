// Keys the window system addressed to a window that has closed by the time the program
// reads them, offscreen (the X11 suite has them through an X server).
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>
#include <memory>

#include "platform/KeyRouting.h"
#include "support/DrawnOnScreen.h"
#include "support/TypedAhead.h"
#include "support/XDisplay.h"

namespace kivo {
namespace {

using Queued = QWindowSystemInterface::AsynchronousDelivery;
using Sync = QWindowSystemInterface::SynchronousDelivery;

struct Window {
  Window()
  {
    window.setCentralWidget(field);
    window.show();
    QWindowSystemInterface::handleWindowActivated<Sync>(window.windowHandle(), Qt::ActiveWindowFocusReason);
    field->setFocus();
  }
  QMainWindow window;
  QLineEdit* field = new QLineEdit(&window);
};

// "1" and "2" sent to the window, then the window hidden and the keyboard on no window
// (none gives it on, as without a window manager): the keys wait for a window to have
// it.
void typeIntoAWindowThatCloses(Window& closing)
{
  test::typeAheadKeyFor(closing.window.windowHandle(), Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
  test::typeAheadKeyFor(closing.window.windowHandle(), Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
  closing.window.hide();
  QWindowSystemInterface::handleWindowActivated<Queued>(nullptr);
}

// The key events a widget gets.
class KeyCount : public QObject {
public:
  explicit KeyCount(QWidget* widget) { widget->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override
  {
    if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) ++tabReleases;
    return false;
  }
  int tabReleases = 0;
};

// Read while no window has the keyboard (none gives it on, as without a window
// manager), keys sent to a window that has closed wait for a while, then go to the
// window that had the keyboard last, which gets it too. The release of the Tab that
// closed the window, whose press that window took, stays behind.
TEST(KeyRoutingTest, KeysForAClosedWindowWaitForTheKeyboardThenGoToTheWindowThatHadItLast)
{
  Window first;
  Window second;
  ASSERT_EQ(QGuiApplication::focusWindow(), second.window.windowHandle());
  const KeyCount firstKeys(first.field);
  QWindow* closing = second.window.windowHandle();
  QTest::keyPress(closing, Qt::Key_Tab);
  test::typeAheadKeyFor(closing, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
  test::typeAheadKeyFor(closing, Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
  QWindowSystemInterface::handleKeyEvent<Queued>(closing, QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
  second.window.hide();
  QWindowSystemInterface::handleWindowActivated<Queued>(nullptr);
  QTest::qWait(KeyRouting::kWaitForKeyboard / 2);
  EXPECT_EQ(first.field->text(), QString()) << "did not wait";
  EXPECT_TRUE(QTest::qWaitFor([&] { return first.field->text() == QStringLiteral("12"); }, 3000))
      << first.field->text().toStdString();
  EXPECT_EQ(second.field->text(), QString());
  EXPECT_EQ(firstKeys.tabReleases, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == first.window.windowHandle(); }, 1000));
}

// A click read after keys that wait acts after them: the button sees the text they
// typed.
TEST(KeyRoutingTest, AClickReadAfterKeysThatWaitActsAfterThem)
{
  Window first;
  auto* button = new QPushButton(QStringLiteral("OK"));
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(first.field);
  layout->addWidget(button);
  first.window.setCentralWidget(central);
  first.window.resize(300, 200);
  first.field->setFocus();
  QString seen = QStringLiteral("not clicked");
  QObject::connect(button, &QPushButton::clicked, [&] { seen = first.field->text(); });
  QCoreApplication::processEvents();
  Window second;
  typeIntoAWindowThatCloses(second);
  test::clickAhead(button, button->rect().center());
  EXPECT_TRUE(QTest::qWaitFor([&] { return seen != QStringLiteral("not clicked"); }, 3000));
  EXPECT_EQ(seen, QStringLiteral("12"));
}

// Keys that waited their time go to the window that had the keyboard last; a modal
// window over it, which it cannot take keys through, takes them instead.
TEST(KeyRoutingTest, KeysThatWaitedTheirTimeGoToTheModalWindowOverTheWindowThatHadTheKeyboardLast)
{
  Window first;
  QDialog modal(&first.window);
  auto* modalField = new QLineEdit(&modal);
  modal.setWindowModality(Qt::WindowModal);
  modal.setAttribute(Qt::WA_ShowWithoutActivating);
  modal.show();
  modalField->setFocus();
  // The window under it had the keyboard after it (the window system gave it; Qt lets
  // no key through to it).
  QWindowSystemInterface::handleWindowActivated<Sync>(first.window.windowHandle(), Qt::ActiveWindowFocusReason);
  Window second;
  typeIntoAWindowThatCloses(second);
  EXPECT_TRUE(QTest::qWaitFor([&] { return modalField->text() == QStringLiteral("12"); }, 3000))
      << modalField->text().toStdString();
  EXPECT_EQ(first.field->text(), QString());
}

// Keys that waited their time while a hold kept them (an answer acting) go as soon as
// the hold ends: they do not wait their time again.
TEST(KeyRoutingTest, KeysHeldPastTheirTimeGoAsSoonAsTheHoldEnds)
{
  Window first;
  Window second;
  auto hold = std::make_unique<KeyRouting::Hold>();
  typeIntoAWindowThatCloses(second);
  // Read now: their time counts from when they were read, which a slow first frame can
  // put off.
  QWindowSystemInterface::flushWindowSystemEvents();
  QTest::qWait(KeyRouting::kWaitForKeyboard + 100);
  EXPECT_EQ(first.field->text(), QString());
  hold.reset();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(first.field->text(), QStringLiteral("12"));
}

// Keys sent to a window the program has asked to minimize (しまう), read once it has:
// they go to the window that gets the keyboard, not into the one the user no longer
// sees.
TEST(KeyRoutingTest, KeysForAWindowAskedToMinimizeGoToTheWindowThatGetsTheKeyboard)
{
  Window first;
  Window second;
  test::typeAheadKeyFor(second.window.windowHandle(), Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
  test::typeAheadKeyFor(second.window.windowHandle(), Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
  second.window.showMinimized();
  QWindowSystemInterface::handleWindowActivated<Queued>(first.window.windowHandle(), Qt::ActiveWindowFocusReason);
  EXPECT_TRUE(QTest::qWaitFor([&] { return first.field->text() == QStringLiteral("12"); }, 3000))
      << first.field->text().toStdString();
  EXPECT_EQ(second.field->text(), QString());
}

// A question shown a second time takes no key typed before that showing (typed as it
// opens, before its first frame), though typed after its first.
TEST(KeyRoutingTest, AQuestionShownAgainTakesNoKeyTypedBeforeItShowedAgain)
{
  // Keys made up inside the program carry the program's clock, on which an X display does
  // not mark the questions shown.
  if (QGuiApplication::platformName() == QLatin1String("xcb")) GTEST_SKIP() << "keys not typed through the X server";
  Window window;
  QDialog question(&window.window);
  auto* field = new QLineEdit(&question);
  question.setWindowModality(Qt::WindowModal);
  for (int time = 1; time <= 2; ++time) {
    SCOPED_TRACE(time);
    KeyRouting::watchQuestion(&question);
    question.show();
    QWindowSystemInterface::handleWindowActivated<Sync>(question.windowHandle(), Qt::ActiveWindowFocusReason);
    field->setFocus();
    test::typeAheadKeyFor(question.windowHandle(), Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    ASSERT_TRUE(test::waitUntilDrawn(&question));
    QTest::qWait(20);
    EXPECT_EQ(field->text(), QString());
    // Typed once it showed: it goes in.
    test::typeAheadKeyFor(question.windowHandle(), Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return field->text() == QStringLiteral("2"); }, 1000));
    field->clear();
    question.hide();
    QWindowSystemInterface::handleWindowActivated<Sync>(window.window.windowHandle(), Qt::ActiveWindowFocusReason);
    QTest::qWait(5);
  }
}

// On an X display without a window manager: keys that waited their time go to the window
// that had the keyboard last, which comes to the front, out from under a window shown
// since, as a window manager would bring it: the user sees where the keys go.
TEST(KeyRoutingTest, TheWindowGivenTheKeysAfterTheirWaitComesToTheFront)
{
  const test::XDisplay display;
  if (!display.isThere() || test::XDisplay::hasWindowManager())
    GTEST_SKIP() << "stacking shows on an X display without a window manager";
  Window first;
  first.window.setGeometry(40, 40, 300, 200);
  QMainWindow cover;
  cover.setGeometry(80, 80, 300, 200);
  cover.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
  ASSERT_TRUE(display.isAbove(cover.windowHandle(), first.window.windowHandle()));
  Window second;
  typeIntoAWindowThatCloses(second);
  EXPECT_TRUE(QTest::qWaitFor([&] { return first.field->text() == QStringLiteral("12"); }, 3000))
      << first.field->text().toStdString();
  EXPECT_TRUE(display.isAbove(first.window.windowHandle(), cover.windowHandle()));
}

}  // namespace
}  // namespace kivo

// Keys the window system addressed to a window that has closed by the time the program
// reads them, offscreen (the X11 suite has them through an X server).
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QWindow>

#include "platform/KeyRouting.h"
#include "support/TypedAhead.h"

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

}  // namespace
}  // namespace kivo

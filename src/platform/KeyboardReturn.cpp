#include "platform/KeyboardReturn.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

namespace kivo {
namespace {

// Handles every event but the user's input until the window has the keyboard, it is
// hidden or the limit has passed.
bool waitForKeyboard(QWindow* window)
{
  const QPointer<QWindow> target = window;
  const auto arrived = [&target] {
    return !target || !target->isVisible() || QGuiApplication::focusWindow() == target;
  };
  if (arrived()) return target && QGuiApplication::focusWindow() == target;
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &loop, [&loop, &arrived] {
    if (arrived()) loop.quit();
  });
  // A window hidden meanwhile is waited for no longer.
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, &loop, [&loop, &arrived] {
    if (arrived()) loop.quit();
  });
  watch.start(20);
  limit.start(KeyboardReturn::kWaitLimit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return target && QGuiApplication::focusWindow() == target;
}

}  // namespace

KeyboardReturn::KeyboardReturn(QWidget* commandWindow)
    : window_(commandWindow ? commandWindow->window() : QApplication::activeWindow())
{
}

KeyboardReturn::~KeyboardReturn() { giveKeyboardTo(window_.data()); }

bool KeyboardReturn::giveKeyboardTo(QWidget* window)
{
  // What the window system has already said (the window it activated as the panel
  // closed) comes first.
  const QPointer<QWidget> shown = window;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (!shown || !shown->isVisible()) return false;
  QWidget* top = shown->window();
  if (!top->windowHandle()) return false;
  top->activateWindow();
  return waitForKeyboard(top->windowHandle());
}

bool KeyboardReturn::giveKeyboardTo(QWindow* window)
{
  const QPointer<QWindow> shown = window;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (!shown || !shown->isVisible()) return false;
  shown->requestActivate();
  return waitForKeyboard(shown);
}

}  // namespace kivo

// Waits until a window has drawn a frame, and the program has noted when its first
// frame was on the screen, and a few milliseconds more (the window system counts time
// in milliseconds, and a key typed in the very millisecond of that frame counts as
// typed before it): a key typed from then on counts as typed once the window showed (a
// question takes no key typed before).
#pragma once

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include "support/ShowWatch.h"

namespace kivo::test {

inline bool waitUntilDrawn(QWidget* window)
{
  bool drawn = false;
  const EventWatch watch(window, QEvent::Paint, [&drawn] { drawn = true; });
  window->update();
  if (!QTest::qWaitFor([&drawn] { return drawn; }, 5000)) return false;
  // The note of its first frame, posted as that frame was drawn.
  QCoreApplication::processEvents();
  QTest::qWait(5);
  return true;
}

}  // namespace kivo::test

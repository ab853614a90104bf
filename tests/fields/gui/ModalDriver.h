// Drives a modal window from inside its own event loop: the steps run once the
// window is up, after the caller has started the modal run.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace kivo::test {

template <typename Window>
void whenModalWindowIsUp(std::function<void(Window*)> steps)
{
  QTimer::singleShot(0, [steps] {
    auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
    if (!window) {
      // Never leave a test hanging in a modal run it cannot see.
      if (QWidget* other = QApplication::activeModalWidget()) other->close();
      ADD_FAILURE() << "no modal window of the expected kind";
      return;
    }
    steps(window);
  });
}

}  // namespace kivo::test

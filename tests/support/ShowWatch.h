// Calls back each time the watched widget shows: a window that shows and goes within
// one step of work is seen all the same.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <utility>

namespace kivo::test {

class ShowWatch : public QObject {
public:
  ShowWatch(QWidget* watched, std::function<void()> shown) : shown_(std::move(shown))
  {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override
  {
    if (event->type() == QEvent::Show) shown_();
    return false;
  }

private:
  std::function<void()> shown_;
};

}  // namespace kivo::test

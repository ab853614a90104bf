// Calls back each time the watched widget receives an event of a kind: ShowWatch each
// time it shows, so that a window that shows and goes within one step of work is seen
// all the same.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <utility>

namespace kivo::test {

class EventWatch : public QObject {
public:
  EventWatch(QWidget* watched, QEvent::Type type, std::function<void()> seen) : type_(type), seen_(std::move(seen))
  {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override
  {
    if (event->type() == type_) seen_();
    return false;
  }

private:
  QEvent::Type type_;
  std::function<void()> seen_;
};

class ShowWatch : public EventWatch {
public:
  ShowWatch(QWidget* watched, std::function<void()> shown) : EventWatch(watched, QEvent::Show, std::move(shown)) {}
};

}  // namespace kivo::test

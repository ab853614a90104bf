// Runs once, as the window hides: within the handling of the key or call that closed
// it.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <utility>

namespace kivo::test {

class OnceHidden : public QObject {
public:
  OnceHidden(QWidget* window, std::function<void()> then) : QObject(window), then_(std::move(then))
  {
    window->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override
  {
    if (event->type() == QEvent::Hide && then_) std::exchange(then_, nullptr)();
    return false;
  }

private:
  std::function<void()> then_;
};

}  // namespace kivo::test

// The windows the program brings to the front, and the alerts it shows, in order: how
// they stack without a window manager, where only the program keeps an alert above
// its window.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace kivo::test {

class RaiseWatch : public QObject {
public:
  RaiseWatch() { qApp->installEventFilter(this); }
  ~RaiseWatch() override { qApp->removeEventFilter(this); }
  RaiseWatch(const RaiseWatch&) = delete;
  RaiseWatch& operator=(const RaiseWatch&) = delete;

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    const bool shown = event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched);
    if ((event->type() == QEvent::ZOrderChange || shown) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow())
      order.push_back(watched);
    return false;
  }
  // Whether the last of the two to come to the front is `over`.
  bool lastOver(const QObject* over, const QObject* under) const
  {
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      if (*it == over) return true;
      if (*it == under) return false;
    }
    return false;
  }
  long count(const QObject* window) const { return std::count(order.begin(), order.end(), window); }

  std::vector<QObject*> order;
};

}  // namespace kivo::test

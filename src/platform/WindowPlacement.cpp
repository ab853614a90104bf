#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kivo {
namespace {

bool isFramed(const QWidget* window) { return window->frameGeometry() != window->geometry(); }

QMargins marginsOf(const QWidget* window)
{
  const QRect f = window->frameGeometry();
  const QRect g = window->geometry();
  return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

QSize extentOf(const QMargins& m) { return {m.left() + m.right(), m.top() + m.bottom()}; }

// Fits its window once, at the first event after which the window is framed.
class FitWhenFramed : public QObject {
public:
  explicit FitWhenFramed(QWidget* window) : QObject(window), window_(window)
  {
    setObjectName(QStringLiteral("kivoFitWhenFramed"));
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    const QEvent::Type type = event->type();
    if (watched != window_ || (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show)) return false;
    if (!window_->isVisible() || !isFramed(window_)) return false;
    window_->removeEventFilter(this);
    deleteLater();
    const QRect frame(window_->pos(), window_->size());
    const QRect fitted = WindowPlacement::fittedWindowFrame(
        frame, marginsOf(window_), WindowPlacement::availableGeometryAt(window_->frameGeometry().center()),
        window_->minimumSize());
    if (fitted.size() != frame.size()) window_->resize(fitted.size());
    if (fitted.topLeft() != frame.topLeft()) window_->move(fitted.topLeft());
    return false;
  }

private:
  QWidget* window_;
};

}  // namespace

QPoint WindowPlacement::keptOnScreen(const QRect& frame, const QRect& available)
{
  if (available.isEmpty()) return frame.topLeft();
  int x = std::min(frame.x(), available.x() + available.width() - frame.width());
  int y = std::min(frame.y(), available.y() + available.height() - frame.height());
  x = std::max(x, available.x());
  y = std::max(y, available.y());
  return {x, y};
}

QRect WindowPlacement::fittedFrame(const QRect& frame, const QRect& available, const QSize& minimum)
{
  if (available.isEmpty()) return frame;
  const QSize size(std::max(std::min(frame.width(), available.width()), minimum.width()),
                   std::max(std::min(frame.height(), available.height()), minimum.height()));
  return {keptOnScreen(QRect(frame.topLeft(), size), available), size};
}

QRect WindowPlacement::fittedWindowFrame(const QRect& frame, const QMargins& margins, const QRect& available,
                                         const QSize& minimum)
{
  const QSize extent = extentOf(margins);
  const QRect outer = fittedFrame(QRect(frame.topLeft(), frame.size() + extent), available,
                                  minimum.isValid() ? minimum + extent : QSize());
  return {outer.topLeft(), outer.size() - extent};
}

QMargins WindowPlacement::frameMarginsOf(const QWidget* window)
{
  if (window && window->isWindow() && window->isVisible() && isFramed(window)) return marginsOf(window);
  for (const QWidget* other : QApplication::topLevelWidgets())
    if (other != window && other->windowType() == Qt::Window && other->isVisible() && isFramed(other))
      return marginsOf(other);
  return {0, kTitleBarAllowance, 0, 0};
}

void WindowPlacement::placeWindow(QWidget* window, const QRect& frame)
{
  const QRect fitted =
      fittedWindowFrame(frame, frameMarginsOf(window), availableGeometryAt(frame.center()), window->minimumSize());
  window->resize(fitted.size());
  window->move(fitted.topLeft());
  fitWhenFramed(window);
}

void WindowPlacement::fitWhenFramed(QWidget* window)
{
  if (!window || window->findChild<QObject*>(QStringLiteral("kivoFitWhenFramed"), Qt::FindDirectChildrenOnly)) return;
  if (window->isVisible() && isFramed(window)) return;
  new FitWhenFramed(window);
}

QRect WindowPlacement::availableGeometryAt(const QPoint& point)
{
  QScreen* screen = QGuiApplication::screenAt(point);
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

}  // namespace kivo

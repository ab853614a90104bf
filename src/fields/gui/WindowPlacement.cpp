#include "fields/gui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace kivo {

QPoint WindowPlacement::keptOnScreen(const QRect& frame, const QRect& available)
{
  if (available.isEmpty()) return frame.topLeft();
  int x = std::min(frame.x(), available.x() + available.width() - frame.width());
  int y = std::min(frame.y(), available.y() + available.height() - frame.height());
  x = std::max(x, available.x());
  y = std::max(y, available.y());
  return {x, y};
}

QRect WindowPlacement::availableGeometryAt(const QPoint& point)
{
  QScreen* screen = QGuiApplication::screenAt(point);
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

}  // namespace kivo

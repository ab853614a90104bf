// Where a picker or input panel goes on the screen: at the point its caller gives,
// moved as little as needed to lie wholly within the screen's available area.
#pragma once

#include <QPoint>
#include <QRect>

namespace kivo {

class WindowPlacement {
public:
  // The top-left corner that keeps a window of the frame's size, wanted at the
  // frame's top-left, inside the available area (its top-left edge wins when the
  // window is larger than the area).
  static QPoint keptOnScreen(const QRect& frame, const QRect& available);
  // The available area of the screen that holds the point, else of the primary
  // screen; an empty rectangle without any screen.
  static QRect availableGeometryAt(const QPoint& point);
};

}  // namespace kivo

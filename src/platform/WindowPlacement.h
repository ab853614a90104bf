// Where a window goes on the screen. Every window the program places, a cascaded or
// remembered document window, the help window, a picker or an input panel, is fitted
// here, so that none lies past the screen's edge: moved as little as needed to lie
// wholly within the screen's available area, and made smaller where it is larger.
//
// A window's frame is its contents with the title bar and borders the window system
// puts around them. Before the window system has framed a window, its title bar is
// not known: the frame of another window stands for it, else an allowance for a title
// bar, and the window is fitted again once it is framed (fitWhenFramed).
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kivo {

class WindowPlacement {
public:
  // The title bar the window system is taken to put over a window not yet framed when
  // no other window tells.
  static constexpr int kTitleBarAllowance = 32;

  // The top-left corner that keeps a window of the frame's size, wanted at the
  // frame's top-left, inside the available area (its top-left edge wins when the
  // window is larger than the area).
  static QPoint keptOnScreen(const QRect& frame, const QRect& available);
  // The frame made no larger than the available area (but not below the minimum size)
  // and moved as keptOnScreen moves it. An empty area keeps the frame.
  static QRect fittedFrame(const QRect& frame, const QRect& available, const QSize& minimum = QSize());
  // The same for a window's frame as a window is placed: its outer top-left corner and
  // the size of its contents, with the margins of the title bar and borders around
  // them; the minimum is that of the contents.
  static QRect fittedWindowFrame(const QRect& frame, const QMargins& margins, const QRect& available,
                                 const QSize& minimum = QSize());

  // The title bar and borders around the window: its own once it is framed, else
  // those of another framed window of the program, else the title bar allowance.
  static QMargins frameMarginsOf(const QWidget* window);
  // Moves and sizes a top-level window to the frame (outer top-left, contents size),
  // fitted on the available area of the screen the frame's centre is on.
  static void placeWindow(QWidget* window, const QRect& frame);
  // Fits the window once more when the window system first frames it, the frame then
  // being known; a window that already lies within the area stays where it is.
  static void fitWhenFramed(QWidget* window);

  // The available area of the screen that holds the point, else of the primary
  // screen; an empty rectangle without any screen.
  static QRect availableGeometryAt(const QPoint& point);
};

}  // namespace kivo

// Input the user types or clicks ahead while the program works: posted to the window
// system's queue, as a window system queues what arrives while the main thread is
// busy, and delivered when the program next handles input, to the window's widget
// that has the keyboard (or the one under the pointer).
#pragma once

#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <QWindow>

namespace kivo::test {

using Queued = QWindowSystemInterface::AsynchronousDelivery;

// A key pressed and released, for the window (nullptr: whichever has the keyboard when
// the program reads it).
inline void typeAheadKeyFor(QWindow* handle, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
  QWindowSystemInterface::handleKeyEvent<Queued>(handle, QEvent::KeyPress, key, modifiers, text);
  QWindowSystemInterface::handleKeyEvent<Queued>(handle, QEvent::KeyRelease, key, modifiers, text);
}

inline void typeAheadKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                         const QString& text = {})
{
  typeAheadKeyFor(window->window()->windowHandle(), key, modifiers, text);
}

// Each character as its key: ASCII on its own key code, any other character as the
// text of a key without one.
inline void typeAhead(QWidget* window, const QString& text)
{
  for (QChar c : text) {
    const int key = c.unicode() < 0x80 ? int{c.toUpper().unicode()} : int{Qt::Key_unknown};
    typeAheadKey(window, static_cast<Qt::Key>(key), Qt::NoModifier, QString(c));
  }
}

// Keys as a window system such as X11 sends them: to whichever window has the keyboard
// when the program reads them, not when they were typed.
inline void typeAheadToKeyboard(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
  typeAheadKeyFor(nullptr, key, modifiers, text);
}

// The window system activating the window (as it chooses one when a panel or an
// alert closes), queued as what arrives while the program is busy.
inline void activateAhead(QWidget* window)
{
  QWindowSystemInterface::handleWindowActivated<Queued>(window->window()->windowHandle(), Qt::ActiveWindowFocusReason);
}

// The window system giving the keyboard to a window of its choice (nullptr: to none, as
// without a window manager) as the watched window closes, before anything of the
// program sees it close.
class WindowSystemChoice : public QObject {
public:
  WindowSystemChoice(QWidget* closing, QWidget* chosen) : closing_(closing), chosen_(chosen)
  {
    qApp->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (watched == closing_ && event->type() == QEvent::Hide)
      QWindowSystemInterface::handleWindowActivated<Queued>(chosen_ ? chosen_->window()->windowHandle() : nullptr);
    return false;
  }

private:
  QObject* closing_;
  QPointer<QWidget> chosen_;
};

inline void clickAhead(QWidget* widget, QPoint at)
{
  QWindow* handle = widget->window()->windowHandle();
  const QPointF local = widget->mapTo(widget->window(), at);
  const QPointF global = widget->mapToGlobal(at);
  QWindowSystemInterface::handleMouseEvent<Queued>(handle, local, global, Qt::LeftButton, Qt::LeftButton,
                                                   QEvent::MouseButtonPress);
  QWindowSystemInterface::handleMouseEvent<Queued>(handle, local, global, Qt::NoButton, Qt::LeftButton,
                                                   QEvent::MouseButtonRelease);
}

}  // namespace kivo::test

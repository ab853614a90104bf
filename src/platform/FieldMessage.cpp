#include "platform/FieldMessage.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace kivo {
namespace {

// The note: a tooltip-like label that follows the life of its field's window.
class Note : public QLabel {
public:
  Note() : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
  {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setPalette(QToolTipPalette());
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(4);
    setWordWrap(false);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { dismiss(); });
  }

  void showFor(QWidget* widget, const QString& text, const QRect& rect)
  {
    watch(widget);
    setText(text);
    adjustSize();
    const QRect r = rect.isEmpty() ? widget->rect() : rect;
    QPoint at = widget->mapToGlobal(r.bottomLeft() + QPoint(0, 2));
    if (const QScreen* screen = QGuiApplication::screenAt(at)) {
      const QRect v = screen->availableGeometry();
      if (at.x() + width() > v.right()) at.setX(std::max(v.left(), v.right() - width()));
      if (at.y() + height() > v.bottom()) at.setY(widget->mapToGlobal(r.topLeft()).y() - height() - 2);
    }
    move(at);
    show();
    raise();
    timer_.start(FieldMessage::kShowMilliseconds);
  }

  void dismiss()
  {
    timer_.stop();
    watch(nullptr);
    setText(QString());
    hide();
  }

  QWidget* widget() const { return widget_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    // Typing on in the field, or leaving it, answers the note.
    if (widget_ && watched == widget_) {
      if (event->type() == QEvent::FocusOut || event->type() == QEvent::InputMethod) {
        dismiss();
        return false;
      }
      if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Shift && key != Qt::Key_Control && key != Qt::Key_Alt && key != Qt::Key_Meta) dismiss();
        return false;
      }
    }
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Hide:
    case QEvent::Close:
      if (widget_ && watched == widget_->window()) dismiss();
      break;
    default: break;
    }
    return false;
  }

private:
  static QPalette QToolTipPalette()
  {
    QPalette p = QApplication::palette("QTipLabel");
    p.setColor(QPalette::ToolTipBase, QColor(255, 250, 205));
    p.setColor(QPalette::ToolTipText, Qt::black);
    return p;
  }

  void watch(QWidget* widget)
  {
    if (widget_) {
      widget_->removeEventFilter(this);
      if (widget_->window()) widget_->window()->removeEventFilter(this);
    }
    widget_ = widget;
    if (widget_) {
      widget_->installEventFilter(this);
      widget_->window()->installEventFilter(this);
    }
  }

  QPointer<QWidget> widget_;
  QTimer timer_;
};

QPointer<Note>& note()
{
  static QPointer<Note> n;
  return n;
}

}  // namespace

void FieldMessage::show(QWidget* widget, const QString& text, const QRect& rect)
{
  if (!widget || text.isEmpty()) {
    hideFor(widget);
    return;
  }
  if (!note()) note() = new Note();
  note()->showFor(widget, text, rect);
}

void FieldMessage::hide()
{
  if (note()) note()->dismiss();
}

void FieldMessage::hideFor(const QWidget* widget)
{
  if (note() && (!widget || note()->widget() == widget)) note()->dismiss();
}

QString FieldMessage::shownText() { return note() && note()->isVisible() ? note()->text() : QString(); }

QWidget* FieldMessage::shownWidget() { return note() && note()->isVisible() ? note()->widget() : nullptr; }

}  // namespace kivo

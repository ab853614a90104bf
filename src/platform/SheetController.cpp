#include "platform/SheetController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/KeyboardReturn.h"

namespace kivo {

// Sees every key and mouse press of the application while the sheet is attached.
class SheetController::InputWatcher : public QObject {
public:
  explicit InputWatcher(SheetController* sheet) : QObject(sheet), sheet_(sheet) { qApp->installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (!watched->isWidgetType()) return false;
    switch (event->type()) {
    case QEvent::KeyPress:
      sheet_->watchKeyPress(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: return sheet_->takeSpentMousePress(static_cast<QWidget*>(watched));
    default: return false;
    }
  }

private:
  SheetController* sheet_;
};

SheetController::SheetController(QWidget* parent) : QDialog(parent) {}

void SheetController::beginSheet(QWidget* window, std::function<void(int)> endHandler)
{
  window_ = window ? window->window() : nullptr;
  endHandler_ = std::move(endHandler);
  // A sheet belongs to its window while it is shown: parented to it, modal for it
  // alone. It goes back to its own parent as it ends (none for a sheet the document
  // keeps), so that a window closing with its sheet shown does not take with it a
  // sheet, and what was chosen in it, that outlives the window.
  if (parentWidget() != window_) {
    home_ = parentWidget();
    hasHome_ = true;
    homeIsWidget_ = home_ != nullptr;
  }
  setParent(window_, windowFlags() | Qt::Sheet | Qt::Dialog);
  setWindowModality(window_ ? Qt::WindowModal : Qt::ApplicationModal);
  attached_ = true;
  forgetReturnKey();
  mousePressSpent_ = false;
  if (!inputWatcher_) inputWatcher_ = new InputWatcher(this);
  placeOnWindow(this, window_);
  placeWhenFramed_ = frameGeometry() == geometry();
  show();
  raise();
  activateWindow();
}

void SheetController::endSheetWithSender(QObject* sender)
{
  const bool ok = sender && sender == okButton();
  if (ok) storeChoice();
  finish(ok ? kOK : kCancel, true);
}

void SheetController::abortSheet() { finish(kCancel, false); }

void SheetController::giveKeyboardToModalOver(QWidget* window)
{
  // Only a window the window system gave the keyboard to, not one made active in
  // passing while a modal window opens.
  if (!window->windowHandle() || QGuiApplication::focusWindow() != window->windowHandle()) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible() || !holdsWindow(modal, window)) return;
  // Activated, it comes to the front with the window it is shown on (WindowController).
  modal->activateWindow();
}

void SheetController::bringToFrontWithModals(QWidget* window)
{
  if (!window) return;
  window->raise();
  for (QWidget* over = shownModalChild(window); over; over = shownModalChild(over)) over->raise();
}

QWidget* SheetController::windowUnderModals(QWidget* window)
{
  QWidget* under = window ? window->window() : nullptr;
  while (under && under->windowModality() == Qt::WindowModal && under->parentWidget())
    under = under->parentWidget()->window();
  return under;
}

QWidget* SheetController::shownModalChild(const QWidget* window)
{
  QWidget* shown = nullptr;
  for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->isWindow() && w->isVisible() && w->windowModality() == Qt::WindowModal) shown = w;
  return shown;
}

bool SheetController::holdsWindow(const QWidget* modal, const QWidget* window)
{
  if (modal == window) return false;
  if (modal->windowModality() == Qt::ApplicationModal) return true;
  for (const QWidget* p = modal->parentWidget(); p; p = p->parentWidget())
    if (p->window() == window) return true;
  return false;
}

void SheetController::changeEvent(QEvent* event)
{
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) giveKeyboardToModalOver(this);
}

void SheetController::moveEvent(QMoveEvent* event)
{
  QDialog::moveEvent(event);
  if (!placeWhenFramed_ || !attached_ || frameGeometry() == geometry()) return;
  placeWhenFramed_ = false;
  placeOnWindow(this, window_);
}

void SheetController::reject() { finish(kCancel, true); }

void SheetController::done(int r)
{
  // QDialog's own accept() and reject() paths end the sheet like the two buttons.
  if (r == QDialog::Accepted)
    endSheetWithSender(okButton());
  else
    finish(kCancel, true);
}

void SheetController::finish(int returnCode, bool answered)
{
  if (!attached_) return;
  attached_ = false;
  delete inputWatcher_;
  mousePressSpent_ = false;
  forgetReturnKey();
  // A sheet the user answered gives the keyboard back to its window before the answer
  // acts, whichever window the window system would choose (none, without a window
  // manager): the window system's focus goes to its window as it hides (KeyRouting).
  // One the program ends (its window or document closing, another sheet coming) leaves
  // the keyboard to what comes next, and its handler runs at once.
  const bool hadKeyboard = answered && isActiveWindow();
  setResult(returnCode);
  std::function<void(int)> handler = std::exchange(endHandler_, nullptr);
  hide();
  goHome();
  if (!answered) {
    if (handler) handler(returnCode);
    return;
  }
  // The answer comes from within the sheet's own handling (its button's click, a key,
  // its close box): the wait and the answer run once that is over, and not at all once
  // the sheet or its window has gone (closed by the program meanwhile).
  const QPointer<SheetController> self = this;
  KeyboardReturn::afterAnswer(hadKeyboard ? window_.data() : nullptr, window_.data(), [self, handler, returnCode] {
    if (self && handler) handler(returnCode);
  });
}

void SheetController::goHome()
{
  if (!hasHome_) return;
  hasHome_ = false;
  // A parent that has gone meanwhile leaves the sheet with its window.
  if (home_ || !homeIsWidget_) setParent(home_, windowFlags());
}

namespace {

bool isReturnKey(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

}  // namespace

void SheetController::watchKeyPress(QWidget* widget, const QKeyEvent* key)
{
  // A key goes first to the focus widget, then up through its parents while they
  // leave it; the parents of the widget that got this Return see it on its way.
  const bool onItsWay =
      key == returnKey_ && returnReceiver_ && widget != returnReceiver_ && widget->isAncestorOf(returnReceiver_);
  if (widget->window() != this || onItsWay) return;
  const bool firstStop = widget != this || !QApplication::focusWidget() || QApplication::focusWidget() == this;
  if (!firstStop) return;
  forgetReturnKey();
  if (isReturnKey(key) && widget != this) {
    returnKey_ = key;
    returnReceiver_ = widget;
  }
}

void SheetController::keyPressEvent(QKeyEvent* event)
{
  const bool taken = isReturnKey(event) && event == returnKey_ && returnTaken_;
  if (event == returnKey_) forgetReturnKey();
  if (taken) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void SheetController::forgetReturnKey()
{
  returnKey_ = nullptr;
  returnReceiver_ = nullptr;
  returnTaken_ = false;
}

void SheetController::takeReturnKey(QObject* from)
{
  for (QObject* o = from; o; o = o->parent())
    if (auto* sheet = qobject_cast<SheetController*>(o)) {
      if (sheet->returnKey_) sheet->returnTaken_ = true;
      return;
    }
}

void SheetController::spendMousePress(QObject* from)
{
  for (QObject* o = from; o; o = o->parent())
    if (auto* sheet = qobject_cast<SheetController*>(o)) {
      if (!sheet->attached_) return;
      sheet->mousePressSpent_ = true;
      QTimer::singleShot(0, sheet, [sheet] { sheet->mousePressSpent_ = false; });
      return;
    }
}

bool SheetController::takeSpentMousePress(const QWidget* receiver)
{
  if (!mousePressSpent_ || receiver->window() != this) return false;
  mousePressSpent_ = false;
  return true;
}

SheetController* SheetController::attachedSheet(const QWidget* window)
{
  if (!window) return nullptr;
  for (SheetController* sheet : window->findChildren<SheetController*>(Qt::FindDirectChildrenOnly))
    if (sheet->isSheetAttached()) return sheet;
  return nullptr;
}

namespace {

// The height the window manager's title bar takes above a window's contents.
constexpr int kTitleBarAllowance = 32;

}  // namespace

QRect SheetController::placementOnWindow(const QSize& size, const QRect& windowFrame, const QRect& available)
{
  // The frame: the contents and the title bar over them.
  QSize frame(size.width(), size.height() + kTitleBarAllowance);
  if (!available.isEmpty()) frame = frame.boundedTo(available.size());
  int x = windowFrame.center().x() - frame.width() / 2;
  int y = windowFrame.center().y() - frame.height() / 2;
  if (!available.isEmpty()) {
    x = std::clamp(x, available.left(), available.left() + available.width() - frame.width());
    y = std::clamp(y, available.top(), available.top() + available.height() - frame.height());
  }
  return QRect(QPoint(x, y), QSize(frame.width(), frame.height() - kTitleBarAllowance));
}

void SheetController::placeOnWindow(QWidget* dialog, const QWidget* window)
{
  if (!dialog) return;
  dialog->ensurePolished();
  if (dialog->layout()) dialog->layout()->activate();
  QSize size = dialog->size();
  if (!dialog->testAttribute(Qt::WA_Resized)) size = dialog->sizeHint().expandedTo(dialog->minimumSize());
  const QWidget* over = window ? window->window() : nullptr;
  QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect();
  const QRect frame = over ? over->frameGeometry() : available;
  const QRect place = placementOnWindow(size, frame, available);
  if (place.size() != size) dialog->resize(place.size());
  // move() places the frame once the window system has told its size; before that it
  // places the contents, and the title bar would go above them, off the screen's top.
  const bool frameKnown = dialog->frameGeometry() != dialog->geometry();
  dialog->move(place.topLeft() + QPoint(0, frameKnown ? 0 : kTitleBarAllowance));
}

}  // namespace kivo

#include "platform/WindowController.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <initializer_list>

#include "platform/KeyRouting.h"
#include "platform/MainMenu.h"
#include "platform/ModalSession.h"
#include "platform/SheetController.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"
#include "platform/WindowControllerHost.h"
#include "platform/WindowPlacement.h"

namespace kivo {

namespace {

// The modal windows shown now.
QList<QWidget*> shownModalWindows()
{
  QList<QWidget*> modals;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->isModal()) modals.push_back(w);
  return modals;
}

bool isHeldByModal(const QWidget* window, const QList<QWidget*>& modals)
{
  return std::any_of(modals.begin(), modals.end(),
                     [window](const QWidget* modal) { return SheetController::holdsWindow(modal, window); });
}

}  // namespace

// Without a window manager nothing activates a window the user clicks before the click
// reaches it: the window system activates it, if at all, only after the click has acted
// (its button's command refused, or run for the window that was main). A press on a
// document window that is neither active nor main therefore makes it main first, as a
// window manager makes it before passing the click on; a sheet on another window (of
// this document or another) holds only that window. A press on the main window that is
// not active (the help window has the keyboard) brings it to the front. A modal window over this one, a
// popup, or work under way (which holds the user's input) leaves the press alone.
//
// A press on another window of the program's (the help window) that is not active brings
// it to the front, as a window manager would.
//
// A window that was refused as it became key (another window came forward with an alert
// to answer first) takes no press while that alert is shown, whichever came first, the
// window manager's activation or the press: a button, the menu bar or a blank part of
// the window alike.
class WindowController::ClickWatch : public QObject {
public:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (!press || !watched->isWidgetType()) return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    auto* controller = qobject_cast<WindowController*>(window);
    if (!controller) {
      // The program's other windows (the help window) come to the front as well.
      if (event->type() == QEvent::MouseButtonPress && window->windowType() == Qt::Window && !window->isModal() &&
          !window->isActiveWindow() && !QApplication::activePopupWidget())
        window->raise();
      return false;
    }
    if (controller->isRefusedForModal()) return true;
    if (event->type() != QEvent::MouseButtonPress || controller->isActiveWindow() ||
        QApplication::activePopupWidget() || ModalSession::isWorkRunning())
      return false;
    const QList<QWidget*> modalsBefore = shownModalWindows();
    if (isHeldByModal(controller, modalsBefore)) return false;
    // Becoming main may settle other windows' edits and ask (an alert): the press acts
    // only on a widget that is still there and that no new modal window has come with.
    const QPointer<QObject> target = watched;
    controller->clickedWhileInactive();
    if (!target) return true;
    for (QWidget* modal : shownModalWindows())
      if (!modalsBefore.contains(modal)) return true;
    return false;
  }
};

// A modal window that becomes active comes to the front, a sheet or an alert with the
// window it is shown on: without a window manager nothing else raises them. A press on a
// window that its own sheet holds, or on the sheet, activates the sheet (the window
// passes the activation on to it), and a window the window system activates under its
// alert or sheet hands it the keyboard (SheetController::giveKeyboardToModalOver): the
// window, its sheet and the alert on that sheet then stand above a window that covered
// them.
class WindowController::ModalActivationWatch : public QObject {
public:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() != QEvent::WindowActivate || !watched->isWidgetType()) return false;
    auto* modal = static_cast<QWidget*>(watched);
    if (modal->isWindow() && modal->isModal() && modal->isVisible())
      SheetController::bringToFrontWithModals(SheetController::windowUnderModals(modal));
    return false;
  }
};

namespace {

QRect availableGeometryFor(const QWidget* anchor)
{
  QScreen* screen = anchor && anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

WindowController::WindowController(WindowControllerHost* host, QWidget* parent) : QMainWindow(parent), host_(host)
{
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Without a host (a window on its own) the menus are shown but do nothing.
  mainMenu_ = new MainMenu(menuBar(), host_ ? host_->mainMenuHandler() : nullptr, this);
  // Once for the application, which owns them.
  static const bool watching = [] {
    for (QObject* watch : std::initializer_list<QObject*>{new ClickWatch, new ModalActivationWatch}) {
      watch->setParent(qApp);
      qApp->installEventFilter(watch);
    }
    return true;
  }();
  static_cast<void>(watching);
}

WindowController::~WindowController()
{
  if (host_) host_->windowControllerWillClose(this);
}

// --- life

void WindowController::loadWindowIfNeeded()
{
  if (loaded_) return;
  loaded_ = true;
  windowDidLoad();
  originWhenLoaded_ = pos();
  synchronizeWindowTitleWithDocumentName();
  if (host_) host_->windowControllerDidLoad(this, windowMenuTitle());
}

namespace {

// The windows the program brings forward (showWindow), counted, and the last of them:
// what becoming key at the user's hand brought forward instead.
struct BroughtForward {
  int count = 0;
  QPointer<QWidget> last;
};

BroughtForward& broughtForward()
{
  static BroughtForward b;
  return b;
}

}  // namespace

void WindowController::showWindow()
{
  loadWindowIfNeeded();
  ++broughtForward().count;
  broughtForward().last = this;
  if (isMinimized()) showNormal();
  show();
  bringToFront();
  KeyRouting::activate(this);
}

void WindowController::bringToFront()
{
  // A sheet, and an alert on that sheet, each above what it is shown on.
  SheetController::bringToFrontWithModals(this);
}

QWidget* WindowController::shownModalChild() const { return SheetController::shownModalChild(this); }

void WindowController::closeWithoutAsking()
{
  closeWithoutAsking_ = true;
  close();
}

// --- main and key

bool WindowController::isMainWindow() const
{
  if (host_) return host_->isMainWindowController(this);
  return isActiveWindow();
}

void WindowController::becomeMain()
{
  // The window's own commands replace those of the window that was main.
  if (mainMenu_) {
    mainMenu_->clearFunctionMenu();
    fillFunctionMenu(mainMenu_->functionMenu());
    mainMenu_->functionMenu()->setEnabled(!mainMenu_->functionMenu()->actions().isEmpty());
  }
  // The document's menus, and the catch-up of the windows that wait for an update.
  if (host_) host_->windowControllerDidBecomeMain(this);
  windowDidBecomeMain();
  if (mainMenu_) mainMenu_->validateMenuItems();
}

void WindowController::resignMain() { windowDidResignMain(); }

void WindowController::changeEvent(QEvent* event)
{
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) SheetController::giveKeyboardToModalOver(this);
    // Activated or left in the middle of work (a click on the window, Alt+Tab): the
    // window becomes key and main, which may settle an edit or start work of its own,
    // only once the work has ended, as it is then.
    if (!ModalSession::isWorkRunning()) {
      activationDidChange();
    } else {
      if (!activationPutOff_) {
        activationPutOff_ = true;
        ModalSession::afterWork(this, [this] {
          if (activationPutOff_) activationDidChange();
        });
      }
    }
  }
  QMainWindow::changeEvent(event);
}

void WindowController::clickedWhileInactive()
{
  if (!isVisible()) return;
  // To the front, as a window manager raises the window it activates: the main window
  // too, which another window of the program's (the help window) may cover.
  bringToFront();
  activateWindow();
  if (!host_ || host_->isMainWindowController(this)) return;
  becomeKeyForUser();
}

void WindowController::becomeKeyForUser()
{
  // A refusal lasts while its alert or sheet is shown, whatever activation follows.
  if (!host_) return;
  const int before = broughtForward().count;
  // Becoming main may settle other windows' edits, and refresh windows with a progress
  // sheet of their own.
  const QPointer<WindowController> self = this;
  host_->windowControllerDidBecomeKey(this);
  if (!self || broughtForward().count == before) return;
  auto* other = qobject_cast<WindowController*>(broughtForward().last.data());
  if (other && other != this) refusedBy_ = other->shownModalChild();
}

void WindowController::activationDidChange()
{
  activationPutOff_ = false;
  if (isActiveWindow()) {
    const QPointer<WindowController> self = this;
    becomeKeyForUser();
    if (!self) return;
    windowDidBecomeKey();
  } else {
    windowDidResignKey();
  }
}

// --- refresh rule

void WindowController::updateUI(bool force)
{
  const bool now =
      force || isMainWindow() || UserDefaults::standardUserDefaults().boolForKey(KIVOAutoUpdateAllOutputWindowsKey);
  if (!now) {
    doNeedUpdate_ = true;
    return;
  }
  doNeedUpdate_ = false;
  recomputeUI();
}

// --- sheets

bool WindowController::hasAttachedSheet() const { return attachedSheetController() || shownModalChild(); }

SheetController* WindowController::attachedSheetController() const { return SheetController::attachedSheet(this); }

void WindowController::closeAttachedSheet()
{
  SheetController* sheet = attachedSheetController();
  if (sheet && !sheet->blocksDocumentCommands()) sheet->abortSheet();
}

// --- placement

QRect WindowController::windowFrame() const { return QRect(pos(), size()); }

void WindowController::setWindowFrame(const QRect& frame)
{
  resize(frame.size());
  move(frame.topLeft());
}

void WindowController::moveWindowToInitialPositionWithDisplay(bool display)
{
  const QString itemTitle = denpyouAndCyouhyouItemTitle();
  if (itemTitle.isEmpty() || !host_) return;
  // The window's own set-up gives its first size; the stored size then replaces it.
  loadWindowIfNeeded();
  const int n = MainMenu::positionInDenpyouAndCyouhyouMenu(itemTitle);
  const WindowController* info = host_->cascadeOriginWindowController();
  const QRect v = availableGeometryFor(info ? info : this);
  const QPoint o = info ? info->windowFrameOriginWhenLoaded() : v.topLeft();

  QRect frame = host_->rememberedWindowFrame(this);
  if (frame.width() <= 0) {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    const char* widthKey = windowWidthDefaultsKey();
    const char* heightKey = windowHeightDefaultsKey();
    const double storedWidth = widthKey ? defaults.doubleForKey(widthKey) : 0.0;
    const double storedHeight = heightKey ? defaults.doubleForKey(heightKey) : 0.0;
    const int w = storedWidth > 0 ? static_cast<int>(storedWidth) : width();
    const int h = storedHeight > 0 ? static_cast<int>(storedHeight) : height();
    frame = QRect(o.x() + kCascadeRight * n, o.y() + kCascadeDown * n, w, h);
  } else {
    // A remembered frame that lies wholly off the screen comes back to the cascade's
    // origin.
    if (v.x() + v.width() < frame.x()) frame.moveLeft(o.x());
    if (frame.y() > v.y() + v.height()) frame.moveTop(o.y());
  }
  // Kept within the screen with its title bar and borders, and no larger than it (a
  // size kept from a larger screen).
  frame = frameOnScreen(frame, v);
  host_->rememberWindowFrame(this, frame);
  setWindowFrame(frame);
  placed_ = true;
  WindowPlacement::fitWhenFramed(this);
  if (display) showWindow();
}

QRect WindowController::frameOnScreen(const QRect& frame, const QRect& available) const
{
  return WindowPlacement::fittedWindowFrame(frame, WindowPlacement::frameMarginsOf(this), available, minimumSize());
}

QRect WindowController::availableScreenGeometry() const { return availableGeometryFor(this); }

void WindowController::rememberFrame()
{
  if (!placed_ || !isVisible() || !host_) return;
  host_->rememberWindowFrame(this, windowFrame());
}

void WindowController::moveEvent(QMoveEvent* event)
{
  QMainWindow::moveEvent(event);
  rememberFrame();
}

void WindowController::resizeEvent(QResizeEvent* event)
{
  QMainWindow::resizeEvent(event);
  rememberFrame();
  if (placed_ && isVisible()) {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    if (const char* key = windowWidthDefaultsKey()) defaults.setDouble(width(), key);
    if (const char* key = windowHeightDefaultsKey()) defaults.setDouble(height(), key);
  }
}

// --- titles

void WindowController::synchronizeWindowTitleWithDocumentName()
{
  if (!host_) return;
  setWindowTitle(windowTitleForDocumentDisplayName(host_->displayName()) + QStringLiteral("[*]"));
  setWindowModified(host_->isDocumentEdited());
  if (loaded_) updateWindowMenuItemTitle();
}

void WindowController::updateWindowMenuItemTitle()
{
  const QString menuTitle = windowMenuTitle();
  if (host_ && !menuTitle.isEmpty()) host_->windowMenuTitleDidChange(this, menuTitle);
}

// --- closing

void WindowController::keyPressEvent(QKeyEvent* event)
{
  const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (isReturn && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    for (QPushButton* button : findChildren<QPushButton*>()) {
      if (button->isDefault() && button->isVisible() && button->isEnabled() && button->window() == this) {
        button->animateClick();
        event->accept();
        return;
      }
    }
  }
  QMainWindow::keyPressEvent(event);
}

void WindowController::closeEvent(QCloseEvent* event)
{
  if (closing_) {
    event->accept();
    return;
  }
  if (!closeWithoutAsking_ && host_ && !host_->shouldCloseWindowController(this)) {
    event->ignore();
    return;
  }
  closing_ = true;
  event->accept();
  windowWillCloseHook();
  // A sheet still shown ends as Cancel would, and goes back to its own parent: one the
  // document keeps outlives the window.
  if (SheetController* sheet = attachedSheetController()) sheet->abortSheet();
  if (host_) {
    host_->windowControllerWillClose(this);
    host_->windowControllerDidClose(this, !closeWithoutAsking_ && shouldCloseDocument());
  }
}

}  // namespace kivo

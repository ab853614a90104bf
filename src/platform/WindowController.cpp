#include "platform/WindowController.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "document/gui/AppController.h"
#include "document/gui/DocumentSession.h"
#include "platform/MainMenu.h"
#include "platform/SheetController.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

constexpr int kCascadeRight = 21;
constexpr int kCascadeDown = 23;

QRect availableGeometryFor(const QWidget* anchor)
{
  QScreen* screen = anchor && anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

WindowController::WindowController(DocumentSession* document, Kind kind, QWidget* parent)
    : QMainWindow(parent), document_(document), kind_(kind)
{
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Without an application (a window on its own) the menus are shown but do nothing.
  mainMenu_ = new MainMenu(menuBar(), AppController::sharedAppController(), this);
}

WindowController::~WindowController()
{
  if (AppController* app = AppController::sharedAppController()) app->windowControllerWillClose(this);
}

// --- life

void WindowController::loadWindowIfNeeded()
{
  if (loaded_) return;
  loaded_ = true;
  windowDidLoad();
  originWhenLoaded_ = pos();
  synchronizeWindowTitleWithDocumentName();
  const QString menuTitle = windowMenuTitle();
  if (!menuTitle.isEmpty()) AppController::addWindowMenuItemWithTitle(menuTitle, this);
  if (document_) document_->rebuildDocumentMenus();
  if (AppController* app = AppController::sharedAppController()) app->rebuildWindowMenu(this);
}

void WindowController::showWindow()
{
  loadWindowIfNeeded();
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void WindowController::closeWithoutAsking()
{
  closeWithoutAsking_ = true;
  close();
}

// --- main and key

bool WindowController::isMainWindow() const
{
  if (AppController* app = AppController::sharedAppController()) return app->mainWindowController() == this;
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
  if (document_) document_->windowControllerDidBecomeMain(this);
  windowDidBecomeMain();
  if (mainMenu_) mainMenu_->validateMenuItems();
}

void WindowController::resignMain() { windowDidResignMain(); }

void WindowController::changeEvent(QEvent* event)
{
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      if (AppController* app = AppController::sharedAppController()) app->windowControllerDidBecomeKey(this);
      windowDidBecomeKey();
    } else {
      windowDidResignKey();
    }
  }
  QMainWindow::changeEvent(event);
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

bool WindowController::hasAttachedSheet() const
{
  if (attachedSheetController()) return true;
  for (QDialog* d : findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
    if (d->isVisible() && d->windowModality() == Qt::WindowModal) return true;
  return false;
}

SheetController* WindowController::attachedSheetController() const { return SheetController::attachedSheet(this); }

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
  if (itemTitle.isEmpty() || !document_) return;
  const int n = MainMenu::positionInDenpyouAndCyouhyouMenu(itemTitle);
  WindowController* info = document_->documentInfoController();
  const QRect v = availableGeometryFor(info ? info : this);
  const QPoint o = info ? info->windowFrameOriginWhenLoaded() : v.topLeft();

  QRect frame = document_->windowFrame(kind_);
  if (frame.width() <= 0) {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    const char* widthKey = windowWidthDefaultsKey();
    const char* heightKey = windowHeightDefaultsKey();
    const double storedWidth = widthKey ? defaults.doubleForKey(widthKey) : 0.0;
    const double storedHeight = heightKey ? defaults.doubleForKey(heightKey) : 0.0;
    int w = storedWidth > 0 ? static_cast<int>(storedWidth) : width();
    int h = storedHeight > 0 ? static_cast<int>(storedHeight) : height();
    int x = o.x() + kCascadeRight * n;
    int y = o.y() + kCascadeDown * n;
    if (x + w > v.x() + v.width()) x = std::max(v.x() + v.width() - w, 0);
    if (y + h > v.y() + v.height()) {
      y = v.y() + v.height() - h;
      if (h > v.height() && v.height() >= minimumHeight()) h = v.height();
      if (y < v.y()) y = v.y();
    }
    frame = QRect(x, y, w, h);
  } else {
    // A remembered frame that lies wholly off the screen comes back to the cascade's
    // origin.
    if (v.x() + v.width() < frame.x()) frame.moveLeft(o.x());
    if (frame.y() > v.y() + v.height()) frame.moveTop(o.y());
  }
  document_->setWindowFrame(kind_, frame);
  setWindowFrame(frame);
  placed_ = true;
  if (display) showWindow();
}

void WindowController::rememberFrame()
{
  if (!placed_ || !isVisible() || !document_) return;
  document_->setWindowFrame(kind_, windowFrame());
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
  if (!document_) return;
  setWindowTitle(windowTitleForDocumentDisplayName(document_->displayName()) + QStringLiteral("[*]"));
  setWindowModified(document_->isDocumentEdited());
  if (loaded_) {
    const QString menuTitle = windowMenuTitle();
    if (!menuTitle.isEmpty()) AppController::setWindowMenuItemTitle(this, menuTitle);
  }
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
  if (!closeWithoutAsking_ && document_ && !document_->shouldCloseWindowController(this)) {
    event->ignore();
    return;
  }
  closing_ = true;
  event->accept();
  windowWillCloseHook();
  if (AppController* app = AppController::sharedAppController()) app->windowControllerWillClose(this);
  if (document_) {
    const bool closesDocument = !closeWithoutAsking_ && shouldCloseDocument();
    document_->removeWindowController(this);
    if (closesDocument) document_->close();
  }
}

}  // namespace kivo

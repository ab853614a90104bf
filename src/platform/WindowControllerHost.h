// What a window controller asks of whoever owns it: the application and the open
// document a window belongs to, seen from the platform layer. The application
// implements it; the platform knows nothing of documents or bookkeeping.
//
// A controller without a host (a window on its own, as in some tests) keeps to
// itself: its menus do nothing, it is main while it is active and it is placed where
// it stands.
#pragma once

#include <QRect>
#include <QString>

#include "platform/MainMenu.h"

namespace kivo {

class WindowController;

class WindowControllerHost {
public:
  virtual ~WindowControllerHost() = default;

  // The handler of the main menu's commands.
  virtual MainMenu::Handler* mainMenuHandler() const = 0;

  // --- life
  // The window was loaded: its item goes into the Window menu (an empty title: none)
  // and its menus are filled.
  virtual void windowControllerDidLoad(WindowController* controller, const QString& windowMenuTitle) = 0;
  // Before the window closes: false keeps it open (its rows could not be settled, or
  // the user kept the document open).
  virtual bool shouldCloseWindowController(WindowController* controller) = 0;
  // The window is closing or going away: it is no longer main nor in the Window menu.
  virtual void windowControllerWillClose(WindowController* controller) = 0;
  // The window closed; closesDocument when it stood for the whole document.
  virtual void windowControllerDidClose(WindowController* controller, bool closesDocument) = 0;

  // --- main and key
  virtual bool isMainWindowController(const WindowController* controller) const = 0;
  // The window the user last worked in: the application's main window, or nullptr.
  // Work for any other window shows over it and never raises or activates that window.
  virtual WindowController* userWindowController() const = 0;
  virtual void windowControllerDidBecomeKey(WindowController* controller) = 0;
  // After the window's own "機能" menu was filled.
  virtual void windowControllerDidBecomeMain(WindowController* controller) = 0;

  // --- placement
  // The window whose first position the cascade starts from (nullptr: the screen's
  // corner).
  virtual const WindowController* cascadeOriginWindowController() const = 0;
  // The frame remembered for windows like this one (width 0: none yet).
  virtual QRect rememberedWindowFrame(const WindowController* controller) const = 0;
  virtual void rememberWindowFrame(const WindowController* controller, const QRect& frame) = 0;

  // --- titles
  virtual QString displayName() const = 0;
  virtual bool isDocumentEdited() const = 0;
  virtual void windowMenuTitleDidChange(WindowController* controller, const QString& title) = 0;
};

}  // namespace kivo

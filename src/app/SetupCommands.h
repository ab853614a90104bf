// The application's commands for the company and its master lists (会社の基本情報,
// 勘定科目, 事業部, 摘要) and the preferences, and the window the list sheets open on.
#pragma once

#include <QMetaObject>

namespace kivo {

class AppController;
class DocumentSession;
class WindowController;

class SetupCommands {
public:
  // Supplies the commands to the application.
  static void installCommandHandlers(AppController* app);

  static void showPropertiesWindow(AppController* app);
  static void showKamokuListWindow(AppController* app);
  static void showJigyoubuListWindow(AppController* app);
  static void showTekiyouListWindow(AppController* app);

  // The window a list sheet of the class opens on: the document's main window, or
  // its information window. A sheet of the same class already open is brought to the
  // front instead, another master-list sheet is refused with the usual alert, and the
  // period and selection sheets of the document's windows are ended first. nullptr
  // when the sheet is not to open.
  static WindowController* windowForSheet(AppController* app, DocumentSession* document, const QMetaObject& sheetClass);
};

}  // namespace kivo

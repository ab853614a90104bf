// The application delegate: start-up, the menu commands and their enabling, the
// command guards, the Window menu, messages with a help button, and which document
// window is the main window.
//
// Every command that opens a window first asks a guard whose name begins with "can";
// a guard that refuses shows its own alert ("実行できません" and a sentence saying what
// to close or do) and answers false. The commands whose windows are not part of the
// program yet are disabled: their windows supply them through setCommandHandler.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/AlertSheet.h"
#include "platform/MainMenu.h"
#include "platform/WindowController.h"

class QAction;

namespace kivo {

class DocumentController;
class DocumentSession;
class DocumentWindowController;
class OpenDocument;

class AppController : public QObject, public MainMenu::Handler {
  Q_OBJECT
public:
  using Command = MainMenu::Command;
  using CommandHandler = std::function<void(QAction* sender)>;

  explicit AppController(QObject* parent = nullptr);
  ~AppController() override;

  static AppController* sharedAppController();
  // Registers the user defaults, once, when the class is first used.
  static void initialize();

  // --- start-up
  // Shows the version history once for every new version, then opens the files given
  // or, when there are none, an untitled document.
  void applicationDidFinishLaunching(const QStringList& filesToOpen = {});
  // This program's version, as the help's version history knows it.
  static QString bundleVersion();

  DocumentController* documentController() const { return documentController_.get(); }

  // --- main window
  // The document window that was last made active, the window the user works in; a
  // panel, sheet or the help window in front of it leaves it main, and so does a
  // window the window system activates while a sheet for another window shows.
  WindowController* mainWindowController() const { return mainWindowController_; }
  // The document of the main window.
  DocumentSession* currentDocument() const;
  void windowControllerDidBecomeKey(WindowController* controller);
  void windowControllerWillClose(WindowController* controller);

  // --- Window menu
  // The item brings the controller's window to the front; the items of one document
  // stand together, indented under its information window's item. The item goes when
  // the window closes.
  static void addWindowMenuItemWithTitle(const QString& title, WindowController* controller);
  static void removeWindowMenuItemOfWindowController(WindowController* controller);
  static void setWindowMenuItemTitle(WindowController* controller, const QString& title);
  // The items as every window's Window menu shows them.
  std::vector<MainMenu::Item> windowMenuItems() const;
  void rebuildWindowMenus();
  void rebuildWindowMenu(WindowController* controller);

  // --- messages and help
  // A modal message with "OK" and a button that opens the help at the anchor.
  static void showMessage(const QString& message, const QString& helpAnchor);
  static void showHelp(const QString& anchor = QString());

  // --- guards
  static bool canShowFurikaedenpyouWindow();
  bool canShowPropertiesWindow();
  static bool canPrint();
  static bool canPrintKanjyoumotocyouOfPluralKamoku();
  // When a window of the document holds a sheet that blocks document commands: says
  // so on the main window (or on fallbackParent when there is none), its OK bringing
  // that window to the front, and answers that window; else nullptr.
  static DocumentWindowController* refuseForBlockingSheet(DocumentSession* document, QWidget* fallbackParent = nullptr);

  // --- menu commands
  void performCommand(Command command, QAction* sender) override;
  bool validateCommand(Command command, QAction* sender) override;
  // Re-asks the enabling of every item of the main window's menus.
  void validateMainMenu();

  void newDocument();
  void openDocument();
  void performClose();
  void saveDocument();
  void saveDocumentAs();
  void pageSetup();
  void print();
  void doKurikoshiSyori(QAction* sender);
  void showPropertiesWindow(QAction* sender);
  void bringWindowToFront(QAction* sender);
  // Quits after every changed document was saved or given up; false when cancelled.
  bool terminate();

  // The commands whose windows are supplied from outside this class.
  void setCommandHandler(Command command, CommandHandler handler);
  bool hasCommandHandler(Command command) const;
  // The commands a document opened with the limited-user password refuses.
  static bool isRefusedForLimitedUser(Command command);
  // Whether the command first ends the cell editing of the main window's document (every
  // command but the focused field's text commands and the help).
  static bool endsCellEditingFirst(Command command);
  // Whether a command of the document's windows applies to the document: not one a
  // limited user is refused, and no financial statements for a household book.
  static bool appliesToDocument(Command command, const OpenDocument& document);

  // The preferences window, while the program has one (the guards watch it).
  void setPreferencesWindow(QWidget* window) { preferencesWindow_ = window; }

  static constexpr const char* kCannotExecuteTitle = "実行できません";
  static constexpr const char* kClosePreferencesMessage = "環境設定を閉じてください。";
  static constexpr const char* kCloseSheetMessage = AlertSheet::kCloseSheetMessage;
  static constexpr const char* kCloseEntryWindowsMessage = "出納帳、振替伝票、資産管理台帳を閉じてください。";
  static constexpr const char* kEditingKanjyoumotocyouMessage = "総勘定元帳または補助元帳で仕訳を編集中です。";
  static constexpr const char* kInstallHelveticaAndCourierMessage =
      "フォント Helvetica と Courier をインストールしてください。";
  static constexpr const char* kInstallHelveticaMessage = "フォント Helvetica をインストールしてください。";
  static constexpr const char* kSaveDataMessage = "データを保存してください。";

private:
  struct WindowMenuEntry {
    int id = 0;
    QString title;
    QPointer<WindowController> controller;
    DocumentSession* document = nullptr;
  };

  void setMainWindowController(WindowController* controller);
  // The window of the main window's document that holds a sheet blocking document
  // commands, or nullptr.
  static DocumentWindowController* windowWithBlockingSheet(DocumentSession* document);
  void runHandler(Command command, QAction* sender);
  static QWidget* focusedTextWidget();

  std::unique_ptr<DocumentController> documentController_;
  QPointer<WindowController> mainWindowController_;
  std::vector<WindowMenuEntry> windowMenuEntries_;
  int nextWindowMenuId_ = 1;
  std::map<Command, CommandHandler> commandHandlers_;
  QPointer<QWidget> preferencesWindow_;
};

}  // namespace kivo

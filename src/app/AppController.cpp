#include "app/AppController.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QUndoStack>
#include <QWidget>
#include <algorithm>
#include <mutex>

#include "app/DocumentController.h"
#include "app/DocumentSession.h"
#include "assets/KurikoshiDocument.h"
#include "document/gui/DocumentWindowController.h"
#include "platform/AlertSheet.h"
#include "platform/HelpWindow.h"
#include "platform/KeyRouting.h"
#include "platform/PrintFonts.h"
#include "platform/SheetController.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

AppController* sharedInstance = nullptr;

using Kind = DocumentWindow::Kind;

bool isGroupHead(const WindowController* window)
{
  const DocumentWindowController* controller = DocumentWindowController::of(window);
  return controller &&
         (controller->windowKind() == Kind::DocumentInfo || controller->windowKind() == Kind::NewDocument);
}

}  // namespace

AppController::AppController(QObject* parent) : QObject(parent)
{
  initialize();
  if (!sharedInstance) {
    sharedInstance = this;
    HelpWindow::setCommandHandler(this);
  }
  documentController_ = std::make_unique<DocumentController>();
  connect(documentController_.get(), &DocumentController::documentsChanged, this, [this] {
    rebuildWindowMenus();
    validateMainMenu();
  });
  // Cut, copy and paste follow the focused field.
  connect(qApp, &QApplication::focusChanged, this, [this] { validateMainMenu(); });
}

AppController::~AppController()
{
  // The documents close while the rest of the application still stands.
  documentController_->closeAllDocuments();
  documentController_.reset();
  if (sharedInstance == this) {
    sharedInstance = nullptr;
    HelpWindow::setCommandHandler(nullptr);
  }
}

AppController* AppController::sharedAppController() { return sharedInstance; }

void AppController::initialize()
{
  static std::once_flag once;
  std::call_once(once, [] { UserDefaults::registerDefaults(); });
}

// --- start-up

QString AppController::bundleVersion() { return QCoreApplication::applicationVersion(); }

void AppController::applicationDidFinishLaunching(const QStringList& filesToOpen)
{
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  const QString version = bundleVersion();
  if (defaults.stringForKey(KIVOKivosaVersionOfUsedLastTimeKey) != version) {
    showHelp(QString::fromUtf8(HelpWindow::kVersionHistoryAnchor));
    defaults.setString(version, KIVOKivosaVersionOfUsedLastTimeKey);
    defaults.synchronize();
  }
  bool opened = false;
  for (const QString& path : filesToOpen)
    if (documentController_->openDocumentWithContentsOfFile(path)) opened = true;
  if (!opened) documentController_->newDocument();
}

// --- main window

DocumentSession* AppController::currentDocument() const { return DocumentSession::of(mainWindowController_.data()); }

void AppController::windowControllerDidBecomeKey(WindowController* controller)
{
  if (controller != mainWindowController_)
    setMainWindowController(controller);
  else
    validateMainMenu();
}

void AppController::setMainWindowController(WindowController* controller)
{
  WindowController* old = mainWindowController_;
  if (old == controller) return;
  mainWindowController_ = controller;
  if (old) old->resignMain();
  rebuildWindowMenus();
  if (controller) controller->becomeMain();
}

void AppController::windowControllerWillClose(WindowController* controller)
{
  const bool wasMain = mainWindowController_ == controller;
  if (wasMain) mainWindowController_ = nullptr;
  auto it =
      std::remove_if(windowMenuEntries_.begin(), windowMenuEntries_.end(),
                     [controller](const WindowMenuEntry& e) { return e.controller == controller || !e.controller; });
  if (it != windowMenuEntries_.end() || wasMain) {
    windowMenuEntries_.erase(it, windowMenuEntries_.end());
    rebuildWindowMenus();
  }
}

// --- Window menu

void AppController::addWindowMenuItemWithTitle(const QString& title, WindowController* controller)
{
  AppController* app = sharedInstance;
  if (!app || !controller) return;
  for (WindowMenuEntry& e : app->windowMenuEntries_) {
    if (e.controller == controller) {
      e.title = title;
      app->rebuildWindowMenus();
      return;
    }
  }
  app->windowMenuEntries_.push_back(
      WindowMenuEntry{app->nextWindowMenuId_++, title, controller, DocumentSession::of(controller)});
  app->rebuildWindowMenus();
}

void AppController::removeWindowMenuItemOfWindowController(WindowController* controller)
{
  AppController* app = sharedInstance;
  if (!app) return;
  auto it = std::remove_if(app->windowMenuEntries_.begin(), app->windowMenuEntries_.end(),
                           [controller](const WindowMenuEntry& e) { return e.controller == controller; });
  if (it == app->windowMenuEntries_.end()) return;
  app->windowMenuEntries_.erase(it, app->windowMenuEntries_.end());
  app->rebuildWindowMenus();
}

void AppController::setWindowMenuItemTitle(WindowController* controller, const QString& title)
{
  AppController* app = sharedInstance;
  if (!app) return;
  for (WindowMenuEntry& e : app->windowMenuEntries_) {
    if (e.controller == controller && e.title != title) {
      e.title = title;
      app->rebuildWindowMenus();
      return;
    }
  }
}

std::vector<MainMenu::Item> AppController::windowMenuItems() const
{
  // Documents in the order they were opened; then any others the entries name.
  std::vector<DocumentSession*> order;
  if (documentController_) order = documentController_->documents();
  for (const WindowMenuEntry& e : windowMenuEntries_)
    if (std::find(order.begin(), order.end(), e.document) == order.end()) order.push_back(e.document);

  std::vector<MainMenu::Item> items;
  const auto add = [&](const WindowMenuEntry& e, int indentation) {
    MainMenu::Item item;
    item.title = e.title;
    item.command = MainMenu::Command::BringWindowToFront;
    item.representedObject = e.id;
    item.checked = e.controller && e.controller == mainWindowController_;
    item.indentationLevel = indentation;
    items.push_back(item);
  };
  for (DocumentSession* doc : order) {
    for (const WindowMenuEntry& e : windowMenuEntries_)
      if (e.document == doc && e.controller && isGroupHead(e.controller)) add(e, 0);
    for (const WindowMenuEntry& e : windowMenuEntries_)
      if (e.document == doc && e.controller && !isGroupHead(e.controller)) add(e, 1);
  }
  return items;
}

void AppController::rebuildWindowMenus()
{
  const std::vector<MainMenu::Item> items = windowMenuItems();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* wc = qobject_cast<WindowController*>(w); wc && wc->mainMenu()) wc->mainMenu()->setWindowItems(items);
}

void AppController::rebuildWindowMenu(WindowController* controller)
{
  if (controller && controller->mainMenu()) controller->mainMenu()->setWindowItems(windowMenuItems());
}

// --- messages and help

void AppController::showMessage(const QString& message, const QString& helpAnchor)
{
  const int chosen = AlertSheet::runQuestion(nullptr, QStringLiteral("Kivosavan"), message,
                                             {QString::fromUtf8(AlertSheet::kOKButton), QStringLiteral("ヘルプ")}, 0);
  if (chosen == 1) showHelp(helpAnchor);
}

void AppController::showHelp(const QString& anchor) { HelpWindow::showHelpAtAnchor(anchor); }

// --- guards

DocumentWindowController* AppController::windowWithBlockingSheet(DocumentSession* document)
{
  if (!document) return nullptr;
  for (DocumentWindowController* wc : document->windowControllers()) {
    SheetController* sheet = wc->attachedSheetController();
    if (sheet && sheet->blocksDocumentCommands()) return wc;
  }
  return nullptr;
}

bool AppController::canShowFurikaedenpyouWindow()
{
  AppController* app = sharedInstance;
  if (app && app->preferencesWindow_ && app->preferencesWindow_->isVisible()) {
    AlertSheet::runAlert(QString::fromUtf8(kCannotExecuteTitle), QString::fromUtf8(kClosePreferencesMessage));
    return false;
  }
  return !refuseForBlockingSheet(app ? app->currentDocument() : nullptr);
}

bool AppController::canShowPropertiesWindow()
{
  DocumentSession* doc = currentDocument();
  if (!doc) return true;
  for (DocumentWindowController* wc : doc->windowControllers()) {
    const Kind kind = wc->windowKind();
    if (kind == Kind::Furikaedenpyou || kind == Kind::Suitoucyou || kind == Kind::GenkasyoukyakuShisanList) {
      AlertSheet::runAlert(QString::fromUtf8(kCannotExecuteTitle), QString::fromUtf8(kCloseEntryWindowsMessage));
      return false;
    }
  }
  for (DocumentWindowController* wc : doc->windowControllers()) {
    // Every command ends the ledgers' cell edits first (performCommand), so this is
    // reached only by a caller that did not.
    if (wc->windowKind() == Kind::Kanjyoumotocyou && wc->isEditingCell()) {
      AlertSheet::beginAlertSheet(mainWindowController_, QString::fromUtf8(kCannotExecuteTitle),
                                  QString::fromUtf8(kEditingKanjyoumotocyouMessage));
      return false;
    }
  }
  return true;
}

bool AppController::canPrint()
{
  AppController* app = sharedInstance;
  DocumentSession* doc = app ? app->currentDocument() : nullptr;
  const bool houjin = doc && doc->document().kaisya().isHoujin();
  const bool helvetica = PrintFonts::isAvailable(QString::fromUtf8(PrintFonts::kHelvetica), 10.0);
  const bool courier = !houjin || PrintFonts::isAvailable(QString::fromUtf8(PrintFonts::kCourier), 10.0);
  if (helvetica && courier) return true;
  AlertSheet::runAlert(QString::fromUtf8(kCannotExecuteTitle),
                       QString::fromUtf8(houjin ? kInstallHelveticaAndCourierMessage : kInstallHelveticaMessage));
  return false;
}

bool AppController::canPrintKanjyoumotocyouOfPluralKamoku()
{
  if (!canPrint()) return false;
  AppController* app = sharedInstance;
  return !refuseForBlockingSheet(app ? app->currentDocument() : nullptr);
}

DocumentWindowController* AppController::refuseForBlockingSheet(DocumentSession* document, QWidget* fallbackParent)
{
  DocumentWindowController* holder = windowWithBlockingSheet(document);
  if (!holder) return nullptr;
  AppController* app = sharedInstance;
  QWidget* parent = app && app->mainWindowController() ? app->mainWindowController() : fallbackParent;
  QPointer<WindowController> target = holder;
  AlertSheet::beginAlertSheet(parent, QString::fromUtf8(kCannotExecuteTitle), QString::fromUtf8(kCloseSheetMessage),
                              [target] {
                                if (target) target->showWindow();
                              });
  return holder;
}

// --- menu commands

void AppController::setCommandHandler(Command command, CommandHandler handler)
{
  if (handler)
    commandHandlers_[command] = std::move(handler);
  else
    commandHandlers_.erase(command);
  validateMainMenu();
}

bool AppController::hasCommandHandler(Command command) const { return commandHandlers_.count(command) > 0; }

bool AppController::isRefusedForLimitedUser(Command command)
{
  switch (command) {
  case Command::ShowKanjyoumotocyouWindow:
  case Command::ShowShortCutKanjyoumotocyouWindow:
  case Command::PrintHoukokusyo:
  case Command::ShowGenkasyoukyakuShisanListWindow:
  case Command::PrintKanjyoumotocyouOfPluralKamoku:
  case Command::PrintHojyomotocyouOfPluralHojyoKamoku:
  case Command::ImportShiwakeFromTextFile: return true;
  default: return false;
  }
}

QWidget* AppController::focusedTextWidget()
{
  QWidget* focus = QApplication::focusWidget();
  if (!focus || focus->metaObject()->indexOfSlot("copy()") < 0) return nullptr;
  return focus;
}

bool AppController::validateCommand(Command command, QAction* sender)
{
  DocumentSession* doc = currentDocument();
  WindowController* main = mainWindowController_;
  switch (command) {
  case Command::None: return false;
  case Command::NewDocument:
  case Command::OpenDocument:
  case Command::Quit:
  case Command::ShowHelp:
  case Command::BringWindowToFront: return true;
  case Command::CloseWindow:
  case Command::MinimizeWindow:
  case Command::ZoomWindow: return main != nullptr;
  case Command::SaveDocument:
  case Command::SaveDocumentAs: return doc != nullptr;
  case Command::Undo: {
    QUndoStack* stack = doc ? doc->undoManager() : nullptr;
    if (sender) {
      const QString what = stack ? stack->undoText() : QString();
      sender->setText(what.isEmpty() ? QStringLiteral("取り消す") : QStringLiteral("取り消す: ") + what);
    }
    return stack && stack->canUndo();
  }
  case Command::Redo: {
    QUndoStack* stack = doc ? doc->undoManager() : nullptr;
    if (sender) {
      const QString what = stack ? stack->redoText() : QString();
      sender->setText(what.isEmpty() ? QStringLiteral("やり直す") : QStringLiteral("やり直す: ") + what);
    }
    return stack && stack->canRedo();
  }
  case Command::Cut:
  case Command::Copy:
  case Command::Paste:
  case Command::SelectAll: return focusedTextWidget() != nullptr;
  case Command::PageSetup:
  case Command::Print: return main && main->validatePrintMenuItem();
  case Command::ShowPreferencesWindow: return hasCommandHandler(command);
  default: break;
  }
  // The commands of the document's windows.
  if (!doc || !hasCommandHandler(command) || !appliesToDocument(command, *doc)) return false;
  if (command == Command::ImportShiwakeFromTextFile)
    return doc->documentInfoController() && main && !main->hasAttachedSheet();
  return true;
}

bool AppController::appliesToDocument(Command command, const OpenDocument& document)
{
  if (document.wasOpenedByLimitedUserPassword() && isRefusedForLimitedUser(command)) return false;
  // A household book has no financial statements.
  return command != Command::PrintHoukokusyo || !document.document().kaisya().isKakeibo();
}

bool AppController::endsCellEditingFirst(Command command)
{
  switch (command) {
  // The focused field's own commands act on the text being typed; the help on no books.
  case Command::Cut:
  case Command::Copy:
  case Command::Paste:
  case Command::SelectAll:
  case Command::ShowHelp:
  case Command::None: return false;
  default: return true;
  }
}

void AppController::validateMainMenu()
{
  if (mainWindowController_ && mainWindowController_->mainMenu())
    mainWindowController_->mainMenu()->validateMenuItems();
}

void AppController::runHandler(Command command, QAction* sender)
{
  auto it = commandHandlers_.find(command);
  if (it != commandHandlers_.end()) it->second(sender);
}

void AppController::performCommand(Command command, QAction* sender)
{
  // A command reached through a key whose item was enabled earlier is checked again.
  if (!validateCommand(command, sender)) {
    AlertSheet::beep();
    return;
  }
  // A command acts on the books as they stand, as when another window comes forward: a
  // ledger cell being corrected ends first, and a text that cannot be taken stops the
  // command with the ledger's one alert. Undo and redo too: they must never change an
  // entry under an open cell.
  if (endsCellEditingFirst(command)) {
    DocumentSession* doc = currentDocument();
    if (doc && !doc->deselectKanjyoumotocyouCellsOfAllShiwake()) return;
  }
  switch (command) {
  case Command::NewDocument: newDocument(); return;
  case Command::OpenDocument: openDocument(); return;
  case Command::CloseWindow: performClose(); return;
  case Command::SaveDocument: saveDocument(); return;
  case Command::SaveDocumentAs: saveDocumentAs(); return;
  case Command::PageSetup: pageSetup(); return;
  case Command::Print: print(); return;
  case Command::DoKurikoshiSyori: doKurikoshiSyori(sender); return;
  case Command::ShowPropertiesWindow: showPropertiesWindow(sender); return;
  case Command::Quit: terminate(); return;
  case Command::Undo:
    currentDocument()->undoManager()->undo();
    validateMainMenu();
    return;
  case Command::Redo:
    currentDocument()->undoManager()->redo();
    validateMainMenu();
    return;
  case Command::Cut: QMetaObject::invokeMethod(focusedTextWidget(), "cut"); return;
  case Command::Copy: QMetaObject::invokeMethod(focusedTextWidget(), "copy"); return;
  case Command::Paste: QMetaObject::invokeMethod(focusedTextWidget(), "paste"); return;
  case Command::SelectAll: QMetaObject::invokeMethod(focusedTextWidget(), "selectAll"); return;
  case Command::MinimizeWindow: KeyRouting::minimize(mainWindowController_); return;
  case Command::ZoomWindow:
    if (mainWindowController_->isMaximized())
      mainWindowController_->showNormal();
    else
      mainWindowController_->showMaximized();
    return;
  case Command::BringWindowToFront: bringWindowToFront(sender); return;
  case Command::ShowHelp: showHelp(); return;
  case Command::ImportShiwakeFromTextFile:
    if (!canShowPropertiesWindow() || !canShowFurikaedenpyouWindow()) return;
    runHandler(command, sender);
    return;
  case Command::PrintKanjyoumotocyouOfPluralKamoku:
  case Command::PrintHojyomotocyouOfPluralHojyoKamoku:
  case Command::PrintHojyozandakaIchiranOfPluralKamoku:
    if (!canPrintKanjyoumotocyouOfPluralKamoku()) return;
    runHandler(command, sender);
    return;
  default:
    // The window commands ask their guards in their own order.
    runHandler(command, sender);
    return;
  }
}

void AppController::newDocument() { documentController_->newDocument(); }

void AppController::openDocument() { documentController_->openDocument(mainWindowController_); }

void AppController::performClose()
{
  if (mainWindowController_) mainWindowController_->close();
}

void AppController::saveDocument()
{
  if (DocumentSession* doc = currentDocument()) doc->saveDocument();
}

void AppController::saveDocumentAs()
{
  if (DocumentSession* doc = currentDocument()) doc->saveDocumentAs();
}

void AppController::pageSetup()
{
  if (mainWindowController_) mainWindowController_->pageSetup();
}

void AppController::print()
{
  if (!mainWindowController_ || !canPrint()) return;
  mainWindowController_->printDocument();
}

void AppController::doKurikoshiSyori(QAction* sender)
{
  if (!canShowPropertiesWindow() || !canShowFurikaedenpyouWindow()) return;
  DocumentSession* doc = currentDocument();
  if (doc && doc->isDocumentEdited()) {
    AlertSheet::runAlert(QString::fromUtf8(kCannotExecuteTitle), QString::fromUtf8(kSaveDataMessage));
    return;
  }
  if (doc && !KurikoshiDocument::hasNextTerm(doc->document().kaisya())) {
    AlertSheet::runAlert(QString::fromUtf8(kCannotExecuteTitle),
                         QString::fromUtf8(KurikoshiDocument::kNoNextTermMessage));
    return;
  }
  runHandler(Command::DoKurikoshiSyori, sender);
}

void AppController::showPropertiesWindow(QAction* sender)
{
  if (!canShowPropertiesWindow()) return;
  runHandler(Command::ShowPropertiesWindow, sender);
}

void AppController::bringWindowToFront(QAction* sender)
{
  if (!sender) return;
  const int id = sender->data().toInt();
  for (const WindowMenuEntry& e : windowMenuEntries_) {
    if (e.id == id && e.controller) {
      e.controller->showWindow();
      return;
    }
  }
}

bool AppController::terminate()
{
  if (!documentController_->reviewUnsavedDocumentsForQuit()) return false;
  documentController_->closeAllDocuments();
  HelpWindow::discard();
  QCoreApplication::quit();
  return true;
}

}  // namespace kivo

#include "app/SetupCommands.h"

#include <QPointer>

#include "app/AppController.h"
#include "app/DocumentInfoController.h"
#include "app/DocumentSession.h"
#include "document/gui/DocumentWindowController.h"
#include "journal/gui/PeriodController.h"
#include "platform/AlertSheet.h"
#include "platform/SheetController.h"
#include "setup/MasterListChange.h"
#include "setup/gui/JigyoubuListController.h"
#include "setup/gui/KamokuListController.h"
#include "setup/gui/PreferenceController.h"
#include "setup/gui/PropertiesController.h"
#include "setup/gui/TekiyouListController.h"

namespace kivo {

void SetupCommands::installCommandHandlers(AppController* app)
{
  if (!app) return;
  using Command = MainMenu::Command;
  // The application asks canShowPropertiesWindow before this handler runs.
  app->setCommandHandler(Command::ShowPropertiesWindow, [app](QAction*) { showPropertiesWindow(app); });
  app->setCommandHandler(Command::ShowKamokuListWindow, [app](QAction*) { showKamokuListWindow(app); });
  app->setCommandHandler(Command::ShowJigyoubuListWindow, [app](QAction*) { showJigyoubuListWindow(app); });
  app->setCommandHandler(Command::ShowTekiyouListWindow, [app](QAction*) { showTekiyouListWindow(app); });
  app->setCommandHandler(Command::ShowPreferencesWindow, [app](QAction*) {
    app->setPreferencesWindow(PreferenceController::sharedPreferenceController());
    PreferenceController::showPreferencesWindow();
  });
}

WindowController* SetupCommands::windowForSheet(AppController* app, DocumentSession* document,
                                                const QMetaObject& sheetClass)
{
  if (!app || !document) return nullptr;
  for (DocumentWindowController* wc : document->windowControllers()) {
    SheetController* sheet = wc->attachedSheetController();
    if (sheet && sheet->metaObject()->inherits(&sheetClass)) {
      wc->showWindow();
      sheet->raise();
      sheet->activateWindow();
      return nullptr;
    }
  }
  // Another list or settings sheet of the document stands in the way.
  for (DocumentWindowController* wc : document->windowControllers()) {
    SheetController* sheet = wc->attachedSheetController();
    if (!sheet || !sheet->blocksDocumentCommands()) continue;
    QPointer<WindowController> holder = wc;
    AlertSheet::beginAlertSheet(app->mainWindowController(), QString::fromUtf8(AppController::kCannotExecuteTitle),
                                QString::fromUtf8(AppController::kCloseSheetMessage), [holder] {
                                  if (holder) holder->showWindow();
                                });
    return nullptr;
  }
  WindowController* main = document->mainWindowController();
  WindowController* target = main ? main : document->documentInfoController();
  if (!target) return nullptr;
  // The period and selection sheets of the report windows and of the information
  // window give way; the sheets of an entry window are its own business. The account
  // and division lists leave the trial balance's period sheet open (the period does
  // not depend on them): the list then opens on the information window.
  const bool keepsPeriodSheet = &sheetClass == &KamokuListController::staticMetaObject ||
                                &sheetClass == &JigyoubuListController::staticMetaObject;
  for (DocumentWindowController* wc : document->windowControllers()) {
    if (!wc->isOutputWindow() && wc->windowKind() != DocumentWindow::Kind::DocumentInfo) continue;
    SheetController* sheet = wc->attachedSheetController();
    if (!sheet || sheet->blocksDocumentCommands()) continue;
    if (keepsPeriodSheet && wc->windowKind() == DocumentWindow::Kind::ZandakaShisan &&
        qobject_cast<PeriodController*>(sheet)) {
      if (wc == target && document->documentInfoController()) target = document->documentInfoController();
      continue;
    }
    sheet->abortSheet();
  }
  if (target->hasAttachedSheet()) {
    AlertSheet::beep();
    return nullptr;
  }
  return target;
}

void SetupCommands::showPropertiesWindow(AppController* app)
{
  DocumentSession* doc = app ? app->currentDocument() : nullptr;
  if (WindowController* window = windowForSheet(app, doc, PropertiesController::staticMetaObject))
    (new PropertiesController(doc))->beginSheetOnWindow(window);
}

void SetupCommands::showKamokuListWindow(AppController* app)
{
  DocumentSession* doc = app ? app->currentDocument() : nullptr;
  // Accounts change under the entry windows' rows and cash books: they close first.
  if (!doc || !app->canShowPropertiesWindow()) return;
  if (WindowController* window = windowForSheet(app, doc, KamokuListController::staticMetaObject))
    (new KamokuListController(doc))->beginSheetOnWindow(window);
}

void SetupCommands::showJigyoubuListWindow(AppController* app)
{
  DocumentSession* doc = app ? app->currentDocument() : nullptr;
  if (!doc || !app->canShowPropertiesWindow()) return;
  if (WindowController* window = windowForSheet(app, doc, JigyoubuListController::staticMetaObject))
    (new JigyoubuListController(doc))->beginSheetOnWindow(window);
}

void SetupCommands::showTekiyouListWindow(AppController* app)
{
  DocumentSession* doc = app ? app->currentDocument() : nullptr;
  if (!doc) return;
  // An entry window in front hands over its row: its accounts' groups come first and
  // its description is offered for adding.
  int karikata = -1, kashikata = -1;
  bool fromEntryRow = false;
  if (auto* source = dynamic_cast<TekiyouListSource*>(app->mainWindowController())) {
    if (source->getSelectedRowKarikataKamokuCode(karikata, kashikata)) {
      source->writeTekiyouStringToPasteboard();
      fromEntryRow = true;
    }
  }
  if (WindowController* window = windowForSheet(app, doc, TekiyouListController::staticMetaObject)) {
    auto* sheet = new TekiyouListController(doc);
    sheet->setPrimeKamokuCodes(karikata, kashikata);
    sheet->setOffersPasteboardText(fromEntryRow);
    sheet->beginSheetOnWindow(window);
  }
}

}  // namespace kivo

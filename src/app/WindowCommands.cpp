#include "app/WindowCommands.h"

#include <QAction>

#include "app/AppController.h"
#include "app/DocumentInfoController.h"
#include "app/DocumentSession.h"
#include "app/KurikoshiController.h"
#include "app/SetupCommands.h"
#include "assets/gui/GenkasyoukyakuShisanListController.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "journal/KanjyoumotocyouShortcut.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "statements/gui/HoukokusyoController.h"
#include "statements/gui/KaisyahouHoukokusyoController.h"
#include "trial/gui/HojyozandakaIchiranController.h"
#include "trial/gui/SuiiShisanController.h"
#include "trial/gui/ZandakaShisanController.h"

namespace kivo {
namespace {

using Command = MainMenu::Command;

// The information window of the main window's document, brought to the front.
DocumentInfoController* frontDocumentInfo(AppController* app)
{
  DocumentSession* doc = app->currentDocument();
  auto* info = doc ? qobject_cast<DocumentInfoController*>(doc->documentInfoController()) : nullptr;
  if (info) info->showWindow();
  return info;
}

}  // namespace

void WindowCommands::installCommandHandlers(AppController* app)
{
  if (!app) return;
  SetupCommands::installCommandHandlers(app);

  // --- entry
  app->setCommandHandler(Command::ShowFurikaedenpyouWindow, [app](QAction*) {
    if (!AppController::canShowFurikaedenpyouWindow()) return;
    FurikaedenpyouController::showFurikaedenpyouWindow(app->currentDocument());
  });
  app->setCommandHandler(Command::ShowSuitoucyouWindow, [app](QAction* sender) {
    if (!sender || !AppController::canShowFurikaedenpyouWindow()) return;
    const int v = sender->data().toInt();
    const int32_t kamoku = v % 1000;
    const int32_t hojyo = v >= 1000 ? v / 1000 - 1 : -1;
    SuitoucyouController::showSuitoucyouWindow(app->currentDocument(), kamoku, hojyo);
  });

  // --- journal and ledgers
  app->setCommandHandler(Command::ShowShiwakenikkiWindow, [app](QAction*) {
    DocumentSession* document = app->currentDocument();
    if (!document) return;
    if (!document->shiwakenikkiController() && !AppController::canShowFurikaedenpyouWindow()) return;
    ShiwakenikkiController::showShiwakenikkiWindow(document);
  });
  app->setCommandHandler(Command::ImportShiwakeFromTextFile, [app](QAction*) {
    ShiwakenikkiController::importShiwakeFromTextFile(app->currentDocument());
  });
  app->setCommandHandler(Command::ShowKanjyoumotocyouWindow, [app](QAction*) {
    KanjyoumotocyouController::showKanjyoumotocyouWindow(app->currentDocument());
  });
  app->setCommandHandler(Command::ShowShortCutKanjyoumotocyouWindow, [app](QAction* sender) {
    if (!sender) return;
    const auto ledger = KanjyoumotocyouShortcut::ledgerOfRepresentedObject(sender->data().toLongLong());
    KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(app->currentDocument(), ledger.kamokuCode,
                                                                 ledger.hojyoKamokuCode);
  });

  // --- trial balances
  app->setCommandHandler(Command::ShowZandakaShisanWindow,
                         [app](QAction*) { ZandakaShisanController::showZandakaShisanWindow(app->currentDocument()); });
  app->setCommandHandler(Command::ShowSuiiShisanWindow,
                         [app](QAction*) { SuiiShisanController::showSuiiShisanWindow(app->currentDocument()); });
  app->setCommandHandler(Command::ShowHojyozandakaIchiranWindow, [app](QAction*) {
    HojyozandakaIchiranController::showHojyozandakaIchiranWindow(app->currentDocument());
  });

  // --- printing several ledgers or lists from the information window
  app->setCommandHandler(Command::PrintKanjyoumotocyouOfPluralKamoku, [app](QAction*) {
    if (DocumentInfoController* info = frontDocumentInfo(app)) info->selectPluralKamokuThenPrintKanjyoumotocyou();
  });
  app->setCommandHandler(Command::PrintHojyomotocyouOfPluralHojyoKamoku, [app](QAction*) {
    if (DocumentInfoController* info = frontDocumentInfo(app)) info->selectPluralHojyoKamokuThenPrintHojyomotocyou();
  });
  app->setCommandHandler(Command::PrintHojyozandakaIchiranOfPluralKamoku, [app](QAction*) {
    if (DocumentInfoController* info = frontDocumentInfo(app)) info->selectPluralKamokuThenPrintHojyozandakaIchiran();
  });

  // --- statements: the Companies-Act form for a corporation on its chart, the older
  // form for the other documents but a household book
  app->setCommandHandler(Command::PrintHoukokusyo, [app](QAction*) {
    if (!AppController::canPrintKanjyoumotocyouOfPluralKamoku()) return;
    DocumentInfoController* info = frontDocumentInfo(app);
    if (!info) return;
    OpenDocument* doc = info->document();
    if (KaisyahouHoukokusyoController::isKaisyahouDocument(doc))
      KaisyahouHoukokusyoController::controllerOfDocument(doc)->beginForWindow(info);
    else if (HoukokusyoController::servesDocument(doc))
      HoukokusyoController::controllerOfDocument(doc)->beginForWindow(info);
  });

  // --- assets and the carry-forward
  app->setCommandHandler(Command::ShowGenkasyoukyakuShisanListWindow, [app](QAction*) {
    DocumentSession* document = app->currentDocument();
    if (!document) return;
    if (!document->genkasyoukyakuShisanListController() && !AppController::canShowFurikaedenpyouWindow()) return;
    GenkasyoukyakuShisanListController::showGenkasyoukyakuShisanListWindow(document);
  });
  app->setCommandHandler(Command::DoKurikoshiSyori, [app](QAction*) {
    if (DocumentSession* document = app->currentDocument()) KurikoshiController::showKurikoshiWindow(document);
  });
}

}  // namespace kivo

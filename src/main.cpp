// Kivosavan: double-entry bookkeeping for small Japanese businesses.
#include <QApplication>
#include <QStringList>

#include "assets/gui/GenkasyoukyakuShisanListController.h"
#include "assets/gui/KurikoshiController.h"
#include "document/gui/AppController.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "platform/QtTranslations.h"
#include "setup/gui/DocumentInfoController.h"
#include "setup/gui/SetupCommands.h"
#include "statements/gui/HoukokusyoController.h"
#include "statements/gui/KaisyahouHoukokusyoController.h"
#include "trial/gui/HojyozandakaIchiranController.h"
#include "trial/gui/SuiiShisanController.h"
#include "trial/gui/ZandakaShisanController.h"

#ifndef KIVO_VERSION
#define KIVO_VERSION "0"
#endif

int main(int argc, char** argv)
{
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kivosavan");
  QApplication::setOrganizationName("Kivosavan");
  QApplication::setApplicationVersion(QStringLiteral(KIVO_VERSION));
  // The standard dialogs and menus speak Japanese with the rest of the program.
  kivo::QtTranslations::installJapanese();

  kivo::AppController appController;
  // The windows built so far supply their commands.
  kivo::FurikaedenpyouController::installCommandHandlers(&appController);
  kivo::ShiwakenikkiController::installCommandHandlers(&appController);
  kivo::KanjyoumotocyouController::installCommandHandlers(&appController);
  kivo::SuitoucyouController::installCommandHandlers(&appController);
  kivo::SetupCommands::installCommandHandlers(&appController);
  kivo::ZandakaShisanController::installCommandHandlers(&appController);
  kivo::SuiiShisanController::installCommandHandlers(&appController);
  kivo::HojyozandakaIchiranController::installCommandHandlers(&appController);
  kivo::DocumentInfoController::installCommandHandlers(&appController);
  kivo::GenkasyoukyakuShisanListController::installCommandHandlers(&appController);
  kivo::KurikoshiController::installCommandHandlers(&appController);
  kivo::KaisyahouHoukokusyoController::installCommandHandlers(&appController);
  kivo::HoukokusyoController::install();
  // Files named on the command line are opened as the desktop opens documents.
  appController.applicationDidFinishLaunching(QApplication::arguments().mid(1));
  return app.exec();
}

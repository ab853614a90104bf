// Kivosavan: double-entry bookkeeping for small Japanese businesses.
#include <QApplication>
#include <QStringList>

#include "app/AppController.h"
#include "app/WindowCommands.h"
#include "platform/KeyRouting.h"
#include "platform/QtTranslations.h"

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
  // Every key goes to the window that has the keyboard when the program reads it.
  kivo::KeyRouting::install();

  kivo::AppController appController;
  kivo::WindowCommands::installCommandHandlers(&appController);
  // Files named on the command line are opened as the desktop opens documents.
  appController.applicationDidFinishLaunching(QApplication::arguments().mid(1));
  return app.exec();
}

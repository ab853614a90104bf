// Kivosavan: double-entry bookkeeping for small Japanese businesses.
#include <QApplication>
#include <QMainWindow>

#include "platform/UserDefaults.h"

int main(int argc, char** argv)
{
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kivosavan");
  QApplication::setOrganizationName("Kivosavan");
  kivo::UserDefaults::registerDefaults();
  QMainWindow window;
  window.setWindowTitle("Kivosavan");
  window.resize(640, 400);
  window.show();
  return app.exec();
}

// Orvane: starts the application and shows the main window.
#include <QApplication>

#include "platform/interface_font.h"
#include "shell/main_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvane"));
  QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
  QApplication::setFont(orvane::interfaceFont());
  orvane::MainWindow window;
  window.show();
  return QApplication::exec();
}

// orvane-explore: a window for exploring at any depth, beside the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include "explore/explore_window.h"
#include "platform/interface_font.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orvane-explore"));
  QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
  QApplication::setFont(orvane::interfaceFont());
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvane-explore-64.png")));
  QApplication::setDesktopFileName(QStringLiteral("org.example.Orvane.Explore"));
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Explores Orvane's fractals at any magnification; opens a PNG that "
                     "orvane-render or this window wrote when one is named."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE.png"), QStringLiteral("A picture to open."));
  parser.process(application);
  orvane::explore::ExploreWindow window;
  window.show();
  if (!parser.positionalArguments().isEmpty()) window.open(parser.positionalArguments().first());
  return QApplication::exec();
}

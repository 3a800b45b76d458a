// The main window's status bar `StatusBar1` and its panel refresh.
#include "shell/main_window.h"
#include "shell/status_bar.h"
#include "shell/status_panels.h"

namespace orvane {

void MainWindow::setupStatusBar() {
  StatusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  setStatusBar(StatusBar1_);
  connect(StatusBar1_, &StatusBar::panelClicked, this, &MainWindow::StatusBar1_PanelClick);
}

// Panels 4 to 6 show the view as the last pass or command left it, at the moment of the
// click; nothing else writes them.
void MainWindow::StatusBar1_PanelClick(int panel) {
  if (auto text = panelRefreshText(panel, state_)) StatusBar1_->setPanelText(panel, *text);
}

}  // namespace orvane

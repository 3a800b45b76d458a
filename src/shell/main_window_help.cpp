// The main window's Help menu: the help text and the two about windows.
#include <QAction>

#include "shell/main_window.h"

namespace orvane {

void MainWindow::setupHelpActions() {
  connectItem("mnuReadme", &MainWindow::mnuReadme_Click);
  connectItem("mnuAbout", &MainWindow::mnuAbout_Click);
  connectItem("mnuWriter", &MainWindow::mnuWriter_Click);
}

// Each window loads afresh at every opening and holds a running pass where it yielded
// until it closes.
void MainWindow::mnuReadme_Click() {
  DialogReadme_.showModal();
}

void MainWindow::mnuAbout_Click() {
  frmFractalAbout_.showModal();
}

void MainWindow::mnuWriter_Click() {
  frmAbout_.showModal();
}

}  // namespace orvane

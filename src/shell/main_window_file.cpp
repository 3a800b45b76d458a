// The main window's File and Scheme menus: Start, Stop, Clear, Exit and the formula items.
#include <QAction>

#include "control/formula_selection.h"
#include "platform/picture_box.h"
#include "shell/main_window.h"

namespace orvane {

void MainWindow::setupFileActions() {
  connectItem("mnuStart", &MainWindow::mnuStart_Click);
  connectItem("mnuStop", &MainWindow::mnuStop_Click);
  connectItem("mnuClean", &MainWindow::mnuClean_Click);
  connectItem("mnuNew", &MainWindow::mnuNew_Click);
  connectItem("mnuExit", &MainWindow::mnuExit_Click);
}

void MainWindow::setupPlanActions() {
  connectItem("mnuMandel", &MainWindow::mnuMandel_Click);
  connectItem("mnuJulia", &MainWindow::mnuJulia_Click);
  connectItem("mnuHole", &MainWindow::mnuHole_Click);
}

// Starts a pass whether or not one runs: a pass started inside another's yield replaces it.
void MainWindow::mnuStart_Click() {
  drawings();
}

// The running pass sees the flag at its next row end and stops there.
void MainWindow::mnuStop_Click() {
  state_.busy = kFalse;
}

// A running pass is not stopped: it goes on filling the cleared picture.
void MainWindow::mnuClean_Click() {
  picMyBmp_->clear();
}

// Back to the home view, drawn at once; a pending zoom step still applies to it.
void MainWindow::mnuNew_Click() {
  resetToHome(state_, dialogs_);
  setRenderingSliders();
  drawings();
}

void MainWindow::mnuExit_Click() {
  endProgram();
}

void MainWindow::mnuMandel_Click() {
  Mandel();
}

void MainWindow::mnuJulia_Click() {
  Julia();
}

// Hole has no components: straight to the position dialog.
void MainWindow::mnuHole_Click() {
  chooseHole(state_, dialogs_);
  lie();
}

}  // namespace orvane

// The main window's Operate menu: the render option arrays and line mode.
#include <array>
#include <utility>

#include <QAction>

#include "control/render_option_menus.h"
#include "shell/main_window.h"

namespace orvane {

namespace {

// The zoom steps' items, found by their names while compiling like every other item.
template <std::size_t... I>
consteval std::array<MenuItemName, sizeof...(I)> zoomItems(std::index_sequence<I...>) {
  return {MenuItemName(kZoomSteps[I].name)...};
}
constexpr auto kZoomItems = zoomItems(std::make_index_sequence<kZoomSteps.size()>());

}  // namespace

void MainWindow::setupOperateActions() {
  connectArray("mnuDeeps", &MainWindow::mnuDeeps_Click);
  connectArray("mnuMaxs", &MainWindow::mnuMaxs_Click);
  connectArray("mnuRnds", &MainWindow::mnuRnds_Click);
  connectArray("mnuColors", &MainWindow::mnuColors_Click);
  connectArray("mnuSqrts", &MainWindow::mnuSqrts_Click);
  connectItem("mnuLine", &MainWindow::mnuLine_Click);
  connectItem("mnuLie", &MainWindow::mnuLie_Click);
  connectItem("mnuMove", &MainWindow::mnuMove_Click);
  connectItem("mnuSmooth", &MainWindow::mnuSmooth_Click);
  for (std::size_t i = 0; i < kZoomSteps.size(); ++i) {
    connect(menu_.item(kZoomItems[i]), &QAction::triggered, this,
            [this, &step = kZoomSteps[i]] { zoomStep_Click(step); });
  }
}

// Each stores the chosen value, then moves the array's tick to the chosen item. None draws:
// a running pass reads the new value from its next point on.
void MainWindow::mnuDeeps_Click(int index) {
  if (chooseDepth(state_, index)) tickOnly(menu_.array("mnuDeeps"), index);
}

void MainWindow::mnuMaxs_Click(int index) {
  if (chooseEscape(state_, index)) tickOnly(menu_.array("mnuMaxs"), index);
}

void MainWindow::mnuRnds_Click(int index) {
  if (chooseJitter(state_, index)) tickOnly(menu_.array("mnuRnds"), index);
}

void MainWindow::mnuColors_Click(int index) {
  if (chooseColourMode(state_, index)) tickOnly(menu_.array("mnuColors"), index);
}

void MainWindow::mnuSqrts_Click(int index) {
  if (chooseGrid(state_, dialogs_, index)) tickOnly(menu_.array("mnuSqrts"), index);
}

// Line mode has no tick of its own and leaves the grid sizes' tick where it is.
void MainWindow::mnuLine_Click() {
  chooseLineMode(state_, dialogs_);
}

void MainWindow::mnuLie_Click() {
  lie();
}

// The offsets change as the options are chosen; nothing is drawn when the dialog closes.
void MainWindow::mnuMove_Click() {
  DialogM_.showModal();
}

void MainWindow::mnuSmooth_Click() {
  smcolor();
}

// Stores the step for the next pass or the next opening of the position dialog; a later
// choice replaces it. Nothing is drawn.
void MainWindow::zoomStep_Click(const ZoomStep& step) {
  state_.zoomDivisor = step.zoomDivisor;
}

}  // namespace orvane

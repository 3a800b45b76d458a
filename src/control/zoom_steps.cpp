// The zoom steps of the two view menus, and New: back to the home view.
#include "zoom_steps.h"

#include "load_routine.h"

namespace orvane {

void resetToHome(ExplorerState& state, DialogValues& dialogs) {
  state.drawing = formula::kMandelbrot;
  dialogs.dimension.numDx = 0;
  dialogs.dimension.numDy = 0;
  state.dimX = 0;
  state.dimY = 0;
  PositionValues& position = dialogs.position;
  position.numzoom = 1;
  position.numx = -0.5;
  position.numy = 0;
  position.ct = 0;
  state.viewZoom = 1;
  state.viewX = -0.5;
  state.viewY = 0;
  state.viewTurn = 0;
  setRenderingLevels(state, dialogs.rendering, 5);
}

}  // namespace orvane

// The zoom steps of the two view menus, and New: back to the home view.
#include "control/zoom_steps.h"

#include "control/position_control.h"
#include "engine/load_routine.h"
#include "engine/state_defaults.h"

namespace orvane {

void resetToHome(ExplorerState& state, DialogValues& dialogs) {
  state.drawing = formula::kMandelbrot;
  dialogs.dimension.numDx = 0;
  dialogs.dimension.numDy = 0;
  state.dimX = 0;
  state.dimY = 0;
  setHomeView(state, dialogs.position);
  setRenderingLevels(state, dialogs.rendering, kHomeRenderingLevel);
}

}  // namespace orvane

// The main window's load routine `Form_Load`: first-load defaults and the cell order.
#include "engine/load_routine.h"

#include "engine/cell_order.h"
#include "engine/state_defaults.h"

namespace orvane {

void formLoad(ExplorerState& state, DialogValues& dialogs) {
  if (state.viewZoom == 0) {
    setRenderingLevels(state, dialogs.rendering, kHomeRenderingLevel);
    state.viewZoom = kDefaultZoom;
    dialogs.position.roo = 1;
  }
  buildCellOrder(state);
}

void setRenderingLevels(ExplorerState& state, RenderingValues& rendering, std::int16_t level) {
  rendering.sldIn = level;
  rendering.sldOut = level;
  rendering.dcin = rendering.sldIn;
  rendering.dcout = rendering.sldOut;
  state.renderIn = rendering.dcin;
  state.renderOut = rendering.dcout;
}

}  // namespace orvane

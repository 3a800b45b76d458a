// The main window's load routine `Form_Load`: first-load defaults and the cell order.
#include "load_routine.h"

#include "cell_order.h"

namespace orvane {

void formLoad(ExplorerState& state, DialogValues& dialogs) {
  if (state.viewZoom == 0) {
    RenderingValues& rendering = dialogs.rendering;
    rendering.sldIn = 5;
    rendering.sldOut = 5;
    rendering.dcin = rendering.sldIn;
    rendering.dcout = rendering.sldOut;
    state.renderIn = rendering.dcin;
    state.renderOut = rendering.dcout;
    state.viewZoom = 1;
    dialogs.position.roo = 1;
  }
  buildCellOrder(state);
}

}  // namespace orvane

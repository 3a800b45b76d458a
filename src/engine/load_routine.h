// The main window's load routine `Form_Load`: first-load defaults and the cell order.
#pragma once

#include "engine/explorer_state.h"

namespace orvane {

// Runs when the main window loads, and again whenever line mode or a grid size is chosen
// (the caller sets `gridChoice` first). On the first load (`viewZoom` still 0) it puts both
// rendering sliders and levels at 5, the magnification at 1 and switches rotation by mouse
// on; every time it rebuilds the cell order.
void formLoad(ExplorerState& state, DialogValues& dialogs);

// Puts both rendering sliders at `level`, reads the levels back from them and copies them
// into the state, as the load routine and New do.
void setRenderingLevels(ExplorerState& state, RenderingValues& rendering, std::int16_t level);

}  // namespace orvane

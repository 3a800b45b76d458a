// The square-array cell order: the random order in which the render pass visits the cells.
#include "engine/cell_order.h"

#include <cmath>

namespace orvane {

namespace {

// Only line mode and grid sides up to 32 come from the menus. Anything else is read as "no
// choice" so that `gridCells` always fits the 16-bit field and the order stays small.
std::int16_t gridSideFor(std::int16_t gridChoice) {
  if (gridChoice >= 1 && gridChoice <= kMaxGridSide) return gridChoice;
  return kDefaultGridSide;
}

}  // namespace

void buildCellOrder(ExplorerState& state) {
  state.gridSide = gridSideFor(state.gridChoice);
  state.gridCells = static_cast<std::int16_t>(state.gridSide * state.gridSide);
  state.cellOrder.assign(static_cast<std::size_t>(state.gridCells), 0);
  state.cellOrder[0] = 0;  // cell 0 is always drawn first

  for (int i = 1; i < state.gridCells; ++i) {
    std::int16_t candidate;
    for (;;) {
      const double r = state.random.next();
      candidate = static_cast<std::int16_t>(std::floor(r * state.gridCells));
      int j = 0;
      while (j < i && state.cellOrder[static_cast<std::size_t>(j)] != candidate) ++j;
      if (j == i) break;  // not drawn yet: take it
    }
    state.cellOrder[static_cast<std::size_t>(i)] = candidate;
  }
}

}  // namespace orvane

// The square-array cell order: the random order in which the render pass visits the cells.
#pragma once

#include "engine/explorer_state.h"

namespace orvane {

// Builds `gridSide`, `gridCells` and a new `cellOrder` from `gridChoice`: a permutation of
// 0 .. N*N-1 that starts with cell 0 and has the others in the order the program's random
// sequence picks them. Draws its numbers from `state.random`.
void buildCellOrder(ExplorerState& state);

// Number of rows of a picture `extent` rows high that the cells with row offset `offset`
// cover on a grid of side `side` (and likewise for columns with the width).
constexpr int linesCovered(int offset, int side, int extent) {
  return offset < extent ? (extent - 1 - offset) / side + 1 : 0;
}

}  // namespace orvane

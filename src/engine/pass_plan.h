// The pixels of a pass in the order the pass draws them.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/explorer_state.h"
#include "engine/point_work.h"

namespace orvane {

// One cell of the square-array order: the pixels whose row is `row` plus a multiple of the
// grid side and whose column is `column` plus a multiple of it.
struct CellShape {
  int row = 0;      // first row (`cellRow`)
  int column = 0;   // first column (`cellCol`)
  int rows = 0;     // rows the cell covers
  int columns = 0;  // pixels in each of its rows
};

// Whether `cell` numbers a cell of a grid of side `side`.
constexpr bool isCell(int cell, int side) {
  return cell >= 0 && cell < side * side;
}

// Cell number e of a grid of side `side`.
CellShape cellShape(int cell, int side);

// The grid a pass of `state` follows: the state's cell order, or line order (one cell of
// side 1) when the load routine has built none.
struct PassGrid {
  int side = 1;
  std::vector<std::int16_t> order = {0};
};
PassGrid passGrid(const ExplorerState& state);

// Every pixel of the picture, cell after cell in `order`, each cell row by row from the top
// and each row from left to right.
std::vector<Pixel> passPixels(const std::vector<std::int16_t>& order, int side);

}  // namespace orvane

// The pixels of a pass in the order the pass draws them.
#include "engine/pass_plan.h"

#include "engine/cell_order.h"
#include "engine/explorer_state.h"

namespace orvane {

CellShape cellShape(int cell, int side) {
  CellShape shape;
  shape.row = cell % side;
  shape.column = (cell - shape.row) / side;
  shape.rows = linesCovered(shape.row, side, kPictureHeight);
  shape.columns = linesCovered(shape.column, side, kPictureWidth);
  return shape;
}

PassGrid passGrid(const ExplorerState& state) {
  if (state.gridSide <= 0 || state.cellOrder.empty()) return {};
  return {state.gridSide, state.cellOrder};
}

std::vector<Pixel> passPixels(const std::vector<std::int16_t>& order, int side) {
  std::vector<Pixel> pixels;
  pixels.reserve(static_cast<std::size_t>(kPictureWidth) * kPictureHeight);
  for (const std::int16_t cell : order) {
    if (!isCell(cell, side)) continue;
    const CellShape shape = cellShape(cell, side);
    for (int y = shape.row; y < kPictureHeight; y += side)
      for (int x = shape.column; x < kPictureWidth; x += side)
        pixels.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
  }
  return pixels;
}

}  // namespace orvane

// What `lie` commits and shows in the position dialog's boxes.
#include <gtest/gtest.h>

#include <tuple>

#include "view_rows.h"

namespace orvane {
namespace {

struct LieRow {
  const char* name;
  std::int16_t drawing;
  double numzoom, numx, numy;
  std::int16_t ct, roo;
  double zoomDivisor, carryX;
  const char* shown;
  std::int16_t drawingAfter;
  double viewZoom, viewX;  // committed to the state
};

TEST(PositionControl, CommitsTheConfirmedViewAndShowsIt) {
  const LieRow rows[] = {
      // Nothing confirmed yet: magnification 0 reads as 1, at the Mandelbrot home centre.
      {"start-up", 0, 0, 0, 0, 0, 1, 0, 0, "1 -0.5 0 0", 1, 1, -0.5},
      {"Hole has no home centre", 5, 1, 0, 0, 0, 1, 0, 0, "1 0 0 0", 5, 1, 0},
      {"turned view", 1, 3, 0.25, -1.5, -90, 1, 1, 0, "3 0.25 -1.5 -90", 1, 3, 0.25},
      // A pending step shows in the box and is dropped: only OK makes it count.
      {"pending step", 1, 8, 1, 0, 0, 1, 2, 0, "4 1 0 0", 1, 8, 1},
      {"pending Julia", 4, 5, 1, 2, 30, 1, 1, 0, "1 0 0 0", 2, 5, 1},
      {"pending Mandelbrot", 3, 5, 1, 2, 30, 1, 1, -0.8, "1 -0.8 0 0", 1, 5, 1},
      {"rotation off", 1, 2, 1, 0, 30, 0, 1, 0, "2 1 0 无效", 1, 2, 1},
  };
  for (const LieRow& row : rows) {
    ExplorerState state;
    std::tie(state.drawing, state.zoomDivisor, state.carryX) =
        std::tie(row.drawing, row.zoomDivisor, row.carryX);
    const PositionValues position{row.numzoom, row.numx, row.numy, row.ct, row.roo};
    EXPECT_EQ(boxes(prepareLie(state, position)), row.shown) << row.name;
    // The divisor is back to 1 whether a step was pending or not.
    EXPECT_EQ(
        std::tie(state.drawing, state.viewZoom, state.viewX, state.viewTurn, state.zoomDivisor),
        std::tuple(row.drawingAfter, row.viewZoom, row.viewX, row.ct, 1))
        << row.name;
  }
  ExplorerState state;  // turned against the clock, with the decimal pi
  prepareLie(state, {1, 0, 0, -90, 1});
  EXPECT_DOUBLE_EQ(state.turnRad, 1.570796326794895);  // 3.14159265358979 / 2
}

}  // namespace
}  // namespace orvane

// The load routine and the square-array cell order: a permutation starting with cell 0 for
// every grid side, the pixels of each cell in drawing order, the one random sequence the
// builds draw on, and the first-load defaults.
#include <gtest/gtest.h>

#include <vector>

#include "engine/load_routine.h"
#include "engine/pass_plan.h"

namespace orvane {
namespace {

// Every side from line mode (1) to 32; no choice, or one beyond 32, gives 12 x 12.
TEST(CellOrder, EverySideCoversThePictureOnceCellByCellInTheOrder) {
  for (std::int16_t choice = 0; choice <= kMaxGridSide + 1; ++choice) {
    const int side = choice == 0 || choice > kMaxGridSide ? 12 : choice;
    ExplorerState state;
    DialogValues dialogs;
    state.gridChoice = choice;
    formLoad(state, dialogs);
    ASSERT_EQ(std::tuple(state.gridCells, state.cellOrder.front()), std::tuple(side * side, 0));
    // Cell e holds the rows Y with Y mod N = e mod N and the columns X with X mod N = e div N,
    // drawn row by row from the top, left to right; a cell drawn twice or missed fails below.
    std::vector<int> hits(kPictureWidth * kPictureHeight);
    std::size_t k = 0;
    int last = -1;  // index of the cell's previous pixel
    for (const Pixel p : passPixels(state.cellOrder, side)) {
      const int cell = p.y % side + side * (p.x % side);
      if (cell != state.cellOrder[k]) last = -1, ++k;
      ASSERT_EQ(cell, state.cellOrder.at(k)) << side;
      ASSERT_GT(p.y * kPictureWidth + p.x, last) << side;
      ++hits[static_cast<std::size_t>(last = p.y * kPictureWidth + p.x)];
    }
    EXPECT_EQ(k + 1, state.cellOrder.size()) << side;
    EXPECT_EQ(hits, std::vector<int>(hits.size(), 1)) << side;
  }
}

TEST(LoadRoutine, FirstLoadDefaultsAndOneSequenceFromLaunchToLaunch) {
  ExplorerState state, relaunched;
  DialogValues dialogs, relaunchedDialogs;
  formLoad(state, dialogs);
  formLoad(relaunched, relaunchedDialogs);
  EXPECT_EQ(state.cellOrder, relaunched.cellOrder);  // the sequence is never reseeded
  EXPECT_EQ(
      std::tuple(state.renderOut, dialogs.rendering.dcin, state.viewZoom, dialogs.position.roo),
      std::tuple(5, 5, 1.0, 1));
  // Later loads keep the user's values and rebuild from where the sequence stands.
  state.renderOut = 2, state.viewZoom = 3;
  formLoad(state, dialogs);
  EXPECT_EQ(std::tuple(state.renderOut, state.viewZoom, state.cellOrder == relaunched.cellOrder),
            std::tuple(2, 3.0, false));
}

}  // namespace
}  // namespace orvane

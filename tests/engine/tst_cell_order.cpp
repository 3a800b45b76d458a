// The load routine and the square-array cell order: first-load defaults, the order as a
// permutation for every grid side, its repeatability from launch to launch, and the pixels
// each cell covers.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "cell_order.h"
#include "load_routine.h"
#include "pass_plan.h"

namespace orvane {
namespace {

std::vector<std::int16_t> allCells(int count) {
  std::vector<std::int16_t> cells(static_cast<std::size_t>(count));
  std::iota(cells.begin(), cells.end(), std::int16_t{0});
  return cells;
}

class GridSides : public testing::TestWithParam<int> {};

TEST_P(GridSides, OrderIsAPermutationStartingWithCellZero) {
  ExplorerState state;
  DialogValues dialogs;
  state.gridChoice = static_cast<std::int16_t>(GetParam());
  formLoad(state, dialogs);

  const int side = GetParam();
  EXPECT_EQ(state.gridSide, side);
  EXPECT_EQ(state.gridCells, side * side);
  ASSERT_EQ(state.cellOrder.size(), static_cast<std::size_t>(side * side));
  EXPECT_EQ(state.cellOrder.front(), 0);
  std::vector<std::int16_t> sorted = state.cellOrder;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, allCells(side * side));
}

TEST_P(GridSides, PassVisitsEveryPixelExactlyOnce) {
  ExplorerState state;
  DialogValues dialogs;
  state.gridChoice = static_cast<std::int16_t>(GetParam());
  formLoad(state, dialogs);

  std::vector<int> hits(kPictureWidth * kPictureHeight, 0);
  for (const Pixel p : passPixels(state.cellOrder, state.gridSide)) {
    ASSERT_TRUE(p.x >= 0 && p.x < kPictureWidth && p.y >= 0 && p.y < kPictureHeight);
    ++hits[static_cast<std::size_t>(p.y * kPictureWidth + p.x)];
  }
  EXPECT_TRUE(std::all_of(hits.begin(), hits.end(), [](int h) { return h == 1; }));
}

INSTANTIATE_TEST_SUITE_P(EverySide, GridSides, testing::Range(1, kMaxGridSide + 1),
                         [](const testing::TestParamInfo<int>& row) {
                           return "side" + std::to_string(row.param);
                         });

TEST(CellOrder, NoChoiceGivesTwelveByTwelve) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  EXPECT_EQ(state.gridSide, 12);
  EXPECT_EQ(state.gridCells, 144);
  EXPECT_EQ(state.cellOrder.size(), 144u);
}

TEST(CellOrder, LineModeIsOneCell) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  state.gridChoice = kLineMode;
  formLoad(state, dialogs);
  EXPECT_EQ(state.gridSide, 1);
  EXPECT_EQ(state.gridCells, 1);
  EXPECT_EQ(state.cellOrder, std::vector<std::int16_t>{0});
}

TEST(CellOrder, FirstBuildIsTheSameAtEveryLaunch) {
  for (const std::int16_t choice : {0, 8, 25, 32}) {
    SCOPED_TRACE(choice);
    ExplorerState first, second;
    DialogValues firstDialogs, secondDialogs;
    first.gridChoice = second.gridChoice = choice;
    formLoad(first, firstDialogs);
    formLoad(second, secondDialogs);
    EXPECT_EQ(first.cellOrder, second.cellOrder);
  }
}

TEST(CellOrder, RebuildDrawsOnFromTheSameSequence) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  const std::vector<std::int16_t> launchOrder = state.cellOrder;
  const std::uint64_t position = state.random.position();
  EXPECT_GE(position, 143u);  // at least one number per cell after the first

  // Choosing the same grid again rebuilds from where the sequence stands, not from its start.
  formLoad(state, dialogs);
  EXPECT_GT(state.random.position(), position);
  EXPECT_NE(state.cellOrder, launchOrder);
  EXPECT_EQ(state.cellOrder.front(), 0);
}

struct CoverageRow {
  const char* name;
  int side;
  int offset;
  int rows;     // rows covered by cells with this row offset
  int columns;  // columns covered by cells with this column offset
};

class Coverage : public testing::TestWithParam<CoverageRow> {};

TEST_P(Coverage, CellCoversRowsAndColumns) {
  const CoverageRow& r = GetParam();
  // Cell number e has row offset e mod N and column offset e div N.
  const CellShape shape = cellShape(r.offset * r.side + r.offset, r.side);
  EXPECT_EQ(shape.row, r.offset);
  EXPECT_EQ(shape.column, r.offset);
  EXPECT_EQ(shape.rows, r.rows);
  EXPECT_EQ(shape.columns, r.columns);

  // The same counts from the pixels a pass draws for that cell alone.
  const std::vector<Pixel> pixels =
      passPixels({static_cast<std::int16_t>(r.offset * r.side + r.offset)}, r.side);
  ASSERT_EQ(pixels.size(), static_cast<std::size_t>(r.rows * r.columns));
  EXPECT_EQ(pixels.front().x, r.offset);
  EXPECT_EQ(pixels.front().y, r.offset);
  EXPECT_EQ(pixels.back().x, r.offset + (r.columns - 1) * r.side);
  EXPECT_EQ(pixels.back().y, r.offset + (r.rows - 1) * r.side);
}

INSTANTIATE_TEST_SUITE_P(Grids, Coverage,
                         testing::Values(CoverageRow{"line", 1, 0, 300, 400},
                                         CoverageRow{"twelveFirst", 12, 0, 25, 34},
                                         CoverageRow{"twelveLast", 12, 11, 25, 33},
                                         CoverageRow{"twentyFiveFirst", 25, 0, 12, 16},
                                         CoverageRow{"twentyFiveLast", 25, 24, 12, 16},
                                         CoverageRow{"thirtyTwoFirst", 32, 0, 10, 13},
                                         CoverageRow{"thirtyTwoRowEleven", 32, 11, 10, 13},
                                         CoverageRow{"thirtyTwoRowTwelve", 32, 12, 9, 13},
                                         CoverageRow{"thirtyTwoFifteen", 32, 15, 9, 13},
                                         CoverageRow{"thirtyTwoColumnSixteen", 32, 16, 9, 12},
                                         CoverageRow{"thirtyTwoLast", 32, 31, 9, 12}),
                         [](const testing::TestParamInfo<CoverageRow>& row) {
                           return std::string(row.param.name);
                         });

TEST(CellShape, EveryOffsetOfTheLargeGrids) {
  // 300 and 400 are not multiples of 32; 25 divides both.
  for (int offset = 0; offset < 32; ++offset) {
    SCOPED_TRACE(offset);
    const CellShape shape = cellShape(offset * 32 + offset, 32);
    EXPECT_EQ(shape.rows, offset >= 12 ? 9 : 10);
    EXPECT_EQ(shape.columns, offset >= 16 ? 12 : 13);
  }
  for (int offset = 0; offset < 25; ++offset) {
    SCOPED_TRACE(offset);
    const CellShape shape = cellShape(offset * 25 + offset, 25);
    EXPECT_EQ(shape.rows, 12);
    EXPECT_EQ(shape.columns, 16);
  }
}

TEST(CellShape, RowFromRemainderColumnFromQuotient) {
  // Cell e: rows Y with Y mod N = e mod N, columns X with X mod N = e div N.
  const CellShape shape = cellShape(3 * 32 + 20, 32);
  EXPECT_EQ(shape.row, 20);
  EXPECT_EQ(shape.column, 3);
  EXPECT_EQ(shape.rows, 9);
  EXPECT_EQ(shape.columns, 13);
}

TEST(LoadRoutine, FirstLoadDefaults) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  EXPECT_EQ(dialogs.rendering.sldIn, 5);
  EXPECT_EQ(dialogs.rendering.sldOut, 5);
  EXPECT_EQ(dialogs.rendering.dcin, 5);
  EXPECT_EQ(dialogs.rendering.dcout, 5);
  EXPECT_EQ(state.renderIn, 5);
  EXPECT_EQ(state.renderOut, 5);
  EXPECT_EQ(state.viewZoom, 1);
  EXPECT_EQ(dialogs.position.roo, 1);
  // The offsets become 160, 64, 192 only later (offset dialog, or a reset at a pass start).
  EXPECT_EQ(state.colr, 0);
  EXPECT_EQ(state.colg, 0);
  EXPECT_EQ(state.colb, 0);
  EXPECT_EQ(state.drawing, formula::kNone);
  EXPECT_EQ(state.busy, kFalse);
  EXPECT_EQ(dialogs.position.numzoom, 0);
}

TEST(LoadRoutine, LaterLoadsKeepTheUsersChoices) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  dialogs.rendering.sldIn = dialogs.rendering.dcin = 2;
  dialogs.rendering.sldOut = dialogs.rendering.dcout = 9;
  state.renderIn = 2;
  state.renderOut = 9;
  state.viewZoom = 40;
  dialogs.position.roo = 0;

  state.gridChoice = 20;
  formLoad(state, dialogs);
  EXPECT_EQ(dialogs.rendering.sldIn, 2);
  EXPECT_EQ(dialogs.rendering.dcin, 2);
  EXPECT_EQ(dialogs.rendering.sldOut, 9);
  EXPECT_EQ(dialogs.rendering.dcout, 9);
  EXPECT_EQ(state.renderIn, 2);
  EXPECT_EQ(state.renderOut, 9);
  EXPECT_EQ(state.viewZoom, 40);
  EXPECT_EQ(dialogs.position.roo, 0);
  EXPECT_EQ(state.gridSide, 20);
}

}  // namespace
}  // namespace orvane

// The drag selection: the view a release proposes, the frame's corners, and the press, move
// and release states, with a canvas that records the lines drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "engine/number_text.h"
#include "navigation/drag_selection.h"

namespace orvane {
namespace {

// The proposed view as the position dialog's four boxes show it ("5 -0.5 0 180").
std::string shown(const std::optional<ProposedView>& v) {
  if (!v) return "none";
  return generalDecimal(v->magnification) + " " + generalDecimal(v->centreX) + " " +
         generalDecimal(v->centreY) + " " + std::to_string(v->rotationDegrees);
}

struct RecordingCanvas : FrameCanvas {
  void drawFrameLine(float x1, float y1, float x2, float y2, Colour) override {
    lines.push_back({x1, y1, x2, y2});
  }
  // Erasing draws the frame again: the last six lines repeat the six before them.
  bool lastFrameErased() const {
    return lines.size() >= 12 && std::equal(lines.end() - 6, lines.end(), lines.end() - 12);
  }
  std::vector<std::array<float, 4>> lines;
};

class DragSelection : public testing::Test {
 protected:
  void press(float x, float y, int button = 1) {
    picMyBmp_MouseDown(state, position, canvas, button, x, y);
  }
  void move(float x, float y) { picMyBmp_MouseMove(state, position, canvas, x, y); }
  std::optional<ProposedView> release(float x, float y) {
    return picMyBmp_MouseUp(state, position, canvas, x, y);
  }

  ExplorerState state;
  PositionValues position{.roo = 1};
  RecordingCanvas canvas;
};

struct ReleaseRow {
  const char* name;
  std::int16_t drawing;
  double numzoom, numx, numy;  // the confirmed view
  std::int16_t ct, roo;
  float x0, y0, x1, y1;  // press and release
  const char* shown;
};

// The press point is the new centre, 200 over the frame's half-width multiplies the
// magnification, and the vertical distance turns the view by up to half a turn.
TEST_F(DragSelection, ReleaseProposesTheFramedView) {
  const ReleaseRow rows[] = {
      // Nothing confirmed yet: magnification 1 at the Mandelbrot home centre.
      {"at the press point", 0, 0, 0, 0, 0, 1, 200, 150, 200, 150, "200 -0.5 0 0"},
      {"Hole has no home centre", 5, 0, 0, 0, 0, 1, 200, 150, 240, 150, "5 0 0 0"},
      {"one pixel below", 0, 0, 0, 0, 0, 1, 200, 150, 200, 151, "200 -0.5 0 180"},
      {"three quarters down", 0, 0, 0, 0, 0, 1, 200, 150, 240, 180, "5 -0.5 0 180"},
      {"80 degrees", 0, 0, 0, 0, 0, 1, 200, 150, 230, 160, "6.66666666666667 -0.5 0 280"},
      {"right, off centre", 1, 0, 0, 0, 0, 1, 100, 100, 140, 110, "5 -1 1 300"},
      {"left, the same view", 1, 0, 0, 0, 0, 1, 100, 100, 60, 110, "5 -1 1 300"},
      {"rotation off", 1, 0, 0, 0, 45, 0, 100, 100, 130, 160, "6.66666666666667 -1 1 0"},
      // Cosine of the decimal pi / 2 is not quite 0.
      {"turned view", 1, 2, 0.1, 0.2, 90, 1, 300, 150, 340, 150, "10 -0.4 0.199999999999999 90"},
      // Outside the picture the coordinates go on; the offsets are single precision.
      {"outside", 0, 0, 0, 0, 0, 1, 380, 20, 520, -70,
       "1.42857142857143 -1.79999995231628 -1.79999995231628 154"},
  };
  for (const ReleaseRow& row : rows) {
    SCOPED_TRACE(row.name);
    state.drawing = row.drawing;
    position = {row.numzoom, row.numx, row.numy, row.ct, row.roo};
    press(row.x0, row.y0);
    move((row.x0 + row.x1) / 2, row.y1);
    EXPECT_EQ(shown(release(row.x1, row.y1)), row.shown);
    EXPECT_TRUE(canvas.lastFrameErased());
    EXPECT_EQ(std::tie(state.drawing, state.viewTurn),
              std::tuple(row.drawing == 0 ? 1 : row.drawing, row.roo == 0 ? 0 : row.ct));
  }
}

// A frame 160 wide and 120 high about the press point: 30 down over 80 across turns it a
// quarter turn clockwise, and corner 1 goes from the top left to the top right.
TEST_F(DragSelection, CornersMakeAFourByThreeFrameTurnedClockwise) {
  press(100, 100);
  move(180, 130);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(state.drag.cornerX[i], (std::array{160, 40, 160, 40}[i]), 1e-4) << i + 1;
    EXPECT_NEAR(state.drag.cornerY[i], (std::array{20, 20, 180, 180}[i]), 1e-4) << i + 1;
  }
}

TEST_F(DragSelection, RightPressCancelsAndOnlyAPressStartsASelection) {
  move(10, 10);  // no selection: nothing happens
  press(10, 10, kRightButton);
  EXPECT_FALSE(release(10, 10));
  EXPECT_TRUE(canvas.lines.empty());

  press(100, 100);
  move(150, 120);
  press(150, 120, kRightButton);
  EXPECT_TRUE(canvas.lastFrameErased());
  const std::size_t drawn = canvas.lines.size();
  move(160, 130);
  EXPECT_FALSE(release(150, 120));
  EXPECT_EQ(canvas.lines.size(), drawn);

  press(100, 100);
  move(130, 100);
  press(50, 60, 4);  // a second press leaves the old frame and draws a new one
  EXPECT_EQ(canvas.lines.size(), drawn + 24);
  EXPECT_FALSE(canvas.lastFrameErased());
  EXPECT_TRUE(release(50, 60));
}

}  // namespace
}  // namespace orvane

// The drag selection: frame angle and corners, the press/move/release states, and the view
// the release proposes.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "drag_selection.h"
#include "load_routine.h"
#include "number_text.h"
#include "rotation.h"

namespace orvane {
namespace {

struct RecordingCanvas : FrameCanvas {
  void drawFrameLine(float x1, float y1, float x2, float y2, Colour colour) override {
    lines.push_back({x1, y1, x2, y2});
    EXPECT_EQ(colour, packColour(255, 0, 0));
  }
  std::vector<FrameLine> lines;
};

bool sameLine(const FrameLine& a, const FrameLine& b) {
  return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

class DragSelectionTest : public testing::Test {
 protected:
  void SetUp() override { formLoad(state, dialogs); }

  void press(float x, float y, int button = 1) {
    picMyBmp_MouseDown(state, dialogs.position, canvas, button, x, y);
  }
  void move(float x, float y) { picMyBmp_MouseMove(state, dialogs.position, canvas, x, y); }
  std::optional<PositionTexts> release(float x, float y) {
    return picMyBmp_MouseUp(state, dialogs.position, canvas, x, y);
  }
  std::optional<PositionTexts> gesture(float x0, float y0, float x1, float y1) {
    press(x0, y0);
    move(x1, y1);
    return release(x1, y1);
  }

  ExplorerState state;
  DialogValues dialogs;
  RecordingCanvas canvas;
};

TEST_F(DragSelectionTest, PressStartsASmallUnturnedFrame) {
  press(120, 80);
  const DragSelection& drag = state.drag;
  EXPECT_EQ(drag.dragActive, kTrue);
  EXPECT_EQ(drag.dragX1, 121);
  EXPECT_EQ(drag.dragY1, 80);
  EXPECT_EQ(drag.dragTurn, 0);
  // Half-width 1, half-height 0.75 about the press point; corners 1 and 3 on the upper side.
  EXPECT_EQ(drag.cornerX, (std::array<float, 4>{119, 119, 121, 121}));
  EXPECT_EQ(drag.cornerY, (std::array<float, 4>{79.25f, 80.75f, 79.25f, 80.75f}));
  ASSERT_EQ(canvas.lines.size(), 6u);
  EXPECT_TRUE(sameLine(canvas.lines[4], {119, 79.25f, 120, 80}));  // the V to the press point
}

TEST_F(DragSelectionTest, FrameAngleGrowsWithTheVerticalDistanceAndStopsAtPi) {
  EXPECT_EQ(frameAngle(0, 0, 40, 0, 1), 0);
  EXPECT_FLOAT_EQ(frameAngle(0, 0, 30, 10, 1), static_cast<float>(10.0f / 30 * 4 * kPi / 3));
  // Three quarters of the horizontal distance is a half turn, and more stays there.
  EXPECT_EQ(frameAngle(0, 0, 40, 30, 1), 3.14159265358979f);
  EXPECT_EQ(frameAngle(0, 0, 40, 300, 1), 3.14159265358979f);
  EXPECT_EQ(frameAngle(0, 0, -40, -300, 1), -3.14159265358979f);
  EXPECT_EQ(frameAngle(0, 0, 40, 30, 0), 0);  // rotation by mouse off
}

TEST_F(DragSelectionTest, MovesRedrawTheFrameAndNeverLetItCollapse) {
  move(10, 10);  // no selection: nothing happens
  EXPECT_TRUE(canvas.lines.empty());
  press(100, 100);
  move(140, 100);
  EXPECT_EQ(canvas.lines.size(), 18u);   // drawn, erased, drawn again
  EXPECT_EQ(state.drag.cornerX[0], 60);  // corner 1 lies opposite the pointer
  move(100, 130);                        // in the press column: one pixel to the right
  EXPECT_EQ(state.drag.dragX1, 101);
  EXPECT_EQ(state.drag.dragTurn, 3.14159265358979f);
}

TEST_F(DragSelectionTest, ReleaseAtThePressPointMagnifies200TimesAboutIt) {
  const auto texts = gesture(200, 150, 200, 150);
  ASSERT_TRUE(texts);
  EXPECT_EQ(texts->zoom, "200");
  EXPECT_EQ(texts->x, "-0.5");  // before any dialog: magnification 1, Mandelbrot home centre
  EXPECT_EQ(texts->y, "0");
  EXPECT_EQ(texts->round, "0");
  EXPECT_EQ(state.drag.dragActive, kFalse);
  EXPECT_EQ(state.drawing, formula::kMandelbrot);
  // Erasing draws the last frame again: every line drawn an even number of times.
  EXPECT_EQ(canvas.lines.size() % 12, 0u);
}

TEST_F(DragSelectionTest, APointerStraightBelowTurnsAHalfTurn) {
  EXPECT_EQ(gesture(200, 150, 200, 151)->round, "180");
  EXPECT_EQ(gesture(200, 150, 240, 180)->round, "180");
  EXPECT_EQ(gesture(200, 150, 240, 120)->round, "180");
  EXPECT_EQ(gesture(200, 150, 230, 160)->round, "280");
}

TEST_F(DragSelectionTest, RotationOffNeverTurnsAndProposesZero) {
  dialogs.position.roo = 0;
  dialogs.position.ct = 45;
  const auto texts = gesture(100, 100, 130, 160);
  EXPECT_EQ(state.drag.dragTurn, 0);
  EXPECT_EQ(state.viewTurn, 0);
  EXPECT_EQ(texts->round, "0");
}

TEST_F(DragSelectionTest, LeftAndRightDragsGiveTheSameView) {
  const auto right = gesture(100, 100, 140, 110);
  std::vector<FrameLine> rightFrame(canvas.lines.end() - 6, canvas.lines.end());
  const auto left = gesture(100, 100, 60, 110);
  EXPECT_EQ(right->zoom, left->zoom);
  EXPECT_EQ(right->x, left->x);
  EXPECT_EQ(right->y, left->y);
  EXPECT_EQ(right->round, left->round);
  for (const FrameLine& line : rightFrame) {
    const bool found =
        std::any_of(canvas.lines.end() - 6, canvas.lines.end(), [&](const FrameLine& other) {
          return sameLine(line, other) || sameLine(line, {other.x2, other.y2, other.x1, other.y1});
        });
    EXPECT_TRUE(found);
  }
}

TEST_F(DragSelectionTest, RightPressCancelsAndTheReleaseAfterItDoesNothing) {
  press(100, 100);
  move(150, 120);
  const std::vector<FrameLine> shown(canvas.lines.end() - 6, canvas.lines.end());
  press(150, 120, 2);
  EXPECT_EQ(state.drag.dragActive, kFalse);
  for (int i = 0; i < 6; ++i)
    EXPECT_TRUE(sameLine(canvas.lines[canvas.lines.size() - 6 + i], shown[i]));
  const std::size_t drawn = canvas.lines.size();
  EXPECT_FALSE(release(150, 120));
  press(10, 10, 2);  // a right press with no selection changes nothing
  EXPECT_EQ(canvas.lines.size(), drawn);
}

TEST_F(DragSelectionTest, ASecondPressLeavesTheOldFrameAndStartsANewOne) {
  press(100, 100);
  move(130, 100);
  const std::size_t drawn = canvas.lines.size();
  press(50, 60, 4);  // middle button
  EXPECT_EQ(canvas.lines.size(), drawn + 6);
  EXPECT_EQ(state.drag.dragX0, 50);
}

TEST_F(DragSelectionTest, ReleaseWorksFromTheCurrentTurnedView) {
  dialogs.position.numzoom = 2;
  dialogs.position.numx = 0.1;
  dialogs.position.numy = 0.2;
  dialogs.position.ct = 90;
  const auto texts = gesture(300, 150, 340, 150);
  EXPECT_EQ(state.viewTurn, 90);
  EXPECT_EQ(texts->zoom, "10");
  EXPECT_EQ(texts->x, "-0.4");
  EXPECT_EQ(texts->y, "0.199999999999999");  // cos of the decimal pi / 2 is not quite 0
  EXPECT_EQ(texts->round, "90");             // the frame did not turn: the view keeps its rotation
}

TEST_F(DragSelectionTest, ReleaseOutsideThePictureUsesItsCoordinates) {
  const auto texts = gesture(380, 20, 520, -70);
  EXPECT_EQ(texts->zoom, generalDecimal(200.0 / 140));
  const float u = (200 - 380.0f) / 100;
  const float v = (20 - 150.0f) / 100;
  EXPECT_EQ(texts->x, generalDecimal(-0.5 + v));
  EXPECT_EQ(texts->y, generalDecimal(0 + static_cast<double>(u)));
}

}  // namespace
}  // namespace orvane

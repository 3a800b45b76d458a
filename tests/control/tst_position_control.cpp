// What `lie` shows and commits, the rotation OK stores, the rotation switch, and New.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "load_routine.h"
#include "position_control.h"
#include "rotation.h"
#include "zoom_steps.h"

namespace orvane {
namespace {

class PositionControl : public testing::Test {
 protected:
  void SetUp() override { formLoad(state, dialogs); }

  ExplorerState state;
  DialogValues dialogs;
};

TEST_F(PositionControl, AtStartUpShowsTheMandelbrotHomeView) {
  const PositionTexts texts = prepareLie(state, dialogs.position);
  EXPECT_EQ(texts.zoom, "1");
  EXPECT_EQ(texts.x, "-0.5");
  EXPECT_EQ(texts.y, "0");
  EXPECT_EQ(texts.round, "0");
  EXPECT_EQ(state.drawing, formula::kMandelbrot);
  EXPECT_EQ(state.viewX, -0.5);
  EXPECT_EQ(dialogs.position.numx, 0);  // only the state takes the home centre
  EXPECT_EQ(dialogs.position.numzoom, 0);
}

TEST_F(PositionControl, APendingZoomStepShowsInTheMagnificationAndIsDropped) {
  dialogs.position.numzoom = 8;
  state.zoomDivisor = 2;
  EXPECT_EQ(prepareLie(state, dialogs.position).zoom, "4");
  EXPECT_EQ(state.zoomDivisor, 1);
  EXPECT_EQ(state.viewZoom, 8);  // the confirmed view, committed to the state
}

TEST_F(PositionControl, CommitsTheConfirmedViewAndItsRotation) {
  dialogs.position.numzoom = 3;
  dialogs.position.numx = 0.25;
  dialogs.position.numy = -1.5;
  dialogs.position.ct = -90;
  const PositionTexts texts = prepareLie(state, dialogs.position);
  EXPECT_EQ(texts.zoom, "3");
  EXPECT_EQ(texts.x, "0.25");
  EXPECT_EQ(texts.y, "-1.5");
  EXPECT_EQ(texts.round, "-90");
  EXPECT_EQ(state.viewTurn, -90);
  EXPECT_EQ(state.turnRad, 90.0 / 180 * kPi);
}

TEST_F(PositionControl, ResolvesAPendingFormulaSwitch) {
  dialogs.position.numzoom = 5;
  state.drawing = formula::kPendingJulia;
  PositionTexts texts = prepareLie(state, dialogs.position);
  EXPECT_EQ(state.drawing, formula::kJulia);
  EXPECT_EQ(texts.zoom, "1");
  EXPECT_EQ(texts.x, "0");
  EXPECT_EQ(texts.y, "0");
  EXPECT_EQ(texts.round, "0");

  state.drawing = formula::kPendingMandelbrot;
  state.carryX = -0.8;
  state.carryY = 0.156;
  texts = prepareLie(state, dialogs.position);
  EXPECT_EQ(state.drawing, formula::kMandelbrot);
  EXPECT_EQ(texts.zoom, "1");
  EXPECT_EQ(texts.x, "-0.8");
  EXPECT_EQ(texts.y, "0.156");
}

TEST_F(PositionControl, RotationOffShowsNotInEffect) {
  dialogs.position.roo = 0;
  dialogs.position.ct = 30;
  EXPECT_EQ(prepareLie(state, dialogs.position).round, kRotationOff);
}

TEST(ToggleRotation, SwitchesAndShowsZeroOrNotInEffect) {
  PositionValues position;
  position.ct = 25;
  position.roo = 1;
  EXPECT_EQ(toggleRotation(position), kRotationOff);
  EXPECT_EQ(position.roo, 0);
  EXPECT_EQ(toggleRotation(position), "0");
  EXPECT_EQ(position.roo, 1);
  EXPECT_EQ(position.ct, 25);
}

TEST_F(PositionControl, NewResetsViewFormulaComponentsAndLevelsOnly) {
  state.drawing = formula::kHole;
  dialogs.dimension = {.numDx = 1, .numDy = 2};
  state.dimX = 1;
  dialogs.position.numzoom = 7;
  dialogs.position.numx = 1;
  dialogs.position.numy = 2;
  dialogs.position.ct = 33;
  dialogs.position.roo = 0;
  state.viewTurn = 33;
  dialogs.rendering.dcin = 9;
  state.iterDepth = 2048;
  state.zoomDivisor = 2;
  resetToHome(state, dialogs);
  EXPECT_EQ(state.drawing, formula::kMandelbrot);
  EXPECT_EQ(dialogs.dimension.numDx, 0);
  EXPECT_EQ(dialogs.dimension.numDy, 0);
  EXPECT_EQ(state.dimX, 0);
  EXPECT_EQ(dialogs.position.numzoom, 1);
  EXPECT_EQ(dialogs.position.numx, -0.5);
  EXPECT_EQ(dialogs.position.numy, 0);
  EXPECT_EQ(dialogs.position.ct, 0);
  EXPECT_EQ(state.viewTurn, 0);
  EXPECT_EQ(dialogs.rendering.sldIn, 5);
  EXPECT_EQ(dialogs.rendering.dcin, 5);
  EXPECT_EQ(state.renderOut, 5);
  EXPECT_EQ(dialogs.position.roo, 0);
  EXPECT_EQ(state.iterDepth, 2048);
  EXPECT_EQ(state.zoomDivisor, 2);
}

}  // namespace
}  // namespace orvane

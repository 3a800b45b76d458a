// The zoom steps of the two view menus, seen where they take effect, and New.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "control/zoom_steps.h"
#include "engine/load_routine.h"
#include "view_rows.h"

namespace orvane {
namespace {

// From a confirmed magnification of 8, the position dialog shows the stepped one.
TEST(ZoomSteps, DivideTheNextMagnification) {
  const std::map<std::string_view, std::string> shown = {
      {"mnuZoomOut2", "4"},         {"mnuZoomOut4", "2"}, {"mnuZoomOut16", "0.5"},
      {"mnuZoomOut256", "0.03125"}, {"mnuZoomIn2", "16"}, {"mnuZoomIn4", "32"}};
  ASSERT_EQ(shown.size(), kZoomSteps.size());
  for (const ZoomStep& step : kZoomSteps) {
    ExplorerState state;
    state.zoomDivisor = step.zoomDivisor;
    EXPECT_EQ(prepareLie(state, {8, 0, 0, 0, 1}).zoom, shown.at(step.name)) << step.name;
  }
}

// New goes home and resets the components and levels; options, `roo` and a pending step stay.
TEST(ZoomSteps, NewGoesHomeAndKeepsTheOptionsAndThePendingStep) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  std::tie(state.drawing, state.dimX, state.viewTurn, state.iterDepth, state.zoomDivisor) =
      std::tuple(5, 1, 33, 2048, 2);
  dialogs.dimension = {1, 2};
  dialogs.position = {7, 1, 2, 33, 0};
  dialogs.rendering.dcin = 9;
  resetToHome(state, dialogs);
  const PositionValues& p = dialogs.position;
  EXPECT_EQ(std::tie(p.numzoom, p.numx, p.numy, p.ct, p.roo), std::tuple(1, -0.5, 0, 0, 0));
  EXPECT_EQ(std::tie(state.drawing, state.viewZoom, state.viewX, state.viewTurn, state.dimX,
                     dialogs.dimension.numDx, dialogs.dimension.numDy),
            std::tuple(1, 1, -0.5, 0, 0, 0, 0));
  EXPECT_EQ(std::tie(dialogs.rendering.dcin, state.renderOut, state.iterDepth, state.zoomDivisor),
            std::tuple(5, 5, 2048, 2));
}

}  // namespace
}  // namespace orvane

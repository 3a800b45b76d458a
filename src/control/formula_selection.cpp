// Formula selection: the Mandelbrot, Julia and Hole commands of the Scheme menu.
#include "control/formula_selection.h"

#include "control/position_control.h"
#include "engine/number_text.h"

namespace orvane {

namespace {

bool isJulia(std::int16_t drawing) {
  return drawing == formula::kJulia || drawing == formula::kPendingJulia;
}

bool isMandelbrot(std::int16_t drawing) {
  return drawing == formula::kMandelbrot || drawing == formula::kPendingMandelbrot;
}

bool isNoneOrHole(std::int16_t drawing) {
  return drawing == formula::kNone || drawing == formula::kHole;
}

}  // namespace

DimensionTexts mandelBeforeDialog(ExplorerState& state, DialogValues& dialogs) {
  const DimensionValues& dimension = dialogs.dimension;
  state.dimX = dimension.numDx;
  state.dimY = dimension.numDy;
  if (isJulia(state.drawing)) {
    state.drawing = formula::kPendingMandelbrot;
    state.carryX = dimension.numDx;
    state.carryY = dimension.numDy;
    state.dimX = 0;
    state.dimY = 0;
  }
  if (isNoneOrHole(state.drawing)) {
    state.dimX = 0;
    state.dimY = 0;
    state.drawing = formula::kMandelbrot;
    setHomeView(state, dialogs.position);
  }
  return {generalDecimal(state.dimX), generalDecimal(state.dimY)};
}

void mandelAfterDialog(ExplorerState& state, DialogValues& dialogs) {
  if (dialogs.dimension.numDx != state.dimX || dialogs.dimension.numDy != state.dimY) {
    setHomeView(state, dialogs.position);
  }
}

DimensionTexts juliaBeforeDialog(ExplorerState& state, DialogValues& dialogs) {
  state.constX = dialogs.dimension.numDx;
  state.constY = dialogs.dimension.numDy;
  if (isMandelbrot(state.drawing)) {
    if (state.dimX == 0 && state.dimY == 0) {
      state.constX = state.viewX;
      state.constY = state.viewY;
    } else {
      state.constX = 0.25;
      state.constY = 0;
    }
    state.drawing = formula::kPendingJulia;
  }
  if (isNoneOrHole(state.drawing)) {
    state.constX = 0.25;
    state.constY = 0;
    state.drawing = formula::kJulia;
    setView(state, dialogs.position, 1.5, 0, 0);
  }
  return {generalDecimal(state.constX), generalDecimal(state.constY)};
}

void juliaAfterDialog(ExplorerState& state, DialogValues& dialogs) {
  if (dialogs.dimension.numDx != state.constX || dialogs.dimension.numDy != state.constY) {
    setView(state, dialogs.position, 1, 0, 0);
  }
}

void chooseHole(ExplorerState& state, DialogValues& dialogs) {
  if (state.drawing != formula::kHole) setView(state, dialogs.position, 1, 0, 0);
  state.drawing = formula::kHole;
}

}  // namespace orvane

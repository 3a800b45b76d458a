// The position control: what `lie` puts in the position dialog's boxes, and what OK takes
// from them.
#include "control/position_control.h"

#include "engine/number_text.h"
#include "engine/rotation.h"
#include "engine/state_defaults.h"

namespace orvane {

PositionTexts viewTexts(double magnification, double centreX, double centreY,
                        long rotationDegrees) {
  return {generalDecimal(magnification), generalDecimal(centreX), generalDecimal(centreY),
          std::to_string(rotationDegrees)};
}

void setView(ExplorerState& state, PositionValues& position, double m, double x, double y) {
  position.numzoom = m;
  position.numx = x;
  position.numy = y;
  position.ct = 0;
  state.viewZoom = m;
  state.viewX = x;
  state.viewY = y;
  state.viewTurn = 0;
}

void setHomeView(ExplorerState& state, PositionValues& position) {
  setView(state, position, kDefaultZoom, kMandelbrotHomeX, 0);
}

PositionTexts prepareLie(ExplorerState& state, const PositionValues& position) {
  state.viewZoom = position.numzoom;
  state.viewX = position.numx;
  state.viewY = position.numy;
  state.viewTurn = position.ct;
  state.viewZoom = zoomRead(state.viewZoom);
  state.zoomDivisor = zoomRead(state.zoomDivisor);
  state.drawing = formulaRead(state.drawing);
  // Only the state moves to the home centre, not `numx`.
  if (isUnmovedMandelbrotHome(state.drawing, state.viewZoom, state.viewX, state.viewY))
    state.viewX = kMandelbrotHomeX;
  PositionTexts texts =
      viewTexts(state.viewZoom / state.zoomDivisor, state.viewX, state.viewY, state.viewTurn);
  state.zoomDivisor = 1;
  state.turnRad = turnRadians(state.viewTurn);
  if (state.drawing == formula::kPendingJulia) {
    state.drawing = formula::kJulia;
    texts = viewTexts(1, 0, 0, 0);
  }
  if (state.drawing == formula::kPendingMandelbrot) {
    state.drawing = formula::kMandelbrot;
    texts = viewTexts(1, state.carryX, state.carryY, 0);
  }
  if (position.roo == 0) texts.round = kRotationOff;
  return texts;
}

std::string toggleRotation(PositionValues& position) {
  position.roo = static_cast<std::int16_t>(1 - position.roo);
  return position.roo == 1 ? "0" : kRotationOff;
}

}  // namespace orvane

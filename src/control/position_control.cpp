// The position control: what `lie` puts in the position dialog's boxes, and what OK takes
// from them.
#include "position_control.h"

#include "number_text.h"
#include "rotation.h"

namespace orvane {

PositionTexts prepareLie(ExplorerState& state, const PositionValues& position) {
  state.viewZoom = position.numzoom;
  state.viewX = position.numx;
  state.viewY = position.numy;
  state.viewTurn = position.ct;
  if (state.viewZoom == 0) state.viewZoom = 1;
  if (state.zoomDivisor == 0) state.zoomDivisor = 1;
  if (state.drawing == formula::kNone) state.drawing = formula::kMandelbrot;
  if (state.drawing == formula::kMandelbrot && state.viewX == 0 && state.viewY == 0 &&
      state.viewZoom == 1) {
    state.viewX = -0.5;
  }
  PositionTexts texts{.zoom = generalDecimal(state.viewZoom / state.zoomDivisor),
                      .x = generalDecimal(state.viewX),
                      .y = generalDecimal(state.viewY),
                      .round = std::to_string(state.viewTurn)};
  state.zoomDivisor = 1;
  state.turnRad = turnRadians(state.viewTurn);
  if (state.drawing == formula::kPendingJulia) {
    state.drawing = formula::kJulia;
    texts = {"1", "0", "0", "0"};
  }
  if (state.drawing == formula::kPendingMandelbrot) {
    state.drawing = formula::kMandelbrot;
    texts = {"1", generalDecimal(state.carryX), generalDecimal(state.carryY), "0"};
  }
  if (position.roo == 0) texts.round = kRotationOff;
  return texts;
}

std::string toggleRotation(PositionValues& position) {
  position.roo = static_cast<std::int16_t>(1 - position.roo);
  return position.roo == 1 ? "0" : kRotationOff;
}

}  // namespace orvane

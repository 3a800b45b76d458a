// The drag selection on the picture: a press fixes the new centre, the drag draws a turned
// 4:3 frame, the release works out the next view for the position dialog.
#include "navigation/drag_selection.h"

#include <cmath>

#include "engine/rotation.h"
#include "engine/state_defaults.h"

namespace orvane {

namespace {

constexpr float kSinglePi = 3.14159265358979f;  // the limit of the frame's turn
constexpr Colour kFrameColour = packColour(255, 0, 0);

void drawFrame(const DragSelection& drag, FrameCanvas& canvas) {
  for (const FrameLine& line : frameLines(drag))
    canvas.drawFrameLine(line.x1, line.y1, line.x2, line.y2, kFrameColour);
}

// The pointer becomes the frame's far point; a pointer in the press column counts as one
// pixel to its right, so the frame never has zero width.
void followPointer(DragSelection& drag, std::int16_t roo, float x, float y) {
  drag.dragX1 = x;
  drag.dragY1 = y;
  if (x == drag.dragX0) drag.dragX1 = drag.dragX0 + 1;
  drag.dragTurn = frameAngle(drag.dragX0, drag.dragY0, drag.dragX1, drag.dragY1, roo);
  placeCorners(drag);
}

// Rounded to the nearest integer, halves to even, as the 32-bit integer the angle needs.
long roundHalfEven(double value) {
  return std::lrint(value);
}

}  // namespace

float frameAngle(float x0, float y0, float x1, float y1, std::int16_t roo) {
  double theta = (y1 - y0) / std::fabs(x1 - x0) * 4 * kPi / 3;
  if (theta > kSinglePi) theta = kSinglePi;
  if (theta < -kSinglePi) theta = -kSinglePi;
  if (roo == 0) theta = 0;
  return static_cast<float>(theta);
}

void placeCorners(DragSelection& drag) {
  const float d = drag.dragX0 - drag.dragX1;
  const double q = 0.75 * std::fabs(d);
  const double c = std::cos(static_cast<double>(drag.dragTurn));
  const double s = std::sin(static_cast<double>(drag.dragTurn));
  const float x0 = drag.dragX0;
  const float y0 = drag.dragY0;
  drag.cornerX = {static_cast<float>(x0 + c * d + s * q), static_cast<float>(x0 + c * d - s * q),
                  static_cast<float>(x0 - c * d + s * q), static_cast<float>(x0 - c * d - s * q)};
  drag.cornerY = {static_cast<float>(y0 + s * d - c * q), static_cast<float>(y0 + s * d + c * q),
                  static_cast<float>(y0 - s * d - c * q), static_cast<float>(y0 - s * d + c * q)};
}

std::array<FrameLine, 6> frameLines(const DragSelection& drag) {
  const auto& x = drag.cornerX;
  const auto& y = drag.cornerY;
  return {{{x[0], y[0], x[1], y[1]},
           {x[3], y[3], x[1], y[1]},
           {x[0], y[0], x[2], y[2]},
           {x[2], y[2], x[3], y[3]},
           {x[0], y[0], drag.dragX0, drag.dragY0},
           {x[2], y[2], drag.dragX0, drag.dragY0}}};
}

// A left or middle press starts a selection (a frame still shown from an earlier press
// stays); a right press cancels one. The picture's image is always retained, so the switch
// to persistent drawing has nothing left to do.
void picMyBmp_MouseDown(ExplorerState& state, const PositionValues& position, FrameCanvas& canvas,
                        int button, float x, float y) {
  DragSelection& drag = state.drag;
  if ((button & kRightButton) == 0) {
    drag.dragX0 = x;
    drag.dragY0 = y;
    drag.dragY1 = y;
    drag.dragX1 = x + 1;
    drag.dragActive = kTrue;
    drag.dragTurn = frameAngle(drag.dragX0, drag.dragY0, drag.dragX1, drag.dragY1, position.roo);
    placeCorners(drag);
    drawFrame(drag, canvas);
  } else if (drag.dragActive == kTrue) {
    drawFrame(drag, canvas);
    drag.dragActive = kFalse;
  }
}

void picMyBmp_MouseMove(ExplorerState& state, const PositionValues& position, FrameCanvas& canvas,
                        float x, float y) {
  DragSelection& drag = state.drag;
  if (drag.dragActive == kFalse) return;
  drawFrame(drag, canvas);
  followPointer(drag, position.roo, x, y);
  drawFrame(drag, canvas);
}

std::optional<ProposedView> picMyBmp_MouseUp(ExplorerState& state, const PositionValues& position,
                                             FrameCanvas& canvas, float x, float y) {
  DragSelection& drag = state.drag;
  if (drag.dragActive == kFalse) return std::nullopt;
  drag.dragActive = kFalse;
  drawFrame(drag, canvas);
  followPointer(drag, position.roo, x, y);

  // Half the picture's width over the frame's half-width: the frame fills the picture.
  const double f = static_cast<double>(kPictureWidth / 2) / std::fabs(drag.dragX0 - drag.dragX1);
  double X = position.numx;
  const double Y = position.numy;
  double Z = position.numzoom;
  state.viewTurn = position.roo == 0 ? std::int16_t{0} : position.ct;
  Z = zoomRead(Z);
  state.drawing = formulaRead(state.drawing);
  if (isUnmovedMandelbrotHome(state.drawing, Z, X, Y)) X = kMandelbrotHomeX;

  // The plane point the current view shows at the press pixel: the pass's mapping, with the
  // offsets from the centre taken in single precision.
  const double t = static_cast<double>(state.viewTurn) / 180 * kPi;
  const float u = (kPictureCentreX - drag.dragX0) / kPixelsPerUnit;
  const float v = (drag.dragY0 - kPictureCentreY) / kPixelsPerUnit;
  const double deltaY = (u * std::cos(t) - v * std::sin(t)) / Z;
  const double deltaX = (v * std::cos(t) + u * std::sin(t)) / Z;
  // The turn that brings the side marked by the V to the top.
  const long k = roundHalfEven(drag.dragTurn / kPi * 180 - state.viewTurn);

  return ProposedView{.magnification = Z * f,
                      .centreX = X + deltaX,
                      .centreY = Y + deltaY,
                      .rotationDegrees = static_cast<int>((360 - k) % 360)};
}

}  // namespace orvane

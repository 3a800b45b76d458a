// The drag selection on the picture: a press fixes the new centre, the drag draws a turned
// 4:3 frame, the release works out the next view for the position dialog.
#pragma once

#include <array>
#include <optional>

#include "engine/colour.h"
#include "engine/explorer_state.h"

namespace orvane {

// Where the frame is drawn: the picture, in its current pen mode.
class FrameCanvas {
 public:
  virtual ~FrameCanvas() = default;
  virtual void drawFrameLine(float x1, float y1, float x2, float y2, Colour colour) = 0;
};

// The frame's turn for the pointer (x1, y1) against the press point (x0, y0), radians:
// (y1 - y0) / |x1 - x0| * 4 * pi / 3, held to +-pi (single precision), 0 while rotation by
// mouse (`roo`) is off.
float frameAngle(float x0, float y0, float x1, float y1, std::int16_t roo);

// Works out the corners of the frame for the selection's points and turn.
void placeCorners(DragSelection& drag);

// The six lines of the frame as they are drawn: the rectangle, then a V from corners 1 and 3
// to the press point marking the side that will be at the top.
struct FrameLine {
  float x1, y1, x2, y2;
};
std::array<FrameLine, 6> frameLines(const DragSelection& drag);

// Mouse button bits as the picture reports them.
inline constexpr int kRightButton = 2;

// The view a release proposes: what the position dialog's four boxes then show.
struct ProposedView {
  double magnification = 0;
  double centreX = 0;
  double centreY = 0;
  int rotationDegrees = 0;  // -359 to 359
};

// The picture's mouse handlers. `state.drag` holds the selection; `position` is the position
// dialog's public values. A release that ends a selection sets `viewTurn` and `drawing` and
// returns the view it proposes; the caller puts it in the dialog's boxes and shows it.
void picMyBmp_MouseDown(ExplorerState& state, const PositionValues& position, FrameCanvas& canvas,
                        int button, float x, float y);
void picMyBmp_MouseMove(ExplorerState& state, const PositionValues& position, FrameCanvas& canvas,
                        float x, float y);
std::optional<ProposedView> picMyBmp_MouseUp(ExplorerState& state, const PositionValues& position,
                                             FrameCanvas& canvas, float x, float y);

}  // namespace orvane

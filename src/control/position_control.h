// The position control: what `lie` puts in the position dialog's boxes, and what OK takes
// from them. The dialog window itself is `PositionDialog`.
#pragma once

#include <optional>
#include <string>

#include "engine/explorer_state.h"

namespace orvane {

// The texts of the dialog's four boxes.
struct PositionTexts {
  std::string zoom;   // txtZoom
  std::string x;      // txtX
  std::string y;      // txtY
  std::string round;  // txtRound
};

// What the rotation box shows while rotation by mouse is off: "not in effect".
inline constexpr char kRotationOff[] = "无效";

// The boxes' texts for a view: the numbers in the general decimal form, the rotation as a
// plain integer. `lie` and the mouse release both fill the dialog through this.
PositionTexts viewTexts(double magnification, double centreX, double centreY, long rotationDegrees);

// Setting the view to (m, x, y) with rotation 0: the position dialog's values, then the
// state's.
void setView(ExplorerState& state, PositionValues& position, double m, double x, double y);
// The Mandelbrot home view (1, -0.5, 0).
void setHomeView(ExplorerState& state, PositionValues& position);

// Steps 1 to 10 of `lie`: takes the dialog's public values into the state (a pending zoom
// step shows in the magnification and is then dropped; a pending formula switch is
// resolved) and returns the texts the boxes show.
PositionTexts prepareLie(ExplorerState& state, const PositionValues& position);

// `cmdRoo`: switches rotation by mouse and returns what the rotation box shows now.
std::string toggleRotation(PositionValues& position);

}  // namespace orvane

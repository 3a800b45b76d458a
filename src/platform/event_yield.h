// The engine's yield on the Qt event loop.
#pragma once

#include "engine/drawing_surface.h"

namespace orvane {

class PictureBox;

// One turn of the event loop: shows what was drawn on `picture` since the last turn, then
// serves the pending input and painting, so menus, buttons and the mouse work mid-pass.
YieldFunction eventLoopYield(PictureBox& picture);

}  // namespace orvane

// What the engine needs from the picture it draws on, and from the event loop.
#pragma once

#include <functional>

#include "engine/colour.h"

namespace orvane {

enum class PenMode {
  copy,    // a pixel or line takes the colour
  invert,  // drawing inverts what is there, so drawing the same line twice restores it
};

enum class Pointer { normal, hourglass, crosshair, hand };

// The 400 x 300 picture: the engine reaches the screen only through this.
class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;
  virtual void setPixel(int x, int y, Colour colour) = 0;
  virtual void setPenMode(PenMode mode) = 0;
  virtual void setPointer(Pointer pointer) = 0;
  // No switch for a retained image: every surface keeps its picture and repaints from it,
  // so the pass and the press have nothing to switch on.
};

// One turn of the event loop: pending input and painting are processed, then it returns.
using YieldFunction = std::function<void()>;

}  // namespace orvane

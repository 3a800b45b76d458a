// A drawing surface held in memory, for headless rendering and tests.
#pragma once

#include <vector>

#include "engine/drawing_surface.h"

namespace orvane {

class MemorySurface : public DrawingSurface {
 public:
  MemorySurface(int width, int height, Colour background = 0);

  void setPixel(int x, int y, Colour colour) override;
  void setPenMode(PenMode mode) override { penMode_ = mode; }
  void setPointer(Pointer pointer) override { pointer_ = pointer; }

  int width() const { return width_; }
  int height() const { return height_; }
  Colour pixel(int x, int y) const { return pixels_[index(x, y)]; }
  const std::vector<Colour>& pixels() const { return pixels_; }
  PenMode penMode() const { return penMode_; }
  Pointer pointer() const { return pointer_; }

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_;
  int height_;
  std::vector<Colour> pixels_;
  PenMode penMode_ = PenMode::invert;
  Pointer pointer_ = Pointer::normal;
};

}  // namespace orvane

// A drawing surface held in memory, for headless rendering and tests.
#include "engine/memory_surface.h"

namespace orvane {

MemorySurface::MemorySurface(int width, int height, Colour background)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background) {}

void MemorySurface::setPixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Colour& target = pixels_[index(x, y)];
  target = penMode_ == PenMode::copy ? colour : (target ^ kWhite);
}

}  // namespace orvane

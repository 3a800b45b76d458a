// The 24-bit colour value the engine hands to the drawing surface.
#pragma once

#include <algorithm>
#include <cstdint>

namespace orvane {

// Red in the lowest byte, then green, then blue.
using Colour = std::uint32_t;

inline constexpr Colour kWhite = 0xFFFFFF;

// Packs three channel levels; a level above 255 counts as 255.
constexpr Colour packColour(int red, int green, int blue) {
  const auto channel = [](int level) { return static_cast<Colour>(std::clamp(level, 0, 255)); };
  return channel(red) | channel(green) << 8 | channel(blue) << 16;
}

constexpr int redOf(Colour c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(Colour c) {
  return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int blueOf(Colour c) {
  return static_cast<int>(c >> 16 & 0xFF);
}

}  // namespace orvane

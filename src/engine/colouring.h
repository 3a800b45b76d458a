// The colouring: the result of one point's iteration becomes a 24-bit colour.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/colour.h"
#include "engine/point_settings.h"

namespace orvane {

// What the iteration of one point hands to the colouring.
struct PointResult {
  int n = 0;             // escape count: steps performed minus one
  bool reached = false;  // n equals the depth: the point counts as inside
  double m = 0;          // squared modulus of z before the last step
  double q = 0;          // squared modulus of z after the last step
};

// The colour settings of a snapshot, with the 16-bit products formed once.
struct ColourSetup {
  std::int16_t formula = formula::kMandelbrot;
  std::int16_t mode = colour_mode::kRgb;
  int depth = 64;
  double escape = 4;
  double zoom = 1;  // viewZoom / zoomDivisor
  int inner = 5;    // Ri
  int outer = 5;    // Ro
  int outerSquared = 25;
  int twiceOuter = 10;
  int thriceOuter = 15;
  int cr = 0;
  int cg = 0;
  int cb = 0;
};

ColourSetup prepareColourSetup(const PointSettings& settings, int depth);

// The fold of a channel value x: x to the nearest 32-bit integer v (halves to even), then
// |256 - v mod 512| with a truncated remainder, a level from 0 to 767. Empty when x is not
// finite or has no 32-bit neighbour.
std::optional<int> foldLevel(double x);

Colour colourOf(const ColourSetup& setup, const PointResult& point);

// Whether a point that reached the depth gets the same colour for every q in [qLow, qHigh]
// (0 <= qLow <= qHigh): the inside colour then needs only bounds on q, not q itself.
bool insideColourSteady(const ColourSetup& setup, double qLow, double qHigh);

}  // namespace orvane

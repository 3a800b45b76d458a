// One point, evaluated plainly: the pixel mapping and the three formulas' iterations.
#pragma once

#include <cstdint>

#include "engine/colouring.h"
#include "engine/point_settings.h"
#include "engine/random_sequence.h"

namespace orvane {

struct Complex {
  double re = 0;
  double im = 0;
};

// The plane point under pixel (x, y): the centre is the picture's centre pixel, one unit is
// `kPixelsPerUnit` pixels at magnification 1, and rotation 0 runs the real axis down the
// picture. A larger picture (the setup's frame) divides its distances from its centre by its
// scale first.
Complex mapPixel(int x, int y, const PointSetup& setup);

// The first half of that mapping: pixel (x, y)'s turned distance from the picture's centre in
// plane units at magnification 1, before the magnification divides it and the centre is added.
Complex turnedOffset(int x, int y, const PointSetup& setup);

// The escape test of step n of a quadratic orbit whose squared modulus is now q: q rounded to
// a 32-bit float against the threshold, which the jitter moves by drawing number
// `randomBase + n`. A q that is not a number (an overflowed orbit) counts as escaped.
// Inline: it runs once per step of every orbit, the deep-zoom ones included.
inline bool escapedAt(double q, int n, const PointSetup& setup, std::uint64_t randomBase) {
  double threshold = setup.threshold;
  if (setup.jittered) {
    threshold = setup.thresholdAt(RandomSequence::at(randomBase + static_cast<std::uint64_t>(n)));
  }
  return !(static_cast<double>(static_cast<float>(q)) <= threshold);
}

// z <- z^2 + c from z0 until the escape test or the depth stops it. Step s draws random
// number `randomBase + s` when the threshold is jittered.
PointResult iterateQuadratic(Complex z0, Complex c, const PointSetup& setup,
                             std::uint64_t randomBase);

// Where every orbit of the Hole starts.
inline constexpr Complex kHoleStart = {0.0625, 0.0625};

// z <- sqrt(z) + c from z0 = kHoleStart.
PointResult iterateHole(Complex c, const PointSetup& setup);

// Mapping and iteration of pixel (x, y) for the setup's formula.
PointResult iteratePixel(int x, int y, const PointSetup& setup, std::uint64_t randomBase);

}  // namespace orvane

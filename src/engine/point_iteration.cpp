// One point, evaluated plainly: the pixel mapping and the three formulas' iterations.
//
// This is the reference every faster path must equal bit for bit: every term is evaluated in
// double in the order the formulas are written, with no fused multiply-add (the engine is
// compiled with -ffp-contract=off).
#include "engine/point_iteration.h"

#include <cmath>

#include "engine/random_sequence.h"

namespace orvane {

Complex turnedOffset(int x, int y, const PointSetup& setup) {
  const PictureFrame& frame = setup.frame;
  double u = y - frame.centreY;
  double v = x - frame.centreX;
  if (frame.scale != 1) {
    u = u / frame.scale;
    v = v / frame.scale;
  }
  return {(u * setup.cosTurn + v * setup.sinTurn) / kPixelsPerUnit,
          (u * setup.sinTurn - v * setup.cosTurn) / kPixelsPerUnit};
}

Complex mapPixel(int x, int y, const PointSetup& setup) {
  const Complex offset = turnedOffset(x, y, setup);
  const PointSettings& s = setup.settings;
  return {offset.re / s.viewZoom + s.viewX, offset.im / s.viewZoom + s.viewY};
}

PointResult iterateQuadratic(Complex z0, Complex c, const PointSetup& setup,
                             std::uint64_t randomBase) {
  double a = z0.re;
  double b = z0.im;
  double sqA = a * a;
  double sqB = b * b;
  PointResult result;
  for (int n = 0;; ++n) {
    result.m = sqA + sqB;
    const double bNext = 2 * b * a + c.im;  // (2b)a: 2(ba) would round differently below 2^-1022
    const double aNext = sqA - sqB + c.re;
    a = aNext;
    b = bNext;
    sqA = a * a;
    sqB = b * b;
    result.q = sqA + sqB;
    if (n == setup.depth || escapedAt(result.q, n, setup, randomBase)) {
      result.n = n;
      result.reached = n == setup.depth;
      return result;
    }
  }
}

PointResult iterateHole(Complex c, const PointSetup& setup) {
  double x = kHoleStart.re;
  double y = kHoleStart.im;
  double sqX = x * x;
  double sqY = y * y;
  double sum = x * x + y * y;
  PointResult result;
  for (int n = 0;; ++n) {
    result.m = sum;
    // z' = sqrt(z) + c with the root whose imaginary part is not negative. On the
    // non-negative real axis s is 0 and the step divides by it: the non-finite sum then
    // counts as escaped below.
    const double s = std::sqrt((std::sqrt(sqY + sqX) - x) / 2);
    const double xNext = y / 2 / s + c.re;
    const double yNext = s + c.im;
    x = xNext;
    y = yNext;
    sqX = x * x;
    sqY = y * y;
    sum = sqY + sqX;
    result.q = sum;
    result.n = n;
    if (n == setup.depth) {
      result.reached = true;
      return result;
    }
    if (!(sum <= setup.holeBound)) return result;
  }
}

PointResult iteratePixel(int x, int y, const PointSetup& setup, std::uint64_t randomBase) {
  const PointSettings& s = setup.settings;
  const Complex p = mapPixel(x, y, setup);
  switch (s.formula) {
    case formula::kJulia:
      return iterateQuadratic(p, {s.juliaX, s.juliaY}, setup, randomBase);
    case formula::kHole:
      return iterateHole(p, setup);
    default:
      return iterateQuadratic({s.dimX, s.dimY}, p, setup, randomBase);
  }
}

}  // namespace orvane

// The colouring: the result of one point's iteration becomes a 24-bit colour.
#include "engine/colouring.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace orvane {

namespace {

// The three channel values before the fold (grey uses red alone).
struct ChannelValues {
  double red;
  double green;
  double blue;
};

// The inside colours' phase, whose fractional part they take; not for the Hole.
double insidePhase(const ColourSetup& s, double q) {
  if (s.formula == formula::kJulia) return s.depth * q / s.escape;
  return std::sqrt(s.zoom) * q / s.escape / s.escape;
}

ChannelValues insideValues(const ColourSetup& s, double q) {
  const bool grey = s.mode == colour_mode::kGrey;
  if (s.formula == formula::kJulia) {
    const double t = insidePhase(s, q);
    const double f = t - std::floor(t);
    const double k = 800 * f * s.inner * s.inner;
    if (grey) return {3 * k + 32, 0, 0};
    return {3 * k + s.cr + 16, k + s.cg - 64, 2 * k + s.cb + 96};
  }
  double k;
  if (s.formula == formula::kHole) {
    // A 16-bit product in the original sizes; exact here for any depth.
    k = static_cast<double>(s.inner) * s.depth;
  } else {
    const double t = insidePhase(s, q);
    const double f = t - std::floor(t);
    k = f * 200 * s.depth * s.inner;
  }
  if (grey) return {3 * k + 32, 0, 0};
  return {3 * k + s.cr, k + s.cg, 2 * k + s.cb};
}

ChannelValues outsideValues(const ColourSetup& s, int n, double m) {
  const bool grey = s.mode == colour_mode::kGrey;
  const double ro = s.outer;
  if (s.formula == formula::kHole) {
    const double h = (16 * m + n) * s.outerSquared;
    if (grey) return {h + ro + 96, 0, 0};
    return {2 * h + s.thriceOuter + s.cr, 3 * h + ro + s.cg - 96, h + s.twiceOuter + s.cb + 32};
  }
  const double w = (0.15 - 0.15 * m / s.escape) * ro * ro + n;
  const double ro2 = s.outerSquared;
  if (grey) return {w * ro2 + ro + 96, 0, 0};
  if (s.formula == formula::kJulia) {
    // Green and blue take w * Ro here, not w * Ro^2.
    return {2 * w * ro2 + s.thriceOuter + s.cr, 3 * w * ro + ro + s.cg - 96,
            w * ro + s.twiceOuter + s.cb + 32};
  }
  return {2 * w * ro2 + s.thriceOuter + s.cr, 3 * w * ro2 + ro + s.cg - 96,
          w * ro2 + s.twiceOuter + s.cb + 32};
}

// Exactly the values that round to a 32-bit integer (halves to even at both ends).
bool hasInteger(double x) {
  return x >= -2147483648.5 && x < 2147483647.5;
}

// The fold of a value known to have a 32-bit integer.
int foldInteger(double x) {
  const long v = std::lrint(x);  // the default rounding mode: nearest, halves to even
  return static_cast<int>(std::labs(256 - v % 512));
}

// Folds and packs; empty when a channel value has no 32-bit integer.
std::optional<Colour> fold(const ColourSetup& s, const ChannelValues& x) {
  if (s.mode == colour_mode::kGrey) {
    if (!hasInteger(x.red)) return std::nullopt;
    const int level = foldInteger(x.red);
    return packColour(level, level, level);
  }
  if (!(hasInteger(x.red) && hasInteger(x.green) && hasInteger(x.blue))) return std::nullopt;
  return packColour(foldInteger(x.red), foldInteger(x.green), foldInteger(x.blue));
}

}  // namespace

ColourSetup prepareColourSetup(const PointSettings& settings, int depth) {
  ColourSetup s;
  s.formula = settings.formula;
  s.mode = settings.colorMode;
  s.depth = depth;
  s.escape = settings.escapeValue;
  s.zoom = settings.viewZoom / settings.zoomDivisor;
  s.inner = settings.renderIn;
  s.outer = settings.renderOut;
  s.outerSquared = s.outer * s.outer;
  s.twiceOuter = 2 * s.outer;
  s.thriceOuter = 3 * s.outer;
  s.cr = settings.colr;
  s.cg = settings.colg;
  s.cb = settings.colb;
  return s;
}

std::optional<int> foldLevel(double x) {
  if (!hasInteger(x)) return std::nullopt;
  return foldInteger(x);
}

Colour colourOf(const ColourSetup& s, const PointResult& point) {
  if (s.mode == colour_mode::kTwoColour) {
    if (point.reached) return kWhite;
    const int level = 255 * (point.n % 2);
    return packColour(level, level, level);
  }
  const ChannelValues x =
      point.reached ? insideValues(s, point.q) : outsideValues(s, point.n, point.m);
  if (const std::optional<Colour> colour = fold(s, x)) return *colour;
  // A value without a defined colour (an overflowed orbit, the square root of a negative
  // magnification, a huge start value): the point is coloured as an escaped point, with
  // m = 0 where m itself is unusable, so the pass always has a colour to set.
  const double m = std::isfinite(point.m) ? point.m : 0.0;
  if (const std::optional<Colour> colour = fold(s, outsideValues(s, point.n, m))) return *colour;
  // Only levels far beyond the sliders' range get here; black keeps the pass going.
  return fold(s, outsideValues(s, point.n, 0.0)).value_or(0);
}

bool insideColourSteady(const ColourSetup& s, double qLow, double qHigh) {
  if (s.mode == colour_mode::kTwoColour || s.formula == formula::kHole) return true;
  if (!(qLow >= 0 && qLow <= qHigh)) return false;
  // The channels are monotonic in q while the fractional part f of t does not wrap, t being
  // monotonic in q; the rounding to integers is monotonic too, so equal integers at both ends
  // hold all the way between them.
  // Past 2^52 every double is an integer: f is 0 all the way.
  const double tLow = insidePhase(s, qLow);
  const double tHigh = insidePhase(s, qHigh);
  const bool integral =
      std::abs(tLow) >= 0x1p52 && std::abs(tHigh) >= 0x1p52 && (tLow < 0) == (tHigh < 0);
  if (!integral && !(std::floor(tLow) == std::floor(tHigh))) return false;
  const ChannelValues low = insideValues(s, qLow);
  const ChannelValues high = insideValues(s, qHigh);
  for (const auto& [a, b] : {std::pair{low.red, high.red}, std::pair{low.green, high.green},
                             std::pair{low.blue, high.blue}}) {
    if (!hasInteger(a) || !hasInteger(b) || std::lrint(a) != std::lrint(b)) return false;
  }
  return true;
}

}  // namespace orvane

// Everything the colour of one point depends on, taken from the explorer state and dialogs.
#pragma once

#include <cstdint>

#include "engine/explorer_state.h"
#include "engine/state_defaults.h"

namespace orvane {

// The fields the render pass reads for every point. Handlers run only at the pass's yields,
// so the pass takes one snapshot after each yield; while it stays equal, colours computed
// ahead of the drawing are exactly the ones a point-by-point reading would give.
struct PointSettings {
  std::int16_t formula = formula::kMandelbrot;  // chosen at the pass's start
  double viewZoom = kDefaultZoom;
  double viewX = 0;
  double viewY = 0;
  double turnRad = 0;
  double dimX = 0;  // Mandelbrot z0
  double dimY = 0;
  double juliaX = 0;  // Julia constant, read from the dimension dialog
  double juliaY = 0;
  int iterDepth = kDefaultDepth;  // the window's 16-bit depth, or a poster's deeper one
  std::int16_t escapeValue = kDefaultEscape;
  float jitterLow = kDefaultJitter;
  float jitterHigh = kDefaultJitter;
  std::int16_t colorMode = kDefaultColourMode;
  std::int16_t renderIn = kHomeRenderingLevel;
  std::int16_t renderOut = kHomeRenderingLevel;
  std::int16_t colr = 0;
  std::int16_t colg = 0;
  std::int16_t colb = 0;
  double zoomDivisor = kDefaultZoom;  // the colouring's magnification is viewZoom / zoomDivisor

  bool operator==(const PointSettings&) const = default;
};

PointSettings capturePointSettings(const ExplorerState& state, const DialogValues& dialogs,
                                   std::int16_t drawing);

// The picture the pixels belong to: the pixel at the centre of the view, and how many of its
// pixels stand for one of the window's (a poster keeps the window's framing at any size).
struct PictureFrame {
  double centreX = kPictureCentreX;
  double centreY = kPictureCentreY;
  double scale = 1;
};

// Where the escape test of |z|^2 = q can go either way. A jittered threshold is monotonic in
// the draw r, so every threshold lies between its values at r = 0 and r = 1; the bounds are
// those ends as bounds on q, the test's rounding of q to a float included. A q up to `inside`
// passes every draw's test, a q above `outside` fails every one, and so does a q that is not
// a number; only between them is the step's number worth drawing. Without jitter both are the
// threshold's bound. Where an end is not finite (an infinite or undefined jitter factor: 0
// times infinity is not a number) the threshold need not lie between the ends: the band then
// spans every q, and every step draws its number.
struct EscapeBand {
  double inside = 4;
  double outside = 4;
};

// Values derived once from a snapshot, so the per-point work does not repeat them.
struct PointSetup {
  PointSettings settings;
  PictureFrame frame;
  double cosTurn = 1;
  double sinTurn = 0;
  int depth = 64;         // never negative
  bool jittered = false;  // the threshold moves from step to step
  double jitterLow = 1;   // threshold T = (jitterLow + r * jitterSpan) * escape
  double jitterSpan = 0;
  double escape = 4;
  double threshold = 4;       // T when not jittered
  EscapeBand band;            // q against every T a draw can give
  double holeBound = 0.0625;  // escape / 64

  // T for the draw r, formed as the scalar test forms it.
  double thresholdAt(double r) const { return (jitterLow + r * jitterSpan) * escape; }

  // Random numbers one point consumes: one per possible step, none for the Hole.
  std::uint64_t randomStride() const;
};

PointSetup preparePointSetup(const PointSettings& settings);

// The largest double whose conversion to a 32-bit float is not greater than `threshold`, so
// that `(float)q > threshold` can be tested in double as `q > bound` (q is never negative).
double floatThresholdBound(double threshold);

}  // namespace orvane

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
  std::int16_t iterDepth = kDefaultDepth;
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
  double thresholdBound = 4;  // q > thresholdBound exactly when float(q) > threshold
  double holeBound = 0.0625;  // escape / 64

  // Random numbers one point consumes: one per possible step, none for the Hole.
  std::uint64_t randomStride() const;
};

PointSetup preparePointSetup(const PointSettings& settings);

// The largest double whose conversion to a 32-bit float is not greater than `threshold`, so
// that `(float)q > threshold` can be tested in double as `q > bound` (q is never negative).
double floatThresholdBound(double threshold);

}  // namespace orvane

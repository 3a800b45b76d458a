// Everything the colour of one point depends on, taken from the explorer state and dialogs.
#include "engine/point_settings.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace orvane {

PointSettings capturePointSettings(const ExplorerState& state, const DialogValues& dialogs,
                                   std::int16_t drawing) {
  PointSettings s;
  s.formula = drawing;
  s.viewZoom = state.viewZoom;
  s.viewX = state.viewX;
  s.viewY = state.viewY;
  s.turnRad = state.turnRad;
  s.dimX = state.dimX;
  s.dimY = state.dimY;
  s.juliaX = dialogs.dimension.numDx;
  s.juliaY = dialogs.dimension.numDy;
  s.iterDepth = state.iterDepth;
  s.escapeValue = state.escapeValue;
  s.jitterLow = state.jitterLow;
  s.jitterHigh = state.jitterHigh;
  s.colorMode = state.colorMode;
  s.renderIn = state.renderIn;
  s.renderOut = state.renderOut;
  s.colr = state.colr;
  s.colg = state.colg;
  s.colb = state.colb;
  s.zoomDivisor = state.zoomDivisor;
  return s;
}

std::uint64_t PointSetup::randomStride() const {
  if (settings.formula == formula::kHole) return 0;
  return static_cast<std::uint64_t>(depth) + 1;
}

namespace {

EscapeBand escapeBand(const PointSetup& setup) {
  if (!setup.jittered) {
    const double bound = floatThresholdBound(setup.threshold);
    return {bound, bound};
  }
  const double atLow = setup.thresholdAt(0);
  const double atHigh = setup.thresholdAt(1);
  if (!std::isfinite(atLow) || !std::isfinite(atHigh)) return {-INFINITY, INFINITY};
  return {floatThresholdBound(std::min(atLow, atHigh)),
          floatThresholdBound(std::max(atLow, atHigh))};
}

}  // namespace

PointSetup preparePointSetup(const PointSettings& settings) {
  PointSetup setup;
  setup.settings = settings;
  setup.cosTurn = std::cos(settings.turnRad);
  setup.sinTurn = std::sin(settings.turnRad);
  // The menus offer depths from 3 up; a negative depth could never be reached by the step
  // counter, so it is read as 0 (one step per point) rather than looping on.
  setup.depth = settings.iterDepth < 0 ? 0 : settings.iterDepth;
  setup.escape = settings.escapeValue;
  setup.jitterLow = settings.jitterLow;
  setup.jitterSpan = static_cast<double>(settings.jitterHigh) - settings.jitterLow;
  // With equal factors r * 0 is 0 for every draw, so the draws cannot change the threshold.
  setup.jittered = settings.jitterLow != settings.jitterHigh;
  setup.threshold = setup.jitterLow * setup.escape;
  setup.band = escapeBand(setup);
  setup.holeBound = setup.escape / 64;
  return setup;
}

double floatThresholdBound(double threshold) {
  if (std::isnan(threshold)) return -1;        // no float compares greater: treat as always escaped
  if (threshold < 0) return -1;                // every q >= 0 escapes
  if (threshold == INFINITY) return INFINITY;  // a float's infinity is not greater either
  // Largest float not above the threshold, and the float above it.
  float low = threshold >= FLT_MAX ? FLT_MAX : static_cast<float>(threshold);
  if (static_cast<double>(low) > threshold) low = std::nextafter(low, -INFINITY);
  const double high = low == FLT_MAX ? 0x1p128 : std::nextafter(low, INFINITY);
  // Doubles up to the midpoint round to `low` (ties to even); step to the exact boundary.
  double bound = (static_cast<double>(low) + high) / 2;
  while (static_cast<double>(static_cast<float>(bound)) > low) bound = std::nextafter(bound, 0.0);
  while (static_cast<double>(static_cast<float>(std::nextafter(bound, INFINITY))) <= low)
    bound = std::nextafter(bound, INFINITY);
  return bound;
}

}  // namespace orvane

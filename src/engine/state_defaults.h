// What a setting still at 0 reads as: nothing has been chosen yet, so its reader puts the
// default in its place. The pass, `lie` and the mouse release all read them from here.
#pragma once

#include <cstdint>

#include "engine/explorer_state.h"

namespace orvane {

inline constexpr double kDefaultZoom = 1;  // magnification and zoom divisor
inline constexpr std::int16_t kDefaultDepth = 64;
inline constexpr std::int16_t kDefaultEscape = 4;
inline constexpr float kDefaultJitter = 1.0f;
inline constexpr std::int16_t kDefaultColourMode = colour_mode::kRgb;
// The smoothing levels the first load and New put on both sliders of the rendering dialog.
inline constexpr std::int16_t kHomeRenderingLevel = 5;

// The Mandelbrot set's home view is centred on -0.5; the other formulas' on 0.
inline constexpr double kMandelbrotHomeX = -0.5;

// A magnification or zoom divisor of 0 reads as 1.
constexpr double zoomRead(double zoom) {
  return zoom == 0 ? kDefaultZoom : zoom;
}

// No formula chosen reads as Mandelbrot.
constexpr std::int16_t formulaRead(std::int16_t drawing) {
  return drawing == formula::kNone ? formula::kMandelbrot : drawing;
}

// A Mandelbrot view at magnification exactly 1 centred exactly on 0 is the home view before
// its move: its readers take the centre as (-0.5, 0).
constexpr bool isUnmovedMandelbrotHome(std::int16_t drawing, double zoom, double x, double y) {
  return drawing == formula::kMandelbrot && zoom == 1 && x == 0 && y == 0;
}

// The iteration and colour settings still at 0 take their defaults; a jitter range with
// either factor 0 becomes (1, 1) as a whole.
inline void fillIterationDefaults(ExplorerState& state) {
  if (state.iterDepth == 0) state.iterDepth = kDefaultDepth;
  if (state.escapeValue == 0) state.escapeValue = kDefaultEscape;
  if (state.jitterLow == 0 || state.jitterHigh == 0)
    state.jitterLow = state.jitterHigh = kDefaultJitter;
  if (state.colorMode == 0) state.colorMode = kDefaultColourMode;
}

}  // namespace orvane

// The zoom steps of the two view menus, and New: back to the home view.
#pragma once

#include <array>
#include <string_view>

#include "engine/explorer_state.h"

namespace orvane {

// Each item stores its divisor of the magnification; the next pass (or the next opening of
// the position dialog) applies it. A new choice replaces a pending one.
struct ZoomStep {
  std::string_view name;  // the menu item
  double zoomDivisor;
};
inline constexpr std::array<ZoomStep, 6> kZoomSteps{{
    {"mnuZoomOut2", 2},
    {"mnuZoomOut4", 4},
    {"mnuZoomOut16", 16},
    {"mnuZoomOut256", 256},
    {"mnuZoomIn2", 0.5},
    {"mnuZoomIn4", 0.25},
}};

// `mnuNew` before its pass: the Mandelbrot formula, the home view, no extra components and
// both rendering levels at 5 (set on the rendering dialog's sliders, then read back). Depth,
// escape value, jitter, colours, drawing order, `roo` and a pending zoom step stay.
void resetToHome(ExplorerState& state, DialogValues& dialogs);

}  // namespace orvane

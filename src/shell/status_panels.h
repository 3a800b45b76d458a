// What the status bar's view panels show when clicked.
#pragma once

#include <optional>

#include <QString>

#include "engine/explorer_state.h"

namespace orvane {

// Panels numbered from 1: picture, date, time, magnification, centre X, centre Y.
namespace status_panel {
inline constexpr int kPicture = 1;
inline constexpr int kDate = 2;
inline constexpr int kTime = 3;
inline constexpr int kZoom = 4;
inline constexpr int kCentreX = 5;
inline constexpr int kCentreY = 6;
inline constexpr int kCount = 6;
}  // namespace status_panel

// The panel refresh: the new text of `panel` for the view in `state`, or nothing for a
// panel that a click does not change. The magnification panel shows its base-10 logarithm
// floored to one decimal, the centre panels the centre floored to 8 decimals.
std::optional<QString> panelRefreshText(int panel, const ExplorerState& state);

}  // namespace orvane

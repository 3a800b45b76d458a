// The frames of a zoom video: how many, and the magnification of each.
#pragma once

#include <optional>

#include "deep/view_number.h"

namespace orvane::render {

// Frame files are numbered with six digits.
inline constexpr long kMaxFrames = 1000000;

// round(seconds x fps), or nothing when that is not a count from 2 to kMaxFrames.
std::optional<long> frameCount(double seconds, int fps);

// The magnification of frame k of n, steady on a logarithmic scale: the numbers as given at both
// ends, between them zoomFrom * (zoomTo / zoomFrom)^(k / (n - 1)), computed in MPFR and written
// with kFrameZoomDigits significant digits, so every run writes the same text for a frame.
inline constexpr int kFrameZoomDigits = 36;
deep::ViewNumber frameZoom(const deep::ViewNumber& zoomFrom, const deep::ViewNumber& zoomTo, long k,
                           long n);

}  // namespace orvane::render

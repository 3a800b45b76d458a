// The frames of a zoom video: how many, and the magnification of each.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "deep/view_number.h"

namespace orvane::render {

// Frame files are numbered with six digits.
inline constexpr long kMaxFrames = 1000000;

// DIR/frame-000123.png for frame 123.
std::string framePath(const std::string& dir, long frame);

// round(seconds x fps), or nothing when that is not a count from 2 to kMaxFrames.
std::optional<long> frameCount(double seconds, int fps);

// The frames `text` names of a video of `count`, in order and each once: a range A-B, a lone
// frame N, K/T for every T-th frame from K (K, K + T, K + 2T, ...), or a list of them separated
// by commas; nothing when the text is none of these or names a frame past the last.
std::optional<std::vector<long>> readFrameSelection(std::string_view text, long count);

// The magnification of frame k of n, steady on a logarithmic scale: the numbers as given at both
// ends, between them zoomFrom * (zoomTo / zoomFrom)^(k / (n - 1)), computed in MPFR and written
// with kFrameZoomDigits significant digits, so every run writes the same text for a frame.
inline constexpr int kFrameZoomDigits = 36;
deep::ViewNumber frameZoom(const deep::ViewNumber& zoomFrom, const deep::ViewNumber& zoomTo, long k,
                           long n);

// The base-2 logarithm of a magnification's size, 0 reading as 1 as the renderer reads it, in
// double whatever the size.
double magnificationLog2(const deep::ViewNumber& zoom);

// The base-2 logarithm of the size of frame k's magnification, in double: the scale a frame's
// cost grows with.
double frameScale(const deep::ViewNumber& zoomFrom, const deep::ViewNumber& zoomTo, long k, long n);

}  // namespace orvane::render

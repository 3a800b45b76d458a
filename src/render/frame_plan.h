// The frames of a zoom video: how many, and the magnification of each.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane::video {

// Frame files are numbered with six digits.
inline constexpr long kMaxFrames = 1000000;

// round(seconds x fps), or nothing when that is not a count from 2 to kMaxFrames.
std::optional<long> frameCount(double seconds, int fps);

// Whether the two magnifications have the same sign (0 reads as 1): a zoom between them passes
// through neither 0 nor a mirror image.
bool sameSign(std::string_view zoomFrom, std::string_view zoomTo);

// The magnification of frame k of n, steady on a logarithmic scale: the texts as given at both
// ends, between them zoomFrom * (zoomTo / zoomFrom)^(k / (n - 1)), computed in MPFR and written
// with kFrameZoomDigits significant digits, so every run writes the same text for a frame.
inline constexpr int kFrameZoomDigits = 36;
std::string frameZoom(std::string_view zoomFrom, std::string_view zoomTo, long k, long n);

}  // namespace orvane::video

// A deep view: centre and magnification as MPFR numbers, at a precision chosen from the
// magnification.
#pragma once

#include <cstdint>
#include <optional>

#include "deep/float_exp.h"
#include "deep/mpfr_number.h"
#include "deep/view_number.h"
#include "engine/point_settings.h"

namespace orvane::deep {

// Bits carried below the finest pixel: 64 so the pixel differences keep a double's worth,
// plus room for the finer samples of a poster (at most 2^9 per window pixel: sides up to 16384
// and 8 x 8 samples a pixel) and rounding.
inline constexpr mpfr_prec_t kPrecisionMarginBits = 80;
// A larger magnification would make the reference orbit alone take hours: it is refused.
inline constexpr std::int64_t kMaxZoomExponent = std::int64_t{1} << 20;  // about 1e315000

struct DeepView {
  MpfrNumber centreX;  // the plane point at the picture's centre
  MpfrNumber centreY;
  FloatExp zoom;  // magnification: one unit is kPixelsPerUnit * zoom pixels
  mpfr_prec_t precisionBits = 0;
};

// The view at the precision its magnification needs; nothing when the magnification is 0 or
// its size above 2^kMaxZoomExponent (a negative one mirrors the picture, as in the window).
std::optional<DeepView> readDeepView(const ViewNumber& centreX, const ViewNumber& centreY,
                                     const ViewNumber& zoom);

// The rule: ceil(log2(zoom * kPixelsPerUnit)) bits reach a window pixel, the centre's integer
// bits (up to 64: a larger centre escapes at once) come on top, and the margin below.
mpfr_prec_t precisionFor(FloatExp zoom, std::int64_t centreExponent);

// The pixel's offset from the view centre: the window's mapping with the centre left out, the
// division by the magnification done with the wide exponent.
ComplexExp pixelOffset(int x, int y, const PointSetup& setup, FloatExp zoom);

// A bound on |pixelOffset| over the whole picture, its corners and a margin included.
FloatExp largestOffset(const PointSetup& setup, FloatExp zoom);

// The plane point of pixel (x, y), the centre plus pixelOffset, into `re` and `im` rounded to
// their own precision: the point a deep picture's pixel stands for.
void pixelPoint(mpfr_ptr re, mpfr_ptr im, int x, int y, const PointSetup& setup,
                const DeepView& view);

// The plane point at the centre of pixel (x, y) of a picture with centre (centreX, centreY)
// and magnification `zoom` (not 0), worked out in MPFR at the precision of `re` and `im`: the
// window's mapping with every operation exact up to that precision, the rotation's sine and
// cosine taken as the picture took them.
void exactPixelPoint(mpfr_ptr re, mpfr_ptr im, int x, int y, const PointSetup& setup,
                     const ViewNumber& centreX, const ViewNumber& centreY, const ViewNumber& zoom);

}  // namespace orvane::deep

// A deep view: centre and magnification read from decimal text of any length into MPFR
// numbers, at a precision chosen from the magnification.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "deep/float_exp.h"
#include "deep/mpfr_number.h"
#include "engine/point_settings.h"

namespace orvane::deep {

// Bits carried below the finest pixel: 64 so the pixel differences keep a double's worth,
// plus room for the finer pixels of a poster (at most 2^6 per window pixel) and rounding.
inline constexpr mpfr_prec_t kPrecisionMarginBits = 80;
// A larger magnification would make the reference orbit alone take hours: it is refused.
inline constexpr std::int64_t kMaxZoomExponent = std::int64_t{1} << 20;  // about 1e315000

struct DeepView {
  MpfrNumber centreX;  // the plane point at the picture's centre
  MpfrNumber centreY;
  FloatExp zoom;  // magnification: one unit is kPixelsPerUnit * zoom pixels
  mpfr_prec_t precisionBits = 0;
};

enum class DeepViewField { kNone, kCentreX, kCentreY, kZoom };

// The view, or the first field whose text is not a usable number.
struct DeepViewReading {
  std::optional<DeepView> view;
  DeepViewField bad = DeepViewField::kNone;
};

// [+-]digits[.digits][(e|E)[+-]digits], with digits on at least one side of the point, of any
// length: the numbers the renderer takes for a view.
bool isPlainDecimal(std::string_view text);

// Accepts plain decimals. The magnification must not be 0 and its size at most
// 2^kMaxZoomExponent (a negative one mirrors the picture, as in the window); the centre
// finite.
DeepViewReading readDeepView(std::string_view centreX, std::string_view centreY,
                             std::string_view zoom);

// The rule: ceil(log2(zoom * kPixelsPerUnit)) bits reach a window pixel, the centre's integer
// bits (up to 64: a larger centre escapes at once) come on top, and the margin below.
mpfr_prec_t precisionFor(FloatExp zoom, std::int64_t centreExponent);

// The pixel's offset from the view centre: the window's mapping with the centre left out, the
// division by the magnification done with the wide exponent.
ComplexExp pixelOffset(int x, int y, const PointSetup& setup, FloatExp zoom);

}  // namespace orvane::deep

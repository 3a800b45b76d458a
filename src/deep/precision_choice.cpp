// Whether a view is drawn in double precision or in deep mode.
#include "deep/precision_choice.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

#include "deep/deep_view.h"
#include "deep/mpfr_number.h"
#include "engine/explorer_state.h"

namespace orvane::deep {

namespace {

// The text's value with a double's mantissa and an exponent of any size.
FloatExp valueOf(std::string_view text) {
  MpfrNumber number(64);
  const std::string terminated(text);
  mpfr_set_str(number.get(), terminated.c_str(), 10, MPFR_RNDN);
  return toFloatExp(number.get());
}

// Normal doubles have binary exponents from -1021 to 1024 in FloatExp's [0.5, 1) form.
bool inDoubleRange(FloatExp value) {
  return value.isZero() ||
         (std::isfinite(value.mantissa()) && value.exponent() > -1021 && value.exponent() <= 1024);
}

std::string formatted(const char* format, double a, double b) {
  char line[160];
  std::snprintf(line, sizeof line, format, a, b);
  return line;
}

// The half-diagonal of the window's picture in plane units at magnification 1: every pixel
// lies within it of the centre, whatever the rotation.
constexpr double kHalfDiagonal = 2.5;

}  // namespace

double nearestDouble(std::string_view text) {
  MpfrNumber number(DBL_MANT_DIG);
  const std::string terminated(text);
  mpfr_set_str(number.get(), terminated.c_str(), 10, MPFR_RNDN);
  const double value = mpfr_get_d(number.get(), MPFR_RNDN);
  if (std::isinf(value)) return std::copysign(DBL_MAX, value);
  if (value == 0 && !mpfr_zero_p(number.get()))
    return std::copysign(DBL_TRUE_MIN, mpfr_sgn(number.get()));
  return value;
}

bool zoomInRange(std::string_view text) {
  const FloatExp value = valueOf(text);
  if (value.isZero()) return text.find_first_of("123456789") >= text.find_first_of("eE");
  // Past MPFR's own exponent range the text reads as an infinity.
  return std::isfinite(value.mantissa()) && value.exponent() <= kMaxZoomExponent &&
         value.exponent() >= -kMaxZoomExponent;
}

bool centreInRange(std::string_view text) {
  const FloatExp value = valueOf(text);
  return value.isZero() ||
         (std::isfinite(value.mantissa()) && value.exponent() <= kMaxZoomExponent);
}

bool fitsDouble(std::string_view text) {
  return inDoubleRange(valueOf(text));
}

PrecisionChoice choosePrecision(Precision asked, std::string_view zoom, std::string_view centreX,
                                std::string_view centreY, double frameScale) {
  if (asked == Precision::kDouble) return {false, "--precision asked for it"};
  if (asked == Precision::kDeep) return {true, "--precision asked for it"};
  FloatExp magnification = valueOf(zoom);
  if (magnification.isZero()) magnification = FloatExp(1);
  if (!inDoubleRange(magnification))
    return {true, "the magnification is beyond the range of a double"};
  const FloatExp x = valueOf(centreX);
  const FloatExp y = valueOf(centreY);
  if (!inDoubleRange(x) || !inDoubleRange(y))
    return {true, "the centre is beyond the range of a double"};
  const double z = std::fabs(magnification.toDouble());
  const double gap = 1 / (kPixelsPerUnit * z * frameScale);
  const double largest =
      std::max(2.0, std::max(std::fabs(x.toDouble()), std::fabs(y.toDouble())) + kHalfDiagonal / z);
  const double step = std::ldexp(1.0, std::ilogb(largest) - 52);
  if (gap < kDoubleStepsPerPixel * step) {
    return {true,
            formatted("pixels %.3g apart are fewer than 256 double steps of %.3g", gap, step)};
  }
  return {false, formatted("pixels %.3g apart are at least 256 double steps of %.3g", gap, step)};
}

}  // namespace orvane::deep

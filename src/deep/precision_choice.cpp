// Whether a view is drawn in double precision or in deep mode.
#include "deep/precision_choice.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

#include "deep/deep_view.h"
#include "engine/explorer_state.h"

namespace orvane::deep {

namespace {

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

bool zoomInRange(const ViewNumber& zoom) {
  const FloatExp value = zoom.wide();
  if (value.isZero()) return zoom.isZero();
  return value.exponent() <= kMaxZoomExponent && value.exponent() >= -kMaxZoomExponent;
}

bool centreInRange(const ViewNumber& coordinate) {
  const FloatExp value = coordinate.wide();
  return value.isZero() || value.exponent() <= kMaxZoomExponent;
}

bool fitsDouble(const ViewNumber& number) {
  return inDoubleRange(number.wide());
}

PrecisionChoice choosePrecision(Precision asked, const ViewNumber& zoom, const ViewNumber& centreX,
                                const ViewNumber& centreY, double frameScale) {
  if (asked == Precision::kDouble) return {false, "--precision asked for it"};
  if (asked == Precision::kDeep) return {true, "--precision asked for it"};
  FloatExp magnification = zoom.wide();
  if (magnification.isZero()) magnification = FloatExp(1);
  if (!inDoubleRange(magnification))
    return {true, "the magnification is beyond the range of a double"};
  const FloatExp x = centreX.wide();
  const FloatExp y = centreY.wide();
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

// The frames of a zoom video: how many, and the magnification of each.
#include "render/frame_plan.h"

#include <cmath>
#include <string>

#include "deep/mpfr_number.h"

namespace orvane::render {

namespace {

// Every operation rounds correctly, so this precision alone fixes the result. The logarithm of
// the largest magnification allowed (2^(2^20)) has 20 integer bits: this leaves over 100 below
// the point, far finer than the digits written.
constexpr mpfr_prec_t kPlanBits = 128;

// The magnitude, 0 reading as 1 as the renderer reads it.
deep::MpfrNumber magnitude(const deep::ViewNumber& zoom) {
  deep::MpfrNumber number = zoom.exact(kPlanBits);
  if (mpfr_zero_p(number.get())) mpfr_set_ui(number.get(), 1, MPFR_RNDN);
  mpfr_abs(number.get(), number.get(), MPFR_RNDN);
  return number;
}

}  // namespace

std::optional<long> frameCount(double seconds, int fps) {
  const double frames = std::round(seconds * fps);
  if (!(frames >= 2 && frames <= kMaxFrames)) return std::nullopt;
  return static_cast<long>(frames);
}

deep::ViewNumber frameZoom(const deep::ViewNumber& zoomFrom, const deep::ViewNumber& zoomTo, long k,
                           long n) {
  if (k <= 0) return zoomFrom;
  if (k >= n - 1) return zoomTo;
  // exp(log z0 + (log z1 - log z0) * k / (n - 1))
  deep::MpfrNumber from = magnitude(zoomFrom);
  deep::MpfrNumber to = magnitude(zoomTo);
  mpfr_log(from.get(), from.get(), MPFR_RNDN);
  mpfr_log(to.get(), to.get(), MPFR_RNDN);
  mpfr_sub(to.get(), to.get(), from.get(), MPFR_RNDN);
  mpfr_mul_si(to.get(), to.get(), k, MPFR_RNDN);
  mpfr_div_si(to.get(), to.get(), n - 1, MPFR_RNDN);
  mpfr_add(to.get(), to.get(), from.get(), MPFR_RNDN);
  mpfr_exp(to.get(), to.get(), MPFR_RNDN);

  if (zoomTo.isNegative()) mpfr_neg(to.get(), to.get(), MPFR_RNDN);
  return deep::ViewNumber::of(to.get(), kFrameZoomDigits, deep::ViewNumber::Notation::kScientific);
}

}  // namespace orvane::render

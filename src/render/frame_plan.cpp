// The frames of a zoom video: how many, and the magnification of each.
#include "render/frame_plan.h"

#include <cmath>
#include <cstdlib>

#include "deep/mpfr_number.h"

namespace orvane::video {

namespace {

// Every operation rounds correctly, so this precision alone fixes the result. The logarithm of
// the largest magnification allowed (2^(2^20)) has 20 integer bits: this leaves over 100 below
// the point, far finer than the digits written.
constexpr mpfr_prec_t kPlanBits = 128;

// The magnitude of a checked plain decimal, 0 reading as 1 as the renderer reads it.
deep::MpfrNumber magnitude(std::string_view text) {
  deep::MpfrNumber number(kPlanBits);
  const std::string terminated(text);
  mpfr_set_str(number.get(), terminated.c_str(), 10, MPFR_RNDN);
  if (mpfr_zero_p(number.get())) mpfr_set_ui(number.get(), 1, MPFR_RNDN);
  mpfr_abs(number.get(), number.get(), MPFR_RNDN);
  return number;
}

bool negative(std::string_view text) {
  const std::string terminated(text);
  deep::MpfrNumber number(16);
  mpfr_set_str(number.get(), terminated.c_str(), 10, MPFR_RNDN);
  return mpfr_sgn(number.get()) < 0;
}

}  // namespace

std::optional<long> frameCount(double seconds, int fps) {
  const double frames = std::round(seconds * fps);
  if (!(frames >= 2 && frames <= kMaxFrames)) return std::nullopt;
  return static_cast<long>(frames);
}

bool sameSign(std::string_view zoomFrom, std::string_view zoomTo) {
  return negative(zoomFrom) == negative(zoomTo);
}

std::string frameZoom(std::string_view zoomFrom, std::string_view zoomTo, long k, long n) {
  if (k <= 0) return std::string(zoomFrom);
  if (k >= n - 1) return std::string(zoomTo);
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

  mpfr_exp_t exponent = 0;  // the value is 0.DIGITS x 10^exponent
  char* digits = mpfr_get_str(nullptr, &exponent, 10, kFrameZoomDigits, to.get(), MPFR_RNDN);
  std::string mantissa(digits);
  mpfr_free_str(digits);
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string text = negative(zoomTo) ? "-" : "";
  text += mantissa.substr(0, 1);
  if (mantissa.size() > 1) text += "." + mantissa.substr(1);
  if (exponent != 1) text += "e" + std::to_string(exponent - 1);
  return text;
}

}  // namespace orvane::video

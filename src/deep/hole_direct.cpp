// The Hole of a deep view, iterated directly in MPFR.
#include "deep/hole_direct.h"

#include "engine/point_iteration.h"

namespace orvane::deep {

namespace {

// The root expands differences, and its rounding errors with them, by the same factor: the
// view's bits keep the pixels apart, and one more word keeps the cancellation in |z| - x
// near the cut from reaching them.
constexpr mpfr_prec_t kHoleExtraBits = 64;

}  // namespace

HoleIteration::HoleIteration(mpfr_prec_t viewBits, const PointSetup& setup)
    : setup_(setup),
      cRe_(viewBits + kHoleExtraBits),
      cIm_(viewBits + kHoleExtraBits),
      x_(viewBits + kHoleExtraBits),
      y_(viewBits + kHoleExtraBits),
      root_(viewBits + kHoleExtraBits),
      s_(viewBits + kHoleExtraBits),
      sum_(viewBits + kHoleExtraBits) {}

PointResult HoleIteration::iterate(const DeepView& view, int x, int y) {
  pixelPoint(cRe_.get(), cIm_.get(), x, y, setup_, view);
  return iterateFromC();
}

PointResult HoleIteration::iterate(mpfr_srcptr re, mpfr_srcptr im) {
  mpfr_set(cRe_.get(), re, MPFR_RNDN);
  mpfr_set(cIm_.get(), im, MPFR_RNDN);
  return iterateFromC();
}

PointResult HoleIteration::iterateFromC() {
  mpfr_set_d(x_.get(), kHoleStart.re, MPFR_RNDN);
  mpfr_set_d(y_.get(), kHoleStart.im, MPFR_RNDN);
  PointResult result;
  double sum = kHoleStart.re * kHoleStart.re + kHoleStart.im * kHoleStart.im;
  for (int n = 0;; ++n) {
    result.m = sum;
    // z' = sqrt(z) + c with the root whose imaginary part is not negative: s is that part,
    // y / 2s the real part; s = 0 divides into an infinity, which escapes below.
    mpfr_hypot(root_.get(), x_.get(), y_.get(), MPFR_RNDN);
    mpfr_sub(s_.get(), root_.get(), x_.get(), MPFR_RNDN);
    mpfr_div_2ui(s_.get(), s_.get(), 1, MPFR_RNDN);
    mpfr_sqrt(s_.get(), s_.get(), MPFR_RNDN);
    mpfr_div(x_.get(), y_.get(), s_.get(), MPFR_RNDN);
    mpfr_div_2ui(x_.get(), x_.get(), 1, MPFR_RNDN);
    mpfr_add(x_.get(), x_.get(), cRe_.get(), MPFR_RNDN);
    mpfr_add(y_.get(), s_.get(), cIm_.get(), MPFR_RNDN);
    mpfr_sqr(sum_.get(), x_.get(), MPFR_RNDN);
    mpfr_fma(sum_.get(), y_.get(), y_.get(), sum_.get(), MPFR_RNDN);
    sum = mpfr_get_d(sum_.get(), MPFR_RNDN);
    result.q = sum;
    result.n = n;
    if (n == setup_.depth) {
      result.reached = true;
      return result;
    }
    if (!(sum <= setup_.holeBound)) return result;
  }
}

}  // namespace orvane::deep

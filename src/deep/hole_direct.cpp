// The Hole of a deep view, iterated directly in MPFR.
#include "deep/hole_direct.h"

#include "engine/point_iteration.h"

namespace orvane::deep {

namespace {

// The root expands differences, and its rounding errors with them, by the same factor: the
// view's bits keep the pixels apart, and one more word keeps the cancellation in |z| - x
// near the cut from reaching them.
constexpr mpfr_prec_t kHoleExtraBits = 64;

void setFloatExp(mpfr_ptr into, FloatExp value) {
  mpfr_set_d(into, value.mantissa(), MPFR_RNDN);
  mpfr_mul_2si(into, into, static_cast<long>(value.exponent()), MPFR_RNDN);
}

}  // namespace

HoleIteration::HoleIteration(const DeepView& view, const PointSetup& setup)
    : view_(view),
      setup_(setup),
      cRe_(view.precisionBits + kHoleExtraBits),
      cIm_(view.precisionBits + kHoleExtraBits),
      x_(view.precisionBits + kHoleExtraBits),
      y_(view.precisionBits + kHoleExtraBits),
      root_(view.precisionBits + kHoleExtraBits),
      s_(view.precisionBits + kHoleExtraBits),
      sum_(view.precisionBits + kHoleExtraBits) {}

PointResult HoleIteration::iterate(int x, int y) {
  const ComplexExp offset = pixelOffset(x, y, setup_, view_.zoom);
  setFloatExp(cRe_.get(), offset.re);
  setFloatExp(cIm_.get(), offset.im);
  mpfr_add(cRe_.get(), cRe_.get(), view_.centreX.get(), MPFR_RNDN);
  mpfr_add(cIm_.get(), cIm_.get(), view_.centreY.get(), MPFR_RNDN);
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

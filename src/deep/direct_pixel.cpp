// One pixel iterated directly in MPFR: what the exactness of a drawn picture is measured by.
#include "deep/direct_pixel.h"

namespace orvane::deep {

DirectPixel::DirectPixel(const PointSetup& setup, mpfr_prec_t bits)
    : setup_(setup),
      re_(bits),
      im_(bits),
      a_(bits),
      b_(bits),
      sqA_(bits),
      sqB_(bits),
      norm_(bits),
      fixedRe_(bits),
      fixedIm_(bits),
      hole_(bits, setup) {
  const PointSettings& s = setup.settings;
  const bool julia = s.formula == formula::kJulia;
  mpfr_set_d(fixedRe_.get(), julia ? s.juliaX : s.dimX, MPFR_RNDN);
  mpfr_set_d(fixedIm_.get(), julia ? s.juliaY : s.dimY, MPFR_RNDN);
}

PointResult DirectPixel::iterate(const DeepView& view, int x, int y, std::uint64_t randomBase) {
  pixelPoint(re_.get(), im_.get(), x, y, setup_, view);
  const std::int16_t formula = setup_.settings.formula;
  if (formula == formula::kHole) return hole_.iterate(re_.get(), im_.get());
  // The Mandelbrot set's pixel is c, a Julia set's is z0.
  const bool julia = formula == formula::kJulia;
  mpfr_set(a_.get(), (julia ? re_ : fixedRe_).get(), MPFR_RNDN);
  mpfr_set(b_.get(), (julia ? im_ : fixedIm_).get(), MPFR_RNDN);
  mpfr_srcptr cRe = (julia ? fixedRe_ : re_).get();
  mpfr_srcptr cIm = (julia ? fixedIm_ : im_).get();
  mpfr_sqr(sqA_.get(), a_.get(), MPFR_RNDN);
  mpfr_sqr(sqB_.get(), b_.get(), MPFR_RNDN);
  mpfr_add(norm_.get(), sqA_.get(), sqB_.get(), MPFR_RNDN);
  PointResult result;
  result.q = mpfr_get_d(norm_.get(), MPFR_RNDN);
  for (int n = 0;; ++n) {
    result.m = result.q;
    // z' = z^2 + c: b' = 2ab + Im c, a' = a^2 - b^2 + Re c.
    mpfr_mul(b_.get(), b_.get(), a_.get(), MPFR_RNDN);
    mpfr_mul_2ui(b_.get(), b_.get(), 1, MPFR_RNDN);
    mpfr_add(b_.get(), b_.get(), cIm, MPFR_RNDN);
    mpfr_sub(a_.get(), sqA_.get(), sqB_.get(), MPFR_RNDN);
    mpfr_add(a_.get(), a_.get(), cRe, MPFR_RNDN);
    mpfr_sqr(sqA_.get(), a_.get(), MPFR_RNDN);
    mpfr_sqr(sqB_.get(), b_.get(), MPFR_RNDN);
    mpfr_add(norm_.get(), sqA_.get(), sqB_.get(), MPFR_RNDN);
    result.q = mpfr_get_d(norm_.get(), MPFR_RNDN);
    if (n == setup_.depth || escapedAt(result.q, n, setup_, randomBase)) {
      result.n = n;
      result.reached = n == setup_.depth;
      return result;
    }
  }
}

}  // namespace orvane::deep

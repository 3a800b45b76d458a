// The accuracy reference for deep pictures: every pixel iterated directly in MPFR.
#pragma once

#include <cstdint>
#include <utility>

#include "deep/mpfr_number.h"
#include "engine/colouring.h"
#include "engine/point_iteration.h"

namespace orvane::deep::testing {

// A view's texts, read with plain MPFR at `bits`: about twice the magnification's bits, since
// an orbit passing near 0 squares its distance from its neighbours.
struct DirectView {
  const char *centreX, *centreY, *zoom;
  mpfr_prec_t bits;
};

struct DirectPoint {
  MpfrNumber re, im;
};

// iteratePixel's mapping: the window's offset in double, divided by the zoom in MPFR.
inline DirectPoint directPoint(const DirectView& view, int x, int y, const PointSetup& setup) {
  const double u = (y - setup.frame.centreY) / setup.frame.scale;
  const double v = (x - setup.frame.centreX) / setup.frame.scale;
  DirectPoint p{MpfrNumber(view.bits), MpfrNumber(view.bits)};
  MpfrNumber zoom(view.bits), centre(view.bits);
  mpfr_set_str(zoom.get(), view.zoom, 10, MPFR_RNDN);
  mpfr_set_d(p.re.get(), (u * setup.cosTurn + v * setup.sinTurn) / kPixelsPerUnit, MPFR_RNDN);
  mpfr_set_d(p.im.get(), (u * setup.sinTurn - v * setup.cosTurn) / kPixelsPerUnit, MPFR_RNDN);
  for (auto [to, text] : {std::pair{&p.re, view.centreX}, std::pair{&p.im, view.centreY}}) {
    mpfr_set_str(centre.get(), text, 10, MPFR_RNDN);
    mpfr_div(to->get(), to->get(), zoom.get(), MPFR_RNDN);
    mpfr_add(to->get(), to->get(), centre.get(), MPFR_RNDN);
  }
  return p;
}

// iterateQuadratic's steps, with every plane value in MPFR.
inline PointResult iterateQuadraticDirect(DirectPoint p, const PointSetup& setup,
                                          std::uint64_t randomBase) {
  const mpfr_prec_t bits = mpfr_get_prec(p.re.get());
  const PointSettings& s = setup.settings;
  const bool julia = s.formula == formula::kJulia;
  MpfrNumber fixedRe(bits), fixedIm(bits);
  mpfr_set_d(fixedRe.get(), julia ? s.juliaX : s.dimX, MPFR_RNDN);
  mpfr_set_d(fixedIm.get(), julia ? s.juliaY : s.dimY, MPFR_RNDN);
  MpfrNumber &a = julia ? p.re : fixedRe, &b = julia ? p.im : fixedIm;  // z, from z0
  const MpfrNumber &cRe = julia ? fixedRe : p.re, &cIm = julia ? fixedIm : p.im;
  MpfrNumber sqA(bits), sqB(bits), norm(bits);
  mpfr_sqr(sqA.get(), a.get(), MPFR_RNDN);
  mpfr_sqr(sqB.get(), b.get(), MPFR_RNDN);
  mpfr_add(norm.get(), sqA.get(), sqB.get(), MPFR_RNDN);
  PointResult result;
  result.q = mpfr_get_d(norm.get(), MPFR_RNDN);
  for (int n = 0;; ++n) {
    result.m = result.q;
    mpfr_mul(b.get(), b.get(), a.get(), MPFR_RNDN);
    mpfr_mul_2ui(b.get(), b.get(), 1, MPFR_RNDN);
    mpfr_add(b.get(), b.get(), cIm.get(), MPFR_RNDN);
    mpfr_sub(a.get(), sqA.get(), sqB.get(), MPFR_RNDN);
    mpfr_add(a.get(), a.get(), cRe.get(), MPFR_RNDN);
    mpfr_sqr(sqA.get(), a.get(), MPFR_RNDN);
    mpfr_sqr(sqB.get(), b.get(), MPFR_RNDN);
    mpfr_add(norm.get(), sqA.get(), sqB.get(), MPFR_RNDN);
    result.q = mpfr_get_d(norm.get(), MPFR_RNDN);
    if (n == setup.depth || escapedAt(result.q, n, setup, randomBase)) {
      result.n = n;
      result.reached = n == setup.depth;
      return result;
    }
  }
}

// The Hole's steps z' = sqrt(z) + c from 0.0625 + 0.0625i, with the root written the other
// way round from the engine's: real part sign(y) sqrt((|z| + x) / 2), imaginary part
// sqrt((|z| - x) / 2), which is not negative. Short of the depth, a zero imaginary part counts
// as escaped, as the engine's division by it does.
inline PointResult iterateHoleDirect(const DirectPoint& c, const PointSetup& setup) {
  const mpfr_prec_t bits = mpfr_get_prec(c.re.get());
  MpfrNumber x(bits), y(bits), r(bits), t(bits), norm(bits);
  mpfr_set_d(x.get(), 0.0625, MPFR_RNDN);
  mpfr_set_d(y.get(), 0.0625, MPFR_RNDN);
  PointResult result;
  result.q = 2 * 0.0625 * 0.0625;
  for (int n = 0;; ++n) {
    result.m = result.q;
    mpfr_hypot(r.get(), x.get(), y.get(), MPFR_RNDN);
    const bool negative = mpfr_signbit(y.get());
    mpfr_sub(t.get(), r.get(), x.get(), MPFR_RNDN);
    mpfr_add(x.get(), r.get(), x.get(), MPFR_RNDN);
    mpfr_div_2ui(x.get(), x.get(), 1, MPFR_RNDN);
    mpfr_sqrt(x.get(), x.get(), MPFR_RNDN);
    if (negative) mpfr_neg(x.get(), x.get(), MPFR_RNDN);
    mpfr_div_2ui(y.get(), t.get(), 1, MPFR_RNDN);
    mpfr_sqrt(y.get(), y.get(), MPFR_RNDN);
    const bool onTheCut = mpfr_zero_p(y.get());
    mpfr_add(x.get(), x.get(), c.re.get(), MPFR_RNDN);
    mpfr_add(y.get(), y.get(), c.im.get(), MPFR_RNDN);
    mpfr_hypot(norm.get(), x.get(), y.get(), MPFR_RNDN);
    mpfr_sqr(norm.get(), norm.get(), MPFR_RNDN);
    result.q = mpfr_get_d(norm.get(), MPFR_RNDN);
    result.n = n;
    if (n == setup.depth) {
      result.reached = true;
      return result;
    }
    if (onTheCut || !(result.q <= setup.holeBound)) return result;
  }
}

// iteratePixel with every plane value in MPFR.
inline PointResult iterateDirect(const DirectView& view, int x, int y, const PointSetup& setup,
                                 std::uint64_t randomBase) {
  DirectPoint p = directPoint(view, x, y, setup);
  if (setup.settings.formula == formula::kHole) return iterateHoleDirect(p, setup);
  return iterateQuadraticDirect(std::move(p), setup, randomBase);
}

}  // namespace orvane::deep::testing

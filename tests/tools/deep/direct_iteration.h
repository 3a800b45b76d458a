// The accuracy reference for deep pictures: every pixel iterated directly in MPFR.
#pragma once

#include <cstdint>

#include "engine/colouring.h"
#include "engine/point_iteration.h"
#include "tools/deep/mpfr_number.h"

namespace orvane::deep::testing {

// A view's texts, read with plain MPFR at `bits`: about twice the magnification's bits, since
// an orbit passing near 0 squares its distance from its neighbours.
struct DirectView {
  const char *centreX, *centreY, *zoom;
  mpfr_prec_t bits;
};

// iteratePixel's mapping and iterateQuadratic's steps, with every plane value in MPFR.
inline PointResult iterateDirect(const DirectView& view, int x, int y, const PointSetup& setup,
                                 std::uint64_t randomBase) {
  const mpfr_prec_t bits = view.bits;
  const double u = (y - setup.frame.centreY) / setup.frame.scale;
  const double v = (x - setup.frame.centreX) / setup.frame.scale;
  MpfrNumber pRe(bits), pIm(bits), zoom(bits), fixedRe(bits), fixedIm(bits), centre(bits);
  mpfr_set_str(zoom.get(), view.zoom, 10, MPFR_RNDN);
  mpfr_set_d(pRe.get(), (u * setup.cosTurn + v * setup.sinTurn) / kPixelsPerUnit, MPFR_RNDN);
  mpfr_set_d(pIm.get(), (u * setup.sinTurn - v * setup.cosTurn) / kPixelsPerUnit, MPFR_RNDN);
  for (auto [p, text] : {std::pair{&pRe, view.centreX}, std::pair{&pIm, view.centreY}}) {
    mpfr_set_str(centre.get(), text, 10, MPFR_RNDN);
    mpfr_div(p->get(), p->get(), zoom.get(), MPFR_RNDN);
    mpfr_add(p->get(), p->get(), centre.get(), MPFR_RNDN);
  }
  const PointSettings& s = setup.settings;
  const bool julia = s.formula == formula::kJulia;
  mpfr_set_d(fixedRe.get(), julia ? s.juliaX : s.dimX, MPFR_RNDN);
  mpfr_set_d(fixedIm.get(), julia ? s.juliaY : s.dimY, MPFR_RNDN);
  MpfrNumber &a = julia ? pRe : fixedRe, &b = julia ? pIm : fixedIm;  // z, from z0
  const MpfrNumber &cRe = julia ? fixedRe : pRe, &cIm = julia ? fixedIm : pIm;
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

}  // namespace orvane::deep::testing

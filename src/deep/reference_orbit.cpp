// The reference orbits, computed in MPFR at the view's precision and kept as doubles.
#include "deep/reference_orbit.h"

#include <algorithm>
#include <cmath>

namespace orvane::deep {

namespace {

// Below this exponent a double loses bits (subnormal) or the value altogether.
constexpr long kSmallestWideFreeExponent = -1000;

bool needsWide(mpfr_srcptr x) {
  return mpfr_regular_p(x) && mpfr_get_exp(x) < kSmallestWideFreeExponent;
}

// The largest threshold any step can draw, so the reference runs as long as some pixel beside
// it may; at least 4, so that a refused threshold still leaves an orbit to rebase on.
double largestThreshold(const PointSetup& setup) {
  const double high = setup.jitterLow + (setup.jitterSpan > 0 ? setup.jitterSpan : 0.0);
  const double threshold = high * setup.escape;
  return std::isnan(threshold) ? 4.0 : std::max(4.0, threshold);
}

}  // namespace

void ReferenceOrbit::append(mpfr_srcptr re, mpfr_srcptr im) {
  if (needsWide(re) || needsWide(im))
    wide_.push_back({values_.size(), {toFloatExp(re), toFloatExp(im)}});
  values_.push_back({mpfr_get_d(re, MPFR_RNDN), mpfr_get_d(im, MPFR_RNDN)});
}

std::uint64_t referenceBytes(int depth, int orbits) {
  return static_cast<std::uint64_t>(orbits) * (static_cast<std::uint64_t>(depth) + 2) *
         sizeof(Complex);
}

ReferenceOrbit ReferenceOrbit::compute(mpfr_srcptr startRe, mpfr_srcptr startIm, mpfr_srcptr cRe,
                                       mpfr_srcptr cIm, mpfr_prec_t bits, const PointSetup& setup,
                                       const OrbitProgress& progress) {
  ReferenceOrbit orbit;
  MpfrNumber re(bits), im(bits), sqRe(bits), sqIm(bits), product(bits);
  mpfr_set(re.get(), startRe, MPFR_RNDN);
  mpfr_set(im.get(), startIm, MPFR_RNDN);
  orbit.append(re.get(), im.get());
  const double limit = largestThreshold(setup);
  for (std::int64_t n = 0; n <= setup.depth; ++n) {
    mpfr_sqr(sqRe.get(), re.get(), MPFR_RNDN);
    mpfr_sqr(sqIm.get(), im.get(), MPFR_RNDN);
    mpfr_mul(product.get(), re.get(), im.get(), MPFR_RNDN);
    mpfr_mul_2ui(product.get(), product.get(), 1, MPFR_RNDN);
    mpfr_add(im.get(), product.get(), cIm, MPFR_RNDN);
    mpfr_sub(re.get(), sqRe.get(), sqIm.get(), MPFR_RNDN);
    mpfr_add(re.get(), re.get(), cRe, MPFR_RNDN);
    orbit.append(re.get(), im.get());
    const Complex z = orbit.values_.back();
    if (!(z.re * z.re + z.im * z.im <= limit)) break;
    if (progress && n % 256 == 255) progress(double(n) / (setup.depth + 1.0));
  }
  if (progress) progress(1.0);
  return orbit;
}

DeepReference::DeepReference(const DeepView& view, const PointSetup& setup,
                             const OrbitProgress& progress) {
  const PointSettings& s = setup.settings;
  // Julia sets start at the view centre under a fixed c; the Mandelbrot set starts at the
  // fixed z0 with c at the view centre.
  perturbsStart_ = s.formula == formula::kJulia;
  // The pixels follow the reference's rounding errors. A Mandelbrot pixel's difference gains
  // its dc, a pixel's size, at every step, which keeps it above those errors; a Julia orbit
  // that passes the reference near 0 keeps only its squared distance, which needs twice the
  // pixel's bits.
  const mpfr_prec_t bits = perturbsStart_ ? 2 * view.precisionBits : view.precisionBits;
  MpfrNumber zero(bits), fixedRe(bits), fixedIm(bits);
  mpfr_set_zero(zero.get(), 1);
  mpfr_set_d(fixedRe.get(), perturbsStart_ ? s.juliaX : s.dimX, MPFR_RNDN);
  mpfr_set_d(fixedIm.get(), perturbsStart_ ? s.juliaY : s.dimY, MPFR_RNDN);
  const auto pick = [&](const MpfrNumber& centre, const MpfrNumber& fixed, bool isCentre) {
    return isCentre ? centre.get() : fixed.get();
  };
  mpfr_srcptr startRe = pick(view.centreX, fixedRe, perturbsStart_);
  mpfr_srcptr startIm = pick(view.centreY, fixedIm, perturbsStart_);
  mpfr_srcptr cRe = pick(view.centreX, fixedRe, !perturbsStart_);
  mpfr_srcptr cIm = pick(view.centreY, fixedIm, !perturbsStart_);
  shared_ = mpfr_zero_p(startRe) && mpfr_zero_p(startIm);
  // With two orbits to compute, each takes half of the progress.
  const double share = shared_ ? 1.0 : 0.5;
  start_ = ReferenceOrbit::compute(startRe, startIm, cRe, cIm, bits, setup, [&](double done) {
    if (progress) progress(done * share);
  });
  if (shared_) return;
  critical_ =
      ReferenceOrbit::compute(zero.get(), zero.get(), cRe, cIm, bits, setup, [&](double done) {
        if (progress) progress(share + done * share);
      });
}

}  // namespace orvane::deep

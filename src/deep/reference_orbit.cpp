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

// A view's pixels are never finer than 2^(kPrecisionMarginBits - kPosterPixelBits - bits):
// the precision rule makes a window pixel larger than 2^(kPrecisionMarginBits - bits), and a
// poster has at most 2^6 pixels per window pixel.
constexpr long kPosterPixelBits = 6;
// The orbit of 0 ends where the view centre lies within 2^-40 of such a pixel of a nucleus:
// the rebase there errs by 2^-93 pixels, and the bound stands far above the orbit's own
// rounding errors (reference_orbit.md).
constexpr long kNucleusBelowPixelBits = 40;
// And only where the orbit returns within 2^-40 of 0. Past a Misiurewicz point Newton's step
// shrinks below any bound too, once Z'_p outgrows the pixels; the pixels have long left the
// orbit by then, and it runs on as it always did.
constexpr double kNearZeroNorm = 0x1p-80;
// The orbit ends at the first return, where the approximations span the whole period from
// index 1 and a pixel inside the minibrot crosses a period in one of them. A pixel stepping
// singly leaves its vector at each end, which costs it some sixteen steps' time: returns
// before step 64 are passed over for a later one, at a multiple of the period, to keep that
// cost below a quarter.
constexpr int kShortestEndingOrbit = 64;

FloatExp nucleusDistanceFor(mpfr_prec_t bits) {
  return FloatExp(1.0, kPrecisionMarginBits - kPosterPixelBits - kNucleusBelowPixelBits - bits);
}

}  // namespace

void ReferenceOrbit::append(mpfr_srcptr re, mpfr_srcptr im) {
  if (needsWide(re) || needsWide(im))
    wide_.push_back({values_.size(), {toFloatExp(re), toFloatExp(im)}});
  values_.push_back({mpfr_get_d(re, MPFR_RNDN), mpfr_get_d(im, MPFR_RNDN)});
}

std::uint64_t referenceBytes(int depth, int orbits) {
  const std::uint64_t size = static_cast<std::uint64_t>(depth) + 2;
  return static_cast<std::uint64_t>(orbits) *
         (size * sizeof(Complex) + ApproximationTable::bytesFor(size));
}

ReferenceOrbit ReferenceOrbit::compute(mpfr_srcptr startRe, mpfr_srcptr startIm, mpfr_srcptr cRe,
                                       mpfr_srcptr cIm, mpfr_prec_t bits, const PointSetup& setup,
                                       FloatExp nucleusDistance, const OrbitProgress& progress) {
  ReferenceOrbit orbit;
  MpfrNumber re(bits), im(bits), sqRe(bits), sqIm(bits), product(bits);
  mpfr_set(re.get(), startRe, MPFR_RNDN);
  mpfr_set(im.get(), startIm, MPFR_RNDN);
  orbit.append(re.get(), im.get());
  const double limit = largestThreshold(setup);
  const FloatExp squaredDistance = nucleusDistance * nucleusDistance;
  ComplexExp derivative;  // dZ_n/dc, from dZ_0/dc = 0: Z'_{n+1} = 2 Z_n Z'_n + 1
  for (std::int64_t n = 0; n <= setup.depth; ++n) {
    if (!nucleusDistance.isZero()) {
      derivative = orbit.wideAt(orbit.size() - 1) * derivative;
      derivative = {derivative.re + derivative.re + FloatExp(1.0), derivative.im + derivative.im};
    }
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
    // |Z_p|^2 <= d^2 |Z'_p|^2: a multiplication, not a division by a derivative that may be 0.
    if (!nucleusDistance.isZero() && n + 1 >= kShortestEndingOrbit &&
        z.re * z.re + z.im * z.im <= kNearZeroNorm &&
        !(squaredDistance * derivative.norm() < orbit.wideAt(orbit.size() - 1).norm())) {
      orbit.returns_ = true;
      break;
    }
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
  // Only an orbit of 0 under the perturbed c can end at a nucleus: it is where its pixels
  // rebase. A Julia set's pixels differ from it in z, not c, and the distance means nothing.
  const FloatExp nucleusDistance = perturbsStart_ ? FloatExp() : nucleusDistanceFor(bits);
  // With two orbits to compute, each takes half of the progress.
  const double share = shared_ ? 1.0 : 0.5;
  start_ = std::make_shared<const ReferenceOrbit>(
      ReferenceOrbit::compute(startRe, startIm, cRe, cIm, bits, setup,
                              shared_ ? nucleusDistance : FloatExp(), [&](double done) {
                                if (progress) progress(done * share);
                              }));
  if (!shared_) {
    critical_ = std::make_shared<const ReferenceOrbit>(ReferenceOrbit::compute(
        zero.get(), zero.get(), cRe, cIm, bits, setup, nucleusDistance, [&](double done) {
          if (progress) progress(share + done * share);
        }));
  }
  buildTables(setup, view.zoom);
}

DeepReference::DeepReference(const DeepReference& other, const PointSetup& setup, FloatExp zoom)
    : start_(other.start_),
      critical_(other.critical_),
      shared_(other.shared_),
      perturbsStart_(other.perturbsStart_) {
  buildTables(setup, zoom);
}

void DeepReference::buildTables(const PointSetup& setup, FloatExp zoom) {
  // Julia pixels share c: their B dc terms vanish.
  const FloatExp offset = perturbsStart_ ? FloatExp() : largestOffset(setup, zoom);
  startTable_ = ApproximationTable(*start_, offset);
  if (!shared_) criticalTable_ = ApproximationTable(*critical_, offset);
}

}  // namespace orvane::deep

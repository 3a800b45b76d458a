// One pixel of a deep picture, iterated as its difference dz from a reference orbit Z:
//   z = Z + dz,  dz' = (2Z + dz) dz + dc.
// The pixel moves to the critical orbit (rebases) whenever |z| < |dz|: from there on its
// difference is z itself, so an orbit passing near 0, whose distance from the reference
// would otherwise cancel away, keeps every bit. It also rebases when the reference ends.
#include "tools/deep/perturbation.h"

#include "engine/point_iteration.h"

namespace orvane::deep {

namespace {

// |dz|^2 from 2^-1000 up is iterated in double: dz^2 is then still a normal double. The
// switch back waits until |dz|^2 < 2^-1020, so a difference hovering at the border does not
// convert at every step.
constexpr std::int64_t kDoubleNormExponent = -1000;
constexpr double kWideNormBelow = 0x1p-1020;

bool suitsDouble(FloatExp dzNorm) {
  return !dzNorm.isZero() && dzNorm.exponent() > kDoubleNormExponent;
}

class PerturbedPixel {
 public:
  PerturbedPixel(const DeepReference& reference, ComplexExp offset)
      : reference_(reference), orbit_(&reference.start()) {
    if (reference.perturbsStart()) {
      dzWide_ = offset;
    } else {
      dcWide_ = offset;
    }
    dc_ = toDouble(dcWide_);
    if (suitsDouble(dzWide_.norm())) switchToDouble();
  }

  // |z0|^2.
  double startNorm() const { return (orbit_->wideAt(0) + dzWide_).norm().toDouble(); }

  // One step; returns |z|^2 after it.
  double step() { return wide_ ? stepWide() : stepDouble(); }

 private:
  static Complex toDouble(ComplexExp z) { return {z.re.toDouble(), z.im.toDouble()}; }

  void switchToDouble() {
    dz_ = toDouble(dzWide_);
    wide_ = false;
  }

  // Rebasing: the critical orbit starts at 0, so the new difference is z, exactly.
  bool mustRebase(bool closerToZero) const { return closerToZero || i_ + 1 == orbit_->size(); }
  void rebase() {
    orbit_ = &reference_.critical();
    i_ = 0;
  }

  double stepDouble() {
    const Complex big = orbit_->at(i_);
    const double tRe = 2 * big.re + dz_.re;
    const double tIm = 2 * big.im + dz_.im;
    const double nextRe = tRe * dz_.re - tIm * dz_.im + dc_.re;
    const double nextIm = tRe * dz_.im + tIm * dz_.re + dc_.im;
    dz_ = {nextRe, nextIm};
    const Complex next = orbit_->at(++i_);
    const Complex z = {next.re + dz_.re, next.im + dz_.im};
    const double q = z.re * z.re + z.im * z.im;
    double dzNorm = dz_.re * dz_.re + dz_.im * dz_.im;
    if (mustRebase(q < dzNorm)) {
      rebase();
      dz_ = z;
      dzNorm = q;
    }
    if (dzNorm < kWideNormBelow) {
      dzWide_ = {FloatExp(dz_.re), FloatExp(dz_.im)};
      wide_ = true;
    }
    return q;
  }

  double stepWide() {
    const ComplexExp big = orbit_->wideAt(i_);
    dzWide_ = (big + big + dzWide_) * dzWide_ + dcWide_;
    const ComplexExp z = orbit_->wideAt(++i_) + dzWide_;
    const FloatExp q = z.norm();
    FloatExp dzNorm = dzWide_.norm();
    if (mustRebase(q < dzNorm)) {
      rebase();
      dzWide_ = z;
      dzNorm = q;
    }
    if (suitsDouble(dzNorm)) switchToDouble();
    return q.toDouble();
  }

  const DeepReference& reference_;
  const ReferenceOrbit* orbit_;
  std::size_t i_ = 0;
  bool wide_ = true;
  ComplexExp dzWide_;  // the difference while wide_
  ComplexExp dcWide_;  // the constant's difference: 0 for Julia sets
  Complex dz_;         // the difference while !wide_
  Complex dc_;
};

}  // namespace

PointResult iteratePerturbed(const DeepReference& reference, ComplexExp offset,
                             const PointSetup& setup, std::uint64_t randomBase) {
  PerturbedPixel pixel(reference, offset);
  PointResult result;
  double q = pixel.startNorm();
  for (int n = 0;; ++n) {
    result.m = q;
    q = pixel.step();
    result.q = q;
    if (n == setup.depth || escapedAt(q, n, setup, randomBase)) {
      result.n = n;
      result.reached = n == setup.depth;
      return result;
    }
  }
}

PointResult iterateDeepPixel(int x, int y, const DeepView& view, const DeepReference& reference,
                             const PointSetup& setup, std::uint64_t randomBase) {
  return iteratePerturbed(reference, pixelOffset(x, y, setup, view.zoom), setup, randomBase);
}

}  // namespace orvane::deep

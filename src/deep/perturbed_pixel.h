// One pixel of a deep picture, iterated as its difference dz from a reference orbit Z:
//   z = Z + dz,  dz' = (2Z + dz) dz + dc.
// The pixel moves to the critical orbit (rebases) whenever |z| < |dz|: from there on its
// difference is z itself, so an orbit passing near 0, whose distance from the reference
// would otherwise cancel away, keeps every bit. It also rebases when the reference ends.
//
// From its start and from each rebase, the pixel first skips steps by the reference's
// bilinear approximations, as long as one holds; from the first index where none does, it
// steps singly until it rebases again. Scalar and vector stepping follow that same rule, so
// a pixel's result does not depend on which of them took its steps.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "deep/perturbed_step.h"
#include "deep/reference_orbit.h"
#include "engine/point_iteration.h"

namespace orvane::deep {

// |dz|^2 from 2^-1000 up is iterated in double: dz^2 is then still a normal double. The
// switch back waits until |dz|^2 < 2^-1020, so a difference hovering at the border does not
// convert at every step.
inline constexpr std::int64_t kDoubleNormExponent = -1000;
inline constexpr double kWideNormBelow = 0x1p-1020;

// Below that, dz = w 2^k is iterated as a double w with a separate exponent k, which costs
// no more than a double step: w' = 2Z w + dc 2^-k. w is brought back near 1 once |w|^2
// leaves [2^-800, 2^800], and the pixel returns to double mode as soon as |dz|^2 passes
// 2^-1000: the scaled step relies on |dz| staying that small.
inline constexpr double kRescaleAbove = 0x1p800;
inline constexpr double kRescaleBelow = 0x1p-800;
// A reference value this small may come near a difference of its own size, where z = Z + dz
// cancels or rebases: such steps are taken exactly, in FloatExp. Above it |dz| is at most
// 2^-100 of |Z|.
inline constexpr double kTinyReferenceNorm = 0x1p-800;

// An approximation is taken only where every z it skips stays below the escape band by this
// factor: |dz| within its radius keeps |z| within 2^-39 of |Z|, so |z|^2 within 2^-37 of
// |Z|^2. Orbits on the needle sit at |Z|^2 = 4 for a hundred steps, a float's rounding below
// the band.
inline constexpr double kPassMargin = 1 + 0x1p-30;

inline double norm(Complex z) {
  return z.re * z.re + z.im * z.im;
}

// What a step in double or scaled mode reads and changes, for several pixels stepped at
// once. In double mode w is dz itself; in scaled mode it is left out where dz is added to Z.
struct LaneState {
  const Complex* orbit;  // Z_0 ...
  std::size_t size;      // ... Z_{size-1}
  std::size_t i;         // the step goes from Z_i to Z_{i+1}
  Complex w;             // the difference, dz or dz 2^-k
  Complex constant;      // dc, or dc 2^-k
  double wNormAbove;     // |w|^2 past which the step changes scale or mode
  bool scaled;
};

class PerturbedPixel {
 public:
  PerturbedPixel(const DeepReference& reference, ComplexExp offset)
      : reference_(reference), orbit_(&reference.start()), table_(&reference.startTable()) {
    if (reference.perturbsStart()) {
      dzWide_ = offset;
    } else {
      dcWide_ = offset;
    }
    // dc = dcMantissa_ 2^dcExponent_, with the larger part's mantissa in [0.5, 1).
    dcExponent_ = std::max(dcWide_.re.isZero() ? kNoExponent : dcWide_.re.exponent(),
                           dcWide_.im.isZero() ? kNoExponent : dcWide_.im.exponent());
    if (dcExponent_ == kNoExponent) dcExponent_ = 0;
    const FloatExp down(1.0, -dcExponent_);
    dcMantissa_ = toDouble({dcWide_.re * down, dcWide_.im * down});
    dcDouble_ = toDouble(dcWide_);
    settle();
  }

  // |z0|^2.
  double startNorm() const { return (orbit_->wideAt(0) + dzWide_).norm().toDouble(); }

  // One step; returns |z|^2 after it.
  double step() {
    if (!scaled_) return stepDouble();
    if (scaledSuits()) return stepScaled();
    dzWide_ = scaledDifference();
    const double q = stepWide();
    settle();
    return q;
  }

  // Whether approximations are still being tried: from the start and from each rebase, until
  // the first index past 0 where none holds.
  bool approximating() const { return approximating_; }

  // Stands for up to `most` steps by the longest approximation that holds here and keeps every
  // z it skips, and the one it lands on, at or below `inside`, so that no escape test could
  // have passed. Returns the steps it stood for, with |z|^2 after them in q; 0 when none holds,
  // which ends the approximating until the next rebase (except at index 0, which has none).
  int approximate(long most, double inside, double& q) {
    if (i_ == 0) return fromZero(most, inside, q);
    const int taken = tryApproximations(most, inside, q);
    if (taken == 0) approximating_ = false;
    return taken;
  }

  // Whether the next step is a plain double or scaled one, which LaneState describes.
  bool laneReady() const { return !approximating_ && (!scaled_ || scaledSuits()); }
  LaneState lane() const {
    return {orbit_->data(), orbit_->size(), i_, w_, constant_, wNormAbove_, scaled_};
  }
  // All that decides the pixel's next steps as a rebase leaves it: a pixel that comes back to
  // the same state takes the same steps again. The orbit, the index and the approximating are
  // the same after every rebase, and the constant and the bounds follow from the scale, so
  // the difference and its scale are the state, compared bit for bit.
  struct State {
    std::uint64_t re = 0;
    std::uint64_t im = 0;
    std::int64_t scale = 0;  // the scale exponent, or kUnscaled in double mode

    bool operator==(const State&) const = default;
  };
  State state() const {
    return {std::bit_cast<std::uint64_t>(w_.re), std::bit_cast<std::uint64_t>(w_.im),
            scaled_ ? scaleExponent_ : kUnscaled};
  }
  static constexpr std::int64_t kUnscaled = std::numeric_limits<std::int64_t>::min();

  // Whether the pixel rebased since the last call.
  bool takeRebase() { return std::exchange(rebased_, false); }
  // |dz_p / dz_0|^2 of the period just crossed, when the pixel crossed a nucleus's whole
  // period from 0 in one step; infinity after any other rebase.
  double periodNorm() const { return periodNorm_; }
  const ReferenceOrbit& orbit() const { return *orbit_; }

  // Takes back the steps taken outside: none of them rebased, rescaled or changed mode.
  void resume(const LaneState& lane) {
    i_ = lane.i;
    w_ = lane.w;
  }

 private:
  static Complex toDouble(ComplexExp z) { return {z.re.toDouble(), z.im.toDouble()}; }

  // Continues from dzWide_ in double where it fits, else scaled. A difference of 0 fits when
  // dc does: it is dc after the next step.
  void settle() {
    const FloatExp dzNorm = dzWide_.norm();
    if (suitsDouble(dzNorm.isZero() ? dcWide_.norm() : dzNorm)) {
      w_ = toDouble(dzWide_);
      constant_ = dcDouble_;
      wNormAbove_ = std::numeric_limits<double>::infinity();
      scaled_ = false;
    } else {
      scale(dzWide_);
    }
  }

  static bool suitsDouble(FloatExp dzNorm) {
    return !dzNorm.isZero() && dzNorm.exponent() > kDoubleNormExponent;
  }

  // dz = w 2^k with |w| near 1, or with k taken from dc while dz is still 0.
  void scale(ComplexExp dz) {
    const ComplexExp& by = dz.re.isZero() && dz.im.isZero() ? dcWide_ : dz;
    constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min();
    const std::int64_t k = std::max(by.re.isZero() ? kNone : by.re.exponent(),
                                    by.im.isZero() ? kNone : by.im.exponent());
    scaleExponent_ = k == kNone ? 0 : k;
    const FloatExp down(1.0, -scaleExponent_);
    w_ = toDouble({dz.re * down, dz.im * down});
    constant_ = toDouble({dcWide_.re * down, dcWide_.im * down});
    // |dz|^2 = |w|^2 2^2k reaches 2^-1000 at |w|^2 = 2^(-1000 - 2k).
    const std::int64_t leaveExponent = kDoubleNormExponent - 2 * scaleExponent_;
    wNormAbove_ = leaveExponent < 800 ? FloatExp(1.0, leaveExponent).toDouble() : kRescaleAbove;
    scaled_ = true;
  }

  // scale() for a difference in double: the same values, by powers of two where they are
  // exact, which the cycling through a minibrot's period does twice a period.
  void scale(Complex dz) {
    const std::int64_t k = std::max(exponentOf(dz.re), exponentOf(dz.im));
    const std::int64_t dcShift = dcExponent_ - k;
    if (k < -1000 || k > -500 || dcShift < -1000 || dcShift > 1000) {
      scale({FloatExp(dz.re), FloatExp(dz.im)});
      return;
    }
    scaleExponent_ = k;
    const double down = powerOfTwo(-k);
    w_ = {dz.re * down, dz.im * down};
    const double dcUp = powerOfTwo(dcShift);
    constant_ = {dcMantissa_.re * dcUp, dcMantissa_.im * dcUp};
    // With k in [-1000, -500], -1000 - 2k lies in [0, 1000].
    const std::int64_t leaveExponent = kDoubleNormExponent - 2 * scaleExponent_;
    wNormAbove_ = leaveExponent < 800 ? powerOfTwo(leaveExponent) : kRescaleAbove;
    scaled_ = true;
  }

  // FloatExp's exponent of x: x = m 2^e with |m| in [0.5, 1); kNoExponent for 0. A subnormal
  // gets -1022, above its own: |x| < 2^-1022 all the same.
  static std::int64_t exponentOf(double x) {
    const auto biased = static_cast<std::int64_t>((std::bit_cast<std::uint64_t>(x) >> 52) & 0x7ff);
    return x == 0 ? kNoExponent : biased - 1022;
  }
  static constexpr std::int64_t kNoExponent = std::numeric_limits<std::int32_t>::min();

  ComplexExp scaledDifference() const { return unscaled(w_); }
  // A value w of the pixel's scaled arithmetic as the value w 2^k it stands for.
  ComplexExp unscaled(Complex w) const {
    const FloatExp up(1.0, scaleExponent_);
    return {FloatExp(w.re) * up, FloatExp(w.im) * up};
  }

  // The scaled step holds while the reference stays clear of 0 and of its end.
  // So does a pixel's first step from a reference value of exactly 0 (the Mandelbrot set's
  // start at z0 = 0), whose difference is 0 too: the step gives dc, exactly.
  bool scaledSuits() const {
    return i_ + 2 < orbit_->size() &&
           (norm(orbit_->at(i_)) >= kTinyReferenceNorm || firstStepFromZero()) &&
           norm(orbit_->at(i_ + 1)) >= kTinyReferenceNorm;
  }
  bool firstStepFromZero() const {
    return i_ == 0 && w_.re == 0 && w_.im == 0 && orbit_->startsAtZero();
  }

  // Rebasing: the critical orbit starts at 0, so the new difference is z, exactly.
  bool mustRebase(bool closerToZero) const { return closerToZero || i_ + 1 == orbit_->size(); }
  void rebase() {
    orbit_ = &reference_.critical();
    table_ = &reference_.criticalTable();
    i_ = 0;
    approximating_ = true;
    rebased_ = true;
    periodNorm_ = std::numeric_limits<double>::infinity();
  }

  // |dz|^2 < 2^differenceExponent(|w|^2), or a very small number when dz is 0.
  std::int64_t differenceExponent(double wNorm) const {
    if (wNorm == 0) return std::numeric_limits<std::int32_t>::min() * std::int64_t{4};
    return exponentOf(wNorm) + (scaled_ ? 2 * scaleExponent_ : 0);  // wNorm < 2^exponentOf
  }

  int tryApproximations(long most, double inside, double& q) {
    const double wNorm = norm(w_);
    if (!(wNorm < std::numeric_limits<double>::infinity())) return 0;
    const std::int64_t dzExponent = differenceExponent(wNorm);
    for (int level = table_->topLevel(i_); level > 0; --level) {
      const long length = static_cast<long>(table_->length(i_, level));
      if (length > most) continue;
      const Approximation& entry = table_->at(i_, level);
      if (!holds(entry, dzExponent, inside)) continue;
      const std::size_t landing = i_ + static_cast<std::size_t>(length);
      if (apply(entry, w_, landing, inside, q)) return static_cast<int>(length);
    }
    return 0;
  }

  // From a reference value of exactly 0, where a rebased pixel arrives with its z as its
  // difference: the step there, dz_1 = dz^2 + dc, taken exactly as a single step takes it,
  // and an approximation from index 1 on, in one. Across a minibrot's period that is the
  // whole period at once. Only in double mode and with dz_1 and dc normal doubles, where the
  // result is the one the single step and the approximation in scaled mode give; otherwise,
  // or when the step could escape or rebase, the pixel takes the single step.
  int fromZero(long most, double inside, double& q) {
    if (scaled_ || dcExponent_ < -1000 || i_ + 2 >= orbit_->size() || most < 3) return 0;
    if (!orbit_->startsAtZero()) return 0;
    const Complex dz = perturbedStep(Complex{0.0, 0.0}, w_, w_, constant_);
    const Complex next = orbit_->at(1);
    const Complex z = {next.re + dz.re, next.im + dz.im};
    if (!(norm(z) <= inside) || norm(z) < norm(dz)) return 0;
    // |dz|^2 < 2^dzExponent; from the parts where the square underflows.
    const std::int64_t e = std::max(exponentOf(dz.re), exponentOf(dz.im));  // |dz| < 2^(e+1/2)
    const bool zero = dz.re == 0 && dz.im == 0;
    if (e < -1000 && !zero) return 0;
    const double dzNorm = norm(dz);
    const std::int64_t dzExponent = zero                  ? 4 * std::int64_t{kNoExponent}
                                    : dzNorm >= 0x1p-1021 ? exponentOf(dzNorm)
                                                          : 2 * e + 1;
    for (int level = table_->topLevel(1); level > 0; --level) {
      const long length = static_cast<long>(table_->length(1, level));
      if (1 + length > most) continue;
      const Approximation& entry = table_->at(1, level);
      if (!holds(entry, dzExponent, inside)) continue;
      const std::size_t landing = 1 + static_cast<std::size_t>(length);
      const Complex start = w_;
      if (apply(entry, dz, landing, inside, q)) {
        // Across a whole period to a nucleus's return, z_p = A (z_0^2 + dc) + B dc, whose
        // derivative in z_0 is 2 A z_0.
        if (landing + 1 == orbit_->size() && orbit_->returns() && entry.wide < 0)
          periodNorm_ = 4 * norm(entry.a) * norm(start);
        return static_cast<int>(1 + length);
      }
    }
    return 0;
  }

  // Whether `entry` may stand for its steps from a difference |dz|^2 < 2^dzExponent, none of
  // them near the escape band.
  static bool holds(const Approximation& entry, std::int64_t dzExponent, double inside) {
    return entry.radiusExponent != Approximation::kNoRadius &&
           dzExponent <= 2 * std::int64_t{entry.radiusExponent} &&
           entry.passesNorm * kPassMargin <= inside;
  }

  // A dz + B c, with the pixel's constant in its current scale.
  Complex linear(const Approximation& entry, Complex dz) const {
    return {entry.a.re * dz.re - entry.a.im * dz.im +
                (entry.b.re * constant_.re - entry.b.im * constant_.im),
            entry.a.re * dz.im + entry.a.im * dz.re +
                (entry.b.re * constant_.im + entry.b.im * constant_.re)};
  }

  // The approximation `entry` from the difference w, in the pixel's own double or scaled
  // arithmetic (dz 2^-k = A dz 2^-k + B dc 2^-k), or with the extended exponent where its
  // coefficients need it; true once the pixel has landed.
  bool apply(const Approximation& entry, Complex w, std::size_t landing, double inside, double& q) {
    if (entry.wide >= 0) {
      const WideCoefficients& c = table_->wide(entry);
      const ComplexExp dz = scaled_ ? unscaled(w) : ComplexExp{FloatExp(w.re), FloatExp(w.im)};
      return landWide(c.a * dz + c.b * dcWide_, landing, inside, q);
    }
    const Complex next = linear(entry, w);
    const double nextNorm = norm(next);
    if (!(nextNorm < std::numeric_limits<double>::infinity())) return false;
    if (!scaled_) return landDouble(next, landing, inside, q);
    if (nextNorm <= wNormAbove_) return landScaled(next, nextNorm, landing, inside, q);
    if (kDoubleNormExponent - 2 * scaleExponent_ < 800) {
      // Grown out of the scaled range into the doubles' own: dz = w 2^k is a normal double,
      // and k > -900 a double itself.
      const double up = powerOfTwo(scaleExponent_);
      return landDouble({next.re * up, next.im * up}, landing, inside, q);
    }
    return landWide(unscaled(next), landing, inside, q);
  }

  // Lands with the difference dz as a double, as a double step would; a scaled pixel changes
  // to double mode here.
  bool landDouble(Complex dz, std::size_t landing, double inside, double& q) {
    const Complex next = orbit_->at(landing);
    const Complex z = {next.re + dz.re, next.im + dz.im};
    q = norm(z);
    if (!(q <= inside)) return false;
    if (scaled_) {
      constant_ = dcDouble_;
      wNormAbove_ = std::numeric_limits<double>::infinity();
      scaled_ = false;
    }
    i_ = landing;
    w_ = dz;
    arrive(z, q);
    return true;
  }

  // At index i_ with the difference w_ in double and z = Z_i + w_, |z|^2 = q: rebases where it
  // must, and goes on scaled where the difference has become too small for a double.
  void arrive(Complex z, double q) {
    double dzNorm = norm(w_);
    if (mustRebase(q < dzNorm)) {
      rebase();
      w_ = z;
      dzNorm = q;
    }
    if (dzNorm < kWideNormBelow) scale(w_);
  }

  // Scaled, dz is left out of z as in a scaled step, while it stays that small beside Z.
  bool landScaled(Complex w, double wNorm, std::size_t landing, double inside, double& q) {
    q = norm(orbit_->at(landing));
    if (q < kTinyReferenceNorm || landing + 1 == orbit_->size())
      return landWide(unscaled(w), landing, inside, q);
    if (!(q <= inside)) return false;
    i_ = landing;
    w_ = w;
    if (wNorm < kRescaleBelow && wNorm > 0) {
      dzWide_ = scaledDifference();
      settle();
    }
    return true;
  }

  bool landWide(ComplexExp dz, std::size_t landing, double inside, double& q) {
    const ComplexExp z = orbit_->wideAt(landing) + dz;
    const FloatExp qWide = z.norm();
    q = qWide.toDouble();
    if (!(q <= inside)) return false;
    i_ = landing;
    dzWide_ = dz;
    if (mustRebase(qWide < dz.norm())) {
      rebase();
      dzWide_ = z;
    }
    settle();
    return true;
  }

  double stepDouble() {
    w_ = perturbedStep(orbit_->at(i_), w_, w_, constant_);
    const Complex next = orbit_->at(++i_);
    const Complex z = {next.re + w_.re, next.im + w_.im};
    const double q = norm(z);
    arrive(z, q);
    return q;
  }

  // Far from 0 the reference swamps the difference. dz^2 is at most 2^-100 of 2Z dz and
  // z = Z + dz is Z within 2^-100, both far below a double's rounding, so the step leaves dz
  // out there: no operation meets the subnormals, which cost a hundred normal ones. Nor can
  // the pixel rebase, since |z| is far above |dz|.
  double stepScaled() {
    // Adding +0 turns a -0 in 2Z into +0, as the vector step's masked-out difference does.
    w_ = perturbedStep(orbit_->at(i_), Complex{0.0, 0.0}, w_, constant_);
    const double q = norm(orbit_->at(++i_));
    const double wNorm = norm(w_);
    if (wNorm > wNormAbove_ || (wNorm < kRescaleBelow && wNorm > 0)) {
      dzWide_ = scaledDifference();
      settle();
    }
    return q;
  }

  double stepWide() {
    dzWide_ = perturbedStep(orbit_->wideAt(i_), dzWide_, dzWide_, dcWide_);
    const ComplexExp z = orbit_->wideAt(++i_) + dzWide_;
    const FloatExp q = z.norm();
    if (mustRebase(q < dzWide_.norm())) {
      rebase();
      dzWide_ = z;
    }
    return q.toDouble();
  }

  const DeepReference& reference_;
  const ReferenceOrbit* orbit_;
  const ApproximationTable* table_;
  std::size_t i_ = 0;
  bool scaled_ = true;
  bool approximating_ = true;
  bool rebased_ = false;
  double periodNorm_ = std::numeric_limits<double>::infinity();
  ComplexExp dzWide_;  // the difference at a wide step, and before the first
  ComplexExp dcWide_;  // the constant's difference: 0 for Julia sets
  Complex w_;          // dz, or dz 2^-scaleExponent_ in scaled mode
  Complex constant_;   // dc, or dc 2^-scaleExponent_ in scaled mode
  double wNormAbove_ = 0;
  std::int64_t scaleExponent_ = 0;
  Complex dcDouble_;    // dc in double mode: 0 where it falls below the doubles
  Complex dcMantissa_;  // dc = dcMantissa_ 2^dcExponent_
  std::int64_t dcExponent_ = 0;
};

}  // namespace orvane::deep

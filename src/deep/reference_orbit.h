// The reference orbits a deep picture's pixels are perturbed around, computed in MPFR and
// kept as doubles, with a wide exponent only for the values a double cannot hold.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "deep/approximation_table.h"
#include "deep/deep_view.h"
#include "deep/float_exp.h"
#include "engine/point_iteration.h"

namespace orvane::deep {

// Told the share of the reference work done, from 0 to 1, every few hundred steps: at the
// deepest magnifications the orbits take longer than the pixels.
using OrbitProgress = std::function<void(double done)>;

// Z_0, Z_1 = Z_0^2 + c, ... up to the first value past every threshold the jitter can draw,
// or up to Z_{depth+1}: a pixel takes at most depth + 1 steps. The orbit of 0 under a
// perturbed c also ends where it returns to 0 at a minibrot's nucleus, after its period
// rather than the depth: a pixel reaching the end rebases to the same orbit's start, 0, with
// its z as its difference (reference_orbit.md says when that is as exact as going on).
class ReferenceOrbit {
 public:
  std::size_t size() const { return values_.size(); }
  // Whether the orbit ended where it returns to 0 at a nucleus, rather than at the depth or
  // past the escape thresholds.
  bool returns() const { return returns_; }
  // Whether Z_0 is exactly 0, as the critical orbit's is.
  bool startsAtZero() const {
    return !values_.empty() && values_[0].re == 0 && values_[0].im == 0 &&
           (wide_.empty() || wide_.front().first != 0);
  }
  Complex at(std::size_t i) const { return values_[i]; }
  const Complex* data() const { return values_.data(); }
  // The value with the wide exponent: kept apart for the few values with a part below the
  // doubles' normal range, converted exactly from the double for the others.
  ComplexExp wideAt(std::size_t i) const {
    if (!wide_.empty()) {
      const auto kept =
          std::lower_bound(wide_.begin(), wide_.end(), i,
                           [](const auto& entry, std::size_t at) { return entry.first < at; });
      if (kept != wide_.end() && kept->first == i) return kept->second;
    }
    return {FloatExp(values_[i].re), FloatExp(values_[i].im)};
  }

  // `nucleusDistance`, unless zero, ends the orbit of 0 at its first Z_p (p >= 64) within
  // 2^-40 of 0 whose Newton distance |Z_p / (dZ_p/dc)| from c to a nucleus (of a period
  // dividing p) is at most that.
  static ReferenceOrbit compute(mpfr_srcptr startRe, mpfr_srcptr startIm, mpfr_srcptr cRe,
                                mpfr_srcptr cIm, mpfr_prec_t bits, const PointSetup& setup,
                                FloatExp nucleusDistance, const OrbitProgress& progress = {});

 private:
  void append(mpfr_srcptr re, mpfr_srcptr im);

  std::vector<Complex> values_;
  std::vector<std::pair<std::size_t, ComplexExp>> wide_;  // by index, in order
  bool returns_ = false;
};

// The most memory the orbits of a deep picture can take at `depth`: `orbits` of depth + 2
// values as doubles (16 bytes each), the few wide values aside, and their approximation
// tables.
std::uint64_t referenceBytes(int depth, int orbits);

// The orbits of one view: the pixels start on `start`, whose first value all pixels share
// for the Mandelbrot set (z0) and is the view centre for Julia sets. A pixel whose |z| falls
// below its difference from the reference, or that outlives its reference, moves on to
// `critical`, the orbit of the critical point 0 under the same c: its difference is then z
// itself, exact, however close to 0 the orbit came.
class DeepReference {
 public:
  // The orbits of `view`, with approximation tables for the pixels of the picture `setup`
  // draws.
  DeepReference(const DeepView& view, const PointSetup& setup, const OrbitProgress& progress = {});
  // The orbits of `other`, shared, with tables for another picture around the same centre and
  // at the same precision, drawn by `setup` at `zoom` (a zoom video's next frame). The tables
  // depend on the picture alone, so a frame comes out the same whichever frame computed the
  // orbits.
  DeepReference(const DeepReference& other, const PointSetup& setup, FloatExp zoom);

  const ReferenceOrbit& start() const { return *start_; }
  const ReferenceOrbit& critical() const { return shared_ ? *start_ : *critical_; }
  const ApproximationTable& startTable() const { return startTable_; }
  const ApproximationTable& criticalTable() const { return shared_ ? startTable_ : criticalTable_; }
  // Julia sets perturb the start value, the Mandelbrot set the constant.
  bool perturbsStart() const { return perturbsStart_; }

 private:
  void buildTables(const PointSetup& setup, FloatExp zoom);

  std::shared_ptr<const ReferenceOrbit> start_;
  std::shared_ptr<const ReferenceOrbit> critical_;
  ApproximationTable startTable_;
  ApproximationTable criticalTable_;
  bool shared_ = false;  // the start is 0 itself: one orbit serves both roles
  bool perturbsStart_ = false;
};

}  // namespace orvane::deep

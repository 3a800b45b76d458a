// The approximation levels, merged pairwise in FloatExp from the single steps up.
#include "deep/approximation_table.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "deep/reference_orbit.h"

namespace orvane::deep {

namespace {

// A single step drops dz^2 beside 2Z dz; it may stand for the step while |dz| < eps |2Z|, so
// that the square is at most eps of the linear term. 2^-40 leaves the dropped terms at a
// few thousand units in the last place of dz, which the escape-band rule and the single last
// steps keep out of every decision (docs/deep-zoom.md gives the measured agreement).
constexpr std::int64_t kToleranceExponent = -40;

// Coefficients from 2^-300 to 2^600 are applied in double: a difference in double mode lies
// above 2^-510 and a scaled one within 2^+-400, so the products stay inside the doubles'
// normal range. A minibrot's period multiplies differences by far more than 2^300.
constexpr std::int64_t kSmallestDoubleCoefficient = -300;
constexpr std::int64_t kLargestDoubleCoefficient = 600;

// At most one value in eight gets wide coefficients, which bounds the table's memory; the
// long approximations that need them are a few per thousand steps in practice.
constexpr std::size_t kWideShare = 8;

FloatExp magnitude(ComplexExp z) {
  const FloatExp n = z.norm();
  if (n.isZero()) return n;
  // sqrt(m 2^e) with e made even.
  const bool odd = (n.exponent() & 1) != 0;
  return FloatExp(std::sqrt(odd ? 2 * n.mantissa() : n.mantissa()),
                  (n.exponent() - (odd ? 1 : 0)) / 2);
}

using Building = ApproximationTable::Building;

Building singleStep(const ReferenceOrbit& orbit, std::size_t i) {
  const ComplexExp z = orbit.wideAt(i);
  const ComplexExp a = {z.re + z.re, z.im + z.im};
  return {a, {FloatExp(1.0), FloatExp()}, magnitude(a) * FloatExp(1.0, kToleranceExponent), 0};
}

// y after x: x's landing value becomes one the merged step passes through. Valid where x is
// and where x's result |A_x dz + B_x dc| stays within y's radius.
Building merge(const Building& x, const Building& y, double landingNorm, FloatExp largestOffset) {
  Building z;
  z.a = y.a * x.a;
  z.b = y.a * x.b + y.b;
  const FloatExp room = y.radius - magnitude(x.b) * largestOffset;
  const FloatExp scaleA = magnitude(x.a);
  FloatExp radius = FloatExp();
  if (FloatExp() < room && !scaleA.isZero()) radius = room / scaleA;
  z.radius = radius < x.radius ? radius : x.radius;
  z.passesNorm = std::max({x.passesNorm, landingNorm, y.passesNorm});
  return z;
}

bool fitsDouble(ComplexExp z) {
  const FloatExp m = magnitude(z);
  return m.isZero() ||
         (m.exponent() >= kSmallestDoubleCoefficient && m.exponent() <= kLargestDoubleCoefficient);
}

Complex toDouble(ComplexExp z) {
  return {z.re.toDouble(), z.im.toDouble()};
}

std::int32_t radiusExponent(FloatExp radius) {
  // radius = m 2^e with m in [0.5, 1) is at least 2^(e - 1).
  if (radius.isZero() || !std::isfinite(radius.mantissa())) return Approximation::kNoRadius;
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(radius.exponent() - 1, INT32_MIN + 1, INT32_MAX));
}

double normAt(const ReferenceOrbit& orbit, std::size_t i) {
  const Complex z = orbit.at(i);
  return z.re * z.re + z.im * z.im;
}

}  // namespace

ApproximationTable::ApproximationTable(const ReferenceOrbit& orbit, FloatExp largestOffset)
    : orbit_(&orbit), largestOffset_(largestOffset) {
  const std::size_t size = orbit.size();
  if (size < 4) return;
  // An approximation may land on a nucleus's return, the orbit's last value, which rebases
  // the pixel as reaching it singly would. Other orbits end one past the depth or past the
  // escape thresholds, where no approximation could land.
  lastLanding_ = orbit.returns() ? size - 1 : size - 2;
  // Level 0: the single steps from 1 to the last landing, never kept. Each level above pairs
  // the one below; an odd one out at the end is carried up as it is, so the top level's one
  // entry spans everything and a pixel at index 1 can skip to the last landing.
  levelSize_.push_back(lastLanding_ - 1);
  levelStart_.push_back(0);
  std::size_t entries = 0;
  while (levelSize_.back() > 1) {
    levelStart_.push_back(entries);
    levelSize_.push_back((levelSize_.back() + 1) / 2);
    entries += levelSize_.back();
  }
  entries_.resize(entries);
  if (entries > 0) build(static_cast<int>(levelSize_.size()) - 1, 0);
  orbit_ = nullptr;
}

// Depth first, so that only one path of wide values is held at a time, never a whole level.
ApproximationTable::Building ApproximationTable::build(int level, std::size_t k) {
  if (level == 0) return singleStep(*orbit_, 1 + k);
  Building merged = build(level - 1, 2 * k);
  if (2 * k + 1 < levelSize_[level - 1]) {
    const std::size_t middle = 1 + (2 * k + 1) * (std::size_t{1} << (level - 1));
    merged = merge(merged, build(level - 1, 2 * k + 1), normAt(*orbit_, middle), largestOffset_);
  }
  entries_[levelStart_[level] + k] = stored(merged, orbit_->size());
  return merged;
}

Approximation ApproximationTable::stored(const Building& b, std::size_t size) {
  Approximation entry;
  entry.radiusExponent = radiusExponent(b.radius);
  entry.passesNorm = b.passesNorm;
  if (fitsDouble(b.a) && fitsDouble(b.b)) {
    entry.a = toDouble(b.a);
    entry.b = toDouble(b.b);
  } else if (wide_.size() >= size / kWideShare) {
    entry.radiusExponent = Approximation::kNoRadius;  // past the bound on memory
  } else {
    entry.wide = static_cast<std::int32_t>(wide_.size());
    wide_.push_back({b.a, b.b});
  }
  return entry;
}

std::uint64_t ApproximationTable::bytesFor(std::uint64_t size) {
  // Fewer entries than values (size/2 + size/4 + ...), and wide coefficients for at most one
  // value in kWideShare.
  return size * sizeof(Approximation) + size / kWideShare * sizeof(WideCoefficients);
}

}  // namespace orvane::deep

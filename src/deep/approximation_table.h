// Bilinear approximations along a reference orbit: l steps of a pixel's difference, from
// index i, stood for by one linear map
//   dz_{i+l} = A dz_i + B dc,
// valid while the squares the single steps leave out stay far below their linear terms.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "deep/float_exp.h"
#include "engine/point_iteration.h"

namespace orvane::deep {

class ReferenceOrbit;

// One approximation. A and B are kept as doubles when both fit with room to spare, so the
// pixel applies them in its own double or scaled arithmetic; the rare ones that do not (a
// magnification past 10^300 skips thousands of steps whose product of 2Z outgrows a double)
// are kept wide, apart.
struct Approximation {
  Complex a;
  Complex b;
  // Valid while |dz| < 2^radiusExponent.
  std::int32_t radiusExponent = kNoRadius;
  // Into the table's wide coefficients, or -1 when a and b hold them.
  std::int32_t wide = -1;
  // The largest |Z|^2 the skipped steps pass through, the landing left out: with |dz| that
  // far below |Z|, no skipped z can come near the escape test.
  double passesNorm = 0;

  static constexpr std::int32_t kNoRadius = INT32_MIN;
};

struct WideCoefficients {
  ComplexExp a;
  ComplexExp b;
};

// The approximations of one orbit, in levels: level j >= 1 holds those starting at indices
// 1 + k 2^j, each merged from two of level j - 1 (level 0, the single steps, is worked out
// from Z when merging and never stored). They span 2^j steps, except the last of a level,
// which stops at the last landing: a nucleus's return, else the orbit's last index but one.
// So the top level's one entry spans the whole orbit from 1, and a pixel cycling through a
// minibrot's period can skip it at once. Index 0 has none: a pixel arrives there
// with its z as its difference, where the square is the whole step.
class ApproximationTable {
 public:
  // An approximation while it is built: everything wide.
  struct Building {
    ComplexExp a;
    ComplexExp b;
    FloatExp radius;
    double passesNorm = 0;
  };

  ApproximationTable() = default;
  // `largestOffset` bounds |dc| over the picture: 0 for Julia sets, whose c is fixed.
  ApproximationTable(const ReferenceOrbit& orbit, FloatExp largestOffset);

  // The approximations starting at `index`, longest first: levels topLevel(index)..1, with
  // the one of level j at at(index, j), standing for length(index, j) steps.
  int topLevel(std::size_t index) const {
    // The levels whose starts include index: 2^j divides index - 1.
    if (index == 0 || index >= lastLanding_) return 0;
    const std::size_t offset = index - 1;
    const int top = static_cast<int>(levelStart_.size()) - 1;
    return offset == 0 ? top : std::min(std::countr_zero(offset), top);
  }
  const Approximation& at(std::size_t index, int level) const {
    return entries_[levelStart_[level] + ((index - 1) >> level)];
  }
  std::size_t length(std::size_t index, int level) const {
    return std::min(std::size_t{1} << level, lastLanding_ - index);
  }
  const WideCoefficients& wide(const Approximation& entry) const {
    return wide_[static_cast<std::size_t>(entry.wide)];
  }

  // The memory a table takes at most for an orbit of `size` values.
  static std::uint64_t bytesFor(std::uint64_t size);

 private:
  Building build(int level, std::size_t k);
  Approximation stored(const Building& building, std::size_t size);

  const ReferenceOrbit* orbit_ = nullptr;  // while building
  FloatExp largestOffset_;
  std::size_t lastLanding_ = 0;
  std::vector<Approximation> entries_;
  std::vector<std::size_t> levelStart_;  // by level; level 0 unused
  std::vector<std::size_t> levelSize_;
  std::vector<WideCoefficients> wide_;
};

}  // namespace orvane::deep

// One pixel of a deep picture: its difference from the reference orbit, iterated in double or,
// while the difference is too small for a double's exponent, in FloatExp.
#pragma once

#include <cstdint>

#include "deep/float_exp.h"
#include "deep/reference_orbit.h"
#include "engine/colouring.h"
#include "engine/point_work.h"

namespace orvane::deep {

// The result iterateQuadratic would give for the point `reference` centre + `offset` in exact
// arithmetic: the same steps, escape test and jitter draws (step s draws `randomBase + s`),
// with n, reached, m and q as there.
PointResult iteratePerturbed(const DeepReference& reference, ComplexExp offset,
                             const PointSetup& setup, std::uint64_t randomBase);

// Mapping and perturbed iteration of pixel (x, y) of the view, whose orbits `reference` holds:
// the deep counterpart of iteratePixel.
PointResult iterateDeepPixel(int x, int y, const DeepView& view, const DeepReference& reference,
                             const PointSetup& setup, std::uint64_t randomBase);

// A worker's share of a deep picture's pixels, each as iterateDeepPixel gives it; returns the
// steps it took.
StepCounts computePerturbed(PointWork& work, const DeepView& view, const DeepReference& reference);

}  // namespace orvane::deep

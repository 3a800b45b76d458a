// One pixel iterated directly in MPFR: what the exactness of a drawn picture is measured by.
#pragma once

#include <cstdint>

#include "deep/deep_view.h"
#include "deep/hole_direct.h"
#include "deep/mpfr_number.h"
#include "engine/colouring.h"
#include "engine/point_iteration.h"

namespace orvane::deep {

// iteratePixel's steps, escape test and jitter draws (step s draws `randomBase + s`) with
// every plane value in MPFR at `bits`, step by step: no reference orbit, no approximation, no
// rounding but MPFR's. The Hole takes HoleIteration's steps at these bits: its deep pictures
// are iterated directly already, so for them the check measures the precision alone. One
// thread's numbers, allocated once.
class DirectPixel {
 public:
  DirectPixel(const PointSetup& setup, mpfr_prec_t bits);

  // Pixel (x, y) of the view, at the very point a deep picture's pixel stands for.
  PointResult iterate(const DeepView& view, int x, int y, std::uint64_t randomBase);

 private:
  const PointSetup& setup_;
  MpfrNumber re_, im_, a_, b_, sqA_, sqB_, norm_;
  MpfrNumber fixedRe_, fixedIm_;  // z0 for the Mandelbrot set, c for Julia sets
  HoleIteration hole_;
};

}  // namespace orvane::deep

// The Hole of a deep view, iterated directly in MPFR.
//
// It is not perturbed: its orbits live inside |z| <= 1/4, where the root doubles differences
// or more at every step, and the root's cut (the positive real axis) runs through that disk.
// A pixel whose orbit lands on the other side of the cut from the reference's has no small
// difference left to iterate, and near the cut no formula for the root of Z + dz keeps its
// bits. The same expansion makes nearly every orbit escape within a few hundred steps, so the
// direct iteration costs little more than the reference orbits of the other formulas would.
#pragma once

#include "deep/deep_view.h"
#include "deep/mpfr_number.h"
#include "engine/colouring.h"
#include "engine/point_settings.h"

namespace orvane::deep {

// One thread's MPFR numbers for iterating the Hole's pixels, allocated once.
class HoleIteration {
 public:
  // For the pixels of a view whose numbers are read with `viewBits`.
  HoleIteration(mpfr_prec_t viewBits, const PointSetup& setup);

  // iterateHole's steps and escape test for pixel (x, y) of the view, every plane value in
  // MPFR.
  PointResult iterate(const DeepView& view, int x, int y);
  // The same for the point c = (re, im).
  PointResult iterate(mpfr_srcptr re, mpfr_srcptr im);

 private:
  PointResult iterateFromC();

  const PointSetup& setup_;
  MpfrNumber cRe_, cIm_, x_, y_, root_, s_, sum_;
};

}  // namespace orvane::deep

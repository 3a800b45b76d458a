// A worker's share of a deep picture: four pixels side by side, stepped together in AVX2
// vectors while they are in double or scaled mode and nothing out of the way happens.
//
// A step is one long chain of dependent operations, so a single pixel leaves the processor
// idle most of the time. The vector step is the scalar step's own perturbedStep, so it performs
// the same operations in the same order. A step that might escape, rebase, rescale, change mode,
// meet a tiny reference value, reach the depth or end the reference is not kept: that lane alone
// leaves the vector, takes its steps on the scalar path until it is plain again or its pixel ends,
// and comes back, with the next pixel where its own ended. So every pixel's result is the one
// iterateDeepPixel gives.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <optional>

#include "deep/perturbation.h"
#include "deep/perturbed_orbit.h"
#include "deep/perturbed_step.h"
#include "engine/vector4.h"

namespace orvane::deep {

namespace {

// One vector of four lanes. A second one could fill the waits in the first one's chain of
// operations, but measured a third slower: the two vectors' state no longer stays in
// registers.
constexpr std::size_t kLanes = 4;

// Four pixels' complex values, one pixel per lane.
struct V4Complex {
  V4d re, im;
};

// The vector holds its lanes in the order 0, 2, 1, 3: the order in which unpacking two pairs
// of lanes' (re, im) values leaves them.
constexpr std::array<std::size_t, kLanes> kOrder = {0, 2, 1, 3};

// Whether a pixel inside the set may end as soon as its colour is settled.
InsideSteady steadyColours(const ColourSetup& colours) {
  return [&colours](double qLow, double qHigh) { return insideColourSteady(colours, qLow, qHigh); };
}

// The pixels of a worker's share as they pass through the lanes.
class Lanes {
 public:
  Lanes(PointWork& work, const DeepView& view, const DeepReference& reference)
      : work_(work),
        view_(view),
        reference_(reference),
        feed_(work),
        steady_(steadyColours(work.colours)) {}

  // Steps every pixel of the share to its end; returns the steps performed.
  StepCounts run() {
    for (std::size_t l = 0; l < kLanes; ++l) {
      if (!refill(l, false)) return finishAlone();
      load(l);
    }
    together();
    return finishAlone();
  }

 private:
  struct Lane {
    std::optional<PerturbedOrbit> orbit;
    std::size_t index = 0;
  };

  // Takes the next pixel into lane l; false when the share has none left.
  bool take(std::size_t l) {
    Lane& lane = lanes_[l];
    if (!feed_.take(lane.index)) {
      lane.orbit.reset();
      return false;
    }
    const Pixel p = work_.pixels[lane.index];
    const PointSetup& setup = work_.setup;
    lane.orbit.emplace(reference_, pixelOffset(p.x, p.y, setup, view_.zoom),
                       work_.randomBase + lane.index * setup.randomStride(), &steady_);
    return true;
  }

  // Scalar steps for lane l, at least one when `stepFirst`, until its pixel can go back into
  // the vector, taking new pixels as the old ones end; false when the share runs out.
  bool refill(std::size_t l, bool stepFirst) {
    Lane& lane = lanes_[l];
    if (!lane.orbit && !take(l)) return false;
    for (;;) {
      if (!stepFirst && lane.orbit->pixel().laneReady() && stepsLeft(*lane.orbit) > 0) return true;
      stepFirst = false;
      if (lane.orbit->advance(work_.setup)) {
        finish(lane);
        if (!take(l)) return false;
      }
    }
  }

  void finish(Lane& lane) {
    const PointResult& result = lane.orbit->result();
    work_.out[lane.index] = colourOf(work_.colours, result);
    lane.orbit->count(counts_);
  }

  // The steps the vector may take for this pixel before the depth or its reference's end.
  long stepsLeft(PerturbedOrbit& orbit) const {
    const LaneState state = orbit.pixel().lane();
    return std::min(static_cast<long>(work_.setup.depth - orbit.n()),
                    static_cast<long>(state.size) - 2 - static_cast<long>(state.i));
  }

  // Puts lane l's state into the vector.
  ORVANE_AVX2 void load(std::size_t l) {
    Lane& lane = lanes_[l];
    const LaneState state = lane.orbit->pixel().lane();
    const std::size_t p = kOrder[l];
    at_[l] = state.orbit + state.i;
    registers_.steps[p] = 0;
    registers_.wRe[p] = state.w.re;
    registers_.wIm[p] = state.w.im;
    registers_.cRe[p] = state.constant.re;
    registers_.cIm[p] = state.constant.im;
    registers_.isDouble[p] = state.scaled ? 0 : -1;
    registers_.low[p] = state.scaled ? kRescaleBelow : kWideNormBelow;
    registers_.high[p] = state.wNormAbove;
    registers_.tiny[p] = state.scaled ? kTinyReferenceNorm : -1.0;
    registers_.left[p] = stepsLeft(*lane.orbit);
    registers_.bigRe[p] = at_[l]->re;
    registers_.bigIm[p] = at_[l]->im;
    registers_.lastQ[p] = 0;
  }

  // Hands lane l's vector steps back to its pixel.
  ORVANE_AVX2 void unload(std::size_t l) {
    Lane& lane = lanes_[l];
    const std::size_t p = kOrder[l];
    const auto steps = static_cast<int>(registers_.steps[p]);
    if (steps == 0) return;
    LaneState state = lane.orbit->pixel().lane();
    state.i += static_cast<std::size_t>(steps);
    state.w = {registers_.wRe[p], registers_.wIm[p]};
    lane.orbit->resume(state, steps, registers_.lastQ[p]);
  }

  // The vector's state, held in registers while it steps and in the members while lanes come
  // and go.
  struct Registers {
    V4d wRe, wIm, cRe, cIm, low, high, tiny, bigRe, bigIm, lastQ;
    V4i isDouble, left, steps;

    // Keeps the step just computed in the lanes of `keep`.
    ORVANE_AVX2 void keep(V4i keep, V4d nRe, V4d nIm, V4d nextRe, V4d nextIm, V4d q) {
      wRe = blend(keep, nRe, wRe);
      wIm = blend(keep, nIm, wIm);
      bigRe = blend(keep, nextRe, bigRe);
      bigIm = blend(keep, nextIm, bigIm);
      lastQ = blend(keep, q, lastQ);
      left += keep;  // a kept lane's mask is -1
      steps -= keep;
    }
  };

  // The vector's steps, until a lane's pixel cannot come back.
  ORVANE_AVX2 void together() {
    // Up to this |z|^2 no draw can make the step escape; beyond it the scalar step tests.
    // Without jitter it is the escape test itself, exact: orbits near the tip -2 sit at
    // |z|^2 = 4 for many steps, right at the usual threshold.
    const V4d inside = splat(work_.setup.band.inside);
    const V4d zero = {};
    const V4i one = {1, 1, 1, 1};
    Registers r = registers_;
    const Complex* at[kLanes];
    std::copy(std::begin(at_), std::end(at_), at);
    for (;;) {
      const auto pair = [&](std::size_t l) {
        return _mm_loadu_pd(reinterpret_cast<const double*>(at[l] + 1));
      };
      const __m256d low = _mm256_set_m128d(pair(1), pair(0));                   // re0 im0 re1 im1
      const __m256d high = _mm256_set_m128d(pair(3), pair(2));                  // re2 im2 re3 im3
      const V4d nextRe = reinterpret_cast<V4d>(_mm256_unpacklo_pd(low, high));  // re0 re2 re1 re3
      const V4d nextIm = reinterpret_cast<V4d>(_mm256_unpackhi_pd(low, high));
      // The difference where it is added to Z: dz in double mode, +0 in scaled mode.
      const V4Complex dz = {reinterpret_cast<V4d>(reinterpret_cast<V4i>(r.wRe) & r.isDouble),
                            reinterpret_cast<V4d>(reinterpret_cast<V4i>(r.wIm) & r.isDouble)};
      const auto [nRe, nIm] = perturbedStep(V4Complex{r.bigRe, r.bigIm}, dz,
                                            V4Complex{r.wRe, r.wIm}, V4Complex{r.cRe, r.cIm});
      const V4d zRe = nextRe + reinterpret_cast<V4d>(reinterpret_cast<V4i>(nRe) & r.isDouble);
      const V4d zIm = nextIm + reinterpret_cast<V4d>(reinterpret_cast<V4i>(nIm) & r.isDouble);
      const V4d q = zRe * zRe + zIm * zIm;
      const V4d wNorm = nRe * nRe + nIm * nIm;
      const V4i event = beyond(q, inside) | (r.isDouble & (q < wNorm)) |
                        ((wNorm < r.low) & ((wNorm > zero) | r.isDouble)) | (wNorm > r.high) |
                        (nextRe * nextRe + nextIm * nextIm < r.tiny) | (r.left < one);
      if (_mm256_testz_si256(reinterpret_cast<__m256i>(event), reinterpret_cast<__m256i>(event))) {
        r.keep(~V4i{}, nRe, nIm, nextRe, nextIm, q);
        for (const Complex*& lane : at) ++lane;
        continue;
      }
      // The lanes that stopped the step leave without it; the others keep it.
      r.keep(~event, nRe, nIm, nextRe, nextIm, q);
      registers_ = r;
      for (std::size_t l = 0; l < kLanes; ++l) at_[l] = at[l] + (event[kOrder[l]] == 0);
      for (std::size_t l = 0; l < kLanes; ++l) {
        if (event[kOrder[l]] == 0) continue;
        unload(l);
        if (!refill(l, true)) {
          for (std::size_t other = 0; other < kLanes; ++other) {
            if (other != l) unload(other);
          }
          return;
        }
        load(l);
      }
      r = registers_;
      std::copy(std::begin(at_), std::end(at_), at);
    }
  }

  // The pixels still in lanes, and the rest of the share, one at a time.
  StepCounts finishAlone() {
    for (std::size_t l = 0; l < kLanes; ++l) {
      Lane& lane = lanes_[l];
      while (lane.orbit || take(l)) {
        while (!lane.orbit->advance(work_.setup)) {
        }
        finish(lane);
        lane.orbit.reset();
      }
    }
    return counts_;
  }

  PointWork& work_;
  const DeepView& view_;
  const DeepReference& reference_;
  PointFeed feed_;
  InsideSteady steady_;
  std::array<Lane, kLanes> lanes_;
  StepCounts counts_;
  const Complex* at_[kLanes] = {};
  Registers registers_{};
};

// The share one pixel at a time, for processors without AVX2.
StepCounts computeAlone(PointWork& work, const DeepView& view, const DeepReference& reference) {
  PointFeed feed(work);
  const std::uint64_t stride = work.setup.randomStride();
  const InsideSteady steady = steadyColours(work.colours);
  StepCounts counts;
  for (std::size_t i; feed.take(i);) {
    const Pixel p = work.pixels[i];
    PerturbedOrbit orbit(reference, pixelOffset(p.x, p.y, work.setup, view.zoom),
                         work.randomBase + i * stride, &steady);
    while (!orbit.advance(work.setup)) {
    }
    work.out[i] = colourOf(work.colours, orbit.result());
    orbit.count(counts);
  }
  return counts;
}

}  // namespace

StepCounts computePerturbed(PointWork& work, const DeepView& view, const DeepReference& reference) {
  if (!vectorKernelAvailable()) return computeAlone(work, view, reference);
  return Lanes(work, view, reference).run();
}

}  // namespace orvane::deep

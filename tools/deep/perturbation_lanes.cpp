// A worker's share of a deep picture: eight pixels side by side, stepped together in AVX2
// vectors while all four are in double or scaled mode and nothing out of the way happens.
//
// A step is one long chain of dependent operations, so a single pixel leaves the processor
// idle most of the time. The vector step performs exactly the scalar step's operations in the
// same order, and any step that might escape, rebase, rescale, change mode, meet a tiny
// reference value or end the reference is left to the scalar step: every pixel's result is
// the one iterateDeepPixel gives. A lane whose pixel ends takes the next at once.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "tools/deep/perturbation.h"
#include "tools/deep/perturbed_pixel.h"

// AVX2 function by function, as in the engine's kernel, so that no header code this file
// instantiates is compiled for AVX2 and then kept by the linker for every processor.
#define ORVANE_AVX2 [[gnu::target("avx2")]]

namespace orvane::deep {

namespace {

// Two vectors of four lanes: the second vector's step fills the first one's waits.
constexpr std::size_t kVectors = 1;
constexpr std::size_t kWidth = 4;
constexpr std::size_t kLanes = kVectors * kWidth;

typedef double V4d __attribute__((vector_size(32)));
typedef std::int64_t V4i __attribute__((vector_size(32)));

// Below this |z|^2 no jitter draw can make a step escape, with room for the rounding of
// |z|^2 to a float that the escape test makes; -infinity where the thresholds are not
// positive numbers, so that every step goes to the scalar test.
double surelyInside(const PointSetup& setup) {
  double lowest = setup.threshold;
  if (setup.jittered) {
    const auto at = [&setup](double r) {
      return (setup.jitterLow + r * setup.jitterSpan) * setup.escape;
    };
    lowest = std::min(at(0), at(1));
  }
  if (!(lowest > 0)) return -std::numeric_limits<double>::infinity();
  return lowest * (1 - 0x1p-20);
}

// A vector holds its four lanes in the order 0, 2, 1, 3: the order in which unpacking two
// pairs of lanes' (re, im) values leaves them.
constexpr std::array<std::size_t, kWidth> kPosition = {0, 2, 1, 3};

// Z_offset of four lanes: real parts to `re`, imaginary parts to `im`.
ORVANE_AVX2 void loadReference(const Complex* const at[kWidth], std::size_t offset, V4d& re,
                               V4d& im) {
  const auto pair = [&](std::size_t l) {
    return _mm_loadu_pd(reinterpret_cast<const double*>(at[l] + offset));
  };
  const __m256d low = _mm256_set_m128d(pair(1), pair(0));     // re0 im0 re1 im1
  const __m256d high = _mm256_set_m128d(pair(3), pair(2));    // re2 im2 re3 im3
  re = reinterpret_cast<V4d>(_mm256_unpacklo_pd(low, high));  // re0 re2 re1 re3
  im = reinterpret_cast<V4d>(_mm256_unpackhi_pd(low, high));
}

// Four lanes of the step, in vectors.
struct LaneVector {
  const Complex* at[kWidth];
  V4d wRe, wIm, cRe, cIm, factor, low, high, tiny, bigRe, bigIm, lastQ;
  V4i isDouble;

  ORVANE_AVX2 void load(const LaneState* lanes) {
    for (std::size_t l = 0; l < kWidth; ++l) {
      const LaneState& lane = lanes[l];
      const std::size_t p = kPosition[l];
      at[l] = lane.orbit + lane.i;
      wRe[p] = lane.w.re;
      wIm[p] = lane.w.im;
      cRe[p] = lane.constant.re;
      cIm[p] = lane.constant.im;
      factor[p] = lane.factor;
      isDouble[p] = lane.scaled ? 0 : -1;
      low[p] = lane.scaled ? kRescaleBelow : kWideNormBelow;
      high[p] = lane.wNormAbove;
      tiny[p] = lane.scaled ? kTinyReferenceNorm : -1.0;
    }
    loadReference(at, 0, bigRe, bigIm);
    lastQ = V4d{};
  }

  // Step `taken` + 1 into the `next` values; its lanes that need the scalar step in `event`.
  ORVANE_AVX2 V4i step(int taken, V4d bound, V4d& nRe, V4d& nIm, V4d& nextRe, V4d& nextIm,
                       V4d& qNow) const {
    loadReference(at, static_cast<std::size_t>(taken) + 1, nextRe, nextIm);
    const V4d tRe = 2 * bigRe + wRe * factor;
    const V4d tIm = 2 * bigIm + wIm * factor;
    nRe = tRe * wRe - tIm * wIm + cRe;
    nIm = tRe * wIm + tIm * wRe + cIm;
    const V4d zRe = nextRe + nRe * factor;
    const V4d zIm = nextIm + nIm * factor;
    qNow = zRe * zRe + zIm * zIm;
    const V4d wNorm = nRe * nRe + nIm * nIm;
    const V4d zero = {};
    return ~(qNow <= bound) | (isDouble & (qNow < wNorm)) |
           ((wNorm < low) & ((wNorm > zero) | isDouble)) | (wNorm > high) |
           (nextRe * nextRe + nextIm * nextIm < tiny);
  }

  ORVANE_AVX2 void store(LaneState* lanes, int taken, double* q) const {
    for (std::size_t l = 0; l < kWidth; ++l) {
      const std::size_t p = kPosition[l];
      lanes[l].i += static_cast<std::size_t>(taken);
      lanes[l].w = {wRe[p], wIm[p]};
      q[l] = lastQ[p];
    }
  }
};

// The lanes' steps from their states, at most `steps` of them; returns the steps taken, the
// last |z|^2 of each lane in `q`, and in `scalar` the lanes whose next step needs the scalar
// path: those that stopped the vectors, or all of them where the steps ran out.
ORVANE_AVX2 int stepTogether(std::array<LaneState, kLanes>& lanes, int steps, double inside,
                             std::array<double, kLanes>& q, std::array<bool, kLanes>& scalar) {
  std::array<LaneVector, kVectors> vectors;
  for (std::size_t v = 0; v < kVectors; ++v) vectors[v].load(&lanes[v * kWidth]);
  const V4d bound = {inside, inside, inside, inside};
  scalar.fill(true);
  int taken = 0;
  for (; taken < steps; ++taken) {
    V4d nRe[kVectors], nIm[kVectors], nextRe[kVectors], nextIm[kVectors], qNow[kVectors];
    V4i event[kVectors], any = {};
    for (std::size_t v = 0; v < kVectors; ++v) {
      event[v] = vectors[v].step(taken, bound, nRe[v], nIm[v], nextRe[v], nextIm[v], qNow[v]);
      any |= event[v];
    }
    if (!_mm256_testz_si256(reinterpret_cast<__m256i>(any), reinterpret_cast<__m256i>(any))) {
      for (std::size_t l = 0; l < kLanes; ++l)
        scalar[l] = event[l / kWidth][kPosition[l % kWidth]] != 0;
      break;
    }
    for (std::size_t v = 0; v < kVectors; ++v) {
      LaneVector& lane = vectors[v];
      lane.wRe = nRe[v];
      lane.wIm = nIm[v];
      lane.lastQ = qNow[v];
      lane.bigRe = nextRe[v];
      lane.bigIm = nextIm[v];
    }
  }
  for (std::size_t v = 0; v < kVectors; ++v)
    vectors[v].store(&lanes[v * kWidth], taken, &q[v * kWidth]);
  return taken;
}

bool hasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

struct Lane {
  std::optional<PerturbedOrbit> orbit;
  std::size_t index = 0;
};

// The steps all four lanes can take before one reaches the depth or its reference's end.
int stepsAhead(std::array<Lane, kLanes>& lanes, std::array<LaneState, kLanes>& states, int depth) {
  long steps = std::numeric_limits<int>::max();
  for (std::size_t l = 0; l < kLanes; ++l) {
    PerturbedOrbit* orbit = lanes[l].orbit ? &*lanes[l].orbit : nullptr;
    if (!orbit || !orbit->pixel().laneReady()) return 0;
    states[l] = orbit->pixel().lane();
    steps = std::min({steps, static_cast<long>(depth - orbit->n()),
                      static_cast<long>(states[l].size) - 2 - static_cast<long>(states[l].i)});
  }
  return static_cast<int>(std::max(steps, 0L));
}

}  // namespace

std::uint64_t computePerturbed(PointWork& work, const DeepView& view,
                               const DeepReference& reference) {
  const PointSetup& setup = work.setup;
  const std::uint64_t stride = setup.randomStride();
  const double inside = surelyInside(setup);
  const bool together = hasAvx2();
  PointFeed feed(work);
  const auto fill = [&](Lane& lane) {
    if (!feed.take(lane.index)) return lane.orbit.reset();
    const Pixel p = work.pixels[lane.index];
    lane.orbit.emplace(reference, pixelOffset(p.x, p.y, setup, view.zoom),
                       work.randomBase + lane.index * stride);
  };
  std::array<Lane, kLanes> lanes;
  std::size_t busy = 0;
  for (Lane& lane : lanes) {
    fill(lane);
    busy += lane.orbit.has_value();
  }
  std::array<LaneState, kLanes> states;
  std::array<double, kLanes> q;
  std::array<bool, kLanes> scalar;
  std::uint64_t iterations = 0;
  while (busy > 0) {
    scalar.fill(true);
    if (const int ahead = together ? stepsAhead(lanes, states, setup.depth) : 0; ahead > 0) {
      if (const int taken = stepTogether(states, ahead, inside, q, scalar); taken > 0) {
        for (std::size_t l = 0; l < kLanes; ++l) lanes[l].orbit->resume(states[l], taken, q[l]);
      }
    }
    for (std::size_t l = 0; l < kLanes; ++l) {
      Lane& lane = lanes[l];
      if (!scalar[l] || !lane.orbit || !lane.orbit->advance(setup)) continue;
      const PointResult& result = lane.orbit->result();
      work.out[lane.index] = colourOf(work.colours, result);
      iterations += static_cast<std::uint64_t>(result.n) + 1;
      fill(lane);
      busy -= !lane.orbit;
    }
  }
  return iterations;
}

}  // namespace orvane::deep

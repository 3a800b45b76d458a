// The vectorised kernel: 4 points per AVX2 vector, several vectors in flight per thread.
//
// Every lane performs exactly the operations of the reference iteration, in the same order
// and in double, so each point's result equals the plain evaluation bit for bit. A lane whose
// point ends takes the next point at once (lane refill), so lanes do not idle while their
// neighbours iterate on. Only the functions below the target pragma use AVX2; the dispatch
// checks the processor before calling them.
#include <immintrin.h>

#include <array>
#include <cstdint>
#include <limits>
#include <utility>

#include "point_iteration.h"
#include "point_work.h"
#include "random_sequence.h"

#pragma GCC push_options
#pragma GCC target("avx2")

namespace orvane {

namespace {

typedef double V4d __attribute__((vector_size(32)));
typedef std::int64_t V4i __attribute__((vector_size(32)));
typedef std::uint64_t V4u __attribute__((vector_size(32)));
typedef float V4f __attribute__((vector_size(16)));

constexpr int kLanes = 4;
// Independent vectors interleaved per thread: enough to hide the latency of one step.
constexpr int kVectors = 4;
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

V4d splat(double value) { return V4d{value, value, value, value}; }
int laneMask(V4i mask) { return _mm256_movemask_pd(reinterpret_cast<__m256d>(mask)); }
V4d squareRoot(V4d value) {
  return reinterpret_cast<V4d>(_mm256_sqrt_pd(reinterpret_cast<__m256d>(value)));
}

// The step's random number for each lane: SplitMix64 of the lane's Weyl counter, top 24 bits
// over 2^24. The mix's last xor-shift leaves the top 24 bits alone, so it is skipped.
V4d randomOf(V4u weyl) {
  V4u z = weyl;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  // 1 + top / 2^24 built in the mantissa, then 1 taken away: exact, no integer conversion.
  const V4u one = (z >> 40 << 28) | 0x3FF0000000000000ull;
  return reinterpret_cast<V4d>(one) - 1.0;
}

// Lanes of z <- z^2 + c (Mandelbrot and Julia).
struct QuadraticLanes {
  V4d a, b, sqA, sqB, q, m, cx, cy;
  V4u weyl;
  V4i active;
};

template <bool kJittered>
struct Quadratic {
  using Lanes = QuadraticLanes;
  const PointSetup& setup;
  V4d bound = splat(setup.thresholdBound);
  V4d jitterLow = splat(setup.jitterLow);
  V4d jitterSpan = splat(setup.jitterSpan);
  V4d escape = splat(setup.escape);

  void load(Lanes& v, int lane, Pixel pixel, std::uint64_t randomPosition) const {
    const Complex p = mapPixel(pixel.x, pixel.y, setup);
    const PointSettings& s = setup.settings;
    const bool julia = s.formula == formula::kJulia;
    const Complex z0 = julia ? p : Complex{s.dimX, s.dimY};
    const Complex c = julia ? Complex{s.juliaX, s.juliaY} : p;
    v.a[lane] = z0.re;
    v.b[lane] = z0.im;
    v.sqA[lane] = z0.re * z0.re;
    v.sqB[lane] = z0.im * z0.im;
    v.q[lane] = v.sqA[lane] + v.sqB[lane];  // the first step's m
    v.cx[lane] = c.re;
    v.cy[lane] = c.im;
    v.weyl[lane] = randomPosition * RandomSequence::kGamma;
    v.active[lane] = -1;
  }

  static void clear(Lanes& v, int lane) {
    v.a[lane] = v.b[lane] = v.sqA[lane] = v.sqB[lane] = v.q[lane] = v.cx[lane] = v.cy[lane] = 0;
    v.active[lane] = 0;
  }

  // One step on every lane; returns the lanes that escaped.
  V4i step(Lanes& v) const {
    v.m = v.q;
    const V4d bNext = 2 * v.b * v.a + v.cy;
    const V4d aNext = v.sqA - v.sqB + v.cx;
    v.a = aNext;
    v.b = bNext;
    v.sqA = aNext * aNext;
    v.sqB = bNext * bNext;
    v.q = v.sqA + v.sqB;
    if constexpr (kJittered) {
      v.weyl += RandomSequence::kGamma;
      const V4d threshold = (jitterLow + randomOf(v.weyl) * jitterSpan) * escape;
      const V4d asFloat = __builtin_convertvector(__builtin_convertvector(v.q, V4f), V4d);
      return ~(asFloat <= threshold) & v.active;
    } else {
      return ~(v.q <= bound) & v.active;
    }
  }

  static PointResult result(const Lanes& v, int lane) { return {0, false, v.m[lane], v.q[lane]}; }
};

// Lanes of z <- sqrt(z) + c (Hole).
struct HoleLanes {
  V4d x, y, sqX, sqY, sum, m, cx, cy;
  V4i active;
};

struct Hole {
  using Lanes = HoleLanes;
  const PointSetup& setup;
  V4d bound = splat(setup.holeBound);

  void load(Lanes& v, int lane, Pixel pixel, std::uint64_t) const {
    const Complex c = mapPixel(pixel.x, pixel.y, setup);
    v.x[lane] = v.y[lane] = 0.0625;
    v.sqX[lane] = v.sqY[lane] = 0.0625 * 0.0625;
    v.sum[lane] = 0.0625 * 0.0625 + 0.0625 * 0.0625;
    v.cx[lane] = c.re;
    v.cy[lane] = c.im;
    v.active[lane] = -1;
  }

  static void clear(Lanes& v, int lane) {
    v.x[lane] = v.y[lane] = 0.0625;
    v.cx[lane] = v.cy[lane] = 0;
    v.active[lane] = 0;
  }

  V4i step(Lanes& v) const {
    v.m = v.sum;
    // Halving by * 0.5 gives the same double as / 2, for every value.
    const V4d s = squareRoot((squareRoot(v.sqY + v.sqX) - v.x) * 0.5);
    const V4d xNext = v.y * 0.5 / s + v.cx;
    const V4d yNext = s + v.cy;
    v.x = xNext;
    v.y = yNext;
    v.sqX = xNext * xNext;
    v.sqY = yNext * yNext;
    v.sum = v.sqY + v.sqX;
    return ~(v.sum <= bound) & v.active;
  }

  static PointResult result(const Lanes& v, int lane) {
    return {0, false, v.m[lane], v.sum[lane]};
  }
};

// Which point each lane holds and at which step it began.
struct LaneBook {
  std::int64_t start[kLanes];
  std::size_t index[kLanes];
};

template <class Formula>
class Worker {
 public:
  Worker(PointWork& work, const Formula& formula)
      : work_(work), formula_(formula), feed_(work), stride_(work.setup.randomStride()),
        steps_(work.setup.depth + 1) {}

  std::uint64_t run() {
    for (int v = 0; v < kVectors; ++v)
      for (int lane = 0; lane < kLanes; ++lane) refill(v, lane);
    updateDeadline();
    while (activeLanes_ > 0) {
      std::array<V4i, kVectors> escaped;
      runUntilEvent(escaped, std::make_index_sequence<kVectors>());
      settle(escaped);
    }
    return iterations_;
  }

 private:
  // Steps all vectors together until a lane escapes or reaches the depth. The lanes are
  // copied into locals so that they live in registers rather than memory.
  template <std::size_t... V>
  void runUntilEvent(std::array<V4i, kVectors>& escaped, std::index_sequence<V...>) {
    std::array<typename Formula::Lanes, kVectors> lanes = lanes_;
    for (;;) {
      ((escaped[V] = formula_.step(lanes[V])), ...);
      ++step_;
      const V4i any = (escaped[V] | ...);
      if (laneMask(any) != 0 || step_ == deadline_) break;
    }
    lanes_ = lanes;
  }

  void settle(const std::array<V4i, kVectors>& escaped) {
    for (int v = 0; v < kVectors; ++v) {
      const int mask = laneMask(escaped[static_cast<std::size_t>(v)]);
      for (int lane = 0; lane < kLanes; ++lane) {
        const std::int64_t taken = step_ - book_[v].start[lane];
        if ((mask >> lane & 1) == 0 && taken != steps_) continue;
        finish(v, lane, taken);
        refill(v, lane);
      }
    }
    updateDeadline();
  }

  void finish(int v, int lane, std::int64_t taken) {
    PointResult result = Formula::result(lanes_[static_cast<std::size_t>(v)], lane);
    result.n = static_cast<int>(taken - 1);
    result.reached = taken == steps_;
    work_.out[book_[v].index[lane]] = colourOf(work_.colours, result);
    iterations_ += static_cast<std::uint64_t>(taken);
  }

  void refill(int v, int lane) {
    auto& lanes = lanes_[static_cast<std::size_t>(v)];
    const bool wasActive = lanes.active[lane] != 0;
    std::size_t i;
    if (feed_.take(i)) {
      formula_.load(lanes, lane, work_.pixels[i], work_.randomBase + i * stride_);
      book_[v].start[lane] = step_;
      book_[v].index[lane] = i;
      if (!wasActive) ++activeLanes_;
    } else {
      Formula::clear(lanes, lane);
      book_[v].start[lane] = kNever;
      if (wasActive) --activeLanes_;
    }
  }

  void updateDeadline() {
    deadline_ = kNever;
    for (int v = 0; v < kVectors; ++v)
      for (int lane = 0; lane < kLanes; ++lane)
        if (book_[v].start[lane] != kNever)
          deadline_ = std::min(deadline_, book_[v].start[lane] + steps_);
  }

  PointWork& work_;
  const Formula& formula_;
  PointFeed feed_;
  std::uint64_t stride_;
  std::int64_t steps_;  // steps a point takes when it reaches the depth
  std::array<typename Formula::Lanes, kVectors> lanes_{};
  LaneBook book_[kVectors]{};
  std::int64_t step_ = 0;
  std::int64_t deadline_ = kNever;
  int activeLanes_ = 0;
  std::uint64_t iterations_ = 0;
};

template <class Formula>
std::uint64_t runWorker(PointWork& work, const Formula& formula) {
  return Worker<Formula>(work, formula).run();
}

}  // namespace

std::uint64_t computeVectorised(PointWork& work) {
  const PointSetup& setup = work.setup;
  if (setup.settings.formula == formula::kHole) return runWorker(work, Hole{setup});
  if (setup.jittered) return runWorker(work, Quadratic<true>{setup});
  return runWorker(work, Quadratic<false>{setup});
}

}  // namespace orvane

#pragma GCC pop_options

namespace orvane {

bool vectorKernelAvailable() { return __builtin_cpu_supports("avx2"); }

}  // namespace orvane

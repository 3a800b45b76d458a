// The vectorised kernel: 4 points per AVX2 vector, several vectors in flight per thread.
//
// Every lane performs exactly the operations of the reference iteration, in the same order
// and in double, so each point's result equals the plain evaluation bit for bit. A lane whose
// point ends takes the next point at once (lane refill), so lanes do not idle while their
// neighbours iterate on. Only the functions marked ORVANE_AVX2 use AVX2; the dispatch checks
// the processor before calling them.
//
// To keep the loop-carried state small (it must stay in the 16 vector registers), a lane
// carries only z. The squares of z serve twice: as the escape test of the step that produced
// z, and as the input of the next step. So the loop tests first and steps second, and a lane
// enters the vectors with at least its first step taken, so that every test belongs to a
// step. Points start in bursts that run their first steps together without refill: most
// points outside the set end there and never cost a refill.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <utility>

#include "engine/point_iteration.h"
#include "engine/point_work.h"
#include "engine/random_sequence.h"
#include "engine/vector4.h"

namespace orvane {

namespace {

constexpr int kLanes = 4;
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

ORVANE_AVX2 V4d squareRoot(V4d value) {
  return reinterpret_cast<V4d>(_mm256_sqrt_pd(reinterpret_cast<__m256d>(value)));
}

// The step's random number for each lane: SplitMix64 of the lane's Weyl counter, top 24 bits
// over 2^24. The mix's last xor-shift leaves the top 24 bits alone, so it is skipped.
ORVANE_AVX2 V4d randomOf(V4u weyl) {
  V4u z = weyl;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  // 1 + top / 2^24 built in the mantissa, then 1 taken away: exact, no integer conversion.
  const V4u one = (z >> 40 << 28) | 0x3FF0000000000000ull;
  return reinterpret_cast<V4d>(one) - 1.0;
}

// Where a point's orbit starts, and its constant: vectors of four points.
struct Start {
  V4d a, b, cx, cy;
};

// z <- z^2 + c (Mandelbrot and Julia).
template <bool kJittered>
struct Quadratic {
  // Independent vectors interleaved per thread: enough to hide the latency of one step.
  static constexpr std::size_t kVectors = 4;
  static constexpr bool kUsesRandom = kJittered;
  // An empty lane holds z = 0 and c = 0: q stays 0 and never escapes, so no mask is needed.
  static constexpr bool kMasksEmptyLanes = false;
  const PointSetup& setup;
  V4d inside = splat(setup.band.inside);
  V4d outside = splat(setup.band.outside);
  V4d jitterLow = splat(setup.jitterLow);
  V4d jitterSpan = splat(setup.jitterSpan);
  V4d escape = splat(setup.escape);

  ORVANE_AVX2 Start start(V4d re, V4d im) const {
    const PointSettings& s = setup.settings;
    if (s.formula == formula::kJulia) return {re, im, splat(s.juliaX), splat(s.juliaY)};
    return {splat(s.dimX), splat(s.dimY), re, im};
  }

  // The rest of a step, from z and its squares.
  ORVANE_AVX2 static void step(V4d& a, V4d& b, V4d sqA, V4d sqB, V4d cx, V4d cy) {
    b = 2 * b * a + cy;
    a = sqA - sqB + cx;
  }

  // The escape test of the step that produced q; `weyl` counts that step's random number.
  // Only a q inside the band is worth a draw (without jitter there is none).
  ORVANE_AVX2 V4i escaped(V4d q, V4u weyl) const {
    const V4i escapedWhatever = beyond(q, inside);
    if constexpr (kJittered) {
      const V4i inBand = escapedWhatever & (q <= outside);
      if (laneMask(inBand) == 0) return escapedWhatever;
      const V4d asFloat =
          reinterpret_cast<V4d>(_mm256_cvtps_pd(_mm256_cvtpd_ps(reinterpret_cast<__m256d>(q))));
      // setup.thresholdAt(r), lane by lane.
      const V4d threshold = (jitterLow + randomOf(weyl) * jitterSpan) * escape;
      return beyond(asFloat, threshold);
    }
    return escapedWhatever;
  }
};

// z <- sqrt(z) + c (Hole), z = x + yi held as (a, b).
struct Hole {
  static constexpr std::size_t kVectors = 4;
  static constexpr bool kUsesRandom = false;
  // No z stays put under sqrt(z) + c near 0, so empty lanes are masked out of the tests.
  static constexpr bool kMasksEmptyLanes = true;
  const PointSetup& setup;
  V4d bound = splat(setup.holeBound);

  ORVANE_AVX2 Start start(V4d re, V4d im) const {
    return {splat(kHoleStart.re), splat(kHoleStart.im), re, im};
  }

  // sqrt(P + Q) takes the sum the escape test formed, which is the same double.
  ORVANE_AVX2 static void step(V4d& x, V4d& y, V4d sqX, V4d sqY, V4d cx, V4d cy) {
    // Halving by * 0.5 gives the same double as / 2, for every value.
    const V4d s = squareRoot((squareRoot(sqY + sqX) - x) * 0.5);
    x = y * 0.5 / s + cx;
    y = s + cy;
  }

  ORVANE_AVX2 V4i escaped(V4d sum, V4u) const { return beyond(sum, bound); }
};

// Points a burst left running, waiting for a free lane: z after `taken` steps, untested.
struct Prepared {
  static constexpr std::size_t kCapacity = 16;
  std::array<double, kCapacity> a, b, cx, cy, m;
  std::array<std::uint64_t, kCapacity> weyl;
  std::array<std::int64_t, kCapacity> taken;
  std::array<std::size_t, kCapacity> index;
  std::size_t count = 0;
  std::size_t next = 0;
};

// Results waiting to be coloured: colouring them together lets their work overlap.
struct Finished {
  static constexpr std::size_t kCapacity = 32;
  std::array<PointResult, kCapacity> results;
  std::array<std::size_t, kCapacity> index;
  std::size_t count = 0;
};

template <class Formula>
class Worker {
  static constexpr std::size_t kVectors = Formula::kVectors;

 public:
  ORVANE_AVX2 Worker(PointWork& work, const Formula& formula)
      : work_(work),
        formula_(formula),
        feed_(work),
        stride_(work.setup.randomStride()),
        steps_(std::int64_t{work.setup.depth} + 1) {}

  ORVANE_AVX2 StepCounts run() {
    for (std::size_t v = 0; v < kVectors; ++v)
      for (int lane = 0; lane < kLanes; ++lane) refill(v, lane);
    while (activeLanes_ > 0) {
      runUntilEvent(std::make_index_sequence<kVectors>());
      settle();
    }
    colourFinished();
    return counts_;
  }

 private:
  // Tests and steps all vectors together until a lane escapes or reaches the depth. The
  // carried values are locals so that they live in registers. Each vector tests z and takes
  // its next step in one go, so z's squares die at once; lanes that end at a test have
  // stepped once more for nothing, and are refilled.
  template <std::size_t... V>
  ORVANE_AVX2 void runUntilEvent(std::index_sequence<V...>) {
    std::array<V4d, kVectors> a = a_;
    std::array<V4d, kVectors> b = b_;
    std::array<V4u, kVectors> weyl = weyl_;
    std::int64_t step = step_;
    const std::int64_t deadline = deadline_;
    for (;;) {
      std::array<V4d, kVectors> q;
      std::array<V4i, kVectors> escaped;
      ((escaped[V] = advance(a[V], b[V], q[V], weyl[V], cx_[V], cy_[V])), ...);
      if constexpr (Formula::kMasksEmptyLanes) ((escaped[V] &= active_[V]), ...);
      if (laneMask((escaped[V] | ...)) != 0 || step == deadline) {
        q_ = q;
        escaped_ = escaped;
        break;
      }
      ((m_[V] = q[V]), ...);
      ++step;
    }
    a_ = a;
    b_ = b;
    if constexpr (Formula::kUsesRandom) weyl_ = weyl;
    step_ = step;
  }

  // Ends the lanes whose test ended their point and refills them; the others go on with the
  // step they have just taken.
  ORVANE_AVX2 void settle() {
    const std::int64_t tested = step_++;
    const bool atDeadline = tested == deadline_;
    for (std::size_t v = 0; v < kVectors; ++v) {
      int ending = laneMask(escaped_[v]);
      if (atDeadline)
        for (int lane = 0; lane < kLanes; ++lane)
          if (end_[v][lane] == tested) ending |= 1 << lane;
      ending &= laneMask(active_[v]);
      for (int bits = ending; bits != 0; bits &= bits - 1)
        finish(v, std::countr_zero(static_cast<unsigned>(bits)), tested);
      m_[v] = q_[v];
      for (int bits = ending; bits != 0; bits &= bits - 1)
        refill(v, std::countr_zero(static_cast<unsigned>(bits)));
    }
    if (atDeadline) {
      deadline_ = kNever;
      for (std::size_t v = 0; v < kVectors; ++v)
        for (int lane = 0; lane < kLanes; ++lane) deadline_ = std::min(deadline_, end_[v][lane]);
    }
  }

  ORVANE_AVX2 void finish(std::size_t v, int lane, std::int64_t tested) {
    const std::int64_t taken = tested - (end_[v][lane] - steps_);
    record(index_[v][lane], taken, m_[v][lane], q_[v][lane]);
  }

  // A point ended at the test of step `taken`.
  ORVANE_AVX2 void record(std::size_t index, std::int64_t taken, double m, double q) {
    PointResult& result = finished_.results[finished_.count];
    result.n = static_cast<int>(taken - 1);
    result.reached = taken == steps_;
    result.m = m;
    result.q = q;
    finished_.index[finished_.count] = index;
    counts_.count(result, &StepCounts::direct);
    if (++finished_.count == Finished::kCapacity) colourFinished();
  }

  ORVANE_AVX2 void colourFinished() {
    for (std::size_t i = 0; i < finished_.count; ++i)
      work_.out[finished_.index[i]] = colourOf(work_.colours, finished_.results[i]);
    finished_.count = 0;
  }

  ORVANE_AVX2 void refill(std::size_t v, int lane) {
    const bool wasActive = active_[v][lane] != 0;
    if (prepared_.next == prepared_.count) prepare();
    if (prepared_.next < prepared_.count) {
      const std::size_t k = prepared_.next++;
      const std::size_t i = prepared_.index[k];
      a_[v][lane] = prepared_.a[k];
      b_[v][lane] = prepared_.b[k];
      cx_[v][lane] = prepared_.cx[k];
      cy_[v][lane] = prepared_.cy[k];
      m_[v][lane] = prepared_.m[k];
      weyl_[v][lane] = prepared_.weyl[k];
      active_[v][lane] = -1;
      // The loop's next test is the test of step `taken`.
      end_[v][lane] = step_ - prepared_.taken[k] + steps_;
      deadline_ = std::min(deadline_, end_[v][lane]);
      index_[v][lane] = i;
      if (!wasActive) ++activeLanes_;
    } else {
      // An empty lane holds z = 0, c = 0, which stays finite.
      a_[v][lane] = b_[v][lane] = cx_[v][lane] = cy_[v][lane] = 0;
      active_[v][lane] = 0;
      end_[v][lane] = kNever;
      if (wasActive) --activeLanes_;
    }
  }

  // Refills the queue of prepared points: bursts of points from the feed, until one leaves
  // a point running (or the feed is empty).
  ORVANE_AVX2 void prepare() {
    prepared_.count = prepared_.next = 0;
    while (prepared_.count == 0) {
      Burst burst;
      while (burst.count < Burst::kPoints && feed_.take(burst.index[burst.count])) ++burst.count;
      if (burst.count == 0) return;
      runBurst(burst, std::make_index_sequence<Burst::kVectors>());
    }
  }

  // Points run together from their start for a few steps, in vectors without refill. Most
  // points outside the set end within these steps, so they never cost a lane refill.
  struct Burst {
    static constexpr std::size_t kVectors = 4;
    static constexpr std::size_t kPoints = kVectors * kLanes;
    static constexpr std::int64_t kSteps = 16;
    std::array<std::size_t, kPoints> index;
    std::size_t count = 0;
  };

  template <std::size_t... V>
  ORVANE_AVX2 void runBurst(const Burst& burst, std::index_sequence<V...>) {
    std::array<V4d, Burst::kVectors> a, b, cx, cy, m, q;
    std::array<V4u, Burst::kVectors> weyl;
    std::array<V4i, Burst::kVectors> done;
    (startBurst(burst, V, a[V], b[V], cx[V], cy[V], m[V], weyl[V], done[V]), ...);
    const std::int64_t last = std::min(Burst::kSteps, steps_);
    std::int64_t taken = 1;  // the first step is taken: its z is tested next
    for (;; ++taken) {
      const V4i atDepth = taken == steps_ ? ~V4i{} : V4i{};
      std::array<V4i, Burst::kVectors> ending;
      ((ending[V] = (advance(a[V], b[V], q[V], weyl[V], cx[V], cy[V]) | atDepth) & ~done[V]), ...);
      if (laneMask((ending[V] | ...)) != 0) {
        (endBurstLanes(burst, V, ending[V], m[V], q[V], taken), ...);
        ((done[V] |= ending[V]), ...);
        if (laneMask((done[V] & ...)) == 0xF) return;
      }
      ((m[V] = q[V]), ...);
      if (taken == last) break;
    }
    (keepBurstLanes(burst, V, a[V], b[V], cx[V], cy[V], m[V], weyl[V], done[V], taken + 1), ...);
  }

  // Maps vector v's pixels to the plane and takes their first step.
  ORVANE_AVX2 void startBurst(const Burst& burst, std::size_t v, V4d& a, V4d& b, V4d& cx, V4d& cy,
                              V4d& m, V4u& weyl, V4i& done) const {
    const PointSetup& setup = work_.setup;
    V4d u, w;
    for (int lane = 0; lane < kLanes; ++lane) {
      // Past the last point a lane repeats it and is marked done.
      const std::size_t k = std::min(v * kLanes + lane, burst.count - 1);
      const std::size_t i = burst.index[k];
      const Pixel pixel = work_.pixels[i];
      u[lane] = pixel.y - setup.frame.centreY;
      w[lane] = pixel.x - setup.frame.centreX;
      // The first step's number is the point's first; the second step's is tested next.
      weyl[lane] = (work_.randomBase + i * stride_ + 1) * RandomSequence::kGamma;
      done[lane] = v * kLanes + lane < burst.count ? 0 : -1;
    }
    // The pixel mapping, as the reference evaluates it.
    if (setup.frame.scale != 1) {
      u = u / splat(setup.frame.scale);
      w = w / splat(setup.frame.scale);
    }
    const V4d cosTurn = splat(setup.cosTurn);
    const V4d sinTurn = splat(setup.sinTurn);
    const V4d zoom = splat(setup.settings.viewZoom);
    const V4d re = ((u * cosTurn + w * sinTurn) / 100) / zoom + setup.settings.viewX;
    const V4d im = ((u * sinTurn - w * cosTurn) / 100) / zoom + setup.settings.viewY;
    const Start start = formula_.start(re, im);
    a = start.a;
    b = start.b;
    cx = start.cx;
    cy = start.cy;
    const V4d sqA = a * a;
    const V4d sqB = b * b;
    m = sqA + sqB;
    Formula::step(a, b, sqA, sqB, cx, cy);
  }

  // The escape test of z and the step from z, on one vector.
  ORVANE_AVX2 V4i advance(V4d& a, V4d& b, V4d& q, V4u& weyl, V4d cx, V4d cy) const {
    const V4d sqA = a * a;
    const V4d sqB = b * b;
    q = sqA + sqB;
    const V4i escaped = formula_.escaped(q, weyl);
    if constexpr (Formula::kUsesRandom) weyl += RandomSequence::kGamma;
    Formula::step(a, b, sqA, sqB, cx, cy);
    return escaped;
  }

  ORVANE_AVX2 void endBurstLanes(const Burst& burst, std::size_t v, V4i ending, V4d m, V4d q,
                                 std::int64_t taken) {
    for (int bits = laneMask(ending); bits != 0; bits &= bits - 1) {
      const int lane = std::countr_zero(static_cast<unsigned>(bits));
      record(burst.index[v * kLanes + static_cast<std::size_t>(lane)], taken, m[lane], q[lane]);
    }
  }

  ORVANE_AVX2 void keepBurstLanes(const Burst& burst, std::size_t v, V4d a, V4d b, V4d cx, V4d cy,
                                  V4d m, V4u weyl, V4i done, std::int64_t taken) {
    for (int bits = ~laneMask(done) & 0xF; bits != 0; bits &= bits - 1) {
      const int lane = std::countr_zero(static_cast<unsigned>(bits));
      const std::size_t k = prepared_.count++;
      prepared_.a[k] = a[lane];
      prepared_.b[k] = b[lane];
      prepared_.cx[k] = cx[lane];
      prepared_.cy[k] = cy[lane];
      prepared_.m[k] = m[lane];
      prepared_.weyl[k] = weyl[lane];
      prepared_.taken[k] = taken;
      prepared_.index[k] = burst.index[v * kLanes + static_cast<std::size_t>(lane)];
    }
  }

  PointWork& work_;
  const Formula& formula_;
  PointFeed feed_;
  std::uint64_t stride_;
  std::int64_t steps_;  // steps a point takes when it reaches the depth
  std::array<V4d, kVectors> a_{}, b_{}, cx_{}, cy_{}, m_{}, q_{};
  std::array<V4u, kVectors> weyl_{};
  std::array<V4i, kVectors> active_{}, escaped_{};
  std::int64_t end_[kVectors][kLanes]{};   // the test at which the lane reaches the depth
  std::size_t index_[kVectors][kLanes]{};  // the lane's point
  std::int64_t step_ = 1;                  // tests so far, counted from 1
  std::int64_t deadline_ = kNever;         // no lane reaches the depth before this test
  int activeLanes_ = 0;
  StepCounts counts_;
  Prepared prepared_;
  Finished finished_;
};

template <class Formula>
ORVANE_AVX2 StepCounts runWorker(PointWork& work, const Formula& formula) {
  return Worker<Formula>(work, formula).run();
}

}  // namespace

ORVANE_AVX2 StepCounts computeVectorised(PointWork& work) {
  const PointSetup& setup = work.setup;
  if (setup.settings.formula == formula::kHole) return runWorker(work, Hole{setup});
  if (setup.jittered) return runWorker(work, Quadratic<true>{setup});
  return runWorker(work, Quadratic<false>{setup});
}

bool vectorKernelAvailable() {
  return __builtin_cpu_supports("avx2");
}

}  // namespace orvane

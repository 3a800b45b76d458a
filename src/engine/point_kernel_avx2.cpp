// The vectorised kernel: 4 points per AVX2 vector, several vectors in flight per thread.
//
// Every lane performs exactly the operations of the reference iteration, in the same order
// and in double, so each point's result equals the plain evaluation bit for bit. A lane whose
// point ends takes the next point at once (lane refill), so lanes do not idle while their
// neighbours iterate on. Only the functions below the target pragma use AVX2; the dispatch
// checks the processor before calling them.
//
// To keep the loop-carried state small (it must stay in the 16 vector registers), a lane
// carries only z. The squares of z serve twice: as the escape test of the step that produced
// z, and as the input of the next step. So the loop tests first and steps second, and a lane
// enters the vectors with its first step already taken, in scalar code with the same
// arithmetic, so that every test in the loop belongs to a step.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
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

constexpr int kLanes = 4;
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

// A lane's state as it enters the vectors: z after the first step, and that step's m.
struct FirstStep {
  Complex z;
  Complex c;
  double m;
};

// z <- z^2 + c (Mandelbrot and Julia).
template <bool kJittered>
struct Quadratic {
  // Independent vectors interleaved per thread: enough to hide the latency of one step while
  // z and its squares still fit the registers.
  static constexpr std::size_t kVectors = kJittered ? 2 : 3;
  static constexpr bool kUsesRandom = kJittered;
  // An empty lane holds z = 0 and c = 0: q stays 0 and never escapes, so no mask is needed.
  static constexpr bool kMasksEmptyLanes = false;
  const PointSetup& setup;
  V4d bound = splat(setup.thresholdBound);
  V4d jitterLow = splat(setup.jitterLow);
  V4d jitterSpan = splat(setup.jitterSpan);
  V4d escape = splat(setup.escape);

  FirstStep first(Pixel pixel) const {
    const Complex p = mapPixel(pixel.x, pixel.y, setup);
    const PointSettings& s = setup.settings;
    const bool julia = s.formula == formula::kJulia;
    const Complex z = julia ? p : Complex{s.dimX, s.dimY};
    const Complex c = julia ? Complex{s.juliaX, s.juliaY} : p;
    const double sqA = z.re * z.re;
    const double sqB = z.im * z.im;
    return {{sqA - sqB + c.re, 2 * z.im * z.re + c.im}, c, sqA + sqB};
  }

  // The rest of a step, from z and its squares.
  static void step(V4d& a, V4d& b, V4d sqA, V4d sqB, V4d cx, V4d cy) {
    b = 2 * b * a + cy;
    a = sqA - sqB + cx;
  }

  // The escape test of the step that produced q; `weyl` counts that step's random number.
  V4i escaped(V4d q, V4u weyl) const {
    if constexpr (kJittered) {
      const V4d asFloat = reinterpret_cast<V4d>(
          _mm256_cvtps_pd(_mm256_cvtpd_ps(reinterpret_cast<__m256d>(q))));
      // The threshold is monotonic in r, so it lies between its values at r = 0 and r = 1.
      // Below that band no draw can make the step escape, above it every draw does (a q
      // that is not a number too); only inside it is the number worth drawing.
      const V4i escapedWhatever = ~(asFloat <= lowest);
      const V4i inBand = escapedWhatever & (asFloat <= highest);
      if (laneMask(inBand) == 0) return escapedWhatever;
      const V4d threshold = (jitterLow + randomOf(weyl) * jitterSpan) * escape;
      return ~(asFloat <= threshold);
    } else {
      return ~(q <= bound);
    }
  }

  // The threshold for the draw r, as the reference iteration forms it.
  static double thresholdAt(const PointSetup& s, double r) {
    return (s.jitterLow + r * s.jitterSpan) * s.escape;
  }
  V4d lowest = splat(std::min(thresholdAt(setup, 0), thresholdAt(setup, 1)));
  V4d highest = splat(std::max(thresholdAt(setup, 0), thresholdAt(setup, 1)));
};

// z <- sqrt(z) + c (Hole), z = x + yi held as (a, b).
struct Hole {
  static constexpr std::size_t kVectors = 4;
  static constexpr bool kUsesRandom = false;
  // No z stays put under sqrt(z) + c near 0, so empty lanes are masked out of the tests.
  static constexpr bool kMasksEmptyLanes = true;
  const PointSetup& setup;
  V4d bound = splat(setup.holeBound);

  FirstStep first(Pixel pixel) const {
    const Complex c = mapPixel(pixel.x, pixel.y, setup);
    const double x = 0.0625;
    const double y = 0.0625;
    const double sum = x * x + y * y;
    const double s = std::sqrt((std::sqrt(sum) - x) / 2);
    return {{y / 2 / s + c.re, s + c.im}, c, sum};
  }

  // sqrt(P + Q) takes the sum the escape test formed, which is the same double.
  static void step(V4d& x, V4d& y, V4d sqX, V4d sqY, V4d cx, V4d cy) {
    // Halving by * 0.5 gives the same double as / 2, for every value.
    const V4d s = squareRoot((squareRoot(sqY + sqX) - x) * 0.5);
    x = y * 0.5 / s + cx;
    y = s + cy;
  }

  V4i escaped(V4d sum, V4u) const { return ~(sum <= bound); }
};

template <class Formula>
class Worker {
  static constexpr std::size_t kVectors = Formula::kVectors;

 public:
  Worker(PointWork& work, const Formula& formula)
      : work_(work), formula_(formula), feed_(work), stride_(work.setup.randomStride()),
        steps_(work.setup.depth + 1) {}

  std::uint64_t run() {
    for (std::size_t v = 0; v < kVectors; ++v)
      for (int lane = 0; lane < kLanes; ++lane) refill(v, lane);
    updateDeadline();
    while (activeLanes_ > 0) {
      runUntilEvent(std::make_index_sequence<kVectors>());
      settle();
    }
    return iterations_;
  }

 private:
  // Tests and steps all vectors together until a lane escapes or reaches the depth. The
  // carried values are locals so that they live in registers. Each vector tests z and takes
  // its next step in one go, so z's squares die at once; lanes that end at a test have
  // stepped once more for nothing, and are refilled.
  template <std::size_t... V>
  void runUntilEvent(std::index_sequence<V...>) {
    std::array<V4d, kVectors> a = a_;
    std::array<V4d, kVectors> b = b_;
    std::array<V4u, kVectors> weyl = weyl_;
    std::int64_t step = step_;
    const std::int64_t deadline = deadline_;
    for (;;) {
      std::array<V4d, kVectors> q;
      std::array<V4i, kVectors> escaped;
      ((escaped[V] = advance(a[V], b[V], q[V], weyl[V], V)), ...);
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

  // The escape test of z and the step from z, on one vector.
  V4i advance(V4d& a, V4d& b, V4d& q, V4u& weyl, std::size_t v) const {
    const V4d sqA = a * a;
    const V4d sqB = b * b;
    q = sqA + sqB;
    V4i escaped = formula_.escaped(q, weyl);
    if constexpr (Formula::kMasksEmptyLanes) escaped &= active_[v];
    if constexpr (Formula::kUsesRandom) weyl += RandomSequence::kGamma;
    Formula::step(a, b, sqA, sqB, cx_[v], cy_[v]);
    return escaped;
  }

  // Ends the lanes whose test ended their point and refills them; the others go on with the
  // step they have just taken.
  void settle() {
    const std::int64_t tested = step_++;
    for (std::size_t v = 0; v < kVectors; ++v) {
      const int mask = laneMask(escaped_[v]);
      for (int lane = 0; lane < kLanes; ++lane) {
        if (active_[v][lane] == 0) continue;
        const std::int64_t taken = tested - start_[v][lane];
        if ((mask >> lane & 1) == 0 && taken != steps_) {
          m_[v][lane] = q_[v][lane];
          continue;
        }
        finish(v, lane, taken);
        refill(v, lane);
      }
    }
    updateDeadline();
  }

  void finish(std::size_t v, int lane, std::int64_t taken) {
    PointResult result;
    result.n = static_cast<int>(taken - 1);
    result.reached = taken == steps_;
    result.m = m_[v][lane];
    result.q = q_[v][lane];
    work_.out[index_[v][lane]] = colourOf(work_.colours, result);
    iterations_ += static_cast<std::uint64_t>(taken);
  }

  void refill(std::size_t v, int lane) {
    const bool wasActive = active_[v][lane] != 0;
    std::size_t i;
    if (feed_.take(i)) {
      const std::uint64_t randomPosition = work_.randomBase + i * stride_;
      const FirstStep first = formula_.first(work_.pixels[i]);
      a_[v][lane] = first.z.re;
      b_[v][lane] = first.z.im;
      cx_[v][lane] = first.c.re;
      cy_[v][lane] = first.c.im;
      m_[v][lane] = first.m;
      weyl_[v][lane] = (randomPosition + 1) * RandomSequence::kGamma;  // the first step's number
      active_[v][lane] = -1;
      start_[v][lane] = step_ - 1;  // the first step is taken
      index_[v][lane] = i;
      if (!wasActive) ++activeLanes_;
    } else {
      // An empty lane holds z = 0, c = 0, which stays finite and is masked out of the tests.
      a_[v][lane] = b_[v][lane] = cx_[v][lane] = cy_[v][lane] = 0;
      active_[v][lane] = 0;
      start_[v][lane] = kNever;
      if (wasActive) --activeLanes_;
    }
  }

  void updateDeadline() {
    deadline_ = kNever;
    for (std::size_t v = 0; v < kVectors; ++v)
      for (int lane = 0; lane < kLanes; ++lane)
        if (start_[v][lane] != kNever) deadline_ = std::min(deadline_, start_[v][lane] + steps_);
  }

  PointWork& work_;
  const Formula& formula_;
  PointFeed feed_;
  std::uint64_t stride_;
  std::int64_t steps_;  // steps a point takes when it reaches the depth
  std::array<V4d, kVectors> a_{}, b_{}, cx_{}, cy_{}, m_{}, q_{};
  std::array<V4u, kVectors> weyl_{};
  std::array<V4i, kVectors> active_{}, escaped_{};
  std::int64_t start_[kVectors][kLanes]{};  // step count before the lane's first step
  std::size_t index_[kVectors][kLanes]{};   // the lane's point
  std::int64_t step_ = 1;
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

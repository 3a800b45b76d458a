// A share of points to compute: the common ground of the plain and the vectorised kernels.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "engine/colouring.h"
#include "engine/point_settings.h"

namespace orvane {

// A pixel of the picture: column x, row y.
struct Pixel {
  std::int16_t x = 0;
  std::int16_t y = 0;
};

// The work of a share of points, counted as each point ends, never inside its loop. Every
// step a point takes is one of three kinds: taken directly (a double iteration, or an MPFR
// one), perturbed around a reference orbit, or an approximation standing for several
// iterations at once.
struct StepCounts {
  std::uint64_t iterations = 0;   // as a direct iteration takes them, n + 1 per point
  std::uint64_t direct = 0;       // steps taken directly
  std::uint64_t perturbed = 0;    // perturbed steps taken one by one
  std::uint64_t approximate = 0;  // approximation steps; none are taken yet
  std::uint64_t reached = 0;      // points that reached the depth

  // The steps actually taken, of all three kinds.
  std::uint64_t taken() const { return direct + perturbed + approximate; }

  StepCounts& operator+=(const StepCounts& other) {
    iterations += other.iterations;
    direct += other.direct;
    perturbed += other.perturbed;
    approximate += other.approximate;
    reached += other.reached;
    return *this;
  }

  // A point that ended with `result`, each of its n + 1 steps of the kind `steps`.
  void count(const PointResult& result, std::uint64_t StepCounts::*steps) {
    const std::uint64_t n = static_cast<std::uint64_t>(result.n) + 1;
    iterations += n;
    this->*steps += n;
    reached += result.reached;
  }
};

// Points [0, pixels.size()) to colour; point i draws its random numbers from
// randomBase + i * setup.randomStride(). Workers take points from `cursor` in order, a few
// at a time, so every worker stays busy until the last point has been handed out; once
// `cancelled` or `stop` is set, no more points are handed out.
struct PointWork {
  const PointSetup& setup;
  const ColourSetup& colours;
  std::span<const Pixel> pixels;
  std::span<Colour> out;
  std::uint64_t randomBase = 0;
  std::atomic<std::size_t>& cursor;
  const std::atomic<bool>& cancelled;
  const std::atomic<bool>* stop = nullptr;  // the caller's own, when it may not want the colours
};

// One worker's supply of points: takes them from the shared cursor in small batches, so the
// cursor is touched once per batch rather than once per point.
class PointFeed {
 public:
  explicit PointFeed(PointWork& work) : work_(work) {}

  // The next point to compute, or false when every point has been handed out.
  bool take(std::size_t& index) {
    if (next_ == limit_) {
      if (work_.cancelled.load(std::memory_order_relaxed) ||
          (work_.stop && work_.stop->load(std::memory_order_relaxed)))
        return false;
      next_ = work_.cursor.fetch_add(kBatch, std::memory_order_relaxed);
      if (next_ >= work_.pixels.size()) {
        next_ = limit_ = 0;
        return false;
      }
      limit_ = std::min(next_ + kBatch, work_.pixels.size());
    }
    index = next_++;
    return true;
  }

 private:
  static constexpr std::size_t kBatch = 16;
  PointWork& work_;
  std::size_t next_ = 0;
  std::size_t limit_ = 0;
};

// A worker's share one point after the other: `iterate(pixel, randomBase)` gives the point's
// PointResult, which is coloured; returns the steps taken, each of the kind `steps`.
template <class Iterate>
StepCounts computeEach(PointWork& work, Iterate&& iterate,
                       std::uint64_t StepCounts::*steps = &StepCounts::direct) {
  PointFeed feed(work);
  const std::uint64_t stride = work.setup.randomStride();
  StepCounts counts;
  for (std::size_t i; feed.take(i);) {
    const PointResult result = iterate(work.pixels[i], work.randomBase + i * stride);
    work.out[i] = colourOf(work.colours, result);
    counts.count(result, steps);
  }
  return counts;
}

// Plain scalar evaluation of a worker's share; returns the steps it took, all direct.
StepCounts computePlain(PointWork& work);

// Another evaluation of a worker's share, taking points from a PointFeed as computePlain
// does and returning the steps it took: the renderer's deep zoom plugs in here.
using ShareKernel = std::function<StepCounts(PointWork& work)>;

// The same with 4 lanes of AVX2 and several independent vectors in flight; only to be called
// when `vectorKernelAvailable()`.
StepCounts computeVectorised(PointWork& work);

// Whether the processor runs AVX2: the one check before any code of engine/vector4.h runs, in
// the engine's kernel and in the deep-zoom lanes alike.
bool vectorKernelAvailable();

}  // namespace orvane

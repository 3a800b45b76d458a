// Computes the colours of many points at once, over all cores and SIMD lanes.
#include "point_computer.h"

#include <tbb/info.h>
#include <tbb/task_arena.h>
#include <tbb/task_group.h>

#include <atomic>

namespace orvane {

struct PointComputer::Threads {
  explicit Threads(int count) : arena(count) {}
  tbb::task_arena arena;
};

PointComputer::PointComputer(ComputeOptions options)
    : threads_(std::make_unique<Threads>(options.threads > 0
                                             ? options.threads
                                             : tbb::info::default_concurrency())),
      vectorised_(options.vectorised && vectorKernelAvailable()) {}

PointComputer::~PointComputer() = default;

int PointComputer::threads() const { return threads_->arena.max_concurrency(); }

std::uint64_t PointComputer::compute(const PointSetup& setup, const ColourSetup& colours,
                                     std::span<const Pixel> pixels, std::span<Colour> out,
                                     std::uint64_t randomBase) {
  std::atomic<std::size_t> cursor{0};
  std::atomic<std::uint64_t> iterations{0};
  const auto worker = [&] {
    PointWork work{setup, colours, pixels, out, randomBase, cursor};
    iterations += vectorised_ ? computeVectorised(work) : computePlain(work);
  };
  const int count = threads();
  if (count == 1) {
    worker();
    return iterations;
  }
  // Every worker takes points from the one cursor until none are left; the calling thread
  // is one of them, so the call returns when all points are coloured.
  threads_->arena.execute([&] {
    tbb::task_group group;
    for (int i = 1; i < count; ++i) group.run(worker);
    worker();
    group.wait();
  });
  return iterations;
}

}  // namespace orvane

// Computes the colours of many points at once, over all cores and SIMD lanes.
#include "engine/point_computer.h"

#include <utility>

#include <tbb/info.h>
#include <tbb/task_arena.h>
#include <tbb/task_group.h>

namespace orvane {

// The arena reserves one slot for the calling thread, so it holds `count - 1` worker
// threads; the calling thread takes its share when it waits.
struct PointComputer::Threads {
  explicit Threads(int count) : arena(count) {}
  tbb::task_arena arena;
  tbb::task_group group;
};

PointComputer::PointComputer(ComputeOptions options)
    : threads_(std::make_unique<Threads>(options.threads > 0 ? options.threads
                                                             : tbb::info::default_concurrency())),
      vectorised_(options.vectorised && vectorKernelAvailable()),
      stop_(options.stop) {}

PointComputer::~PointComputer() {
  cancel();
}

int PointComputer::threads() const {
  return threads_->arena.max_concurrency();
}

void PointComputer::start(const PointSetup& setup, const ColourSetup& colours,
                          std::span<const Pixel> pixels, std::span<Colour> out,
                          std::uint64_t randomBase, ShareKernel kernel) {
  cancel();
  setup_ = setup;
  colours_ = colours;
  pixels_ = pixels;
  out_ = out;
  randomBase_ = randomBase;
  kernel_ = std::move(kernel);
  cursor_ = 0;
  cancelled_ = false;
  counts_ = {};
  running_ = true;
  // With one thread the batch runs in wait(): an arena would lend a worker thread to
  // enqueued tasks even then.
  if (threads() == 1) return;
  Threads& t = *threads_;
  for (int i = 0; i < threads(); ++i) t.arena.enqueue(t.group.defer([this] { runShare(); }));
}

StepCounts PointComputer::wait() {
  if (!running_) return {};
  if (threads() == 1) {
    runShare();
  } else {
    Threads& t = *threads_;
    t.arena.execute([&t] { t.group.wait(); });
  }
  running_ = false;
  return counts_;
}

// One worker's part: points from the shared cursor until none are left.
void PointComputer::runShare() {
  PointWork work{setup_, colours_, pixels_, out_, randomBase_, cursor_, cancelled_, stop_};
  const StepCounts share = kernel_       ? kernel_(work)
                           : vectorised_ ? computeVectorised(work)
                                         : computePlain(work);
  const std::lock_guard lock(countsMutex_);
  counts_ += share;
}

void PointComputer::cancel() {
  if (!running_) return;
  cancelled_ = true;
  wait();
}

}  // namespace orvane

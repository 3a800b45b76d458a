// Computes the colours of many points at once, over all cores and SIMD lanes.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "engine/colouring.h"
#include "engine/point_settings.h"
#include "engine/point_work.h"

namespace orvane {

struct ComputeOptions {
  int threads = 0;         // 0: all cores
  bool vectorised = true;  // false: the plain scalar evaluation, for reference and comparison
  // Once set, no more points are handed out and a poster ends after its band: a window
  // drawing in the background stops at once when its view changes. Colours are then
  // incomplete; whoever sets it throws them away.
  const std::atomic<bool>* stop = nullptr;
};

// Colours batches of points. A batch can run in the background while the calling thread
// draws; the calling thread joins the work when it waits. The colours do not depend on the
// number of threads or on the kernel.
class PointComputer {
 public:
  explicit PointComputer(ComputeOptions options = {});
  ~PointComputer();
  PointComputer(const PointComputer&) = delete;
  PointComputer& operator=(const PointComputer&) = delete;

  // Starts colouring `pixels` into `out` (the same length; both must stay put until the
  // batch is waited for); point i draws its random numbers from
  // randomBase + i * setup.randomStride(). A batch still running is cancelled first. A
  // `kernel` given replaces the plain and vectorised evaluations.
  void start(const PointSetup& setup, const ColourSetup& colours, std::span<const Pixel> pixels,
             std::span<Colour> out, std::uint64_t randomBase, ShareKernel kernel = {});

  // Waits until the batch is complete, helping with it; returns the steps it took.
  StepCounts wait();

  // Hands out no more points of the running batch and waits for those in progress; the
  // batch's colours are then incomplete.
  void cancel();

  bool running() const { return running_; }

  int threads() const;

 private:
  void runShare();

  struct Threads;
  std::unique_ptr<Threads> threads_;
  bool vectorised_;
  const std::atomic<bool>* stop_;
  bool running_ = false;
  // The batch being computed; the workers read it while it runs.
  PointSetup setup_;
  ColourSetup colours_;
  std::span<const Pixel> pixels_;
  std::span<Colour> out_;
  std::uint64_t randomBase_ = 0;
  ShareKernel kernel_;
  std::atomic<std::size_t> cursor_{0};
  std::atomic<bool> cancelled_{false};
  std::mutex countsMutex_;  // taken once per worker's share
  StepCounts counts_;
};

}  // namespace orvane

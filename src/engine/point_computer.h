// Computes the colours of many points at once, over all cores and SIMD lanes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "colouring.h"
#include "point_settings.h"
#include "point_work.h"

namespace orvane {

struct ComputeOptions {
  int threads = 0;          // 0: all cores
  bool vectorised = true;   // false: the plain scalar evaluation, for reference and comparison
};

class PointComputer {
 public:
  explicit PointComputer(ComputeOptions options = {});
  ~PointComputer();
  PointComputer(const PointComputer&) = delete;
  PointComputer& operator=(const PointComputer&) = delete;

  // Colours `pixels` into `out` (the same length); point i draws its random numbers from
  // randomBase + i * setup.randomStride(). Returns the iteration steps performed. The
  // result does not depend on the number of threads or on the kernel.
  std::uint64_t compute(const PointSetup& setup, const ColourSetup& colours,
                        std::span<const Pixel> pixels, std::span<Colour> out,
                        std::uint64_t randomBase);

  int threads() const;
  bool vectorised() const { return vectorised_; }

 private:
  struct Threads;
  std::unique_ptr<Threads> threads_;
  bool vectorised_;
};

}  // namespace orvane

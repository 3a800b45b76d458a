// The colours of a pass's pixels, computed ahead of the drawing in batches.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "engine/colouring.h"
#include "engine/point_computer.h"
#include "engine/point_settings.h"
#include "engine/point_work.h"

namespace orvane {

// Handlers run only at the pass's yields, so nothing a colour depends on can change between
// two yields: the colours of many pixels can be computed at once, over all cores, and the
// next batch can compute in the background while the current one is drawn. After a yield the
// pass hands in a new snapshot; when it differs, what was computed ahead is dropped.
class ColoursAhead {
 public:
  // `pixels` in the order they are drawn, and room for their colours (kept by the caller, so
  // passes reuse it); `window` is the batch size, kept across passes and adapted to the speed
  // seen.
  ColoursAhead(PointComputer& computer, std::span<const Pixel> pixels, std::span<Colour> colours,
               std::size_t& window);
  ~ColoursAhead();
  ColoursAhead(const ColoursAhead&) = delete;
  ColoursAhead& operator=(const ColoursAhead&) = delete;

  const PointSetup& setup() const { return setup_; }

  // The settings from now on; colours computed ahead for other settings are dropped.
  void use(const PointSettings& settings);

  // Drops the colours computed ahead (their random numbers are no longer the next ones).
  void dropAhead();

  // The colours of the pixels from the first one not yet taken up to `end`, computing what
  // is missing; `randomPosition` is the random position of that first pixel.
  std::span<const Colour> take(std::size_t end, std::uint64_t randomPosition);

  const StepCounts& counts() const { return counts_; }

 private:
  void launch(std::size_t end, std::uint64_t randomPosition);
  void land();

  using Clock = std::chrono::steady_clock;

  PointComputer& computer_;
  std::span<const Pixel> pixels_;
  std::span<Colour> colours_;
  std::size_t& window_;
  bool hasSetup_ = false;
  PointSetup setup_;
  ColourSetup colourSetup_;
  std::size_t taken_ = 0;      // pixels handed out to be drawn
  std::size_t ready_ = 0;      // pixels whose colours are computed
  std::size_t flightEnd_ = 0;  // end of the batch computing in the background, if any
  Clock::time_point flightStart_;
  StepCounts counts_;
};

}  // namespace orvane

// The colours of a pass's pixels, computed ahead of the drawing in batches.
#include "engine/colours_ahead.h"

#include <algorithm>

namespace orvane {

namespace {

// A batch should take about this long: the window answers input quickly while the batches
// stay large enough to keep every core busy.
constexpr double kBatchSeconds = 0.015;
constexpr std::size_t kMinWindow = 256;

}  // namespace

ColoursAhead::ColoursAhead(PointComputer& computer, std::span<const Pixel> pixels,
                           std::span<Colour> colours, std::size_t& window)
    : computer_(computer), pixels_(pixels), colours_(colours), window_(window) {}

// No batch may run on into the next pass.
ColoursAhead::~ColoursAhead() {
  computer_.cancel();
}

void ColoursAhead::use(const PointSettings& settings) {
  if (hasSetup_ && settings == setup_.settings) return;
  hasSetup_ = true;
  setup_ = preparePointSetup(settings);
  colourSetup_ = prepareColourSetup(setup_.settings, setup_.depth);
  dropAhead();
}

void ColoursAhead::dropAhead() {
  computer_.cancel();
  ready_ = taken_;
}

std::span<const Colour> ColoursAhead::take(std::size_t end, std::uint64_t randomPosition) {
  if (ready_ < end && computer_.running()) land();
  if (ready_ < end) {
    launch(std::max(end, ready_ + window_), randomPosition);
    land();
  }
  // The next batch computes while these pixels are drawn.
  if (!computer_.running() && ready_ < pixels_.size()) launch(ready_ + window_, randomPosition);
  const std::span<const Colour> colours(colours_.data() + taken_, end - taken_);
  taken_ = end;
  return colours;
}

void ColoursAhead::launch(std::size_t end, std::uint64_t randomPosition) {
  end = std::min(end, pixels_.size());
  const std::uint64_t base = randomPosition + (ready_ - taken_) * setup_.randomStride();
  computer_.start(setup_, colourSetup_, pixels_.subspan(ready_, end - ready_),
                  colours_.subspan(ready_, end - ready_), base);
  flightEnd_ = end;
  flightStart_ = Clock::now();
}

void ColoursAhead::land() {
  counts_ += computer_.wait();
  const double seconds = std::chrono::duration<double>(Clock::now() - flightStart_).count();
  if (flightEnd_ - ready_ == window_) {
    if (seconds < kBatchSeconds / 2) window_ *= 2;
    if (seconds > kBatchSeconds * 2) window_ = std::max(kMinWindow, window_ / 2);
  }
  ready_ = flightEnd_;
}

}  // namespace orvane

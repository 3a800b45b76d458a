// The progress of a run of frames on standard error: frames done, frames per second, time left.
#pragma once

#include <chrono>
#include <span>
#include <vector>

namespace orvane::render {

// The seconds the frames of a run still take, when `costs` holds the seconds each of the first
// frames took and `share` of the next one is done. Each frame's cost is taken to grow in a
// straight line with its scale (the logarithm of its magnification, where a deep frame's work
// grows), fitted by least squares to the costs so far; with fewer than two scales to fit, every
// frame costs their mean. A fitted cost below 0 counts as 0.
double secondsLeft(std::span<const double> scales, std::span<const double> costs, double share);

class FrameProgress {
 public:
  // One scale a frame, in the order the run takes them.
  explicit FrameProgress(std::vector<double> scales);
  ~FrameProgress();
  FrameProgress(const FrameProgress&) = delete;
  FrameProgress& operator=(const FrameProgress&) = delete;

  // `done` counts the frames finished and the finished share of the one under way.
  void update(double done);

 private:
  using Clock = std::chrono::steady_clock;
  std::vector<double> scales_;
  std::vector<double> costs_;  // the seconds each finished frame took
  bool terminal_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point finished_ = start_;  // when the last frame was finished
  Clock::time_point shown_{};
  bool any_ = false;
  bool shownLast_ = false;
};

}  // namespace orvane::render

// The progress of a run of frames on standard error: frames done, frames per second, time left.
#pragma once

#include <chrono>

namespace orvane::render {

class FrameProgress {
 public:
  explicit FrameProgress(long frames);
  ~FrameProgress();
  FrameProgress(const FrameProgress&) = delete;
  FrameProgress& operator=(const FrameProgress&) = delete;

  // `done` counts the frames finished and the finished share of the one under way.
  void update(double done);

 private:
  using Clock = std::chrono::steady_clock;
  long frames_;
  bool terminal_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point shown_{};
  bool any_ = false;
  bool shownLast_ = false;
};

}  // namespace orvane::render

// The progress of a run of frames on standard error.
#include "render/frame_progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

namespace orvane::render {

namespace {

std::string clockText(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  char text[32];
  if (whole >= 3600)
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  else
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

double secondsLeft(std::span<const double> scales, std::span<const double> costs, double share) {
  const std::size_t n = costs.size();
  if (n == 0 || n >= scales.size()) return 0;
  double meanScale = 0;
  double meanCost = 0;
  for (std::size_t i = 0; i < n; ++i) {
    meanScale += scales[i] / static_cast<double>(n);
    meanCost += costs[i] / static_cast<double>(n);
  }
  double spread = 0;
  double covariance = 0;
  for (std::size_t i = 0; i < n; ++i) {
    spread += (scales[i] - meanScale) * (scales[i] - meanScale);
    covariance += (scales[i] - meanScale) * (costs[i] - meanCost);
  }
  const double slope = spread > 0 ? covariance / spread : 0;
  const auto cost = [&](double scale) {
    return std::max(0.0, meanCost + slope * (scale - meanScale));
  };
  double left = (1 - share) * cost(scales[n]);
  for (std::size_t i = n + 1; i < scales.size(); ++i) left += cost(scales[i]);
  return left;
}

// On a terminal the bar redraws itself in place; in a log file, a batch job's, it adds a line
// now and then instead.
FrameProgress::FrameProgress(std::vector<double> scales)
    : scales_(std::move(scales)), terminal_(isatty(STDERR_FILENO)) {}

FrameProgress::~FrameProgress() {
  if (any_ && terminal_) std::fputc('\n', stderr);
}

void FrameProgress::update(double done) {
  const Clock::time_point now = Clock::now();
  const auto frames = static_cast<long>(scales_.size());
  // The frames finished since the last call share the time since the last one finished.
  const auto finished = static_cast<std::size_t>(done);
  if (finished > costs_.size() && finished <= scales_.size()) {
    const double each = std::chrono::duration<double>(now - finished_).count() /
                        static_cast<double>(finished - costs_.size());
    costs_.resize(finished, each);
    finished_ = now;
  }
  const bool last = done >= static_cast<double>(frames);
  if (last ? shownLast_
           : now - shown_ < (terminal_ ? std::chrono::milliseconds(250) : std::chrono::seconds(10)))
    return;
  shownLast_ = last;
  shown_ = now;
  any_ = true;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const double rate = elapsed > 0 ? done / elapsed : 0;
  constexpr int kWidth = 30;
  const int filled = frames > 0 ? static_cast<int>(done / static_cast<double>(frames) * kWidth) : 0;
  // Before the first frame ends, its share done so far is all there is to go by.
  std::string left = "?";
  if (!costs_.empty())
    left = clockText(secondsLeft(scales_, costs_, done - static_cast<double>(costs_.size())));
  else if (rate > 0)
    left = clockText((static_cast<double>(frames) - done) / rate);
  std::fprintf(stderr, "%s[%-*.*s] %ld/%ld frames, %.3g frames/s, %s left%s", terminal_ ? "\r" : "",
               kWidth, filled, "##############################", static_cast<long>(done), frames,
               rate, left.c_str(), terminal_ ? "  " : "\n");
  std::fflush(stderr);
}

}  // namespace orvane::render

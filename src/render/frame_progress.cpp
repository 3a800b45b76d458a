// The progress of a run of frames on standard error.
#include "render/frame_progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

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

// On a terminal the bar redraws itself in place; in a log file, a batch job's, it adds a line
// now and then instead.
FrameProgress::FrameProgress(long frames) : frames_(frames), terminal_(isatty(STDERR_FILENO)) {}

FrameProgress::~FrameProgress() {
  if (any_ && terminal_) std::fputc('\n', stderr);
}

void FrameProgress::update(double done) {
  const Clock::time_point now = Clock::now();
  const bool last = done >= static_cast<double>(frames_);
  if (last ? shownLast_
           : now - shown_ < (terminal_ ? std::chrono::milliseconds(250) : std::chrono::seconds(10)))
    return;
  shownLast_ = last;
  shown_ = now;
  any_ = true;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const double rate = elapsed > 0 ? done / elapsed : 0;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(done / static_cast<double>(frames_) * kWidth);
  const std::string left = rate > 0 ? clockText((static_cast<double>(frames_) - done) / rate) : "?";
  std::fprintf(stderr, "%s[%-*.*s] %ld/%ld frames, %.3g frames/s, %s left%s", terminal_ ? "\r" : "",
               kWidth, filled, "##############################", static_cast<long>(done), frames_,
               rate, left.c_str(), terminal_ ? "  " : "\n");
  std::fflush(stderr);
}

}  // namespace orvane::render

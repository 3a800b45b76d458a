// orvane-render: draws one view headless with the real load routine and render pass.
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>

#include "png/output_file.h"
#include "png/png_file.h"
#include "render/command_line.h"
#include "render/memory_budget.h"
#include "render/picture_info.h"
#include "render/render_picture.h"
#include "render/video_launch.h"
#include "render/view_chunk.h"

namespace {

// More than this share of a deep picture's pixels at the depth hides most of what the view
// holds: the user is told to raise it.
constexpr double kReachedWarningShare = 0.5;

constexpr int kBadOptions = 2;
constexpr int kWriteFailed = 1;

// The share of the progress bar that the rows in the file fill, the pass filling the rest: the
// writing mostly keeps up with the pass, and the bar ends only once the file is complete.
constexpr double kWritingShare = 0.1;

// A progress bar on standard error, shown once a picture has taken more than a second.
class ProgressBar {
 public:
  void operator()(double done) {
    using namespace std::chrono;
    if (steady_clock::now() - start_ < seconds(1)) return;
    constexpr int kWidth = 40;
    const int filled = static_cast<int>(done * kWidth);
    std::fprintf(stderr, "\r[%-*.*s] %3d%%", kWidth, filled,
                 "########################################", static_cast<int>(done * 100));
    shown_ = true;
  }
  // Ends the bar's line, so that what follows starts on a line of its own.
  void end() {
    if (shown_) std::fputc('\n', stderr);
    shown_ = false;
  }
  ~ProgressBar() { end(); }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  bool shown_ = false;
};

// A deep picture mostly at the depth shows little of its view: those pixels are all drawn as
// inside, whatever lies beyond the depth.
void warnOfTheDepth(const orvane::RenderedPicture& rendered) {
  const orvane::PassStatistics& statistics = rendered.statistics;
  const double share = static_cast<double>(statistics.reached) /
                       static_cast<double>(std::max<std::uint64_t>(statistics.pixels, 1));
  if (!rendered.choice.deep || share <= kReachedWarningShare) return;
  std::fprintf(stderr,
               "orvane-render: %.0f %% of the pixels reached the depth %d; raise --depth to see "
               "more of the picture\n",
               100 * share, rendered.depth);
}

// --stats: the lines scripts read first, as they have always been, then the newer ones.
void printStatistics(const orvane::RenderedPicture& rendered) {
  const orvane::PassStatistics& statistics = rendered.statistics;
  std::printf("mode %s\nreason %s\n", rendered.choice.deep ? "deep" : "double",
              rendered.choice.reason.c_str());
  std::printf("iterations %llu\npixels %llu\nseconds %.6f\niterations per second %.4g\n",
              static_cast<unsigned long long>(statistics.iterations),
              static_cast<unsigned long long>(statistics.pixels), statistics.seconds,
              statistics.seconds > 0
                  ? static_cast<double>(statistics.iterations) / statistics.seconds
                  : 0.0);
  const double pixels = static_cast<double>(std::max<std::uint64_t>(statistics.pixels, 1));
  std::printf("steps per pixel %.6g perturbed %.6g approximate %.6g\n",
              static_cast<double>(statistics.taken()) / pixels,
              static_cast<double>(statistics.perturbed) / pixels,
              static_cast<double>(statistics.approximate) / pixels);
  std::printf("reached depth %llu (%.2f %%)\n", static_cast<unsigned long long>(statistics.reached),
              100 * static_cast<double>(statistics.reached) / pixels);
}

// --verify: runs once the picture is written, and reports; it does not fail the run: the
// picture is what the program draws, and the figure is for the user to weigh.
void reportVerification(const orvane::PixelCheck& pixels, orvane::ComputeOptions options) {
  const orvane::Verification check = orvane::verifyPixels(pixels, options);
  std::printf("verified %zu/%zu pixels identical\n", check.identical, check.checked);
  const double share =
      check.checked > 0 ? static_cast<double>(check.identical) / static_cast<double>(check.checked)
                        : 1.0;
  if (share < orvane::kVerifiedWarningShare) {
    std::fprintf(stderr,
                 "orvane-render: only %.1f %% of the verified pixels equal their direct "
                 "iteration in MPFR\n",
                 100 * share);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const orvane::ParsedCommandLine parsed = orvane::parseRenderCommandLine(application.arguments());
  if (!parsed.help.empty()) {
    std::fputs(parsed.help.c_str(), stdout);
    return 0;
  }
  if (parsed.info) {
    std::fputs(orvane::pictureInfo(*parsed.info).c_str(), stdout);
    return 0;
  }
  if (!parsed.request) {
    std::fprintf(stderr, "orvane-render: %s\n", parsed.error.c_str());
    return kBadOptions;
  }
  const orvane::RenderRequest& request = *parsed.request;
  if (const std::string refusal = orvane::depthMemoryRefusal(request, orvane::machineMemory());
      !refusal.empty()) {
    std::fprintf(stderr, "orvane-render: %s\n", refusal.c_str());
    return kBadOptions;
  }

  const orvane::ComputeOptions options{.threads = request.threads, .vectorised = !request.scalar};
  if (request.video) return orvane::drawVideo(request, options, argv);
  const orvane::PosterSize size = request.view.size;
  // A file that cannot be made is reported before the picture is computed.
  orvane::OutputFile output(request.output);
  orvane::PngWriter file(output.stream(), request.output, size.width, size.height, request.threads);
  // The file's own failure first: the writer only sees what follows from it.
  const auto writeFailed = [&] {
    std::fprintf(stderr, "orvane-render: %s\n",
                 (output.error().empty() ? file.error() : output.error()).c_str());
    return kWriteFailed;
  };
  if (!output.error().empty() || !file.error().empty()) return writeFailed();
  ProgressBar progress;
  double computed = 0;
  const auto showProgress = [&] {
    const double written = static_cast<double>(file.rowsWritten()) / size.height;
    progress((1 - kWritingShare) * computed + kWritingShare * written);
  };
  const orvane::RenderedPicture rendered = orvane::renderPicture(
      request, options, [&file](int y, std::span<const orvane::Colour> row) { file.row(y, row); },
      [&](double done) {
        computed = done;
        showProgress();
      },
      [&file](const std::string& view) { file.addText(orvane::kViewChunkKey, view); });
  if (!file.finish(showProgress) || !output.commit()) return writeFailed();
  progress.end();
  if (request.stats) printStatistics(rendered);
  warnOfTheDepth(rendered);
  if (rendered.check) reportVerification(*rendered.check, options);
  return 0;
}

// orvane-render: draws one view headless with the real load routine and render pass.
#include <QCoreApplication>
#include <QImage>

#include <chrono>
#include <cstdio>
#include <functional>
#include <span>

#include "tools/render_options.h"
#include "tools/render_picture.h"
#include "tools/video/make_video.h"
#include "tools/view_chunk.h"

namespace {

constexpr int kBadOptions = 2;
constexpr int kWriteFailed = 1;

QRgb rgbOf(orvane::Colour c) {
  return qRgb(orvane::redOf(c), orvane::greenOf(c), orvane::blueOf(c));
}

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
  ~ProgressBar() {
    if (shown_) std::fputc('\n', stderr);
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  bool shown_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const orvane::ParsedCommandLine parsed = orvane::parseRenderCommandLine(application.arguments());
  if (!parsed.help.empty()) {
    std::fputs(parsed.help.c_str(), stdout);
    return 0;
  }
  if (!parsed.request) {
    std::fprintf(stderr, "orvane-render: %s\n", parsed.error.c_str());
    return kBadOptions;
  }
  const orvane::RenderRequest& request = *parsed.request;

  const orvane::ComputeOptions options{.threads = request.threads, .vectorised = !request.scalar};
  if (request.video) return orvane::video::runVideo(request, options);
  const orvane::PosterSize size = request.size.value_or(orvane::PosterSize{});
  QImage picture(size.width, size.height, QImage::Format_RGB32);
  if (picture.isNull()) {
    std::fprintf(stderr, "orvane-render: not enough memory for a %d x %d picture\n", size.width,
                 size.height);
    return kWriteFailed;
  }
  ProgressBar progress;
  const orvane::RenderedPicture rendered = orvane::renderPicture(
      request, options,
      [&picture](int y, std::span<const orvane::Colour> row) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (std::size_t x = 0; x < row.size(); ++x) line[x] = rgbOf(row[x]);
      },
      std::ref(progress));
  orvane::attachView(picture, rendered.view);
  if (!picture.save(QString::fromStdString(request.output), "PNG")) {
    std::fprintf(stderr, "orvane-render: cannot write '%s'\n", request.output.c_str());
    return kWriteFailed;
  }
  if (request.stats) {
    const orvane::PassStatistics& statistics = rendered.statistics;
    std::printf("mode %s\nreason %s\n", rendered.choice.deep ? "deep" : "double",
                rendered.choice.reason.c_str());
    std::printf("iterations %llu\npixels %llu\nseconds %.6f\niterations per second %.4g\n",
                static_cast<unsigned long long>(statistics.iterations),
                static_cast<unsigned long long>(statistics.pixels), statistics.seconds,
                statistics.seconds > 0
                    ? static_cast<double>(statistics.iterations) / statistics.seconds
                    : 0.0);
  }
  return 0;
}

// orvane-render: draws one view headless with the real load routine and render pass.
#include <QCoreApplication>
#include <QImage>

#include <chrono>
#include <cstdio>

#include "engine/memory_surface.h"
#include "engine/poster.h"
#include "engine/render_pass.h"
#include "tools/render_options.h"
#include "tools/view_chunk.h"

namespace {

constexpr int kBadOptions = 2;
constexpr int kWriteFailed = 1;

QRgb rgbOf(orvane::Colour c) {
  return qRgb(orvane::redOf(c), orvane::greenOf(c), orvane::blueOf(c));
}

// The window's picture: the pass exactly as Start draws it, cell order and all.
QImage drawWindowPicture(orvane::ExplorerState& state, orvane::DialogValues& dialogs,
                         orvane::ComputeOptions options, orvane::PassStatistics& statistics) {
  orvane::MemorySurface surface(orvane::kPictureWidth, orvane::kPictureHeight);
  orvane::RenderPass pass(state, dialogs, surface, {}, options);
  pass.drawings();
  statistics = pass.statistics();
  QImage image(surface.width(), surface.height(), QImage::Format_RGB32);
  for (int y = 0; y < surface.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < surface.width(); ++x) line[x] = rgbOf(surface.pixel(x, y));
  }
  return image;
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

// A poster: the same view at another size, drawn band by band straight into the image.
QImage drawPoster(orvane::ExplorerState& state, orvane::DialogValues& dialogs,
                  orvane::PosterSize size, orvane::ComputeOptions options,
                  orvane::PassStatistics& statistics) {
  QImage image(size.width, size.height, QImage::Format_RGB32);
  if (image.isNull()) return image;
  ProgressBar progress;
  statistics = orvane::renderPoster(
      state, dialogs, size, options,
      [&image](int y, std::span<const orvane::Colour> row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::size_t x = 0; x < row.size(); ++x) line[x] = rgbOf(row[x]);
      },
      std::ref(progress));
  return image;
}

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

  orvane::ExplorerState state;
  orvane::DialogValues dialogs;
  orvane::applyRenderRequest(request, state, dialogs);
  const orvane::ComputeOptions options{.threads = request.threads, .vectorised = !request.scalar};
  const orvane::PosterSize size = request.size.value_or(orvane::PosterSize{});
  const bool window = size.width == orvane::kPictureWidth && size.height == orvane::kPictureHeight;
  orvane::PassStatistics statistics;
  QImage picture = window ? drawWindowPicture(state, dialogs, options, statistics)
                          : drawPoster(state, dialogs, size, options, statistics);
  if (picture.isNull()) {
    std::fprintf(stderr, "orvane-render: not enough memory for a %d x %d picture\n", size.width,
                 size.height);
    return kWriteFailed;
  }
  orvane::attachView(picture, orvane::viewOptions(state, dialogs, size));
  if (!picture.save(QString::fromStdString(request.output), "PNG")) {
    std::fprintf(stderr, "orvane-render: cannot write '%s'\n", request.output.c_str());
    return kWriteFailed;
  }
  if (request.stats) {
    std::printf("iterations %llu\npixels %llu\nseconds %.6f\niterations per second %.4g\n",
                static_cast<unsigned long long>(statistics.iterations),
                static_cast<unsigned long long>(statistics.pixels), statistics.seconds,
                statistics.seconds > 0
                    ? static_cast<double>(statistics.iterations) / statistics.seconds
                    : 0.0);
  }
  return 0;
}

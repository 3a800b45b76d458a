// orvane-render: draws one view headless with the real load routine and render pass.
#include <QCoreApplication>
#include <QImage>

#include <cstdio>

#include "memory_surface.h"
#include "render_options.h"
#include "render_pass.h"
#include "view_chunk.h"

namespace {

constexpr int kBadOptions = 2;
constexpr int kWriteFailed = 1;

QImage toImage(const orvane::MemorySurface& surface) {
  QImage image(surface.width(), surface.height(), QImage::Format_RGB32);
  for (int y = 0; y < surface.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < surface.width(); ++x) {
      const orvane::Colour c = surface.pixel(x, y);
      line[x] = qRgb(orvane::redOf(c), orvane::greenOf(c), orvane::blueOf(c));
    }
  }
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
  orvane::MemorySurface surface(orvane::kPictureWidth, orvane::kPictureHeight);
  orvane::RenderPass pass(state, dialogs, surface, {},
                          {.threads = request.threads, .vectorised = !request.scalar});
  pass.drawings();

  QImage picture = toImage(surface);
  orvane::attachView(picture, orvane::viewOptions(state, dialogs));
  if (!picture.save(QString::fromStdString(request.output), "PNG")) {
    std::fprintf(stderr, "orvane-render: cannot write '%s'\n", request.output.c_str());
    return kWriteFailed;
  }
  if (request.stats) {
    const orvane::PassStatistics& s = pass.statistics();
    std::printf("iterations %llu\npixels %llu\nseconds %.6f\niterations per second %.4g\n",
                static_cast<unsigned long long>(s.iterations),
                static_cast<unsigned long long>(s.pixels), s.seconds,
                s.seconds > 0 ? static_cast<double>(s.iterations) / s.seconds : 0.0);
  }
  return 0;
}

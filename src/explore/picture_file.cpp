// The explorer's pictures as files, and the renderer's command lines for them.
#include "explore/picture_file.h"

#include <algorithm>
#include <vector>

#include "png/output_file.h"
#include "png/png_file.h"
#include "render/view_chunk.h"

namespace orvane::explore {

namespace {

constexpr int kPosterScale = 2;
constexpr int kPosterSamples = 2;

// Writes through a PngWriter whose rows `fill` hands on; the file gets its name only once
// complete.
template <class Fill>
bool writePng(const std::string& path, PosterSize size, const std::string& view, Fill&& fill,
              std::string& error) {
  OutputFile output(path);
  PngWriter file(output.stream(), path, size.width, size.height);
  if (!output.error().empty() || !file.error().empty()) {
    error = output.error().empty() ? file.error() : output.error();
    return false;
  }
  file.addText(kViewChunkKey, view);
  fill(file);
  if (file.finish() && output.commit()) return true;
  error = output.error().empty() ? file.error() : output.error();
  return false;
}

// The drawn view of `view` as the renderer's options, with every value filled in.
std::string optionsOf(const ViewRequest& view) {
  return viewChunkText(planPicture(view).drawn);
}

}  // namespace

bool writePicture(const std::string& path, const QImage& image, const std::string& view,
                  std::string& error) {
  const PosterSize size{image.width(), image.height()};
  return writePng(
      path, size, view,
      [&](PngWriter& file) {
        std::vector<Colour> row(static_cast<std::size_t>(size.width));
        for (int y = 0; y < size.height; ++y) {
          const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
          for (int x = 0; x < size.width; ++x)
            row[static_cast<std::size_t>(x)] =
                packColour(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
          file.row(y, row);
        }
      },
      error);
}

bool drawToFile(const std::string& path, const ViewRequest& view, ComputeOptions options,
                std::atomic<double>& progress, std::string& error) {
  RenderRequest request;
  request.view = view;
  return writePng(
      path, view.size, optionsOf(view),
      [&](PngWriter& file) {
        renderPicture(
            request, options, [&file](int y, std::span<const Colour> row) { file.row(y, row); },
            [&progress](double done) { progress = done; });
      },
      error);
}

std::string posterCommand(const ViewRequest& view) {
  ViewRequest poster = view;
  poster.size = {std::min(kMaxPosterSide, kPosterScale * view.size.width),
                 std::min(kMaxPosterSide, kPosterScale * view.size.height)};
  poster.supersample = kPosterSamples;
  return "orvane-render " + optionsOf(poster) + " -o orvane-poster.png";
}

std::string videoCommand(const ViewRequest& view) {
  ViewRequest video = view;
  // A video's colour is kept at half resolution, which needs even sides.
  video.size = {std::max(2, view.size.width / 2 * 2), std::max(2, view.size.height / 2 * 2)};
  video.supersample.reset();
  const char* from = view.zoom.isNegative() ? "-1" : "1";
  return "orvane-render " + optionsOf(video) + " --zoom-from=" + from +
         " --seconds=20 --video=orvane-zoom.mp4";
}

}  // namespace orvane::explore

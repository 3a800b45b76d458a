// Posters: the view of the 400 x 300 window drawn at any size, row band by row band.
#include "engine/poster.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "engine/colouring.h"
#include "engine/point_settings.h"
#include "engine/supersample.h"

namespace orvane {

namespace {

constexpr std::size_t kBandPixels = 1 << 18;  // about a quarter of a million pixels per band

}  // namespace

PictureFrame posterFrame(PosterSize size) {
  const double scale = std::min(static_cast<double>(size.width) / kPictureWidth,
                                static_cast<double>(size.height) / kPictureHeight);
  return {.centreX = size.width / 2.0, .centreY = size.height / 2.0, .scale = scale};
}

PassStatistics renderPoster(ExplorerState& state, DialogValues& dialogs, PosterSize size,
                            ComputeOptions options, const PosterRowSink& sink,
                            const PosterProgress& progress, const PosterKernel& makeKernel,
                            PosterDetail detail) {
  const auto start = std::chrono::steady_clock::now();
  PassStatistics statistics;
  preparePass(state, dialogs);
  const std::int16_t drawing = state.drawing;
  PointSettings settings = capturePointSettings(state, dialogs, drawing);
  if (detail.depth > 0) settings.iterDepth = detail.depth;
  PointSetup setup = preparePointSetup(settings);
  setup.frame = posterFrame(size);
  const ColourSetup colours = prepareColourSetup(setup.settings, setup.depth);
  const bool drawn = formula::isDrawn(drawing);
  const ShareKernel kernel = drawn && makeKernel ? makeKernel(setup) : ShareKernel{};

  const PictureFrame frame = setup.frame;
  const int n = detail.supersample;
  const std::size_t width = static_cast<std::size_t>(size.width);
  const int bandRows = static_cast<int>(std::max<std::size_t>(1, kBandPixels / width));
  std::vector<Pixel> pixels;
  std::vector<Colour> out;
  PointComputer computer(options);
  for (int top = 0; top < size.height; top += bandRows) {
    const int rows = std::min(bandRows, size.height - top);
    pixels.clear();
    for (int y = top; y < top + rows; ++y)
      for (int x = 0; x < size.width; ++x)
        pixels.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
    out.assign(pixels.size(), Colour{0});
    std::optional<LinearAverage> average;
    if (n > 1) average.emplace(pixels.size());
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < n; ++i) {
        if (drawn) {
          setup.frame = sampleFrame(frame, n, i, j);
          computer.start(setup, colours, pixels, out, state.random.position(), kernel);
          statistics += computer.wait();
          state.random.advance(pixels.size() * setup.randomStride());
        }
        statistics.pixels += pixels.size();
        if (average) average->add(out);
      }
    }
    if (average) average->mean(out);
    if (options.stop && options.stop->load(std::memory_order_relaxed)) break;
    for (int row = 0; row < rows; ++row)
      sink(top + row,
           std::span<const Colour>(out).subspan(static_cast<std::size_t>(row) * width, width));
    if (progress) progress(static_cast<double>(top + rows) / size.height);
  }
  state.busy = kTrue;
  statistics.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return statistics;
}

}  // namespace orvane

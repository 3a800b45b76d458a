// The vectorised and threaded computation colours every point exactly as the plain scalar
// evaluation does: every formula, jitter range and rotation, a poster's frame, and views
// whose orbits or settings leave the finite range.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/point_computer.h"
#include "engine/point_iteration.h"

namespace orvane {
namespace {

using namespace formula;

TEST(PointComputer, EveryPathColoursAsThePlainEvaluation) {
  std::vector<Pixel> pixels;
  for (std::int16_t y = 0; y < kPictureHeight; ++y)
    for (std::int16_t x = 0; x < kPictureWidth; ++x) pixels.push_back({x, y});
  const auto paths = [&](const char* name, const PointSettings& settings, PictureFrame frame = {}) {
    PointSetup setup = preparePointSetup(settings);
    setup.frame = frame;
    const ColourSetup colours = prepareColourSetup(setup.settings, setup.depth);
    std::vector<Colour> plain, out(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
      plain.push_back(colourOf(
          colours, iteratePixel(pixels[i].x, pixels[i].y, setup, 1000 + i * setup.randomStride())));
    for (const ComputeOptions options : {ComputeOptions{1, true}, {3, false}, {4, true}}) {
      PointComputer computer(options);
      computer.start(setup, colours, pixels, out, 1000);
      computer.wait();
      EXPECT_TRUE(out == plain) << name << ", threads " << options.threads << ", vectorised "
                                << options.vectorised;
    }
  };
  paths("mandelbrot", {.viewZoom = 1.5, .viewX = -0.6, .viewY = 0.1});
  paths("narrowJitter", {.turnRad = -0.52, .jitterLow = 0.9f, .jitterHigh = 1.11f});
  paths("wideJitter", {.viewX = -0.5, .iterDepth = 100, .jitterLow = 0.33f, .jitterHigh = 3});
  paths("julia", {.formula = kJulia, .turnRad = 0.79, .juliaX = -0.8, .juliaY = 0.156});
  paths("juliaJittered", {.formula = kJulia, .juliaX = -0.8, .iterDepth = 3, .jitterLow = 0.5f});
  paths("juliaTurned", {.formula = kJulia, .turnRad = -1.57, .juliaY = 0.7, .escapeValue = 16});
  paths("hole", {.formula = kHole, .viewZoom = 3, .turnRad = -0.52, .escapeValue = 16});
  paths("onTheFloatBound", {.viewX = 2, .viewY = 0x1p-11});  // pixel (200, 150): q = 4 + 2^-22
  paths("posterFrame", {.formula = kJulia, .juliaX = 0.285}, {320, 240.5, 1.6});
  // Orbits that overflow, divisions by zero, undefined square roots and jitter factors.
  paths("tinyZoomHole", {.formula = kHole, .viewZoom = 1e-300});
  paths("negativeZoomJittered", {.viewZoom = -0.5, .jitterLow = 0.5f, .jitterHigh = 2});
  paths("hugeStartValue", {.dimX = 1e200, .dimY = -1e200});
  paths("hugeJuliaConstant", {.formula = kJulia, .juliaX = 1e200, .juliaY = 1e200});
  paths("holeOnTheRealAxis", {.formula = kHole, .viewZoom = 0.01, .escapeValue = 32767});
  paths("infiniteJitter", {.viewX = 1.2, .iterDepth = 40, .jitterHigh = INFINITY});
  paths("undefinedJitter", {.jitterLow = NAN, .jitterHigh = -INFINITY});
  paths("mostNegativeRotation", {.turnRad = 571.9, .jitterLow = 0.75f, .jitterHigh = 1.33f});
}

}  // namespace
}  // namespace orvane

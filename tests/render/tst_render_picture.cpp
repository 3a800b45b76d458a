// Pictures deeper than the window goes: every step is taken, in double and deep mode alike,
// and a depth whose reference orbits would not fit in memory is refused before any work.
#include "render/render_picture.h"

#include <gtest/gtest.h>

#include "render/memory_budget.h"

namespace orvane {
namespace {

deep::ViewNumber number(const char* text) {
  return *deep::ViewNumber::read(text);
}

// A view wholly inside the main cardioid, about -0.1: every pixel takes depth + 1 steps.
RenderRequest inside(const char* zoom, int depth) {
  RenderRequest request;
  request.view.centre = {number("-0.1"), number("0.05")};
  request.view.zoom = number(zoom);
  request.view.depth = depth;
  request.view.size = {8, 6};
  return request;
}

TEST(RenderPicture, DepthPastTheWindowsTakesEveryStep) {
  for (const char* zoom : {"10", "1e40"}) {
    constexpr int kDepth = 40000;
    const RenderedPicture picture = renderPicture(inside(zoom, kDepth), {}, [](int, auto) {});
    EXPECT_EQ(picture.choice.deep, zoom == std::string("1e40"));
    EXPECT_EQ(picture.statistics.iterations, 48u * (kDepth + 1)) << zoom;
    EXPECT_NE(picture.view.find("--depth=40000 "), std::string::npos) << picture.view;
  }
}

// Reference orbits keep 16 bytes a step and their approximation tables at most 56 more: one
// orbit for the Mandelbrot set started at 0, two for a Julia set (its own and the critical
// point's). 10^8 steps take 7.2e9 or 14.4e9 bytes.
TEST(RenderPicture, DepthBeyondTheMemoryIsRefused) {
  constexpr std::uint64_t kMemory = 10'000'000'000;
  RenderRequest mandelbrot = inside("1e40", 100'000'000);
  EXPECT_EQ(depthMemoryRefusal(mandelbrot, kMemory), "");
  RenderRequest julia = mandelbrot;
  julia.view.drawing = formula::kJulia;
  EXPECT_NE(depthMemoryRefusal(julia, kMemory).find("--depth"), std::string::npos);
  RenderRequest shallow = julia;
  shallow.view.zoom = number("10");
  EXPECT_EQ(depthMemoryRefusal(shallow, kMemory), "") << "a double picture keeps no orbit";
  RenderRequest video = shallow;
  video.video.emplace();
  video.video->zoomFrom = number("1e40");
  EXPECT_NE(depthMemoryRefusal(video, kMemory), "") << "the deep end of a video counts";
}

}  // namespace
}  // namespace orvane

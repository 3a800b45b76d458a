// Deep pictures against a direct MPFR iteration of every pixel, and shallow ones against the
// double path: n and reached must agree on at least 99 % of the pixels.
#include "deep/perturbation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "deep_views.h"
#include "direct_iteration.h"
#include "engine/poster.h"
#include "view_numbers.h"

namespace orvane::deep {
namespace {

// A view as its texts, the other settings as the window would hold them.
struct DeepCase {
  std::string x, y, zoom;
  PointSettings settings;
  PosterSize size{60, 45};
};

// The share of pixels whose n and reached equal those of the direct MPFR iteration, or of the
// double path. Fails when that picture is flat, which would prove nothing.
double agreement(const DeepCase& c, bool againstDirect = true) {
  PointSettings s = c.settings;
  s.viewX = std::strtod(c.x.c_str(), nullptr);  // the double path's view, where it has one
  s.viewY = std::strtod(c.y.c_str(), nullptr);
  s.viewZoom = std::strtod(c.zoom.c_str(), nullptr);
  PointSetup setup = preparePointSetup(s);
  setup.frame = posterFrame(c.size);
  const std::optional<DeepView> reading =
      readDeepView(testing::number(c.x), testing::number(c.y), testing::number(c.zoom));
  EXPECT_TRUE(reading);
  const DeepReference reference(*reading, setup);
  const testing::DirectView direct{c.x.c_str(), c.y.c_str(), c.zoom.c_str(),
                                   2 * reading->precisionBits};
  int same = 0;
  std::set<int> counts;
  for (int y = 0; y < c.size.height; ++y) {
    for (int x = 0; x < c.size.width; ++x) {
      const std::uint64_t base = (y * c.size.width + x) * setup.randomStride();
      const PointResult deep = iterateDeepPixel(x, y, *reading, reference, setup, base);
      const PointResult plain = againstDirect ? testing::iterateDirect(direct, x, y, setup, base)
                                              : iteratePixel(x, y, setup, base);
      same += deep.n == plain.n && deep.reached == plain.reached;
      counts.insert(plain.n);
    }
  }
  EXPECT_GT(counts.size(), 8u) << "a flat picture";
  return double(same) / (c.size.width * c.size.height);
}

TEST(Perturbation, AgreesWithTheDoublePathWhereDoubleWorks) {
  DeepCase c{"-0.743643887037151", "0.13182590420533", "1e3", {.iterDepth = 600}, {120, 90}};
  c.settings.turnRad = 0.5;
  EXPECT_GE(agreement(c, false), 0.99);
  c.settings.dimX = 0.125;  // z0 != 0: the critical orbit is an orbit of its own
  EXPECT_GE(agreement(c, false), 0.99);
  c = {"0.1", "-0.6", "1e3", {.formula = formula::kJulia, .juliaX = -0.75, .juliaY = 0.11}};
  c.settings.iterDepth = 300;
  c.settings.jitterHigh = 1.25f;
  EXPECT_GE(agreement(c, false), 0.99);
}

TEST(Perturbation, MatchesDirectNearMisiurewiczPointI) {
  EXPECT_GE(agreement({"0", "1", "1e20", {.turnRad = -0.8, .iterDepth = 200}}), 0.99);
  // Past the doubles' range: the differences start in FloatExp.
  EXPECT_GE(agreement({"0", "1", "1e330", {.iterDepth = 1000}, {24, 18}}), 0.99);
}

// The pixels stepped four at a time in vectors end exactly where each stepped alone does, and
// those that end early inside a minibrot get the colour that taking every step gives.
TEST(Perturbation, SteppingPixelsTogetherChangesNoColour) {
  const PointSettings jittered{.iterDepth = 1500, .jitterLow = 0.5f, .jitterHigh = 2.0f};
  const DeepCase cases[] = {
      // Double and scaled mode, and the switch between them.
      {"0", "1", "1e330", jittered, {48, 36}},
      // A reference that escapes early: pixels rebase to the critical orbit.
      {testing::nucleusNearTip(85, 800, 1e-100), "5.5e-101", "1e100", jittered, {48, 36}},
      // Near the tip -2 orbits sit at |z|^2 = 4, right at the escape threshold, for many steps.
      {testing::nucleusNearTip(85, 800, 1e-100),
       "5.5e-101",
       "1e100",
       {.iterDepth = 1500},
       {48, 36}},
      // A reference that ends at a minibrot's nucleus: pixels rebase every 200 steps.
      {testing::nucleusNearTip(200, 1100, 0), "0", "1e238", jittered, {48, 36}},
      // Inside it, pixels cross a period a step and end early once drawn to a cycle.
      {testing::nucleusNearTip(200, 1100, 0),
       "0",
       "1e239",
       {.iterDepth = 20000, .jitterLow = 1, .jitterHigh = 2, .colorMode = colour_mode::kGrey},
       {48, 36}},
      // A Julia reference passing near 0, where pixels rebase and take wide steps.
      {"0.7071067811865475244008443621048490392848",
       "-0.7071067811865475244008443621",
       "1e30",
       {.formula = formula::kJulia, .juliaY = 1, .iterDepth = 800}},
  };
  for (const DeepCase& c : cases) {
    PointSetup setup = preparePointSetup(c.settings);
    setup.frame = posterFrame(c.size);
    const ColourSetup colours = prepareColourSetup(c.settings, setup.depth);
    const std::optional<DeepView> reading =
        readDeepView(testing::number(c.x), testing::number(c.y), testing::number(c.zoom));
    const DeepReference reference(*reading, setup);
    std::vector<Pixel> pixels;
    for (std::int16_t y = 0; y < c.size.height; ++y) {
      for (std::int16_t x = 0; x < c.size.width; ++x) pixels.push_back({x, y});
    }
    std::vector<Colour> together(pixels.size());
    std::atomic<std::size_t> cursor = 0;
    std::atomic<bool> cancelled = false;
    PointWork work{setup, colours, pixels, together, 7, cursor, cancelled};
    std::uint64_t steps = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const PointResult alone = iterateDeepPixel(pixels[i].x, pixels[i].y, *reading, reference,
                                                 setup, 7 + i * setup.randomStride());
      steps += static_cast<std::uint64_t>(alone.n) + 1;
      together[i] = ~colourOf(colours, alone);  // overwritten below with the same colour
    }
    EXPECT_EQ(computePerturbed(work, *reading, reference).iterations, steps) << c.zoom;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const PointResult alone = iterateDeepPixel(pixels[i].x, pixels[i].y, *reading, reference,
                                                 setup, 7 + i * setup.randomStride());
      ASSERT_EQ(together[i], colourOf(colours, alone)) << c.zoom << " pixel " << i;
    }
  }
}

}  // namespace
}  // namespace orvane::deep

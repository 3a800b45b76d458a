// Deep pictures against a direct MPFR iteration of every pixel, and shallow ones against the
// double path: n and reached must agree on at least 99 % of the pixels.
#include "tools/deep/perturbation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "direct_iteration.h"
#include "engine/poster.h"

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
  const DeepViewReading reading = readDeepView(c.x, c.y, c.zoom);
  EXPECT_TRUE(reading.view);
  const DeepReference reference(*reading.view, setup);
  const testing::DirectView direct{c.x.c_str(), c.y.c_str(), c.zoom.c_str(),
                                   2 * reading.view->precisionBits};
  int same = 0;
  std::set<int> counts;
  for (int y = 0; y < c.size.height; ++y) {
    for (int x = 0; x < c.size.width; ++x) {
      const std::uint64_t base = (y * c.size.width + x) * setup.randomStride();
      const PointResult deep = iterateDeepPixel(x, y, *reading.view, reference, setup, base);
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

}  // namespace
}  // namespace orvane::deep
